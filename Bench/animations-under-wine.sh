#!/usr/bin/env bash
# Prints how long each animation of Clankmere.exe takes under Wine, measured from outside by
# clankmere-timer, against the program's timing rules; the time to draw and present one robots'
# frame of a crowded board; the same animations in a watched game beside those played, with
# the difference; and the CPU share the program takes while idle and during each animation.
# Figures only; the targets are every duration within 5 % of its rule and watched within 2 %
# of played, a frame of 555 robots under 8 ms and under 1 % CPU while idle, also with
# smoldering heaps.
#
#   Bench/animations-under-wine.sh [--quick] [--watched] [RUNS]
#
# RUNS runs of each animation (default 3). --quick makes one run of each and shortens the idle
# minute to 10 s. --watched times only the animations that a watched game shows, played and
# watched. Builds what it needs (wine-bench.sh). Each scenario is a saved game that the program
# resumes, with the replay tool's positions before and after the move the timer posts; watched,
# it is the game of the one row of the High Scores list, played up to the move.
set -euo pipefail

runs=3
idle_seconds=60
watched_only=false
while [ $# -gt 0 ]; do
    case $1 in
    --quick)
        runs=1
        idle_seconds=10
        ;;
    --watched) watched_only=true ;;
    *) break ;;
    esac
    shift
done
runs=${1:-$runs}
# shellcheck source=Bench/wine-bench.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-bench.sh"

write_record() { # OUT TIME MOVES
    printf 'Time:\t%s\r\nScore:\t0\r\nPlatform:\tWindows\r\nMoves:\t%s\r\n' "$2" "$3" >"$1"
}

# A listed game: the one row of "High Scores.txt", ended in the minute after TIME with the
# record's score, and its record alone in "High Score Games", named by its start time (the
# row would take a later record of an earlier scenario for its own).
write_listed_game() { # TIME MOVES
    rm -rf "$data_folder/High Score Games"
    mkdir "$data_folder/High Score Games"
    printf '0\tBench\t1\t%s\r\r\n' $(($1 / 60 + 1)) >"$data_folder/High Scores.txt"
    write_record "$data_folder/High Score Games/hs$1.txt" "$1" "$2"
}

# The folder of a scenario: SCENARIO TIME PREFIX.
scenario_folder() {
    echo "$E2E_WORK/$1-$2-$3"
}

# The timer's figures for a move of the scenario in folder DIR: DIR SCENARIO MOVE [STEPS].
time_move() {
    run_timer "$2" "$(e2e_windows_path "$1/before.board")" \
        "$(e2e_windows_path "$1/after.board")" "${@:3}"
}

# One scenario: SCENARIO TIME PREFIX MOVE [NAME=VALUE...]. The program resumes the game
# TIME after the moves PREFIX; the timer posts MOVE. The figures are also kept in the
# scenario's folder.
measure() {
    local scenario=$1 time=$2 prefix=$3 move=$4 dir run
    dir=$(scenario_folder "$@")
    shift 4
    mkdir -p "$dir"
    store_settings "$dir/prefs.bin" "$@"
    write_record "$dir/before.txt" "$time" "$prefix"
    write_record "$dir/after.txt" "$time" "$prefix$move"
    "$replay" --prefs "$dir/prefs.bin" "$dir/before.txt" >"$dir/before.board"
    "$replay" --prefs "$dir/prefs.bin" "$dir/after.txt" >"$dir/after.board"
    for ((run = 0; run < runs; run++)); do
        cp "$dir/before.txt" "$data_folder/Saved Game.txt"
        time_move "$dir" "$scenario" "$move"
    done | tee "$dir/played.txt"
}

