#!/usr/bin/env bash
# Builds the decoding benchmarks (the common formats; phones' and scanners' pictures) and the
# transposing benchmark natively (optimised, no sanitizers) and runs them; the pictures the
# decoding benchmarks make go to build/bench-tmp/decode. All run even when one misses a target;
# the status is 1 when any does.
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
phone_status=0
"$build/phone_scan_bench" "$work" "$@" || phone_status=$?
exit $((decode_status | transpose_status | phone_status ? 1 : 0))
