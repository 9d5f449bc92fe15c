#!/usr/bin/env bash
# Checks that programs import none of the process-walk functions: the process-status library and
# the snapshot functions are looked up by name at run time, so that a program starts on systems
# that lack them. With --walk, each program must also hold those names (it really has the walk
# linked in, so that the check means something).
set -eu
walk=0
if [ "${1:-}" = "--walk" ]; then walk=1; shift; fi
functions='^(K32)?(EnumProcesses|EnumProcessModules|EnumProcessModulesEx|GetModuleBaseNameA|GetModuleFileNameExA|GetModuleBaseNameW|GetModuleFileNameExW)$|^(CreateToolhelp32Snapshot|Process32First|Process32Next|Process32FirstW|Process32NextW)$'
status=0
for exe in "$@"; do
    dump=$(i686-w64-mingw32-objdump -p "$exe")
    if echo "$dump" | sed -n 's/^\s*DLL Name: //p' | grep -qix 'psapi.dll'; then
        echo "$exe: imports PSAPI.DLL"
        status=1
    fi
    # Import lines read "<address> <hint> <name>" inside the import tables.
    while read -r name; do
        if [[ "$name" =~ $functions ]]; then
            echo "$exe: imports $name"
            status=1
        fi
    done < <(echo "$dump" | sed -n '/^\s*DLL Name:/,/^$/p' | awk 'NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {print $3}')
    if [ $walk = 1 ]; then
        for name in PSAPI.DLL EnumProcesses GetModuleFileNameExW CreateToolhelp32Snapshot Process32Next; do
            if ! grep -qa "$name" "$exe"; then
                echo "$exe: does not hold the name $name: is the walk linked in?"
                status=1
            fi
        done
    fi
done
[ $status = 0 ] && echo "no process-walk imports in: $*"
exit $status
