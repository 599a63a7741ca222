/* A program of the web tests' own: it ends the way its input asks.
 *
 *   click    a magenta dot where it was
 *   q        main returns the clicks and ten for every tick
 *   Ctrl+Q   the same, through the library's quit
 *   e        exit(7)
 *   t        a trap
 *   a        abort()
 */
#include <stdlib.h>
#include <zemka/zemka.h>

int main(void) {
    int x, y, kind, clicks = 0, ticks = 0;
    char key;
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    ZEMKA_draw_rectangle(4, -250, 200, -100, 50, 0);
    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT) {
        if (kind == ZEMKA_MOUSE) {
            ++clicks;
            ZEMKA_draw_circle(6, x, y, 4);
        }
        if (kind == ZEMKA_PERIODIC) ++ticks;
        if (kind == ZEMKA_KBD) {
            if (key == 'q') break;
            if (key == 'e') exit(7);
            if (key == 't') __builtin_trap();
            if (key == 'a') abort();
        }
    }
    ZEMKA_stop();
    return clicks + 10 * ticks;
}
