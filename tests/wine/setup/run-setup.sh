#!/usr/bin/env bash
# The shipped setup under Wine, each case in a fresh prefix of its own:
#   run-setup.sh CASE WINDOWS-BUILD-FOLDER
#   install        /S into a folder with blanks and Polish letters: the files, the shortcut, the
#                  Programs-and-Features values, the uninstaller's package, the exit code, and
#                  the guard of this prefix running afterwards
#   interactive    the window, driven by real mouse clicks (Install, then Close) into the
#                  default per-user folder; a picture of the window when done
#   over           /S again over an installation whose user changed the settings and has a
#                  quarantine copy: into the installation's own folder, the programs replaced,
#                  the settings (the start-with-Windows option off included) and the copy kept
#   damaged        one byte of the payload changed: exit code 2, the reason in the log, nothing
#                  installed
#   upgrade        /S over the installation while its guard runs with changed settings and an
#                  allowed number: the old guard ends by itself with exit code 0, its settings
#                  are on disk, and the new guard runs with them and hangs up a forbidden dial
#                  over the stand-in dial-up
#   failed-upgrade /S over the installation while its guard runs, the shortcut's name taken by a
#                  folder so that the upgrade fails after the programs were replaced: exit code
#                  2, the reason in the log, the old guard ended by itself and running again
#                  from its own files, which are as they were
#   one-at-a-time  /S while the window of another setup is open: exit code 2, the reason in the
#                  log, nothing installed; the first one is then cancelled
#   elsewhere      /S into a second folder while the first installation's guard runs: exit code
#                  2, the reason naming the first folder in the log, nothing made and the guard
#                  left running; once the first folder has gone, the second one is installed
#   foreign        /S into a folder that holds another program's uninstall.exe: exit code 2, the
#                  reason in the log, that file untouched and nothing installed beside it
#   unloggable     /S on a Western European Windows (code page 1252, without "ł") into a folder
#                  still to be made whose name has "ł": the uninstall log could not name it, so
#                  exit code 2, the reason in the log, and nothing made
#   standard-user  run by an ordinary Linux user into a folder that user cannot write: exit code
#                  2, the reason in the log, nothing left behind (needs root: 77 otherwise)
# Without a DISPLAY the run gets an X server of its own.
set -euo pipefail
usage="usage: run-setup.sh install|interactive|over|damaged|upgrade|failed-upgrade|one-at-a-time|elsewhere|foreign|unloggable|standard-user WINDOWS-BUILD-FOLDER"
. "$(dirname "$0")/../lib.sh"
lib_args "$@"
place_exe="$LW_BUILD/tests/wine/setup/lw-control-place.exe"
if [ "$world_case" = standard-user ]; then
    lib_need_root "this case runs the setup as"
    lib_standard_user_world lwstandard lib_setup_exe
else
    lib_display "$@"
    [ "$world_case" != unloggable ] || export LW_WINE_LANG=en_US.UTF-8
    lib_fresh_world "${WINEPREFIX:-$LW_BUILD/wineprefix}-setup-$world_case"
fi

folder_win='C:\lw-setup\Zażółć gęślą jaźń'
folder_unix=$(world_unix "$folder_win")
user=$(ls "$WINEPREFIX/drive_c/users" | grep -vx Public | head -n 1)
users_unix="$WINEPREFIX/drive_c/users/$user"
# The log lies in the user's temporary folder, wherever this Wine puts it.
setup_log() { cat "$(find "$users_unix" -name MLinewardenSetup.log | head -n 1)" 2>/dev/null; }
lib_place_setup

shortcut_made() { shortcut_in "$users_unix"; }
# The option as the guard's settings file holds it.
option() { tr -d '\r' <"$1/MLinewarden.cfg" | sed -n "s/^$2=//p"; }
# Nothing of an installation into the folder: no file in it, no key, shortcut or Run value.
nothing_installed() {
    [ -z "$(find "$1" -mindepth 1 2>/dev/null)" ] ||
        world_fail "files were left: $(cd "$1" && find . -mindepth 1)"
    ! registered || world_fail "the Programs-and-Features key was left"
    ! shortcut_made || world_fail "the shortcut was left"
    ! run_value HKCU && ! run_value HKLM || world_fail "a Run value was left"
}

caption="Instalacja programu Morvane Linewarden"
# Real clicks: the pointer moves onto the button and presses it, as a user's hand would.
click() {
    local place
    place=$(world_wine "$place_exe" 60000 "$caption" "$1" | tr -d '\r') ||
        world_fail "no button \"$1\" to click: $(world_wine "$place_exe" 0 "$caption" --texts)"
    xdotool mousemove $place sleep 0.3 click 1
}

