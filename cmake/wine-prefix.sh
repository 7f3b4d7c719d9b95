#!/bin/sh
# Makes a Wine prefix ready for the tests and scripts. Usage: wine-prefix.sh PREFIX
# Run with the display the programs will use (wine-run.sh gives one): it
# tells whether a window manager runs.
#
# Made once, under a lock so that parallel callers wait for one another:
# wineboot, and the window setting. Without a window manager, Wine waits
# about 2 s for one at every closing window; letting Wine manage its windows
# itself there (Managed=N) removes the wait. On a desktop with a window
# manager, windows stay managed.
#
# Then, when no server runs for the prefix: one is started that lingers 30 s
# after its last program (each later start then takes a tenth of a second
# instead of more than one), with Wine's background services started here,
# detached. Started by a program instead, they would inherit its output and
# keep a caller such as CTest waiting on it.
prefix=$(realpath -m "$1")
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine64

# Ready: made, and, where Wine's 32-bit side runs, made after it. A prefix
# made before has no syswow64, and then not even 64-bit programs start in it:
# it is made again. Where the 32-bit side is installed but the machine cannot
# run 32-bit programs, the prefix is made and used by wine64 alone.
wow64=no
"$(dirname "$0")/wine32-check.sh" >/dev/null && wow64=yes
ready='[ -f "$WINEPREFIX/system.reg" ] &&
    { [ '$wow64' = no ] || [ -d "$WINEPREFIX/drive_c/windows/syswow64" ]; }'

if ! eval "$ready"; then
    mkdir -p "$(dirname "$prefix")"
    flock "$prefix.lock" sh -c "$ready"' && exit 0
        if [ -e "$WINEPREFIX" ]; then
            wineserver -k 2>/dev/null || true
            rm -rf "$WINEPREFIX"
        fi
        # By the 64-bit loader: the wineboot command would take the 32-bit
        # one wherever it is installed, also where it cannot run.
        "$1" wineboot -i >/dev/null 2>&1 || exit 1
        # Wine leaves its own fonts (fonts-wine) out of the prefix; the font
        # list of the prefix expects them in C:\windows\Fonts. There the
        # dialogs get the bitmap "MS Sans Serif" that Windows draws them with,
        # not a wider stand-in that makes labels wrap. Left out: TrueType
        # copies of bitmap fonts, which Windows does not have.
        for font in /usr/share/wine/fonts/*.fon tahoma.ttf tahomabd.ttf marlett.ttf symbol.ttf \
            wingding.ttf webdings.ttf; do
            font=/usr/share/wine/fonts/${font#/usr/share/wine/fonts/}
            [ -f "$font" ] && ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
        done
        managed=Y
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" || managed=N
        "$1" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d "$managed" /f >/dev/null 2>&1
        wineserver -w' sh "$wine" </dev/null || { echo "wine-prefix.sh: cannot make $prefix" >&2; exit 1; }
fi

# Succeeds only when it started a new server.
if wineserver -p30 </dev/null >/dev/null 2>&1; then
    "$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
fi
