# A desktop build's second copy of the library, on the headless back end:
# headless/libzemka.so.2, with the same SONAME and the same functions. A
# program built against the desktop library runs on it unchanged when the
# loader is pointed there (zemka run does so where there is no display).
# Installed as lib/zemka/headless/. Made by the desktop back ends that need
# a display.
include(GNUInstallDirs)
function(zemka_add_headless_runtime)
  add_library(zemka-headless-runtime SHARED ${ZEMKA_LOGIC_SOURCES} ${ZEMKA_ENGINE_SOURCES})
  target_include_directories(zemka-headless-runtime PRIVATE ${PROJECT_SOURCE_DIR})
  set_target_properties(zemka-headless-runtime PROPERTIES
    OUTPUT_NAME zemka VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
    LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/headless)
  target_compile_options(zemka-headless-runtime PRIVATE -fno-semantic-interposition)
  # Inside a function: the back end's packaging variables stay the desktop's.
  set(ZEMKA_BACKEND_TARGET zemka-headless-runtime)
  include(${PROJECT_SOURCE_DIR}/cmake/ZemkaPlatform-headless.cmake)
endfunction()

if(ZEMKA_SHARED)
  find_package(Freetype QUIET)
  if(Freetype_FOUND)
    zemka_add_headless_runtime()
    install(TARGETS zemka-headless-runtime LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/zemka/headless)
    string(JOIN ", " ZEMKA_PLATFORM_RUNTIME_DEB_DEPENDS ${ZEMKA_PLATFORM_RUNTIME_DEB_DEPENDS} fonts-dejavu-core)
  else()
    message(STATUS "No FreeType: zemka run needs a display with this build")
  endif()
endif()
