#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Windows zip as a pupil gets it: one program and no DLL, the
# read-me and licences in CR LF, the program's source as built and how Qt was
# built, and a program that is a stripped GUI executable needing only DLLs
# that come with Windows, loading them from System32 alone, with its icon,
# version information and manifest.
# Given the MSI too, checks that it installs the same files for all users,
# with its shortcut, icon and upgrade code.
# Given the link map, checks that every library linked in has its notice.
#   packaging/check-windows-zip.sh dist/nihilist-cipher-<version>-windows-x86_64.zip [dist/....msi [LINK.map]]
set -euo pipefail
zip=$1
msi=${2:+$(realpath "$2")}
map=${3:-}
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
    licences/Qt/LGPL-3.0.txt licences/Qt/GPL-2.0.txt licences/MinGW-w64/mingw-w64-copyright.txt \
    licences/GCC/gcc-runtime-copyright.txt; do
    check "$file is there" test -s "$dir/$file"
done
check "the read-me is in Bulgarian" grep -q 'Шифърът на нихилистите' "$dir/README.txt"
for text in 'Windows 10, версия 1703 или по-нова, или Windows 11' SmartScreen 'Премахване' 'source\nihilist-cipher-' \
    'само латинските букви A–Z (J като I)'; do
    check "the read-me says: $text" grep -qF "$text" "$dir/README.txt"
done
check "LICENSE.txt is the GPL version 3" grep -q 'GNU GENERAL PUBLIC LICENSE' "$dir/LICENSE.txt"
bare_lf=$(find "$dir" -iname '*.txt' -exec grep -lP '(?<!\r)$' {} + | sed "s|$dir/||" || true)
check "every .txt has CR LF line ends${bare_lf:+ (not: ${bare_lf//$'\n'/ })}" test -z "$bare_lf"
check "Qt's read-me names its source and how it was built" grep -q 'qt6-base.*6\.4\.2+dfsg-10\|qt-mingw\.sh' "$dir/licences/Qt/README.txt"
check "the script that builds Qt is beside it" cmp "$dir/licences/Qt/qt-mingw.sh" "$(dirname "$0")/qt-mingw.sh"
# The program's own source: exactly the files of the checkout it was built
# from (when this runs in one), as they were.
source_zip=$(ls "$dir"/source/nihilist-cipher-*-source.zip 2>/dev/null || true)
check "the program's source is in source/" test -s "$source_zip"
if [ -n "$source_zip" ] && checkout=$(git -C "$(dirname "$0")" rev-parse --show-toplevel 2>/dev/null); then
    mkdir "$scratch/source" "$scratch/checkout"
    unzip -q "$source_zip" -d "$scratch/source"
    git -C "$checkout" ls-files -z | tar -C "$checkout" --null -T - -cf - | tar -C "$scratch/checkout" -xf -
    check "the source is the checkout's files, byte for byte" diff -r "$scratch/checkout" "$scratch"/source/*/
    # Made without git (from the same files, with some that git ignores
    # beside them), the archive has the same shape.
    mkdir -p "$scratch/checkout/node_modules/left" "$scratch/without-git"
    touch "$scratch/checkout/CMakeUserPresets.json" "$scratch/checkout/node_modules/left/index.js"
    cmake -DNIHILIST_SOURCE_DIR="$scratch/checkout" -DNIHILIST_SOURCE_NAME="$(basename "$source_zip" .zip)" \
        -DNIHILIST_STAGING_DIR="$scratch/staging" -DCMAKE_INSTALL_PREFIX="$scratch/without-git" \
        -P "$checkout/packaging/windows/source-archive.cmake" >/dev/null
    names() { unzip -Z1 "$1" | grep -v '/$' | sort; }
    check "made without git, the source archive has the same files and top folder" \
        test "$(names "$source_zip")" = "$(names "$scratch"/without-git/source/*.zip)"
fi

# Each static library the linker took a member from, and the notice that
# covers it, by where it came from: the build folder (relative paths: ours),
# Qt's prefix (its bundled libraries included), GCC's folder (libstdc++,
# libgcc), the mingw-w64 sysroot (its runtime, winpthreads, the import
# libraries) or the delay-loading ones made from those.
if [ -n "$map" ]; then
    linked=$(sed -n '/^Archive member included/,/^Discarded input sections/p' "$map" | grep -o '^[^ (]*\.a(' |
        tr -d '(' | sort -u)
    unlisted='' listed=''
    for library in $linked; do
        folder=$(dirname "$library")
        if [[ $library != /* ]]; then
            notice=LICENSE.txt
        elif [ -f "$folder/cmake/Qt6/Qt6Config.cmake" ] || [ -f "$folder/../../lib/cmake/Qt6/Qt6Config.cmake" ]; then
            notice=licences/Qt/qt6-base-copyright.txt
        elif [[ $library == */x86_64-w64-mingw32/lib/*.a || $library == */delay-loaded/*.a ]]; then
            notice=licences/MinGW-w64/mingw-w64-copyright.txt
        elif [[ $library == /usr/lib/gcc/x86_64-w64-mingw32/* ]]; then
            notice=licences/GCC/gcc-runtime-copyright.txt
        else
            notice=
        fi
        if [ -n "$notice" ] && [ -s "$dir/$notice" ]; then
            listed+="$notice $(basename "$library")"$'\n'
        else
            unlisted+=" $library"
        fi
    done
    check "a notice for each of the $(wc -w <<<"$linked") libraries linked in${unlisted:+ (none for:$unlisted)}" \
        test -z "$unlisted"
    sort <<<"$listed" | awk 'NF { names[$1] = names[$1] " " $2 } END { for (n in names) print "     " n ":" names[n] }'
    for part in gdtoa winpthreads; do
        check "the MinGW-w64 notice covers $part" grep -q "mingw-w64-[a-z]*/$part/" "$dir/licences/MinGW-w64/mingw-w64-copyright.txt"
    done
    check "the GCC notice has the runtime library exception" \
        grep -q 'GCC RUNTIME LIBRARY EXCEPTION' "$dir/licences/GCC/gcc-runtime-copyright.txt"
