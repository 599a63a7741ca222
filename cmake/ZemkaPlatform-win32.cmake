# The Win32 back end (Windows, built with MinGW-w64 or another Windows
# compiler). zemka.dll links the C and C++ runtime statically, so it needs
# only system DLLs, and exports exactly the ZEMKA_ entries of zemka.h
# (zemka.def, made from the header, also lets other toolchains make an
# import library). tests/windows builds the Windows suite.
# Windows keeps its own window system, message queue and dialogs: the
# library's emulated one is not used here.

# --- The card (cmake/ZemkaBackends.cmake). ./test cross-builds it and
# runs its suite under wine (tests/windows/run.sh).
set(ZEMKA_BACKEND_DEFAULT_FOR Windows)
set(ZEMKA_BACKEND_NEEDS_DISPLAY ON)
set(ZEMKA_BACKEND_SUITES windows)
set(ZEMKA_BACKEND_CONFORMANCE_USER "")
set(ZEMKA_BACKEND_TEST_ENVIRONMENT "")
set(ZEMKA_BACKEND_DEPS tools/deps-windows.sh)
# The desktop build installs the Windows SDKs for the zemka command.
set(ZEMKA_BACKEND_PREPARE tools/build-windows.sh)
set(ZEMKA_BACKEND_CHECK tests/windows/run.sh)
set(ZEMKA_BACKEND_RUN "")
set(ZEMKA_BACKEND_STAND_IN "")
if(ZEMKA_BACKEND_CARD_ONLY)
  return()
endif()

# --- The build.
set(ZEMKA_WIN32_SOURCES
  ${ZEMKA_ENVIRONMENT_SETTINGS_SOURCES}
  ${PROJECT_SOURCE_DIR}/zemka/platform/win32/win32_windowing.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/win32/win32_dialog.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/win32/win32_text_engine.cpp
  ${PROJECT_SOURCE_DIR}/zemka/platform/win32/win32_wide_text.cpp)
target_sources(${ZEMKA_BACKEND_TARGET} PRIVATE ${ZEMKA_WIN32_SOURCES})
target_link_libraries(zemka PRIVATE user32 gdi32)
target_compile_definitions(zemka PRIVATE UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)

# zemka.def: one line per ZEMKA_ function declared in the header.
file(READ ${CMAKE_CURRENT_SOURCE_DIR}/zemka/zemka.h ZEMKA_HEADER_TEXT)
string(REGEX MATCHALL "[ *]ZEMKA_[a-z_]+\\(" ZEMKA_EXPORT_MATCHES "${ZEMKA_HEADER_TEXT}")
set(ZEMKA_DEF_TEXT "LIBRARY zemka.dll\nEXPORTS\n")
foreach(match IN LISTS ZEMKA_EXPORT_MATCHES)
  string(REGEX REPLACE "^[ *](ZEMKA_[a-z_]+)\\($" "\\1" name "${match}")
  string(APPEND ZEMKA_DEF_TEXT "    ${name}\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/zemka.def CONTENT "${ZEMKA_DEF_TEXT}")
set(ZEMKA_DEF_FILE ${CMAKE_CURRENT_BINARY_DIR}/zemka.def)

if(ZEMKA_SHARED)
  # zemka.dll with the import library libzemka.dll.a.
  set_target_properties(zemka PROPERTIES PREFIX "" IMPORT_PREFIX "lib" IMPORT_SUFFIX ".dll.a")
  if(MINGW)
    target_link_options(zemka PRIVATE ${ZEMKA_DEF_FILE} -static -static-libgcc -static-libstdc++
      -Wl,--exclude-all-symbols -Wl,--no-insert-timestamp)
  else()
    target_link_options(zemka PRIVATE /DEF:${ZEMKA_DEF_FILE})
  endif()
  set_property(TARGET zemka APPEND PROPERTY LINK_DEPENDS ${ZEMKA_DEF_FILE})
endif()
if(ZEMKA_SHARED AND MINGW)
  # zemka.lib, the import library for Microsoft's linker (Visual Studio,
  # clang-cl, lld-link), made from the same exports. On x86 the cdecl
  # names get their leading underscore and the DLL's names stay plain.
  find_program(ZEMKA_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14)
  if(NOT ZEMKA_LLVM_DLLTOOL)
    message(FATAL_ERROR "zemka.lib needs llvm-dlltool: install it with tools/deps-windows.sh (Debian package llvm-14)")
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ZEMKA_DLLTOOL_MACHINE i386:x86-64)
  else()
    set(ZEMKA_DLLTOOL_MACHINE i386)
  endif()
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/zemka.lib
    COMMAND ${ZEMKA_LLVM_DLLTOOL} -m ${ZEMKA_DLLTOOL_MACHINE} -D zemka.dll -d ${ZEMKA_DEF_FILE}
      -l ${CMAKE_CURRENT_BINARY_DIR}/zemka.lib
    DEPENDS ${ZEMKA_DEF_FILE} VERBATIM)
  add_custom_target(zemka-msvc-import-library ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/zemka.lib)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zemka.lib DESTINATION lib)
endif()
if(MINGW)
  # Unused code of the statically linked runtime is left out of the DLL.
  target_compile_options(zemka PRIVATE -ffunction-sections -fdata-sections)
  target_link_options(zemka PRIVATE -Wl,--gc-sections)
  # The programs, too, carry their runtime inside.
  add_link_options($<$<LINK_LANGUAGE:CXX>:-static-libstdc++> -static-libgcc -static)
endif()
install(FILES ${ZEMKA_DEF_FILE} DESTINATION lib)
