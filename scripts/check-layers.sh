#!/usr/bin/env bash
# Keeps the layers pointing down: programs (guard/, uninstall/) -> subsystems (dialup/,
# settings/, dialers/) -> port interfaces (platform/) -> shared helpers (common/). Reports every
# #include in the shipped code that points up a layer, every use of a platform folder's own
# headers from outside that folder, and every system header of one operating system in code
# that has to build for both.
#
# Usage: check-layers.sh [source root]
set -eu
cd "${1:-$(dirname "$0")/..}"

# Files that may include Windows headers although their folder is portable.
#   uninstall/UninstallMain.cpp: the uninstaller's WinMain, which only hands the system's ports
#   to the portable flow; the uninstaller has no Win32 code of its own beside it.
windows_allowed=(uninstall/UninstallMain.cpp)

# Headers that exist only on Windows (the SDK's and the Microsoft C library's own).
windows_headers='^(windows|windef|winbase|winuser|wingdi|winreg|winnls|winnt|winerror|winsock2?|ws2tcpip|wininet|winsvc|winver|winioctl|winternl|commctrl|commdlg|shellapi|shlobj|shlwapi|shobjidl|objbase|objidl|ole2|oleauto|olectl|unknwn|ras|raserror|rasdlg|tlhelp32|psapi|mmsystem|tchar|lmcons|richedit|prsht|sddl|aclapi|userenv|wtypes|basetsd|intshcut|uxtheme|dbghelp|imagehlp|setupapi|io|direct|process|conio|mbstring)\.h$'
# Headers of the POSIX system interface that Windows lacks.
posix_headers='^(unistd|dirent|dlfcn|spawn|pthread|poll|termios|pwd|grp|syslog|sys/.*)\.h$'

# Sets rank to the layer of a path: higher ranks may use lower ones, never the reverse;
# siblings may use each other.
set_rank()
{
    case "$1" in
        common/*) rank=0 ;;
        platform/*) rank=1 ;;
        dialup/* | settings/* | dialers/*) rank=2 ;;
        guard/* | uninstall/* | installer/*) rank=3 ;;
        tools/*) rank=4 ;;
        tests/* | fuzz/* | bench/*) rank=5 ;;
        *) rank=-1 ;;
    esac
}

# Sets folder to the platform folder a path lies in, if any: only its own files may include its
# headers, and only it may include that platform's system headers.
set_platform_folder()
{
    case "$1" in
        platform/win32/*) folder=platform/win32 ;;
        guard/win32/*) folder=guard/win32 ;;
        installer/win32/*) folder=installer/win32 ;;
        platform/posix/*) folder=platform/posix ;;
        *) folder="" ;;
    esac
}

is_windows_allowed()
{
    local f
    for f in "${windows_allowed[@]}"; do [ "$f" = "$1" ] && return 0; done
    return 1
}

status=0
fail()
{
    echo "$1: $2"
    status=1
}

while IFS= read -r file; do
    dir=${file%/*}
    set_platform_folder "$file"
    own=$folder
    set_rank "$file"
    file_rank=$rank
    case "$own" in
        platform/win32 | guard/win32 | installer/win32) system=windows ;;
        platform/posix) system=posix ;;
        *) system=portable ;;
    esac
    while IFS= read -r line; do
        number=${line%%:*}
        [[ ${line#*:} =~ include[[:space:]]*[\<\"]([^\>\"]+) ]] || continue
        name=${BASH_REMATCH[1]}
        # A project header: relative to the including file, else to the source root.
        target=""
        if [ -f "$dir/$name" ]; then
            target=$(realpath -m --relative-to=. "$dir/$name")
        elif [ -f "$name" ]; then
            target=$name
        fi
        where="$file:$number"
        if [ -n "$target" ]; then
            set_rank "$target"
            if [ "$rank" -gt "$file_rank" ]; then
                fail "$where" "includes $target from a higher layer"
            fi
            set_platform_folder "$target"
            # The guard's and the setup's Win32 views stand on the Win32 layer, as the program
            # entries do.
            if [ -n "$folder" ] && [ "$folder" != "$own" ] &&
                ! { [[ $own == */win32 ]] && [ "$folder" = platform/win32 ]; }; then
                fail "$where" "includes $target, which belongs to $folder alone"
            fi
            continue
        fi
        lower=${name,,}
        if [[ $lower =~ $windows_headers ]] && [ "$system" != windows ] &&
            ! is_windows_allowed "$file"; then
            fail "$where" "includes the Windows header $name outside the Win32 folders"
        fi
        if [[ $lower =~ $posix_headers ]] && [ "$system" != posix ]; then
            fail "$where" "includes the POSIX header $name outside platform/posix/"
        fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$file" || true)
done < <(find common platform dialup settings dialers guard uninstall installer -type f \
              \( -name '*.h' -o -name '*.hpp' -o -name '*.c' -o -name '*.cpp' -o -name '*.rc' \) |
         LC_ALL=C sort)

[ $status -eq 0 ] && echo "layers: every include points down"
exit $status
