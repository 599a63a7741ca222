// A scribble pad: every click draws a line from the last click, so a
// picture is drawn dot to dot. Keys change the pen.
//
//   click        a line from the last point to here
//   space        lifts the pen: the next click starts a new line
//   k r g b      black, red, green or blue pen
//   1 ... 9      pen width
//   c            clears the pad
//   Ctrl+Q       quits
#include <zemka/zemka.h>

#include <string>

namespace {

struct Pen {
    int colour = 0;  // black
    int width = 3;
    bool down = false;  // false until the first click of a line
    Point last{0, 0};
};

struct PenColour {
    char key;
    int colour;
    const char *name;
};

constexpr PenColour PEN_COLOURS[] = {{'k', 0, "black"}, {'r', 2, "red"}, {'g', 3, "green"}, {'b', 4, "blue"}};

std::string colour_name(int colour) {
    for (const PenColour &c : PEN_COLOURS)
        if (c.colour == colour) return c.name;
    return "?";
}

// The line at the top that shows the pen.
void draw_status(const Pen &pen) {
    ZEMKA_draw_rectangle(1, -298, 249, 298, 226, 0);  // white over the old line
    ZEMKA_draw_textf(pen.colour, -290, 230, 14, "pen: %s, width %d", colour_name(pen.colour).c_str(), pen.width);
}

void clear_pad(const Pen &pen) {
    ZEMKA_clear_canvas();
    draw_status(pen);
}

void click(Pen &pen, Point at) {
    if (pen.down) ZEMKA_draw_line_pt(pen.colour, pen.last, at, pen.width);
    // A round dot at every corner makes thick lines join smoothly.
    ZEMKA_draw_circle_pt(pen.colour, at, pen.width / 2);
    pen.last = at;
    pen.down = true;
}

void key(Pen &pen, char k) {
    if (k == ' ') {
        pen.down = false;
        ZEMKA_console_printf("Pen lifted\n");
        return;
    }
    if (k == 'c') {
        pen.down = false;
        clear_pad(pen);
        ZEMKA_console_printf("Pad cleared\n");
        return;
    }
    if (k >= '1' && k <= '9') {
        pen.width = k - '0';
        ZEMKA_console_printf("Pen width %d\n", pen.width);
    }
    for (const PenColour &c : PEN_COLOURS) {
        if (c.key == k) {
            pen.colour = c.colour;
            ZEMKA_console_printf("Pen colour %s\n", c.name);
        }
    }
    draw_status(pen);
}

}  // namespace

int main() {
    ZEMKA_start(nullptr, nullptr, "", 1);
    ZEMKA_set_logging(0);  // the text window shows only the pen's messages
    Pen pen;
    clear_pad(pen);

    EventRecord event;
    for (;;) {
        const int kind = ZEMKA_next_event_record(&event);
        if (kind == ZEMKA_QUIT) break;
        if (kind == ZEMKA_MOUSE) click(pen, Point{event.x, event.y});
        if (kind == ZEMKA_KBD) key(pen, event.key);
    }
    ZEMKA_stop();
    return 0;
}
