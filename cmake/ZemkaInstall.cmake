# What `cmake --install` puts where (paths below the install prefix):
#   lib/libzemka.so.2.2.0, libzemka.so.2, libzemka.so   the library
#   include/zemka/zemka.h                               its header
#   lib/cmake/zemka/                                    find_package(zemka)
#   lib/pkgconfig/zemka.pc                              pkg-config zemka
#   bin/weather-painter                                 the painter
#   share/zemka/examples/                               example sources
#   share/doc/zemka/                                    the documentation
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZEMKA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/zemka)
set(ZEMKA_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(ZEMKA_EXAMPLES_DIR ${CMAKE_INSTALL_DATADIR}/zemka/examples)

set_target_properties(zemka PROPERTIES EXPORT_NAME zemka)
install(TARGETS zemka EXPORT zemkaTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES zemka/zemka.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zemka)

# The painter finds the library next to it wherever the tree is installed.
if(ZEMKA_SHARED)
  set_target_properties(weather-painter PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
endif()
install(TARGETS weather-painter RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The CMake package: zemka::zemka. A shared library carries its back
# end's libraries as its own dependencies; a static one needs them when the
# program is linked, so then the package looks for them as well.
install(EXPORT zemkaTargets NAMESPACE zemka:: DESTINATION ${ZEMKA_CMAKE_DIR})
configure_package_config_file(cmake/zemkaConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/zemkaConfig.cmake
  INSTALL_DESTINATION ${ZEMKA_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/zemkaConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zemkaConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/zemkaConfigVersion.cmake
  DESTINATION ${ZEMKA_CMAKE_DIR})

# The pkg-config file names its directories relative to its own place, so
# the installed tree can be moved (cmake --install --prefix, dpkg -x).
file(RELATIVE_PATH ZEMKA_PC_TO_PREFIX /root/${ZEMKA_PKGCONFIG_DIR} /root)
string(REGEX REPLACE "/$" "" ZEMKA_PC_TO_PREFIX "${ZEMKA_PC_TO_PREFIX}")
# A shared library loads its back end's libraries and the C++ runtime
# itself; a static one needs them on the link line (pkg-config --static).
if(ZEMKA_SHARED)
  set(ZEMKA_PC_PRIVATE "")
else()
  set(ZEMKA_PC_PRIVATE "Requires.private: ${ZEMKA_PLATFORM_PC_REQUIRES}\nLibs.private: -lstdc++ -lm\n")
endif()
configure_file(cmake/zemka.pc.in ${CMAKE_CURRENT_BINARY_DIR}/zemka.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zemka.pc DESTINATION ${ZEMKA_PKGCONFIG_DIR})

# The examples' sources with their CMakeLists.txt, which builds them on
# their own against the installed package, and the painter's demo script.
install(FILES
  examples/CMakeLists.txt
  examples/shapes.cpp
  examples/bouncing_ball.c
  examples/scribble.cpp
  examples/ask_name.c
  examples/weather-demo.scr
  DESTINATION ${ZEMKA_EXAMPLES_DIR})

install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR} FILES_MATCHING PATTERN "*.md" PATTERN "*.png")
