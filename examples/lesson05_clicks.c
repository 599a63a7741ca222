/* Lesson 5: clicks.
 *
 * A click comes back from the wait as ZEMKA_MOUSE with the point in x and
 * y. Every click plants a flower there; the program counts them. The
 * flowers stay because the picture keeps everything drawn until
 * ZEMKA_clear_canvas.
 */
#include <zemka/zemka.h>

#define BLACK 0
#define YELLOW 5
#define GREEN 3
#define PINK 15
#define WHITE 1

static void flower(int x, int y) {
    ZEMKA_draw_line(GREEN, x, y, x, y - 40, 3);
    ZEMKA_draw_circle(PINK, x - 10, y, 9);
    ZEMKA_draw_circle(PINK, x + 10, y, 9);
    ZEMKA_draw_circle(PINK, x, y - 10, 9);
    ZEMKA_draw_circle(PINK, x, y + 10, 9);
    ZEMKA_draw_circle(YELLOW, x, y, 6);
}

int main(void) {
    int x, y, kind;
    char key;
    int flowers = 0;

    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    ZEMKA_draw_text(BLACK, -290, 228, 14, "Click to plant a flower.");
    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT) {
        if (kind != ZEMKA_MOUSE) continue;
        flower(x, y);
        ++flowers;
        /* A white box over the old count, then the new one. */
        ZEMKA_draw_rectangle(WHITE, 150, 250, 300, 225, 0);
        ZEMKA_draw_textf(BLACK, 160, 228, 14, "flowers: %d", flowers);
        ZEMKA_console_printf("Flower %d at (%d, %d)\n", flowers, x, y);
    }
    ZEMKA_stop();
    return 0;
}
