#!/usr/bin/env bash
# One end-to-end run of the shipped guard under Wine, over the stand-in dial-up, in a fresh
# prefix of its own:
#   run-e2e.sh CASE WINDOWS-BUILD-FOLDER
#   yes            an allowed ISP connection, then the sample dialer: every question answered Yes
#   no             the same, every question answered No
#   leading-zero   the allowed number dialled with and without its leading zero stays up
#   packed         only the packed dialer is installed, with the unpacker beside the guard
#   packed-bare    the same without the unpacker: nothing is found
#   two-dials      a second forbidden dial while the first question is open
#   second-start   the guard started twice
#   wow64          a 64-bit dialer in the 64-bit view of the machine's Run key, and another
#                  copy running as a 64-bit process: both asked about, answered Yes, removed
#   dialling       calls take their time to be answered: the ISP's allowed number is answered
#                  and stays, the sample dialer's premium call (15 s of dialling) is ended
#                  within a second of its dial, before its answer
#   dialling-no-notify
#                  the same where the system refuses connection notifications
# Without a DISPLAY the run starts an X server of its own: the guard and the helper that answers
# its questions must share one.
set -euo pipefail
usage="usage: run-e2e.sh CASE WINDOWS-BUILD-FOLDER"
. "$(dirname "$0")/../lib.sh"
lib_args "$@"
lib_display "$@"
lib_fresh_world "$LW_BUILD/tests/wine/guard_e2e/prefix-$world_case"

# Compares the report's messages with the expected lines, which follow the start line.
expect_report() {
    local expected actual
    expected=$(printf '%s\n' "Start programu Morvane Linewarden 1.1" "$@")
    actual=$(world_report_texts)
    [ "$actual" = "$expected" ] ||
        world_fail "the report reads otherwise:$(diff <(echo "$expected") <(echo "$actual"))"
    ! probe report | cut -d'|' -f1 |
        grep -qvE '^[0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$' ||
        world_fail "a report time is not hh:mm:ss dd:mm:yy"
}

# The ISP's entry, connected, and the sample dialer installed and started: it registers itself,
# puts its shortcut on the desktop, adds its premium-rate entry and dials it.
isp_and_dialer() {
    world_connect_isp
    world_start_guard
    world_install_dialer
    world_wine "$world_dialer_win\\FreeDialer.exe" &
    dialer_pid=$!
}

# The lasting log beside the guard holds each line, stamped with the date, the time and the UTC
# offset; it begins with UTF-8's byte-order mark, so that Notepad shows its Polish letters.
expect_log() {
    local file="$world_guard_dir/MLinewarden.log" text line
    [ "$(head -c 3 "$file" | od -An -tx1 | tr -d ' \n')" = efbbbf ] ||
        world_fail "the log has no byte-order mark"
    [ "$(grep -c $'\r$' "$file")" = "$(wc -l <"$file")" ] || world_fail "a log line ends without CR LF"
    text=$(tail -c +4 "$file" | tr -d '\r')
    ! grep -qvE '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} [+-][0-9]{2}:[0-9]{2}  ' <<<"$text" ||
        world_fail "a log line is not stamped with the date, the time and the offset"
    for line in "$@"; do
        cut -c29- <<<"$text" | grep -qxF -- "$line" ||
            world_fail "the log has no line \"$line\":$(printf '\n%s' "$text")"
    done
}

# The time of day of a line of the stand-in's log, in milliseconds.
log_ms() { awk '{ split($2, t, ":"); printf "%d\n", (t[1] * 60 + t[2]) * 60000 + t[3] * 1000 }'; }
no_connections() { ! rasctl list | grep -q '^connection'; }

dialer="$world_dialer_win\\FreeDialer.exe"
quarantine="$world_guard_win\\dialers"
user=$(ls "$WINEPREFIX/drive_c/users" | grep -vx Public | head -n 1)
shortcut="C:\\users\\$user\\Desktop\\$world_premium_entry.lnk"
shortcut_unix=$(world_unix "$shortcut")

