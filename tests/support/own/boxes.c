/* A learner's own program for the tests of the zemka command and of
 * animations: geometry only, so every back end gives the same pixels. */
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
