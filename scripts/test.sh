#!/usr/bin/env bash
# Builds everything from scratch and runs the whole test suite twice: in the
# normal build and in the sanitizer build (AddressSanitizer and
# UndefinedBehaviorSanitizer, leak checks at exit). Then each libFuzzer
# target runs for a bounded time from its seed corpus. Any failure, sanitizer
# report or fuzzer crash fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/deps.sh test

jobs=${KELDA_JOBS:-$(nproc)}
build=${KELDA_BUILD_DIR:-$root/build-test}
asan_build=${KELDA_ASAN_BUILD_DIR:-$root/build-test-asan}
fuzz_build=${KELDA_FUZZ_BUILD_DIR:-$root/build-test-fuzz}
fuzz_seconds=${KELDA_FUZZ_SECONDS:-20}
fuzz_targets=(fuzz_demo_script fuzz_bitmap fuzz_jpeg fuzz_soundtrack)

rm -rf "$build" "$asan_build" "$fuzz_build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-g -DKELDA_WERROR=ON
cmake --build "$build" -j"$jobs"
cmake -S . -B "$asan_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELDA_WERROR=ON -DKELDA_SANITIZE=ON
cmake --build "$asan_build" -j"$jobs"
CC=clang CXX=clang++ cmake -S . -B "$fuzz_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELDA_WERROR=ON -DKELDA_FUZZ=ON -DKELDA_TESTS=OFF
cmake --build "$fuzz_build" -j"$jobs" --target fuzzers

# One X server for the tests that run the player's X11 window path; the rest
# use SDL's offscreen driver and never see it.
source scripts/xvfb.sh
start_xvfb
trap stop_xvfb EXIT

failed=()
(cd "$build" && ctest --output-on-failure -j"$jobs" --timeout 600) || failed+=("tests")
# The sanitizer build's ctest sets the sanitizers' options itself; its long
# run of the bundled demo goes alongside the rest.
(cd "$asan_build" && ctest --output-on-failure -j"$jobs" --timeout 900) || failed+=("sanitizer tests")

# The fuzz targets side by side, each from its committed seeds; what they
# find is kept in the fuzz build folder, crashes under artifacts/.
mkdir -p "$fuzz_build/artifacts" "$fuzz_build/tmp"
pids=()
for target in "${fuzz_targets[@]}"; do
    mkdir -p "$fuzz_build/corpus/$target"
    TMPDIR="$fuzz_build/tmp" "$fuzz_build/bin/$target" \
        -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=4096 -close_fd_mask=3 \
        -print_final_stats=1 -artifact_prefix="$fuzz_build/artifacts/$target-" \
        "$fuzz_build/corpus/$target" "$root/tests/fuzz/corpus/$target" \
        > "$fuzz_build/$target.log" 2>&1 &
    pids+=($!)
done
for i in "${!fuzz_targets[@]}"; do
    target=${fuzz_targets[$i]}
    if wait "${pids[$i]}"; then
        echo "$target: $(grep -m1 'stat::number_of_executed_units' "$fuzz_build/$target.log" || true)"
    else
        echo "$target failed:"
        tail -n 60 "$fuzz_build/$target.log"
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "All tests, sanitizer tests and fuzz runs passed."
