#!/usr/bin/env bash
# The executable must import nothing but Windows' own DLLs.
set -eu
exe=$1
allowed='^(kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|comctl32|uxtheme|msvcrt|psapi|version|shlwapi|comdlg32|imm32|winmm|ws2_32|rpcrt4|api-ms-win-[a-z0-9-]+)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "no import table found in $exe"; exit 1; }
bad=0
for dll in $dlls; do
    if [[ "$dll" =~ $allowed ]]; then echo "ok      $dll"; else echo "FOREIGN $dll"; bad=1; fi
done
exit $bad
