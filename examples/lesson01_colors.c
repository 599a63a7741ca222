/* Lesson 1: coordinates and colours.
 *
 * This program draws the two axes and a square of each of the 24 colours
 * with its number, and writes the point of every click to the console.
 *
 * The window shows 600 x 500 pixels. The point (0, 0) is in the middle; x
 * grows to the right and y grows upwards: x runs from -300 at the left
 * edge to 299 at the right one, y from 250 at the top to -249 at the
 * bottom, so the corners you see are (-300, 250) and (299, -249).
 *
 * Colours are numbers from 0 to 23. Click anywhere: the console (the text
 * window) tells you the point you clicked.
 */
#include <zemka/zemka.h>

#define BLACK 0
#define GRAY 22

int main(void) {
    int x, y, kind;
    char key;
    int color;

    /* Opens the drawing window and the text window. Its four values: the
     * first three are start-up values of a Windows program (its instance,
     * a previous instance, its command line) that you leave as 0, 0 and "";
     * the last, 1, shows the windows (0 would keep them hidden). */
    ZEMKA_start(0, 0, "", 1);
    /* Every drawing call writes a line to the text window, such as
     * "50% gray line from (-300,0) to (300,0), width 1", until logging is
     * switched off like this (Ctrl+L switches it on and off while the
     * program runs). The lessons switch it off to keep only their own lines. */
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();

    /* The axes: from left to right through y = 0, from top to bottom
     * through x = 0. A line leaves out its end point, so these stop at
     * x = 299 and y = -249, the last points the window shows. */
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

    /* Everything above is in the picture now, but the window is sure to
     * show it only once the program waits for an event, here. Draw, then
     * wait: drawn and not waited for, it may not be on the screen yet. */
    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT)
        if (kind == ZEMKA_MOUSE) ZEMKA_console_printf("You clicked at (%d, %d)\n", x, y);
    ZEMKA_stop();
    return 0;
}
