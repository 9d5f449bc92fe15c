#!/usr/bin/env bash
# The guard as a standard user meets it:
#   run-standard-user.sh WINDOWS-BUILD-FOLDER
# Wine lets every process write everywhere and CI runs as root, so an ordinary Linux user, with a
# Wine prefix of its own, runs the guard from a program folder that belongs to root and that the
# user cannot write, as a standard user of Windows cannot write C:\Program Files. The guard
# starts; at start-up it still finds a packed dialer (the unpacked copy goes to the user's
# temporary folder), then its report and one message box say that the settings were not saved;
# later it still catches the sample dialer: hangs up, and keeps the dialers' files for want of a
# quarantine copy, saying so once per sweep; Exit ends it without a second box.
# Making the user and handing the folder to root needs root: run otherwise, the test says why and
# ends with 77, which ctest counts as skipped. LW_STANDARD_USER_DISPLAYS lists the X display
# numbers to try (140 to 160 unless set); LW_KEEP_PREFIX keeps the user's folder in /tmp.
set -euo pipefail
export LW_BUILD=${1:?usage: run-standard-user.sh WINDOWS-BUILD-FOLDER}
world_case=standard-user
. "$(dirname "$0")/../lib.sh"
lib_need_root "this test runs the guard as"
lib_standard_user_world lwstandard world_guard_exe world_rasctl_exe world_probe_exe \
    world_dialer_exe world_packed_exe world_upx_exe world_standin_dll
world_install_guard --unpacker "${world_checks_all[@]}"
# The program folder as Windows gives it to a standard user: an administrator's, readable, not
# writable. The folders above it are the user's prefix, so it can be reached.
chown -R root:root "$world_guard_dir"
chmod 0444 "$world_guard_dir"/*
chmod 0555 "$world_guard_dir"
world_as_user test -r "$world_guard_dir/MLinewarden.cfg" ||
    world_fail "the user cannot read the guard's folder"
if world_as_user touch "$world_guard_dir/new" 2>/dev/null ||
    world_as_user test -w "$world_guard_dir/MLinewarden.cfg"; then
    world_fail "the user can write into the guard's folder"
fi

world_install_dialer
packed="$world_dialer_win\\FreeDialerPacked.exe"
dialer="$world_dialer_win\\FreeDialer.exe"
world_wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v DarmowyInternet \
    /d "$packed" /f /reg:32 >/dev/null 2>&1

# How many of the report's messages are the line, or with --begins begin with the text.
report_count() {
    local whole=1
    [ "$1" = --begins ] && { whole=0; shift; }
    TEXT=$1 awk -v whole="$whole" \
        '(whole ? $0 == ENVIRON["TEXT"] : index($0, ENVIRON["TEXT"]) == 1) { n++ }
         END { print n + 0 }' <<<"$report"
}

caption="Morvane Linewarden 1.1"
settings_file="$world_guard_win\\MLinewarden.cfg"
world_wine "$world_guard_win\\MLinewarden.exe" &
world_guard_pid=$!
expect_questions yes "Wykryty Dialer|DarmowyInternet|$packed"
box=$(probe messagebox 60000 "$caption") ||
    world_fail "no message box of the guard's window with OK alone (text: $box)"
expected_box="Nie udało się zapisać ustawień do pliku \"$settings_file\".

Zmienione opcje i dozwolone numery nie zostaną zachowane po ponownym uruchomieniu programu. \
Sprawdź, czy masz prawo zapisu w folderze programu i czy na dysku jest wolne miejsce."
[ "$box" = "$expected_box" ] ||
    world_fail "the box reads otherwise:$(diff <(echo "$expected_box") <(echo "$box"))"
probe wait-hidden 60000 >/dev/null || world_fail "the guard did not go into the tray"

world_wine "$dialer" &
dialer_pid=$!
expect_questions yes "Niedozwolone aktywne połączenie|$world_premium_entry|$world_premium_number" \
    "Niedozwolone połączenie|$world_premium_entry|$world_premium_number" \
    "Wykryty Dialer|FreeDialer|$dialer"
probe wait-report 30000 "Dialer \"FreeDialer\" nie został usunięty." >/dev/null ||
    world_fail "the dialer's removal did not end"

report=$(world_report_texts)
for line in \
    "Nie udało się zapisać ustawień do pliku \"$settings_file\". Zmienione opcje i dozwolone numery nie zostaną zachowane." \
    "Niedozwolone połączenie z numerem \"$world_premium_number\" zostało pomyślnie rozłączone." \
    "Usuwanie pliku \"$dialer\"..."; do
    [ "$(report_count "$line")" -ge 1 ] || world_fail "the report lacks \"$line\":
$report"
done
# Two sweeps removed something: the packed dialer's at start-up, the sample dialer's file and
# shortcut later.
quarantine="Nie można utworzyć folderu kwarantanny \"$world_guard_win\\dialers"
[ "$(report_count --begins "$quarantine")" = 2 ] ||
    world_fail "the report does not say once per sweep that there is no quarantine:
$report"
world_until 10 dialer_ended || world_fail "the dialer still runs"
! world_connected "$world_premium_entry" || world_fail "the premium connection is up"
[ -e "$world_dialer_dir/FreeDialer.exe" ] && [ -e "$world_dialer_dir/FreeDialerPacked.exe" ] ||
    world_fail "a dialer's file went without a quarantine copy"
[ ! -e "$world_guard_dir/dialers" ] || world_fail "a quarantine folder was made"
[ -z "$(find "$WINEPREFIX/drive_c" -iname '*.111')" ] || world_fail "an unpacked copy is left"

# A second failed save at Exit adds a report line only: a box would hold the guard up.
probe menu exit >/dev/null || world_fail "Exit could not be chosen"
if ! probe wait-gone 20000 >/dev/null; then
    box=$(probe messagebox 0 "$caption") && world_fail "a second box at Exit: $box"
    world_fail "the guard did not end on Exit"
fi
guard_ended() { ! kill -0 "$world_guard_pid" 2>/dev/null; }
world_until 20 guard_ended || world_fail "the guard's process did not end"
echo "PASS ($world_case)"
