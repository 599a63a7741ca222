/* Lesson 4: animation.
 *
 * ZEMKA_set_animation(RUN_ANIMATE) makes the wait return a ZEMKA_PERIODIC
 * event ten times a second: a tick. On every tick the car drives a step to
 * the right and the picture is drawn again from nothing. When the car
 * leaves on the right it comes back on the left.
 */
#include <zemka/zemka.h>

#define BLACK 0
#define RED 2
#define ICE_BLUE 11
#define GRAY 22

static void draw_car(int x) {
    ZEMKA_draw_rectangle(RED, x - 60, -20, x + 60, -60, 0);  /* body */
    ZEMKA_draw_rectangle(RED, x - 30, 10, x + 30, -20, 0);   /* cabin */
    ZEMKA_draw_rectangle(ICE_BLUE, x - 22, 3, x + 22, -18, 0);
    ZEMKA_draw_circle(BLACK, x - 35, -65, 15);               /* wheels */
    ZEMKA_draw_circle(BLACK, x + 35, -65, 15);
}

int main(void) {
    int x, y, kind;
    char key;
    int car = -250;
    int ticks = 0;

    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_set_animation(RUN_ANIMATE);
    for (;;) {
        ZEMKA_clear_canvas();
        ZEMKA_draw_rectangle(GRAY, -300, -80, 300, -250, 0);  /* the road */
        draw_car(car);
        ZEMKA_draw_textf(BLACK, -290, 230, 14, "tick %d", ticks);
        kind = ZEMKA_next_event(&x, &y, &key);
        if (kind == ZEMKA_QUIT) break;
        if (kind == ZEMKA_PERIODIC) {
            ++ticks;
            car += 20;
            if (car > 360) car = -360;  /* off on the right, back on the left */
        }
    }
    ZEMKA_stop();
    return 0;
}
