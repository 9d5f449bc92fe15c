#!/usr/bin/env bash
# How long a forbidden call lasts under Wine: the shipped guard, resident with its default checks
# and its confirmations off, and rasctl dialling a premium-rate number again and again over the
# stand-in dial-up. Each delay runs from the dial to the guard's hang-up, both as the stand-in's
# log stamps them (to the millisecond); the dial's stamp is written once the connection is
# listed and the watchers are signalled.
#   bench/wine-hangup-latency.sh [DIALS]    (20 by default; builds what is missing first)
set -euo pipefail
cd "$(dirname "$0")/.."
dials=${1:-20}
. tests/wine/lib.sh
lib_bench "$@"
# In Wine's virtual desktop, as on a desktop with a window manager: on a bare X server, Wine
# waits up to 2 s for a manager to confirm that the hidden window is withdrawn, and the guard's
# first hang-up would wait behind that.
export LW_DESKTOP=Latency
lib_fresh_world "$PWD/build/latency-wineprefix"
world_install_guard FirstRun=0 AutoStart=0 CheckAllowedNumbers=1 IdentAutoDeleteDialUp=0 \
    IdentAutoDeleteDialers=1 IdentAskBeforeDeleteDialUp=0 IdentNumberCount=1 \
    "IdentNumberFmt_0=$world_isp_number"
world_connect_isp
rasctl add "$world_premium_entry" "$world_premium_number" >/dev/null
world_start_guard
# Hang-ups are counted in the stand-in's log from Linux: polling through rasctl would start a
# Wine process per poll, competing for the state's lock with the hang-up being timed.
standin_log="$WINEPREFIX/drive_c/ProgramData/RasStandin/rasstandin.log"
hangups() { grep -c 'MLinewarden.exe: RasHangUpA' "$standin_log" || true; }
hung_up() { [ "$(hangups)" -gt "$before" ]; }
for _ in $(seq 1 "$dials"); do
    before=$(hangups)
    rasctl dial "$world_premium_entry" >/dev/null
    world_until 20 hung_up || world_fail "the guard did not hang up"
    # The cycle that the hang-up itself starts ends before the next dial.
    sleep 1
done
world_stop_guard

# Dials by rasctl and hang-ups by the guard, paired by the connection's handle.
rasctl log | awk -v entry="\"$world_premium_entry\"" '
    function ms(clock,  t) { split(clock, t, ":"); return (t[1] * 60 + t[2]) * 60000 + t[3] * 1000 }
    index($0, "rasctl.exe: RasDialA") && index($0, entry) { dialed[$NF] = ms($2) }
    index($0, "MLinewarden.exe: RasHangUpA") { h = $7; if (h in dialed) print ms($2) - dialed[h] }
' | sort -n | awk '
    { d[NR] = $1 }
    END {
        if (NR == 0) { print "no hang-ups measured"; exit 1 }
        median = NR % 2 ? d[(NR + 1) / 2] : (d[NR / 2] + d[NR / 2 + 1]) / 2
        printf "%d dials: dial to hang-up median %.1f ms, best %d ms, worst %d ms\n", NR, median, d[1], d[NR]
    }'
