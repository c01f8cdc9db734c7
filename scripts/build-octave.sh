#!/usr/bin/env bash
# Builds every plug-in for GNU Octave into build/octave/ (<name>.mex) from
# the same sources, with Octave's mex.h and libraries in place of ours.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root" -B "$root/build-octave" -DCMAKE_BUILD_TYPE=Release -DMEXTOOLBOX_OCTAVE=ON >/dev/null
cmake --build "$root/build-octave" -j "$(nproc 2>/dev/null || echo 2)"
