#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks (preset "bench"), runs the Google Benchmark programs,
# then times start-up to the first paint on a private Xvfb: the program
# against the text floor (a bare window holding one label in the program's
# font) and a bare window, RUNS (default 30) runs each, taken in turn so
# that a machine that speeds up or slows down moves all three alike.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/common.sh
. tools/common.sh
export bin=build/bench/bench

startup_runs() { # one line per run and program
    for run in $(seq -2 "${RUNS:-30}"); do
        for program in bare-window text-floor nihilist-cipher-startup; do
            line=$(STARTUP_LAUNCHED_AT=$EPOCHREALTIME "$bin/$program" 2>/dev/null)
            [ "$run" -lt 1 ] || echo "$program $line" # three runs warm the caches first
        done
    done
}

cmake --preset bench >/dev/null
cmake --build --preset bench
"$bin/model_bench"
QT_QPA_PLATFORM=offscreen "$bin/window_bench"
on_xvfb 1280x1024x24 dbus-run-session bash -euo pipefail -c "$(declare -f startup_runs); startup_runs" 2>/dev/null | python3 bench/startup-figures.py
