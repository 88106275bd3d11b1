# What the benchmarks under Wine share, sourced by them (bash, with set -euo pipefail): the
# repository as the current folder, the program and clankmere-timer built (build/win64) with
# the native tools (build/release), the program installed in the scratch folder, and a fresh
# Wine prefix whose server keeps running.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
win_build=build/win64
native_build=build/release

# Built as `make run` builds them, after installing what is missing, so that a fresh clone
# runs the benchmarks too.
echo "Building what the benchmark needs (make deps win64 replay)" >&2
if ! build_log=$(make --no-print-directory deps win64 replay 2>&1); then
    echo "$build_log" >&2
    echo "Cannot build what the benchmark needs." >&2
    exit 1
fi

# shellcheck source=Tools/Automation/wine-env.sh
source "$repo/Tools/Automation/wine-env.sh"

install=$E2E_WORK/install
e2e_install "$install" "$win_build/Clankmere.exe"
timer=$repo/$win_build/clankmere-timer.exe
replay=$repo/$native_build/Tools/Replay/clankmere-replay
e2e_new_prefix "$E2E_WORK/prefix"
data_folder=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Clankmere
mkdir -p "$data_folder"
wineserver -p

# The default settings with the given NAME=VALUE fields changed, stored as the program's and
# written to FILE for the replay tool.
store_settings() { # FILE NAME=VALUE...
    wine "$timer" settings "$(e2e_windows_path "$1")" "${@:2}"
}

# The timer's figures for the installed program; the program's own complaints (Wine finds no
# sound card) go to a log that is shown only when the timer fails.
run_timer() {
    if ! wine "$timer" "$(e2e_windows_path "$install")\\Clankmere.exe" "$@" 2>"$E2E_WORK/timer.log" |
        tr -d '\r'; then
        grep -v '^ALSA' "$E2E_WORK/timer.log" >&2
        exit 1
    fi
}
