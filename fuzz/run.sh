#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzzer and runs it from the corpus for a fixed number of inputs
# with a fixed seed, so that every run in CI fuzzes the same inputs; choosing
# another seed or count is a deliberate change (FUZZ_SEED, FUZZ_RUNS). New
# inputs go to a scratch folder, so the corpus in the repository stays small;
# anything found lands in build/fuzz/. First, makecorpus.py must write
# exactly the committed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seed=${FUZZ_SEED:-20261209}
runs=${FUZZ_RUNS:-10000}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/new"
python3 fuzz/makecorpus.py "$scratch/corpus" >/dev/null
diff -r "$scratch/corpus" fuzz/corpus || { echo "fuzz/makecorpus.py and fuzz/corpus/ disagree"; exit 1; }
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target core_fuzzer
log=build/fuzz/last-run.log
status=0
build/fuzz/fuzz/core_fuzzer -seed="$seed" -runs="$runs" -print_final_stats=1 -artifact_prefix=build/fuzz/ \
    "$scratch/new" fuzz/corpus >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    tail -n 80 "$log"
    echo "The fuzzer found a fault (exit $status); the input is in build/fuzz/."
    exit "$status"
fi
grep -E '^(INFO: Seed|#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::average_exec_per_sec)' "$log"
