#!/usr/bin/env bash
# Builds the player and plays the bundled demo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/deps.sh play

build=${KELDA_BUILD_DIR:-$root/build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKELDA_TESTS=OFF
cmake --build "$build" -j"$(nproc)"

# The player reads kelda.kvd and data/ from its working directory and loads
# its plugin libraries from its own folder.
stage="$build/play"
mkdir -p "$stage"
ln -sfn "$root/data" "$stage/data"
cp -f "$root/data/kelda.kvd" "$stage/kelda.kvd"
cd "$stage"
exec "$build/bin/kelda"
