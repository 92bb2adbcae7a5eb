#!/usr/bin/env bash
# The executable's image asks Windows for every mitigation it can: address
# space layout randomisation with high entropy, no execution from data
# pages, and no Terminal Server compatibility shims; and the program's own
# code is compiled with stack canaries (its objects call __stack_chk_fail).
#   check-hardening.sh program.exe OBJECT_DIR
set -eu
exe=$1
flags=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^DllCharacteristics\s*//p')
[ -n "$flags" ] || { echo "no optional header in $exe"; exit 1; }
bad=0
# IMAGE_DLLCHARACTERISTICS_*: the bit and its name.
for pair in 0x0020:HIGH_ENTROPY_VA 0x0040:DYNAMIC_BASE 0x0100:NX_COMPAT 0x8000:TERMINAL_SERVER_AWARE; do
    bit=${pair%%:*}
    if (( 0x$flags & bit )); then echo "ok      ${pair#*:}"; else echo "MISSING ${pair#*:}"; bad=1; fi
done
canaries=$(find "$2" -name '*.obj' | xargs -r x86_64-w64-mingw32-nm 2>/dev/null | grep -c ' U __stack_chk_fail$' || true)
if [ "$canaries" -ge 5 ]; then echo "ok      stack canaries ($canaries objects)"; else echo "MISSING stack canaries"; bad=1; fi
exit $bad
