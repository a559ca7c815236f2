#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks (Release, build/bench), runs them and prints the
# figures beside the targets they are meant to stay within:
#   - Encrypt in the cipher core and in the real window (Google Benchmark),
#   - start-up to the first paint and whole-process time, the program
#     against an empty window of the same size, on X11 (a private Xvfb) and
#     on the offscreen platform,
#   - peak resident memory of the same pair.
# RUNS=N sets the runs per start-up figure (default 30). Everything it
# writes goes to build/bench/results/.
#
# The start-up pair runs in turn, A B A B ..., and each ratio is the median
# of the ratios of neighbouring runs, so a machine that speeds up or slows
# down during the measurement moves both sides alike.
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/bench"
out="$build/results"
runs=${RUNS:-30}

# --- tools ----------------------------------------------------------------

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
[ -x /usr/bin/time ] || missing+=(time)
command -v Xvfb >/dev/null || missing+=(xvfb)
command -v dbus-daemon >/dev/null || missing+=(dbus-daemon)
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# --- build ----------------------------------------------------------------

if ! grep -q '^BUILD_BENCHMARKS:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null ||
    ! grep -q '^CMAKE_BUILD_TYPE:STRING=Release' "$build/CMakeCache.txt"; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_BENCHMARKS=ON >/dev/null
fi
# Only what is measured here, so a half-finished test elsewhere cannot stop it.
cmake --build "$build" -j2 --target model_bench window_bench nihilist-cipher-startup bare-window
bin="$build/bench"
mkdir -p "$out"

# --- display --------------------------------------------------------------

cleanup=()
runtime=""
trap 'for pid in "${cleanup[@]}"; do kill "$pid" 2>/dev/null || true; done; [ -z "$runtime" ] || rm -rf "$runtime"' EXIT
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    runtime=$(mktemp -d)
    export XDG_RUNTIME_DIR=$runtime
fi
# A server of our own, started before anything is timed and stopped at the
# end; never one that was already running. -noreset: an X server resets
# itself whenever its last client leaves, some 20 ms of its own work that
# would land on the next run; a desktop always has clients connected.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$out/xvfb.log" 2>&1 &
cleanup+=($!)
for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.05
done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "Xvfb did not start, see $out/xvfb.log" >&2; exit 1; }

# A desktop session has a session bus. Without one, Qt's start-up on X11
# forks dbus-launch to look for a bus on every run, several milliseconds
# that both programs pay and that no user sees; so give them a private bus.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null)
    DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
    cleanup+=("$(sed -n 2p <<<"$bus")")
    export DBUS_SESSION_BUS_ADDRESS
fi

# --- helpers --------------------------------------------------------------

median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The median real time of one benchmark from Google Benchmark's CSV output.
bench_median() { # file name
    awk -F, -v want="\"$2_median\"" '$1 == want { print $3, $5 }' "$1"
}

# Runs each start-up program RUNS times in turn, after a few runs that are
# not counted. Each run's report line (see startupprobe.h), with the launch
# time handed over in STARTUP_LAUNCHED_AT, goes to OUT/<label>.<program>,
# and its whole wall time, fork to exit, to OUT/<label>.<program>.whole.
probe() { # label program...
    local label=$1
    shift
    local p i t0 t1 name
    for p in "$@"; do
        name="$out/$label.$(basename "$p")"
        : >"$name"
        : >"$name.whole"
    done
    for i in $(seq -2 "$runs"); do
        for p in "$@"; do
            name="$out/$label.$(basename "$p")"
            t0=$EPOCHREALTIME
            (STARTUP_LAUNCHED_AT=$EPOCHREALTIME exec "$p") >"$out/run.tmp" 2>>"$out/$label.stderr"
            t1=$EPOCHREALTIME
            [ "$i" -ge 1 ] || continue
            cat "$out/run.tmp" >>"$name"
            awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f\n", (b - a) * 1000 }' >>"$name.whole"
        done
    done
}

# One key=value figure of every report line of a file, a line each.
values() { # file key
    grep -o "\b$2=[0-9.]*" "$1" | cut -d= -f2
}

# The median of the ratios of the n-th lines of two files.
pair_ratio() { # file-a file-b
    paste -d' ' "$1" "$2" | awk '$2 > 0 { print $1 / $2 }' | median | awk '{ printf "%.2f", $1 }'
}

# Peak resident memory of whole runs in kB, as /usr/bin/time reports it;
# medians over nine runs in turn, "ours bare".
peak_rss_kb() { # program-a program-b
    local i
    : >"$out/rss.a"
    : >"$out/rss.b"
    for i in $(seq 9); do
        /usr/bin/time -f %M -o "$out/time.tmp" "$1" >/dev/null 2>&1
        cat "$out/time.tmp" >>"$out/rss.a"
        /usr/bin/time -f %M -o "$out/time.tmp" "$2" >/dev/null 2>&1
        cat "$out/time.tmp" >>"$out/rss.b"
    done
    echo "$(median <"$out/rss.a") $(median <"$out/rss.b")"
}

