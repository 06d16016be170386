# CMake toolchain used by tools/setup.sh to cross-build the third-party
# dependencies (libjpeg-turbo, libpng, GoogleTest) for 32-bit Windows with
# Debian's mingw-w64 "-posix" (winpthreads) compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLE}-windres)
set(CMAKE_AR     ${MINGW_TRIPLE}-ar     CACHE FILEPATH "")
set(CMAKE_RANLIB ${MINGW_TRIPLE}-ranlib CACHE FILEPATH "")

# MOZHOU_DEPS_PREFIX is passed by setup.sh (-D...); keep it for try_compile.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MOZHOU_DEPS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
if(MOZHOU_DEPS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${MOZHOU_DEPS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
