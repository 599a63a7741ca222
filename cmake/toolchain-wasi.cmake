# wasm32-wasi with clang 22 and the WASI sysroot (C library, libc++,
# compiler builtins) that the playground's in-browser clang 22 carries, so
# the web library, `zemka web` programs and playground programs are built
# against the same headers and libraries:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-wasi.cmake -DZEMKA_WASI_SYSROOT=DIR -DZEMKA_PLATFORM=web ...
# tools/build-web.sh unpacks the sysroot from the npm package.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(ZEMKA_WASI_TARGET wasm32-wasip1)
if(NOT ZEMKA_WASI_SYSROOT OR NOT EXISTS "${ZEMKA_WASI_SYSROOT}/lib/${ZEMKA_WASI_TARGET}/libc.a")
  message(FATAL_ERROR "the WASI sysroot is missing (ZEMKA_WASI_SYSROOT='${ZEMKA_WASI_SYSROOT}'): run tools/build-web.sh")
endif()
# Passed on to the compiler checks CMake makes in their own projects.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZEMKA_WASI_SYSROOT)
find_program(ZEMKA_WASI_CLANG NAMES clang-22 REQUIRED)
find_program(ZEMKA_WASI_CLANGXX NAMES clang++-22 REQUIRED)
find_program(ZEMKA_WASI_AR NAMES llvm-ar-22 REQUIRED)
find_program(ZEMKA_WASI_RANLIB NAMES llvm-ranlib-22 REQUIRED)
set(CMAKE_C_COMPILER ${ZEMKA_WASI_CLANG})
set(CMAKE_CXX_COMPILER ${ZEMKA_WASI_CLANGXX})
set(CMAKE_AR ${ZEMKA_WASI_AR} CACHE FILEPATH "")
set(CMAKE_RANLIB ${ZEMKA_WASI_RANLIB} CACHE FILEPATH "")
set(CMAKE_C_COMPILER_TARGET ${ZEMKA_WASI_TARGET})
set(CMAKE_CXX_COMPILER_TARGET ${ZEMKA_WASI_TARGET})
set(CMAKE_SYSROOT ${ZEMKA_WASI_SYSROOT})
set(ZEMKA_WASI_FLAGS "-resource-dir=${ZEMKA_WASI_SYSROOT}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld")
set(CMAKE_C_FLAGS_INIT "${ZEMKA_WASI_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${ZEMKA_WASI_FLAGS} -fno-exceptions")
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
