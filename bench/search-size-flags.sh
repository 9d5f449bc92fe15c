#!/usr/bin/env bash
# Whether building for size slows the dialer text search: the search benchmark built natively
# at each optimisation level given (the windows build's -O3 and -Os by default), the builds run
# by turns in one run, ten rounds, and the medians set side by side with the search's ratio to
# merely reading the same files.
#   bench/search-size-flags.sh [LEVEL ...]     e.g. bench/search-size-flags.sh -O3 -O2 -Os
# (the builds go to build/bench-O3 and so on, or LW_BENCH_BUILD-O3 when that is set)
set -euo pipefail
cd "$(dirname "$0")/.."
levels=("$@")
[ ${#levels[@]} -gt 0 ] || levels=(-O3 -Os)
for level in "${levels[@]}"; do
    dir="${LW_BENCH_BUILD:-build/bench}${level}"
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=$level -DNDEBUG" \
        -DLW_BUILD_TESTS=OFF >/dev/null
    cmake --build "$dir" -j2 --target search_bench >/dev/null
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# The builds take turns, one repetition each, so that a change in the machine's load (it is
# shared) falls on every level alike.
for round in $(seq 1 10); do
    for level in "${levels[@]}"; do
        "${LW_BENCH_BUILD:-build/bench}${level}/bench/search_bench" --benchmark_format=csv \
            --benchmark_filter='BufferedSearch|ReadOnly' 2>/dev/null | grep '^"BM_' >>"$out/$level.csv"
    done
done
printf '%-6s %14s %14s %8s\n' level "search (ms)" "read (ms)" ratio
for level in "${levels[@]}"; do
    # Medians of the ten CPU times and of the ten rounds' ratios.
    awk -F, -v level="$level" '
        function median(a, n,  i, j, t) {
            for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
            return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
        }
        $1 ~ /BM_BufferedSearch/ { s[++ns] = $4 }
        $1 ~ /BM_ReadOnly/ { r[++nr] = $4; q[nr] = s[nr] / $4 }
        END { printf "%-6s %14.2f %14.2f %8.2f\n", level, median(s, ns), median(r, nr), median(q, nr) }
    ' "$out/$level.csv"
done
echo "(medians of 10 rounds, CPU time, on $(nproc) cores shared with others; $(uptime | sed 's/.*load average/load average/'))"
