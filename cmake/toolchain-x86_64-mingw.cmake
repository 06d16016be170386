# 64-bit Windows: the same sources built for test machines whose kernel cannot run 32-bit code,
# where only a 64-bit Wine can run the tests.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(MOZHOU_DEPS_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
