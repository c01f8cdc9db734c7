#!/usr/bin/env bash
# Coverage-guided fuzzing of every plug-in, one libFuzzer run per subsystem.
#
#   scripts/fuzz.sh [SECONDS_PER_SUBSYSTEM] [SUBSYSTEM...]
#
# Builds the host, the plug-ins and the fuzz target with clang, libFuzzer
# instrumentation, AddressSanitizer (with LeakSanitizer) and
# UndefinedBehaviorSanitizer in build-fuzz/, then fuzzes each subsystem
# (special, distributions, approx, linalg, optim by default) for the given
# time (300 s by default). Each call must finish within $FUZZ_TIMEOUT seconds
# (2 by default: the instrumented build runs several times slower than the
# sanitizer build, where the test suite holds calls to one second). The
# corpus grows in build-fuzz/corpus/<subsystem>/ and is reused by later runs;
# a finding leaves its reproducer in
# build-fuzz/findings/<subsystem>/ and makes the script fail. A reproducer
# replays with:
#   FUZZ_SUBSYSTEM=<subsystem> build-fuzz/bin/libfuzzer_target <file>
# This is the long run; it is not part of ./test.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-300}"
shift || true
subsystems=("$@")
[ ${#subsystems[@]} -gt 0 ] || subsystems=(special distributions approx linalg optim)
timeout="${FUZZ_TIMEOUT:-2}"
build="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMEXTOOLBOX_LIBFUZZER=ON >/dev/null
cmake --build "$build" -j "${FUZZ_JOBS:-2}" --target libfuzzer_target

# Allocation failures are answered as errors: the sanitizer allocator returns
# null like the plain one instead of aborting.
export ASAN_OPTIONS="${ASAN_OPTIONS:-allocator_may_return_null=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

status=0
for sub in "${subsystems[@]}"; do
    corpus="$build/corpus/$sub"
    findings="$build/findings/$sub"
    mkdir -p "$corpus" "$findings"
    echo "== $sub: ${seconds}s =="
    if ! FUZZ_SUBSYSTEM="$sub" "$build/bin/libfuzzer_target" "$corpus" \
        -max_total_time="$seconds" -timeout="$timeout" -detect_leaks=1 -max_len=4096 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
        2>"$build/fuzz-$sub.log"; then
        echo "finding in $sub: see $build/fuzz-$sub.log and $findings/"
        status=1
    fi
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|stat::new_units_added)|DONE|cov:' "$build/fuzz-$sub.log" | tail -4
done
exit $status
