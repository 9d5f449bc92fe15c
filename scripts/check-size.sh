#!/usr/bin/env bash
# Checks that each shipped program, as it is shipped (stripped), stays within its size budget:
# our users download it over a modem, where every 5 KB is a second on the phone line.
#   check-size.sh PROGRAM=BUDGET-BYTES ...
set -eu
status=0
for pair in "$@"; do
    exe=${pair%=*}
    budget=${pair##*=}
    size=$(stat -c %s "$exe")
    # About 5 KB/s in practice at 56 kbit/s.
    seconds=$(((size + 2500) / 5000))
    if [ "$size" -le "$budget" ]; then
        verdict="within budget, $((budget - size)) bytes to spare"
    else
        verdict="OVER budget by $((size - budget)) bytes"
        status=1
    fi
    echo "$(basename "$exe"): $size bytes, budget $budget bytes: $verdict (about $seconds s at 56 kbit/s)"
done
exit $status