# A measured scenario watched: SCENARIO TIME PREFIX MOVE. The listed game is the record of
# PREFIX and MOVE; the program watches it, plays the actions of PREFIX, then MOVE at the
# normal speed. Prints each figure's median played and watched, and their difference.
measure_watched() {
    local scenario=$1 time=$2 prefix=$3 move=$4 dir actions run
    dir=$(scenario_folder "$@")
    actions=$(printf %s "$prefix" | tr -d '. ')
    store_settings "$dir/prefs.bin"
    write_listed_game "$time" "$prefix$move"
    rm -f "$data_folder/Saved Game.txt"
    for ((run = 0; run < runs; run++)); do
        time_move "$dir" "$scenario" "$move" "${#actions}"
    done >"$dir/watched.txt"
    echo "$scenario, move $move after ${#actions} action(s):"
    compare_figures "$dir/played.txt" "$dir/watched.txt"
}

# Each figure of the timer's lines in PLAYED and in WATCHED, in the order they come: its
# median over the runs in each (a stall of the loaded machine in one run moves a mean), and
# the watched one's difference from the played one.
compare_figures() { # PLAYED WATCHED
    awk '
        # The middle value of the count[file, name] values of a figure, or the mean of the two
        # middle ones.
        function median(file, name, n, i, j, v, sorted) {
            n = count[file, name]
            for (i = 1; i <= n; i++) {
                v = value[file, name, i]
                for (j = i - 1; j >= 1 && sorted[j] > v; j--) {
                    sorted[j + 1] = sorted[j]
                }
                sorted[j + 1] = v
            }
            return (sorted[int((n + 1) / 2)] + sorted[int(n / 2) + 1]) / 2
        }
        {
            name = substr($0, 1, 26)
            fields = split(substr($0, 27), field, " ")
            file = FILENAME == ARGV[1] ? "played" : "watched"
        }
        (fields >= 3 && field[2] == "ms" && field[3] == "rule") || field[1] field[2] == "notseen" {
            if (!(name in known)) {
                known[name] = 1
                order[++names] = name
            }
        }
        fields >= 3 && field[2] == "ms" && field[3] == "rule" {
            value[file, name, ++count[file, name]] = field[1]
        }
        END {
            for (i = 1; i <= names; i++) {
                name = order[i]
                if (!count["played", name] || !count["watched", name]) {
                    printf "%s not seen %s\n", name, count["played", name] ? "watched" : "played"
                    continue
                }
                played = median("played", name)
                watched = median("watched", name)
                printf "%s %7.1f ms %9.1f ms   %+6.1f %%\n", name, played, watched,
                    100 * (watched - played) / played
            }
        }' "$1" "$2"
}

# The scenarios under the standard settings, those a listed game is watched under: COMMAND
# with each one's SCENARIO TIME PREFIX MOVE.
for_each_standard_scenario() { # COMMAND
    "$1" step 1663312166 2 2
    "$1" step 1663312247 9 8
    "$1" death 1663312166 251139JK 4
    "$1" teleport 1663312166 251139 T
    "$1" screwdriver 1663312166 251139 S
    "$1" stand 1663331200 5 J
}

echo "Animations under Wine, $runs run(s) each: measured, rule, difference, CPU share"
for_each_standard_scenario measure
if ! $watched_only; then
    # Robots as many as a level can place (the placement gives up after 1,000 tries, near
    # 450), none next to the player, frames without delays.
    measure crowd 1663312166 '' 5 m_robotsBase=555 m_safeZoneRadius=1 m_untimedAnimation=1
fi

echo "The same animations in a watched game at the normal speed, medians of $runs run(s):"
echo "played, watched, difference (target within 2 %)"
for_each_standard_scenario measure_watched
if $watched_only; then
    exit 0
fi

echo "CPU while idle (a game under way, so that no demo starts):"
store_settings "$E2E_WORK/prefs.bin"
write_record "$data_folder/Saved Game.txt" 1663312166 2
run_timer idle "$idle_seconds"

echo "CPU while idle with smoldering heaps (40 heaps on the board):"
store_settings "$E2E_WORK/prefs.bin" m_heapsBase=40 m_smolderingHeaps=1
write_record "$data_folder/Saved Game.txt" 1663312166 2
run_timer idle "$idle_seconds"
