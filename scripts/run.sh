#!/usr/bin/env bash
# Installs what is missing, builds both Windows programs and starts the guard under Wine: on the
# user's display when there is one; otherwise headless under Xvfb, where it saves a screenshot
# and ends by itself after a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

exe="$PWD/build/windows/guard/MLinewarden.exe"
export WINEPREFIX="$PWD/build/demo-wineprefix"

if [ -n "${DISPLAY:-}" ]; then
    exec scripts/wine-run.sh "$exe"
fi

shot="$PWD/build/MLinewarden.png"
n=$(for i in $(seq 130 160); do [ -e "/tmp/.X$i-lock" ] || { echo "$i"; break; }; done)
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
trap 'WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true' EXIT
sleep 1
scripts/wine-run.sh --prepare
scripts/wine-run.sh "$exe" &
app_pid=$!
sleep "${LW_DEMO_SECONDS:-8}"
import -window root "$shot"
echo "screenshot saved to $shot"
kill "$app_pid" 2>/dev/null || true
