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

#include "zemka/platform/script_file.h"
#include "zemka/script/script_state.h"
#include "zemka/support/offered_file.h"
#include "zemka/support/regular_file.h"
#include "zemka/window/run_menu.h"
#include "zemka/window/run_state.h"

namespace zemka {

namespace {

constexpr const char *DEFAULT_SCRIPT_PATH = "ZEMKA.SCR";
constexpr std::size_t LINE_SIZE = 512;      // at most 511 characters of a line
constexpr std::size_t NUMBER_SIZE = 12;     // at most 11 characters of a number
constexpr std::size_t KEYWORD_INDEX = 6;    // 'M', 'K' or 'P' after "ZEMKA_"
constexpr std::size_t LINE_TEXT_SIZE = 64;  // the longest written line is 38 bytes

enum class StreamMode { Closed, Writing, Reading };

std::FILE *script_file = nullptr;
StreamMode script_mode = StreamMode::Closed;
std::string chosen_path = DEFAULT_SCRIPT_PATH;
std::string replay_path;                      // read instead of chosen_path while set
std::string protected_path;                   // never written
std::string open_path = DEFAULT_SCRIPT_PATH;  // the path of the last open attempt
PlaybackEnd playback_end = PlaybackEnd::None;

// The recording's place in its file: everything before good_size is whole
// lines that were written. The line of the current periodic run starts at
// run_offset (-1: no run) and is rewritten there as the run grows.
long good_size = 0;
long run_offset = -1;
bool run_on_disk = false;
bool write_failure_reported = false;  // since the last write that succeeded

const std::string &reading_path() { return replay_path.empty() ? chosen_path : replay_path; }

// Recording cannot go on at all: it is switched off, as by its command.
void refuse_recording() {
    recording = 0;
    pending_periodic = 0;
    platform::check_menu_item(run_menu, MENU_RECORD, platform::MF_UNCHECKED);
}

bool is_protected(const std::string &path) {
    if (protected_path.empty()) return false;
    return path == protected_path || support::same_file(path.c_str(), protected_path.c_str());
}

bool open_for_writing() {
    open_path = chosen_path;
    if (is_protected(open_path)) {
        ZEMKA_console_printf("Cannot record into script file %s: it is the script given by ZEMKA_PLAY\n",
                             open_path.c_str());
        refuse_recording();
        return false;
    }
    support::FileProblem problem = support::FileProblem::None;
    script_file = support::open_for_recording(open_path.c_str(), &problem);
    if (!script_file) {
        if (problem == support::FileProblem::Locked) {
            ZEMKA_console_printf("Cannot record: script file %s is being recorded by another program\n",
                                 open_path.c_str());
            refuse_recording();
        } else {
            ZEMKA_console_printf("Cannot open script file %s for writing\n", open_path.c_str());
        }
        return false;
    }
    // Each line goes to the file with one write, so that a failed write
    // can be undone exactly and a killed recorder leaves whole lines.
    std::setvbuf(script_file, nullptr, _IONBF, 0);
    script_mode = StreamMode::Writing;
    good_size = 0;
    run_offset = -1;
    run_on_disk = false;
    write_failure_reported = false;
    return true;
}

bool open_for_reading() {
    open_path = reading_path();
    script_file = support::open_regular_for_reading(open_path.c_str(), nullptr);
    script_mode = script_file ? StreamMode::Reading : StreamMode::Closed;
    return script_file != nullptr;
}

// Writes text at offset, which is the end of the whole lines. A write that
// fails is undone: the file goes back to its last complete line.
bool write_line_at(long offset, const char *text, std::size_t length) {
    const bool ok = std::fseek(script_file, offset, SEEK_SET) == 0 &&
                    std::fwrite(text, 1, length, script_file) == length && std::fflush(script_file) == 0;
    if (ok) {
        write_failure_reported = false;
        return true;
    }
    support::truncate_stream(script_file, offset);
    std::clearerr(script_file);
    if (!write_failure_reported) {
        write_failure_reported = true;
        ZEMKA_console_printf("Cannot write to script file %s\n", open_path.c_str());
    }
    return false;
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

// Reads one line of at most 511 characters, keeping its newline. A
// carriage return before the newline belongs to the line end, so a file
// with Windows line ends reads as its twin with plain newlines. False when
// nothing could be read (the end of the file, or a read error).
bool read_line(char (&line)[LINE_SIZE]) {
    if (!std::fgets(line, static_cast<int>(LINE_SIZE), script_file)) return false;
    const std::size_t length = std::strlen(line);
    if (length >= 2 && line[length - 2] == '\r' && line[length - 1] == '\n') {
        line[length - 2] = '\n';
        line[length - 1] = '\0';
    }
    return true;
}

}  // namespace

const char *script_path() { return chosen_path.c_str(); }

const char *platform::script_file_path() { return script_path(); }

void set_script_path(const char *path) { chosen_path = path && *path ? path : DEFAULT_SCRIPT_PATH; }

void set_replay_path(const char *path) { replay_path = path ? path : ""; }

void protect_script_file(const char *path) { protected_path = path ? path : ""; }

bool script_file_open() { return script_file != nullptr; }

PlaybackEnd last_playback_end() { return playback_end; }

void script_write_event(int kind, EventRecord record) {
    // A stream that playback left open cannot take lines: the recording
    // starts its own file.
    if (script_mode == StreamMode::Reading) script_close();
    if (!script_file && !open_for_writing()) return;
    char text[LINE_TEXT_SIZE];
    int length = 0;
    switch (kind) {
        case ZEMKA_MOUSE:
            length = std::snprintf(text, sizeof text, "ZEMKA_MOUSE(%d, %d);%s", record.x, record.y, support::LINE_END);
            break;
        case ZEMKA_KBD:
            length = std::snprintf(text, sizeof text, "ZEMKA_KBD(%d);%s",
                                   static_cast<int>(static_cast<signed char>(record.key)), support::LINE_END);
            break;
        case ZEMKA_PERIODIC: {
            // The run's line is the last of the file: it is written at the
            // end once and rewritten in place as the count grows.
            length = std::snprintf(text, sizeof text, "ZEMKA_PERIODIC(%d);%s", pending_periodic, support::LINE_END);
            const long at = run_offset >= 0 ? run_offset : good_size;
            run_offset = at;
            run_on_disk = write_line_at(at, text, static_cast<std::size_t>(length));
            good_size = run_on_disk ? at + length : at;
            return;
        }
        default: return;  // a quit event has no line
    }
    run_offset = -1;
    run_on_disk = false;
    if (write_line_at(good_size, text, static_cast<std::size_t>(length))) good_size += length;
}

void script_record_event(int kind, EventRecord record) {
    if (!recording) return;
    if (kind == ZEMKA_PERIODIC) {
        if (pending_periodic < INT_MAX) ++pending_periodic;
        // Without a file (it could not be opened) the run is only counted;
        // the next other event tries the file again and writes it first.
        if (script_mode == StreamMode::Writing)
            script_write_event(ZEMKA_PERIODIC, record);
        else
            run_on_disk = false;
        return;
    }
    if (pending_periodic > 0 && !(run_on_disk && script_mode == StreamMode::Writing))
        script_write_event(ZEMKA_PERIODIC, record);
    pending_periodic = 0;
    run_offset = -1;
    run_on_disk = false;
    script_write_event(kind, record);
}

int script_play_step() {
    if (recording || script_mode == StreamMode::Writing) {
        ZEMKA_console_printf("Cannot play a script while recording\n");
        script_stop_playback();
        playback_end = PlaybackEnd::WhileRecording;
        return 0;
    }
    if (!script_file && !open_for_reading()) {
        ZEMKA_console_printf("Cannot open script file %s for reading\n", open_path.c_str());
        script_stop_playback();
        playback_end = PlaybackEnd::CannotOpen;
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
        playback_end = PlaybackEnd::EndOfFile;
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
            playback_end = PlaybackEnd::UnusableLine;
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
    const bool was_recording = script_mode == StreamMode::Writing;
    std::fclose(script_file);
    script_file = nullptr;
    script_mode = StreamMode::Closed;
    run_offset = -1;
    run_on_disk = false;
    // A recording is whole once its file is closed.
    if (was_recording) support::offer_file(open_path.c_str());
}

void script_toggle_recording() {
    if (recording) {
        recording = 0;
        platform::check_menu_item(run_menu, MENU_RECORD, platform::MF_UNCHECKED);
        // The run's line is on disk already unless its write failed.
        if (pending_periodic > 0 && !(run_on_disk && script_mode == StreamMode::Writing))
            script_write_event(ZEMKA_PERIODIC, current_event);
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
    // The file is emptied at once, so an older recording never passes for
    // this one; a file that cannot be opened now is tried again by every
    // event, a file that another program records into ends the recording.
    open_for_writing();
}

void script_toggle_playback() {
    if (playing_continuous) {
        playing_continuous = 0;
        platform::check_menu_item(run_menu, MENU_PLAYBACK, platform::MF_UNCHECKED);
        playback_end = PlaybackEnd::SwitchedOff;
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
