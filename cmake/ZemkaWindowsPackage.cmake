# The Windows SDK's own parts (included by ZemkaInstall.cmake):
#   lib/cmake/zemka/zemkaConfig.cmake   zemka::zemka for MinGW and for
#                                       Visual Studio (no exported targets:
#                                       the import library is chosen by the
#                                       compiler that finds the package)
#   START.md                            the start page, docs/windows.md with
#                                       its links into share/doc/zemka/
#   CMakeLists.txt, hello.c             a ready project in the top folder
configure_package_config_file(cmake/zemkaWindowsConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/zemkaConfig.cmake
  INSTALL_DESTINATION ${ZEMKA_CMAKE_DIR})

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/windows.md)
file(READ ${PROJECT_SOURCE_DIR}/docs/windows.md ZEMKA_WINDOWS_START)
string(REGEX REPLACE "\\]\\(([A-Za-z0-9_.-]+\\.md)" "](${CMAKE_INSTALL_DOCDIR}/\\1" ZEMKA_WINDOWS_START "${ZEMKA_WINDOWS_START}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/START.md.new "${ZEMKA_WINDOWS_START}")
configure_file(${CMAKE_CURRENT_BINARY_DIR}/START.md.new ${CMAKE_CURRENT_BINARY_DIR}/START.md COPYONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/START.md
  ${PROJECT_SOURCE_DIR}/cmake/windows-project/CMakeLists.txt
  ${PROJECT_SOURCE_DIR}/cmake/windows-project/hello.c
  DESTINATION .)
