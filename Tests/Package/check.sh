#!/usr/bin/env bash
# Checks the release packages that `make package` makes: exactly the three zips and the two
# installers of this version; in each zip one top folder with exactly its program, the replay
# tool and the repository's Graphics and Sounds, and in the 9x zip the "Read Me.txt" that says
# what the program needs of Windows 95 and 98; the architecture, version and flavour of every
# program; that the 9x zip's programs import only what Windows 95 and 98 have (win9x-imports.txt);
# and, under Wine, that the 64-bit installer installs silently with its Start-menu folder and
# uninstall entry and that its uninstaller removes all of it again. (The Wine here runs 64-bit
# programs only; the 32-bit installer is the same script.)
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

# Fails with WHAT unless the lists EXPECTED and FOUND agree, showing how they differ.
check_list() {
    [ "$2" = "$3" ] && return
    diff <(echo "$2") <(echo "$3") >&2 || true
    fail "$1 (expected <, found >)"
}

version=$(sed -n 's/^project(Clankmere VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
IFS=. read -r major minor patch <<<"$version"
[ -n "$patch" ] || fail "no major.minor.patch version in CMakeLists.txt"

# shellcheck source=Tools/Automation/wine-env.sh
source "$repo/Tools/Automation/wine-env.sh"

# What every package holds beside its program.
data_files=$(find Graphics Sounds -type f | LC_ALL=C sort)

# FILE is a Windows program of FORMAT (as binutils names it: pei-x86-64, pei-i386) whose
# version resource says this version and, when NAME is given, whose original file name is NAME.
check_program() {
    local file=$1 format=$2 name=${3:-} resources line
    x86_64-w64-mingw32-objdump -f "$file" | grep "file format $format\$" >/dev/null ||
        fail "$file is not a $format program"
    resources=$(x86_64-w64-mingw32-windres -i "$file" -O rc) ||
        fail "cannot read the resources of $file"
    while IFS= read -r line; do
        grep -qF "$line" <<<"$resources" || fail "$file lacks $line in its version resource"
    done <<EOF
FILEVERSION $major, $minor, $patch, 0
PRODUCTVERSION $major, $minor, $patch, 0
VALUE "FileVersion", "$version"
VALUE "ProductVersion", "$version"
${name:+VALUE \"OriginalFilename\", \"$name\"}
EOF
}

# PROGRAM imports nothing that Windows 95 and 98 lack: every import is in win9x-imports.txt.
# objdump lists each DLL as "DLL Name: X" followed by its functions as "vma hint name".
check_win9x_imports() {
    local imports unknown
    imports=$(x86_64-w64-mingw32-objdump -p "$1" | awk '
        /^\tDLL Name:/ { dll = toupper($3); next }
        dll && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll " " $3 }' | sort -u)
    [ -n "$imports" ] || fail "$1: no imports found"
    unknown=$(comm -23 <(echo "$imports") <(grep -v '^#' Tests/Package/win9x-imports.txt | sort -u))
    [ -z "$unknown" ] || fail "$1 imports what Windows 95 and 98 may lack (confirm, then add" \
        "to win9x-imports.txt):"$'\n'"$unknown"
}

# FOLDER holds exactly the given files and the repository's Graphics and Sounds.
check_installed_files() {
    local folder=$1 file
    shift
    check_list "$folder does not hold exactly $*, Graphics and Sounds" \
        "$(printf '%s\n' "$@" "$data_files" | LC_ALL=C sort)" \
        "$(cd "$folder" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"
    while IFS= read -r file; do
        cmp -s "$file" "$folder/$file" || fail "$folder/$file differs from $file"
    done <<<"$data_files"
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

check_list "$packages does not hold exactly the packages of version $version" \
    "$(for entry in "${zips[@]}" "${installers[@]}"; do echo "${entry%% *}"; done | LC_ALL=C sort)" \
    "$(cd "$packages" && find . -mindepth 1 -maxdepth 1 | sed 's|^\./||' | LC_ALL=C sort)"
echo "ok $packages holds the five packages of version $version"

# Each zip holds the single folder TOP with PROGRAM of FORMAT, the replay tool and the data.
for entry in "${zips[@]}"; do
    read -r zip top program format <<<"$entry"
    folder=$E2E_WORK/zips/$zip
    mkdir -p "$folder"
    (cd "$folder" && cmake -E tar xf "$packages/$zip") || fail "cannot unpack $zip"
    [ "$(ls -A "$folder")" = "$top" ] || fail "$zip does not hold the one top folder $top"
    readme=()
    [ "$program" != Clankmere9x.exe ] || readme=("Read Me.txt")
    check_installed_files "$folder/$top" "$program" clankmere-replay.exe "${readme[@]}"
    check_program "$folder/$top/$program" "$format" "$program"
    echo "ok $zip: $top/ with $program ($format), clankmere-replay.exe, ${readme[*]/%/, }Graphics, Sounds"
    if [ "$program" = Clankmere9x.exe ]; then
        cmp -s "Resources/Read Me 9x.txt" "$folder/$top/Read Me.txt" ||
            fail "$zip: its Read Me.txt is not Resources/Read Me 9x.txt"
        check_win9x_imports "$folder/$top/$program"
        check_win9x_imports "$folder/$top/clankmere-replay.exe"
        echo "ok $zip: its programs import only what Windows 95 and 98 have"
    fi
done

for entry in "${installers[@]}"; do
    read -r installer format <<<"$entry"
    check_program "$packages/$installer" "$format"
    echo "ok $installer: a $format program of version $version"
done

# A fresh prefix for the replay tool and the installer.
e2e_new_prefix "$E2E_WORK/prefix"

# The 64-bit zip's replay tool explains a record: one table line per action in Windows line
# ends, sentences that end in the summary, and a missing record on one line with exit code 2.
tool=$E2E_WORK/zips/Clankmere-$version-win64.zip/Clankmere-$version-win64/clankmere-replay.exe
record=Tests/E2E/Games/high-score.txt
moves=$(sed -n 's/^Moves:\t\(.*\)\r$/\1/p' "$record" | tr -d ' .')
table=$(wine "$tool" --explain --tsv "$(e2e_windows_path "$record")") ||
    fail "clankmere-replay.exe --explain --tsv $record failed"
if [ "$(grep -cP '^[1-9TSLKJ]\t[0-9]\t[01]\t[01-]\r$' <<<"$table")" != "${#moves}" ] ||
    [ "$(cut -c1 <<<"$table" | tr -d '\n')" != "$moves" ]; then
    fail "clankmere-replay.exe --explain --tsv printed no line for each move of $moves:"$'\n'"$table"
fi
wine "$tool" --explain "$(e2e_windows_path "$record")" | tail -n 1 |
    grep -qP '^Summary: [0-9]+ actions .*\.\r$' ||
    fail "clankmere-replay.exe --explain printed no summary in a Windows line"
status=0
message=$(wine "$tool" --explain 'C:\no such record.txt' 2>&1 >/dev/null) || status=$?
if [ "$status" != 2 ] || [ "$(wc -l <<<"$message")" != 1 ]; then
    fail "clankmere-replay.exe --explain of a missing record: exit code $status, said: $message"
fi
echo "ok clankmere-replay.exe --explain explains a record and reports a missing one"

# Installing and uninstalling.
installer=Clankmere-$version-win64-setup.exe
install_dir=$WINEPREFIX/drive_c/Program\ Files/Clankmere
start_menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Clankmere
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Clankmere'
settings_key='HKLM\Software\Lantern Hill Software'

wine "$packages/$installer" /S || fail "$installer /S failed"
check_installed_files "$install_dir" Clankmere.exe clankmere-replay.exe Uninstall.exe
zipped=$E2E_WORK/zips/Clankmere-$version-win64.zip/Clankmere-$version-win64/Clankmere.exe
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
echo "ok $installer /S installs Clankmere.exe, the replay tool, data, shortcuts and uninstall entry"

# The uninstaller runs on from a copy of itself in the temporary folder: wait until every
# program of the prefix has ended.
wine "$install_dir/Uninstall.exe" /S || fail "Uninstall.exe /S failed"
wineserver -w
[ ! -e "$install_dir" ] || fail "the uninstaller left $install_dir"
[ ! -e "$start_menu" ] || fail "the uninstaller left the Start-menu folder"
for key in "$uninstall_key" "$settings_key"; do
    ! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstaller left the registry key $key"
done
echo "ok Uninstall.exe /S removes the program, its folder, the shortcuts and the registry keys"
