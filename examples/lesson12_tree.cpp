// Lesson 12: recursion.
//
// A tree is a trunk with two smaller trees on top of it, turned left and
// right. The function branch draws one line and then calls itself twice
// for the two smaller branches, until they are too short to draw. Each
// tick adds a level, so the tree grows; a click starts it again.
#include <zemka/zemka.h>

#include <cmath>

namespace {

constexpr int BLACK = 0;
constexpr int BROWN = 14;
constexpr int FOREST_GREEN = 19;
constexpr int MAX_LEVELS = 9;

void branch(double x, double y, double angle, double length, int levels) {
    if (levels == 0 || length < 2) return;
    const double end_x = x + length * std::cos(angle);
    const double end_y = y + length * std::sin(angle);
    ZEMKA_draw_line(levels > 3 ? BROWN : FOREST_GREEN, static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)),
                    static_cast<int>(std::lround(end_x)), static_cast<int>(std::lround(end_y)), levels > 5 ? 4 : 2);
    branch(end_x, end_y, angle + 0.45, length * 0.72, levels - 1);  // the left branch
    branch(end_x, end_y, angle - 0.45, length * 0.72, levels - 1);  // the right branch
}

}  // namespace

int main() {
    int levels = 1;
    ZEMKA_start(nullptr, nullptr, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_set_animation(RUN_ANIMATE);
    for (;;) {
        ZEMKA_clear_canvas();
        branch(0, -240, 3.14159265358979323846 / 2, 110, levels);
        ZEMKA_draw_textf(BLACK, -290, 228, 14, "%d levels", levels);
        int x = 0, y = 0;
        char key = 0;
        const int kind = ZEMKA_next_event(&x, &y, &key);
        if (kind == ZEMKA_QUIT) break;
        if (kind == ZEMKA_PERIODIC && levels < MAX_LEVELS) ++levels;
        if (kind == ZEMKA_MOUSE) levels = 1;
    }
    ZEMKA_stop();
    return 0;
}
