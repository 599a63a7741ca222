/* A first ZEMKA program: a greeting, and a red circle at every click. */
#include <zemka/zemka.h>

int main(void) {
    int x, y, kind;
    char key;
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_clear_canvas();
    ZEMKA_draw_text(4, -120, 60, 24, "Hello!");
    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT)
        if (kind == ZEMKA_MOUSE) ZEMKA_draw_circle(2, x, y, 20);
    ZEMKA_stop();
    return 0;
}
