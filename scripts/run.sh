#!/usr/bin/env bash
# Installs what is missing, builds, and starts the guard under Wine over the stand-in dial-up, in
# a prefix of its own (build/demo-wineprefix) where an ISP's number is allowed and connected.
#
# On the user's display the guard stays running, and rasctl (or the sample dialer) can be used
# by hand; the commands are printed. Headless, it plays the dialer scene in Wine's virtual
# desktop under Xvfb: the sample dialer dials a premium-rate number, the guard asks about the
# connection, the entry and the dialer, a helper answers Yes, and the guard hangs up, deletes the
# entry and removes the dialer. It prints the report and the stand-in's log, saves pictures of
# the tray icon (build/MLinewarden-tray.png), the question (build/MLinewarden-question.png), the
# report (build/MLinewarden-report.png) and the options (build/MLinewarden-options.png), and ends
# the guard through its Exit command.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

export LW_BUILD="$PWD/build/windows"
export WINEPREFIX="$PWD/build/demo-wineprefix"
headless=0
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    n=$(for i in $(seq 130 160); do [ -e "/tmp/.X$i-lock" ] || { echo "$i"; break; }; done)
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    sleep 1
fi
. scripts/guard-world.sh

world_create
world_install_guard "${world_checks_all[@]}"
world_install_dialer
world_connect_isp

if [ "$headless" = 0 ]; then
    world_wine "$world_guard_win\\MLinewarden.exe" &
    cat <<EOF
The guard runs in its tray; the ISP "Dostawca" ($world_isp_number) is allowed and connected.
Dial a premium-rate number, or start the sample dialer, and watch the guard cut the call:

  WINEPREFIX=$WINEPREFIX tools/ras-standin/with-standin.sh $world_rasctl_exe add Premium 0700999999
  WINEPREFIX=$WINEPREFIX tools/ras-standin/with-standin.sh $world_rasctl_exe dial Premium
  WINEPREFIX=$WINEPREFIX tools/ras-standin/with-standin.sh '$world_dialer_win\\FreeDialer.exe'
  WINEPREFIX=$WINEPREFIX tools/ras-standin/with-standin.sh $world_rasctl_exe list
  WINEPREFIX=$WINEPREFIX tools/ras-standin/with-standin.sh $world_rasctl_exe log
EOF
    wait
    exit 0
fi

trap 'wineserver -k 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true' EXIT
# Wine's virtual desktop with its taskbar, whose notification area shows the guard's icon.
export LW_DESKTOP=Linewarden
world_wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops" /v "$LW_DESKTOP" /d 1024x768 /f \
    >/dev/null 2>&1
world_wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops\\$LW_DESKTOP" /v EnableShell \
    /t REG_DWORD /d 1 /f >/dev/null 2>&1
# Pictures of a window with a little of the desktop around it, once it has painted.
shoot() {
    local file=$1
    shift
    # The pointer away from the window, so that no hint covers it.
    xdotool mousemove 1000 10 2>/dev/null || true
    sleep 1
    import -window root -crop "$(probe geometry 12 "$@")" +repage "$file"
    echo "screenshot saved to $file"
}

world_start_guard
# The guard in the taskbar's notification area, with its tip under the pointer.
xdotool mousemove 1013 757 2>/dev/null || true
sleep 2
import -window root -crop 420x90+604+678 +repage "$PWD/build/MLinewarden-tray.png"
echo "screenshot saved to $PWD/build/MLinewarden-tray.png"
echo "The guard runs; the ISP's connection is allowed. The sample dialer starts and dials."
world_wine "$world_dialer_win\\FreeDialer.exe" &
probe wait-question 30000 >/dev/null || world_fail "the guard asked nothing"
shoot "$PWD/build/MLinewarden-question.png" question
echo "Questions, answered Yes (caption|value 1|value 2):"
probe answer yes all 15000 | sed 's/^/  /'
probe wait-report 30000 "Usuwanie skrótów pliku" >/dev/null || world_fail "the dialer was not removed"
echo "The guard's report:"
probe report | sed 's/^/  /; s/|/  /'
echo "The stand-in's log:"
rasctl log | sed 's/^/  /'
echo "Connections and entries left:"
rasctl list | sed 's/^/  /'
probe menu report >/dev/null
probe wait-shown 10000 >/dev/null
shoot "$PWD/build/MLinewarden-report.png"
probe menu configuration >/dev/null
shoot "$PWD/build/MLinewarden-options.png"
world_stop_guard
echo "the guard ended through its Exit command"
