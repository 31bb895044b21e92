#!/usr/bin/env bash
# Runs one Windows program of the build under Wine, in the session that session.sh started:
#   wine-run.sh STATE_DIR PROGRAM [ARGS...]
# TARVOLEN_WINE_PREFIX picks the prefix inside STATE_DIR (default "prefix", the 96 dpi one).
set -euo pipefail
state=$(realpath -m "$1")
shift
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
export WINEPREFIX="$state/${TARVOLEN_WINE_PREFIX:-prefix}"
export DISPLAY
DISPLAY=$(cat "$state/display")
exec "$WINE64" "$@"
