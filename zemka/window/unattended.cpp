#include "zemka/window/unattended.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "zemka/platform/canvas_size.h"
#include "zemka/draw/canvas_state.h"
#include "zemka/platform/settings.h"
#include "zemka/script/script.h"
#include "zemka/script/script_state.h"
#include "zemka/support/image_file.h"
#include "zemka/support/regular_file.h"
#include "zemka/window/end_signals.h"
#include "zemka/window/movie.h"
#include "zemka/window/run_state.h"
#include "zemka/window/setting_values.h"
#include "zemka/window/window_procs.h"

namespace zemka::unattended {

namespace {

constexpr long DEFAULT_PLAY_LIMIT = 1000000;
constexpr int UNUSABLE_REPLAY_EXIT = 2;

struct Settings {
    std::string play_file;
    bool quit_after_play = false;
    long play_limit = DEFAULT_PLAY_LIMIT;
    std::string snapshot;
    long snapshot_every = 0;
};

Settings settings;
bool configured = false;
bool replay_pending = false;  // the replay starts on the first wait
bool replay_running = false;
bool limit_reached = false;
long events_played = 0;
long waits = 0;
long snapshots_written = 0;

void warn(const std::string &line) { std::fprintf(stderr, "ZEMKA: %s\n", line.c_str()); }

std::string numbered_snapshot_path(long n) {
    std::string base = settings.snapshot;
    if (base.size() > 4 && base.compare(base.size() - 4, 4, ".png") == 0) base.resize(base.size() - 4);
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "-%06ld.png", n);
    return base + suffix;
}

bool ends_with(const std::string &s, const std::string &end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// The file names of the snapshots: FILE.png and its series FILE-NNNNNN.png.
bool snapshot_name(const std::string &name, const std::string &own_name) {
    if (name == own_name) return true;
    std::string stem = own_name;
    if (stem.size() > 4 && ends_with(stem, ".png")) stem.resize(stem.size() - 4);
    if (name.size() <= stem.size() + 5 || name.compare(0, stem.size() + 1, stem + "-") != 0 || !ends_with(name, ".png"))
        return false;
    const std::string number = name.substr(stem.size() + 1, name.size() - stem.size() - 5);
    return number.find_first_not_of("0123456789") == std::string::npos;
}

// What path names that a snapshot must not replace, null when nothing.
const char *refusal(const std::string &path) {
    if (!settings.play_file.empty() && support::same_path(path.c_str(), settings.play_file.c_str()))
        return "the script being played";
    if (!movie::file().empty() && support::same_path(path.c_str(), movie::file().c_str()))
        return "the file of ZEMKA_MOVIE";
    return support::unfit_to_replace(path.c_str(), support::ImageKind::Png);
}

void write_snapshot(const std::string &path) {
    // Checked again for every file: the series' files were never checked,
    // and something may have taken the place of the final one meanwhile.
    if (const char *unfit = refusal(path)) {
        warn("cannot write the snapshot " + path + ": it would replace " + unfit);
        return;
    }
    std::string why;
    if (!support::save_png(canvas_dc, SHOWN_WIDTH, SHOWN_HEIGHT, path.c_str(), &why))
        warn("cannot write the snapshot " + path + ": " + why);
}

const char *end_reason() {
    if (limit_reached) return "play limit reached";
    switch (last_playback_end()) {
        case PlaybackEnd::EndOfFile: return "end of file";
        case PlaybackEnd::UnusableLine: return "no usable line";
        case PlaybackEnd::CannotOpen: return "the script cannot be read";
        case PlaybackEnd::SwitchedOff: return "stopped from the menu";
        case PlaybackEnd::WhileRecording: return "refused while recording";
        case PlaybackEnd::None: break;
    }
    return "the program stopped";
}

// The replay is over, however it ended: one line says so, and the menu's
// playback reads ZEMKA.SCR again.
void end_replay(const char *reason) {
    replay_running = false;
    set_replay_path(nullptr);
    std::fprintf(stderr, "ZEMKA: replay of %s ended after %ld event%s: %s\n", settings.play_file.c_str(), events_played,
                 events_played == 1 ? "" : "s", reason);
}

// An unattended run must not go on as if it had been replayed.
[[noreturn]] void refuse_replay(const char *path, support::FileProblem problem) {
    const char *why = problem == support::FileProblem::Missing      ? "no such file"
                      : problem == support::FileProblem::NotRegular ? "it is not a regular file"
                                                                    : "it cannot be read";
    warn(std::string("cannot replay ") + path + ": " + why);
    std::exit(UNUSABLE_REPLAY_EXIT);
}

void at_exit() { program_stops(); }

}  // namespace

void configure() {
    if (configured) return;
    configured = true;
    if (const char *play = platform::setting("ZEMKA_PLAY"); play && *play) {
        support::FileProblem problem = support::FileProblem::None;
        std::FILE *f = support::open_regular_for_reading(play, &problem);
        if (!f) refuse_replay(play, problem);
        std::fclose(f);
        settings.play_file = play;
        replay_pending = true;
        protect_script_file(play);
    }
    movie::configure(settings.play_file.empty() ? nullptr : settings.play_file.c_str());
    if (platform::setting_flag("ZEMKA_QUIT_AFTER_PLAY")) {
        if (settings.play_file.empty())
            warn("ZEMKA_QUIT_AFTER_PLAY needs ZEMKA_PLAY; it is ignored");
        else
            settings.quit_after_play = true;
    }
    if (const char *limit = platform::setting("ZEMKA_PLAY_LIMIT"); limit && *limit) {
        if (const long n = positive_number(limit))
            settings.play_limit = n;
        else
            warn(std::string("ZEMKA_PLAY_LIMIT=") + limit + " is not a positive number; it is ignored");
    }
    if (const char *snap = platform::setting("ZEMKA_SNAPSHOT"); snap && *snap) {
        std::string why;
        if (!support::can_write_file(snap, &why)) {
            warn(std::string("cannot write the snapshot ") + snap + " (" + why + "); ZEMKA_SNAPSHOT is ignored");
        } else if (const char *unfit = refusal(snap)) {
            warn(std::string("ZEMKA_SNAPSHOT names ") + unfit + " (" + snap + "): nothing is written");
        } else {
            settings.snapshot = snap;
            support::sweep_dead_temporaries(snap, snapshot_name);
        }
    }
    if (const char *every = platform::setting("ZEMKA_SNAPSHOT_EVERY"); every && *every) {
        if (settings.snapshot.empty())
            warn("ZEMKA_SNAPSHOT_EVERY needs ZEMKA_SNAPSHOT; it is ignored");
        else if (const long n = positive_number(every))
            settings.snapshot_every = n;
        else
            warn(std::string("ZEMKA_SNAPSHOT_EVERY=") + every + " is not a positive number; it is ignored");
    }
    if (replay_pending || !settings.snapshot.empty()) std::atexit(at_exit);
}

void wait_begins() {
    if (!replay_pending) return;
    replay_pending = false;
    // Exactly as if continuous playback had been chosen from the menu, on
    // the chosen file.
    set_replay_path(settings.play_file.c_str());
    script_toggle_playback();
    replay_running = true;
    if (!playing_continuous) end_replay("refused while recording");
}

bool play_step_allowed() {
    if (!replay_running || events_played < settings.play_limit) return true;
    ZEMKA_console_printf("Play limit of %ld events reached in script file %s\n", settings.play_limit,
                         settings.play_file.c_str());
    limit_reached = true;
    script_stop_playback();
    script_close();
    return false;
}

void event_played() {
    if (replay_running && events_played < LONG_MAX) ++events_played;
}

bool replay_over_quits() {
    if (!replay_running || playing_continuous || playing_once) return false;
    end_replay(end_reason());
    return settings.quit_after_play;
}

void wait_ends() {
    ++waits;
    movie::wait_ends(replay_running, pending_kind == ZEMKA_PERIODIC);
    if (settings.snapshot_every > 0 && waits % settings.snapshot_every == 0)
        write_snapshot(numbered_snapshot_path(++snapshots_written));
}

void program_stops() {
    end_signals::ending();
    if (replay_running) end_replay("the program stopped first");
    movie::finish();
    // Every stop writes the picture; at exit only a library that was not
    // stopped still has a canvas.
    if (settings.snapshot.empty() || !canvas_dc) return;
    write_snapshot(settings.snapshot);
}

}  // namespace zemka::unattended
