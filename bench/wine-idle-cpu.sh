#!/usr/bin/env bash
# What the look at calls being dialled costs an idle guard under Wine: two guards side by side,
# each in a prefix of its own over the stand-in dial-up with the ISP's allowed call up and nothing
# else happening, one with the look on (the default) and one with it off. Over the same SECONDS
# the processor time (user and system, from /proc/PID/stat) of each guard's Wine process and of
# each prefix's wineserver, which serves the guard's system calls, is read at the start and at
# the end.
#   bench/wine-idle-cpu.sh [SECONDS]    (600 by default; builds what is missing first)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
. tests/wine/lib.sh
lib_bench "$@"
prefixes="$PWD/build/idle-wineprefix"
stop() {
    for option in 1 0; do
        WINEPREFIX="$prefixes-$option" wineserver -k 2>/dev/null || true
    done
    [ -n "${LW_KEEP_PREFIX:-}" ] || rm -rf "$prefixes-1" "$prefixes-0"
}
trap stop EXIT

# A prefix with the guard resident in it, the look on (1) or off (0). Each in a shell of its own:
# guard-world.sh fixes its paths from WINEPREFIX when it is read.
start_world() {
    (
        export LW_DESKTOP="Idle$1"
        lib_world "$prefixes-$1"
        world_create
        world_install_guard FirstRun=0 AutoStart=0 CheckAllowedNumbers=1 \
            IdentAutoDeleteDialUp=0 IdentAutoDeleteDialers=1 IdentAskBeforeDeleteDialUp=0 \
            IdentNumberCount=1 "IdentNumberFmt_0=$world_isp_number" "IdentCheckWhileDialling=$1"
        world_connect_isp
        world_start_guard
    ) >&2
}

# The Linux process of the pattern whose environment names the prefix.
pid_in() {
    local pid
    for pid in $(pgrep -f "$1"); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$2"; then
            echo "$pid"
            return 0
        fi
    done
    return 1
}

# User and system time of the process so far, in clock ticks.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

start_world 1
start_world 0
declare -A pid
for option in 1 0; do
    pid[guard$option]=$(pid_in '^[^/]*MLinewarden\.exe' "$prefixes-$option") ||
        { echo "no guard in $prefixes-$option" >&2; exit 1; }
    pid[server$option]=$(pid_in '^([^ ]*/)?wineserver' "$prefixes-$option") ||
        { echo "no wineserver for $prefixes-$option" >&2; exit 1; }
done
# Past the start-up: the dialer sweep of the first cycle has ended in both.
sleep 10
declare -A start
for key in "${!pid[@]}"; do start[$key]=$(ticks "${pid[$key]}"); done
sleep "$seconds"
declare -A used
for key in "${!pid[@]}"; do used[$key]=$(($(ticks "${pid[$key]}") - start[$key])); done

hz=$(getconf CLK_TCK)
report() {
    awk -v t="$2" -v hz="$hz" -v s="$seconds" -v what="$1" \
        'BEGIN { printf "  %-30s %8.2f s  (%.4f %% of one core)\n", what, t / hz, 100 * t / hz / s }'
}
echo "$seconds s idle, side by side (processor time, user + system):"
report "guard, look on:" "${used[guard1]}"
report "guard, look off:" "${used[guard0]}"
report "guard, difference:" "$((used[guard1] - used[guard0]))"
report "wineserver, look on:" "${used[server1]}"
report "wineserver, look off:" "${used[server0]}"
report "guard + wineserver, difference:" \
    "$((used[guard1] + used[server1] - used[guard0] - used[server0]))"
