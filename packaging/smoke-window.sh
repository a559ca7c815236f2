#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on a private X server and waits until its window,
# found by its caption, is on the screen; then closes it.
#   packaging/smoke-window.sh [--screenshot FILE] [--check-colours] -- COMMAND...
# --screenshot writes the window's picture to FILE; --check-colours also
# checks that the window background, a square cell and the Encrypt button
# show their colours. Needs xvfb, xauth, xdotool, imagemagick and python3.
set -euo pipefail

caption='Шифърът на нихилистите – проект по информатика'
screenshot=
check_colours=0
while [ $# -gt 0 ]; do
    case "$1" in
    --screenshot) screenshot=$2; shift 2 ;;
    --check-colours) check_colours=1; shift ;;
    --) shift; break ;;
    *) echo "usage: $0 [--screenshot FILE] [--check-colours] -- COMMAND..." >&2; exit 2 ;;
    esac
done
[ $# -gt 0 ] || { echo "no command given" >&2; exit 2; }

if [ -z "${SMOKE_WINDOW_INSIDE:-}" ]; then
    SMOKE_WINDOW_INSIDE=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" \
        ${screenshot:+--screenshot "$screenshot"} $([ $check_colours = 1 ] && echo --check-colours) -- "$@"
fi

log=$(mktemp)
picture=$(mktemp --suffix=.png)
"$@" >"$log" 2>&1 &
program=$!
finish() {
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    rm -f "$log" "$picture"
}
trap finish EXIT

start=$(date +%s.%N)
window=
for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --name "^${caption//./\\.}\$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    if ! kill -0 "$program" 2>/dev/null; then
        echo "The program ended before its window appeared:" >&2
        cat "$log" >&2
        exit 1
    fi
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "No window titled \"$caption\" within 60 s. The program said:" >&2
    cat "$log" >&2
    exit 1
fi
awk -v caption="$caption" -v start="$start" -v now="$(date +%s.%N)" \
    'BEGIN { printf "The window \"%s\" appeared after %.1f s.\n", caption, now - start }'

[ -n "$screenshot" ] || [ $check_colours = 1 ] || exit 0

# The window appears before its first paint; wait for the background colour.
for _ in $(seq 50); do
    sleep 0.2
    import -window "$window" "$picture"
    [ "$(convert "$picture" -format '%[pixel:p{452,190}]' info:)" = "srgb(192,192,255)" ] && break
done
[ -n "$screenshot" ] && cp "$picture" "$screenshot" && echo "Screenshot: $screenshot"
[ $check_colours = 1 ] || exit 0

# Regions in pixels of the client area at 96 dpi (the layout's twips / 15),
# each shrunk by 3 pixels so that edges and frames do not count. At least
# half of each region must be within a few units of its colour: the letter
# in a cell and the caption on a button cover the rest.
convert "$picture" ppm:- | python3 -c '
import sys
data = sys.stdin.buffer.read()
parts = data.split(maxsplit=4)
width, height = int(parts[1]), int(parts[2])
pixels = parts[4]
def at(x, y):
    i = 3 * (y * width + x)
    return tuple(pixels[i:i + 3])
checks = [
    ("window background", (426, 160, 478, 222), (192, 192, 255)),
    ("square cell, row 1 column 1", (40, 144, 60, 164), (255, 128, 0)),
    ("square cell, row 5 column 5", (136, 240, 156, 260), (255, 128, 0)),
    ("Encrypt button", (408, 120, 497, 153), (0, 255, 0)),
]
tolerance, inset, failed = 6, 3, False
if (width, height) != (504, 424):
    print(f"window is {width}x{height}, expected 504x424")
    failed = True
for name, (left, top, right, bottom), colour in checks:
    area = [at(x, y) for x in range(left + inset, right - inset) for y in range(top + inset, bottom - inset)]
    near = sum(all(abs(a - b) <= tolerance for a, b in zip(p, colour)) for p in area)
    centre = at((left + right) // 2, (top + bottom) // 2 - 8)
    share = near / len(area)
    ok = share >= 0.5
    failed |= not ok
    status = "ok  " if ok else "FAIL"
    print(f"{status} {name}: {share:.0%} of the area is {colour} +-{tolerance} (one pixel: {centre})")
sys.exit(1 if failed else 0)
'
