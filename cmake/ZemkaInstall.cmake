# What `cmake --install` puts where (paths below the install prefix):
#   lib/libzemka.so.2.2.0, libzemka.so.2, libzemka.so   the library
#   include/zemka/zemka.h                               its header
#   lib/cmake/zemka/                                    find_package(zemka)
#   lib/pkgconfig/zemka.pc                              pkg-config zemka
#   bin/weather-painter                                 the painter
#   bin/zemka                                           the zemka command
#   share/zemka/examples/                               example sources
#   share/zemka/web/                                    the web SDK (zemka web)
#   share/zemka/windows/x86_64/, i686/                  the Windows SDKs (zemka windows)
#   share/doc/zemka/                                    the documentation
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZEMKA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/zemka)
set(ZEMKA_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(ZEMKA_EXAMPLES_DIR ${CMAKE_INSTALL_DATADIR}/zemka/examples)

set_target_properties(zemka PROPERTIES EXPORT_NAME zemka)
# A program in C alone is linked by the C compiler, which does not know
# that a static libzemka.a needs the C++ runtime (CMake adds it only when
# the program's project enables C++ too): the package says so itself.
if(NOT ZEMKA_SHARED AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "wasm32")
  target_link_libraries(zemka INTERFACE $<$<LINK_LANGUAGE:C>:stdc++> $<$<LINK_LANGUAGE:C>:m>)
endif()
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
# The Windows SDK has a package of its own, for MinGW and Visual Studio
# alike, with its start page and a ready project.
if(WIN32)
  include(cmake/ZemkaWindowsPackage.cmake)
else()
  install(EXPORT zemkaTargets NAMESPACE zemka:: DESTINATION ${ZEMKA_CMAKE_DIR})
  configure_package_config_file(cmake/zemkaConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/zemkaConfig.cmake
    INSTALL_DESTINATION ${ZEMKA_CMAKE_DIR})
endif()
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
# The lessons come with their scripts and their answers to ZEMKA_gets.
file(GLOB ZEMKA_INSTALLED_EXAMPLES CONFIGURE_DEPENDS
  examples/*.c examples/*.cpp examples/*.scr examples/*.in)
install(FILES examples/CMakeLists.txt ${ZEMKA_INSTALLED_EXAMPLES} DESTINATION ${ZEMKA_EXAMPLES_DIR})

install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR} FILES_MATCHING PATTERN "*.md" PATTERN "*.png")

# The zemka command: build/zemka for this build tree (it links programs
# against the tree's library), and the installed one, which finds the
# library beside itself. Only for a desktop build: the web and Windows
# libraries come with it as its SDKs.
if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "wasm32" AND NOT WIN32)
  set(ZEMKA_COMMAND_LAYOUT checkout)
  configure_file(tools/zemka ${CMAKE_CURRENT_BINARY_DIR}/zemka @ONLY)
  set(ZEMKA_COMMAND_LAYOUT installed)
  configure_file(tools/zemka ${CMAKE_CURRENT_BINARY_DIR}/installed-command/zemka @ONLY)
  install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/installed-command/zemka DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The SDKs that tools/build-web.sh and tools/build-windows.sh stage, where
  # they have been built: zemka web and zemka windows use them.
  set(ZEMKA_WEB_SDK_DIR ${PROJECT_SOURCE_DIR}/build-web/sdk CACHE PATH "The web SDK to install")
  set(ZEMKA_WIN64_SDK_DIR ${PROJECT_SOURCE_DIR}/build-win64/sdk CACHE PATH "The x86_64 Windows SDK to install")
  set(ZEMKA_WIN32_SDK_DIR ${PROJECT_SOURCE_DIR}/build-win32/sdk CACHE PATH "The i686 Windows SDK to install")
  if(EXISTS ${ZEMKA_WEB_SDK_DIR}/libzemka.a)
    install(DIRECTORY ${ZEMKA_WEB_SDK_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zemka/web)
  else()
    message(STATUS "No web SDK in ${ZEMKA_WEB_SDK_DIR}: the installed zemka web will say so")
  endif()
  foreach(arch x86_64 i686)
    if(arch STREQUAL x86_64)
      set(dir ${ZEMKA_WIN64_SDK_DIR})
    else()
      set(dir ${ZEMKA_WIN32_SDK_DIR})
    endif()
    if(EXISTS ${dir}/lib/libzemka.dll.a)
      install(DIRECTORY ${dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zemka/windows/${arch})
    else()
      message(STATUS "No ${arch} Windows SDK in ${dir}: the installed zemka windows will say so")
    endif()
  endforeach()
endif()
