# The guard in a Wine prefix of its own over the stand-in dial-up: sourced by scripts/run.sh, the
# guard's end-to-end runs and the hang-up latency measurement.
#
# Needs LW_BUILD (the windows build folder) and WINEPREFIX; a display (DISPLAY) shared by every
# program of the prefix, since the helpers find the guard's windows on it. LW_DESKTOP, when set,
# names the Wine virtual desktop that the guard was started in. LW_WINE_USER, when set, names an
# ordinary Linux user that every Wine program and wineserver of the world runs as, the caller
# being root: the prefix and what the programs write in it are that user's, the guard's folder
# is what the caller makes of it.
here_world=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${LW_BUILD:?LW_BUILD must name the windows build folder}"
: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
export WINEPREFIX
# No Mono or Gecko installers, no menu entries on the host for the dialer's shortcut, and the
# stand-in RAS library before Wine's own.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;rasapi32=n,b"

world_guard_exe="$LW_BUILD/guard/MLinewarden.exe"
world_rasctl_exe="$LW_BUILD/tools/rasctl/rasctl.exe"
world_probe_exe="$LW_BUILD/tests/wine/guard/lw-guard-probe.exe"
world_dialer_exe="$LW_BUILD/tools/sample-dialer/FreeDialer.exe"
world_packed_exe="$LW_BUILD/tools/sample-dialer/FreeDialerPacked.exe"
world_upx_exe="$LW_BUILD/tools/upx-standin/upx.exe"
world_standin_dll="$LW_BUILD/tools/ras-standin/rasapi32.dll"

# Where the guard is installed, and where the sample dialer is "downloaded" to (Polish letters
# included, as in users' folders). Windows paths, and the same places seen from Linux.
world_guard_win='C:\Program Files (x86)\Morvane Linewarden'
world_dialer_win='C:\Pobrane\Łącze'
world_isp_number=0221234567
world_premium_number=0700123456
world_premium_entry='Darmowy Internet'
# The options of a guard that checks everything and asks first, with the ISP's number allowed.
world_checks_all=(FirstRun=0 AutoStart=0 CheckAllowedNumbers=1 IdentAutoDeleteDialUp=1
                  IdentAutoDeleteDialers=1 IdentAskBeforeDeleteDialUp=1 IdentNumberCount=1
                  "IdentNumberFmt_0=$world_isp_number")
# The options of a guard that hangs up forbidden connections at once, asking nothing, and leaves
# dialers alone, with the ISP's number allowed.
world_hangs_up_at_once=(FirstRun=0 AutoStart=0 CheckAllowedNumbers=1 IdentAutoDeleteDialUp=0
                        IdentAutoDeleteDialers=0 IdentAskBeforeDeleteDialUp=0 IdentNumberCount=1
                        "IdentNumberFmt_0=$world_isp_number")

