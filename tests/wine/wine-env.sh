# Finds the 64-bit Wine loader and server; sourced by the scripts that run Windows programs.
WINE64=$(command -v wine64 || true)
[ -n "$WINE64" ] || { [ -x /usr/lib/wine/wine64 ] && WINE64=/usr/lib/wine/wine64; }
[ -n "$WINE64" ] || WINE64=$(command -v wine || true)
WINESERVER=$(command -v wineserver || true)
[ -n "$WINESERVER" ] || { [ -x /usr/lib/wine/wineserver ] && WINESERVER=/usr/lib/wine/wineserver; }
if [ -z "$WINE64" ] || [ -z "$WINESERVER" ]; then
    echo "Wine (64-bit) is not installed" >&2
    exit 1
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINELOADER=$WINE64
