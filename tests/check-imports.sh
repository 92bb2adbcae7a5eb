#!/usr/bin/env bash
# The executable imports exactly the DLLs of its design: what every run
# needs. COM, automation, the common controls and visual styles are loaded
# on first use and must not appear here.
#   check-imports.sh program.exe
set -eu
exe=$1
allowed='^(advapi32|gdi32|kernel32|msvcrt|shell32|user32|api-ms-win-[a-z0-9-]+)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "no import table found in $exe"; exit 1; }
bad=0
for dll in $dlls; do
    if [[ "$dll" =~ $allowed ]]; then echo "ok      $dll"; else echo "FOREIGN $dll"; bad=1; fi
done
exit $bad
