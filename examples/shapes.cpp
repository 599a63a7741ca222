// Shapes and text: every drawing entry of ZEMKA once, then a loop that
// marks every click with a cross and its coordinates.
//
// Things to try:
//   - watch the text window: with logging on, every drawing call writes a
//     line there ("red circle at (-200,120), radius 40");
//   - click on the picture and read the coordinates: (0, 0) is the middle,
//     x grows to the right and y grows upwards;
//   - press c to draw the picture again, Ctrl+Q to quit.
#include <zemka/zemka.h>

namespace {

// Palette indices of the colours used here (there are 24, from 0 to 23).
enum Colour {
    BLACK = 0,
    WHITE = 1,
    RED = 2,
    GREEN = 3,
    BLUE = 4,
    YELLOW = 5,
    MAGENTA = 6,
    CYAN = 7,
    NAVY_BLUE = 9,
    ORANGE = 13,
    GRAY_50 = 22,
    PALETTE_SIZE = 24,
};

void draw_picture() {
    ZEMKA_clear_canvas();  // white, with a thin black frame
    ZEMKA_draw_text(BLACK, -280, 215, 24, "Shapes and text");

    // Pixels: a dotted line, one point at a time.
    for (int x = -280; x <= -120; x += 4) ZEMKA_draw_pixel(BLACK, x, 195);

    // A circle is always filled; the second form takes a Point.
    ZEMKA_draw_circle(RED, -200, 120, 40);
    ZEMKA_draw_circle_pt(ORANGE, Point{-200, 120}, 15);

    // Width 0 fills a triangle; any other width draws its outline.
    ZEMKA_draw_triangle(GREEN, -60, 80, 60, 80, 0, 170, 0);
    ZEMKA_draw_triangle_pt(BLACK, Point{-70, 75}, Point{70, 75}, Point{0, 180}, 2);

    // Rectangles are given by two opposite corners, in any order.
    ZEMKA_draw_rectangle(BLUE, 120, 170, 260, 80, 0);
    ZEMKA_draw_rectangle_pt(BLACK, Point{270, 60}, Point{110, 180}, 3);

    // Ovals are given by the corners of the box around them.
    ZEMKA_draw_oval(MAGENTA, -270, 20, -130, -60, 0);
    ZEMKA_draw_oval_pt(NAVY_BLUE, Point{-280, 30}, Point{-120, -70}, 4);

    // Lines: width 0 and 1 both draw one pixel wide.
    ZEMKA_draw_line(BLACK, -60, 20, 60, -60, 1);
    ZEMKA_draw_line_pt(CYAN, Point{-60, -60}, Point{60, 20}, 8);

    // Text: the point is the lower left corner of the first line, the
    // size is the height of the letters in pixels.
    ZEMKA_draw_text_pt(NAVY_BLUE, Point{110, 20}, 16, "ZEMKA says hello");
    const int length = ZEMKA_draw_textf(BLACK, 110, -10, 16, "%d colours, %d x %d", PALETTE_SIZE, 600, 500);
    ZEMKA_draw_textf_pt(GRAY_50, Point{110, -40}, 12, "that caption had %d characters", length);

    // The whole palette, one square per colour, with its number.
    for (int colour = 0; colour < PALETTE_SIZE; ++colour) {
        const int left = -288 + 24 * colour;
        ZEMKA_draw_rectangle(colour, left, -150, left + 20, -170, 0);
        ZEMKA_draw_textf(BLACK, left + 2, -184, 10, "%d", colour);
    }

    // Colours outside 0..23 are drawn red, with a message in the text window.
    ZEMKA_draw_rectangle(99, -288, -200, -200, -230, 0);
    // Drawing cannot be taken back: this only writes a message.
    ZEMKA_undo();
}

// A small cross at the click, and where it was. A line stops just before
// its end point, hence the 7.
void mark(int x, int y) {
    ZEMKA_draw_line(BLACK, x - 6, y, x + 7, y, 1);
    ZEMKA_draw_line(BLACK, x, y - 6, x, y + 7, 1);
    ZEMKA_draw_textf_pt(BLACK, Point{x + 8, y - 4}, 12, "(%d, %d)", x, y);
}

}  // namespace

int main() {
    ZEMKA_start(nullptr, nullptr, "", 1);
    draw_picture();

    EventRecord event;
    for (;;) {
        const int kind = ZEMKA_next_event_record(&event);
        if (kind == ZEMKA_QUIT) break;
        if (kind == ZEMKA_MOUSE) mark(event.x, event.y);
        if (kind == ZEMKA_KBD && event.key == 'c') draw_picture();
    }
    ZEMKA_stop();
    return 0;
}
