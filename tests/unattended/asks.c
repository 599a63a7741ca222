/* Asks up to three questions without waiting in between and writes each
 * answer to the console between brackets; a question that cannot be asked
 * says so. */
#include "zemka/zemka.h"

int main(void) {
    char answer[256];
    int i;
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    for (i = 1; i <= 3; ++i) {
        if (ZEMKA_gets("?", answer))
            ZEMKA_console_printf("answer %d: [%s]\n", i, answer);
        else
            ZEMKA_console_printf("question %d not asked\n", i);
    }
    ZEMKA_stop();
    return 0;
}
