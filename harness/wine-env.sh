# Finds Wine for the scripts that run Windows programs and sets up what they run in: the display and the
# prefix. Sourced by them. TARVOLEN_WINE_RUNNER picks Wine:
#   host      (default) the machine's own 64-bit Wine
#   runner32  Wine inside the 32-bit runner (harness/runner32.sh), which also runs 32-bit programs
# Afterwards "${IN_RUNNER[@]}" "$WINE64" ... runs a Windows program, "${IN_RUNNER[@]}" "$WINESERVER" ...
# the server.
TARVOLEN_HARNESS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ "${TARVOLEN_WINE_RUNNER:-host}" = runner32 ]; then
    IN_RUNNER=(bash "$TARVOLEN_HARNESS/runner32.sh" exec)
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

# Starts an Xvfb display that belongs to STATE_DIR and exports DISPLAY; one that still runs is used
# again. COMMAND (say a priority: nice -n -10) runs Xvfb. The server runs in a session of its own, so
# that it outlives the script that started it until stop_xvfb ends it.
start_xvfb() {  # start_xvfb STATE_DIR [COMMAND...]
    local state=$1
    shift
    if [ -s "$state/display" ] && kill -0 "$(cat "$state/xvfb.pid" 2>/dev/null)" 2>/dev/null; then
        DISPLAY=$(cat "$state/display")
        export DISPLAY
        return 0
    fi
    mkdir -p "$state"
    rm -f "$state/display" "$state/display.tmp"
    # -displayfd picks a free display number and writes it once the server accepts clients.
    setsid "$@" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display.tmp" \
        </dev/null >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do
        [ -s "$state/display.tmp" ] && break
        sleep 0.1
    done
    [ -s "$state/display.tmp" ] || { echo "Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; return 1; }
    echo ":$(tr -d '\n' <"$state/display.tmp")" >"$state/display"
    DISPLAY=$(cat "$state/display")
    export DISPLAY
}

# Ends the Xvfb display of STATE_DIR, and nothing else.
stop_xvfb() {  # stop_xvfb STATE_DIR
    local state=$1
    if [ -f "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
        rm -f "$state/xvfb.pid" "$state/display" "$state/display.tmp"
    fi
}

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

# Makes the Wine prefix PREFIX once (64-bit, WoW64) at DPI dots per inch, and gives it Wine's fonts.
# Further arguments are one more "reg add" made in a new prefix (a setting of the caller's own).
prepare_prefix() {  # prepare_prefix PREFIX DPI [REG-ADD-ARGUMENTS...]
    local prefix=$1 dpi=$2
    shift 2
    if [ ! -f "$prefix/system.reg" ]; then
        echo "creating Wine prefix $prefix ($dpi dpi)"
        rm -rf "$prefix"
        WINEPREFIX=$prefix WINEDLLOVERRIDES="mscoree,mshtml=" "${IN_RUNNER[@]}" "$WINE64" wineboot -i \
            >/dev/null 2>&1
        WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINESERVER" -w
        if [ "$dpi" != 96 ]; then
            WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
                /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
            WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINE64" reg add 'HKCC\Software\Fonts' /v LogPixels \
                /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
        fi
        if [ $# -gt 0 ]; then
            WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINE64" reg add "$@" >/dev/null 2>&1
        fi
        WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINESERVER" -w
    fi
    add_wine_fonts "$prefix"
    # R:, a folder of the prefix, is a drive Wine reports as removable (a "floppy"), for the tests of
    # files on removable media. Wine's mount manager reads the drives' types when a session starts.
    if [ ! -e "$prefix/dosdevices/r:" ]; then
        mkdir -p "$prefix/removable"
        ln -s ../removable "$prefix/dosdevices/r:"
        WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINE64" reg add 'HKLM\Software\Wine\Drives' /v r: /d floppy /f \
            /reg:64 >/dev/null 2>&1
        WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINESERVER" -w
    fi
}
