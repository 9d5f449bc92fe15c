#!/usr/bin/env bash
# The whole life of an installation on an older Windows, as Wine answers as that system in a
# 32-bit prefix of its own:
#   run-legacy.sh win98|winxp WINDOWS-BUILD-FOLDER
# The setup installs silently where it installs on that system (98: for the machine, into
# Program Files, with the machine's Uninstall key; XP: for the user), the guard it started runs;
# over the stand-in dial-up the sample dialer registers itself, dials and runs, and the guard,
# every question answered Yes, hangs up, deletes the entry and removes the dialer, found by its
# Run value and by the process walk; the uninstaller then closes the guard and takes the
# installation away. Every call that our three programs make is traced (Wine's relay channel,
# limited to calls from our modules); on 98 the trace must show no call to a wide function that
# the 95 family has only as a stub.
#
# Wine keeps the wide functions working whatever system it answers as, so this run alone would
# not catch such a call: the trace does. Wine's process snapshot also names bare files where
# Windows 98 gives full paths, so the guard's sweep here takes the bare-name way.
# Without a DISPLAY the run starts an X server of its own.
set -euo pipefail
usage="usage: run-legacy.sh win98|winxp WINDOWS-BUILD-FOLDER"
. "$(dirname "$0")/../lib.sh"
lib_args "$@"
case "$world_case" in win98 | winxp) ;; *) echo "$usage" >&2; exit 2 ;; esac
lib_display "$@"
export WINEARCH=win32
lib_fresh_world "$LW_BUILD/tests/wine/legacy/prefix-$world_case"
trace="$LW_BUILD/tests/wine/legacy/relay-$world_case.log"
mkdir -p "$(dirname "$trace")"
: >"$trace"

# Runs one of our programs with every call it makes traced into the trace file.
traced() { WINEDEBUG=+relay world_wine "$@" 2>>"$trace"; }

world_wine reg add 'HKCU\Software\Wine' /v Version /d "$world_case" /f >/dev/null 2>&1
# A fresh prefix excludes calls from the system's own modules; that value wins over an include
# list while it exists.
world_wine reg delete 'HKCU\Software\Wine\Debug' /v RelayFromExclude /f >/dev/null 2>&1 || true
world_wine reg add 'HKCU\Software\Wine\Debug' /v RelayFromInclude \
    /d 'MLinewardenSetup.exe;MLinewarden.exe;uninstall.exe' /f >/dev/null 2>&1
world_wine cmd /c ver 2>/dev/null | tr -d '\r' | grep -q . || world_fail "no Wine prefix"

if [ "$world_case" = win98 ]; then
    key_root=HKLM other_root=HKCU
    expected_folder='C:\Program Files\Morvane Linewarden'
else
    key_root=HKCU other_root=HKLM
    expected_folder=''
fi

# 1. The setup, silent, where the system wants it.
lib_place_setup
rc=0
traced 'C:\MLinewardenSetup.exe' /S || rc=$?
[ "$rc" = 0 ] || world_fail "the setup's exit code is $rc"
folder=$(reg_string "$key_root\\$lib_uninstall_key" InstallLocation) || true
[ -n "$folder" ] || world_fail "no InstallLocation under $key_root"
[ -z "$expected_folder" ] || [ "$folder" = "$expected_folder" ] ||
    world_fail "installed into $folder, not $expected_folder"
! registered "$other_root" ||
    world_fail "the installation was also recorded under $other_root"
world_guard_win=$folder
world_guard_dir=$(world_unix "$folder")
[ -f "$world_guard_dir/MLinewarden.exe" ] || world_fail "the guard is not in $folder"
world_end_started_guard

