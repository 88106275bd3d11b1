#!/usr/bin/env bash
# Prints how long Clankmere.exe takes under Wine from process start to its first frame on the
# screen: starting a fresh game, and resuming a saved game of 5,000 actions. Figures only; the
# targets are under 300 ms, and under 100 ms more for the resume, once the Wine server runs.
#
#   Bench/startup-under-wine.sh [RUNS]     RUNS starts of each kind (default 7)
#
# Builds what it needs (wine-bench.sh). The saved game is played by the native core under
# settings that let a game last that long, stored in the prefix's registry as well, so that the
# program replays it the same way.
set -euo pipefail

runs=${1:-7}
actions=5000
# shellcheck source=Bench/wine-bench.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-bench.sh"

# The standard robots, up to 555 a level, but a wide screwdriver with plenty in stock: the
# simple player gets far, and the replay crosses hundreds of crowded levels.
store_settings "$E2E_WORK/prefs.bin" m_screwdriverStockMode=1 m_screwdriversPerGame=30000 \
    m_screwdriversPerLevel=5 m_screwdriverRadius=4
echo "Saved game: $("$native_build/Bench/clankmere-bench" long-game "$actions" \
    "$E2E_WORK/prefs.bin" "$E2E_WORK/saved.txt")"
position=$("$replay" --prefs "$E2E_WORK/prefs.bin" "$E2E_WORK/saved.txt")
if ! grep -q '^over: no' <<<"$position"; then
    echo "The replay tool does not find the saved game under way." >&2
    exit 1
fi

# One start; prints the milliseconds to the first frame.
first_frame_ms() {
    run_timer start | sed -n 's/.*first frame \([0-9]*\) ms.*/\1/p'
}

median() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# Minimum, median and maximum.
summary() {
    printf '%s\n' "$@" | sort -n |
        awk '{ v[NR] = $1 } END { printf "min %4d ms, median %4d ms, max %4d ms", v[1], v[int((NR + 1) / 2)], v[NR] }'
}

first_frame_ms >/dev/null # the first start after the server's also loads Wine's own libraries

fresh=()
resumed=()
for ((run = 0; run < runs; run++)); do
    rm -f "$data_folder/Saved Game.txt"
    fresh+=("$(first_frame_ms)")
    cp "$E2E_WORK/saved.txt" "$data_folder/Saved Game.txt"
    resumed+=("$(first_frame_ms)")
    # A resumed game is saved again at close, with this system's name in place of "Windows".
    if grep -q $'^Platform:\tWindows\r$' "$data_folder/Saved Game.txt"; then
        echo "The program did not resume the saved game." >&2
        exit 1
    fi
done

echo "Start to first frame under Wine, $runs starts each:"
echo "  fresh game:              $(summary "${fresh[@]}")"
echo "  resuming $actions actions:  $(summary "${resumed[@]}")"
echo "  the resume adds:         $(($(median "${resumed[@]}") - $(median "${fresh[@]}"))) ms (difference of the medians)"
