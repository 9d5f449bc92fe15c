#!/usr/bin/env bash
# The resident guard's footprint under Wine, in Wine's virtual desktop: its start-up time, from
# starting MLinewarden.exe to its tray icon being registered, beside the start of a trivial
# Win32 program (start to exit) in the same run; then, idle after the start-up sweep, its private
# bytes and working set as the system's process-memory query reports them for its process.
#   bench/wine-guard-footprint.sh [STARTS]    (10 by default; builds what is missing first)
set -euo pipefail
cd "$(dirname "$0")/.."
starts=${1:-10}
. tests/wine/lib.sh
lib_bench "$@"
# The virtual desktop, as a user's desktop with a window manager (see wine-hangup-latency.sh).
export LW_DESKTOP=Footprint
lib_fresh_world "${WINEPREFIX:-$PWD/build/footprint-wineprefix}"
trivial="$LW_BUILD/tests/wine/dialers/lw_exit_with.exe"
world_install_guard FirstRun=0 AutoStart=0 CheckAllowedNumbers=1 IdentAutoDeleteDialUp=0 \
    IdentAutoDeleteDialers=1 IdentAskBeforeDeleteDialUp=0 IdentNumberCount=1 \
    "IdentNumberFmt_0=$world_isp_number"
world_connect_isp
# A first start, not counted: it creates the virtual desktop and warms Wine's caches, so that
# every start below is the guard's own.
world_start_guard
world_stop_guard
world_wine "$trivial" 0
ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{ d[NR] = $1 } END { print NR % 2 ? d[(NR + 1) / 2] : (d[NR / 2] + d[NR / 2 + 1]) / 2 }'; }
guard_times=() trivial_times=()
for i in $(seq 1 "$starts"); do
    start=$(ms)
    world_wine "$trivial" 0
    trivial_times+=($(($(ms) - start)))

    start=$(ms)
    world_wine explorer "/desktop=$LW_DESKTOP,1024x768" "$world_guard_win\\MLinewarden.exe" &
    probe wait-tray 60000 >/dev/null || world_fail "no tray icon after start $i"
    guard_times+=($(($(ms) - start)))
    probe wait-hidden 60000 >/dev/null || world_fail "the start-up check did not end"
    if [ "$i" -lt "$starts" ]; then
        world_stop_guard
    fi
done
# The last guard stays: idle, a few seconds after its start-up sweep.
sleep 5
memory=$(probe memory) || world_fail "the guard's memory could not be read"
# The same process seen from Linux: Wine's process that runs the guard.
# (its command line is the program's Windows path; the explorer that started it has /desktop)
linux_pid=$(pgrep -f '^[^/]*MLinewarden\.exe' | head -n 1 || true)
linux=""
[ -z "$linux_pid" ] || linux=$(grep -E '^(VmRSS|RssAnon):' "/proc/$linux_pid/status" || true)
world_stop_guard

echo "$starts starts, medians: guard to tray icon $(printf '%s\n' "${guard_times[@]}" | median) ms," \
    "trivial Win32 program start to exit $(printf '%s\n' "${trivial_times[@]}" | median) ms"
echo "  guard (ms): ${guard_times[*]}"
echo "  trivial (ms): ${trivial_times[*]}"
echo "idle guard, from K32GetProcessMemoryInfo on its process:"
awk '{ printf "  %-17s %9d bytes (%d KiB)\n", $1, $2, $2 / 1024 }' <<<"$memory"
[ -z "$linux" ] || { echo "Wine's process under Linux (/proc/PID/status):"; sed 's/^/  /' <<<"$linux"; }
