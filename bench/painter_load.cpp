// The weather painter's loop with glyphs already planted, for measuring
// what a running painter costs:
//   zemka-painter-load [--halt] [GLYPHS]
// plants GLYPHS snow flakes (500 by default) through the painter's own
// click handling, then animates at the library's 10 ticks a second (or,
// with --halt, waits halted) until the window is closed or the process is
// ended.
#include <cstdlib>
#include <cstring>

#include "painter/weather.h"
#include "zemka/zemka.h"

int main(int argc, char **argv) {
    bool halt = false;
    int glyphs = 500;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--halt") == 0)
            halt = true;
        else
            glyphs = std::atoi(argv[i]);
    }
    painter::WeatherState state;
    ZEMKA_start(nullptr, nullptr, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    painter::handle_event(state, ZEMKA_MOUSE, -250, 190);  // Snow
    painter::handle_event(state, ZEMKA_MOUSE, -250, 120);  // White
    for (int i = 0; i < glyphs; ++i)
        painter::handle_event(state, ZEMKA_MOUSE, -195 + (i * 37) % 490, -95 + (i * 53) % 340);
    ZEMKA_set_animation(halt ? RUN_HALT : RUN_ANIMATE);
    painter::draw_frame(state);
    while (!state.quit) {
        int x = 0, y = 0;
        char key = 0;
        const int kind = ZEMKA_next_event(&x, &y, &key);
        painter::handle_event(state, kind, x, y);
        painter::draw_frame(state);
    }
    ZEMKA_stop();
    return 0;
}
