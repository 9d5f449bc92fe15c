#!/usr/bin/env bash
# Installs what is missing, builds, installs the guard with its setup (silently) under Wine in a
# prefix of its own (build/demo-wineprefix), and starts it over the stand-in dial-up, an ISP's
# number allowed and connected.
#
# On the user's display the guard stays running, and rasctl (or the sample dialer) can be used
# by hand; the commands are printed. Headless, it plays the dialer scene in Wine's virtual
# desktop under Xvfb: the sample dialer dials a premium-rate number, the guard asks about the
# connection, the entry and the dialer, a helper answers Yes, and the guard hangs up, deletes the
# entry and removes the dialer. It prints the report and the stand-in's log, saves pictures of
# the setup's window (build/MLinewardenSetup.png), the tray icon (build/MLinewarden-tray.png), the question (build/MLinewarden-question.png), the
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
if [ "$headless" = 1 ]; then
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

    # The setup's window as a user first sees it: pictured, then cancelled with the mouse.
    setup_caption="Instalacja programu Morvane Linewarden"
    place() { world_wine "$LW_BUILD/tests/wine/setup/lw-control-place.exe" "$@" | tr -d '\r'; }
    world_wine explorer "/desktop=$LW_DESKTOP,1024x768" "$LW_BUILD/installer/MLinewardenSetup.exe" &
    IFS='x+' read -r w h x y < <(place 60000 "$setup_caption") ||
        world_fail "the setup's window did not come"
    xdotool mousemove 1000 10 2>/dev/null || true
    sleep 1
    x=$((x > 12 ? x - 12 : 0)) y=$((y > 12 ? y - 12 : 0))
    import -window root -crop "$((w + 24))x$((h + 24))+$x+$y" +repage \
        "$PWD/build/MLinewardenSetup.png"
    echo "screenshot saved to $PWD/build/MLinewardenSetup.png"
    xdotool mousemove $(place 10000 "$setup_caption" Anuluj) click 1
    setup_gone() { ! place 0 "$setup_caption" >/dev/null; }
    world_until 20 setup_gone || world_fail "the setup did not end on Cancel"
fi
# The guard installed as a user installs it, by its setup; silently here, into the usual folder.
world_wine "$LW_BUILD/installer/MLinewardenSetup.exe" /S "/D=$world_guard_win" ||
    world_fail "the setup failed: $(find "$WINEPREFIX/drive_c/users" -name MLinewardenSetup.log -exec cat {} +)"
echo "installed by the setup into $world_guard_win"
# The setup started the guard; the scene starts it again once the demo's own choices are set.
world_end_started_guard
{ printf '[Main]\r\n'; printf '%s\r\n' "${world_checks_all[@]}"; } >"$world_guard_dir/MLinewarden.cfg"
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
echo "The guard's lasting log ($world_guard_win\\MLinewarden.log):"
sed '1s/^\xEF\xBB\xBF//; s/\r$//; s/^/  /' "$world_guard_dir/MLinewarden.log"
