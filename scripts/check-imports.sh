#!/usr/bin/env bash
# Checks that each program is a 32-bit Windows GUI program whose imports are system DLLs only:
# no C/C++ runtime DLL, and never the RAS or process-status libraries, which are bound at run
# time by name.
set -eu
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|shlwapi|version|uuid|msvcrt|ws2_32)\.dll$'
status=0
for exe in "$@"; do
    info=$(file -b "$exe")
    case "$info" in
        *"PE32 executable (GUI) Intel 80386"*) ;;
        *) echo "$exe: not a 32-bit GUI program: $info"; status=1 ;;
    esac
    while read -r dll; do
        lower=$(echo "$dll" | tr 'A-Z' 'a-z')
        if ! [[ "$lower" =~ $allowed ]]; then
            echo "$exe: imports $dll, which is not a system DLL it may use"
            status=1
        fi
    done < <(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
    echo "$exe: $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
done
exit $status
