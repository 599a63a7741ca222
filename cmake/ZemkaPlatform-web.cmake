# The web back end: the emulated window system in a Web Worker of a page
# (the page half is zemka_page.js, the worker's zemka_worker.js), text by
# the browser's 2D canvas, settings from the page. A static library for
# wasm32-wasi, built with cmake/toolchain-wasi.cmake (clang 22 with the
# sysroot of the playground's compiler). tools/build-web.sh does it all and
# stages the web SDK.

# --- The card (cmake/ZemkaBackends.cmake). Its tests are pages in real
# browsers (tests/web/run.sh), not a build of this tree's own.
set(ZEMKA_BACKEND_DEFAULT_FOR "")
set(ZEMKA_BACKEND_NEEDS_DISPLAY ON)
set(ZEMKA_BACKEND_SUITES "")
set(ZEMKA_BACKEND_CONFORMANCE_USER "")
set(ZEMKA_BACKEND_TEST_ENVIRONMENT "")
set(ZEMKA_BACKEND_DEPS tools/deps-web.sh)
# The desktop build installs the web SDK for the zemka command.
set(ZEMKA_BACKEND_PREPARE tools/build-web.sh --sdk-only)
set(ZEMKA_BACKEND_CHECK tests/web/run.sh)
# ./run --web: the painter and the examples as pages on http://127.0.0.1:8000.
set(ZEMKA_BACKEND_RUN tools/serve-web.sh 8000)
set(ZEMKA_BACKEND_STAND_IN "")
if(ZEMKA_BACKEND_CARD_ONLY)
  return()
endif()

# --- The build.
if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "wasm32")
  message(FATAL_ERROR "ZEMKA_PLATFORM=web needs the wasm32-wasi toolchain (-DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-wasi.cmake)")
endif()
target_sources(${ZEMKA_BACKEND_TARGET} PRIVATE
  ${ZEMKA_EMULATED_WINDOW_SYSTEM_SOURCES}
  ${PROJECT_SOURCE_DIR}/zemka/platform/web/web_windows.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/web/web_dialog.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/web/web_text_engine.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/web/web_settings.cpp)
# The WASI C library wants its emulations asked for by name; the browser
# has no C++ exceptions for the program either (a throw is a compile error).
set(ZEMKA_WEB_COMMON_FLAGS --target=${ZEMKA_WASI_TARGET} -D_WASI_EMULATED_SIGNAL -D_WASI_EMULATED_GETPID
  -D_WASI_EMULATED_PROCESS_CLOCKS -Os)
target_compile_options(${ZEMKA_BACKEND_TARGET} PRIVATE ${ZEMKA_WEB_COMMON_FLAGS} $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>)

# How a program is compiled and linked against the library: the one
# recipe of `zemka web` and of the playground, staged in the web SDK as
# build.json. The SDK's files are named relative to the SDK folder
# (zemka-sdk/...), where each puts them; the sysroot is the compiler's
# own in the playground and the SDK's sysroot/ for `zemka web`. The stack is larger than the
# linker's default of 64 kB: programs keep arrays of their own on it.
set(ZEMKA_WEB_PROGRAM_COMPILE ${ZEMKA_WEB_COMMON_FLAGS} -Wall -Wextra -Izemka-sdk/include)
set(ZEMKA_WEB_PROGRAM_LINK --target=${ZEMKA_WASI_TARGET} zemka-sdk/libzemka.a
  -lwasi-emulated-signal -lwasi-emulated-getpid -lwasi-emulated-process-clocks
  -Wl,-z,stack-size=1048576)
function(zemka_json_list out)
  set(items "")
  foreach(item IN LISTS ARGN)
    string(REPLACE "\\" "\\\\" item "${item}")
    string(REPLACE "\"" "\\\"" item "${item}")
    list(APPEND items "\"${item}\"")
  endforeach()
  list(JOIN items ", " joined)
  set(${out} "[${joined}]" PARENT_SCOPE)
endfunction()
zemka_json_list(ZEMKA_WEB_C_JSON -std=gnu17 ${ZEMKA_WEB_PROGRAM_COMPILE})
zemka_json_list(ZEMKA_WEB_CXX_JSON -std=c++20 -fno-exceptions ${ZEMKA_WEB_PROGRAM_COMPILE})
zemka_json_list(ZEMKA_WEB_LINK_JSON ${ZEMKA_WEB_PROGRAM_LINK})
file(WRITE ${CMAKE_BINARY_DIR}/build.json
  "{\n  \"target\": \"${ZEMKA_WASI_TARGET}\",\n  \"c\": ${ZEMKA_WEB_C_JSON},\n  \"cxx\": ${ZEMKA_WEB_CXX_JSON},\n  \"link\": ${ZEMKA_WEB_LINK_JSON}\n}\n")

# The numbers both halves share, for the page half: zemka_web_protocol.js
# from the enumerators of web_protocol.h.
set(ZEMKA_WEB_PROTOCOL_HEADER ${PROJECT_SOURCE_DIR}/zemka/platform/web/web_protocol.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZEMKA_WEB_PROTOCOL_HEADER})
file(STRINGS ${ZEMKA_WEB_PROTOCOL_HEADER} ZEMKA_WEB_PROTOCOL_LINES REGEX "^ *[A-Z_]+ = [0-9]+,")
set(ZEMKA_WEB_PROTOCOL_JS "// Made by the build from zemka/platform/web/web_protocol.h.\nvar ZemkaProtocol = {\n")
foreach(line IN LISTS ZEMKA_WEB_PROTOCOL_LINES)
  string(REGEX REPLACE "^ *([A-Z_]+) = ([0-9]+),.*" "  \\1: \\2,\n" entry "${line}")
  string(APPEND ZEMKA_WEB_PROTOCOL_JS "${entry}")
endforeach()
string(APPEND ZEMKA_WEB_PROTOCOL_JS "};\n")
file(WRITE ${CMAKE_BINARY_DIR}/zemka_web_protocol.js "${ZEMKA_WEB_PROTOCOL_JS}")
