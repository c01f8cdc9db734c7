#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a Release build and a build
# under AddressSanitizer and UndefinedBehaviorSanitizer. Installs missing
# Debian packages first when run as root.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
cd "$root"

"$root/scripts/install-deps.sh"

jobs="$(nproc 2>/dev/null || echo 2)"

run_suite() {
    local dir="$1"; shift
    cmake -S "$root" -B "$root/$dir" "$@" >/dev/null
    cmake --build "$root/$dir" -j "$jobs"
    ctest --test-dir "$root/$dir" --output-on-failure -j "$jobs"
}

echo "== Release build =="
run_suite build -DCMAKE_BUILD_TYPE=Release
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" \
UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
    run_suite build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMEXTOOLBOX_SANITIZE=ON
