#!/usr/bin/env bash
# The shipped setup run silently under Wine into a folder with blanks and Polish letters:
#   run-silent.sh <MLinewardenSetup.exe>
# Checks the files, the shortcut, the Programs-and-Features values, the uninstaller's package
# and the exit code. Without a DISPLAY the run gets an X server of its own.
set -u
setup=${1:?usage: run-silent.sh <MLinewardenSetup.exe>}
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
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\MLinewarden'
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
