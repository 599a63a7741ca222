// Lesson 10: a clock.
//
// The program counts ticks and shows the time as minutes and seconds and
// as a hand that goes round once a minute. Ticks come ten times a second,
// so ten ticks are a second. sin and cos turn the angle of the hand into a
// point on the dial. Space stops and starts the clock.
#include <zemka/zemka.h>

#include <cmath>

namespace {

constexpr int BLACK = 0;
constexpr int RED = 2;
constexpr int CHALK = 16;
constexpr int RADIUS = 150;
constexpr double PI = 3.14159265358979323846;

// A point at a distance from the middle, at an angle measured clockwise
// from twelve o'clock.
int dial_x(double angle, int distance) { return static_cast<int>(std::lround(distance * std::sin(angle))); }
int dial_y(double angle, int distance) { return static_cast<int>(std::lround(distance * std::cos(angle))); }

}  // namespace

int main() {
    int tenths = 0;
    bool running = true;
    ZEMKA_start(nullptr, nullptr, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_set_animation(RUN_ANIMATE);
    for (;;) {
        const int seconds = tenths / 10;
        const double angle = 2 * PI * (tenths % 600) / 600.0;
        ZEMKA_clear_canvas();
        ZEMKA_draw_circle(CHALK, 0, 0, RADIUS);
        ZEMKA_draw_oval(BLACK, -RADIUS, RADIUS, RADIUS, -RADIUS, 3);
        for (int mark = 0; mark < 12; ++mark) {
            const double a = 2 * PI * mark / 12;
            ZEMKA_draw_line(BLACK, dial_x(a, RADIUS - 15), dial_y(a, RADIUS - 15), dial_x(a, RADIUS), dial_y(a, RADIUS), 3);
        }
        ZEMKA_draw_line(RED, 0, 0, dial_x(angle, RADIUS - 25), dial_y(angle, RADIUS - 25), 4);
        ZEMKA_draw_textf(BLACK, -60, -180, 32, "%02d:%02d", seconds / 60, seconds % 60);
        int x = 0, y = 0;
        char key = 0;
        const int kind = ZEMKA_next_event(&x, &y, &key);
        if (kind == ZEMKA_QUIT) break;
        if (kind == ZEMKA_PERIODIC && running) ++tenths;
        if (kind == ZEMKA_KBD && key == ' ') {
            running = !running;
            ZEMKA_console_printf(running ? "Going on at %d.%d s\n" : "Stopped at %d.%d s\n", tenths / 10, tenths % 10);
        }
    }
    ZEMKA_stop();
    return 0;
}
