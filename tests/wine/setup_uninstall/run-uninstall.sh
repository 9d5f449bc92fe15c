#!/usr/bin/env bash
# A silent install under Wine, its guard running, then the UninstallString of its
# Programs-and-Features key run and its confirmation answered Yes; the guard closes:
#   run-uninstall.sh whole|quarantine|alias WINDOWS-BUILD-FOLDER
#   whole       every installed file, the key, the shortcut and the Run values are gone, and
#               so is the program folder
#   quarantine  a dialer's quarantine copy lies in the folder's "dialers": that folder and the
#               program folder stay with the copy, and nothing else of the installation does
#   alias       as whole, on a Western European Windows (code pages 1252 and 437, without "ł")
#               into a folder below one named with "ł", as a user's profile folder may be: the
#               log names that folder by its 8.3 alias, and the folder with "ł" stays
# Each case has a Wine prefix of its own, made afresh, so that no earlier run's key or Run
# value can make it pass. Without a DISPLAY the run gets an X server of its own.
set -euo pipefail
usage="usage: run-uninstall.sh whole|quarantine|alias WINDOWS-BUILD-FOLDER"
. "$(dirname "$0")/../lib.sh"
lib_args "$@"
lib_display "$@"
folder_win='C:\lw-setup\Zażółć gęślą jaźń'
caption='Morvane Linewarden - Deinstalacja'
case "$world_case" in
whole | quarantine) ;;
alias)
    export LW_WINE_LANG=en_US.UTF-8
    folder_win='C:\lw-setup\Michał\Morvane Linewarden'
    caption='Morvane Linewarden - Uninstall'
    ;;
*) echo "$usage" >&2; exit 2 ;;
esac
lib_fresh_world "${WINEPREFIX:-$lib_scripts/../build/wineprefix}-setup-uninstall-$world_case"
folder_unix=$(world_unix "$folder_win")

# The folder above the program folder is there before, as a user's profile folder is.
mkdir -p "$(dirname "$folder_unix")"
lib_place_setup
setup_seconds=120
setup /S "/D=$folder_win" || world_fail "setup's exit code $?"
[ -f "$folder_unix/MLinewarden.exe" ] || world_fail "nothing installed"
if [ "$world_case" = alias ]; then
    grep -aqF 'C:\lw-setup\MICH~' "$folder_unix/uninstall.exe" ||
        world_fail "the log does not name the folder by its alias"
fi
shortcut_in "$WINEPREFIX/drive_c/users" || world_fail "no shortcut"
run_value HKLM || run_value HKCU || world_fail "no Run value"
if [ "$world_case" = quarantine ]; then
    mkdir -p "$folder_unix/dialers"
    printf 'MZ-dialer' >"$folder_unix/dialers/dialer.exe.001"
fi
world_until 20 guard_runs || world_fail "the setup did not start the guard"

uninstall_program HKCU
run_answered 60 30000 "$program" "$caption" yes
[ "$uninstall_rc" = 0 ] || world_fail "uninstaller's exit code $uninstall_rc"

# The removal batch takes the uninstaller and the folder after the uninstaller has ended.
if [ "$world_case" != quarantine ]; then
    world_until 30 eval '[ ! -e "$folder_unix" ]' ||
        world_fail "the program folder stays: $(cd "$folder_unix" && find .)"
else
    world_until 30 eval '[ ! -e "$folder_unix/uninstall.exe" ]' || true
    left=$(folder_listing "$folder_unix")
    [ "$left" = ". ./dialers ./dialers/dialer.exe.001 " ] ||
        world_fail "the folder should keep only the quarantine, it holds: $left"
fi
expect_uninstalled HKCU
# Asked to close, never ended by force: a guard that still ran would write its Run value again.
world_until 10 guard_stopped || world_fail "the guard still runs"
[ -d "$(dirname "$folder_unix")" ] || world_fail "the folder above the program folder was removed"
echo "PASS ($world_case)"
