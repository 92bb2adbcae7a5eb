#!/usr/bin/env bash
# What scripts/package wrote to dist/ is a whole release, and packaging the
# same commit again, from a tree built anew in another folder (through a
# path with a space in it), gives the same bytes. Then signing: a
# throw-away certificate signs the program and the setup program verifiably
# (and the uninstaller, or the setup program is not made), signing the same
# file twice gives the same bytes, and a signing that fails fails the
# packaging and names the file. Last, the packaging touches no folder that
# holds files of its own.
#   check-package.sh [dist]
set -eu
cd "$(dirname "$0")/.."
dist=${1:-dist}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
    echo "check-package: $*"
    status=1
}

checkout="$work/snap query"
ln -s "$PWD" "$checkout"
"$checkout/scripts/package" --build "$work/build" --out "$work/dist" >/dev/null
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
    fail "signing: not verifiable, or not the same bytes twice"
fi

# The whole release signed, from the checkout path with a space.
if SNQ_SIGN_CERT=$work/cert.pem SNQ_SIGN_KEY=$work/key.pem \
        "$checkout/scripts/package" --build "$work/build" --out "$work/signed" >"$work/signed.log" 2>&1; then
    unzip_exe "$work"/signed/snapquery-*-x64.zip >"$work/signed.exe"
    for file in "$work/signed.exe" "$work"/signed/snapquery-*-x64-setup.exe "$work"/signed/snapquery-*-x64.msi; do
        osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >/dev/null 2>&1 || fail "not signed: $file"
    done
else
    cat "$work/signed.log"
    fail "the signed release was not made"
fi
# A signing that fails.
if SNQ_SIGN_CERT=$work/missing.pem SNQ_SIGN_KEY=$work/key.pem \
        scripts/package --build "$work/build" --out "$work/unsigned" >"$work/unsigned.log" 2>&1; then
    fail "a failed signing still gave a release"
elif ! grep -q "signing .*snapquery.exe failed" "$work/unsigned.log"; then
    cat "$work/unsigned.log"
    fail "a failed signing does not name its file"
fi

# The key's password never stands on the signing tool's command line,
# which every local user can list: a stand-in tool records its arguments.
mkdir "$work/bin"
cat >"$work/bin/osslsigncode" <<'TOOL'
#!/usr/bin/env bash
echo "$@" >>"$ARGS_LOG"
while [ $# -gt 0 ]; do
    case $1 in
        -readpass) cat "$2" >>"$ARGS_LOG.secret"; shift 2 ;;
        -in) in=$2; shift 2 ;;
        -out) out=$2; shift 2 ;;
        *) shift ;;
    esac
done
cp "$in" "$out"
TOOL
chmod +x "$work/bin/osslsigncode"
PATH="$work/bin:$PATH" ARGS_LOG=$work/args.log SNQ_SIGN_CERT=$work/cert.pem SNQ_SIGN_KEY=$work/key.pem \
    SNQ_SIGN_PASSWORD=s3cret-word packaging/sign "$work/two.exe"
if grep -q s3cret-word "$work/args.log" || ! grep -q s3cret-word "$work/args.log.secret"; then
    fail "the password is on the signing tool's command line, or does not reach it"
fi

# The uninstaller is signed inside the setup program's build: a signing
# command that fails there fails the build.
mkdir "$work/stage"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$dist"/snapquery-*-x64.zip "$work/stage"
# The control: the same command with a signer that works makes one.
for signer in false true; do
    if makensis -V1 -DVERSION=0.0.1 "-DSTAGE=$work/stage" "-DICON=$PWD/res/snapquery.ico" \
            "-DOUTFILE=$work/setup-$signer.exe" -DSIGN=$signer packaging/installer.nsi >/dev/null 2>&1; then
        [ $signer = true ] || fail "a setup program was made with an uninstaller whose signing failed"
    else
        [ $signer = false ] || fail "no setup program was made with a signer that works"
    fi
done

# A folder with files not of a release: refused, and nothing in it touched.
mkdir "$work/downloads"
echo "another release's" >"$work/downloads/SHA256SUMS"
echo "mine" >"$work/downloads/notes.txt"
if scripts/package --build "$work/build" --out "$work/downloads" >/dev/null 2>&1; then
    fail "packaged into a folder that holds other files"
fi
[ "$(cat "$work/downloads/notes.txt" 2>/dev/null)" = mine ] && [ -s "$work/downloads/SHA256SUMS" ] ||
    fail "the packaging deleted files it did not write"
# Its own earlier output is replaced, the folder named with a slash or not;
# a link named like a release file is refused, and what it points to kept.
scripts/package --build "$work/build" --out "$work/again/" >/dev/null 2>&1 &&
    scripts/package --build "$work/build" --out "$work/again//" >/dev/null 2>&1 ||
    fail "the packaging refused its own earlier output"
mkdir "$work/linked"
ln -s "$work/downloads/notes.txt" "$work/linked/SHA256SUMS"
if scripts/package --build "$work/build" --out "$work/linked" >/dev/null 2>&1 ||
        [ "$(cat "$work/downloads/notes.txt")" != mine ]; then
    fail "the packaging wrote through a link"
fi
exit $status
