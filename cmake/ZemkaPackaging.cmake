# `cpack -G DEB` in the build directory makes zemka_<version>_<arch>.deb
# with everything that `cmake --install` installs, below /usr.
set(CPACK_PACKAGE_NAME zemka)
set(CPACK_PACKAGE_VENDOR "ZEMKA developers")
set(CPACK_PACKAGE_CONTACT "ZEMKA developers <zemka@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small graphics library for people learning to program")
set(CPACK_PACKAGE_DESCRIPTION "ZEMKA draws into one fixed window in centred coordinates with 24 named colours,
returns clicks, keys, animation ticks and quit from one blocking call, and
records and replays input scripts. The package holds the library, its C
header, a CMake package and a pkg-config file, the example programs'
sources and the weather painter.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
# Depends from the ELF files (libc6, libstdc++6, the back end's libraries).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(ZEMKA_SHARED)
  # A shlibs entry and the ldconfig trigger for libzemka.so.2.
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  # The painter needs the library of this very package.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_CURRENT_BINARY_DIR})
  # What the libraries' ELF files do not name (fonts, say).
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${ZEMKA_PLATFORM_RUNTIME_DEB_DEPENDS}")
else()
  # A static library brings no back end libraries along: programs are
  # linked against them.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${ZEMKA_PLATFORM_DEB_DEPENDS}")
endif()
# The zemka command is a Python 3 program.
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS ${CPACK_DEBIAN_PACKAGE_DEPENDS} python3)
string(REGEX REPLACE "^, " "" CPACK_DEBIAN_PACKAGE_DEPENDS "${CPACK_DEBIAN_PACKAGE_DEPENDS}")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "g++, cmake, pkg-config")

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/fuzz/out/")

include(CPack)
