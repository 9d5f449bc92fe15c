#!/usr/bin/env bash
# Whether building for size slows the dialer text search: the search benchmark built natively
# at each optimisation level given (the windows build's -O3 and -Os by default), the builds run
# one after another in one run, each with ten repetitions, and the medians set side by side with
# the search's ratio to merely reading the same files.
#   bench/search-size-flags.sh [LEVEL ...]     e.g. bench/search-size-flags.sh -O3 -O2 -Os
set -euo pipefail
cd "$(dirname "$0")/.."
levels=("$@")
[ ${#levels[@]} -gt 0 ] || levels=(-O3 -Os)
for level in "${levels[@]}"; do
    dir="build/bench${level}"
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=$level -DNDEBUG" \
        -DLW_BUILD_TESTS=OFF >/dev/null
    cmake --build "$dir" -j2 --target search_bench >/dev/null
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for level in "${levels[@]}"; do
    "build/bench${level}/bench/search_bench" --benchmark_repetitions=10 \
        --benchmark_report_aggregates_only=true --benchmark_format=csv \
        --benchmark_filter='BufferedSearch|ReadOnly' 2>/dev/null >"$out/$level.csv"
done
printf '%-6s %14s %14s %8s\n' level "search (ms)" "read (ms)" ratio
for level in "${levels[@]}"; do
    awk -F, -v level="$level" '
        $1 ~ /BM_BufferedSearch_median/ { search = $4 }
        $1 ~ /BM_ReadOnly_median/ { read = $4 }
        END { printf "%-6s %14.2f %14.2f %8.2f\n", level, search, read, search / read }
    ' "$out/$level.csv"
done
echo "(medians of 10 repetitions on $(nproc) cores; $(uptime | sed 's/.*load average/load average/'))"
