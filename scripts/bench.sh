#!/usr/bin/env bash
# Builds the Release tree in build-release/ and runs every benchmark program
# in it, one after the other, printing their results.
#   scripts/bench.sh [benchmark arguments...]
# e.g. scripts/bench.sh --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
# The pairs (an operation beside its baseline, measured in the same
# iterations) report their CPU-time ratio and goal in the counters; a
# machine busy with other work still shows in wall_ratio.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-release"
"$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DMC_BUILD_BENCH=ON

shopt -s nullglob
programs=("$build"/bench/bench_*)
if ((${#programs[@]} == 0)); then
  echo "No benchmark programs in $build/bench (is libbenchmark-dev installed?)" >&2
  exit 1
fi
status=0
for program in "${programs[@]}"; do
  [ -x "$program" ] && [ -f "$program" ] || continue
  echo "=== $(basename "$program")"
  "$program" "$@" || { echo "$(basename "$program") failed" >&2; status=1; }
  echo
done
exit "$status"
