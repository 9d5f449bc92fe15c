#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test: the native tests, then the
# Windows tests under Wine in a headless X server of their own.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j2

cmake --preset windows >/dev/null
cmake --build --preset windows

# One X server and one wineserver for the whole Wine run: starting them per test would cost
# seconds each.
export WINEPREFIX="$PWD/build/windows/wineprefix"
rm -rf "$WINEPREFIX"
xvfb_pid=""
if [ -z "${DISPLAY:-}" ] || [ -n "${CI:-}" ]; then
    for n in $(seq 90 120); do
        if [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
            xvfb_pid=$!
            export DISPLAY=":$n"
            break
        fi
    done
    sleep 1
fi
cleanup() {
    WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
ctest --preset windows
