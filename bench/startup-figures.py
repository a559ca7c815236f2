# SPDX-License-Identifier: GPL-3.0-or-later
# Reads the start-up probe's lines ("program painted_ms=… peak_kb=…") and
# prints the medians, the window against the text floor and the bare window.
import statistics
import sys

runs = {}
for line in sys.stdin:
    program, *figures = line.split()
    for figure in figures:
        key, value = figure.split("=")
        runs.setdefault(program, {}).setdefault(key, []).append(float(value))

median = {p: {k: statistics.median(v) for k, v in f.items()} for p, f in runs.items()}
bare, floor, window = (median[p] for p in ("bare-window", "text-floor", "nihilist-cipher-startup"))
print(f"\nstart-up, median of {len(runs['bare-window']['painted_ms'])} runs each, X11 (Xvfb)")
print(f"{'':24} {'first paint':>12} {'peak memory':>12}")
for name, m in (("bare window", bare), ("text floor", floor), ("the window", window)):
    print(f"{name:24} {m['painted_ms']:9.1f} ms {m['peak_kb'] / 1024:8.1f} MiB")
print(f"the window: first paint {window['painted_ms'] / floor['painted_ms']:.2f}x the text floor "
      f"({window['painted_ms'] / bare['painted_ms']:.2f}x bare), "
      f"peak memory {window['peak_kb'] / bare['peak_kb']:.2f}x bare")
