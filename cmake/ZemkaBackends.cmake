# The back ends of this checkout: one cmake/ZemkaPlatform-NAME.cmake each,
# beside its folder zemka/platform/NAME/. Each file opens with a card, what
# the build, ./test and ./run need to know of the back end, and stops after
# it when ZEMKA_BACKEND_CARD_ONLY is set, so reading the cards builds
# nothing. The card's variables (docs/backends.md says what each means):
set(ZEMKA_BACKEND_CARD_FIELDS
  DEFAULT_FOR       # CMAKE_SYSTEM_NAME values where it is the default back end
  NEEDS_DISPLAY     # ON: not started where there is no display
  SUITES            # folders under tests/ that its build adds
  CONFORMANCE_USER  # the conformance test's user (its sources); empty: no users, no screen
  TEST_ENVIRONMENT  # environment of its conformance test and benchmarks (NAME=VALUE list)
  DEPS              # a script that installs what it needs
  PREPARE           # a command ./test runs before any build
  CHECK             # how ./test tests it: build, or a script given the reference painter
  RUN               # a command ./run --NAME runs instead of building the painter
  STAND_IN)         # the back end ./run starts instead where there is no display
#
# As a script, it prints for ./test and ./run the default back end of the
# system it runs on, then one line per back end:
#   cmake -P cmake/ZemkaBackends.cmake
#   default|NAME (empty when no card names this system)
#   NAME|DEFAULT_FOR|NEEDS_DISPLAY|CHECK|DEPS|PREPARE|RUN|STAND_IN (lists joined by spaces)

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_policy(VERSION 3.25)
endif()
get_filename_component(ZEMKA_BACKENDS_SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

# The names of the back ends, sorted.
function(zemka_backend_names out)
  file(GLOB cards RELATIVE "${ZEMKA_BACKENDS_SOURCE_DIR}/cmake" "${ZEMKA_BACKENDS_SOURCE_DIR}/cmake/ZemkaPlatform-*.cmake")
  set(names "")
  foreach(card IN LISTS cards)
    string(REGEX REPLACE "^ZemkaPlatform-(.*)\\.cmake$" "\\1" name "${card}")
    list(APPEND names "${name}")
  endforeach()
  list(SORT names)
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# Reads the card of back end `name` into <prefix>_<FIELD> in the caller.
function(zemka_read_backend_card name prefix)
  foreach(field IN LISTS ZEMKA_BACKEND_CARD_FIELDS)
    set(ZEMKA_BACKEND_${field} "")
  endforeach()
  set(ZEMKA_BACKEND_CARD_ONLY ON)
  set(PROJECT_SOURCE_DIR "${ZEMKA_BACKENDS_SOURCE_DIR}")
  include("${ZEMKA_BACKENDS_SOURCE_DIR}/cmake/ZemkaPlatform-${name}.cmake")
  foreach(field IN LISTS ZEMKA_BACKEND_CARD_FIELDS)
    set(${prefix}_${field} "${ZEMKA_BACKEND_${field}}" PARENT_SCOPE)
  endforeach()
endfunction()

# The back end whose card names `system` as where it is the default (the
# first in sorted order, when several do); empty when none does.
function(zemka_default_backend system out)
  zemka_backend_names(names)
  set(found "")
  foreach(name IN LISTS names)
    zemka_read_backend_card(${name} card)
    if(system IN_LIST card_DEFAULT_FOR AND NOT found)
      set(found ${name})
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  zemka_default_backend("${CMAKE_HOST_SYSTEM_NAME}" default)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E echo "default|${default}")
  zemka_backend_names(names)
  foreach(name IN LISTS names)
    zemka_read_backend_card(${name} card)
    set(line "${name}")
    foreach(field DEFAULT_FOR NEEDS_DISPLAY CHECK DEPS PREPARE RUN STAND_IN)
      list(JOIN card_${field} " " value)
      string(APPEND line "|${value}")
    endforeach()
    execute_process(COMMAND "${CMAKE_COMMAND}" -E echo "${line}")
  endforeach()
endif()
