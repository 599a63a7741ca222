/* Lesson 11: a drawing program.
 *
 * Click to draw a dot; each click after the first also draws a line from
 * the last dot, so clicks make a drawing. Keys choose: r, g, b, k the
 * colour (red, green, blue, black), 1 to 9 the width, n starts a new line
 * without joining it to the last dot, c clears the picture.
 */
#include <zemka/zemka.h>

#define BLACK 0
#define RED 2
#define GREEN 3
#define BLUE 4

int main(void) {
    int x, y, kind;
    char key;
    int color = BLACK, width = 3;
    int have_last = 0, last_x = 0, last_y = 0;

    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT) {
        if (kind == ZEMKA_MOUSE) {
            if (have_last) ZEMKA_draw_line(color, last_x, last_y, x, y, width);
            ZEMKA_draw_circle(color, x, y, width);
            have_last = 1;
            last_x = x;
            last_y = y;
        } else if (kind == ZEMKA_KBD) {
            switch (key) {
                case 'r': color = RED; break;
                case 'g': color = GREEN; break;
                case 'b': color = BLUE; break;
                case 'k': color = BLACK; break;
                case 'n': have_last = 0; break;
                case 'c':
                    ZEMKA_clear_canvas();
                    have_last = 0;
                    break;
                default:
                    if (key >= '1' && key <= '9') width = key - '0';
                    break;
            }
        }
    }
    ZEMKA_stop();
    return 0;
}
