#!/usr/bin/env bash
# Builds the data generators and writes every generated file of the bundled
# demo into data/: the soundtrack, the ten pictures and kelda.kvd.
# The outputs are committed; playing the demo does not need this script.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

build=${KELDA_DATA_BUILD_DIR:-$root/build-data}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELDA_TESTS=OFF >/dev/null
cmake --build "$build" -j4 --target make_soundtrack make_pictures kvd_make

"$build/bin/make_soundtrack" data/mellot.mp3
"$build/bin/make_pictures" data
"$build/bin/kvd_make" data/kelda.timeline data/kelda.kvd