one_decimal() { awk '{ printf "%.1f", $1 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "nan" }'; }
verdict() { awk -v v="$1" -v limit="$2" 'BEGIN { print (v != "nan" && v + 0 <= limit + 0) ? "within" : "OVER" }'; }

# --- Encrypt --------------------------------------------------------------

echo "running model_bench"
"$bin/model_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/model.csv" --benchmark_out_format=csv >"$out/model.txt" 2>&1
echo "running window_bench (offscreen)"
QT_QPA_PLATFORM=offscreen "$bin/window_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/window.csv" --benchmark_out_format=csv >"$out/window.txt" 2>&1

# --- start-up and memory --------------------------------------------------

ours="$bin/nihilist-cipher-startup"
bare="$bin/bare-window"
for platform in xcb offscreen; do
    if [ "$platform" = xcb ]; then env=(DISPLAY=":$display" QT_QPA_PLATFORM=xcb); else env=(QT_QPA_PLATFORM=offscreen); fi
    echo "start-up on $platform: $runs runs each"
    export "${env[@]}"
    probe "$platform" "$ours" "$bare"
    peak_rss_kb "$ours" "$bare" >"$out/$platform.rss"
done
unset DISPLAY QT_QPA_PLATFORM

# --- table ----------------------------------------------------------------

row() { printf '%-44s %-30s %-10s %s\n' "$@"; }
echo
row "figure" "measured" "target" ""
row "--------------------------------------------" "------------------------------" "----------" "------"

for case in StoredExample FortyLetters; do
    read -r t unit <<<"$(bench_median "$out/model.csv" "Encrypt/$case")" || true
    us=$(awk -v t="${t:-nan}" -v u="${unit:-ns}" 'BEGIN { f = (u == "ns") ? 1e-3 : (u == "us") ? 1 : 1e3; printf "%.2f", t * f }')
    row "model Encrypt, $case" "$us us" "< 5 us" "$(verdict "$us" 5)"
done
for case in StoredExample FortyLetters; do
    read -r t unit <<<"$(bench_median "$out/window.csv" "Encrypt/$case")" || true
    ms=$(awk -v t="${t:-nan}" -v u="${unit:-us}" 'BEGIN { f = (u == "ns") ? 1e-6 : (u == "us") ? 1e-3 : 1; printf "%.3f", t * f }')
    row "window Encrypt, $case" "$ms ms" "< 2 ms" "$(verdict "$ms" 2)"
done
for case in StoredExample FortyLetters; do
    read -r t unit <<<"$(bench_median "$out/window.csv" "EncryptAndPaint/$case")" || true
    ms=$(awk -v t="${t:-nan}" -v u="${unit:-us}" 'BEGIN { f = (u == "ns") ? 1e-6 : (u == "us") ? 1e-3 : 1; printf "%.3f", t * f }')
    row "window Encrypt + repaint, $case" "$ms ms" "-" ""
done

for platform in xcb offscreen; do
    name=$([ "$platform" = xcb ] && echo "X11/Xvfb" || echo "offscreen")
    A="$out/$platform.nihilist-cipher-startup"
    B="$out/$platform.bare-window"
    values "$A" painted_ms >"$A.painted"
    values "$B" painted_ms >"$B.painted"
    a=$(median <"$A.painted" | one_decimal)
    b=$(median <"$B.painted" | one_decimal)
    r=$(pair_ratio "$A.painted" "$B.painted")
    row "to first paint, $name" "$a / $b ms = ${r}x" "<= 1.3x" "$(verdict "$r" 1.3)"
    a=$(median <"$A.whole" | one_decimal)
    b=$(median <"$B.whole" | one_decimal)
    r=$(pair_ratio "$A.whole" "$B.whole")
    row "whole process, $name" "$a / $b ms = ${r}x" "<= 1.3x" "$(verdict "$r" 1.3)"
    read -r a b <"$out/$platform.rss"
    r=$(ratio "$a" "$b")
    mib=$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.1f / %.1f", a / 1024, b / 1024 }')
    row "peak RSS (whole process), $name" "$mib MiB = ${r}x" "<= 1.2x" "$(verdict "$r" 1.2)"
done

echo
echo "start-up phases, median ms from launch (main, QApplication, window built, shown, painted):"
for platform in xcb offscreen; do
    for prog in nihilist-cipher-startup bare-window; do
        f="$out/$platform.$prog"
        printf '  %-10s %-24s' "$platform" "$prog"
        for key in main_ms application_ms window_ms shown_ms painted_ms; do
            printf ' %6s' "$(values "$f" $key | median | one_decimal)"
        done
        printf '   peak at first paint %s kB\n' "$(values "$f" peak_kb | median)"
    done
done
echo
echo "raw output: $out"
