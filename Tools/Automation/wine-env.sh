# Sourced by the scripts that run Clankmere.exe under Wine: the end-to-end tests, the package
# check and the benchmarks (bash, with set -euo pipefail in force).
#
# Gives the caller a private X display, the Wine environment, a template prefix that is built
# once per machine and Wine version, and cheap per-test clones of it. Everything started here
# is stopped when the calling shell exits.
#
#   e2e_new_prefix DIR   makes DIR a fresh prefix and exports WINEPREFIX=DIR
#   e2e_stop_prefix DIR  stops the Wine server of DIR (it also writes the registry out)
#   e2e_install DIR PROGRAM...  puts the programs into DIR with the Graphics and Sounds folders
#   e2e_replay_positions REPLAY DIR RECORD...  copies the game records into DIR, with NAME.K.board,
#                        the position the replay tool REPLAY reaches after the first K moves
#   e2e_gif_last_frame INSTALL DIR NAME [PREFS]  the last frame of the GIF that INSTALL's
#                        clankmere-replay.exe makes of DIR/NAME.txt (under Wine, with INSTALL's
#                        Graphics and the settings file PREFS), as a decoder that is not ours
#                        shows it, in DIR/NAME.gif-last.bmp, or DIR/NAME-<PREFS name>.gif-last.bmp
#   e2e_start_display [DEPTH]  starts another private X display (default 24 bits per pixel)
#   E2E_WORK             a scratch folder that is removed at exit (kept with E2E_KEEP=1)

export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

e2e_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/clankmere-e2e.XXXXXX")
e2e_xvfb_pids=()
e2e_prefixes=()

e2e_stop_prefix() {
    WINEPREFIX=$1 wineserver -k >/dev/null 2>&1 || true
}

e2e_cleanup() {
    local prefix pid
    for prefix in "${e2e_prefixes[@]}"; do
        e2e_stop_prefix "$prefix"
    done
    for pid in "${e2e_xvfb_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if [ "${E2E_KEEP:-0}" = 1 ]; then
        echo "Kept $E2E_WORK" >&2
    else
        rm -rf "$E2E_WORK"
    fi
}
trap e2e_cleanup EXIT

# A private X server; it tells its display number through file descriptor 3.
e2e_start_display() {
    local depth=${1:-24} tries=0
    local number_file=$E2E_WORK/display.$depth
    : >"$number_file"
    Xvfb -displayfd 3 -screen 0 "1024x768x$depth" -nolisten tcp -noreset 3>"$number_file" \
        >"$E2E_WORK/xvfb.$depth.log" 2>&1 &
    local pid=$!
    e2e_xvfb_pids+=("$pid")
    until [ -s "$number_file" ]; do
        if ! kill -0 "$pid" 2>/dev/null || [ $((tries += 1)) -gt 200 ]; then
            echo "Xvfb did not start:" >&2
            cat "$E2E_WORK/xvfb.$depth.log" >&2
            return 1
        fi
        sleep 0.05
    done
    export DISPLAY=:$(tr -d '\n' <"$number_file")
}

e2e_install() {
    local dir=$1
    shift
    mkdir -p "$dir"
    cp "$@" "$dir/"
    cp -r "$e2e_repo/Graphics" "$e2e_repo/Sounds" "$dir/"
}

