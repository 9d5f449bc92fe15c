#!/usr/bin/env bash
# Link launcher of the shipped programs: runs the link command given, with a linker script in
# which unwind records are kept only for the functions that are linked.
#
# The PE linker keeps every unwind record (KEEP(*(.eh_frame*)) in its default script), and a
# record refers to its function, so --gc-sections can drop no function that has one: a runtime
# object that is linked at all stays whole (the string instantiations alone are some 100 KB).
# Here the C++ runtime's per-function records (.eh_frame$NAME, beside .text$NAME) are kept by
# name for the functions that the link keeps; the rest go with their functions. Keeping a record
# can keep more code (its exception table, the types it catches), so the link is repeated until
# every function linked has its record. The objects' own records (.eh_frame) are all kept, as
# before. The link map is written to <program>.map.
#   link-keeping-used-unwind.sh COMPILER ARGS...
set -euo pipefail
export LC_ALL=C
out=""
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
    [ "${args[$i]}" = "-o" ] && out=${args[$((i + 1))]}
done
[ -n "$out" ] || { echo "$0: no -o in the link command" >&2; exit 2; }
ld=$("$1" -print-prog-name=ld)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$ld" --verbose | sed -n '/^======/,/^======/p' | sed '1d;$d' >"$work/default.x"
grep -q 'KEEP(\*(\.eh_frame\*))' "$work/default.x" ||
    { echo "$0: the linker's script keeps unwind records otherwise than expected" >&2; exit 2; }
# The NAMEs of the code sections (.text$NAME, .text.unlikely$NAME, ...) of nonzero size that the
# link kept (after the map's "Linker script" line), or of the unwind records it dropped (before).
map_names() {
    awk -v want="$2" '/^Linker script and memory map/ { kept = 1 }
         pending != "" { if ($1 ~ /^0x/ && $2 != "0x0") print pending; pending = "" }
         (want == "kept" && kept && $1 ~ /^\.text[^$]*\$/) ||
         (want == "dropped" && !kept && $1 ~ /^\.eh_frame\$/) {
             name = $1; sub(/^[^$]*\$/, "", name)
             if (NF >= 3) { if ($3 != "0x0") print name } else pending = name
         }' "$1" | sort -u
}
linked_functions() { map_names "$1" kept; }
: >"$work/keep"
for pass in 1 2 3 4 5 6 7 8 9 10; do
    {
        sed -n '1,/KEEP(\*(\.eh_frame\*))/p' "$work/default.x" | sed '$d'
        echo '    KEEP(*(.eh_frame))'
        sed 's/.*/    KEEP(*(.eh_frame$&))/' "$work/keep"
        echo '    *(.eh_frame$*)'
        sed -n '/KEEP(\*(\.eh_frame\*))/,$p' "$work/default.x" | sed '1d'
    } >"$work/link.x"
    "$@" "-Wl,-T,$work/link.x" "-Wl,-Map=$out.map"
    linked_functions "$out.map" >"$work/linked"
    if [ -z "$(comm -23 "$work/linked" "$work/keep")" ]; then
        # Every function linked keeps its unwind record: an exception passes through it.
        lost=$(comm -12 "$work/linked" <(map_names "$out.map" dropped))
        [ -z "$lost" ] || { echo "$0: unwind records dropped of linked functions: $lost" >&2; exit 1; }
        exit 0
    fi
    sort -u "$work/keep" "$work/linked" -o "$work/keep"
done
echo "$0: the unwind records kept did not settle after $pass links" >&2
exit 1
