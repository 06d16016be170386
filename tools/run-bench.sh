#!/usr/bin/env bash
# Runs the benchmarks under Wine against the build for this machine's test architecture.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. tools/test-build-env.sh
export MOZHOU_HARNESS_USER=$$
build=$TEST_BUILD
eval "$(tools/harness.sh up)" || exit 1
work=$root/build/bench-tmp
rm -rf "$work" && mkdir -p "$work" && cp "$TEST_DIST/墨舟.exe" "$work/"
windows_path="Z:${work//\//\\}\\墨舟.exe"  # drive Z: is the Unix root
(cd "$build/bench" && "$MOZHOU_WINE" ./bench_startup.exe "$windows_path" 10)
status=$?
/usr/bin/python3 bench/idle_cpu.py "$work/墨舟.exe" 10 || status=1
tools/harness.sh down >/dev/null 2>&1 || true
exit $status
