# Finds Wine for the scripts that run Windows programs; sourced by them. TARVOLEN_WINE_RUNNER picks it:
#   host      (default) the machine's own 64-bit Wine
#   runner32  Wine inside the 32-bit runner (tools/runner32.sh), which also runs 32-bit programs
# Afterwards "${IN_RUNNER[@]}" "$WINE64" ... runs a Windows program, "${IN_RUNNER[@]}" "$WINESERVER" ...
# the server.
if [ "${TARVOLEN_WINE_RUNNER:-host}" = runner32 ]; then
    IN_RUNNER=(bash "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/tools/runner32.sh" exec)
    WINE64=/usr/lib/wine/wine64
    WINESERVER=/usr/lib/wine/wineserver
else
    IN_RUNNER=()
    WINE64=$(command -v wine64 || true)
    [ -n "$WINE64" ] || { [ -x /usr/lib/wine/wine64 ] && WINE64=/usr/lib/wine/wine64; }
    [ -n "$WINE64" ] || WINE64=$(command -v wine || true)
    WINESERVER=$(command -v wineserver || true)
    [ -n "$WINESERVER" ] || { [ -x /usr/lib/wine/wineserver ] && WINESERVER=/usr/lib/wine/wineserver; }
    if [ -z "$WINE64" ] || [ -z "$WINESERVER" ]; then
        echo "Wine (64-bit) is not installed" >&2
        exit 1
    fi
    export WINELOADER=$WINE64
fi
export WINEDEBUG=${WINEDEBUG:--all}

# Copies Wine's own fonts (Debian package fonts-wine: MS Sans Serif, Tahoma, Marlett for the title-bar
# symbols...) into a prefix's Fonts folder, once per prefix. Wine does not find them where the package
# puts them, and falls back to wider faces that cut the captions. Fonts come from the Wine that runs
# the prefix: the host's, or the 32-bit runner's.
add_wine_fonts() {  # add_wine_fonts PREFIX
    local prefix=$1
    [ -f "$prefix/.tarvolen-fonts" ] && return 0
    "${IN_RUNNER[@]}" sh -c 'ls "$1"/*.ttf >/dev/null && cp "$1"/*.ttf "$1"/*.fon "$0"' \
        "$prefix/drive_c/windows/Fonts" /usr/share/wine/fonts ||
        { echo "Wine's fonts are missing (package fonts-wine)" >&2; return 1; }
    touch "$prefix/.tarvolen-fonts"
}
