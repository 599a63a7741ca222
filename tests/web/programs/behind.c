/* A program of the web tests' own: a line of text, then a question before
 * any wait; after the answer another line and at once another question.
 * Each line must be in the window behind its question. */
#include <zemka/zemka.h>

int main(void) {
    char answer[256];
    int x, y;
    char key;
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    ZEMKA_draw_text(4, -250, -150, 40, "Behind the question");
    if (!ZEMKA_gets("Is the blue text behind me?", answer)) return 1;
    ZEMKA_draw_text(2, -250, -220, 40, "And behind the next");
    if (!ZEMKA_gets("Is the red text behind me?", answer)) return 1;
    while (ZEMKA_next_event(&x, &y, &key) != ZEMKA_QUIT) {
    }
    ZEMKA_stop();
    return 0;
}