case_yes() {
    world_install_guard "${world_checks_all[@]}"
    isp_and_dialer
    expect_questions yes \
        "Niedozwolone aktywne połączenie|$world_premium_entry|$world_premium_number" \
        "Niedozwolone połączenie|$world_premium_entry|$world_premium_number" \
        "Wykryty Dialer|FreeDialer|$dialer"
    probe wait-report 30000 "Usuwanie skrótów pliku \"$dialer\" zakończone" >/dev/null ||
        world_fail "the dialer's removal did not end"
    expect_report \
        "Niedozwolone połączenie z numerem \"$world_premium_number\" zostało pomyślnie rozłączone." \
        "Usunięto połączenie \"$world_premium_entry\" o numerze \"$world_premium_number\" " \
        "Zabijanie procesu \"$dialer\"..." \
        "Zabijanie procesu \"$dialer\" zakończone pomyślnie." \
        "Usuwanie pliku \"$dialer\"..." \
        "Skopiowany plik \"FreeDialer.exe\": $dialer -> $quarantine\\FreeDialer.exe.000" \
        "Usunięto plik \"FreeDialer.exe\": $dialer" \
        "Usuwanie pliku \"$dialer\" zakończone pomyślnie." \
        "Usuwanie wpisu w rejestrze Startup \"FreeDialer\"..." \
        "Usuwanie wpisu \"FreeDialer\" w rejestrze Startup zakończone pomyślnie." \
        "Usuwanie skrótów pliku \"$dialer\"..." \
        "Skopiowany plik \"$world_premium_entry.lnk\": $shortcut -> $quarantine\\$world_premium_entry.lnk.000" \
        "Usunięto plik \"$world_premium_entry.lnk\": $shortcut" \
        "Usuwanie skrótów pliku \"$dialer\" zakończone pomyślnie."
    world_stop_guard
    expect_log \
        "Niedozwolone połączenie z numerem \"$world_premium_number\" zostało pomyślnie rozłączone. [połączenie \"$world_premium_entry\"; użytkownik zapytany, odpowiedział: Tak]" \
        "Usunięto plik \"FreeDialer.exe\": $dialer" \
        "Usuwanie pliku \"$dialer\" zakończone pomyślnie." \
        "Koniec pracy programu Morvane Linewarden 1.1"
    listing=$(rasctl list)
    log=$(rasctl log)
    world_connected Dostawca "$listing" || world_fail "the ISP's connection was cut"
    ! world_connected "$world_premium_entry" "$listing" || world_fail "the premium connection is up"
    ! world_has_entry "$world_premium_entry" "$listing" || world_fail "the premium entry is left"
    grep -q "MLinewarden.exe: RasHangUpA [0-9]* \"$world_premium_entry\" $world_premium_number -> 0" \
        <<<"$log" || world_fail "the stand-in's log has no hang-up by the guard"
    grep -q "MLinewarden.exe: RasDeleteEntryA \"$world_premium_entry\" -> 0" <<<"$log" ||
        world_fail "the stand-in's log has no entry deletion by the guard"
    world_until 10 dialer_ended || world_fail "the dialer still runs"
    [ ! -e "$world_dialer_dir/FreeDialer.exe" ] || world_fail "the dialer's file is left"
    cmp -s "$world_dialer_exe" "$world_guard_dir/dialers/FreeDialer.exe.000" ||
        world_fail "no quarantine copy of the dialer"
    ! world_run_value FreeDialer || world_fail "the dialer's Run value is left"
    [ ! -e "$shortcut_unix" ] || world_fail "the dialer's shortcut is left"
}
case_no() {
    world_install_guard "${world_checks_all[@]}"
    isp_and_dialer
    expect_questions no \
        "Niedozwolone aktywne połączenie|$world_premium_entry|$world_premium_number" \
        "Niedozwolone połączenie|$world_premium_entry|$world_premium_number" \
        "Wykryty Dialer|FreeDialer|$dialer" \
        "Wykryty Dialer|FreeDialer.exe|$dialer"
    probe wait-report 30000 "niebezpieczy process" >/dev/null || world_fail "the sweep did not end"
    expect_report \
        "Połączenie \"$world_premium_entry\" o numerze \"$world_premium_number\" nie zostało rozłączone." \
        "Połączenie \"$world_premium_entry\" o numerze \"$world_premium_number\" nie zostało usunięte." \
        "Uwaga! Nie został usunięty z systemu niebezpieczy program \"FreeDialer ($dialer)\", który może być dialerem." \
        "Uwaga! Nie został usunięty z systemu niebezpieczy process \"$dialer\", który może być dialerem."
    listing=$(rasctl list)
    world_connected Dostawca "$listing" || world_fail "the ISP's connection was cut"
    world_connected "$world_premium_entry" "$listing" ||
        world_fail "the premium connection was cut after No"
    world_has_entry "$world_premium_entry" "$listing" ||
        world_fail "the premium entry was deleted after No"
    kill -0 "$dialer_pid" 2>/dev/null || world_fail "the dialer was stopped after No"
    [ -e "$world_dialer_dir/FreeDialer.exe" ] || world_fail "the dialer's file was deleted after No"
    [ ! -e "$world_guard_dir/dialers" ] || world_fail "a quarantine copy was made after No"
    world_run_value FreeDialer || world_fail "the Run value was deleted after No"
    [ -e "$shortcut_unix" ] || world_fail "the shortcut was deleted after No"
    ! rasctl log | grep -q "MLinewarden.exe: Ras\(HangUp\|DeleteEntry\)A" ||
        world_fail "the guard hung up or deleted something after No"
}
case_leading_zero() {
    # No questions: the guard acts at once, so a forbidden connection next to the two allowed
    # ones shows that it did look at them.
    world_install_guard "${world_hangs_up_at_once[@]}"
    world_connect_isp
    rasctl add "Dostawca bez zera" "${world_isp_number#0}" >/dev/null
    rasctl add Obcy 0700999999 >/dev/null
    world_start_guard
    rasctl dial "Dostawca bez zera" >/dev/null
    rasctl dial Obcy >/dev/null
    probe wait-report 30000 "numerem \"0700999999\" zostało pomyślnie rozłączone." >/dev/null ||
        world_fail "the foreign number was not hung up"
    # Nobody was asked, and the window is in the tray: a balloon says what the guard did.
    probe wait-balloon 10000 "z numerem \"0700999999\"" ||
        world_fail "no balloon told of the hang-up:$(printf '\n%s' "$(probe windows)")"
    expect_report "Niedozwolone połączenie z numerem \"0700999999\" zostało pomyślnie rozłączone."
    listing=$(rasctl list)
    world_connected Dostawca "$listing" || world_fail "the number with its zero was cut"
    world_connected "Dostawca bez zera" "$listing" ||
        world_fail "the number without its zero was cut"
}
# With the unpacker beside the guard, or (packed-bare) without it.
case_packed() {
    unpacker=()
    [ "$world_case" = packed ] && unpacker=(--unpacker)
    world_install_guard "${unpacker[@]}" "${world_checks_all[@]}"
    world_install_dialer
    rm "$world_dialer_dir/FreeDialer.exe"
    packed="$world_dialer_win\\FreeDialerPacked.exe"
    world_wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v DarmowyInternet \
        /d "$packed" /f /reg:32 >/dev/null 2>&1
    if [ "$world_case" = packed-bare ]; then
        # The start-up check ran and hid the guard: it asked nothing.
        world_start_guard
        [ "$(probe questions)" = 0 ] || world_fail "a question without the unpacker"
        expect_report
        world_run_value DarmowyInternet || world_fail "the Run value was deleted"
        [ -e "$world_dialer_dir/FreeDialerPacked.exe" ] || world_fail "the packed file was deleted"
    else
        # The question comes in the start-up check, before the guard goes into the tray.
        world_wine "$world_guard_win\\MLinewarden.exe" &
        world_guard_pid=$!
        expect_questions yes "Wykryty Dialer|DarmowyInternet|$packed"
        probe wait-report 30000 "Usuwanie skrótów pliku \"$packed\" zakończone" >/dev/null ||
            world_fail "the packed dialer's removal did not end"
        ! world_run_value DarmowyInternet || world_fail "the Run value is left"
        [ ! -e "$world_dialer_dir/FreeDialerPacked.exe" ] || world_fail "the packed file is left"
        cmp -s "$world_packed_exe" "$world_guard_dir/dialers/FreeDialerPacked.exe.000" ||
            world_fail "no quarantine copy of the packed dialer"
        [ -z "$(ls "$world_guard_dir" | grep -i '\.111$')" ] || world_fail "an unpacked copy is left"
    fi
}
case_packed_bare() { case_packed; }
case_wow64() {
    world_install_guard "${world_checks_all[@]}"
    world_as_user mkdir -p "$world_dialer_dir"
    world_as_user cp "$LW_BUILD/tools/sample-dialer/FreeDialer64.exe" "$world_dialer_dir/Auto64.exe"
    world_as_user cp "$LW_BUILD/tools/sample-dialer/FreeDialer64.exe" "$world_dialer_dir/Run64.exe"
    registered="$world_dialer_win\\Auto64.exe"
    running="$world_dialer_win\\Run64.exe"
    world_wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Auto64 \
        /d "$registered" /f /reg:64 >/dev/null 2>&1
    world_wine "$running" /norun /nolink /nodial &
    dialer_pid=$!
    sleep 2
    world_wine "$world_guard_win\\MLinewarden.exe" &
    world_guard_pid=$!
    expect_questions yes "Wykryty Dialer|Auto64|$registered" "Wykryty Dialer|Run64.exe|$running"
    probe wait-report 30000 "Usuwanie skrótów pliku \"$running\" zakończone" >/dev/null ||
        world_fail "the running dialer's removal did not end"
    world_until 10 dialer_ended || world_fail "the 64-bit dialer still runs"
    for f in Auto64 Run64; do
        [ ! -e "$world_dialer_dir/$f.exe" ] || world_fail "$f.exe is left"
        cmp -s "$LW_BUILD/tools/sample-dialer/FreeDialer64.exe" \
            "$world_guard_dir/dialers/$f.exe.000" || world_fail "no quarantine copy of $f.exe"
    done
    ! world_wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Auto64 \
        /reg:64 >/dev/null 2>&1 || world_fail "the Run value in the 64-bit view is left"
}
case_two_dials() {
    world_install_guard FirstRun=0 AutoStart=0 CheckAllowedNumbers=1 IdentAutoDeleteDialUp=0 \
        IdentAutoDeleteDialers=0 IdentAskBeforeDeleteDialUp=1 IdentNumberCount=1 \
        "IdentNumberFmt_0=$world_isp_number"
    rasctl add Pierwszy 0700111111 >/dev/null
    rasctl add Drugi 0700222222 >/dev/null
    world_start_guard
    rasctl dial Pierwszy >/dev/null
    [ "$(probe wait-question 30000)" = "Niedozwolone aktywne połączenie|Pierwszy|0700111111" ] ||
        world_fail "no question about the first dial"
    rasctl dial Drugi >/dev/null
    # Time for the second dial's notification to reach the guard while it waits for the answer.
    sleep 2
    [ "$(probe questions)" = 1 ] || world_fail "a second question opened beside the first"
    expect_questions yes "Niedozwolone aktywne połączenie|Pierwszy|0700111111" \
        "Niedozwolone aktywne połączenie|Drugi|0700222222"
    world_until 20 no_connections ||
        world_fail "a connection is still up"
    probe alive || world_fail "the guard does not answer"
    expect_report "Niedozwolone połączenie z numerem \"0700111111\" zostało pomyślnie rozłączone." \
        "Niedozwolone połączenie z numerem \"0700222222\" zostało pomyślnie rozłączone."
}
# With connection notifications, or (dialling-no-notify) without them.
case_dialling() {
    # The option that looks at calls while they are dialled is left out of the file: on.
    world_install_guard "${world_hangs_up_at_once[@]}"
    rasctl add Dostawca "$world_isp_number" >/dev/null
    [ "$world_case" = dialling ] || rasctl notifications refuse >/dev/null
    world_start_guard
    rasctl dial Dostawca --answer-after 2000 >/dev/null || world_fail "the ISP's call was not answered"
    world_install_dialer
    rasctl answer-after 15000 >/dev/null
    world_wine "$world_dialer_win\\FreeDialer.exe" /norun /nolink &
    dialer_pid=$!
    probe wait-report 30000 "przerwane podczas wybierania" >/dev/null ||
        world_fail "the premium call was not ended while it was dialled"
    expect_report "Niedozwolone połączenie z numerem \"$world_premium_number\" zostało przerwane podczas wybierania."
    log=$(rasctl log)
    dial=$(grep "FreeDialer.exe: RasDialA sync \"$world_premium_entry\" $world_premium_number answering after 15000 ms -> 0 handle" <<<"$log") ||
        world_fail "the stand-in's log has no dial by the sample dialer"
    handle=$(awk '{ print $NF }' <<<"$dial")
    hangup=$(grep "MLinewarden.exe: RasHangUpA $handle " <<<"$log") ||
        world_fail "the stand-in's log has no hang-up of the premium call"
    delay=$(($(log_ms <<<"$hangup") - $(log_ms <<<"$dial")))
    [ "$delay" -le 1000 ] || world_fail "the premium call was ended $delay ms after its dial"
    ! grep -q "answered $handle " <<<"$log" || world_fail "the premium call was answered"
    grep -q ": answered [0-9]* \"Dostawca\" $world_isp_number" <<<"$log" ||
        world_fail "the ISP's call has no answer in the log"
    world_connected Dostawca || world_fail "the ISP's connection was cut"
    ! grep -q "MLinewarden.exe: RasHangUpA [0-9]* \"Dostawca\"" <<<"$log" ||
        world_fail "the guard hung up the ISP's call"
    echo "the premium call was ended $delay ms after its dial"
}
case_dialling_no_notify() { case_dialling; }
case_second_start() {
    world_install_guard "${world_checks_all[@]}"
    world_start_guard
    lib_within 60 "$world_guard_win\\MLinewarden.exe" ||
        world_fail "the second start did not end with exit code 0"
    probe wait-shown 20000 >/dev/null || world_fail "the running guard did not come up"
    [ "$(probe guards)" = 1 ] || world_fail "more than one guard window"
}
lib_run_case world_stop_guard
