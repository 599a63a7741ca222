/* Asks for your name and greets you on the canvas, in plain C.
 *
 * ZEMKA_gets opens a small window with a question, a text box and an
 * "Okay" button, and waits until the button is pressed (Enter presses it
 * too). The answer lands in the buffer, which must hold 256 characters.
 *
 *   click        greets you once more where you clicked
 *   Ctrl+Q       quits
 */
#include <string.h>
#include <zemka/zemka.h>

#define BLACK 0
#define BLUE 4
#define ORANGE 13

int main(void) {
    char name[256];
    int x = 0, y = 0;
    char key = 0;

    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    ZEMKA_draw_text(BLACK, -250, 60, 18, "Please type your name in the small window.");

    if (!ZEMKA_gets("What is your name?", name)) {
        ZEMKA_console_printf("The question could not be asked\n");
        strcpy(name, "stranger");
    }
    if (name[0] == '\0') strcpy(name, "stranger");

    ZEMKA_clear_canvas();
    ZEMKA_draw_textf(BLUE, -250, 60, 40, "Hello, %s!", name);
    ZEMKA_console_printf("Hello, %s!\n", name);

    for (;;) {
        int kind = ZEMKA_next_event(&x, &y, &key);
        if (kind == ZEMKA_QUIT) break;
        if (kind == ZEMKA_MOUSE) ZEMKA_draw_textf(ORANGE, x, y, 16, "Hi, %s", name);
    }
    ZEMKA_stop();
    return 0;
}
