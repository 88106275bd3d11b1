#!/usr/bin/env bash
# Prints how long each animation of Clankmere.exe takes under Wine, measured from outside by
# clankmere-animation-timer, against the program's timing rules; the time to draw and present
# one robots' frame of a crowded board; and the CPU share the program takes while idle and
# during each animation. Figures only; the targets are every duration within 5 % of its rule,
# a frame of 555 robots under 8 ms and under 1 % CPU while idle, also with smoldering heaps.
#
#   Bench/animations-under-wine.sh [--quick] [RUNS]
#
# RUNS runs of each animation (default 3). --quick makes one run of each and shortens the idle
# minute to 10 s. Builds what it needs (build/win64, and the replay tool in build/asan). Each
# scenario is a saved game that the program resumes, with the replay tool's positions before
# and after the move that the timer posts.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
runs=3
idle_seconds=60
if [ "${1:-}" = --quick ]; then
    runs=1
    idle_seconds=10
    shift
fi
runs=${1:-$runs}
win_build=build/win64
native_build=build/asan

cmake --build "$win_build" --target Clankmere clankmere-animation-timer clankmere_data >/dev/null
cmake --build "$native_build" --target clankmere-replay >/dev/null

# shellcheck source=Tools/Automation/wine-env.sh
source "$repo/Tools/Automation/wine-env.sh"

install=$E2E_WORK/install
e2e_install "$install" "$win_build/Clankmere.exe"
timer=$repo/$win_build/clankmere-animation-timer.exe
replay=$repo/$native_build/Tools/Replay/clankmere-replay

e2e_new_prefix "$E2E_WORK/prefix"
data_folder=$(e2e_data_folder)
wineserver -p

# The 196-byte preferences record: the defaults, then every OFFSET:SIZE:VALUE given.
write_preferences() {
    local out=$1 field offset size value k
    shift
    local -a bytes
    for ((k = 0; k < 196; k++)); do bytes[k]=0; done
    for field in 0:4:0xDEADF007 4:4:104 8:4:8 44:4:10 48:4:2 52:4:1 56:4:1 62:2:1 66:2:1 68:2:1 \
        70:2:1 72:2:1 76:2:5 84:1:1 85:1:1 86:1:1 88:1:1 91:1:1 100:4:0xDEADF007 \
        192:4:0xDEADF007 "$@"; do
        IFS=: read -r offset size value <<<"$field"
        for ((k = 0; k < size; k++)); do
            bytes[offset + k]=$(((value >> (8 * k)) & 255))
        done
    done
    # shellcheck disable=SC2059 # the escapes are the bytes
    printf "$(printf '\\x%02x' "${bytes[@]}")" >"$out"
}

write_record() { # OUT TIME MOVES
    printf 'Time:\t%s\r\nScore:\t0\r\nPlatform:\tWindows\r\nMoves:\t%s\r\n' "$2" "$3" >"$1"
}

# The timer's figures; the program's own complaints (Wine finds no sound card) go to a log that
# is shown only when the timer fails.
run_timer() {
    if ! wine "$timer" "$(e2e_windows_path "$install")\\Clankmere.exe" "$@" 2>"$E2E_WORK/timer.log" |
        tr -d '\r'; then
        grep -v '^ALSA' "$E2E_WORK/timer.log" >&2
        exit 1
    fi
}

# One scenario: SCENARIO TIME PREFIX MOVE [OFFSET:SIZE:VALUE...]. The program resumes the game
# TIME after the moves PREFIX; the timer posts MOVE.
measure() {
    local scenario=$1 time=$2 prefix=$3 move=$4 dir=$E2E_WORK/$1 run
    shift 4
    mkdir -p "$dir"
    write_preferences "$dir/prefs.bin" "$@"
    e2e_store_preferences "$dir/prefs.bin"
    write_record "$dir/before.txt" "$time" "$prefix"
    write_record "$dir/after.txt" "$time" "$prefix$move"
    "$replay" --prefs "$dir/prefs.bin" "$dir/before.txt" >"$dir/before.board"
    "$replay" --prefs "$dir/prefs.bin" "$dir/after.txt" >"$dir/after.board"
    for ((run = 0; run < runs; run++)); do
        cp "$dir/before.txt" "$data_folder/Saved Game.txt"
        run_timer "$scenario" "$(e2e_windows_path "$dir/before.board")" \
            "$(e2e_windows_path "$dir/after.board")" "$move"
    done
}

echo "Animations under Wine, $runs run(s) each: measured, rule, difference, CPU share"
measure step 1663312166 2 2
measure step 1663312247 9 8
measure death 1663312166 251139JK 4
measure teleport 1663312166 251139 T
measure screwdriver 1663312166 251139 S
measure stand 1663331200 5 J
# Robots as many as a level can place (the placement gives up after 1,000 tries, near 450),
# none next to the player, frames without delays.
measure crowd 1663312166 '' 5 78:2:555 64:2:1 90:1:1

echo "CPU while idle (a game under way, so that no demo starts):"
write_preferences "$E2E_WORK/prefs.bin"
e2e_store_preferences "$E2E_WORK/prefs.bin"
write_record "$data_folder/Saved Game.txt" 1663312166 2
run_timer idle "$idle_seconds"

echo "CPU while idle with smoldering heaps (40 heaps on the board):"
write_preferences "$E2E_WORK/prefs.bin" 82:2:40 92:1:1
e2e_store_preferences "$E2E_WORK/prefs.bin"
write_record "$data_folder/Saved Game.txt" 1663312166 2
run_timer idle "$idle_seconds"
