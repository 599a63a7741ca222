/* Lesson 13: a chart of numbers typed in.
 *
 * The program asks for numbers one at a time with ZEMKA_gets until the
 * answer is empty (or there are eight), then draws a bar for each: the
 * tallest bar fills the height, the others in proportion. The numbers are
 * kept in an array.
 */
#include <stdlib.h>
#include <zemka/zemka.h>

#define BLACK 0
#define MAX_BARS 8

int main(void) {
    long values[MAX_BARS];
    int count = 0, i;
    long biggest = 1;
    char answer[256];
    int x, y, kind;
    char key;

    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    while (count < MAX_BARS) {
        char *end;
        long value;
        if (!ZEMKA_gets("A number (nothing to finish):", answer) || answer[0] == '\0') break;
        value = strtol(answer, &end, 10);
        if (*end != '\0' || value < 0 || value > 1000000) {
            ZEMKA_console_printf("'%s' is not a number from 0 to 1000000\n", answer);
            continue;
        }
        values[count++] = value;
        if (value > biggest) biggest = value;
    }
    ZEMKA_draw_line(BLACK, -280, -200, 280, -200, 2);
    for (i = 0; i < count; ++i) {
        int left = -270 + i * 68;
        int height = (int)(values[i] * 380 / biggest);
        ZEMKA_draw_rectangle(2 + i, left, -200 + height, left + 50, -200, 0);
        ZEMKA_draw_textf(BLACK, left, -222, 12, "%ld", values[i]);
    }
    ZEMKA_console_printf("%d bars, the tallest %ld\n", count, biggest);
    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT) {
    }
    ZEMKA_stop();
    return 0;
}
