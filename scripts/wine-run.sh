#!/usr/bin/env bash
# Runs a Windows program under Wine: the emulator of the cross build's tests and of the demo.
# The prefix belongs to this checkout (build/wineprefix) unless WINEPREFIX says otherwise, so a
# test run never touches a user's own Wine set-up. Headless when there is no display.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/../build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialogs in a fresh prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# A Polish Windows: ANSI code page 1250, OEM code page 852.
export LANG="${LW_WINE_LANG:-pl_PL.UTF-8}"
export LC_ALL="$LANG"

mkdir -p "$WINEPREFIX"
(
    flock 9
    # The stamp is written only after wineboot has finished: a prefix whose creation was
    # interrupted is made anew rather than used half-built.
    if [ ! -f "$WINEPREFIX/.lw-ready" ]; then
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w || true
        # Wine's own Tahoma (the guard's font) and Marlett (the glyphs of window frames' buttons)
        # from Debian's fonts-wine: this Wine does not look for them in its data folder, only in
        # the prefix's font folder, and would fall back to other faces and letters.
        for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
            [ ! -f "/usr/share/wine/fonts/$font" ] ||
                cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
        done
        touch "$WINEPREFIX/.lw-ready"
    fi
) 9>"$WINEPREFIX/../.wineprefix.lock"

# "--prepare" only makes sure the prefix exists, so that a caller can time what follows.
[ "${1:-}" = "--prepare" ] && exit 0

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" wine "$@"
fi
exec wine "$@"
