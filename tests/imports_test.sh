#!/usr/bin/env bash
# The Windows executables import only DLLs that come with Windows (the C++ runtime is linked
# in statically), and the program initialises the common controls: Windows registers the
# status bar's class only then.
# Usage: imports_test.sh OBJDUMP PROGRAM [OTHER.exe...]
set -euo pipefail
objdump=$1
shift
status=0
for executable in "$@"; do
    dlls=$("$objdump" -p "$executable" | awk '/DLL Name:/ { print toupper($3) }')
    extra=$(grep -vxE 'KERNEL32.DLL|USER32.DLL|GDI32.DLL|SHELL32.DLL|COMCTL32.DLL|MSVCRT.DLL' \
        <<<"$dlls" || true)
    [ -z "$extra" ] || { echo "FAIL: $executable needs $(echo $extra)"; status=1; }
done
"$objdump" -p "$1" | awk '/DLL Name:/ { dll = toupper($3) } dll == "COMCTL32.DLL" && $3 == "InitCommonControlsEx" { found = 1 }
    END { exit !found }' || { echo "FAIL: $1 does not call InitCommonControlsEx"; status=1; }
[ $status -ne 0 ] || echo "ok: system DLLs only, common controls initialised"
exit $status
