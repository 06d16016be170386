#!/usr/bin/env bash
# The Windows test layers: the Windows tests and the end-to-end tests, under Wine, against the
# build for this machine's test architecture. The environment it starts is stopped again after.
# Usage: tools/run-tests.sh [win32|e2e|all] [pytest arguments...]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
layer=${1:-all}
shift || true

. tools/test-build-env.sh
export MOZHOU_HARNESS_USER=$$
build=$TEST_BUILD
echo "[tests] Windows tests run as $MOZHOU_WINEARCH ($build)"

exports=$(tools/harness.sh up) || { echo "[tests] the test environment did not start" >&2; exit 1; }
eval "$exports"
status=0
if [ "$layer" = win32 ] || [ "$layer" = all ]; then
  (cd "$build/tests/win32" && "$MOZHOU_WINE" ./win32_tests.exe) || status=1
fi
if [ "$layer" = e2e ] || [ "$layer" = all ]; then
  MOZHOU_EXE=$TEST_DIST/墨舟.exe MOZHOU_REQUIRE_EXE=1 \
  MOZHOU_UPDATE_TEST_EXE=$TEST_UPDATE_DIST/墨舟.exe MOZHOU_UPDATER_TEST_EXE=$TEST_UPDATER \
  E2E_DRIVER_EXE=$build/tests/e2e/driver/e2e-driver.exe \
    /usr/bin/python3 -m pytest -q tests/e2e "$@" || status=1
fi
tools/harness.sh down >/dev/null 2>&1 || true
exit $status
