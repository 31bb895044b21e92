#!/usr/bin/env bash
# Builds the release package of one build (win32 or win64) signed, as a maintainer builds it, with a
# throw-away certificate authority and a code-signing certificate it issues, made here by openssl: a
# PKCS#12 file for win64, a certificate and an encrypted key for win32, under a random password that
# reaches the package step alone, through its environment, and must then be nowhere in WORK_DIR. Signs
# with OSSLSIGNCODE (the build's TARVOLEN_OSSLSIGNCODE). Leaves what the checks of the signed release
# read, in WORK_DIR:
#   ca/tarvolen-ca.crt    the authority             zip/         the signed zip's files
#   changed.exe           zip/tarvolen.exe with one byte of its code changed, its checksum made right
#   other.exe             the unsigned build signed by a certificate of another authority
#   run/                  the signed tarvolen.exe and the Windows-side DRIVER beside it
#
# Usage: signed_release.sh SOURCE_DIR WORK_DIR CMAKE PRESET DRIVER UNSIGNED_EXE OSSLSIGNCODE
set -euo pipefail
src=$1 work=$2 cmake=$3 preset=$4 driver=$5 unsigned=$6 osslsigncode=$7
rm -rf "$work"
mkdir -p "$work/ca" "$work/zip" "$work/run"
work=$(cd "$work" && pwd)
cd "$work/ca"
# Not exported: handed to the two commands that need it, in their environment alone.
password=$(openssl rand -hex 16)

issue() { # NAME: NAME-ca.crt, an authority, and NAME.crt with NAME.key, a code signer it certifies
    openssl req -x509 -newkey rsa:2048 -noenc -keyout "$1-ca.key" -out "$1-ca.crt" -days 2 \
        -subj "/CN=$1 throw-away CA" -addext basicConstraints=critical,CA:TRUE \
        -addext keyUsage=critical,keyCertSign 2>/dev/null
    openssl req -newkey rsa:2048 -noenc -keyout "$1.key" -subj "/CN=$1 throw-away signer" 2>/dev/null |
        openssl x509 -req -CA "$1-ca.crt" -CAkey "$1-ca.key" -set_serial "0x$(openssl rand -hex 8)" -days 2 \
            -extfile <(printf '%s\n' basicConstraints=critical,CA:FALSE keyUsage=critical,digitalSignature \
                extendedKeyUsage=codeSigning) -out "$1.crt" 2>/dev/null
}
issue tarvolen
issue other
if [ "$preset" = win64 ]; then
    TARVOLEN_SIGN_PASSWORD=$password openssl pkcs12 -export -inkey tarvolen.key -in tarvolen.crt \
        -passout env:TARVOLEN_SIGN_PASSWORD -out tarvolen.p12
    certificate=(-DTARVOLEN_SIGN_PKCS12="$work/ca/tarvolen.p12")
else
    TARVOLEN_SIGN_PASSWORD=$password openssl pkey -in tarvolen.key -aes256 -passout env:TARVOLEN_SIGN_PASSWORD \
        -out tarvolen-encrypted.key
    certificate=(-DTARVOLEN_SIGN_CERT="$work/ca/tarvolen.crt"
        -DTARVOLEN_SIGN_KEY="$work/ca/tarvolen-encrypted.key")
fi

# As docs/DEVELOPING.md gives it: configured and built without the password, packed with it.
start=$SECONDS
(cd "$src" && "$cmake" --preset "$preset" -B "$work/build" -DTARVOLEN_TESTS=OFF "${certificate[@]}" \
    -DTARVOLEN_OSSLSIGNCODE="$osslsigncode" && "$cmake" --build "$work/build" --parallel 2 &&
    TARVOLEN_SIGN_PASSWORD=$password "$cmake" --build "$work/build" --target package) >"$work/build.log" 2>&1 ||
    { echo "signed build failed:"; tail -n 30 "$work/build.log"; exit 1; }
echo "signed build took $((SECONDS - start)) s"
zip=$(echo "$work/build"/tarvolen-*-"$preset".zip)
(cd "$work/zip" && "$cmake" -E tar xf "$zip")
if grep -rlaF "$password" "$work"; then
    echo "^ the key's password is written there"
    exit 1
fi
cp "$work/zip/tarvolen.exe" "$driver" "$work/run/"
cp "$work/zip/tarvolen.exe" "$work/changed.exe"
python3 -c 'import sys; f = open(sys.argv[1], "r+b"); f.seek(4096); b = f.read(1); f.seek(4096)
f.write(bytes([b[0] ^ 1]))' "$work/changed.exe"
python3 "$src/cmake/pad_executable.py" "$work/changed.exe"
"$osslsigncode" sign -certs other.crt -key other.key -h sha256 -in "$unsigned" -out "$work/other.exe" >/dev/null
echo "signed: $zip"
