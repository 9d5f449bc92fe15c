#!/usr/bin/env bash
# One end-to-end case of the shipped uninstall.exe under Wine:
#   run-e2e.sh no|yes|bad-action|no-package <uninstall.exe> <lw-e2e-installer.exe> <lw-e2e-click.exe>
#   no          the confirmation answered No: nothing removed, exit code 0
#   yes         answered Yes: everything logged removed, foreign entries kept, exit code 0, and
#               the removal batch then takes the uninstaller's file, its folder and itself
#   bad-action  a log item with an unknown action: error box, exit code 1, nothing removed
#   no-package  the bare program file: no box at all, exit code 0
#   guard-running  Yes while the guard runs from a logged file: it ends by itself with exit
#               code 0 and the installation is undone
#   stays       Yes while a program of ours runs from a logged file and has no window to ask:
#               after the wait a Retry/Cancel box names it, and Cancel removes nothing
# Each case works in C:\lw-e2e\<case> of the Wine prefix (WINEPREFIX, as scripts/wine-run.sh
# picks it). Without a DISPLAY the case runs in an X server of its own, since the uninstaller
# and the helper that answers its boxes must share one desktop.
set -u
case_name=${1:?usage: run-e2e.sh <case> <uninstall.exe> <installer.exe> <click.exe>}
uninstaller=$2 installer=$3 clicker=$4 guard=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../../scripts/wine-run.sh"
export WINEPREFIX="${WINEPREFIX:-$here/../../../build/wineprefix}"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
bash "$wine_run" --prepare

fail() { echo "FAIL ($case_name): $*"; exit 1; }
win() { bash "$wine_run" "$@"; }

# The made-up application as the installer stand-in lays it out (names in FakeInstaller.cpp).
app_name='Zażółć & Spółka'
app_folder='Zażółć Spółka 100%'
root_win="C:\\lw-e2e\\$case_name"
root_unix="$WINEPREFIX/drive_c/lw-e2e/$case_name"
program_win="$root_win\\$app_folder\\uninstall.exe"
confirm_caption="$app_name - Deinstalacja"
confirm_text="Czy napewno chcesz odinstalować $app_name oraz wszystkie jego składniki?"

rm -rf "$root_unix"
mkdir -p "$root_unix"
cp "$uninstaller" "$root_unix/bare.exe"

install() {
    win "$installer" install "$root_win" "$root_win\\bare.exe" "$@" || fail "installation not made"
    win "$installer" check "$root_win" installed || fail "installation incomplete"
}

# Runs the uninstaller while the clicker answers its boxes; sets uninstall_rc and click_output.
# The time limits end an uninstaller whose box nobody answered.
run_uninstaller() {
    local program=$1
    shift
    timeout -k 5 40 bash "$wine_run" "$program" &
    local pid=$!
    click_output=$(win "$clicker" 20000 "$@")
    local click_rc=$?
    wait "$pid"
    uninstall_rc=$?
    echo "$click_output"
    [ "$click_rc" = 0 ] || fail "boxes not answered as expected (uninstaller's exit code $uninstall_rc)"
}

case "$case_name" in
no)
    install
    run_uninstaller "$program_win" "$confirm_caption" no
    # No (7) is the default button.
    [ "$click_output" = "$confirm_caption|$confirm_text|7" ] || fail "confirmation reads otherwise"
    [ "$uninstall_rc" = 0 ] || fail "exit code $uninstall_rc after No"
    win "$installer" check "$root_win" installed || fail "something was removed after No"
    ;;
yes)
    install
    run_uninstaller "$program_win" "$confirm_caption" yes
    [ "$uninstall_rc" = 0 ] || fail "exit code $uninstall_rc after Yes"
    win "$installer" check "$root_win" removed || fail "the installation was not undone"
    # The batch waits for the ended process, then takes the program file and its folder.
    for _ in $(seq 1 60); do
        [ -e "$root_unix/$app_folder" ] || break
        sleep 0.5
    done
    [ ! -e "$root_unix/$app_folder/uninstall.exe" ] || fail "the removal batch left uninstall.exe"
    [ ! -e "$root_unix/$app_folder" ] || fail "the removal batch left the application's folder"
    # Its last line erases the batch itself from the temporary folder.
    for _ in $(seq 1 20); do
        [ -n "$(find "$WINEPREFIX/drive_c/users" -name uninstall.bat 2>/dev/null)" ] || break
        sleep 0.5
    done
    [ -z "$(find "$WINEPREFIX/drive_c/users" -name uninstall.bat 2>/dev/null)" ] ||
        fail "the removal batch did not erase itself"
    ;;
bad-action)
    install bad-action
    run_uninstaller "$program_win" "$confirm_caption" yes "Deinstalacja" ok
    grep -qx "Deinstalacja|Action keep not available!|1" <<<"$click_output" ||
        fail "no error box naming the unknown action"
    [ "$uninstall_rc" = 1 ] || fail "exit code $uninstall_rc after an unreadable log"
    win "$installer" check "$root_win" installed || fail "something was removed despite the bad log"
    ;;
guard-running)
    install
    running_unix="$root_unix/$app_folder/Program Główny.exe"
    cp "$guard" "$running_unix"
    timeout -k 5 60 bash "$wine_run" "$root_win\\$app_folder\\Program Główny.exe" &
    guard_pid=$!
    sleep 5
    kill -0 "$guard_pid" 2>/dev/null || fail "the guard did not stay running"
    run_uninstaller "$program_win" "$confirm_caption" yes
    wait "$guard_pid"
    guard_rc=$?
    [ "$guard_rc" = 0 ] || fail "the guard ended with $guard_rc (124: it did not end)"
    [ "$uninstall_rc" = 0 ] || fail "exit code $uninstall_rc after Yes"
    win "$installer" check "$root_win" removed || fail "the installation was not undone"
    [ ! -e "$running_unix" ] || fail "the guard's program file is left"
    ;;
stays)
    install
    # The helper, waiting for a box that never comes, runs from a logged file without a window.
    cp "$clicker" "$root_unix/$app_folder/Program Główny.exe"
    bash "$wine_run" "$root_win\\$app_folder\\Program Główny.exe" 30000 "never shown" ok \
        >/dev/null &
    stayer_pid=$!
    sleep 3
    run_uninstaller "$program_win" "$confirm_caption" yes "$confirm_caption" cancel
    grep -q "Program .*Program Główny.exe nadal działa i nie dał się zamknąć" <<<"$click_output" ||
        fail "no Retry/Cancel box naming the running program"
    [ "$uninstall_rc" = 0 ] || fail "exit code $uninstall_rc after Cancel"
    win "$installer" check "$root_win" installed || fail "something was removed after Cancel"
    wait "$stayer_pid"
    ;;
no-package)
    mkdir -p "$root_unix/bare"
    cp "$uninstaller" "$root_unix/bare/uninstall.exe"
    # A box would keep the process waiting until the time limit.
    timeout -k 5 30 bash "$wine_run" "$root_win\\bare\\uninstall.exe"
    rc=$?
    [ "$rc" != 124 ] || fail "the program without a package did not end by itself"
    [ "$rc" = 0 ] || fail "exit code $rc without a package"
    [ -e "$root_unix/bare/uninstall.exe" ] || fail "the program without a package removed itself"
    ;;
*)
    fail "unknown case"
    ;;
esac
rm -rf "$root_unix"
echo "PASS ($case_name)"
