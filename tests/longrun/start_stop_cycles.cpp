// Starts and stops the library many times, drawing and waiting for an event
// in every session, and prints the resident memory (from /proc/self/statm)
// after the first and after the last cycle: whatever a stop leaves behind
// shows as growth between the two.
//
//   zemka-start-stop-cycles [CYCLES [MAX_GROWTH_KB]]
//
// Defaults: 300 cycles, 10240 kB. Every tenth session waits for a periodic
// event of the animation timer, the others for a posted quit request. The
// exit status is 1 when a wait returns another event, or when the growth is
// above the bound; the bound is not checked under AddressSanitizer, which
// holds freed memory back on purpose (its LeakSanitizer checks the leaks).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "zemka/platform/windowing.h"
#include "zemka/zemka.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZEMKA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEMKA_ASAN 1
#endif
#endif

namespace {

long resident_kb() {
    long pages = 0, resident = 0;
    std::FILE *f = std::fopen("/proc/self/statm", "r");
    if (!f) return -1;
    const int got = std::fscanf(f, "%ld %ld", &pages, &resident);
    std::fclose(f);
    return got == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

long number_arg(int argc, char **argv, int i, long fallback) {
    if (argc <= i) return fallback;
    const long value = std::strtol(argv[i], nullptr, 10);
    return value > 0 ? value : fallback;
}

// One session: start, a picture, one event, stop. False when the event was
// not the one asked for.
bool session(long cycle) {
    ZEMKA_start(nullptr, nullptr, "", 1);
    ZEMKA_clear_canvas();
    ZEMKA_draw_circle(4, 0, 0, 100);
    ZEMKA_draw_rectangle(7, -200, 150, 200, -150, 3);
    ZEMKA_draw_textf(2, -100, 0, 12, "cycle %ld", cycle);
    const bool tick = cycle % 10 == 0;
    if (tick)
        ZEMKA_set_animation(RUN_ONE_FRAME);
    else
        zemka::platform::post_quit_message(0);
    const int kind = ZEMKA_next_event(nullptr, nullptr, nullptr);
    ZEMKA_stop();
    if (kind == (tick ? ZEMKA_PERIODIC : ZEMKA_QUIT)) return true;
    std::fprintf(stderr, "cycle %ld: the wait returned event %d\n", cycle, kind);
    return false;
}

}  // namespace

int main(int argc, char **argv) {
    const long cycles = number_arg(argc, argv, 1, 300);
    const long max_growth_kb = number_arg(argc, argv, 2, 10240);
    bool events_ok = session(1);
    const long first_kb = resident_kb();
    for (long cycle = 2; cycle <= cycles; ++cycle) events_ok = session(cycle) && events_ok;
    const long last_kb = resident_kb();
    std::printf("resident after cycle 1: %ld kB; after cycle %ld: %ld kB; growth %ld kB\n", first_kb, cycles, last_kb,
                last_kb - first_kb);
#ifdef ZEMKA_ASAN
    const bool memory_ok = true;
#else
    const bool memory_ok = first_kb > 0 && last_kb - first_kb <= max_growth_kb;
    if (!memory_ok) std::fprintf(stderr, "growth above %ld kB\n", max_growth_kb);
#endif
    return events_ok && memory_ok ? 0 : 1;
}
