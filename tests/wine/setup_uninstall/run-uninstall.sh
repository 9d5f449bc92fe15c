#!/usr/bin/env bash
# A silent install under Wine, then the UninstallString of its Programs-and-Features key run
# and its confirmation answered Yes:
#   run-uninstall.sh whole|quarantine <MLinewardenSetup.exe> <lw-e2e-click.exe>
#   whole       every installed file, the key, the shortcut and the Run values are gone, and
#               so is the program folder
#   quarantine  a dialer's quarantine copy lies in the folder's "dialers": that folder and the
#               program folder stay with the copy, and nothing else of the installation does
# Each case has a Wine prefix of its own, made afresh, so that no earlier run's key or Run
# value can make it pass. Without a DISPLAY the run gets an X server of its own.
set -u
case_name=${1:?usage: run-uninstall.sh whole|quarantine <MLinewardenSetup.exe> <lw-e2e-click.exe>}
setup=${2:?usage: run-uninstall.sh whole|quarantine <MLinewardenSetup.exe> <lw-e2e-click.exe>}
clicker=${3:?usage: run-uninstall.sh whole|quarantine <MLinewardenSetup.exe> <lw-e2e-click.exe>}
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../../scripts/wine-run.sh"
base="${WINEPREFIX:-$here/../../../build/wineprefix}"
export WINEPREFIX="$base-setup-uninstall-$case_name"
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
bash "$wine_run" --prepare || { echo "FAIL: no Wine prefix"; exit 1; }
fail() { echo "FAIL ($case_name): $*"; wineserver -k 2>/dev/null; exit 1; }
win() { bash "$wine_run" "$@"; }

folder_win='C:\lw-setup\Zażółć gęślą jaźń'
folder_unix="$WINEPREFIX/drive_c/lw-setup/Zażółć gęślą jaźń"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\MLinewarden'
run_key='Software\Microsoft\Windows\CurrentVersion\Run'
caption='Morvane Linewarden - Deinstalacja'
cp "$setup" "$WINEPREFIX/drive_c/MLinewardenSetup.exe"
cp "$clicker" "$WINEPREFIX/drive_c/lw-e2e-click.exe"

timeout -k 5 120 bash "$wine_run" 'C:\MLinewardenSetup.exe' /S "/D=$folder_win"
rc=$?
[ "$rc" = 0 ] || fail "setup's exit code $rc"
[ -f "$folder_unix/MLinewarden.exe" ] || fail "nothing installed"
find "$WINEPREFIX/drive_c/users" -name 'Morvane Linewarden.lnk' | grep -q . || fail "no shortcut"
win reg query "HKLM\\$run_key" /v MLinewarden >/dev/null 2>&1 ||
    win reg query "HKCU\\$run_key" /v MLinewarden >/dev/null 2>&1 || fail "no Run value"
if [ "$case_name" = quarantine ]; then
    mkdir -p "$folder_unix/dialers"
    printf 'MZ-dialer' >"$folder_unix/dialers/dialer.exe.001"
fi

# The command line exactly as Programs and Features would run it, quotes and all.
# reg writes in the console's code page, which for Polish is 852.
uninstall=$(win reg query "$key" /v UninstallString 2>/dev/null | iconv -f CP852 -t UTF-8 |
    tr -d '\r' | sed -n 's/^ *UninstallString *REG_SZ *//p')
[ -n "$uninstall" ] || fail "no UninstallString"
# Quoted, since the folder has blanks; the program inside the quotes is what is run.
program=${uninstall#\"}
program=${program%\"}
[ "\"$program\"" = "$uninstall" ] || fail "the UninstallString is not one quoted path: $uninstall"
timeout -k 5 60 bash "$wine_run" "$program" &
uninstall_pid=$!
click_output=$(win 'C:\lw-e2e-click.exe' 30000 "$caption" yes)
click_rc=$?
wait "$uninstall_pid"
uninstall_rc=$?
echo "$click_output"
[ "$click_rc" = 0 ] || fail "the confirmation was not answered (uninstaller's exit code $uninstall_rc)"
[ "$uninstall_rc" = 0 ] || fail "uninstaller's exit code $uninstall_rc"

# The removal batch takes the uninstaller and the folder after the uninstaller has ended.
for _ in $(seq 1 60); do
    if [ "$case_name" = whole ]; then [ -e "$folder_unix" ] || break
    else [ -e "$folder_unix/uninstall.exe" ] || break; fi
    sleep 0.5
done
if [ "$case_name" = whole ]; then
    [ ! -e "$folder_unix" ] || fail "the program folder stays: $(cd "$folder_unix" && find .)"
else
    left=$(cd "$folder_unix" 2>/dev/null && find . | LC_ALL=C sort | tr '\n' ' ')
    [ "$left" = ". ./dialers ./dialers/dialer.exe.001 " ] ||
        fail "the folder should keep only the quarantine, it holds: $left"
fi
! win reg query "$key" >/dev/null 2>&1 || fail "the Programs-and-Features key stays"
for root in HKLM HKCU; do
    ! win reg query "$root\\$run_key" /v MLinewarden >/dev/null 2>&1 ||
        fail "the $root Run value stays"
done
! find "$WINEPREFIX/drive_c/users" -name 'Morvane Linewarden.lnk' | grep -q . ||
    fail "the shortcut stays"
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
echo PASS
