# Installs what building and testing Tarvolen needs and is missing (Debian 12, as root); sourced by
# run.sh and test.sh.
TARVOLEN_PACKAGES=(
    cmake make g++ googletest python3
    clang-format  # the check of the code's formatting (layout.code_is_clang_formatted)
    clang libclang-rt-dev  # the fuzzer of the path text functions (libFuzzer)
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    wine wine64 fonts-wine xvfb x11-utils imagemagick
    debootstrap  # makes the 32-bit runner (harness/runner32.sh)
    osslsigncode openssl  # signs a release; the tests' throw-away certificate authority
)

ensure_packages() {
    local missing=()
    for package in "${TARVOLEN_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages: ${missing[*]} - run this as root to install them." >&2
        return 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
