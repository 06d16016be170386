#!/usr/bin/env bash
# Builds the page plan benchmark natively (optimised, no sanitizers) and runs it.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$PWD/build/bench-plan
cmake -S bench/plan -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j"${JOBS:-2}" > /dev/null
"$build/plan_bench" "$@"
