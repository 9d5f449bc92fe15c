#!/usr/bin/env bash
# Checks that each shipped program carries neither debug information nor a symbol table, and
# that both were kept beside it in <program>.debug, the file the program names for debuggers.
set -eu
status=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
sections() { i686-w64-mingw32-objdump -h "$1" | awk '$1 ~ /^[0-9]+$/ { print $2 }'; }
for exe in "$@"; do
    debug=$(sections "$exe" | grep -E '^\.(z?debug|stab)' | tr '\n' ' ' || true)
    [ -z "$debug" ] || { echo "$exe: carries debug sections: $debug"; status=1; }
    i686-w64-mingw32-objdump -p "$exe" | grep -q 'symbols stripped' ||
        { echo "$exe: carries its symbol table"; status=1; }
    link=""
    if i686-w64-mingw32-objcopy --dump-section .gnu_debuglink="$scratch/link" "$exe" "$scratch/copy" 2>/dev/null; then
        link=$(tr '\0' '\n' <"$scratch/link" | head -n 1)
    fi
    [ "$link" = "$(basename "$exe").debug" ] || { echo "$exe: names '$link' as its symbol file"; status=1; }
    sections "$exe.debug" 2>/dev/null | grep -qx '.debug_info' ||
        { echo "$exe: no debug information kept in $exe.debug"; status=1; }
    echo "$exe: $(stat -c %s "$exe") bytes, symbols in $(basename "$exe").debug"
done
exit $status
