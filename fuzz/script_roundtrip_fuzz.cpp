// Records any sequence of events through the recording command and the
// wait's run-length rule, then plays the file back: playback must give
// exactly the recorded events (a quit has no line), then the end of the
// file.
//
// Input bytes, one event each: byte % 4 is 0 for a periodic event, 1 for
// a mouse event whose x and y are the next eight bytes, 2 for a key event
// whose code is the next byte, 3 for a quit event.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

struct Event {
    int kind;
    EventRecord record;
};

std::vector<Event> decode(const std::uint8_t *data, std::size_t size) {
    std::vector<Event> events;
    std::size_t i = 0;
    while (i < size) {
        static constexpr int KINDS[4] = {ZEMKA_PERIODIC, ZEMKA_MOUSE, ZEMKA_KBD, ZEMKA_QUIT};
        Event e{KINDS[data[i++] % 4], {0, 0, 0}};
        if (e.kind == ZEMKA_MOUSE) {
            std::uint8_t bytes[8] = {};
            const std::size_t n = size - i < 8 ? size - i : 8;
            std::memcpy(bytes, data + i, n);
            i += n;
            std::memcpy(&e.record.x, bytes, 4);
            std::memcpy(&e.record.y, bytes + 4, 4);
        } else if (e.kind == ZEMKA_KBD && i < size) {
            e.record.key = static_cast<char>(data[i++]);
        }
        events.push_back(e);
    }
    return events;
}

// The wait's recording step for an event it returns.
void returned(const Event &e) {
    using namespace zemka;
    pending_kind = e.kind;
    current_event = e.record;
    script_record_event(e.kind, current_event);
}

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
    const std::vector<Event> events = decode(data, size);
    std::remove(script_file_path.c_str());
    playing_continuous = playing_once = recording = 0;
    pending_periodic = 0;
    const int lines_at_start = fuzz::console_lines;

    script_toggle_recording();
    FUZZ_CHECK(recording);
    for (const Event &e : events) returned(e);
    script_toggle_recording();
    FUZZ_CHECK(!recording && pending_periodic == 0 && !script_file_open());
    FUZZ_CHECK(fuzz::console_lines == lines_at_start);

    std::vector<Event> expected;
    for (const Event &e : events)
        if (e.kind != ZEMKA_QUIT) expected.push_back(e);

    script_toggle_playback();
    std::size_t played = 0;
    for (;;) {
        pending_kind = -1;
        current_event = EventRecord{0, 0, 0};
        if (script_play_step() != 1) break;
        FUZZ_CHECK(played < expected.size());
        const Event &want = expected[played++];
        FUZZ_CHECK(pending_kind == want.kind);
        FUZZ_CHECK(current_event.x == want.record.x && current_event.y == want.record.y);
        FUZZ_CHECK(current_event.key == want.record.key);
    }
    FUZZ_CHECK(played == expected.size());
    FUZZ_CHECK(!playing_continuous && !script_file_open());
    FUZZ_CHECK(fuzz::console_lines == lines_at_start + 1);
    // Switching recording on creates the file at once, so even a recording
    // without any event plays to the end of an (empty) file.
    const std::string eof_line = "EOF encountered in script file " + script_file_path + "\n";
    FUZZ_CHECK(eof_line == fuzz::last_console_line);
    return 0;
}
