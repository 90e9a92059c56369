# tools/mingw-w64-x86_64.cmake: cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads:
# std::thread, which the tune's worker and OpenAL Soft use, needs them).
#
# Libraries are looked for only in the mingw sysroot and in the folders listed in CMAKE_FIND_ROOT_PATH by
# the project (the dependency cache of tools/windows-deps.sh): never in the build machine's own /usr, whose
# headers and libraries are Linux ones. Programs run under Wine: ctest starts a test .exe through it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(zk_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${zk_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${zk_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${zk_mingw}-windres)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${zk_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's wine script asks for the 32-bit half on every start; the 64-bit loader runs our programs alone.
find_program(ZK_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(ZK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZK_WINE})
endif()
