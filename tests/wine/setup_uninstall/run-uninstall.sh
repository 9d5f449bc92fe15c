#!/usr/bin/env bash
# A silent install under Wine, its guard running, then the UninstallString of its
# Programs-and-Features key run and its confirmation answered Yes; the guard closes:
#   run-uninstall.sh whole|quarantine|alias <MLinewardenSetup.exe> <lw-e2e-click.exe>
#   whole       every installed file, the key, the shortcut and the Run values are gone, and
#               so is the program folder
#   quarantine  a dialer's quarantine copy lies in the folder's "dialers": that folder and the
#               program folder stay with the copy, and nothing else of the installation does
#   alias       as whole, on a Western European Windows (code pages 1252 and 437, without "ł")
#               into a folder below one named with "ł", as a user's profile folder may be: the
#               log names that folder by its 8.3 alias, and the folder with "ł" stays
# Each case has a Wine prefix of its own, made afresh, so that no earlier run's key or Run
# value can make it pass. Without a DISPLAY the run gets an X server of its own.
set -u
usage="usage: run-uninstall.sh whole|quarantine|alias <MLinewardenSetup.exe> <lw-e2e-click.exe>"
case_name=${1:?$usage}
setup=${2:?$usage}
clicker=${3:?$usage}
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../../scripts/wine-run.sh"
base="${WINEPREFIX:-$here/../../../build/wineprefix}"
export WINEPREFIX="$base-setup-uninstall-$case_name"
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
folder_win='C:\lw-setup\Zażółć gęślą jaźń'
caption='Morvane Linewarden - Deinstalacja'
if [ "$case_name" = alias ]; then
    export LW_WINE_LANG=en_US.UTF-8
    folder_win='C:\lw-setup\Michał\Morvane Linewarden'
    caption='Morvane Linewarden - Uninstall'
fi
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
bash "$wine_run" --prepare || { echo "FAIL: no Wine prefix"; exit 1; }
fail() { echo "FAIL ($case_name): $*"; wineserver -k 2>/dev/null; exit 1; }
win() { bash "$wine_run" "$@"; }

folder_unix="$WINEPREFIX/drive_c/$(printf '%s' "${folder_win#C:\\}" | tr '\\' /)"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\MLinewarden'
run_key='Software\Microsoft\Windows\CurrentVersion\Run'
# A guard of this prefix: other runs on the machine may have guards of their own.
guard_runs() {
    local pid
    for pid in $(pgrep -f 'MLinewarden.exe'); do
        tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            return 0
    done
    return 1
}
# A string value as the registry holds it: "reg query" prints in the console's code page,
# which need not hold every letter, while an exported key is UTF-16, its "\" and quotes escaped.
reg_string() {
    win reg export "$1" 'C:\lw-value.reg' /y >/dev/null 2>&1 || return 1
    iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/lw-value.reg" | tr -d '\r' |
        sed -n "s/^\"$2\"=\"\(.*\)\"\$/\1/p" | perl -pe 's/\\(.)/$1/g'
}
# The folder above the program folder is there before, as a user's profile folder is.
mkdir -p "$(dirname "$folder_unix")"
cp "$setup" "$WINEPREFIX/drive_c/MLinewardenSetup.exe"
cp "$clicker" "$WINEPREFIX/drive_c/lw-e2e-click.exe"

timeout -k 5 120 bash "$wine_run" 'C:\MLinewardenSetup.exe' /S "/D=$folder_win"
rc=$?
[ "$rc" = 0 ] || fail "setup's exit code $rc"
[ -f "$folder_unix/MLinewarden.exe" ] || fail "nothing installed"
if [ "$case_name" = alias ]; then
    grep -aqF 'C:\lw-setup\MICH~' "$folder_unix/uninstall.exe" ||
        fail "the log does not name the folder by its alias"
fi
find "$WINEPREFIX/drive_c/users" -name 'Morvane Linewarden.lnk' | grep -q . || fail "no shortcut"
win reg query "HKLM\\$run_key" /v MLinewarden >/dev/null 2>&1 ||
    win reg query "HKCU\\$run_key" /v MLinewarden >/dev/null 2>&1 || fail "no Run value"
if [ "$case_name" = quarantine ]; then
    mkdir -p "$folder_unix/dialers"
    printf 'MZ-dialer' >"$folder_unix/dialers/dialer.exe.001"
fi

for _ in $(seq 1 40); do guard_runs && break; sleep 0.5; done
guard_runs || fail "the setup did not start the guard"

# The command line exactly as Programs and Features would run it, quotes and all.
uninstall=$(reg_string "$key" UninstallString)
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
    if [ "$case_name" != quarantine ]; then [ -e "$folder_unix" ] || break
    else [ -e "$folder_unix/uninstall.exe" ] || break; fi
    sleep 0.5
done
if [ "$case_name" != quarantine ]; then
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
# Asked to close, never ended by force: a guard that still ran would write its Run value again.
for _ in $(seq 1 20); do guard_runs || break; sleep 0.5; done
! guard_runs || fail "the guard still runs"
[ -d "$(dirname "$folder_unix")" ] || fail "the folder above the program folder was removed"
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
echo PASS
