#!/usr/bin/env bash
# One end-to-end case of the shipped uninstall.exe under Wine:
#   run-e2e.sh no|yes|bad-action|no-package|guard-running|stays WINDOWS-BUILD-FOLDER
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
set -euo pipefail
usage="usage: run-e2e.sh no|yes|bad-action|no-package|guard-running|stays WINDOWS-BUILD-FOLDER"
. "$(dirname "$0")/../lib.sh"
lib_args "$@"
lib_display "$@"
lib_world "${WINEPREFIX:-$lib_scripts/../build/wineprefix}"
world_wine --prepare
uninstaller="$LW_BUILD/uninstall/uninstall.exe"
installer="$LW_BUILD/tests/wine/uninstall_e2e/lw-e2e-installer.exe"

# The made-up application as the installer stand-in lays it out (names in FakeInstaller.cpp).
app_name='Zażółć & Spółka'
app_folder='Zażółć Spółka 100%'
root_win="C:\\lw-e2e\\$world_case"
root_unix="$WINEPREFIX/drive_c/lw-e2e/$world_case"
program_win="$root_win\\$app_folder\\uninstall.exe"
confirm_caption="$app_name - Deinstalacja"
confirm_text="Czy napewno chcesz odinstalować $app_name oraz wszystkie jego składniki?"

rm -rf "$root_unix"
mkdir -p "$root_unix"
cp "$uninstaller" "$root_unix/bare.exe"

# Whether the installation is as the installer stand-in checks it: installed or removed.
check() { world_wine "$installer" check "$root_win" "$1"; }
install() {
    world_wine "$installer" install "$root_win" "$root_win\\bare.exe" "$@" ||
        world_fail "installation not made"
    check installed || world_fail "installation incomplete"
}
# Runs the program (Windows path) while the box clicker answers its boxes as the arguments say.
run_uninstaller() { run_answered 40 20000 "$@"; }

case_no() {
    install
    run_uninstaller "$program_win" "$confirm_caption" no
    # No (7) is the default button.
    [ "$click_output" = "$confirm_caption|$confirm_text|7" ] ||
        world_fail "confirmation reads otherwise"
    [ "$uninstall_rc" = 0 ] || world_fail "exit code $uninstall_rc after No"
    check installed || world_fail "something was removed after No"
}
case_yes() {
    install
    run_uninstaller "$program_win" "$confirm_caption" yes
    [ "$uninstall_rc" = 0 ] || world_fail "exit code $uninstall_rc after Yes"
    check removed || world_fail "the installation was not undone"
    # The batch waits for the ended process, then takes the program file and its folder.
    world_until 30 eval '[ ! -e "$root_unix/$app_folder" ]' || true
    [ ! -e "$root_unix/$app_folder/uninstall.exe" ] ||
        world_fail "the removal batch left uninstall.exe"
    [ ! -e "$root_unix/$app_folder" ] || world_fail "the removal batch left the application's folder"
    # Its last line erases the batch itself from the temporary folder.
    world_until 10 batch_gone || world_fail "the removal batch did not erase itself"
}
batch_gone() { [ -z "$(find "$WINEPREFIX/drive_c/users" -name uninstall.bat 2>/dev/null)" ]; }
case_bad_action() {
    install bad-action
    run_uninstaller "$program_win" "$confirm_caption" yes "Deinstalacja" ok
    grep -qx "Deinstalacja|Action keep not available!|1" <<<"$click_output" ||
        world_fail "no error box naming the unknown action"
    [ "$uninstall_rc" = 1 ] || world_fail "exit code $uninstall_rc after an unreadable log"
    check installed || world_fail "something was removed despite the bad log"
}
case_guard_running() {
    install
    running_unix="$root_unix/$app_folder/Program Główny.exe"
    cp "$world_guard_exe" "$running_unix"
    lib_within 60 "$root_win\\$app_folder\\Program Główny.exe" &
    guard_pid=$!
    sleep 5
    kill -0 "$guard_pid" 2>/dev/null || world_fail "the guard did not stay running"
    run_uninstaller "$program_win" "$confirm_caption" yes
    guard_rc=0
    wait "$guard_pid" || guard_rc=$?
    [ "$guard_rc" = 0 ] || world_fail "the guard ended with $guard_rc (124: it did not end)"
    [ "$uninstall_rc" = 0 ] || world_fail "exit code $uninstall_rc after Yes"
    check removed || world_fail "the installation was not undone"
    [ ! -e "$running_unix" ] || world_fail "the guard's program file is left"
}
case_stays() {
    install
    # The helper, waiting for a box that never comes, runs from a logged file without a window.
    cp "$lib_click_exe" "$root_unix/$app_folder/Program Główny.exe"
    world_wine "$root_win\\$app_folder\\Program Główny.exe" 30000 "never shown" ok >/dev/null &
    stayer_pid=$!
    sleep 3
    run_uninstaller "$program_win" "$confirm_caption" yes "$confirm_caption" cancel
    grep -q "Program .*Program Główny.exe nadal działa i nie dał się zamknąć" <<<"$click_output" ||
        world_fail "no Retry/Cancel box naming the running program"
    [ "$uninstall_rc" = 0 ] || world_fail "exit code $uninstall_rc after Cancel"
    check installed || world_fail "something was removed after Cancel"
    wait "$stayer_pid" || true
}
case_no_package() {
    mkdir -p "$root_unix/bare"
    cp "$uninstaller" "$root_unix/bare/uninstall.exe"
    # A box would keep the process waiting until the time limit.
    rc=0
    lib_within 30 "$root_win\\bare\\uninstall.exe" || rc=$?
    [ "$rc" != 124 ] || world_fail "the program without a package did not end by itself"
    [ "$rc" = 0 ] || world_fail "exit code $rc without a package"
    [ -e "$root_unix/bare/uninstall.exe" ] ||
        world_fail "the program without a package removed itself"
}
lib_run_case rm -rf "$root_unix"
