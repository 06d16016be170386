#!/usr/bin/env bash
# Builds the decoding and transposing benchmarks natively (optimised, no sanitizers) and runs
# them; the pictures the decoding benchmark makes go to build/bench-tmp/decode. Both run even
# when the first misses a target; the status is 1 when either does.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$PWD/build/bench-native
work=$PWD/build/bench-tmp/decode
cmake -S bench/decode -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j"${JOBS:-2}" > /dev/null
rm -rf "$work" && mkdir -p "$work"
decode_status=0
"$build/decode_bench" "$work" "$@" || decode_status=$?
transpose_status=0
"$build/transpose_bench" "$@" || transpose_status=$?
exit $((decode_status > transpose_status ? decode_status : transpose_status))
