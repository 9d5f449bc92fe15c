#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian 12 machine.
# Idempotent: when every package is present it only checks and returns.
set -euo pipefail

need_root() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "setup.sh: run as root (or through sudo) to install: $*" >&2
        exit 1
    fi
}

# g++-mingw-w64-i686-win32 is the Windows build's compiler (cmake/mingw-i686.cmake says why this
# thread model). gcc-mingw-w64-x86-64-win32 builds the 64-bit sample dialer of the 64-bit
# end-to-end run.
# fp-utils brings chmcmd, which compiles the guard's help file; fonts-wine gives Wine the Tahoma
# that the guard's windows are laid out in, and Marlett for window frames (scripts/wine-run.sh
# copies both into each new prefix).
native_pkgs=(cmake ninja-build g++ make googletest libgtest-dev libbenchmark-dev
             g++-mingw-w64-i686 g++-mingw-w64-i686-win32 wine wine64 xvfb xauth xdotool
             imagemagick locales file clang libclang-rt-14-dev binutils-mingw-w64-i686
             gcc-mingw-w64-x86-64-win32 fp-utils fonts-wine
             libz-mingw-w64-dev zlib1g-dev)
i386_pkgs=(wine32:i386)

missing=()
for p in "${native_pkgs[@]}" "${i386_pkgs[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    need_root "${missing[@]}"
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    # A mirror in the middle of a sync can fail one index of many; the others are then still
    # read, and the install below says plainly whether what we need was found.
    for attempt in 1 2 3; do
        apt-get update -qq && break
        echo "setup.sh: apt-get update failed (attempt $attempt of 3)" >&2
        [ "$attempt" -lt 3 ] && sleep 20
    done
    if ! apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
        # wine32:i386 needs each i386 library at the very version of its amd64 twin. When the
        # mirror's update index of one architecture lags behind the other's, that cannot be
        # met; the release's own suite has both at one version, so prefer it then.
        release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
        echo "setup.sh: install failed; trying again with the versions of $release itself" >&2
        apt-get install -y -qq --no-install-recommends -t "$release" "${missing[@]}" >/dev/null
    fi
fi

# A Polish Windows under Wine (code pages 1250 and 852) needs the glibc locale, and a Western
# European one (1252 and 437), which cannot spell every Polish letter, needs en_US.
for loc in pl_PL en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8\$"; then
        need_root "locale $loc.UTF-8"
        sed -i "s/^# *$loc.UTF-8 UTF-8/$loc.UTF-8 UTF-8/" /etc/locale.gen
        grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" >> /etc/locale.gen
        locale-gen >/dev/null
    fi
done
echo "setup.sh: all build and test packages present"