fi

headers=$("$objdump" -p "$exe")
check "x86-64 executable" grep -q 'file format pei-x86-64' <<<"$headers"
check "GUI subsystem (no console)" grep -q 'Subsystem.*(Windows GUI)' <<<"$headers"
sections=$("$objdump" -h "$exe")
check "stripped: no symbol table" grep -q 'no symbols' <<<"$("$objdump" -t "$exe")"
check "stripped: no debug sections" test -z "$(grep '\.debug' <<<"$sections")"
# Everything else is linked in: Qt, the C++ runtime, winpthreads. What the
# program imports when it starts are KnownDLLs, which Windows takes from
# System32 alone, and API sets, which name no file; the other DLLs of Windows
# are delay-loaded (see cmake/SystemDlls.cmake).
imports=$(grep 'DLL Name:' <<<"$headers" | awk '{print $3}')
foreign=$(grep -viE \
    '^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|imm32|ws2_32|shlwapi|shcore|msvcrt|api-ms-win-[a-z0-9-]+)\.dll$' \
    <<<"$imports" || true)
check "imports at start only KnownDLLs and API sets${foreign:+ (not: ${foreign//$'\n'/ })}" test -z "$foreign"
echo "     imported at start: ${imports//$'\n'/ }"
# The load configuration table, found through entry 10 of the data
# directory as objdump reads it: its DependentLoadFlags must be
# LOAD_LIBRARY_SEARCH_SYSTEM32. Entry 13 is the delay-import directory, where
# tools look for the DLLs loaded late. What objdump does not decode (the load
# flags, the binary version block, the version information's UTF-16 text)
# comes from the PE parser the build patches the header with.
read -r table table_size < <(awk '/^Entry a /{print "0x" $3, "0x" $4}' <<<"$headers")
delay_imports=$(awk '/^Entry d /{print "0x" $2}' <<<"$headers")
facts=$(python3 "$(dirname "$0")/../cmake/pe-directories.py" --show "$exe")
{ read -r load_flags && read -r fixed && version_text=$(cat); } <<<"$facts"
check "a load configuration table of at least 80 bytes" test $((${table:-0})) -gt 0 -a $((${table_size:-0})) -ge 80
check "load flags: the DLLs it imports from System32 alone" test "$load_flags" = 0x0800
resources=$(sed -n '/The .rsrc Resource Directory/,/^$/p' <<<"$headers")
check "icon (RT_GROUP_ICON IDI_ICON1)" grep -q 'name: .*IDI_ICON1' <<<"$resources"
# A group icon is 6 bytes and 14 per image: 16, 24, 32, 48 and 256 pixels.
group_size=$(grep -A3 'name: .*IDI_ICON1' <<<"$resources" | sed -n 's/.*Leaf: .*Size: \(0x[0-9a-f]*\).*/\1/p')
check "the icon holds five sizes" test $(((${group_size:-6} - 6) / 14)) = 5
check "version information (RT_VERSION)" grep -q 'ID: 0x000010' <<<"$resources"
# The entries that lead to a resource itself (no subdirectory) are its languages.
languages=$(sed -n 's/.*Entry: ID: \(0x[0-9a-f]*\), Value: 0x[0-7][0-9a-f]*$/\1/p' <<<"$resources" | sort -u)
check "every resource tagged Bulgarian (found: ${languages//$'\n'/ })" test "$languages" = 0x000402
check "the delay-import directory lists the delay-loaded DLLs" test $((${delay_imports:-0})) -gt 0
check "manifest (RT_MANIFEST)" grep -q 'ID: 0x000018' <<<"$resources"
check "per-monitor DPI awareness in the manifest" grep -q 'PerMonitorV2' "$exe"
# The read-me asks for Windows 10 1703 or later; the manifest claims no older Windows.
check "the manifest names Windows 10 and 11 alone" test "$(grep -ao 'supportedOS Id="[^"]*"' "$exe" | sort -u)" \
    = 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"'
for text in "Учебна програма" "CompanyName" "VS_VERSION_INFO"; do
    check "$text in the version information" grep -qF "$text" <<<"$version_text"
done
check "no web address in the version information" test -z "$(grep -F 'www.' <<<"$version_text")"
# The version in three parts (1.0 is 1.0.0) everywhere: the texts, the
# binary block's file and product versions (as four numbers, the last 0)
# and the MSI's ProductVersion, which Add/Remove Programs shows.
version=$(sed -n 's/^nihilist-cipher-\(.*\)-windows.*/\1/p' <<<"$top")
[[ $version == *.*.* ]] || version=$version.0
for field in FileVersion ProductVersion; do
    check "$field $version in the version information" grep -qP "$field\Q$version\E(?![.0-9])" <<<"$version_text"
done
check "the binary version block says $version.0 for file and product (found: $fixed)" test "$fixed" = "$version.0 $version.0"

if [ -n "$msi" ]; then
    # shellcheck source=tools/common.sh
    . "$(dirname "$0")/../tools/common.sh"
    property() { msi_property "$msi" "$1"; }
    # grep reads the whole export: with -q it could stop early, and the
    # writer's broken pipe would fail the check under pipefail.
    table() { msiinfo export "$msi" "$1" | grep "$2" >/dev/null; }
    check "MSI: for all users (ALLUSERS=1)" test "$(property ALLUSERS)" = 1
    check "MSI: the product's name and publisher" test "$(property ProductName)/$(property Manufacturer)" \
        = "Шифърът на нихилистите/Шифърът на нихилистите"
    check "MSI: the version, $version" test "$(property ProductVersion)" = "$version"
    check "MSI: Add/Remove Programs gets the install folder" table CustomAction \
        $'^SetInstallLocation\t51\tARPINSTALLLOCATION\t\\[INSTALLDIR\\]'
    check "MSI: the upgrade code that every version keeps" test "$(property UpgradeCode)" = '{a2a9cca8-cded-41b6-9d61-7d10e6782f70}'
    check "MSI: a later version replaces an earlier one" table Upgrade WIX_UPGRADE_DETECTED
    # Attributes 513: migrate features, and the maximum, this version, included.
    check "MSI: a rebuild of this version replaces it too" table Upgrade \
        $'\t'"$(property ProductVersion)"$'\t\t513\t\tWIX_UPGRADE_DETECTED'
    summary=$(msiinfo suminfo "$msi")
    check "MSI: the summary in Bulgarian (x64;1026)" grep -qx 'Template: x64;1026' <<<"$summary"
    check "MSI: the summary's comments in Bulgarian" grep -q '^Comments: Учебна програма' <<<"$summary"
    check "MSI: the icon in Add/Remove Programs" test "$(property ARPPRODUCTICON)" = icon.ico
    check "MSI: Start-menu shortcut with its name and icon" table Shortcut \
        $'^StartMenuShortcut\tProgramMenuFolder\t[^\t]*Шифърът на нихилистите\t.*\ticon\\.ico\t'
    check "MSI: into Program Files" table Directory $'^INSTALLDIR\tProgramFiles64Folder\t'

    unpacked=$scratch/msi
    mkdir "$unpacked"
    (cd "$unpacked" && msiextract "$msi" >/dev/null)
    installed=$(find "$unpacked" -type d -name 'Nihilist Cipher' | head -n 1)
    check "MSI: the same files as the zip" diff -r "$dir" "$installed"
    echo "$(basename "$msi"): $(stat -c %s "$msi") bytes"
fi
echo "nihilist-cipher.exe: $(stat -c %s "$exe") bytes; zip: $(stat -c %s "$zip") bytes"
[ "$failures" -eq 0 ]
