#!/usr/bin/env bash
# Prints how long each animation of Clankmere.exe takes under Wine, measured from outside by
# clankmere-timer, against the program's timing rules; the time to draw and present one robots'
# frame of a crowded board; and the CPU share the program takes while idle and during each
# animation. Figures only; the targets are every duration within 5 % of its rule, a frame of
# 555 robots under 8 ms and under 1 % CPU while idle, also with smoldering heaps.
#
#   Bench/animations-under-wine.sh [--quick] [RUNS]
#
# RUNS runs of each animation (default 3). --quick makes one run of each and shortens the idle
# minute to 10 s. Builds what it needs (wine-bench.sh). Each scenario is a saved game that the
# program resumes, with the replay tool's positions before and after the move the timer posts.
set -euo pipefail

runs=3
idle_seconds=60
if [ "${1:-}" = --quick ]; then
    runs=1
    idle_seconds=10
    shift
fi
runs=${1:-$runs}
# shellcheck source=Bench/wine-bench.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-bench.sh"

write_record() { # OUT TIME MOVES
    printf 'Time:\t%s\r\nScore:\t0\r\nPlatform:\tWindows\r\nMoves:\t%s\r\n' "$2" "$3" >"$1"
}

# One scenario: SCENARIO TIME PREFIX MOVE [NAME=VALUE...]. The program resumes the game
# TIME after the moves PREFIX; the timer posts MOVE.
measure() {
    local scenario=$1 time=$2 prefix=$3 move=$4 dir=$E2E_WORK/$1 run
    shift 4
    mkdir -p "$dir"
    store_settings "$dir/prefs.bin" "$@"
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
measure crowd 1663312166 '' 5 m_robotsBase=555 m_safeZoneRadius=1 m_untimedAnimation=1

echo "CPU while idle (a game under way, so that no demo starts):"
store_settings "$E2E_WORK/prefs.bin"
write_record "$data_folder/Saved Game.txt" 1663312166 2
run_timer idle "$idle_seconds"

echo "CPU while idle with smoldering heaps (40 heaps on the board):"
store_settings "$E2E_WORK/prefs.bin" m_heapsBase=40 m_smolderingHeaps=1
write_record "$data_folder/Saved Game.txt" 1663312166 2
run_timer idle "$idle_seconds"
