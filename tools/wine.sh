#!/usr/bin/env bash
# Runs the Windows build's programs under Wine (RODELUME_WINE_LOOK=classic: without Wine's own theme;
# RODELUME_WINE_DPI=144: a session whose desktop has that many dots per inch, 150 %, rather than 96).
#   tools/wine.sh session COMMAND...   runs COMMAND with a fresh Wine prefix and a display of its own (Xvfb), which
#                                      every program it starts through this script shares; both go away after it.
#                                      The session's locale is pt_PT.UTF-8, or RODELUME_WINE_LOCALE.
#                                      Within a session, a new one's prefix is the first one's, linked.
#   tools/wine.sh PROGRAM.exe ARGS...  runs the program in the session's prefix, or in a session of its own
set -euo pipefail

if [ "${1:-}" != session ]; then
    [ -n "${RODELUME_WINE_SESSION:-}" ] && exec wine "$@"
    exec "$0" session wine "$@"
fi
shift

work=$(mktemp -d "${TMPDIR:-/tmp}/rodelume-wine.XXXXXX")
xvfb=
cleanup() {
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# -displayfd picks a free display number and writes it once the server takes connections.
# A screen as much larger as its pixels are smaller, so that a scaled window fits as it does at 96 dots per inch.
scale=${RODELUME_WINE_DPI:-96}
Xvfb -displayfd 3 -screen 0 $((1024 * scale / 96))x$((768 * scale / 96))x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 1 200); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || { echo "wine.sh: Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
export DISPLAY=:$(cat "$work/display")

# A Portuguese user's Windows, whose decimal separator is a comma. One locale for every process of the session:
# each Wine process writes its own locale into the prefix's user settings as it starts, so a program started in
# another locale than the prefix's services would see the separator change under it.
export LANG=${RODELUME_WINE_LOCALE:-pt_PT.UTF-8}
export LC_ALL=$LANG
# A session within a session starts from the outer one's prefix, hard-linked but for the files that Wine writes (the
# registry's and the .ini files), which are copied: a second where making a prefix takes ten.
outer=${RODELUME_WINE_SESSION:+${WINEPREFIX:-}}
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installer, no menu entries, and no browser started for an address.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d"
# Debian's Wine looks for the fonts of fonts-wine where they are not; the prefix's Fonts folder it reads.
if [ -n "$outer" ] && [ -f "$outer/system.reg" ]; then
    cp -al "$outer" "$WINEPREFIX"
    for file in "$outer"/*.reg "$outer"/drive_c/windows/*.ini; do
        copy=$WINEPREFIX/${file#"$outer"/}
        rm -f "$copy"
        cp -p "$file" "$copy"
    done
else
    wineboot -i >/dev/null 2>&1
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi

# The window's faces are not free: metric-alike ones stand in for them, as on a Linux desktop. With no window manager
# on the display, windows are left unmanaged: else each hidden window waits two seconds for a manager's answer.
cat >"$work/settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Times New Roman"="Liberation Serif"
"Verdana"="DejaVu Sans"
"Arial"="Liberation Sans"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
REG
# RODELUME_WINE_LOOK=classic turns off Wine's own "Light" theme, whose scroll bar takes milliseconds to draw.
if [ "${RODELUME_WINE_LOOK:-}" = classic ]; then
    printf '\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager]\n"ThemeActive"="0"\n' \
        >>"$work/settings.reg"
fi
# The desktop's scale, where Windows keeps it for the user and Wine for the machine.
if [ -n "${RODELUME_WINE_DPI:-}" ]; then
    dpi=$(printf '%08x' "$RODELUME_WINE_DPI")
    printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%s\n' "$dpi" >>"$work/settings.reg"
    printf '\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\n"LogPixels"=dword:%s\n' \
        "$dpi" >>"$work/settings.reg"
fi
wine regedit /S "$work/settings.reg" >/dev/null 2>&1
# The registry on disk once the server has ended, for the sessions started within this one.
[ -n "$outer" ] || wineserver -w

export RODELUME_WINE_SESSION=1
set +e
"$@"
status=$?
set -e
exit $status
