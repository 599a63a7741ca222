// The weather painter's main loop with logging switched on, for long
// headless runs.
//
// The painter switches logging off right after the start, and the only way
// to switch it on again is Ctrl+L, which a script cannot carry. So this
// program runs the painter's own start-up and loop (the functions of
// painter_core that weather_main calls, in the same order) with one
// difference: ZEMKA_set_logging(1) where the painter calls
// ZEMKA_set_logging(0). Every drawing call of every frame then writes its
// log line to the console.
//
// Events come from ZEMKA_PLAY like any ZEMKA program's. On stdout, at the
// end: the events by kind, the glyphs planted, the console lines written,
// and the resident memory (from /proc/self/statm) after the start, after
// the first periodic event (all clicks done), after half of the periodic
// events (ZEMKA_LONGRUN_PERIODIC, the number the
// script carries) and at the end; every tenth of the run one progress
// line goes to stderr.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "painter/panel.h"
#include "painter/scene.h"
#include "painter/weather.h"
#include "zemka/console/console.h"
#include "zemka/zemka.h"

namespace {

long console_lines = 0;

void count_line(const char *, std::size_t, void *) { ++console_lines; }

long resident_kb() {
    std::FILE *f = std::fopen("/proc/self/statm", "r");
    if (!f) return -1;
    long size = 0, resident = 0;
    const int got = std::fscanf(f, "%ld %ld", &size, &resident);
    std::fclose(f);
    return got == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

bool sanitized() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

}  // namespace

int main() {
    using namespace painter;
    const char *planned_text = std::getenv("ZEMKA_LONGRUN_PERIODIC");
    const long planned = planned_text ? std::atol(planned_text) : 0;
    const long progress_every = planned >= 10 ? planned / 10 : 0;

    WeatherState state;
    ZEMKA_start(nullptr, nullptr, "", 1);
    zemka::console::set_line_tap(count_line, nullptr);
    ZEMKA_set_logging(1);  // the painter's start-up has 0 here
    ZEMKA_clear_canvas();
    ZEMKA_set_animation(RUN_ANIMATE);
    draw_scene(state.sun_x, state.sun_y, state.boat_x, state.boat_y, state.ship_x, state.ship_y);
    draw_panel(WEATHER_NONE, 0);

    const long rss_start = resident_kb();
    long rss_first_periodic = -1, rss_middle = -1;
    long counts[5] = {};
    while (!state.quit) {
        int x = 0, y = 0;
        char key = 0;
        const int event_kind = ZEMKA_next_event(&x, &y, &key);
        if (event_kind >= 1 && event_kind <= 4) ++counts[event_kind];
        handle_event(state, event_kind, x, y);
        draw_frame(state);
        if (event_kind == ZEMKA_PERIODIC) {
            const long n = counts[ZEMKA_PERIODIC];
            if (n == 1) rss_first_periodic = resident_kb();
            if (n == planned / 2) rss_middle = resident_kb();
            if (progress_every > 0 && n % progress_every == 0)
                std::fprintf(stderr, "periodic %ld of %ld: resident %ld kB, console lines %ld\n", n, planned,
                             resident_kb(), console_lines);
        }
    }
    const long rss_end = resident_kb();
    ZEMKA_stop();

    std::printf("sanitized %d\n", sanitized() ? 1 : 0);
    std::printf("events mouse %ld key %ld periodic %ld quit %ld\n", counts[ZEMKA_MOUSE], counts[ZEMKA_KBD],
                counts[ZEMKA_PERIODIC], counts[ZEMKA_QUIT]);
    std::printf("glyphs %d\n", state.count);
    std::printf("console_lines %ld\n", console_lines);
    std::printf("resident_kb start %ld first_periodic %ld middle %ld end %ld\n", rss_start, rss_first_periodic,
                rss_middle, rss_end);
    return 0;
}
