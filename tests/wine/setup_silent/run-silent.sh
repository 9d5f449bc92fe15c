#!/usr/bin/env bash
# The shipped setup run silently under Wine into a folder with blanks and Polish letters:
#   run-silent.sh install|damaged|upgrade <MLinewardenSetup.exe>
#   install  checks the files, the shortcut, the Programs-and-Features values, the uninstaller's
#            package, the exit code and the guard running afterwards
#   damaged  one byte of the payload changed: exit code 2, the reason in the log, nothing
#            installed
#   upgrade  the setup run again over the installation while the guard runs: the old guard
#            ends by itself with exit code 0, and a new one runs
# Without a DISPLAY the run gets an X server of its own.
set -u
case_name=${1:?usage: run-silent.sh install|damaged|upgrade <MLinewardenSetup.exe>}
setup=${2:?usage: run-silent.sh install|damaged|upgrade <MLinewardenSetup.exe>}
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../../scripts/wine-run.sh"
export WINEPREFIX="${WINEPREFIX:-$here/../../../build/wineprefix}"
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
bash "$wine_run" --prepare
fail() { echo "FAIL: $*"; wineserver -k 2>/dev/null; exit 1; }

folder_win='C:\lw-setup\Zażółć gęślą jaźń'
folder_unix="$WINEPREFIX/drive_c/lw-setup/Zażółć gęślą jaźń"
rm -rf "$WINEPREFIX/drive_c/lw-setup"
cp "$setup" "$WINEPREFIX/drive_c/MLinewardenSetup.exe"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\MLinewarden'
if [ "$case_name" = upgrade ]; then
    timeout -k 5 120 bash "$wine_run" 'C:\MLinewardenSetup.exe' /S "/D=$folder_win"
    rc=$?
    [ "$rc" = 0 ] || fail "exit code $rc of the first installation"
    # The guard that setup started is nobody's child here; one started by this script instead
    # gives its exit code. taskkill reaches only this prefix's processes.
    bash "$wine_run" taskkill /F /IM MLinewarden.exe >/dev/null 2>&1
    sleep 2
    timeout -k 5 150 bash "$wine_run" "$folder_win\\MLinewarden.exe" &
    guard_pid=$!
    sleep 5
    kill -0 "$guard_pid" 2>/dev/null || fail "the guard did not stay running"
    timeout -k 5 120 bash "$wine_run" 'C:\MLinewardenSetup.exe' /S "/D=$folder_win"
    rc=$?
    [ "$rc" = 0 ] || fail "exit code $rc of the upgrade"
    wait "$guard_pid"
    guard_rc=$?
    [ "$guard_rc" = 0 ] || fail "the old guard's exit code is $guard_rc"
    # A guard of this prefix: other runs on the machine may have guards of their own.
    guard_of_prefix() {
        local pid
        for pid in $(pgrep -f 'MLinewarden.exe'); do
            tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
                return 0
        done
        return 1
    }
    for _ in $(seq 1 40); do
        guard_of_prefix && break
        sleep 0.5
    done
    guard_of_prefix || fail "no new guard runs"
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX/drive_c/lw-setup" "$WINEPREFIX/drive_c/MLinewardenSetup.exe"
    echo PASS
    exit 0
fi
if [ "$case_name" = damaged ]; then
    # A byte well inside the payload, which lies at the end of the file.
    size=$(stat -c %s "$setup")
    offset=$((size - 100000))
    byte=$(od -An -tu1 -j "$offset" -N1 "$setup" | tr -d ' ')
    printf "$(printf '\\%03o' $(((byte + 1) % 256)))" |
        dd of="$WINEPREFIX/drive_c/MLinewardenSetup.exe" bs=1 seek="$offset" conv=notrunc 2>/dev/null
    find "$WINEPREFIX/drive_c/users" -name MLinewardenSetup.log -delete 2>/dev/null
    timeout -k 5 120 bash "$wine_run" 'C:\MLinewardenSetup.exe' /S "/D=$folder_win"
    rc=$?
    [ "$rc" = 2 ] || fail "exit code $rc for a damaged setup"
    [ ! -e "$folder_unix" ] || fail "a damaged setup installed something"
    log=$(find "$WINEPREFIX/drive_c/users" -name MLinewardenSetup.log | head -n 1)
    [ -n "$log" ] || fail "no log of the failure"
    grep -q . "$log" || fail "the log gives no reason"
    cat "$log"
    wineserver -k 2>/dev/null || true
    rm -f "$WINEPREFIX/drive_c/MLinewardenSetup.exe"
    echo PASS
    exit 0
fi
timeout -k 5 120 bash "$wine_run" 'C:\MLinewardenSetup.exe' /S "/D=$folder_win"
rc=$?
[ "$rc" = 0 ] || fail "exit code $rc"
for f in MLinewarden.exe MLinewarden.chm uninstall.exe MLinewarden.cfg; do
    [ -f "$folder_unix/$f" ] || fail "$f not installed"
done
grep -aq 'MIP1END' "$folder_unix/uninstall.exe" || fail "the uninstaller carries no package"
grep -aq '<appname>Morvane Linewarden</appname>' "$folder_unix/uninstall.exe" ||
    fail "the package names no application"
find "$WINEPREFIX/drive_c/users" -name 'Morvane Linewarden.lnk' | grep -q . || fail "no shortcut"
values=$(bash "$wine_run" reg query "$key" 2>/dev/null | tr -d '\r')
for v in DisplayName DisplayVersion Publisher DisplayIcon UninstallString InstallLocation \
    InstallDate EstimatedSize URLInfoAbout NoModify NoRepair; do
    grep -q "^ *$v " <<<"$values" || fail "no $v in the Programs-and-Features key"
done
grep -q 'AutoStart=1' "$folder_unix/MLinewarden.cfg" || fail "the AutoStart option is not set"
# The guard was started when the setup ended.
for _ in $(seq 1 40); do
    pgrep -f 'MLinewarden.exe' >/dev/null && break
    sleep 0.5
done
pgrep -f 'MLinewarden.exe' >/dev/null || fail "the guard is not running"
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX/drive_c/lw-setup" "$WINEPREFIX/drive_c/MLinewardenSetup.exe"
echo PASS