e2e_replay_positions() {
    local replay=$1 games=$2 record name time_line moves k
    shift 2
    mkdir -p "$games"
    for record in "$@"; do
        name=$(basename "$record" .txt)
        cp "$record" "$games/"
        time_line=$(grep -a '^Time:' "$record" | tr -d '\r')
        moves=$(grep -a '^Moves:' "$record" | tr -d '\r' | cut -f2)
        for ((k = 0; k <= ${#moves}; k++)); do
            printf '%s\r\nScore:\t0\r\nPlatform:\tx\r\nMoves:\t%s\r\n' "$time_line" "${moves:0:k}" \
                >"$games/prefix.tmp"
            "$replay" "$games/prefix.tmp" >"$games/$name.$k.board"
        done
    done
    rm -f "$games/prefix.tmp"
}

e2e_gif_last_frame() {
    local install=$1 games=$2 name=$3 prefs=${4:-} gif=$3 options=()
    if [ -n "$prefs" ]; then
        cp "$prefs" "$games/"
        gif=$name-$(basename "$prefs" .prefs)
        options=(--prefs "$(e2e_windows_path "$games/$(basename "$prefs")")")
    fi
    e2e_new_prefix "$E2E_WORK/gif-prefix-$gif"
    wine "$install/clankmere-replay.exe" "${options[@]}" \
        --gif "$(e2e_windows_path "$games")\\$gif.gif" "$(e2e_windows_path "$games/$name.txt")" ||
        return
    e2e_stop_prefix "$WINEPREFIX"
    /usr/bin/python3 "$e2e_repo/Tests/decode-gif.py" "$games/$gif.gif" "$games" -1 >/dev/null &&
        mv "$games/frame--1.bmp" "$games/$gif.gif-last.bmp"
}

e2e_windows_path() {
    local path
    path=$(realpath "$1")
    echo "Z:${path//\//\\}"
}

e2e_build_template() {
    local template=$1 staging=$1.staging.$$ link
    rm -rf "$staging"
    echo "Building the Wine template prefix in $template (once per machine)" >&2
    WINEPREFIX=$staging wineboot -i >/dev/null 2>&1
    # Settings every test prefix shares: a virtual desktop, so that focus, activation and the
    # captions and menus that Wine draws do not depend on a window manager; no crash dialog
    # that would block a run; no 3D renderer (DirectDraw draws the same pixels, faster).
    cat >"$staging/drive_c/settings.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Direct3D]
"renderer"="no3d"
EOF
    WINEPREFIX=$staging wine regedit /S 'C:\settings.reg' >/dev/null 2>&1
    rm "$staging/drive_c/settings.reg"
    e2e_stop_prefix "$staging"
    # Debian's Wine does not find its own fonts otherwise; dialogs and captions would be drawn
    # with other sizes.
    cp /usr/share/wine/fonts/* "$staging/drive_c/windows/Fonts/"
    # Desktop, Documents and the like link to the real home folder; nothing a test does may
    # reach it.
    find "$staging/drive_c/users" -maxdepth 2 -type l -print0 |
        while IFS= read -r -d '' link; do
            rm "$link"
            mkdir "$link"
        done
    mv "$staging" "$template"
}

# The template is rebuilt when the Wine version changes; concurrent suites wait for one build.
e2e_prepare_template() {
    local version
    version=$(wine --version | tr -c 'A-Za-z0-9.\n-' '_')
    local cache=${XDG_CACHE_HOME:-$HOME/.cache}/clankmere-wine
    mkdir -p "$cache"
    E2E_TEMPLATE=$cache/$version
    (
        flock 9
        [ -d "$E2E_TEMPLATE" ] || e2e_build_template "$E2E_TEMPLATE"
    ) 9>"$cache/lock"
}

# Copies the template, hard-linking the big folders that Wine only reads (about 0.1 s instead
# of 1.5 s for a full copy).
e2e_new_prefix() {
    local prefix=$1 entry copied=() linked=()
    for entry in "$E2E_TEMPLATE"/{*,.[!.]*,drive_c/*,drive_c/windows/*}; do
        entry=${entry#"$E2E_TEMPLATE"/}
        case $entry in
        drive_c | drive_c/windows | '.[!.]*') ;;
        drive_c/windows/system32 | drive_c/windows/winsxs | drive_c/windows/Fonts)
            linked+=("$entry")
            ;;
        *) copied+=("$entry") ;;
        esac
    done
    mkdir -p "$prefix"
    (cd "$E2E_TEMPLATE" && cp -a --parents "${copied[@]}" "$prefix/" &&
        cp -al --parents "${linked[@]}" "$prefix/")
    e2e_prefixes+=("$prefix")
    export WINEPREFIX=$prefix
}

e2e_start_display
e2e_prepare_template
