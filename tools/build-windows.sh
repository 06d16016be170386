#!/usr/bin/env bash
# Configures and builds the Windows side for one architecture.
# Usage: tools/build-windows.sh i686|x86_64 <build dir> <dist dir>
# The artwork comes from build/native/assets unless MOZHOU_ASSETS_DIR names another folder.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=$1 build=$2 dist=$3
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-$arch-mingw.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DMOZHOU_ASSETS_DIR="${MOZHOU_ASSETS_DIR:-$PWD/build/native/assets}" -DMOZHOU_DIST_DIR="$dist" \
  -DGTest_DIR="$PWD/.cache/deps/$arch/lib/cmake/GTest" > /dev/null
# TARGETS (optional): only those targets, e.g. the executables without the tests.
cmake --build "$build" -j"${JOBS:-2}" ${TARGETS:+--target $TARGETS}
