#!/usr/bin/env bash
# Builds the decoding benchmark natively (optimised, no sanitizers) and runs it; the pictures it
# makes go to build/bench-tmp/decode.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$PWD/build/bench-native
work=$PWD/build/bench-tmp/decode
cmake -S bench/decode -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j"${JOBS:-2}" > /dev/null
rm -rf "$work" && mkdir -p "$work"
"$build/decode_bench" "$work" "$@"
