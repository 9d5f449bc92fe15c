#!/usr/bin/env bash
# Checks that each program loads on the systems we support: every function it imports must be
# exported, under that name, by the DLL of each system. LISTS_DIR holds a folder per system
# (win98se, win2000), and in it a list per DLL (kernel32.dll.txt) of the names that DLL exports.
# An import by ordinal counts as missing: the ordinals of system DLLs differ between versions.
#
# Usage: check-system-imports.sh LISTS_DIR PROGRAM...
set -eu
if [ $# -lt 2 ]; then
    echo "usage: $0 LISTS_DIR PROGRAM..." >&2
    exit 2
fi
lists=$1
shift
mapfile -t systems < <(find "$lists" -mindepth 1 -maxdepth 1 -type d | LC_ALL=C sort)
if [ ${#systems[@]} -eq 0 ]; then
    echo "$lists: no system folders" >&2
    exit 2
fi

# Prints dll!Function, or dll!#ordinal, for each import of the objdump -p output on stdin.
imports_of() {
    awk '
        /^[^ \t]/ { in_imports = ($0 ~ /^The Import Tables/); dll = ""; next }
        !in_imports { next }
        /DLL Name:/ { dll = tolower($3); next }
        /^[ \t]*$/ { dll = ""; next }
        dll != "" && $1 != "vma:" && NF >= 3 {
            if ($3 == "<none>") print dll "!#" $2; else print dll "!" $3
        }'
}

# Prints dll!Function for each name in the lists of one system folder.
exports_of() {
    awk '
        FNR == 1 { dll = FILENAME; sub(/.*\//, "", dll); sub(/\.txt$/, "", dll); dll = tolower(dll) }
        /^[ \t]*(#|$)/ { next }
        { print dll "!" $1 }' "$1"/*.txt
}

status=0
for exe in "$@"; do
    if [ ! -f "$exe" ]; then
        echo "$exe: no such program"
        status=1
        continue
    fi
    imports=$(i686-w64-mingw32-objdump -p "$exe" | imports_of | LC_ALL=C sort -u)
    if [ -z "$imports" ]; then
        echo "$exe: no imports found"
        status=1
        continue
    fi
    count=$(wc -l <<<"$imports")
    dlls=$(cut -d'!' -f1 <<<"$imports" | sort -u | wc -l)
    for dir in "${systems[@]}"; do
        system=${dir##*/}
        missing=$(LC_ALL=C comm -23 <(echo "$imports") <(exports_of "$dir" | LC_ALL=C sort -u))
        if [ -n "$missing" ]; then
            while IFS= read -r name; do
                echo "$exe: $system lacks $name"
            done <<<"$missing"
            status=1
        else
            echo "$exe: $system has all $count imports from $dlls DLLs"
        fi
    done
done
exit $status
