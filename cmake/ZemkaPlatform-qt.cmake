# The Qt 6 Widgets back end (Linux desktops and headless runs). The test
# suite drives it through Qt's offscreen platform and under Xvfb.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)
file(GLOB ZEMKA_QT_SOURCES CONFIGURE_DEPENDS zemka/platform/qt/*.cpp)
target_sources(zemka PRIVATE ${ZEMKA_QT_SOURCES})
target_link_libraries(zemka PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets)
set_target_properties(zemka PROPERTIES AUTOMOC ON)
set(ZEMKA_PLATFORM_UNIT_TESTS ON)
