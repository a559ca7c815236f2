#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Windows zip as a pupil gets it: one program and no DLL, the
# read-me and licences, and a program that is a stripped GUI executable
# needing only DLLs that come with Windows, with its icon, version
# information and DPI-aware manifest.
#   packaging/check-windows-zip.sh dist/nihilist-cipher-<version>-windows-x86_64.zip
set -euo pipefail
zip=$1
objdump=x86_64-w64-mingw32-objdump
failures=0
check() { # description, then a command that must succeed
    local what=$1
    shift
    if "$@" >/dev/null 2>&1; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unzip -q "$zip" -d "$scratch"
top=$(basename "$zip" .zip)
dir=$scratch/$top
exe=$dir/nihilist-cipher.exe

check "one folder, $top, in the zip" test "$(ls "$scratch")" = "$top"
check "exactly one .exe and no .dll" test "$(find "$dir" -iname '*.exe' -o -iname '*.dll' | wc -l)" = 1
for file in README.txt LICENSE.txt licences/Qt/README.txt licences/Qt/qt6-base-copyright.txt \
    licences/Qt/LGPL-3.0.txt licences/Qt/GPL-2.0.txt; do
    check "$file is there" test -s "$dir/$file"
done
check "the read-me is in Bulgarian" grep -q 'Шифърът на нихилистите' "$dir/README.txt"
check "LICENSE.txt is the GPL version 3" grep -q 'GNU GENERAL PUBLIC LICENSE' "$dir/LICENSE.txt"

headers=$("$objdump" -p "$exe")
check "x86-64 executable" grep -q 'file format pei-x86-64' <<<"$headers"
check "GUI subsystem (no console)" grep -q 'Subsystem.*(Windows GUI)' <<<"$headers"
symbols=$("$objdump" -t "$exe")
sections=$("$objdump" -h "$exe")
check "stripped: no symbol table" grep -q 'no symbols' <<<"$symbols"
check "stripped: no debug sections" bash -c '! grep -q "\.debug" <<<"$1"' - "$sections"
# Everything else is linked in: Qt, the C++ runtime, winpthreads.
foreign=$(grep 'DLL Name:' <<<"$headers" | awk '{print $3}' | grep -viE \
    '^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|imm32|winmm|ws2_32|version|uxtheme|dwmapi|shlwapi|shcore|userenv|netapi32|authz|wtsapi32|d3d9|d3d11|dxgi|dwrite|msvcrt|api-ms-win-[a-z0-9-]+)\.dll$' || true)
check "imports only DLLs that come with Windows${foreign:+ (not: $(echo $foreign))}" test -z "$foreign"
resources=$(sed -n '/The .rsrc Resource Directory/,/^$/p' <<<"$headers")
check "icon (RT_GROUP_ICON IDI_ICON1)" grep -q 'name: .*IDI_ICON1' <<<"$resources"
check "version information (RT_VERSION)" grep -q 'ID: 0x000010' <<<"$resources"
check "manifest (RT_MANIFEST)" grep -q 'ID: 0x000018' <<<"$resources"
check "per-monitor DPI awareness in the manifest" grep -q 'PerMonitorV2' "$exe"
check "Bulgarian description in the version information" python3 -c \
    'import sys; sys.exit("Учебна програма".encode("utf-16-le") not in open(sys.argv[1], "rb").read())' "$exe"
echo "nihilist-cipher.exe: $(stat -c %s "$exe") bytes; zip: $(stat -c %s "$zip") bytes"
[ "$failures" -eq 0 ]
