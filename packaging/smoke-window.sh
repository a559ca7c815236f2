#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on a private X server and waits until its window,
# found by its caption, is on the screen; then closes it.
#   packaging/smoke-window.sh [--screenshot FILE] [--check-colours] [--trace-files] -- COMMAND...
# --screenshot writes the window's picture to FILE; --check-colours also
# checks that the window background, a square cell and the Encrypt button
# show their colours, and that a picked row shows in all four lists.
# --trace-files (a Windows program under Wine) traces every file the program
# opens until its window is painted, and fails if it reaches outside its own
# folder, Windows' folders and Wine's own files.
# Needs xvfb, xauth, xdotool, imagemagick and python3.
set -euo pipefail

caption='Шифърът на нихилистите – проект по информатика'
screenshot=
check_colours=0
trace_files=0
while [ $# -gt 0 ]; do
    case "$1" in
    --screenshot) screenshot=$2; shift 2 ;;
    --check-colours) check_colours=1; shift ;;
    --trace-files) trace_files=1; shift ;;
    --) shift; break ;;
    *) echo "usage: $0 [--screenshot FILE] [--check-colours] [--trace-files] -- COMMAND..." >&2; exit 2 ;;
    esac
done
[ $# -gt 0 ] || { echo "no command given" >&2; exit 2; }

if [ -z "${SMOKE_WINDOW_INSIDE:-}" ]; then
    SMOKE_WINDOW_INSIDE=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" \
        ${screenshot:+--screenshot "$screenshot"} $([ $check_colours = 1 ] && echo --check-colours) \
        $([ $trace_files = 1 ] && echo --trace-files) -- "$@"
fi

log=$(mktemp)
picture=$(mktemp --suffix=.png)
planted=$(mktemp -d)
if [ $trace_files = 1 ]; then
    # Wine logs each file name it resolves, with the process it is for. Qt's
    # plugin variables (Wine passes WINEQT_x on as QT_x) name a folder that
    # holds a DLL, which the program must not even look at.
    export WINEDEBUG=+pid,+loaddll,+file
    mkdir -p "$planted/platforms"
    cp "$(find /usr/lib/x86_64-linux-gnu/wine -name version.dll | head -n 1)" "$planted/platforms/qwindows.dll"
    export WINEQT_PLUGIN_PATH="Z:${planted//\//\\}" WINEQT_QPA_PLATFORM_PLUGIN_PATH="Z:${planted//\//\\}\\platforms"
fi
"$@" >"$log" 2>&1 &
program=$!
finish() {
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    rm -rf "$log" "$picture" "$picture".*.png "$planted"
}
trap finish EXIT

start=$(date +%s.%N)
window=
for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1 || true)
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

[ -n "$screenshot" ] || [ $check_colours = 1 ] || [ $trace_files = 1 ] || exit 0

# The window appears before its first paint; wait for the background colour.
for _ in $(seq 50); do
    sleep 0.2
    import -window "$window" "$picture"
    [ "$(convert "$picture" -format '%[pixel:p{452,190}]' info:)" = "srgb(192,192,255)" ] && break
done
[ -n "$screenshot" ] && cp "$picture" "$screenshot" && echo "Screenshot: $screenshot"

# Every file name the program's process resolved, from Wine's trace up to the
# painted window, must lie in the program's folder (or be one of the folders
# above it, or the current one), in Windows' folders, the user's own profile
# or Wine's own files (its DLLs and the fonts it shows as C:\windows\Fonts).
if [ $trace_files = 1 ]; then
    python3 - "$log" "${@: -1}" "$WINEPREFIX" "$PWD" <<'PYTHON'
import os, pwd, re, sys
log, program, prefix, cwd = sys.argv[1:]
# The program as a Unix path or as a Windows one on drive C: or Z:.
drive = re.match(r"([A-Za-z]):[\\/](.*)", program)
if drive:
    root = "" if drive.group(1).lower() == "z" else f"{prefix}/drive_{drive.group(1).lower()}"
    program = root + "/" + drive.group(2).replace("\\", "/")
folder, exe = os.path.split(os.path.realpath(program))
lines = open(log, encoding="utf-8", errors="replace").read().splitlines()
loaded = [l for l in lines if re.search(r"loaddll:.*Loaded L\".*\\\\" + re.escape(exe) + '"', l, re.I)]
if not loaded:
    sys.exit("FAIL file trace: no trace of the program loading " + exe)
