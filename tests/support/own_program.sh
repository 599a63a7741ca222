# Sourced by the tests of the zemka command: write_own_programs DIR puts
# two small programs of a learner's own (not the examples) into DIR, with
# the script that drives them (tests/support/own/):
#   boxes.c     C: a blue box, a green oval, a red line; a magenta dot at
#               every click, a black bar that grows right with the ticks
#   rings.cpp   C++: orange rings from a std::vector, a cyan dot at every
#               click
#   boxes.scr   two clicks and five ticks
# Both draw geometry only, so every back end must give the same pixels.
write_own_programs() {
  cp "$(dirname "${BASH_SOURCE[0]}")"/own/{boxes.c,rings.cpp,boxes.scr} "$1/"
}
