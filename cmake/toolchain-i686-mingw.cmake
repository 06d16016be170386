# 32-bit Windows with Debian's mingw-w64 (posix threading model): the program as shipped.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
set(MOZHOU_DEPS_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
