# SPDX-License-Identifier: GPL-3.0-or-later
"""The checks packaging/smoke-window.sh makes on Wine's file trace and on
pictures of the window (pixels of the client area at 96 dpi).
  smoke-window.py trace LOG PROGRAM WINEPREFIX CWD
  smoke-window.py colours PICTURE
  smoke-window.py picked-row PICKED BOXED"""
import os
import pwd
import re
import subprocess
import sys


def load(path):
    data = subprocess.run(["convert", path, "ppm:-"], capture_output=True, check=True).stdout
    _, width, height, _, pixels = data.split(maxsplit=4)
    width = int(width)
    return (width, int(height)), lambda x, y: tuple(pixels[3 * (y * width + x):3 * (y * width + x) + 3])


def report(ok, text):
    print(("ok   " if ok else "FAIL ") + text)
    return not ok


def near(p, q, tolerance):
    return max(abs(a - b) for a, b in zip(p, q)) <= tolerance


def trace(log, program, prefix, cwd):
    """Every file name the program's process resolved, from Wine's trace up to
    the painted window, must lie in the program's folder (or be a folder above
    it, or the current one), in Windows' folders, the user's own profile or
    Wine's own files (its DLLs and the fonts it shows as C:\\windows\\Fonts)."""
    def unix(drive, rest):
        return (rest if drive.lower() == "z" else f"{prefix}/drive_{drive.lower()}{rest}").replace("\\", "/")
    drive = re.match(r"([A-Za-z]):(.*)", program)  # the program as C:\... or Z:\... or a Unix path
    folder, exe = os.path.split(os.path.realpath(unix(*drive.groups()) if drive else program))
    lines = open(log, encoding="utf-8", errors="replace").read().splitlines()
    loaded = [l for l in lines if re.search(r'loaddll:.*Loaded L".*\\\\' + re.escape(exe) + '"', l, re.I)]
    if not loaded:
        sys.exit("FAIL file trace: no trace of the program loading " + exe)
    pid, seen = loaded[0].split(":")[0], set()
    for line in lines:
        found = re.search(r'nt_to_unix_file_name\w* L"(.*?)" -> "(.*?)"', line)
        missing = re.search(r'nt_to_unix_file_name\w* L"(.*?)" not found in "(.*?)"', line)
        if not line.startswith(pid + ":") or not (found or missing):
            continue
        path = found.group(2) if found else missing.group(2) + "/" + missing.group(1).replace("\\\\", "/")
        dosdevice = re.match(re.escape(prefix) + r"/dosdevices/([a-z]):(.*)", path)
        path = unix(*dosdevice.groups()) if dosdevice else path
        seen.add(os.path.normpath("/" + path.lstrip("/")))
    trees = [folder, f"{prefix}/drive_c/windows", f"{prefix}/drive_c/programdata",
             f"{prefix}/drive_c/users/{pwd.getpwuid(os.getuid()).pw_name}",
             "/usr/share/wine", "/usr/share/fonts", "/usr/lib/wine", "/usr/lib/x86_64-linux-gnu/wine"]
    exact = {cwd} | {folder.rsplit("/", n)[0] or "/" for n in range(1, folder.count("/") + 1)}
    inside = lambda p, tree: (p.lower() + "/").startswith(tree.lower().rstrip("/") + "/")
    outside = sorted(p for p in seen if p not in exact and not any(inside(p, t) for t in trees))
    failed = report(not outside, f"file trace: {len(seen)} paths, {sum(inside(p, folder) for p in seen)} in the "
                    f"program's folder, {len(outside)} outside it and Windows' folders" +
                    "".join("\n     " + p for p in outside))
    # Qt's logging rules: in the program's folder only, not where others write.
    rules = sorted(p for p in seen if p.lower().endswith("/qtlogging.ini") and not inside(p, folder))
    failed |= report(not rules, "no qtlogging.ini looked for outside the program's folder" +
                     "".join("\n     " + p for p in rules))
    # No GPU interface before the window is painted: it paints with the CPU.
    gpu_dll = r'loaddll:.*Loaded L".*\\(d3d\w*|dxgi|opengl32|wined3d|vulkan-1)\.dll"'
    gpu = sorted({m.group(1).lower() for m in (re.search(gpu_dll, l, re.I) for l in lines if l.startswith(pid + ":")) if m})
    return failed | report(not gpu, "no Direct3D, DXGI or OpenGL DLL loaded" + (": " + " ".join(gpu) if gpu else ""))


def colours(picture):
    """Each region (shrunk by 3 pixels so that edges and frames do not count)
    is at least half its colour: a cell's letter or a button's caption covers
    the rest."""
    (width, height), at = load(picture)
    failed = report((width, height) == (504, 424), f"window is {width}x{height}, expected 504x424")
    for name, (left, top, right, bottom), colour in [
            ("window background", (426, 160, 478, 222), (192, 192, 255)),
            ("square cell, row 1 column 1", (40, 144, 60, 164), (255, 128, 0)),
            ("square cell, row 5 column 5", (136, 240, 156, 260), (255, 128, 0)),
            ("Encrypt button", (408, 120, 497, 153), (0, 255, 0))]:
        area = [at(x, y) for x in range(left + 3, right - 3) for y in range(top + 3, bottom - 3)]
        share = sum(near(p, colour, 6) for p in area) / len(area)
        failed |= report(share >= 0.5, f"{name}: {share:.0%} of the area is {colour} +-6 "
                         f"(one pixel: {at((left + right) // 2, (top + bottom) // 2 - 8)})")
    return failed


def picked_row(picked_picture, boxed_picture):
    """The row picked in the focused code list shows in the highlight colour;
    with the focus in a box, that row of every list must still show it."""
    (_, picked), (_, boxed) = load(picked_picture), load(boxed_picture)
    column = [picked(235, y) for y in range(170, 181)]
    highlight = tuple(sum(p[i] for p in column) // len(column) for i in range(3))
    if near(highlight, (255, 255, 255), 40) or near(highlight, (240, 240, 240), 40):
        sys.exit(f"FAIL the picked row in the focused code list is not highlighted: {highlight}")
    top = next(y for y in range(177, 128, -1) if not near(picked(235, y - 1), highlight, 40))
    bottom = next(y for y in range(177, 260) if not near(picked(235, y), highlight, 40))
    failed = False
    # Lists at x = 2640, 3480, 4320, 5160 twips; the row's colour left of its text.
    for name, left in {"Буква": 176, "Код": 232, "Ключ": 288, "Шифър": 344}.items():
        area = [boxed(x, y) for x in range(left + 3, left + 31) for y in range(top + 1, bottom - 1)]
        share = sum(near(p, highlight, 40) for p in area) / len(area)
        failed |= report(share >= 0.5, f"picked row, list {name}, focus in a box: "
                         f"{share:.0%} of rows {top}-{bottom} in the highlight colour {highlight}")
    return failed


sys.exit({"trace": trace, "colours": colours, "picked-row": picked_row}[sys.argv[1]](*sys.argv[2:]))
