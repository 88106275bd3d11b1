#!/usr/bin/env bash
# Runs the end-to-end tests: the real Clankmere.exe under Wine in a private X display, driven by
# the Win32 driver clankmere-e2e.exe, each test in a fresh Wine prefix.
#
#   Tests/E2E/run.sh [TEST...]     all tests, or the named ones (a test named twice runs twice)
#   Tests/E2E/run.sh --list        the test names
#
# Builds what it needs first (the x86_64 Windows build in build/win64, the native replay tool
# in build/asan). E2E_TIMEOUT sets the seconds one test may take (default 60); E2E_KEEP=1 keeps
# the scratch folder with every prefix and log. Tests named "..._at_16_bits" run on a second
# display of 16 bits per pixel. Prints one line per test and then "N passed, N failed"; exits
# non-zero when a test failed or nothing could run.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$repo"
list_tests() { sed -n 's/^E2E_TEST(\(.*\)) {$/\1/p' Tests/E2E/Driver/*.cpp; }
if [ "${1:-}" = --list ]; then
    list_tests
    exit 0
fi
win_build=$repo/build/win64
native_build=build/asan

bash scripts/install-deps.sh

# Each step is checked: `set -e` does not stop a function called as a condition.
build() {
    [ -f "$win_build/build.ninja" ] || cmake -S . -B "$win_build" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake ||
        return
    cmake --build "$win_build" || return
    [ -f "$native_build/build.ninja" ] || cmake -S . -B "$native_build" -G Ninja \
        -DCMAKE_BUILD_TYPE=Debug -DCLANKMERE_SANITIZE=ON || return
    cmake --build "$native_build" --target clankmere-replay
}
if ! build_log=$(build 2>&1) || [ ! -f "$win_build/Clankmere.exe" ] ||
    [ ! -f "$win_build/Clankmere9x.exe" ]; then
    echo "$build_log" >&2
    echo "Cannot build what the end-to-end tests need." >&2
    exit 1
fi

# shellcheck source=Tools/Automation/wine-env.sh
source "$repo/Tools/Automation/wine-env.sh"

# The installation every test copies: the programs stand at the top of the build tree with their
# Graphics and Sounds folders, and the replay tool goes beside them as in the packages.
install=$E2E_WORK/install
e2e_install "$install" "$win_build/Clankmere.exe" "$win_build/Clankmere9x.exe" \
    "$win_build/clankmere-replay.exe" "$win_build/Tests/E2E/Kill/clankmere-kill-writer.exe"
# The game records with the replay tool's positions, which the tests compare the window with.
games=$E2E_WORK/games
e2e_replay_positions "$native_build/Tools/Replay/clankmere-replay" "$games" Tests/E2E/Games/*.txt
# The last frames of the installed replay tool's GIFs of a record, under the default settings
# and under others, for the test against the game.
e2e_gif_last_frame "$install" "$games" resume
for prefs in Tests/E2E/Games/*.prefs; do
    e2e_gif_last_frame "$install" "$games" resume "$prefs"
done

tests=("$@")
[ $# -gt 0 ] || mapfile -t tests < <(list_tests)

display24=$DISPLAY
display16=
passed=0
failed=0
suite_start=${EPOCHREALTIME/./}
seconds_since() {
    local tenths=$(((${EPOCHREALTIME/./} - $1) / 100000))
    echo "$((tenths / 10)).$((tenths % 10)) s"
}
for test in "${tests[@]}"; do
    DISPLAY=$display24
    if [[ $test == *_at_16_bits ]]; then
        if [ -z "$display16" ]; then
            e2e_start_display 16
            display16=$DISPLAY
        fi
        DISPLAY=$display16
    fi
    # Numbered, so that a test named twice runs in a folder of its own each time.
    dir=$E2E_WORK/tests/$((passed + failed + 1))-$test
    mkdir -p "$dir"
    # Each test may remove files from its own copy of the installation (hard links).
    cp -al "$install" "$dir/install"
    e2e_new_prefix "$dir/prefix"
    start=${EPOCHREALTIME/./}
    wineserver -p
    status=0
    timeout "${E2E_TIMEOUT:-60}" wine "$win_build/clankmere-e2e.exe" --run "$test" \
        --game "$(e2e_windows_path "$dir/install")\\Clankmere.exe" \
        --games "$(e2e_windows_path "$games")" >"$dir/output" 2>"$dir/errors" || status=$?
    e2e_stop_prefix "$WINEPREFIX"
    result=$(tr -d '\r' <"$dir/output" | grep -aE '^(PASS|FAIL) ' | tail -n 1 || true)
    if [ "$status" -eq 124 ]; then
        result="FAIL $test: timed out after ${E2E_TIMEOUT:-60} s"
    elif [ -z "$result" ]; then
        result="FAIL $test: the driver ended with code $status and no result"
    fi
    echo "$result ($(seconds_since "$start"))"
    if [ "${result%% *}" = PASS ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
done
echo "Suite time $(seconds_since "$suite_start")"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
