#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers the scripts share; sourced, not run.

# A command on an X server of its own. Runs started side by side ask
# xvfb-run for different display numbers, so they do not race for one.
#   on_xvfb "WIDTHxHEIGHTxDEPTH [Xvfb options]" COMMAND...
on_xvfb() {
    local screen=$1
    shift
    xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 $screen" "$@"
}

# Windows programs run under Wine, in a prefix of their own that is made once.
# Wine's .NET and browser installers are not needed and are kept from asking.
# Debian puts wine64 in /usr/lib/wine, off the PATH.
wine_setup() {
    export PATH=$PATH:/usr/lib/wine
    wine=$(command -v wine64)
    export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/nihilist-cipher/wine}
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        # Wine makes the prefix but not the folders above it; what it says is
        # shown only when it fails.
        echo "Creating the Wine prefix $WINEPREFIX"
        mkdir -p "$(dirname "$WINEPREFIX")"
        local log
        log=$(mktemp)
        "$wine" wineboot --init >"$log" 2>&1 || { cat "$log" >&2 && exit 1; }
        wineserver -w
        rm -f "$log"
    fi
}

# One value of an MSI's Property table.
#   msi_property MSI NAME
msi_property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }

# The window's check, packaging/smoke-window.sh, at 96 dpi: the pixels it
# looks at are where they are at that resolution.
smoke_window() { on_xvfb "1024x768x24 -dpi 96" "$(dirname "${BASH_SOURCE[0]}")/../packaging/smoke-window.sh" "$@"; }