case_install() {
    setup /S "/D=$folder_win" || world_fail "exit code $?"
    for f in MLinewarden.exe MLinewarden.chm uninstall.exe MLinewarden.cfg; do
        [ -f "$folder_unix/$f" ] || world_fail "$f not installed"
    done
    grep -aq 'MIP1END' "$folder_unix/uninstall.exe" || world_fail "the uninstaller carries no package"
    grep -aq '<appname>Morvane Linewarden</appname>' "$folder_unix/uninstall.exe" ||
        world_fail "the package names no application"
    shortcut_made || world_fail "no shortcut"
    values=$(world_wine reg query "HKCU\\$lib_uninstall_key" 2>/dev/null | tr -d '\r')
    for v in DisplayName DisplayVersion Publisher DisplayIcon UninstallString InstallLocation \
        InstallDate EstimatedSize URLInfoAbout NoModify NoRepair; do
        grep -q "^ *$v " <<<"$values" || world_fail "no $v in the Programs-and-Features key"
    done
    [ "$(option "$folder_unix" AutoStart)" = 1 ] || world_fail "the AutoStart option is not set"
    run_value HKLM || run_value HKCU || world_fail "no Run value"
    world_until 20 guard_runs || world_fail "the guard is not running"
}
case_interactive() {
    default_unix="$users_unix/AppData/Local/Programs/Morvane Linewarden"
    setup &
    setup_pid=$!
    texts=$(world_wine "$place_exe" 60000 "$caption" --texts | tr -d '\r') ||
        world_fail "the setup's window did not come"
    grep -qxF 'Edit|C:\users\'"$user"'\AppData\Local\Programs\Morvane Linewarden' <<<"$texts" ||
        world_fail "the window does not propose the per-user folder: $texts"
    click Instaluj
    # Cancel becomes Close once the work is done.
    world_wine "$place_exe" 120000 "$caption" Zamknij >/dev/null || world_fail "the setup did not end its work"
    world_wine "$place_exe" 1000 "$caption" --texts | tr -d '\r' |
        grep -qxF 'Static|Instalacja zakończona.' || world_fail "no line saying it is done"
    geometry=$(world_wine "$place_exe" 1000 "$caption" | tr -d '\r') || true
    xdotool mousemove 1000 10
    [ -z "$geometry" ] || import -window root -crop "$geometry" +repage "$LW_BUILD/MLinewardenSetup-test.png"
    click Zamknij
    wait "$setup_pid" || world_fail "exit code $?"
    for f in MLinewarden.exe MLinewarden.chm uninstall.exe MLinewarden.cfg; do
        [ -f "$default_unix/$f" ] || world_fail "$f not installed into the per-user folder"
    done
    registered || world_fail "no Programs-and-Features key"
    shortcut_made || world_fail "no shortcut"
    world_until 20 guard_runs || world_fail "the guard was not started"
}
case_over() {
    setup /S "/D=$folder_win" || world_fail "exit code $? of the first installation"
    end_started_guard
    # The user's own choices since: the option off, a number allowed, a dialer in quarantine.
    printf '[Main]\r\nFirstRun=0\r\nAutoStart=0\r\nIdentNumberCount=1\r\nIdentNumberFmt_0=%s\r\n' \
        "$world_isp_number" >"$folder_unix/MLinewarden.cfg"
    world_wine reg delete "HKCU\\$lib_run_key" /v MLinewarden /f >/dev/null 2>&1 || true
    world_wine reg delete "HKLM\\$lib_run_key" /v MLinewarden /f >/dev/null 2>&1 || true
    mkdir -p "$folder_unix/dialers"
    printf 'MZ-dialer' >"$folder_unix/dialers/FreeDialer.exe.000"
    printf 'an older guard' >"$folder_unix/MLinewarden.exe"
    printf 'an older uninstaller' >"$folder_unix/uninstall.exe"
    # No /D: the installation's own folder.
    setup /S || world_fail "exit code $? over the installation"
    end_started_guard
    cmp -s "$world_guard_exe" "$folder_unix/MLinewarden.exe" || world_fail "the guard was not replaced"
    grep -aq 'MIP1END' "$folder_unix/uninstall.exe" || world_fail "the uninstaller was not replaced"
    [ "$(option "$folder_unix" IdentNumberFmt_0)" = "$world_isp_number" ] ||
        world_fail "the allowed number was lost"
    [ "$(option "$folder_unix" AutoStart)" = 0 ] || world_fail "the AutoStart option was turned on"
    ! run_value HKLM && ! run_value HKCU || world_fail "a Run value was written though the option is off"
    [ "$(cat "$folder_unix/dialers/FreeDialer.exe.000")" = MZ-dialer ] ||
        world_fail "the quarantine copy was lost"
    [ ! -e "$users_unix/AppData/Local/Programs/Morvane Linewarden" ] ||
        world_fail "the setup installed into the default folder too"
}
case_damaged() {
    # A byte well inside the payload, which lies at the end of the file.
    damaged="$WINEPREFIX/drive_c/MLinewardenSetup.exe"
    offset=$(($(stat -c %s "$damaged") - 100000))
    byte=$(od -An -tu1 -j "$offset" -N1 "$damaged" | tr -d ' ')
    printf "$(printf '\\%03o' $(((byte + 1) % 256)))" |
        dd of="$damaged" bs=1 seek="$offset" conv=notrunc 2>/dev/null
    rc=0
    setup /S "/D=$folder_win" || rc=$?
    [ "$rc" = 2 ] || world_fail "exit code $rc for a damaged setup"
    [ ! -e "$folder_unix" ] || world_fail "a damaged setup made its folder"
    nothing_installed "$folder_unix"
    setup_log | grep -q 'uszkodzony' || world_fail "the log gives no reason"
}
case_upgrade() {
    setup /S "/D=$world_guard_win" || world_fail "exit code $? of the first installation"
    end_started_guard
    # Hang-ups without questions, with the ISP's number allowed and connected.
    world_install_guard "${world_hangs_up_at_once[@]}"
    world_connect_isp
    world_start_guard
    setup /S "/D=$world_guard_win" || world_fail "exit code $? of the upgrade"
    guard_rc=0
    wait "$world_guard_pid" || guard_rc=$?
    [ "$guard_rc" = 0 ] || world_fail "the old guard's exit code is $guard_rc"
    [ "$(option "$world_guard_dir" IdentNumberFmt_0)" = "$world_isp_number" ] &&
        [ "$(option "$world_guard_dir" IdentAskBeforeDeleteDialUp)" = 0 ] ||
        world_fail "the old guard's settings are not on disk"
    world_until 20 guard_runs || world_fail "no new guard runs"
    probe wait-hidden 60000 >/dev/null || world_fail "the new guard did not go into the tray"
    rasctl add Obcy 0700999999 >/dev/null
    rasctl dial Obcy >/dev/null
    probe wait-report 30000 "numerem \"0700999999\" zostało pomyślnie rozłączone." >/dev/null ||
        world_fail "the new guard did not hang up the forbidden dial"
    world_connected Dostawca || world_fail "the new guard cut the allowed connection"
}
case_failed_upgrade() {
    setup /S "/D=$world_guard_win" || world_fail "exit code $? of the first installation"
    end_started_guard
    # The old installation's files differ from the new one's, so that they can be told apart.
    printf 'old installation' >>"$world_guard_dir/MLinewarden.exe"
    printf 'old installation' >>"$world_guard_dir/MLinewarden.chm"
    saved=$(mktemp -d /tmp/lw-setup-saved.XXXXXX)
    cp "$world_guard_dir"/{MLinewarden.exe,MLinewarden.chm,uninstall.exe} "$saved/"
    world_start_guard
    # A folder where the shortcut goes: the upgrade closes the guard, replaces the programs and
    # then cannot write the shortcut, whoever runs it.
    shortcut=$(find "$users_unix" -name 'Morvane Linewarden.lnk' | head -n 1)
    [ -n "$shortcut" ] || world_fail "the first installation made no shortcut"
    rm "$shortcut" && mkdir "$shortcut"
    rc=0
    setup /S || rc=$?
    [ "$rc" = 2 ] || world_fail "exit code $rc for an upgrade that failed"
    setup_log | grep -q 'skrótu' || world_fail "the log gives no reason: $(setup_log)"
    guard_rc=0
    wait "$world_guard_pid" || guard_rc=$?
    [ "$guard_rc" = 0 ] || world_fail "the old guard's exit code is $guard_rc"
    for f in MLinewarden.exe MLinewarden.chm uninstall.exe; do
        cmp -s "$saved/$f" "$world_guard_dir/$f" || world_fail "$f is not the old installation's"
    done
    rm -rf "$saved"
    left=$(find "$world_guard_dir" -name '*.setup-old*')
    [ -z "$left" ] || world_fail "copies were left: $left"
    registered || world_fail "the Programs-and-Features key was lost"
    end_started_guard
}
case_one_at_a_time() {
    setup &
    setup_pid=$!
    world_wine "$place_exe" 60000 "$caption" --texts >/dev/null ||
        world_fail "the setup's window did not come"
    rc=0
    setup /S "/D=$folder_win" || rc=$?
    [ "$rc" = 2 ] || world_fail "exit code $rc for a second setup at the same time"
    [ ! -e "$folder_unix" ] || world_fail "the second setup made its folder"
    setup_log | grep -q 'już trwa' || world_fail "the log gives no reason"
    click Anuluj
    rc=0
    wait "$setup_pid" || rc=$?
    [ "$rc" = 1 ] || world_fail "exit code $rc of the cancelled first setup"
}
case_elsewhere() {
    setup /S "/D=$folder_win" || world_fail "exit code $? of the first installation"
    world_until 20 guard_runs || world_fail "the setup did not start the guard"
    LW_DESKTOP= probe wait-hidden 60000 >/dev/null || world_fail "the guard did not go into the tray"
    running=$(guard_pids)
    second_win='C:\lw-setup\Drugi folder'
    second_unix=$(world_unix "$second_win")
    rc=0
    setup /S "/D=$second_win" || rc=$?
    [ "$rc" = 2 ] || world_fail "exit code $rc for a second folder"
    setup_log | grep -qF "już zainstalowany w folderze \"$folder_win\"" ||
        world_fail "the log does not name the first folder: $(setup_log)"
    [ ! -e "$second_unix" ] || world_fail "the second folder was made"
    [ "$(guard_pids)" = "$running" ] || world_fail "the guard was closed or another one started"
    end_started_guard
    # A key whose folder has gone stands in nobody's way.
    rm -rf "$folder_unix"
    setup /S "/D=$second_win" || world_fail "exit code $? after the first folder had gone"
    [ -f "$second_unix/MLinewarden.exe" ] || world_fail "the second folder was not installed"
    end_started_guard
}
case_foreign() {
    mkdir -p "$folder_unix"
    printf 'MZ-another-program' >"$folder_unix/uninstall.exe"
    rc=0
    setup /S "/D=$folder_win" || rc=$?
    [ "$rc" = 2 ] || world_fail "exit code $rc for a folder of another program"
    [ "$(cat "$folder_unix/uninstall.exe")" = MZ-another-program ] ||
        world_fail "the other program's uninstaller was changed"
    [ "$(ls -A "$folder_unix")" = uninstall.exe ] ||
        world_fail "files were added: $(ls -A "$folder_unix")"
    ! registered || world_fail "the Programs-and-Features key was written"
    setup_log | grep -q 'innego programu' || world_fail "the log gives no reason"
}
case_unloggable() {
    refused_win='C:\lw-setup\Michał\Morvane Linewarden'
    refused_unix=$(world_unix "$refused_win")
    rc=0
    setup /S "/D=$refused_win" || rc=$?
    [ "$rc" = 2 ] || world_fail "exit code $rc for a folder the log cannot name"
    [ ! -e "$(dirname "$refused_unix")" ] || world_fail "the setup made the folder"
    nothing_installed "$refused_unix"
    reason=$(setup_log) || world_fail "no log of the failure"
    grep -qF "\"$refused_win\" has letters" <<<"$reason" ||
        world_fail "the log does not give the reason: $reason"
    ! guard_runs || world_fail "a guard was started"
}
case_standard_user() {
    # A folder as an administrator made it: the user's prefix holds it, but it is root's and
    # read-only.
    locked_win='C:\Zablokowany\Morvane Linewarden'
    locked_unix=$(world_unix "$locked_win")
    mkdir -p "$locked_unix"
    chown -R root:root "$(dirname "$locked_unix")"
    chmod 0555 "$locked_unix" "$(dirname "$locked_unix")"
    ! world_as_user touch "$locked_unix/x" 2>/dev/null || world_fail "the user can write the folder"
    rc=0
    setup /S "/D=$locked_win" || rc=$?
    [ "$rc" = 2 ] || world_fail "exit code $rc for a folder that cannot be written"
    nothing_installed "$locked_unix"
    reason=$(setup_log) || world_fail "no log of the failure"
    grep -qF 'C:\Zablokowany\Morvane Linewarden' <<<"$reason" ||
        world_fail "the log does not name the folder: $reason"
    echo "$reason"
    ! guard_runs || world_fail "a guard was started"
}
lib_run_case