pid = loaded[0].split(":")[0]
seen = set()
for line in lines:
    if not line.startswith(pid + ":"):
        continue
    found = re.search(r'nt_to_unix_file_name\w* L"(.*?)" -> "(.*?)"', line)
    missing = re.search(r'nt_to_unix_file_name\w* L"(.*?)" not found in "(.*?)"', line)
    if found:
        path = found.group(2)
    elif missing:
        path = missing.group(2) + "/" + missing.group(1).replace("\\\\", "/")
    else:
        continue
    drive = re.match(re.escape(prefix) + r"/dosdevices/([a-z]):(.*)", path)
    if drive:
        path = drive.group(2) if drive.group(1) == "z" else f"{prefix}/drive_{drive.group(1)}{drive.group(2)}"
    seen.add(os.path.normpath(path if path.startswith("/") else "/" + path))
users = f"{prefix}/drive_c/users/{pwd.getpwuid(os.getuid()).pw_name}"
allowed_trees = [folder, f"{prefix}/drive_c/windows", f"{prefix}/drive_c/programdata", users,
                 "/usr/share/wine", "/usr/share/fonts", "/usr/lib/wine", "/usr/lib/x86_64-linux-gnu/wine"]
allowed_exact = {cwd}
parent = folder
while parent != "/":
    parent = os.path.dirname(parent)
    allowed_exact.add(parent)
def inside(path, tree):
    return path.lower() == tree.lower() or path.lower().startswith(tree.lower().rstrip("/") + "/")
outside = sorted(p for p in seen if p not in allowed_exact and not any(inside(p, t) for t in allowed_trees))
in_folder = sum(inside(p, folder) for p in seen)
if outside:
    print(f"FAIL file trace: {len(outside)} of {len(seen)} paths lie outside the program's folder and Windows' folders:")
    for p in outside:
        print("     " + p)
    sys.exit(1)
print(f"ok   file trace: {len(seen)} paths, {in_folder} in the program's folder, none outside it and Windows' folders")
PYTHON
fi
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

# A picked row shows in all four lists, whatever has the focus. Encrypt, pick
# the third row of the code list, then click into the keyword box. The row's
# colour in the code list while it has the focus is the highlight colour;
# with the focus in the box, that row of every list must still show it.
click() { # x y: click there and wait until the window's picture changes
    cp "$picture" "$picture.before.png"
    xdotool mousemove --window "$window" "$1" "$2" click 1
    for _ in $(seq 25); do
        sleep 0.2
        import -window "$window" "$picture"
        compare -metric AE "$picture" "$picture.before.png" null: 2>/dev/null || break
    done
    rm -f "$picture.before.png"
}
click 452 136
click 256 177
cp "$picture" "$picture.picked.png"
click 168 45
python3 - "$picture.picked.png" "$picture" <<'PYTHON'
import subprocess, sys
def load(path):
    data = subprocess.run(["convert", path, "ppm:-"], capture_output=True, check=True).stdout
    parts = data.split(maxsplit=4)
    width, pixels = int(parts[1]), parts[4]
    return lambda x, y: tuple(pixels[3 * (y * width + x):3 * (y * width + x) + 3])
picked, boxed = load(sys.argv[1]), load(sys.argv[2])
near = lambda p, q: max(abs(a - b) for a, b in zip(p, q)) <= 40
# Lists at x = 2640, 3480, 4320, 5160 twips; the row's colour left of its text.
lists = {"Буква": 176, "Код": 232, "Ключ": 288, "Шифър": 344}
column = [picked(235, y) for y in range(170, 181)]
highlight = tuple(sum(p[i] for p in column) // len(column) for i in range(3))
top = next(y for y in range(177, 128, -1) if not near(picked(235, y - 1), highlight))
bottom = next(y for y in range(177, 260) if not near(picked(235, y), highlight))
if near(highlight, (255, 255, 255)) or near(highlight, (240, 240, 240)):
    sys.exit(f"FAIL the picked row in the focused code list is not highlighted: {highlight}")
failed = False
for name, left in lists.items():
    area = [boxed(x, y) for x in range(left + 3, left + 31) for y in range(top + 1, bottom - 1)]
    share = sum(near(p, highlight) for p in area) / len(area)
    failed |= share < 0.5
    print(f"{'ok  ' if share >= 0.5 else 'FAIL'} picked row, list {name}, focus in a box: "
          f"{share:.0%} of rows {top}-{bottom} in the highlight colour {highlight}")
sys.exit(failed)
PYTHON
