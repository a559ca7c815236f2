#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program and waits until its window, found by its caption,
# is on the screen; then closes it. Run it on an X server of its own, as
# smoke_window in tools/common.sh does:
#   packaging/smoke-window.sh [--screenshot FILE] [--check-colours] [--trace-files] [--plant DLL] -- COMMAND...
# --screenshot writes the window's picture to FILE; --check-colours also
# checks that the window background, a square cell and the Encrypt button
# show their colours, and that a picked row shows in all four lists.
# --trace-files (a Windows program under Wine) traces every file the program
# opens until its window is painted, and fails if it reaches outside its own
# folder, Windows' folders and Wine's own files, or looks for qtlogging.ini
# anywhere but its folder. It also sets Qt's variables for the platform,
# scale, font DPI and style, which the program must ignore: the window must
# still show, as it always does.
# --plant (a Windows program under Wine) copies DLL beside the program under
# the names of the DLLs of Windows it loads that are not KnownDLLs, with Wine
# told to prefer them, as Windows would, to its own; it fails if one is
# loaded (it leaves NAME.dll.loaded). Not planted: version and uxtheme, which
# Wine's own DLLs load from the program's folder before the program runs.
# Needs xvfb, xauth, xdotool, imagemagick and python3.
set -euo pipefail
caption='Шифърът на нихилистите – проект по информатика'
checks() { python3 "$(dirname "$0")/smoke-window.py" "$@"; }
screenshot='' check_colours='' trace_files='' plant=''
while [ $# -gt 0 ]; do
    case "$1" in
    --screenshot) screenshot=$2; shift ;;
    --check-colours) check_colours=1 ;;
    --trace-files) trace_files=1 ;;
    --plant) plant=$2; shift ;;
    --) shift; break ;;
    *) echo "usage: $0 [--screenshot FILE] [--check-colours] [--trace-files] [--plant DLL] -- COMMAND..." >&2; exit 2 ;;
    esac
    shift
done
[ $# -gt 0 ] || { echo "no command given" >&2; exit 2; }
# The program: the command's first .exe (Wine's arguments before it, the
# program's after it), else its last word.
program_path=${!#}
for word in "$@"; do case $word in *.exe) program_path=$word && break ;; esac; done

log=$(mktemp)
picture=$(mktemp --suffix=.png)
planted=$(mktemp -d)
# A runtime folder of its own and no session bus: nothing of a desktop this
# runs beside, or of another run, is reached.
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
if [ -n "$trace_files" ]; then
    # Wine logs each file name it resolves, with the process it is for. Qt's
    # plugin variables (Wine passes WINEQT_x on as QT_x) name a folder that
    # holds a DLL, which the program must not even look at.
    export WINEDEBUG=+pid,+loaddll,+file
    mkdir -p "$planted/platforms"
    cp "$(find /usr/lib/x86_64-linux-gnu/wine -name version.dll | head -n 1)" "$planted/platforms/qwindows.dll"
    export WINEQT_PLUGIN_PATH="Z:${planted//\//\\}" WINEQT_QPA_PLATFORM_PLUGIN_PATH="Z:${planted//\//\\}\\platforms"
    export WINEQT_QPA_PLATFORM=offscreen WINEQT_SCALE_FACTOR=2 WINEQT_FONT_DPI=200 WINEQT_STYLE_OVERRIDE=windows
fi
planted_names=(authz d3d9 d3d11 dwmapi dwrite dxgi netapi32 userenv winmm wtsapi32 opengl32 wined3d)
if [ -n "$plant" ]; then
    program_folder=$(dirname "$program_path")
    for name in "${planted_names[@]}"; do cp "$plant" "$program_folder/$name.dll"; done
    overrides="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}$(IFS=,; echo "${planted_names[*]}")=n,b"
    export WINEDLLOVERRIDES=$overrides
fi
"$@" >"$log" 2>&1 &
program=$!
trap 'kill $program 2>/dev/null || true; wait $program 2>/dev/null || true; rm -rf "$log" "$picture"* "$planted" "$runtime"' EXIT

start=${EPOCHREALTIME/./}
for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$program" 2>/dev/null || { echo "The program ended before its window appeared:" >&2; cat "$log" >&2; exit 1; }
    sleep 0.1
done
[ -n "$window" ] || { echo "No window titled \"$caption\" within 60 s. The program said:" >&2; cat "$log" >&2; exit 1; }
echo "The window \"$caption\" appeared after $(((${EPOCHREALTIME/./} - start) / 1000)) ms."
[ -n "$screenshot$check_colours$trace_files" ] || exit 0

snap() { import -window "$window" "$picture"; }
# The window appears before its first paint; wait for the background colour.
for _ in $(seq 50); do
    sleep 0.2
    snap
    [ "$(convert "$picture" -format '%[pixel:p{452,190}]' info:)" = "srgb(192,192,255)" ] && break
done
[ -z "$screenshot" ] || { cp "$picture" "$screenshot" && echo "Screenshot: $screenshot"; }
[ -z "$trace_files" ] || checks trace "$log" "$program_path" "$WINEPREFIX" "$PWD"
if [ -n "$plant" ]; then
    loaded=$(cd "$program_folder" && { ls -- *.loaded 2>/dev/null || true; })
    [ -z "$loaded" ] || { echo "FAIL DLLs planted beside the program were loaded: ${loaded//$'\n'/ }"; exit 1; }
    echo "ok   none of ${#planted_names[@]} DLLs planted beside the program was loaded"
fi
[ -n "$check_colours" ] || exit 0
checks colours "$picture"

# A picked row shows in all four lists, whatever has the focus: Encrypt,
# pick the third row of the code list, then click into the keyword box.
click() { # x y: click there and wait until the window's picture changes
    cp "$picture" "$picture.before.png"
    xdotool mousemove --window "$window" "$1" "$2" click 1
    for _ in $(seq 25); do
        sleep 0.2
        snap
        compare -metric AE "$picture" "$picture.before.png" null: 2>/dev/null || break
    done
}
click 452 136
click 256 177
cp "$picture" "$picture.picked.png"
click 168 45
checks picked-row "$picture.picked.png" "$picture"
