/* A program that ends without ZEMKA_stop: it writes a console line before
 * the library is started, draws a red square, takes events until the quit
 * and then returns from main, or calls exit() when its argument is "exit".
 * With "wait" it never asks to quit: it is killed by the test. With "busy"
 * it draws for ever and never waits. */
#include <stdlib.h>
#include <string.h>

#include "zemka/zemka.h"

int main(int argc, char **argv) {
    const char *how = argc > 1 ? argv[1] : "return";
    int i = 0;
    ZEMKA_console_printf("written before the start\n");
    ZEMKA_start(NULL, NULL, "", 1);
    ZEMKA_clear_canvas();
    ZEMKA_draw_rectangle(2, -20, -20, 20, 20, 0); /* red, filled */
    if (strcmp(how, "busy") == 0) {
        ZEMKA_set_logging(0);
        ZEMKA_console_printf("busy\n");
        for (;;) {
            ++i;
            ZEMKA_draw_pixel(i % 24, i % 100, 100);
        }
    }
    ZEMKA_set_animation(RUN_ANIMATE); /* ticks keep "wait" waiting, even with no display */
    if (strcmp(how, "wait") != 0) ZEMKA_set_animation(RUN_QUIT); /* the first tick ends the wait with a quit */
    while (ZEMKA_next_event(NULL, NULL, NULL) != ZEMKA_QUIT) {
    }
    if (strcmp(how, "exit") == 0) exit(0);
    return 0;
}
