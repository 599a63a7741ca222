/* Lesson 1: coordinates and colours.
 *
 * The picture is 600 pixels wide and 500 high. The point (0, 0) is in the
 * middle; x grows to the right and y grows upwards, so the corners are
 * (-300, 250) at the top left and (300, -250) at the bottom right.
 *
 * Colours are numbers from 0 to 23. This program draws the two axes and a
 * square of each colour with its number beside it. Click anywhere: the
 * console tells you the point you clicked.
 */
#include <zemka/zemka.h>

#define BLACK 0
#define GRAY 22

int main(void) {
    int x, y, kind;
    char key;
    int color;

    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();

    /* The axes: from left to right through y = 0, from top to bottom
     * through x = 0. */
    ZEMKA_draw_line(GRAY, -300, 0, 300, 0, 1);
    ZEMKA_draw_line(GRAY, 0, 250, 0, -250, 1);

    /* Six squares a row, four rows: colour c goes to column c % 6 and row
     * c / 6. A row lower means a smaller y. */
    for (color = 0; color < 24; ++color) {
        int left = -270 + (color % 6) * 90;
        int top = 200 - (color / 6) * 110;
        ZEMKA_draw_rectangle(color, left, top, left + 50, top - 50, 0);
        ZEMKA_draw_rectangle(BLACK, left, top, left + 50, top - 50, 1);
        ZEMKA_draw_textf(BLACK, left + 55, top - 15, 12, "%d", color);
    }

    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT)
        if (kind == ZEMKA_MOUSE) ZEMKA_console_printf("You clicked at (%d, %d)\n", x, y);
    ZEMKA_stop();
    return 0;
}
