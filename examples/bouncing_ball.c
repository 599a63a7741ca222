/* A bouncing ball, in plain C: an animation driven by periodic events.
 *
 * ZEMKA_set_animation(RUN_ANIMATE) makes the event wait return a
 * ZEMKA_PERIODIC event ten times a second. On each one the ball moves a
 * step and the whole frame is drawn again; the window shows the finished
 * frame at the next wait, so nothing flickers.
 *
 *   click        puts the ball where you clicked
 *   space        halts the ball, or lets it go on
 *   Ctrl+Q       quits (the Run menu has the other commands)
 */
#include <zemka/zemka.h>

#define BLACK 0
#define RED 2
#define NAVY_BLUE 9

#define RADIUS 20
/* The ball's centre stays this far from the middle, so the ball stays
 * inside the 600 x 500 window. */
#define MAX_X (300 - RADIUS)
#define MAX_Y (250 - RADIUS)

struct ball {
    int x, y;   /* centre */
    int dx, dy; /* step per frame */
};

/* One coordinate moves a step; past a wall it is mirrored back and turns
 * round. Returns 1 when it bounced. */
static int move(int *position, int *step, int limit) {
    *position += *step;
    if (*position > limit) {
        *position = 2 * limit - *position;
        *step = -*step;
        return 1;
    }
    if (*position < -limit) {
        *position = -2 * limit - *position;
        *step = -*step;
        return 1;
    }
    return 0;
}

/* A click outside the walls puts the ball at the nearest wall. */
static int clamp(int value, int limit) {
    if (value > limit) return limit;
    if (value < -limit) return -limit;
    return value;
}

static void draw_frame(const struct ball *b, int frame) {
    ZEMKA_clear_canvas();
    ZEMKA_draw_circle(RED, b->x, b->y, RADIUS);
    ZEMKA_draw_textf(NAVY_BLUE, -290, -225, 14, "frame %d", frame);
}

int main(void) {
    struct ball b = {0, 0, 20, 15};
    int frame = 0;
    int running = 1;
    int x = 0, y = 0;
    char key = 0;
    int kind;

    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0); /* ten frames a second would flood the text window */
    ZEMKA_set_animation(RUN_ANIMATE);
    draw_frame(&b, frame);

    for (;;) {
        kind = ZEMKA_next_event(&x, &y, &key);
        if (kind == ZEMKA_QUIT) break;
        if (kind == ZEMKA_PERIODIC) {
            ++frame;
            if (move(&b.x, &b.dx, MAX_X))
                ZEMKA_console_printf("Bounce off the %s wall in frame %d\n", b.dx < 0 ? "right" : "left", frame);
            if (move(&b.y, &b.dy, MAX_Y))
                ZEMKA_console_printf("Bounce off the %s wall in frame %d\n", b.dy < 0 ? "top" : "bottom", frame);
        } else if (kind == ZEMKA_MOUSE) {
            b.x = clamp(x, MAX_X);
            b.y = clamp(y, MAX_Y);
        } else if (kind == ZEMKA_KBD && key == ' ') {
            running = !running;
            ZEMKA_set_animation(running ? RUN_ANIMATE : RUN_HALT);
            ZEMKA_console_printf(running ? "Going on\n" : "Halted\n");
        }
        draw_frame(&b, frame);
    }
    ZEMKA_stop();
    return 0;
}
