# The Qt 6 Widgets back end (Linux desktops): the emulated window system
# over Qt's windows, input, event loop, menus and dialogs, text by Qt's font
# engine. The test suite drives it through Qt's offscreen platform and
# under Xvfb.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)
target_sources(zemka PRIVATE
  ${ZEMKA_EMULATED_WINDOW_SYSTEM_SOURCES}
  ${ZEMKA_ENVIRONMENT_SETTINGS_SOURCES}
  ${PROJECT_SOURCE_DIR}/zemka/platform/qt/qt_windows.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/qt/qt_dialog.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/qt/qt_text_engine.cpp)
target_link_libraries(zemka PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets)
set(ZEMKA_PLATFORM_UNIT_TESTS ON)
# What a program linked with the static library needs besides it.
set(ZEMKA_PLATFORM_FIND_DEPENDENCY "find_dependency(Qt6 COMPONENTS Core Gui Widgets)")
set(ZEMKA_PLATFORM_PC_REQUIRES "Qt6Widgets Qt6Gui Qt6Core")
set(ZEMKA_PLATFORM_DEB_DEPENDS "qt6-base-dev")
