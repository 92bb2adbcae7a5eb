#!/usr/bin/env bash
# Runs a Windows program under Wine on a throw-away prefix and its own Xvfb
# display, then ends everything it started: the prefix's processes
# (wineserver -k on that prefix only) and the display, by PID. SNQ_WINEDEBUG
# sets WINEDEBUG (default -all), e.g. +win,+focus to trace a window fault;
# SNQ_LC_ALL the user's language (default en_US.UTF-8).
#   with-wine.sh program.exe [args...]
set -u
exe=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
template=${SNQ_WINE_TEMPLATE:-$(cd "$(dirname "$exe")" && pwd)/wine-template}
limit=${SNQ_WINE_TIMEOUT:-840}

"$here/make-template.sh" "$template" || exit 1

work=$(mktemp -d /tmp/snq-wine.XXXXXX)
xvfb_pid=
cleanup() {
    WINEPREFIX=$work/pfx timeout 20 wineserver -k 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cp -a "$template" "$work/pfx"
export WINEPREFIX=$work/pfx WINEDEBUG=${SNQ_WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
# The user's language: Wine takes it from LC_ALL at start (no generated
# glibc locale is needed). English unless a test asks for another.
export LC_ALL=${SNQ_LC_ALL:-en_US.UTF-8}
# Tells the tests that they run here, where every rendering is available.
export SNQ_TEST_HARNESS=1
# shellcheck source=start-xvfb.sh
. "$here/start-xvfb.sh" || exit 1
export DISPLAY=:$display

# The first Wine process starts Wine's services, which keep its standard
# output open: send it to a file, not a pipe.
timeout -k 10 "$limit" wine "$exe" "$@" >"$work/output.txt" 2>&1
rc=$?
cat "$work/output.txt"
[ $rc -eq 124 ] && echo "with-wine: $exe timed out after $limit s"
exit $rc
