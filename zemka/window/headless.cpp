#include "zemka/window/headless.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "zemka/console/console.h"
#include "zemka/platform/image_file.h"
#include "zemka/script/script.h"
#include "zemka/state.h"
#include "zemka/window/windows.h"

namespace zemka::headless {

namespace {

constexpr long DEFAULT_PLAY_LIMIT = 1000000;
constexpr int SHOWN_WIDTH = 600;  // the drawing window's client area
constexpr int SHOWN_HEIGHT = 500;

struct Settings {
    std::string play_file;
    bool quit_after_play = false;
    long play_limit = DEFAULT_PLAY_LIMIT;
    std::string snapshot;
    long snapshot_every = 0;
};

Settings settings;
bool replay_pending = false;  // the replay starts on the first wait
bool replay_running = false;
long events_played = 0;
long waits = 0;
long snapshots_written = 0;
bool final_snapshot_written = false;

void warn(const std::string &line) { std::fprintf(stderr, "ZEMKA: %s\n", line.c_str()); }

// A whole positive number, or 0 when the text is not one.
long positive_number(const char *text) {
    if (!text || !*text) return 0;
    errno = 0;
    char *end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value <= 0) return 0;
    return value;
}

bool flag_set(const char *name) {
    const char *v = std::getenv(name);
    return v && *v && std::string(v) != "0";
}

void echo_line(const char *text, std::size_t length, void *) {
    std::fwrite(text, 1, length, stderr);
    if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
}

bool writable(const std::string &path) {
    std::FILE *probe = std::fopen(path.c_str(), "ab");
    if (!probe) return false;
    std::fclose(probe);
    return true;
}

std::string numbered_snapshot_path(long n) {
    std::string base = settings.snapshot;
    if (base.size() > 4 && base.compare(base.size() - 4, 4, ".png") == 0) base.resize(base.size() - 4);
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "-%06ld.png", n);
    return base + suffix;
}

void write_snapshot(const std::string &path) {
    if (!platform::save_png(canvas_dc, SHOWN_WIDTH, SHOWN_HEIGHT, path.c_str()))
        warn("cannot write the snapshot " + path);
}

void at_exit() { write_final_snapshot(); }

}  // namespace

void configure() {
    if (flag_set("ZEMKA_ECHO")) console::set_line_tap(echo_line, nullptr);

    if (const char *play = std::getenv("ZEMKA_PLAY"); play && *play) {
        if (std::FILE *f = std::fopen(play, "r")) {
            std::fclose(f);
            settings.play_file = play;
            replay_pending = true;
        } else {
            warn(std::string("cannot read the script ") + play + "; ZEMKA_PLAY is ignored");
        }
    }
    settings.quit_after_play = flag_set("ZEMKA_QUIT_AFTER_PLAY") && !settings.play_file.empty();
    if (const char *limit = std::getenv("ZEMKA_PLAY_LIMIT"); limit && *limit) {
        if (const long n = positive_number(limit))
            settings.play_limit = n;
        else
            warn(std::string("ZEMKA_PLAY_LIMIT=") + limit + " is not a positive number; it is ignored");
    }
    if (const char *snap = std::getenv("ZEMKA_SNAPSHOT"); snap && *snap) {
        if (writable(snap)) {
            settings.snapshot = snap;
            std::atexit(at_exit);
        } else {
            warn(std::string("cannot write the snapshot ") + snap + "; ZEMKA_SNAPSHOT is ignored");
        }
    }
    if (const char *every = std::getenv("ZEMKA_SNAPSHOT_EVERY"); every && *every) {
        if (settings.snapshot.empty())
            warn("ZEMKA_SNAPSHOT_EVERY needs ZEMKA_SNAPSHOT; it is ignored");
        else if (const long n = positive_number(every))
            settings.snapshot_every = n;
        else
            warn(std::string("ZEMKA_SNAPSHOT_EVERY=") + every + " is not a positive number; it is ignored");
    }
}

void wait_begins() {
    if (!replay_pending) return;
    replay_pending = false;
    // Exactly as if continuous playback had been chosen from the menu, on
    // the chosen file; the menu's own recording and playback keep to the
    // default file once this replay is over.
    set_script_path(settings.play_file.c_str());
    script_toggle_playback();
    replay_running = playing_continuous != 0;
    if (!replay_running) set_script_path(nullptr);
}

bool play_step_allowed() {
    if (!replay_running || events_played < settings.play_limit) return true;
    ZEMKA_console_printf("Play limit of %ld events reached in script file %s\n", settings.play_limit, script_path());
    script_stop_playback();
    script_close();
    return false;
}

void event_played() {
    if (replay_running) ++events_played;
}

bool playback_ended() {
    if (!replay_running) return false;
    replay_running = false;
    set_script_path(nullptr);
    return settings.quit_after_play;
}

void wait_ends() {
    // A replay switched off from the menu is over too.
    if (replay_running && !playing_continuous && !playing_once) playback_ended();
    ++waits;
    if (settings.snapshot_every > 0 && waits % settings.snapshot_every == 0)
        write_snapshot(numbered_snapshot_path(++snapshots_written));
}

void write_final_snapshot() {
    if (settings.snapshot.empty() || final_snapshot_written || !canvas_dc) return;
    final_snapshot_written = true;
    write_snapshot(settings.snapshot);
}

}  // namespace zemka::headless
