/* Lesson 9: a small game.
 *
 * Keep the ball in play with the paddle: a moves it left, d right. The
 * ball bounces off the walls and the paddle; every bounce off the paddle
 * scores a point, and a ball that falls past it costs a life. Three lives.
 * Everything the game knows is in a few variables; every tick moves the
 * ball and checks what it hit.
 */
#include <zemka/zemka.h>

#define BLACK 0
#define RED 2
#define NAVY_BLUE 9
#define PADDLE_Y -220
#define PADDLE_HALF 50
#define BALL 10

int main(void) {
    int x, y, kind;
    char key;
    int paddle = 0;
    int bx = 0, by = 100, dx = 9, dy = -12;
    int score = 0, lives = 3;

    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_set_animation(RUN_ANIMATE);
    while (lives > 0) {
        ZEMKA_clear_canvas();
        ZEMKA_draw_rectangle(NAVY_BLUE, paddle - PADDLE_HALF, PADDLE_Y, paddle + PADDLE_HALF, PADDLE_Y - 12, 0);
        ZEMKA_draw_circle(RED, bx, by, BALL);
        ZEMKA_draw_textf(BLACK, -290, 226, 16, "score %d   lives %d", score, lives);
        kind = ZEMKA_next_event(&x, &y, &key);
        if (kind == ZEMKA_QUIT) break;
        if (kind == ZEMKA_KBD && key == 'a') paddle -= 30;
        if (kind == ZEMKA_KBD && key == 'd') paddle += 30;
        /* The picture shows x from -300 to 299: the paddle stops at its
         * edges instead of going out. */
        if (paddle < -300 + PADDLE_HALF) paddle = -300 + PADDLE_HALF;
        if (paddle > 299 - PADDLE_HALF) paddle = 299 - PADDLE_HALF;
        if (kind != ZEMKA_PERIODIC) continue;
        bx += dx;
        by += dy;
        if (bx > 300 - BALL || bx < -300 + BALL) dx = -dx;
        if (by > 250 - BALL) dy = -dy;
        /* Down at the paddle: on it, it bounces; past it, a life is lost. */
        if (dy < 0 && by - BALL <= PADDLE_Y && by - BALL > PADDLE_Y - 12) {
            if (bx >= paddle - PADDLE_HALF - BALL && bx <= paddle + PADDLE_HALF + BALL) {
                dy = -dy;
                ++score;
                ZEMKA_console_printf("Bounce! Score %d\n", score);
            }
        }
        if (by < -250) {
            --lives;
            ZEMKA_console_printf("The ball is lost: %d lives left\n", lives);
            bx = 0;
            by = 100;
        }
    }
    if (lives == 0) {
        ZEMKA_draw_text(RED, -120, 20, 40, "GAME OVER");
        ZEMKA_console_printf("Game over with %d points\n", score);
        while (ZEMKA_next_event(&x, &y, &key) != ZEMKA_QUIT) {
        }
    }
    ZEMKA_stop();
    return 0;
}
