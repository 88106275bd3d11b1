#!/usr/bin/env bash
# Checks the release packages that `make package` makes:
#   - the folder holds exactly the three zips and the two installers of this version;
#   - each zip holds one top folder with exactly its program and every file of Graphics and
#     Sounds, the same bytes as in the repository;
#   - every program and installer is a Windows program of its architecture and carries the
#     project's version, and each program is the flavour its zip promises;
#   - under Wine, the 64-bit installer installs silently into Program Files with a Start-menu
#     folder and an uninstall entry, and its uninstaller removes all of it again. (The Wine
#     here runs 64-bit programs only; the 32-bit installer is the same script.)
#
#   Tests/Package/check.sh [FOLDER]     FOLDER defaults to build/packages
#
# Prints one line per check and exits non-zero at the first fault.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
packages=$(realpath "${1:-$repo/build/packages}")
cd "$repo"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

version=$(sed -n 's/^project(Clankmere VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
IFS=. read -r major minor patch <<<"$version"
[ -n "$patch" ] || fail "no major.minor.patch version in CMakeLists.txt"

# shellcheck source=Tools/Automation/wine-env.sh
source "$repo/Tools/Automation/wine-env.sh"

# What every package holds beside its program.
data_files=$(find Graphics Sounds -type f | LC_ALL=C sort)

# FILE's format as binutils names it, e.g. pei-x86-64 or pei-i386.
pe_format() {
    x86_64-w64-mingw32-objdump -f "$1" | sed -n 's/.*file format //p'
}

# FILE is a Windows program of FORMAT whose version resource says this version and, when NAME
# is given, whose original file name is NAME.
check_program() {
    local file=$1 format=$2 name=${3:-} resources
    [ "$(pe_format "$file")" = "$format" ] || fail "$file is not a $format program"
    resources=$(x86_64-w64-mingw32-windres -i "$file" -O rc) ||
        fail "cannot read the resources of $file"
    local expected=(
        "FILEVERSION $major, $minor, $patch, 0"
        "PRODUCTVERSION $major, $minor, $patch, 0"
        "VALUE \"FileVersion\", \"$version\""
        "VALUE \"ProductVersion\", \"$version\""
    )
    if [ -n "$name" ]; then
        expected+=("VALUE \"OriginalFilename\", \"$name\"")
    fi
    local line
    for line in "${expected[@]}"; do
        grep -qF "$line" <<<"$resources" || fail "$file lacks $line in its version resource"
    done
}

# FOLDER holds exactly the given programs and the repository's Graphics and Sounds.
check_installed_files() {
    local folder=$1 expected actual
    shift
    expected=$(printf '%s\n' "$@" "$data_files" | LC_ALL=C sort)
    actual=$(cd "$folder" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
    if [ "$actual" != "$expected" ]; then
        diff <(echo "$expected") <(echo "$actual") >&2 || true
        fail "$folder does not hold exactly $*, Graphics and Sounds (expected <, found >)"
    fi
    local file
    while IFS= read -r file; do
        cmp -s "$file" "$folder/$file" || fail "$folder/$file differs from $file"
    done <<<"$data_files"
}

# Where check_zip unpacks ZIP.
unpacked() {
    echo "$E2E_WORK/zips/$1"
}

# ZIP holds the single folder TOP_FOLDER with PROGRAM of FORMAT and the data.
check_zip() {
    local zip=$1 top_folder=$2 program=$3 format=$4 folder
    folder=$(unpacked "$zip")
    mkdir -p "$folder"
    (cd "$folder" && cmake -E tar xf "$packages/$zip") || fail "cannot unpack $zip"
    [ "$(ls -A "$folder")" = "$top_folder" ] ||
        fail "$zip does not hold the one top folder $top_folder"
    check_installed_files "$folder/$top_folder" "$program"
    check_program "$folder/$top_folder/$program" "$format" "$program"
    echo "ok $zip: $top_folder/ with $program ($format), Graphics and Sounds"
}

zips=(
    "Clankmere-$version-win64.zip Clankmere-$version-win64 Clankmere.exe pei-x86-64"
    "Clankmere-$version-win32.zip Clankmere-$version-win32 Clankmere.exe pei-i386"
    "Clankmere9x-$version-win32.zip Clankmere-$version-win32 Clankmere9x.exe pei-i386"
)
installers=(
    "Clankmere-$version-win64-setup.exe pei-x86-64"
    "Clankmere-$version-win32-setup.exe pei-i386"
)

expected=$(for entry in "${zips[@]}" "${installers[@]}"; do echo "${entry%% *}"; done |
    LC_ALL=C sort)
found=$(cd "$packages" && find . -mindepth 1 -maxdepth 1 | sed 's|^\./||' | LC_ALL=C sort)
if [ "$found" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$found") >&2 || true
    fail "$packages does not hold exactly the packages of version $version (expected <, found >)"
fi
echo "ok $packages holds the five packages of version $version"

for entry in "${zips[@]}"; do
    # shellcheck disable=SC2086
    check_zip $entry
done

for entry in "${installers[@]}"; do
    read -r installer format <<<"$entry"
    check_program "$packages/$installer" "$format"
    echo "ok $installer: a $format program of version $version"
done

# Installing and uninstalling in a fresh prefix.
e2e_new_prefix "$E2E_WORK/prefix"
installer=Clankmere-$version-win64-setup.exe
install_dir=$WINEPREFIX/drive_c/Program\ Files/Clankmere
start_menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Clankmere
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Clankmere'
settings_key='HKLM\Software\Lantern Hill Software'

wine "$packages/$installer" /S || fail "$installer /S failed"
check_installed_files "$install_dir" Clankmere.exe Uninstall.exe
zipped=$(unpacked "Clankmere-$version-win64.zip")/Clankmere-$version-win64/Clankmere.exe
cmp -s "$install_dir/Clankmere.exe" "$zipped" ||
    fail "the installed Clankmere.exe differs from the one in Clankmere-$version-win64.zip"
for link in Clankmere "Uninstall Clankmere"; do
    [ -f "$start_menu/$link.lnk" ] || fail "no Start-menu shortcut \"$link\""
done
grep -qaF 'C:\Program Files\Clankmere\Clankmere.exe' "$start_menu/Clankmere.lnk" ||
    fail "the Start-menu shortcut does not lead to C:\\Program Files\\Clankmere\\Clankmere.exe"
entry=$(wine reg query "$uninstall_key" /v DisplayVersion | tr -d '\r') ||
    fail "no uninstall entry $uninstall_key"
grep -qE "DisplayVersion +REG_SZ +$version\$" <<<"$entry" ||
    fail "the uninstall entry does not say version $version"
echo "ok $installer /S installs Clankmere.exe, Graphics, Sounds, two shortcuts, an uninstall entry"

# The uninstaller runs on from a copy of itself in the temporary folder: wait until every
# program of the prefix has ended.
wine "$install_dir/Uninstall.exe" /S || fail "Uninstall.exe /S failed"
wineserver -w
[ ! -e "$install_dir" ] || fail "the uninstaller left $install_dir"
[ ! -e "$start_menu" ] || fail "the uninstaller left the Start-menu folder"
for key in "$uninstall_key" "$settings_key"; do
    if wine reg query "$key" >/dev/null 2>&1; then
        fail "the uninstaller left the registry key $key"
    fi
done
echo "ok Uninstall.exe /S removes the program, its folder, the shortcuts and the registry keys"
