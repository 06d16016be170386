#!/usr/bin/env bash
# Starts the program under Wine on the local display (or a virtual one). Where this machine cannot
# run 32-bit programs, the 64-bit build of the same sources is started instead.
set -uo pipefail
cd "$(dirname "$0")/.."
if [ "$(tools/test-arch.sh)" = x86_64 ]; then
  dist=build/win64/dist; export MOZHOU_WINEARCH=win64
else
  dist=build/dist; export MOZHOU_WINEARCH=win32
fi
eval "$(tools/harness.sh up --display-from-env)" || exit 1
echo "[run] $dist/墨舟.exe on display $DISPLAY"
cd "$dist" && exec "$MOZHOU_WINE" ./墨舟.exe
