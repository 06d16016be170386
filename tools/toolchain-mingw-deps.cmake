# CMake toolchain used by tools/setup.sh to cross-build the third-party
# dependencies (libjpeg-turbo, libpng, GoogleTest) for Windows with Debian's
# mingw-w64 "-posix" (winpthreads) compilers.
#   -DMOZHOU_TRIPLE=i686-w64-mingw32 (default) or x86_64-w64-mingw32
#   -DMOZHOU_DEPS_PREFIX=<repo>/.cache/deps/<arch>
if(NOT MOZHOU_TRIPLE)
  set(MOZHOU_TRIPLE i686-w64-mingw32)
endif()
# Keep both for try_compile projects.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MOZHOU_TRIPLE MOZHOU_DEPS_PREFIX)

set(CMAKE_SYSTEM_NAME Windows)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR "${MOZHOU_TRIPLE}")

set(CMAKE_C_COMPILER   ${MOZHOU_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MOZHOU_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${MOZHOU_TRIPLE}-windres)
set(CMAKE_AR     ${MOZHOU_TRIPLE}-ar     CACHE FILEPATH "")
set(CMAKE_RANLIB ${MOZHOU_TRIPLE}-ranlib CACHE FILEPATH "")
set(CMAKE_ASM_NASM_COMPILER nasm)

set(CMAKE_FIND_ROOT_PATH /usr/${MOZHOU_TRIPLE})
if(MOZHOU_DEPS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${MOZHOU_DEPS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
