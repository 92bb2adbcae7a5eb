#!/usr/bin/env bash
# Builds, once, a ready Wine prefix that the tests copy (copying takes about
# a second, booting a new prefix fifteen).
set -u
template=$1
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$(dirname "$template")"
# Bumped whenever the prefix's preparation changes, so that a template of an
# earlier preparation is made anew.
version=2
exec 9>"$template.lock"
flock 9
[ "$(cat "$template/.ready" 2>/dev/null)" = "$version" ] && exit 0
rm -rf "$template"
xvfb_pid=
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null' EXIT
. "$here/start-xvfb.sh" || exit 1
export WINEPREFIX=$template WINEDEBUG=-all DISPLAY=:$display \
    WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
# "wineboot -i", not plain wineboot: the latter would also run the Run-key
# entries of the prefix.
timeout 180 wineboot -i >/dev/null 2>&1 || { echo "make-template: wineboot failed"; exit 1; }
# Without a window manager every window close otherwise stalls for seconds.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# A crashing program ends at once instead of waiting in the crash dialog.
timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1
timeout 60 wineserver -w
echo "$version" >"$template/.ready"
