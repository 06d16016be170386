#!/usr/bin/env bash
# Starts the program under Wine on the local display (or a virtual one). Where this machine cannot
# run 32-bit programs, the 64-bit build of the same sources is started instead.
set -uo pipefail
cd "$(dirname "$0")/.."
. tools/test-build-env.sh
dist=$TEST_DIST
eval "$(tools/harness.sh up --display-from-env)" || exit 1
echo "[run] $dist/墨舟.exe on display $DISPLAY"
cd "$dist" && exec "$MOZHOU_WINE" ./墨舟.exe