# 2. The dialer scene, every question answered Yes.
{ printf '[Main]\r\n'; printf '%s\r\n' "${world_checks_all[@]}"; } >"$world_guard_dir/MLinewarden.cfg"
world_connect_isp
traced "$world_guard_win\\MLinewarden.exe" &
world_guard_pid=$!
probe wait-shown 60000 >/dev/null || world_fail "the guard's window did not appear"
probe wait-hidden 60000 >/dev/null || world_fail "the guard did not go into the tray"
world_install_dialer
dialer="$world_dialer_win\\FreeDialer.exe"
world_wine "$dialer" 2>/dev/null &
dialer_pid=$!
asked=$(probe answer yes all 60000) || true
echo "$asked"
grep -q "^Niedozwolone aktywne połączenie|$world_premium_entry|$world_premium_number\$" \
    <<<"$asked" || world_fail "no question about the connection (asked: $asked)"
grep -q "^Wykryty Dialer|.*|$(sed 's/[\\.]/\\&/g' <<<"$dialer")\$" <<<"$asked" ||
    world_fail "no question about the dialer (asked: $asked)"
probe wait-report 30000 "Usuwanie skrótów pliku \"$dialer\" zakończone" >/dev/null ||
    world_fail "the dialer's removal did not end: $(world_report_texts)"
listing=$(rasctl list)
log=$(rasctl log)
world_connected Dostawca "$listing" || world_fail "the ISP's connection was cut"
grep -q "MLinewarden.exe: RasHangUpA [0-9]* \"$world_premium_entry\" $world_premium_number -> 0" \
    <<<"$log" || world_fail "the stand-in's log has no hang-up by the guard"
! world_has_entry "$world_premium_entry" "$listing" || world_fail "the premium entry is left"
world_until 10 dialer_ended || world_fail "the dialer still runs"
[ ! -e "$world_dialer_dir/FreeDialer.exe" ] || world_fail "the dialer's file is left"
cmp -s "$world_dialer_exe" "$world_guard_dir/dialers/FreeDialer.exe.000" ||
    world_fail "no quarantine copy of the dialer"
! run_value HKLM FreeDialer || world_fail "the dialer's Run value is left"

# 3. The uninstaller that Add/Remove Programs names, its question answered Yes, while the guard
# runs: asked to close as the system asks at the end of a session, the guard ends by itself.
# Wine's process walk names it by its file alone, even as 98: its main window tells it apart.
uninstall_program "$key_root"
cp "$lib_click_exe" "$WINEPREFIX/drive_c/lw-e2e-click.exe"
traced "$program" &
uninstall_pid=$!
world_wine 'C:\lw-e2e-click.exe' 30000 'Morvane Linewarden - Deinstalacja' yes 2>/dev/null ||
    world_fail "the uninstaller's question did not come"
wait "$uninstall_pid" || world_fail "the uninstaller failed"
probe wait-gone 20000 >/dev/null || world_fail "the guard still runs after the uninstall"
# The quarantine copies are the user's evidence: they stay, with the folders that hold them.
world_until 30 eval '[ ! -e "$world_guard_dir/uninstall.exe" ]' ||
    world_fail "the uninstaller's removal batch did not remove it"
left=$(folder_listing "$world_guard_dir")
[ "$left" = ". ./dialers ./dialers/Darmowy Internet.lnk.000 ./dialers/FreeDialer.exe.000 " ] ||
    world_fail "the folder should keep only the quarantine, it holds: $left"
expect_uninstalled "$key_root"

# 4. The trace: our programs' calls, and on 98 no wide function beyond the few that are real.
# The trace also shows calls between the system's own modules; ours are those that return into
# a program's image, which lies at 0x400000 and is well below a MiB.
calls=$(grep -E 'Call [A-Za-z0-9_]+\.[A-Za-z0-9_]+\(.* ret=004[0-9a-f]{5}$' "$trace" |
    grep -oE 'Call [A-Za-z0-9_]+\.[A-Za-z0-9_]+' | cut -c6- | sort | uniq -c)
[ -n "$calls" ] || world_fail "the trace holds no call of our programs"
echo "$(wc -l <<<"$calls") functions called by our programs"
if [ "$world_case" = win98 ]; then
    bad=$(bash "$(dirname "$0")/check-wide-calls.sh" <<<"$calls") || world_fail "wide functions called on 98:
$bad"
fi
echo "PASS ($world_case)"
