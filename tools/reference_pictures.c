/* Draws the example picture of one drawing entry for docs/api.md (or the
 * palette), and ends: tools/make_reference_pictures.sh runs it with
 * ZEMKA_SNAPSHOT and cuts the picture out.
 *   reference_pictures pixel|circle|triangle|rectangle|oval|line|text|palette
 */
#include <string.h>
#include <zemka/zemka.h>

#define BLACK 0
#define RED 2
#define GREEN 3
#define BLUE 4
#define ORANGE 13
#define NAVY_BLUE 9

static const char *const names[24] = {"black", "white", "red", "green", "blue", "yellow", "magenta", "cyan",
                                      "purple", "navy blue", "dusty plum", "ice blue", "turquoise", "orange",
                                      "brown", "pink", "chalk", "gold", "peach", "forest green", "sea green",
                                      "olive", "50% gray", "20% gray"};

static void draw(const char *what) {
    int i;
    if (strcmp(what, "pixel") == 0) {
        /* White is the background's colour: its pixel gets a black square
         * to stand on, or it would not show. */
        ZEMKA_draw_rectangle(BLACK, -18, 14, -14, 10, 0);
        for (i = 0; i < 24; ++i) ZEMKA_draw_pixel(i, -24 + (i % 6) * 8, 12 - (i / 6) * 8);
    } else if (strcmp(what, "circle") == 0) {
        ZEMKA_draw_circle(RED, -40, 0, 50);
        ZEMKA_draw_circle(BLUE, 60, 20, 25);
        ZEMKA_draw_circle(GREEN, 75, -40, 8);
    } else if (strcmp(what, "triangle") == 0) {
        ZEMKA_draw_triangle(ORANGE, -110, -60, -10, -60, -60, 60, 0);
        ZEMKA_draw_triangle(BLUE, 10, -60, 110, -60, 60, 60, 3);
    } else if (strcmp(what, "rectangle") == 0) {
        ZEMKA_draw_rectangle(GREEN, -110, 60, -10, -60, 0);
        ZEMKA_draw_rectangle(RED, 10, 60, 110, -60, 3);
    } else if (strcmp(what, "oval") == 0) {
        ZEMKA_draw_oval(NAVY_BLUE, -110, 50, -10, -50, 0);
        ZEMKA_draw_oval(ORANGE, 10, 60, 110, -60, 3);
    } else if (strcmp(what, "line") == 0) {
        ZEMKA_draw_line(BLACK, -110, -60, 110, 60, 1);
        ZEMKA_draw_line(RED, -110, -20, 110, -20, 3);
        ZEMKA_draw_line(BLUE, -80, 60, 40, -60, 6);
    } else if (strcmp(what, "text") == 0) {
        ZEMKA_draw_text(BLACK, -110, 30, 14, "ZEMKA_draw_text");
        ZEMKA_draw_text(BLUE, -110, -10, 28, "Hello!");
        ZEMKA_draw_textf(RED, -110, -50, 20, "x = %d", 42);
    } else if (strcmp(what, "palette") == 0) {
        for (i = 0; i < 24; ++i) {
            int left = -290 + (i % 4) * 148, top = 235 - (i / 4) * 80;
            ZEMKA_draw_rectangle(i, left, top, left + 40, top - 40, 0);
            ZEMKA_draw_rectangle(BLACK, left, top, left + 40, top - 40, 1);
            ZEMKA_draw_textf(BLACK, left + 46, top - 18, 14, "%d", i);
            ZEMKA_draw_text(BLACK, left + 46, top - 38, 12, names[i]);
        }
    }
}

int main(int argc, char **argv) {
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    if (argc > 1) draw(argv[1]);
    ZEMKA_stop();
    return 0;
}
