# Sourced by the runners: picks the Windows build this machine can run (see test-arch.sh) and
# sets TEST_BUILD (its build folder), TEST_DIST (where its program is) and MOZHOU_WINEARCH.
# The test build (the program and its updater talking to the tests' update server on this
# machine) lies in TEST_UPDATE_DIST and TEST_UPDATER.
if [ "$(tools/test-arch.sh)" = x86_64 ]; then
  TEST_BUILD=$PWD/build/win64; TEST_DIST=$TEST_BUILD/dist; export MOZHOU_WINEARCH=win64
else
  TEST_BUILD=$PWD/build/win; TEST_DIST=$PWD/build/dist; export MOZHOU_WINEARCH=win32
fi
TEST_UPDATE_DIST=$TEST_BUILD/test-dist; TEST_UPDATER=$TEST_BUILD/updater/test/update.exe
