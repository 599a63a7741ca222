# The headless back end: the emulated window system with windows that only
# keep their pixels, no toolkit and no display; input only from replays
# (and a dialog's answer from standard input), text by FreeType in the
# desktop's DejaVu fonts. Replays, snapshots and the test suite that needs
# no toolkit run on it.

# --- The card (cmake/ZemkaBackends.cmake).
set(ZEMKA_BACKEND_DEFAULT_FOR "")
set(ZEMKA_BACKEND_NEEDS_DISPLAY OFF)
set(ZEMKA_BACKEND_SUITES portable conformance)
set(ZEMKA_BACKEND_CONFORMANCE_USER ${PROJECT_SOURCE_DIR}/tests/conformance/no_input_user.cpp
  ${PROJECT_SOURCE_DIR}/tests/conformance/headless_user.cpp)
set(ZEMKA_BACKEND_TEST_ENVIRONMENT "")
set(ZEMKA_BACKEND_DEPS "")
set(ZEMKA_BACKEND_PREPARE "")
set(ZEMKA_BACKEND_CHECK build)
set(ZEMKA_BACKEND_RUN "")
set(ZEMKA_BACKEND_STAND_IN "")
if(ZEMKA_BACKEND_CARD_ONLY)
  return()
endif()

# --- The build, into ZEMKA_BACKEND_TARGET: the library, or the second copy
# a desktop build makes beside its own (cmake/ZemkaHeadlessRuntime.cmake).
find_package(Freetype REQUIRED)
set(ZEMKA_FONT_DIR /usr/share/fonts/truetype/dejavu CACHE PATH "Folder of the DejaVu fonts the headless back end draws text with")
target_sources(${ZEMKA_BACKEND_TARGET} PRIVATE
  ${ZEMKA_EMULATED_WINDOW_SYSTEM_SOURCES}
  ${ZEMKA_ENVIRONMENT_SETTINGS_SOURCES}
  ${PROJECT_SOURCE_DIR}/zemka/platform/emulated/optional/no_menus.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/emulated/optional/kept_screen.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/headless/headless_windows.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/headless/headless_dialog.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/headless/headless_text_engine.cpp)
set_source_files_properties(${PROJECT_SOURCE_DIR}/zemka/platform/headless/headless_text_engine.cpp
  PROPERTIES COMPILE_DEFINITIONS "ZEMKA_FONT_DIR=\"${ZEMKA_FONT_DIR}\"")
target_link_libraries(${ZEMKA_BACKEND_TARGET} PRIVATE Freetype::Freetype)
# What a program linked with the static library needs besides it.
set(ZEMKA_PLATFORM_FIND_DEPENDENCY "find_dependency(Freetype)")
set(ZEMKA_PLATFORM_PC_REQUIRES "freetype2")
set(ZEMKA_PLATFORM_DEB_DEPENDS "libfreetype-dev, fonts-dejavu-core")
set(ZEMKA_PLATFORM_RUNTIME_DEB_DEPENDS "fonts-dejavu-core")
