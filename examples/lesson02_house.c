/* Lesson 2: shapes.
 *
 * A house made of shapes: a rectangle for the wall, a triangle for the
 * roof, rectangles for the door and the window, a circle for the sun and
 * lines for its rays. Every shape takes a colour first, then its points.
 * The last number is the width of the outline; 0 fills the shape.
 */
#include <zemka/zemka.h>

#define BLACK 0
#define RED 2
#define GREEN 3
#define YELLOW 5
#define BROWN 14
#define ICE_BLUE 11

int main(void) {
    int x, y, kind;
    char key;
    int ray;

    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();

    ZEMKA_draw_rectangle(GREEN, -300, -150, 300, -250, 0);       /* grass */
    ZEMKA_draw_rectangle(BROWN, -150, 50, 100, -150, 0);         /* wall */
    ZEMKA_draw_triangle(RED, -180, 50, 130, 50, -25, 170, 0);     /* roof */
    ZEMKA_draw_rectangle(BLACK, -60, -60, -10, -150, 0);         /* door */
    ZEMKA_draw_rectangle(ICE_BLUE, 20, 20, 80, -30, 0);          /* window */
    ZEMKA_draw_rectangle(BLACK, 20, 20, 80, -30, 2);             /* its frame */
    ZEMKA_draw_line(BLACK, 50, 20, 50, -30, 2);

    /* The sun and eight rays around it. */
    ZEMKA_draw_circle(YELLOW, 210, 170, 35);
    for (ray = 0; ray < 8; ++ray) {
        static const int dx[8] = {1, 1, 0, -1, -1, -1, 0, 1};
        static const int dy[8] = {0, 1, 1, 1, 0, -1, -1, -1};
        ZEMKA_draw_line(YELLOW, 210 + 45 * dx[ray], 170 + 45 * dy[ray], 210 + 65 * dx[ray], 170 + 65 * dy[ray], 3);
    }

    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT) {
    }
    ZEMKA_stop();
    return 0;
}
