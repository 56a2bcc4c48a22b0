#!/usr/bin/env bash
# Builds everything from scratch and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/deps.sh

build=${KELDA_BUILD_DIR:-$root/build-test}
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELDA_WERROR=ON
cmake --build "$build" -j"$(nproc)"

# One X server for the tests that run the player's X11 window path; the rest
# use SDL's offscreen driver and never see it.
source scripts/xvfb.sh
start_xvfb
trap stop_xvfb EXIT

cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
