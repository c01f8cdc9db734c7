#!/usr/bin/env bash
# Builds the gamma-side CDF plug-ins and the gamma_accuracy command and
# prints the accuracy tables of docs/accuracy.md (gamma side).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target gamma_accuracy gamma_lower chisquare_lower poisson_lower noncentralchi2_lower >/dev/null
"$build/bin/gamma_accuracy" "$root/tests/data" "$build/mex"
