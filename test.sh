#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a Release build (with the GNU
# Octave build of the plug-ins and the Octave suite) and a build under
# AddressSanitizer and UndefinedBehaviorSanitizer. Installs missing Debian
# packages first when run as root.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
cd "$root"

"$root/scripts/install-deps.sh" octave

jobs="$(nproc 2>/dev/null || echo 2)"

configure_and_build() {
    local dir="$1"; shift
    cmake -S "$root" -B "$root/$dir" "$@" >/dev/null
    cmake --build "$root/$dir" -j "$jobs"
}

echo "== Release build =="
configure_and_build build -DCMAKE_BUILD_TYPE=Release
if command -v mkoctfile >/dev/null; then
    echo "== Plug-ins for GNU Octave =="
    "$root/scripts/build-octave.sh"
fi
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
configure_and_build build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMEXTOOLBOX_SANITIZE=ON
UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
    ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"
