# shellcheck shell=bash
# What the Wine end-to-end drivers and the Wine benches share, sourced by each of them: the X
# server, the prefix and the guard's world in it (scripts/guard-world.sh, whose world_fail and
# world_wine are every driver's failure and Wine helpers), the guard of this prefix, the silent
# install, the uninstaller with its boxes answered, and the running of one named case.
lib_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)
lib_uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\MLinewarden'
lib_run_key='Software\Microsoft\Windows\CurrentVersion\Run'

# Reads a driver's arguments, CASE and WINDOWS-BUILD-FOLDER, into world_case and LW_BUILD (made
# absolute); ends with the usage when one is missing.
lib_args() {
    world_case=${1:?$usage}
    LW_BUILD=$(cd "${2:?$usage}" && pwd)
    export LW_BUILD
}

# Returns when there is a display; otherwise runs the calling script again, with the given
# arguments, under an X server of its own, which the programs and the helpers reading their
# windows share.
lib_display() {
    [ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
}

# For a bench run from the checkout's root: without a display, builds what is missing and runs
# the bench again under an X server; then LW_BUILD names the windows build unless it is set.
lib_bench() {
    if [ -z "${DISPLAY:-}" ]; then
        cmake --preset windows >/dev/null
        cmake --build --preset windows >/dev/null
    fi
    lib_display "$@"
    export LW_BUILD="${LW_BUILD:-$PWD/build/windows}"
}

# Returns for root; anyone else's run ends with 77, which ctest counts as skipped: only root can
# make the ordinary user that the run (which the words complete) needs.
lib_need_root() {
    [ "$(id -u)" -ne 0 ] || return 0
    echo "SKIP: only root can make the ordinary user that $1"
    exit 77
}

# The guard's world (guard-world.sh, read from FOLDER when given) in the prefix PREFIX, which is
# used as it is: neither made nor removed here.
lib_world() {
    export WINEPREFIX=$1
    . "${2:-$lib_scripts}/guard-world.sh"
    lib_setup_exe="$LW_BUILD/installer/MLinewardenSetup.exe"
    lib_click_exe="$LW_BUILD/tests/wine/uninstall_e2e/lw-e2e-click.exe"
}

# The guard's world in PREFIX made afresh, and ended and removed with the run.
lib_fresh_world() {
    lib_world "$1"
    trap lib_cleanup EXIT
    world_create
}

# A fresh world that the ordinary Linux user USER (made unless it exists) runs Wine in, as a
# standard user of Windows: the scripts, the programs that the named variables hold (changed to
# name the copies) and the prefix lie in a folder of the user's own, which the checkout may not
# be; the display is an X server open to every user. Root only.
lib_standard_user_world() {
    local user=$1 program
    shift
    lib_stage=$(mktemp -d "/tmp/lw-$world_case.XXXXXX")
    mkdir "$lib_stage/scripts" "$lib_stage/bin"
    cp "$lib_scripts/guard-world.sh" "$lib_scripts/wine-run.sh" "$lib_stage/scripts/"
    lib_world "$lib_stage/prefix" "$lib_stage/scripts"
    trap lib_cleanup EXIT
    world_make_user "$user"
    for program in "$@"; do
        cp "${!program}" "$lib_stage/bin/"
        printf -v "$program" '%s/bin/%s' "$lib_stage" "$(basename "${!program}")"
    done
    chown -R "$user:" "$lib_stage"
    cd "$lib_stage" || exit 1
    world_open_display
    export LW_WINE_USER=$user
    world_create
}

# Ends the run's Wine and the X server it started, and removes its prefix (or the standard
# user's folder) unless LW_KEEP_PREFIX is set.
lib_cleanup() {
    world_as_user wineserver -k 2>/dev/null || true
    [ -z "${world_xvfb_pid:-}" ] || kill "$world_xvfb_pid" 2>/dev/null || true
    [ -n "${LW_KEEP_PREFIX:-}" ] || rm -rf "${lib_stage:-$WINEPREFIX}"
}

# Runs the case named by world_case (the function case_NAME, "-" read as "_"), then the given
# command if any, and says PASS; fails with the usage (when set) on a name without a function.
lib_run_case() {
    local run="case_${world_case//-/_}"
    declare -F "$run" >/dev/null || world_fail "${usage:-unknown case}"
    "$run"
    "${@:-true}"
    echo "PASS ($world_case)"
}

# Runs a Windows program as world_wine does, ended after SECONDS: its exit code, 124 then.
lib_within() {
    local seconds=$1
    shift
    world_as_user timeout -k 5 "$seconds" bash "$here_world/wine-run.sh" "$@"
}

# The build's setup at C:\MLinewardenSetup.exe, the Wine user's file.
lib_place_setup() { world_as_user cp "$lib_setup_exe" "$WINEPREFIX/drive_c/MLinewardenSetup.exe"; }
# Runs the placed setup with the arguments, ended after setup_seconds (150 unless set).
setup() { lib_within "${setup_seconds:-150}" 'C:\MLinewardenSetup.exe' "$@"; }

# The Linux processes of this prefix's guards: other runs on the machine may have their own.
guard_pids() {
    local pid
    for pid in $(pgrep -f 'MLinewarden.exe'); do
        tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            echo "$pid"
    done
    # The last process looked at may be another prefix's or gone: that is no failure.
    return 0
}
guard_runs() { [ -n "$(guard_pids)" ]; }
guard_stopped() { ! guard_runs; }
# Ends, through its Exit command, the guard that the setup started, and waits for its process.
end_started_guard() {
    world_until 20 guard_runs || world_fail "the setup did not start the guard"
    world_end_started_guard
    world_until 20 guard_stopped || world_fail "the started guard's process did not end"
}

# Answers the guard's questions ANSWER (yes or no) while as many as the lines come, and fails
# unless they asked the lines.
expect_questions() {
    local answer=$1 expected asked
    shift
    expected=$(printf '%s\n' "$@")
    asked=$(probe answer "$answer" "$#" 60000) ||
        world_fail "questions not answered as expected (asked: $asked)"
    [ "$asked" = "$expected" ] ||
        world_fail "the questions read otherwise:$(diff <(echo "$expected") <(echo "$asked"))"
}
# Whether the Windows program started in the background as dialer_pid has ended.
dialer_ended() { ! kill -0 "$dialer_pid" 2>/dev/null; }

# Whether the installation's Programs-and-Features key is under ROOT (HKCU unless given).
registered() { world_wine reg query "${1:-HKCU}\\$lib_uninstall_key" >/dev/null 2>&1; }
# Whether ROOT's Run key has the value NAME (the guard's unless given).
run_value() { world_wine reg query "$1\\$lib_run_key" /v "${2:-MLinewarden}" >/dev/null 2>&1; }
# Whether the guard's shortcut lies below the Linux folder.
shortcut_in() { find "$1" -name 'Morvane Linewarden.lnk' | grep -q .; }
# A string value as the registry holds it: "reg query" prints in the console's code page,
# which need not hold every letter, while an exported key is UTF-16, its "\" and quotes escaped.
reg_string() {
    world_wine reg export "$1" 'C:\lw-value.reg' /y >/dev/null 2>&1 || return 1
    iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/lw-value.reg" | tr -d '\r' |
        sed -n "s/^\"$2\"=\"\(.*\)\"\$/\1/p" | perl -pe 's/\\(.)/$1/g'
}
# Sets program to what the UninstallString under ROOT runs, as Programs and Features would:
# one quoted path, since the folder has blanks.
uninstall_program() {
    local uninstall
    uninstall=$(reg_string "$1\\$lib_uninstall_key" UninstallString) || true
    [ -n "$uninstall" ] || world_fail "no UninstallString"
    program=${uninstall#\"}
    program=${program%\"}
    [ "\"$program\"" = "$uninstall" ] || world_fail "the UninstallString is not one quoted path: $uninstall"
}
# The files and folders below the Linux folder, sorted, on one line.
folder_listing() { (cd "$1" 2>/dev/null && find . | LC_ALL=C sort | tr '\n' ' ') || true; }
# Fails unless the installation recorded under ROOT has gone: its key, the Run values, the
# shortcut.
expect_uninstalled() {
    local root
    ! registered "$1" || world_fail "the Programs-and-Features key stays"
    for root in HKLM HKCU; do
        ! run_value "$root" || world_fail "the $root Run value stays"
    done
    ! shortcut_in "$WINEPREFIX/drive_c" || world_fail "the shortcut stays"
}

# Runs PROGRAM, ended after SECONDS, while the box clicker, waiting up to MS for each box,
# answers its boxes as the further arguments say; sets click_output and uninstall_rc, and fails
# unless the boxes came and were answered so.
run_answered() {
    local seconds=$1 ms=$2 program=$3 pid click_rc=0
    shift 3
    lib_within "$seconds" "$program" &
    pid=$!
    click_output=$(world_wine "$lib_click_exe" "$ms" "$@") || click_rc=$?
    uninstall_rc=0
    wait "$pid" || uninstall_rc=$?
    echo "$click_output"
    [ "$click_rc" = 0 ] ||
        world_fail "boxes not answered as expected (uninstaller's exit code $uninstall_rc)"
}
