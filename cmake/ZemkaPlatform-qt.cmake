# The Qt 6 Widgets back end (Linux desktops): the emulated window system
# over Qt's windows, input, event loop, menus and dialogs, text by Qt's font
# engine. Its suite drives it through Qt's offscreen platform and under
# Xvfb.

# --- The card (cmake/ZemkaBackends.cmake).
set(ZEMKA_BACKEND_DEFAULT_FOR Linux)
set(ZEMKA_BACKEND_NEEDS_DISPLAY ON)
set(ZEMKA_BACKEND_SUITES qt conformance examples install command mark)
set(ZEMKA_BACKEND_CONFORMANCE_USER ${PROJECT_SOURCE_DIR}/tests/conformance/qt_user.cpp)
set(ZEMKA_BACKEND_TEST_ENVIRONMENT QT_QPA_PLATFORM=offscreen)
set(ZEMKA_BACKEND_DEPS "")
set(ZEMKA_BACKEND_PREPARE "")
set(ZEMKA_BACKEND_CHECK build)
set(ZEMKA_BACKEND_RUN "")
set(ZEMKA_BACKEND_STAND_IN headless)  # where there is no display, ./run replays on it
if(ZEMKA_BACKEND_CARD_ONLY)
  return()
endif()

# --- The build.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)
target_sources(${ZEMKA_BACKEND_TARGET} PRIVATE
  ${ZEMKA_EMULATED_WINDOW_SYSTEM_SOURCES}
  ${ZEMKA_ENVIRONMENT_SETTINGS_SOURCES}
  ${PROJECT_SOURCE_DIR}/zemka/platform/qt/qt_windows.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/qt/qt_dialog.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/qt/qt_text_engine.cpp)
target_link_libraries(${ZEMKA_BACKEND_TARGET} PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets)
if(ZEMKA_TESTS)
  # The conformance test's user sends real Qt events.
  find_package(Qt6 REQUIRED COMPONENTS Test)
  set(ZEMKA_BACKEND_CONFORMANCE_LIBRARIES Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Test)
endif()
# What a program linked with the static library needs besides it.
set(ZEMKA_PLATFORM_FIND_DEPENDENCY "find_dependency(Qt6 COMPONENTS Core Gui Widgets)")
set(ZEMKA_PLATFORM_PC_REQUIRES "Qt6Widgets Qt6Gui Qt6Core")
set(ZEMKA_PLATFORM_DEB_DEPENDS "qt6-base-dev")
# A desktop needs a display: zemka run uses a second copy of the library on
# the back end that needs none where there is no display.
include(${PROJECT_SOURCE_DIR}/cmake/ZemkaHeadlessRuntime.cmake)
