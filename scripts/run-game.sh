#!/usr/bin/env bash
# Starts the game under Wine. With a display (DISPLAY set) the game opens there and this script
# returns when you quit it. Without one, the game runs in a virtual display for a moment and a
# screenshot of its window is saved to the file this script names.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build/win64
data=${XDG_DATA_HOME:-$HOME/.local/share}/clankmere
install=$data/game
export WINEPREFIX=$data/wine-prefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# The game with its Graphics and Sounds folders, fresh from the build.
cmake --install "$build" --prefix "$install" >/dev/null

if [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "Preparing a Wine prefix for the game in $WINEPREFIX (once)"
    mkdir -p "$data"
    wineboot -i >/dev/null 2>&1
    # Debian's Wine does not find its own fonts otherwise.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    # The next start brings up Wine's desktop on the display the game is given.
    wineserver -k >/dev/null 2>&1 || true
fi

if [ -n "${DISPLAY:-}" ]; then
    cd "$install"
    exec wine Clankmere.exe
fi

shot=$repo/clankmere-screenshot.bmp
number_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
    rm -f "$number_file"
}
trap cleanup EXIT
until [ -s "$number_file" ]; do sleep 0.05; done
export DISPLAY=:$(tr -d '\n' <"$number_file")

echo "No display: running the game in a virtual one."
# Without a 3D renderer: with one, what DirectDraw presents never reaches a virtual display.
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Direct3D]\n"renderer"="no3d"\n' \
    >"$WINEPREFIX/drive_c/renderer.reg"
wine regedit /S 'C:\renderer.reg' >/dev/null 2>&1
# The game's own complaints (Wine finds no sound card) are not shown.
wine "$build/Tools/Shot/clankmere-shot.exe" "$(winepath -w "$install/Clankmere.exe")" \
    "$(winepath -w "$shot")" 2> >(grep -v '^ALSA' >&2)
echo "Screenshot of the game's window (board and status line): $shot"
