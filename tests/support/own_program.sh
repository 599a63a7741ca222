# Sourced by the tests of the zemka command: write_own_programs DIR writes
# two small programs of a learner's own (not the examples) into DIR, with
# the script that drives them:
#   boxes.c     C: a blue box, a green oval, a red line; a magenta dot at
#               every click, a black bar that moves right with the ticks
#   rings.cpp   C++: orange rings from a std::vector, a cyan dot at every
#               click
#   boxes.scr   two clicks and five ticks
# Both draw geometry only, so every back end must give the same pixels.
write_own_programs() {
  local dir=$1
  cat >"$dir/boxes.c" <<'END'
#include <zemka/zemka.h>

int main(void) {
    int x, y, kind, ticks = 0;
    char key;
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_clear_canvas();
    ZEMKA_draw_rectangle(4, -250, 200, -100, 50, 0);
    ZEMKA_draw_oval(3, 0, 200, 200, 100, 0);
    ZEMKA_draw_line(2, -250, -200, 250, -150, 3);
    ZEMKA_set_animation(RUN_ANIMATE);
    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT) {
        if (kind == ZEMKA_MOUSE) ZEMKA_draw_circle(6, x, y, 12);
        if (kind == ZEMKA_PERIODIC) {
            ++ticks;
            ZEMKA_draw_rectangle(0, -250 + 10 * ticks, -50, -240 + 10 * ticks, -80, 0);
        }
    }
    ZEMKA_stop();
    return 0;
}
END
  cat >"$dir/rings.cpp" <<'END'
#include <zemka/zemka.h>

#include <vector>

int main() {
    ZEMKA_start(nullptr, nullptr, "", 1);
    ZEMKA_clear_canvas();
    const std::vector<int> radii{40, 80, 120};
    for (int r : radii) ZEMKA_draw_oval(13, -r, r, r, -r, 4);
    int x = 0, y = 0, kind = 0;
    char key = 0;
    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT)
        if (kind == ZEMKA_MOUSE) ZEMKA_draw_circle(7, x, y, 10);
    ZEMKA_stop();
    return 0;
}
END
  printf '%s\n' 'ZEMKA_MOUSE(100, -100);' 'ZEMKA_PERIODIC(5);' 'ZEMKA_MOUSE(-200, 150);' >"$dir/boxes.scr"
}