world_unix() { printf '%s/drive_c/%s' "$WINEPREFIX" "$(printf '%s' "${1#C:\\}" | tr '\\' /)"; }
world_guard_dir=$(world_unix "$world_guard_win")
world_dialer_dir=$(world_unix "$world_dialer_win")

world_fail() {
    echo "FAIL${world_case:+ ($world_case)}: $*" >&2
    exit 1
}

# Runs the command as LW_WINE_USER when set (with this environment, the user's HOME), else as is.
world_as_user() {
    if [ -n "${LW_WINE_USER:-}" ]; then
        runuser -u "$LW_WINE_USER" -- "$@"
    else
        "$@"
    fi
}

world_wine() { world_as_user bash "$here_world/wine-run.sh" "$@"; }
# Console output of the Windows helpers, without the carriage returns of their line ends.
rasctl() { world_wine "$world_rasctl_exe" "$@" | tr -d '\r'; }
probe() { world_wine "$world_probe_exe" "$@" | tr -d '\r'; }

# A new prefix: booted, the stand-in RAS library in its system folder, and the user's shell
# folders made real folders (Wine links Desktop and Documents to the Linux home, where the
# sample dialer would leave its shortcut).
world_create() {
    world_as_user wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    world_wine --prepare
    local link
    find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -type l | while read -r link; do
        rm -f "$link" && world_as_user mkdir -p "$link"
    done
    local system="$WINEPREFIX/drive_c/windows/syswow64"
    [ -d "$system" ] || system="$WINEPREFIX/drive_c/windows/system32"
    world_as_user cp "$world_standin_dll" "$system/rasapi32.dll"
}

# Installs the guard with the given lines of its configuration file ([Main] is added);
# --unpacker puts the unpacker beside it.
world_install_guard() {
    local unpacker=0
    [ "${1:-}" = "--unpacker" ] && { unpacker=1; shift; }
    mkdir -p "$world_guard_dir"
    cp "$world_guard_exe" "$world_guard_dir/MLinewarden.exe"
    [ "$unpacker" = 1 ] && cp "$world_upx_exe" "$world_guard_dir/upx.exe"
    { printf '[Main]\r\n'; printf '%s\r\n' "$@"; } >"$world_guard_dir/MLinewarden.cfg"
}

# The ISP's phonebook entry, connected.
world_connect_isp() {
    rasctl add Dostawca "$world_isp_number" >/dev/null
    rasctl dial Dostawca >/dev/null
}

# The dialer's folder is the user's, as a download is: only the guard's own rules keep its files.
world_install_dialer() {
    world_as_user mkdir -p "$world_dialer_dir"
    world_as_user cp "$world_dialer_exe" "$world_packed_exe" "$world_dialer_dir/"
}

# Starts the guard in the background (in LW_DESKTOP's virtual desktop when set) and waits until
# its start-up check has put it into the tray.
world_start_guard() {
    local exe="$world_guard_win\\MLinewarden.exe"
    if [ -n "${LW_DESKTOP:-}" ]; then
        world_wine explorer "/desktop=$LW_DESKTOP,1024x768" "$exe" &
    else
        world_wine "$exe" &
    fi
    world_guard_pid=$!
    probe wait-shown 60000 >/dev/null || world_fail "the guard's window did not appear"
    probe wait-hidden 60000 >/dev/null || world_fail "the guard did not go into the tray"
}

world_stop_guard() {
    probe menu exit >/dev/null || true
    probe wait-gone 20000 >/dev/null || world_fail "the guard did not end on Exit"
    # A virtual desktop's explorer may outlive the guard.
    [ -n "${LW_DESKTOP:-}" ] || wait "$world_guard_pid" 2>/dev/null || true
}

# Ends through its Exit command a guard that another program (the setup) started outside
# LW_DESKTOP's desktop, once its start-up check has put it into the tray: it is nobody's child
# here, so only its window tells that it has ended.
world_end_started_guard() {
    LW_DESKTOP= probe wait-hidden 60000 >/dev/null || world_fail "the started guard did not go into the tray"
    LW_DESKTOP= probe menu exit >/dev/null || true
    LW_DESKTOP= probe wait-gone 20000 >/dev/null || world_fail "the started guard did not end on Exit"
}

# Polls until the command succeeds, for at most the given seconds.
world_until() {
    local seconds=$1
    shift
    local end=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.3
    done
}

# Whether rasctl's listing (read now unless given) shows a connection of, or an entry named, NAME.
world_connected() { grep -q "^connection	[0-9]*	$1	" <<<"${2-$(rasctl list)}"; }
world_has_entry() { grep -q "^entry	$1	" <<<"${2-$(rasctl list)}"; }
# The 32-bit view of the registry, which the guard and the dialer see.
world_run_value() {
    world_wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v "$1" /reg:32 \
            >/dev/null 2>&1
}
# The report's messages, one per line.
world_report_texts() { probe report | cut -d'|' -f2-; }

# Makes the ordinary Linux user that a standard-user run runs Wine as, unless it exists (root
# only). A run beside this one may make it meanwhile.
world_make_user() {
    id -u "$1" >/dev/null 2>&1 || useradd -m "$1" 2>/dev/null || id -u "$1" >/dev/null ||
        world_fail "the user $1 could not be made"
    [ "$(id -u "$1")" -ne 0 ] || world_fail "$1 is root"
}

# Starts an X server that lets every local user in (its socket is open to all), so that an
# ordinary user's programs reach it without root's X authority; exports DISPLAY and sets
# world_xvfb_pid. LW_STANDARD_USER_DISPLAYS lists the display numbers to try (140 to 160).
world_open_display() {
    unset XAUTHORITY
    world_xvfb_pid=""
    local display
    for display in ${LW_STANDARD_USER_DISPLAYS:-$(seq 140 160)}; do
        [ ! -e "/tmp/.X$display-lock" ] || continue
        Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -ac >/dev/null 2>&1 &
        world_xvfb_pid=$!
        if world_until 10 test -S "/tmp/.X11-unix/X$display" && kill -0 "$world_xvfb_pid" 2>/dev/null; then
            export DISPLAY=":$display"
            return 0
        fi
        kill "$world_xvfb_pid" 2>/dev/null || true
        world_xvfb_pid=""
    done
    world_fail "no X server could be started"
}
