/* Tricks: x" onload="window.__pwned=1" data-x=" '</script><script>window.__pwned=2</script> <!-- & &amp; <b>bold</b>.
 *
 * Steps of 0.5 are kept in ZEMKA.SCR, as "x < y" says. Not this sentence.
 * <img src=x onerror="window.__pwned=3"> --> ]]> ${x} `y` {{{ SCRIPT }}}
 */
#include <zemka/zemka.h>

int main(void) {
    int x, y;
    char key;
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    ZEMKA_draw_rectangle(4, -250, 200, -100, 50, 0);
    ZEMKA_console_printf("%s\n", "</script><script>window.__pwned=4</script><!--");
    while (ZEMKA_next_event(&x, &y, &key) != ZEMKA_QUIT) {
    }
    ZEMKA_stop();
    return 0;
}
