#!/usr/bin/env bash
# Runs the benchmark suite and writes docs/performance.md: our time per
# element (or per system, per call) beside the peer's, as ratios measured in
# the same run.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
cd "$root"
"$root/scripts/install-deps.sh" bench
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMEXTOOLBOX_BENCH=ON -DMEXTOOLBOX_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc 2>/dev/null || echo 2)"
out="$root/build-bench/results"
mkdir -p "$out"
rm -f "$out"/*.json
for b in build-bench/bin/bench_*; do
    name="$(basename "$b")"
    echo "running $name" >&2
    # Repetitions of the benchmarks of one program run in random order, so a
    # busy spell of the shared machine falls on ours and the peer alike.
    "$b" --benchmark_repetitions="${BENCH_REPETITIONS:-3}" --benchmark_report_aggregates_only=true \
         --benchmark_enable_random_interleaving=true \
         --benchmark_min_time="${BENCH_MIN_TIME:-0.2}" \
         --benchmark_format=json --benchmark_out="$out/$name.json" --benchmark_out_format=json >/dev/null
done
python3 tools/bench_report.py "$out" "$root/build-bench/bin/mexrun" "$root/bench/notes.md" > docs/performance.md
echo "wrote docs/performance.md" >&2
