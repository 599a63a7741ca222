/* Lesson 3: text, and numbers in text.
 *
 * ZEMKA_draw_text writes a text standing on a point (the point is its
 * lower left corner), in a colour and a letter height. ZEMKA_draw_textf
 * works like printf: %d puts a whole number into the text, %c a letter.
 * Press keys: the program counts them and shows the last one.
 */
#include <zemka/zemka.h>

#define BLACK 0
#define BLUE 4
#define PURPLE 8
#define ORANGE 13

int main(void) {
    int x, y, kind;
    char key;
    int presses = 0;
    char last = '-';

    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    for (;;) {
        ZEMKA_clear_canvas();
        ZEMKA_draw_text(BLUE, -250, 200, 40, "Hello, ZEMKA!");
        ZEMKA_draw_text(BLACK, -250, 120, 14, "Small letters: 14 pixels high.");
        ZEMKA_draw_text(BLACK, -250, 90, 24, "Larger letters: 24 pixels.");
        ZEMKA_draw_textf(PURPLE, -250, 0, 28, "Keys pressed: %d", presses);
        ZEMKA_draw_textf(ORANGE, -250, -60, 28, "Last key: %c", last);
        kind = ZEMKA_next_event(&x, &y, &key);
        if (kind == ZEMKA_QUIT) break;
        if (kind == ZEMKA_KBD) {
            ++presses;
            last = key;
        }
    }
    ZEMKA_stop();
    return 0;
}
