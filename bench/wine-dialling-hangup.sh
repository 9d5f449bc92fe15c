#!/usr/bin/env bash
# How long a forbidden call lasts under Wine when calls take their time to be answered, as a
# modem's do: the shipped guard, resident with its confirmations off, and rasctl dialling a
# premium-rate number again and again over the stand-in dial-up, each call answered ANSWER-MS
# after its dial unless it is ended before. First with the look at calls being dialled on (the
# default), then with it off, when the guard hears of a call only once it is answered. Each delay
# runs from the dial to the guard's hang-up, as the stand-in's log stamps them (to the
# millisecond); the log also says whether the call was answered first.
#   bench/wine-dialling-hangup.sh [DIALS] [ANSWER-MS]   (30 and 15000 by default; builds what is
#                                                       missing first)
set -euo pipefail
cd "$(dirname "$0")/.."
dials=${1:-30}
answer_ms=${2:-15000}
. tests/wine/lib.sh
lib_bench "$@"
# In Wine's virtual desktop, as on a desktop with a window manager (see wine-hangup-latency.sh).
export LW_DESKTOP=Dialling
lib_fresh_world "$PWD/build/dialling-wineprefix"

# Read from Linux: polling through rasctl would start a Wine process per poll, competing for the
# state's lock with the calls being timed.
standin_log="$WINEPREFIX/drive_c/ProgramData/RasStandin/rasstandin.log"
hangups() { grep -c 'MLinewarden.exe: RasHangUpA' "$standin_log" || true; }
hung_up() { [ "$(hangups)" -gt "$before" ]; }

# The delays of the dials in the log, and how many of the calls were answered before their end.
measure() {
    rasctl log | awk -v entry="\"$world_premium_entry\"" '
        function ms(clock,  t) { split(clock, t, ":"); return (t[1] * 60 + t[2]) * 60000 + t[3] * 1000 }
        index($0, "rasctl.exe: RasDialA") && index($0, entry) { dialed[$NF] = ms($2) }
        index($0, ": answered ") { answered[$7] = 1 }
        index($0, "MLinewarden.exe: RasHangUpA") {
            h = $7
            if (h in dialed) { print ms($2) - dialed[h], (h in answered) ? 1 : 0 }
        }
    ' | sort -n | awk -v what="$1" '
        { d[NR] = $1; answered += $2 }
        END {
            if (NR == 0) { print "no hang-ups measured"; exit 1 }
            median = NR % 2 ? d[(NR + 1) / 2] : (d[NR / 2] + d[NR / 2 + 1]) / 2
            printf "%-34s %d dials: dial to hang-up median %.1f ms, best %d ms, worst %d ms; %d answered first\n",
                what, NR, median, d[1], d[NR], answered
        }'
}

run() {
    local option=$1 what=$2
    world_install_guard FirstRun=0 AutoStart=0 CheckAllowedNumbers=1 IdentAutoDeleteDialUp=0 \
        IdentAutoDeleteDialers=0 IdentAskBeforeDeleteDialUp=0 IdentNumberCount=1 \
        "IdentNumberFmt_0=$world_isp_number" "IdentCheckWhileDialling=$option"
    rasctl reset >/dev/null
    rasctl add Dostawca "$world_isp_number" >/dev/null
    rasctl dial Dostawca >/dev/null
    rasctl add "$world_premium_entry" "$world_premium_number" >/dev/null
    world_start_guard
    rasctl answer-after "$answer_ms" >/dev/null
    for _ in $(seq 1 "$dials"); do
        before=$(hangups)
        # Returns once the call is answered, or fails when it is ended before.
        rasctl dial "$world_premium_entry" >/dev/null 2>&1 || true
        world_until $((answer_ms / 1000 + 20)) hung_up || world_fail "the guard did not hang up"
        # The cycle that the hang-up itself starts ends before the next dial.
        sleep 1
    done
    world_stop_guard
    # Not through a command substitution: the guard's virtual desktop may outlive it, holding
    # the substitution's output open.
    measure "$what" >>"$results"
}

results="$WINEPREFIX.results"
rm -f "$results"
run 1 "look while dialling on (default):"
run 0 "look while dialling off:"
echo "calls answered ${answer_ms} ms after their dial"
cat "$results"
rm -f "$results"
