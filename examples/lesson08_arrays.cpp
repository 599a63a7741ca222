// Lesson 8: state in arrays.
//
// Every click adds a ball to a list (a std::vector); every tick moves
// every ball of the list and bounces it off the walls. What the program
// remembers between events is its state: here the list of balls.
#include <zemka/zemka.h>

#include <vector>

namespace {

constexpr int BLACK = 0;
constexpr int RADIUS = 12;

struct Ball {
    int x, y;    // where it is
    int dx, dy;  // how far it goes in one tick
    int color;
};

void move(Ball &b) {
    b.x += b.dx;
    b.y += b.dy;
    if (b.x > 300 - RADIUS || b.x < -300 + RADIUS) b.dx = -b.dx;
    if (b.y > 250 - RADIUS || b.y < -250 + RADIUS) b.dy = -b.dy;
}

}  // namespace

int main() {
    std::vector<Ball> balls;
    ZEMKA_start(nullptr, nullptr, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_set_animation(RUN_ANIMATE);
    for (;;) {
        ZEMKA_clear_canvas();
        for (const Ball &b : balls) ZEMKA_draw_circle(b.color, b.x, b.y, RADIUS);
        ZEMKA_draw_textf(BLACK, -290, 228, 14, "%zu balls: click to add one", balls.size());
        int x = 0, y = 0;
        char key = 0;
        const int kind = ZEMKA_next_event(&x, &y, &key);
        if (kind == ZEMKA_QUIT) break;
        if (kind == ZEMKA_MOUSE) {
            // Each new ball goes another way, in another colour.
            const int n = static_cast<int>(balls.size());
            balls.push_back({x, y, 6 + n % 5 * 3, 9 - n % 4 * 5, 2 + n % 7});
        } else if (kind == ZEMKA_PERIODIC) {
            for (Ball &b : balls) move(b);
        }
    }
    ZEMKA_stop();
    return 0;
}
