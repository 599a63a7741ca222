/* Lesson 7: asking for a line of text.
 *
 * ZEMKA_gets shows a small window with a question and a box to type in;
 * it returns when "Okay" is pressed, with the answer in the buffer (which
 * must hold 256 bytes). Here the answer is a number of circles to draw;
 * strtol turns the text into a number.
 */
#include <stdlib.h>
#include <zemka/zemka.h>

#define BLACK 0
#define SEA_GREEN 20

int main(void) {
    char answer[256] = "";
    int x, y, kind;
    char key;
    long count = 0;
    int i;

    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    /* ZEMKA_gets returns 0 when it could not ask (on the headless back end,
     * at the end of the answers), and then writes nothing into answer: so
     * answer starts as the empty text, never as whatever was in memory. */
    if (ZEMKA_gets("How many circles (1 to 12)?", answer)) count = strtol(answer, NULL, 10);
    if (count < 1 || count > 12) {
        ZEMKA_console_printf("'%s' is not a number from 1 to 12; I draw 3\n", answer);
        count = 3;
    }
    for (i = 0; i < count; ++i) ZEMKA_draw_circle(SEA_GREEN, -275 + i * 50, 0, 20);
    ZEMKA_draw_textf(BLACK, -290, 100, 24, "%ld circles", count);
    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT) {
    }
    ZEMKA_stop();
    return 0;
}
