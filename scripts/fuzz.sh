#!/usr/bin/env bash
# Builds a libFuzzer target with clang (address and undefined-behaviour sanitizers) in
# build/fuzz (or the folder that LW_FUZZ_OUT names) and runs it for a number of seconds on a
# copy of its seed corpus.
#   scripts/fuzz.sh xml 600        run the xml fuzzer for ten minutes
#   scripts/fuzz.sh xml 0          only build it
# Extra arguments after the seconds go to libFuzzer. Crashing inputs land in
# build/fuzz/artifacts/<name>/; the grown corpus stays in build/fuzz/corpus/<name>/.
set -euo pipefail
cd "$(dirname "$0")/.."

name=${1:?usage: scripts/fuzz.sh <fuzzer> <seconds> [libFuzzer options]}
seconds=${2:?usage: scripts/fuzz.sh <fuzzer> <seconds> [libFuzzer options]}
shift 2

# The sources each fuzzer needs besides its own file: the unit under test and its helpers.
case "$name" in
    xml) sources=(uninstall/Xml.cpp common/Errors.cpp common/Format.cpp common/StrUtils.cpp
                  common/TextConv.cpp platform/posix/AnsiTextPosix.cpp) ;;
    package) sources=($(ls uninstall/*.cpp | grep -v -e UninstallMain -e MIUninst -e Texts)
                      common/*.cpp platform/posix/AnsiTextPosix.cpp platform/posix/OemTextPosix.cpp
                      tests/support/MemoryFileSystem.cpp tests/support/MemoryRegistry.cpp
                      platform/FilesCommon.cpp platform/IniFile.cpp platform/IniText.cpp
                      platform/AliasLongForm.cpp platform/AliasSpelling.cpp platform/OemCodePage.cpp
                      platform/posix/ClockPosix.cpp platform/posix/ProcessWindowsPosix.cpp) ;;
    settings) sources=(settings/*.cpp common/*.cpp platform/posix/ProfilePosix.cpp
                       platform/posix/FilesPosix.cpp platform/IniFile.cpp platform/IniText.cpp) ;;
    dialer) sources=(dialers/ExecutableChecks.cpp dialers/StartupFiles.cpp dialers/RunValue.cpp
                     dialers/RegistryAccess.cpp common/*.cpp
                     tests/support/MemoryFileSystem.cpp tests/support/MemoryRegistry.cpp) ;;
    *) echo "fuzz.sh: unknown fuzzer '$name'" >&2; exit 2 ;;
esac

out=${LW_FUZZ_OUT:-build/fuzz}
mkdir -p "$out/artifacts/$name" "$out/corpus/$name"
binary="$out/${name}_fuzzer"

flags=(-std=c++17 -g -O1 -I. -Itests -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
headers=(common/*.h platform/*.h platform/posix/*.h settings/*.h dialers/*.h uninstall/*.h
         tests/support/*.h)
if [ ! -x "$binary" ] || [ -n "$(find "fuzz/${name}_fuzzer.cpp" "${sources[@]}" "${headers[@]}" \
        -newer "$binary" 2>/dev/null)" ]; then
    echo "fuzz.sh: building $binary"
    clang++ "${flags[@]}" "fuzz/${name}_fuzzer.cpp" "${sources[@]}" -o "$binary"
fi
[ "$seconds" -gt 0 ] || exit 0

cp -n "fuzz/corpus/$name"/* "$out/corpus/$name/" 2>/dev/null || true
exec nice "$binary" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$out/artifacts/$name/" "$@" "$out/corpus/$name"
