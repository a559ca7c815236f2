#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The MSI as a school's IT uses it, under Wine: a silent install for all
# users, the installed program on Xvfb, a rebuild of the same version
# installed over it (it must replace it: one entry in Add/Remove Programs),
# then a silent removal that leaves no file, shortcut or uninstall key.
#   packaging/check-windows-msi.sh MSI REBUILT-MSI
# Needs msitools, Wine and what packaging/smoke-window.sh needs.
set -euo pipefail
msi=$(realpath "$1") rebuilt=$(realpath "$2")
# shellcheck source=tools/common.sh
. "$(dirname "$0")/../tools/common.sh"
wine_setup
wineserver=$(command -v wineserver)
fail() { echo "FAIL $*"; exit 1; }
uninstall=HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall
folder="$WINEPREFIX/drive_c/Program Files/Nihilist Cipher"
shortcuts() { find "$WINEPREFIX/drive_c" -path '*/Start Menu/*' -name 'Шифърът на нихилистите.lnk'; }
msiexec() { "$wine" msiexec "$1" "Z:${2//\//\\}" /qn; }
entries() { # the Add/Remove Programs entries named as the program
    local exported
    exported=$(mktemp)
    "$wine" reg export "$uninstall" "$exported" /y >/dev/null
    iconv -f UTF-16 -t UTF-8 "$exported" | grep -c '^"DisplayName"="Шифърът на нихилистите"' || true
    rm -f "$exported"
}
product=$(msi_property "$msi" ProductCode) rebuilt_product=$(msi_property "$rebuilt" ProductCode)
[ "$product" != "$rebuilt_product" ] || fail "the rebuild has the same product code $product"
[ "$(msi_property "$msi" ProductVersion)" = "$(msi_property "$rebuilt" ProductVersion)" ] || fail "the rebuild has another version"

for m in "$msi" "$rebuilt"; do msiexec /x "$m" 2>/dev/null || true; done # what a stopped run may have left
msiexec /i "$msi" || fail "msiexec /i exited with $?"
[ -f "$folder/nihilist-cipher.exe" ] || fail "no $folder/nihilist-cipher.exe"
[ -n "$(shortcuts)" ] || fail "no Start-menu shortcut"
key=$(mktemp)
trap 'rm -f "$key"' EXIT
"$wine" reg export "$uninstall\\$product" "$key" /y >/dev/null || fail "no uninstall key for $product"
entry=$(iconv -f UTF-16 -t UTF-8 "$key")
for value in '"DisplayName"="Шифърът на нихилистите"' '"Publisher"="Шифърът на нихилистите"' \
    '"DisplayVersion"="'"$(msi_property "$msi" ProductVersion)"'"' '"InstallLocation"="C:\\Program Files\\Nihilist Cipher\\"'; do
    grep -qF "$value" <<<"$entry" || fail "the uninstall key lacks $value"
done
echo "ok   installed: $folder, the Start-menu shortcut and the Add/Remove Programs entry"
# Wine's session, started here without a display, must end before the
# program starts on Xvfb.
"$wineserver" -w
smoke_window --check-colours --trace-files -- "$wine" 'C:\Program Files\Nihilist Cipher\nihilist-cipher.exe'

msiexec /i "$rebuilt" || fail "msiexec /i of the rebuild exited with $?"
count=$(entries)
[ "$count" = 1 ] || fail "after installing a rebuild: $count entries in Add/Remove Programs"
! "$wine" reg query "$uninstall\\$product" >/dev/null 2>&1 || fail "the replaced product's key $product is left"
[ -f "$folder/nihilist-cipher.exe" ] || fail "no $folder/nihilist-cipher.exe after the rebuild"
echo "ok   a rebuild of the same version replaced it: one entry in Add/Remove Programs"

msiexec /x "$rebuilt" || fail "msiexec /x exited with $?"
[ ! -e "$folder" ] || fail "$folder is left"
[ -z "$(shortcuts)" ] || fail "the shortcut is left: $(shortcuts)"
[ "$(entries)" = 0 ] || fail "an uninstall entry is left"
echo "ok   removed: no file, shortcut or uninstall key left"
