# The template back end: the emulated window system over stubs, for
# starting a new back end from. Not a product: windows keep their last
# presented pixels and are on no screen, there is no input, text is drawn
# as boxes, there are no menus and no dialogs. It needs no library besides
# the C++ one. Kept out of cmake/, so it is no back end a build offers.
#
# To start a back end NAME: copy this folder to zemka/platform/NAME/ and
# move this file to cmake/ZemkaPlatform-NAME.cmake. That alone builds (the
# folder is found from this file's name); then rename the template_ files
# and names as docs/backends.md lists them (the conformance user below and
# the sources too), fill in the card and the sources in the order it says.

# This back end's folder: zemka/platform/NAME/ for cmake/ZemkaPlatform-NAME.cmake.
get_filename_component(ZEMKA_BACKEND_FOLDER "${CMAKE_CURRENT_LIST_FILE}" NAME_WLE)
string(REGEX REPLACE "^ZemkaPlatform-" "" ZEMKA_BACKEND_FOLDER "${ZEMKA_BACKEND_FOLDER}")
set(ZEMKA_BACKEND_FOLDER ${PROJECT_SOURCE_DIR}/zemka/platform/${ZEMKA_BACKEND_FOLDER})

# --- The card: what the build, ./test and ./run know of this back end.
set(ZEMKA_BACKEND_DEFAULT_FOR "")       # CMAKE_SYSTEM_NAME values where it is the default back end
set(ZEMKA_BACKEND_NEEDS_DISPLAY OFF)    # ON: ./run does not pick it where there is no display
set(ZEMKA_BACKEND_SUITES portable conformance)  # folders under tests/ that its build adds
# The conformance test's user: its input half and its screen half.
set(ZEMKA_BACKEND_CONFORMANCE_USER ${PROJECT_SOURCE_DIR}/tests/conformance/no_input_user.cpp
  ${ZEMKA_BACKEND_FOLDER}/template_conformance_user.cpp)
set(ZEMKA_BACKEND_TEST_ENVIRONMENT "")  # environment of its conformance test and benchmarks (NAME=VALUE list)
set(ZEMKA_BACKEND_DEPS "")              # a script that installs its packages
set(ZEMKA_BACKEND_PREPARE "")           # a command ./test runs before the builds
# How ./test tests it: build (plain and sanitized builds, ctest) or a
# script. Empty: not yet, since the examples' pictures need real text and
# their answers real dialogs; say build once they are.
set(ZEMKA_BACKEND_CHECK "")
set(ZEMKA_BACKEND_RUN "")               # a command ./run --NAME runs instead of building the painter
set(ZEMKA_BACKEND_STAND_IN "")          # the back end ./run starts instead where there is no display
if(ZEMKA_BACKEND_CARD_ONLY)
  return()
endif()

# --- The build. ZEMKA_BACKEND_TARGET is the library target (set by the includer).
target_sources(${ZEMKA_BACKEND_TARGET} PRIVATE
  ${ZEMKA_EMULATED_WINDOW_SYSTEM_SOURCES}   # the emulated window system
  ${ZEMKA_ENVIRONMENT_SETTINGS_SOURCES}     # settings from the environment (or the back end's own settings.cpp)
  ${PROJECT_SOURCE_DIR}/zemka/platform/emulated/optional/no_menus.cpp    # until it shows menus
  ${PROJECT_SOURCE_DIR}/zemka/platform/emulated/optional/no_dialogs.cpp  # until it shows dialogs
  ${PROJECT_SOURCE_DIR}/zemka/platform/emulated/optional/kept_screen.cpp  # until it has a screen
  ${ZEMKA_BACKEND_FOLDER}/template_windows.cpp
  ${ZEMKA_BACKEND_FOLDER}/template_text_engine.cpp)
# Its toolkit's libraries go here: target_link_libraries(${ZEMKA_BACKEND_TARGET} PRIVATE ...),
# and what a program linked with the installed static library then needs:
# set(ZEMKA_PLATFORM_FIND_DEPENDENCY "find_dependency(...)")
# set(ZEMKA_PLATFORM_PC_REQUIRES "...")
# set(ZEMKA_PLATFORM_DEB_DEPENDS "...")
# set(ZEMKA_PLATFORM_RUNTIME_DEB_DEPENDS "...")
