#!/usr/bin/env bash
# Installs what is missing, builds both Windows programs and starts the guard under Wine: on the
# user's display when there is one. Headless, it runs the guard in a Wine virtual desktop under
# Xvfb (so that the window has its frame and caption), saves a picture of the options view
# (build/MLinewarden-options.png) and of the report view (build/MLinewarden-report.png), and
# ends the guard through its Exit command.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

exe="$PWD/build/windows/guard/MLinewarden.exe"
probe="$PWD/build/windows/tests/wine/guard/lw-guard-probe.exe"
export WINEPREFIX="$PWD/build/demo-wineprefix"

if [ -n "${DISPLAY:-}" ]; then
    exec scripts/wine-run.sh "$exe"
fi

n=$(for i in $(seq 130 160); do [ -e "/tmp/.X$i-lock" ] || { echo "$i"; break; }; done)
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
trap 'WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true' EXIT
sleep 1
scripts/wine-run.sh --prepare

probe() { LW_DESKTOP=Linewarden scripts/wine-run.sh "$probe" "$@"; }
# Pictures of the window with a little of the desktop around it, once it has painted.
shoot() {
    # The pointer away from the window, so that no hint covers it.
    xdotool mousemove 1000 10 2>/dev/null || true
    sleep 1
    import -window root -crop "$(probe geometry 12 | tr -d '\r')" +repage "$1"
    echo "screenshot saved to $1"
}

scripts/wine-run.sh explorer /desktop=Linewarden,1024x768 "$(winepath -w "$exe")" &
# The guard shows its window, and the start-up check hides it into the tray.
probe wait-shown 60000 || { echo "run.sh: the guard's window did not appear" >&2; exit 1; }
probe wait-hidden 30000 || true
probe menu configuration
probe wait-shown 10000
shoot "$PWD/build/MLinewarden-options.png"
probe menu report
shoot "$PWD/build/MLinewarden-report.png"
probe menu exit
probe wait-gone 20000 || { echo "run.sh: the guard did not end on Exit" >&2; exit 1; }
echo "the guard ended through its Exit command"
