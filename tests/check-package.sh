#!/usr/bin/env bash
# What scripts/package wrote to dist/ is a whole release, and packaging the
# same commit again, from a tree built anew in another folder, gives the
# same bytes. Then signing: a throw-away certificate signs the program
# verifiably, and signing the same file twice gives the same bytes.
#   check-package.sh [dist]
set -eu
cd "$(dirname "$0")/.."
dist=${1:-dist}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

scripts/package --build "$work/build" --out "$work/dist" >/dev/null
python3 tests/check-package.py "$dist" "$work/dist" || status=1

openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Snapquery test signing" \
    -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
unzip_exe() { python3 -c 'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read("snapquery.exe"))' "$1"; }
unzip_exe "$dist"/snapquery-*-x64.zip >"$work/one.exe"
cp "$work/one.exe" "$work/two.exe"
SNQ_SIGN_CERT=$work/cert.pem SNQ_SIGN_KEY=$work/key.pem SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) \
    packaging/sign "$work/one.exe" "$work/two.exe"
if osslsigncode verify -CAfile "$work/cert.pem" -in "$work/one.exe" >"$work/verify.txt" 2>&1 &&
        cmp -s "$work/one.exe" "$work/two.exe"; then
    echo "signing: ok"
else
    cat "$work/verify.txt"
    echo "signing: FAILED (not verifiable, or not the same bytes twice)"
    status=1
fi
exit $status
