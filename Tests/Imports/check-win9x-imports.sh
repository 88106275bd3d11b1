#!/usr/bin/env bash
# Checks that a program of the zip for Windows 95 and 98 imports nothing those systems lack:
# every import of the executable must be listed in win9x-imports.txt beside this script.
#
#   Tests/Imports/check-win9x-imports.sh build/win32/Clankmere9x.exe
set -euo pipefail

program=$1
allowed=$(dirname "${BASH_SOURCE[0]}")/win9x-imports.txt

# objdump lists each DLL as "DLL Name: X" followed by its functions as "vma hint name".
imports=$(x86_64-w64-mingw32-objdump -p "$program" | awk '
    /^\tDLL Name:/ { dll = toupper($3); next }
    dll && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll " " $3 }' | sort -u)
if [ -z "$imports" ]; then
    echo "$program: no imports found" >&2
    exit 1
fi
unknown=$(comm -23 <(echo "$imports") <(grep -v '^#' "$allowed" | grep . | sort -u))
if [ -n "$unknown" ]; then
    echo "$program imports what Windows 95 and 98 may lack (confirm, then add to $allowed):" >&2
    echo "$unknown" >&2
    exit 1
fi
echo "$program: all $(echo "$imports" | wc -l) imports exist on Windows 95 and 98"
