#!/usr/bin/env bash
# Runs one Windows program of the build under Wine, in the session that session.sh started:
#   wine-run.sh RUNNER STATE_DIR PROGRAM [ARGS...]
# RUNNER is "host" or "runner32" (see wine-env.sh). TARVOLEN_WINE_PREFIX picks the prefix inside
# STATE_DIR (default "prefix", the 96 dpi one).
set -euo pipefail
export TARVOLEN_WINE_RUNNER=$1
state=$(realpath -m "$2")
shift 2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
export WINEPREFIX="$state/${TARVOLEN_WINE_PREFIX:-prefix}"
export DISPLAY
DISPLAY=$(cat "$state/display")
exec "${IN_RUNNER[@]}" "$WINE64" "$@"
