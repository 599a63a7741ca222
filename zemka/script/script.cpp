// The script file: one event per line, written while recording is on and
// read back one event per play step.
//
// Recording and playback share one stream and the counter
// pending_periodic. The stream remembers how it was opened, so that a
// play step never reads from a recording's stream and a write never goes
// into a stream that playback opened.
#include "zemka/script/script.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "zemka/state.h"

namespace zemka {

namespace {

constexpr const char *DEFAULT_SCRIPT_PATH = "ZEMKA.SCR";
constexpr std::size_t LINE_SIZE = 512;    // at most 511 characters of a line
constexpr std::size_t NUMBER_SIZE = 12;   // at most 11 characters of a number
constexpr std::size_t KEYWORD_INDEX = 6;  // 'M', 'K' or 'P' after "ZEMKA_"

enum class StreamMode { Closed, Writing, Reading };

std::FILE *script_file = nullptr;
StreamMode script_mode = StreamMode::Closed;
std::string chosen_path = DEFAULT_SCRIPT_PATH;
std::string open_path = DEFAULT_SCRIPT_PATH;  // the path of the last open attempt
bool write_failure_reported = false;          // for the stream now open for writing

bool open_stream(StreamMode mode) {
    open_path = chosen_path;
    script_file = std::fopen(open_path.c_str(), mode == StreamMode::Writing ? "w" : "r");
    script_mode = script_file ? mode : StreamMode::Closed;
    write_failure_reported = false;
    return script_file != nullptr;
}

// Playback has ended: a periodic run still being played is dropped and a
// stream that playback opened is closed, so the next playback starts from
// the first line. While recording is on, the counter and the stream are
// the recording's and stay as they are.
void release_playback_state() {
    if (recording || script_mode == StreamMode::Writing) return;
    pending_periodic = 0;
    script_close();
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Converts an optional sign followed by digits, up to the first other
// character; no digits give 0. The value saturates at the int limits.
int to_int(const char *text) {
    bool negative = false;
    if (*text == '-' || *text == '+') negative = *text++ == '-';
    constexpr long long limit = static_cast<long long>(INT_MAX) + 1;
    long long value = 0;
    for (; is_digit(*text); ++text) {
        value = value * 10 + (*text - '0');
        if (value > limit) value = limit;
    }
    if (negative) return value >= limit ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

// Moves pos to the next character that can start a number and converts
// the run of such characters from there; pos ends after the run. Digits
// always belong to a number, '-' only when with_minus is set. Only the
// first 11 characters of the run are converted. A scan that finds no
// number before the end of the text yields 0.
int scan_number(const char *text, std::size_t length, std::size_t &pos, bool with_minus) {
    const auto in_number = [with_minus](char c) { return is_digit(c) || (with_minus && c == '-'); };
    while (pos < length && !in_number(text[pos])) ++pos;
    char number[NUMBER_SIZE];
    std::size_t used = 0;
    for (; pos < length && in_number(text[pos]); ++pos)
        if (used < NUMBER_SIZE - 1) number[used++] = text[pos];
    number[used] = '\0';
    return to_int(number);
}

// Reads one line of at most 511 characters, keeping its newline. False
// when nothing could be read (the end of the file, or a read error).
bool read_line(char (&line)[LINE_SIZE]) {
    return std::fgets(line, static_cast<int>(LINE_SIZE), script_file) != nullptr;
}

void note_write_result(bool failed) {
    if (!failed) return;
    std::clearerr(script_file);
    if (write_failure_reported) return;
    write_failure_reported = true;
    ZEMKA_console_printf("Cannot write to script file %s\n", open_path.c_str());
}

}  // namespace

const char *script_path() { return chosen_path.c_str(); }

void set_script_path(const char *path) { chosen_path = path && *path ? path : DEFAULT_SCRIPT_PATH; }

bool script_file_open() { return script_file != nullptr; }

void script_write_event(int kind, EventRecord record) {
    // A stream that playback left open cannot take lines: the recording
    // starts its own file.
    if (script_mode == StreamMode::Reading) script_close();
    if (!script_file && !open_stream(StreamMode::Writing)) {
        ZEMKA_console_printf("Cannot open script file %s for writing\n", open_path.c_str());
        return;
    }
    int written = 0;
    switch (kind) {
        case ZEMKA_MOUSE: written = std::fprintf(script_file, "ZEMKA_MOUSE(%d, %d);\n", record.x, record.y); break;
        case ZEMKA_KBD:
            written =
                std::fprintf(script_file, "ZEMKA_KBD(%d);\n", static_cast<int>(static_cast<signed char>(record.key)));
            break;
        case ZEMKA_PERIODIC: written = std::fprintf(script_file, "ZEMKA_PERIODIC(%d);\n", pending_periodic); break;
        default: return;  // a quit event has no line
    }
    // Each line goes to the file at once, so a recording survives a kill.
    const bool flush_failed = std::fflush(script_file) != 0;
    note_write_result(written < 0 || flush_failed);
}

int script_play_step() {
    if (recording || script_mode == StreamMode::Writing) {
        ZEMKA_console_printf("Cannot play a script while recording\n");
        script_stop_playback();
        return 0;
    }
    if (!script_file && !open_stream(StreamMode::Reading)) {
        ZEMKA_console_printf("Cannot open script file %s for reading\n", open_path.c_str());
        script_stop_playback();
        return 0;
    }
    if (pending_periodic > 0) {
        pending_kind = ZEMKA_PERIODIC;
        --pending_periodic;
        return 1;
    }

    char line[LINE_SIZE];
    bool have_line = read_line(line);
    while (have_line && line[0] == '\n') have_line = read_line(line);
    if (!have_line) {
        ZEMKA_console_printf("EOF encountered in script file %s\n", open_path.c_str());
        script_stop_playback();
        return 0;
    }

    // The line's text ends at its terminator (or an earlier zero byte).
    const std::size_t length = std::strlen(line);
    std::size_t pos = KEYWORD_INDEX;
    switch (length > KEYWORD_INDEX ? line[KEYWORD_INDEX] : '\0') {
        case 'M': {
            const int x = scan_number(line, length, pos, true);
            const int y = scan_number(line, length, pos, true);
            pending_kind = ZEMKA_MOUSE;
            current_event.x = x;
            current_event.y = y;
            return 1;
        }
        case 'K': {
            // Keys 128 to 255 are written as negative numbers: the sign counts.
            const int n = scan_number(line, length, pos, true);
            pending_kind = ZEMKA_KBD;
            current_event.key = static_cast<char>(static_cast<unsigned char>(static_cast<unsigned>(n) & 0xFFu));
            return 1;
        }
        case 'P': {
            const int n = scan_number(line, length, pos, false);
            pending_kind = ZEMKA_PERIODIC;
            pending_periodic = n > 0 ? n - 1 : 0;
            return 1;
        }
        default:
            // Too short or an unknown keyword: no event, and playback ends.
            script_stop_playback();
            return 0;
    }
}

void script_stop_playback() {
    playing_continuous = 0;
    playing_once = 0;
    platform::check_menu_item(run_menu, MENU_PLAYBACK, platform::MF_UNCHECKED);
    release_playback_state();
}

void script_close() {
    if (!script_file) return;
    std::fclose(script_file);
    script_file = nullptr;
    script_mode = StreamMode::Closed;
}

void script_toggle_recording() {
    if (recording) {
        recording = 0;
        platform::check_menu_item(run_menu, MENU_RECORD, platform::MF_UNCHECKED);
        if (pending_periodic > 0) script_write_event(ZEMKA_PERIODIC, current_event);
        pending_periodic = 0;
        script_close();
        return;
    }
    if (playing_continuous || playing_once) {
        ZEMKA_console_printf("Cannot record while a script is playing\n");
        return;
    }
    // One-shot steps may have left the stream open for reading, in the
    // middle of a periodic run: the recording starts afresh.
    script_close();
    pending_periodic = 0;
    recording = 1;
    platform::check_menu_item(run_menu, MENU_RECORD, platform::MF_CHECKED);
}

void script_toggle_playback() {
    if (playing_continuous) {
        playing_continuous = 0;
        platform::check_menu_item(run_menu, MENU_PLAYBACK, platform::MF_UNCHECKED);
        release_playback_state();
        return;
    }
    if (recording) {
        ZEMKA_console_printf("Cannot play a script while recording\n");
        return;
    }
    animate = 0;
    one_frame = 0;
    playing_continuous = 1;
    platform::check_menu_item(run_menu, MENU_PLAYBACK, platform::MF_CHECKED);
}

void script_play_once() {
    if (recording) {
        ZEMKA_console_printf("Cannot play a script while recording\n");
        return;
    }
    playing_once = 1;
    animate = 0;
    one_frame = 0;
}

}  // namespace zemka
