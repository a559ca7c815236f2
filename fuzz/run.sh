#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzzer and runs it for the given number of seconds (default 60),
# starting from the seed corpus. New inputs go to a scratch folder, so the
# corpus in the repository stays small; anything found lands in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target core_fuzzer
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
log=build/fuzz/last-run.log
status=0
build/fuzz/fuzz/core_fuzzer -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build/fuzz/ \
    "$scratch" fuzz/corpus >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    tail -n 80 "$log"
    echo "The fuzzer found a fault (exit $status); the input is in build/fuzz/."
    exit "$status"
fi
grep -E '^(INFO: Seed|#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units)' "$log"
