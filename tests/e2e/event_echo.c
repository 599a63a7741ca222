/* A small ZEMKA program in plain C: prints every event it receives, one
 * line each, until it is asked to quit. Used by the end-to-end tests. */
#include <stdio.h>

#include "zemka/zemka.h"

int main(void) {
    int x = 0, y = 0;
    char key = 0;
    int kind;
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    ZEMKA_draw_circle(4, 0, 0, 50);
    printf("READY\n");
    fflush(stdout);
    do {
        kind = ZEMKA_next_event(&x, &y, &key);
        switch (kind) {
            case ZEMKA_MOUSE: printf("MOUSE %d %d\n", x, y); break;
            case ZEMKA_KBD: printf("KBD %d\n", (unsigned char)key); break;
            case ZEMKA_PERIODIC: printf("PERIODIC\n"); break;
            default: printf("QUIT\n"); break;
        }
        fflush(stdout);
    } while (kind != ZEMKA_QUIT);
    ZEMKA_stop();
    return 0;
}
