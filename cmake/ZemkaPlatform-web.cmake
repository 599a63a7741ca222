# The web back end: the emulated window system over a web page (its page
# half is zemka_web.js), text by the browser's 2D canvas, settings from the
# page's address. A static library linked into each program's page
# (program.html, .js, .wasm). Built with Debian's emscripten through
# emcmake; tools/build-web.sh does it all.
if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "ZEMKA_PLATFORM=web needs the Emscripten toolchain (emcmake cmake ...)")
endif()
target_sources(zemka PRIVATE
  ${ZEMKA_EMULATED_WINDOW_SYSTEM_SOURCES}
  ${PROJECT_SOURCE_DIR}/zemka/platform/web/web_windows.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/web/web_dialog.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/web/web_text_engine.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/web/web_settings.cpp)

set(ZEMKA_WEB_JS_LIBRARY ${CMAKE_CURRENT_SOURCE_DIR}/zemka/platform/web/zemka_web.js)
# Every program becomes a script and its module (program.js, .wasm); its
# page is web/page.html with the script put in (tools/build-web.sh). Only
# the functions that can reach the page's wait (zemka_web_wait) or the
# yield of a busy pump (emscripten_sleep) are made resumable. Calls through
# pointers count as able to reach them: a program may well call
# ZEMKA_next_event through a std::function or a table of its own. The
# unwound stack is saved whole: a program may wait from deep in its own
# calls, so it gets room for far more than the default's few frames.
set(CMAKE_EXECUTABLE_SUFFIX ".js")
set(ZEMKA_WEB_PROGRAM_LINK_FLAGS
  -sASYNCIFY=1
  "-sASYNCIFY_IMPORTS=[zemka_web_wait,emscripten_sleep]"
  -sASYNCIFY_STACK_SIZE=65536
  -sEXIT_RUNTIME=1
  -sFORCE_FILESYSTEM=1
  -sALLOW_MEMORY_GROWTH=1
  -sENVIRONMENT=web
  "-sEXPORTED_RUNTIME_METHODS=[FS,addRunDependency,removeRunDependency]")
target_link_options(zemka INTERFACE
  $<BUILD_INTERFACE:--js-library=${ZEMKA_WEB_JS_LIBRARY}> ${ZEMKA_WEB_PROGRAM_LINK_FLAGS})
# The same flags, one a line, for the zemka command, which links programs
# against the library without CMake (tools/build-web.sh puts the file in
# the web SDK).
list(JOIN ZEMKA_WEB_PROGRAM_LINK_FLAGS "\n" ZEMKA_WEB_FLAG_LINES)
file(WRITE ${CMAKE_BINARY_DIR}/zemka-web-link-flags.txt "${ZEMKA_WEB_FLAG_LINES}\n")
set_property(TARGET zemka APPEND PROPERTY INTERFACE_LINK_DEPENDS
  $<BUILD_INTERFACE:${ZEMKA_WEB_JS_LIBRARY}>)
