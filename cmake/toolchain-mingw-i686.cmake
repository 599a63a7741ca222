# Cross compiling for Windows (i686) with Debian's MinGW-w64 compilers
# (the posix thread flavour; the runtime is linked statically).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZEMKA_MINGW_PREFIX i686-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${ZEMKA_MINGW_PREFIX}-gcc-posix ${ZEMKA_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ZEMKA_MINGW_PREFIX}-g++-posix ${ZEMKA_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ZEMKA_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZEMKA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs find the DLL beside them; the tests run them under wine.
find_program(ZEMKA_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(ZEMKA_WINE AND "i686" STREQUAL "x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZEMKA_WINE})
endif()
