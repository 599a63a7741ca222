/* The program of the web back end's conformance test
 * (tests/web/conformance_test.mjs): every event its wait returns is one
 * console line ("event: ..."), which ZEMKA_ECHO=1 (echo=1 in the page's
 * address) passes to the page's console. The key d draws the rectangle
 * and the line of tests/conformance/toolkit_conformance_test.cpp, then
 * one frame; the key g asks for a line with ZEMKA_gets. The drawing is
 * redone by every d, so that Logging's console lines can be seen to come
 * and go while the picture stays the same. */
#include <zemka/zemka.h>

int main(void) {
    EventRecord event;
    char answer[256];
    int kind;
    ZEMKA_start(0, 0, "", 1);
    while ((kind = ZEMKA_next_event_record(&event)) != ZEMKA_QUIT) {
        if (kind == ZEMKA_MOUSE) {
            ZEMKA_console_printf("event: mouse at (%d, %d)\n", event.x, event.y);
        } else if (kind == ZEMKA_PERIODIC) {
            ZEMKA_console_printf("event: periodic\n");
        } else if (kind == ZEMKA_KBD) {
            ZEMKA_console_printf("event: key %d\n", (unsigned char)event.key);
            if (event.key == 'd') {
                ZEMKA_draw_rectangle(4, -100, -80, 150, 60, 0);
                ZEMKA_draw_line(1, -290, 240, 290, -240, 7);
                ZEMKA_set_animation(RUN_ONE_FRAME);
            } else if (event.key == 'g') {
                if (ZEMKA_gets("Your answer?", answer))
                    ZEMKA_console_printf("answer: [%s]\n", answer);
                else
                    ZEMKA_console_printf("answer: none\n");
            }
        } else {
            ZEMKA_console_printf("event: kind %d\n", kind);
        }
    }
    ZEMKA_console_printf("event: quit\n");
    ZEMKA_stop();
    return 0;
}
