// Plays any file content as a script: every step must give a defined
// result, and playback must end by itself.
//
// Properties checked on each step:
// - the result is 0 or 1; on 1 the kind is mouse, key or periodic and only
//   the fields of that kind are set; on 0 no kind is set;
// - the periodic counter never goes negative, and while it is positive a
//   step gives a periodic event and counts it down by exactly one;
// - a step without an event ends playback: flags cleared, stream closed,
//   counter 0, and at most one console line.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/stubs.h"
#include "zemka/script/script.h"
#include "zemka/script/script_state.h"
#include "zemka/window/run_state.h"

namespace {

std::string temp_dir;
std::string script_file_path;

void remove_temp_dir() {
    std::remove(script_file_path.c_str());
    rmdir(temp_dir.c_str());
}

// A file of n bytes has at most n lines, and each periodic run is cut to
// its last three events below, so a healthy playback ends long before this.
constexpr long MAX_STEPS = 1000000;
// Longest periodic run played event by event; the rest of a longer run is
// skipped, as its events are all alike (PERIODIC(2147483647) would
// otherwise take two billion steps).
constexpr int RUN_PLAYED = 3;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    char dir_template[] = "/tmp/zemka-fuzz-XXXXXX";
    if (!mkdtemp(dir_template)) std::abort();
    temp_dir = dir_template;
    script_file_path = temp_dir + "/ZEMKA.SCR";
    zemka::set_script_path(script_file_path.c_str());
    std::atexit(remove_temp_dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace zemka;
    std::remove(script_file_path.c_str());
    std::FILE *file = std::fopen(script_file_path.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    recording = 0;
    playing_once = 0;
    pending_periodic = 0;
    script_toggle_playback();
    FUZZ_CHECK(playing_continuous);

    long steps = 0;
    for (; steps < MAX_STEPS; ++steps) {
        pending_kind = -1;
        current_event = EventRecord{0, 0, 0};
        const int before = pending_periodic;
        const int lines_before = fuzz::console_lines;
        const int result = script_play_step();
        FUZZ_CHECK(pending_periodic >= 0);
        if (result != 1) {
            FUZZ_CHECK(result == 0);
            FUZZ_CHECK(pending_kind == -1);
            FUZZ_CHECK(!playing_continuous && !playing_once);
            FUZZ_CHECK(!script_file_open());
            FUZZ_CHECK(pending_periodic == 0);
            FUZZ_CHECK(fuzz::console_lines - lines_before <= 1);
            break;
        }
        FUZZ_CHECK(fuzz::console_lines == lines_before);
        FUZZ_CHECK(pending_kind >= ZEMKA_MOUSE && pending_kind <= ZEMKA_PERIODIC);
        if (pending_kind != ZEMKA_MOUSE) FUZZ_CHECK(current_event.x == 0 && current_event.y == 0);
        if (pending_kind != ZEMKA_KBD) FUZZ_CHECK(current_event.key == 0);
        if (before > 0) FUZZ_CHECK(pending_kind == ZEMKA_PERIODIC && pending_periodic == before - 1);
        if (pending_periodic > RUN_PLAYED) pending_periodic = RUN_PLAYED;
    }
    FUZZ_CHECK(steps < MAX_STEPS);
    FUZZ_CHECK(steps <= static_cast<long>(size) * (RUN_PLAYED + 1));
    script_close();
    return 0;
}
