#!/usr/bin/env bash
# Runs the end-to-end tests: the real Clankmere.exe under Wine in a private X display, driven by
# the Win32 driver clankmere-e2e.exe, each test in a fresh Wine prefix.
#
#   Tests/E2E/run.sh [TEST...]     all tests, or the named ones
#   Tests/E2E/run.sh --list        the test names
#
# Builds what it needs first (the x86_64 Windows build in build/win64, the native replay tool
# in build/asan). E2E_TIMEOUT sets the seconds one test may take (default 60); E2E_KEEP=1 keeps
# the scratch folder with every prefix and log. Prints one line per test and then
# "N passed, N failed"; exits non-zero when a test failed or nothing could run.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$repo"
timeout_seconds=${E2E_TIMEOUT:-60}
win_build=build/win64
native_build=build/asan

bash scripts/install-deps.sh

# Each step is checked: `set -e` does not stop a function called as a condition.
build() {
    if [ ! -f "$win_build/build.ninja" ]; then
        cmake -S . -B "$win_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake >/dev/null || return
    fi
    cmake --build "$win_build" >/dev/null || return
    if [ ! -f "$native_build/build.ninja" ]; then
        cmake -S . -B "$native_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
            -DCLANKMERE_SANITIZE=ON >/dev/null || return
    fi
    cmake --build "$native_build" --target clankmere-replay >/dev/null
}
if ! build_log=$(build 2>&1); then
    echo "$build_log" >&2
    echo "Cannot build what the end-to-end tests need." >&2
    exit 1
fi

driver=$repo/$win_build/clankmere-e2e.exe
# The programs stand at the top of the build tree, beside their Graphics and Sounds.
game=$repo/$win_build/Clankmere.exe
replay=$repo/$native_build/Tools/Replay/clankmere-replay
if [ ! -f "$game" ] || [ ! -f "$repo/$win_build/Clankmere9x.exe" ]; then
    echo "The build made no Clankmere.exe and Clankmere9x.exe." >&2
    exit 1
fi

# shellcheck source=Tools/Automation/wine-env.sh
source "$repo/Tools/Automation/wine-env.sh"

# The installation every test copies: the program with its Graphics and Sounds folders.
install=$E2E_WORK/install
e2e_install "$install" "$game" "$repo/$win_build/Clankmere9x.exe" \
    "$repo/$win_build/Tests/E2E/Kill/clankmere-kill-writer.exe"

# The game records with the replay tool's positions, which the tests compare the window with.
games=$E2E_WORK/games
e2e_replay_positions "$replay" "$games" Tests/E2E/Games/*.txt

list_tests() {
    e2e_new_prefix "$E2E_WORK/list"
    wine "$driver" --list | tr -d '\r'
    e2e_stop_prefix "$WINEPREFIX"
}

if [ "${1:-}" = --list ]; then
    list_tests
    exit 0
fi
if [ $# -gt 0 ]; then
    tests=("$@")
else
    mapfile -t tests < <(list_tests)
fi

passed=0
failed=0
suite_start=${EPOCHREALTIME/./}
for test in "${tests[@]}"; do
    # Numbered, so that a test named twice runs twice, each time in a folder of its own.
    dir=$E2E_WORK/tests/$((passed + failed + 1))-$test
    mkdir -p "$dir"
    # Each test may remove files from its own copy of the installation (hard links).
    cp -al "$install" "$dir/install"
    e2e_new_prefix "$dir/prefix"
    start=${EPOCHREALTIME/./}
    wineserver -p
    status=0
    timeout "$timeout_seconds" wine "$driver" --run "$test" \
        --game "$(e2e_windows_path "$dir/install")\\Clankmere.exe" \
        --games "$(e2e_windows_path "$games")" >"$dir/output" 2>"$dir/errors" || status=$?
    e2e_stop_prefix "$WINEPREFIX"
    tenths=$(((${EPOCHREALTIME/./} - start) / 100000))
    result=$(tr -d '\r' <"$dir/output" | grep -aE '^(PASS|FAIL) ' | tail -n 1 || true)
    if [ "$status" -eq 124 ]; then
        result="FAIL $test: timed out after $timeout_seconds s"
    elif [ -z "$result" ]; then
        result="FAIL $test: the driver ended with code $status and no result"
    fi
    echo "$result ($((tenths / 10)).$((tenths % 10)) s)"
    if [ "${result%% *}" = PASS ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
done
tenths=$(((${EPOCHREALTIME/./} - suite_start) / 100000))
echo "Suite time $((tenths / 10)).$((tenths % 10)) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
