# What both MinGW-w64 toolchain files share: Debian's cross compilers for
# CMAKE_SYSTEM_PROCESSOR (the posix thread flavour; the runtime is linked
# statically), their sysroot, and wine to run the x86_64 programs.
set(CMAKE_SYSTEM_NAME Windows)
set(ZEMKA_MINGW_PREFIX ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${ZEMKA_MINGW_PREFIX}-gcc-posix ${ZEMKA_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ZEMKA_MINGW_PREFIX}-g++-posix ${ZEMKA_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ZEMKA_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZEMKA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs find the DLL beside them; the tests run them under wine (these
# machines run no 32-bit code, so only the x86_64 ones).
find_program(ZEMKA_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(ZEMKA_WINE AND CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZEMKA_WINE})
endif()
