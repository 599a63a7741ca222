#include "zemka/window/movie.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "zemka/platform/canvas_size.h"
#include "zemka/draw/canvas_state.h"
#include "zemka/draw/palette.h"
#include "zemka/platform/settings.h"
#include "zemka/raster/gif_encoder.h"
#include "zemka/support/image_file.h"
#include "zemka/support/offered_file.h"
#include "zemka/support/regular_file.h"
#include "zemka/window/end_signals.h"
#include "zemka/window/setting_values.h"

namespace zemka::movie {

namespace {

constexpr long DEFAULT_FRAME_LIMIT = 3000;  // five minutes at ten frames a second
constexpr std::size_t MAX_BYTES = 64u << 20;
constexpr int TICK_MS = 100;
constexpr int LAST_FRAME_MS = 1000;  // the end shows a while before the loop starts again

using Clock = std::chrono::steady_clock;

struct Recording {
    std::string path;
    std::unique_ptr<raster::GifEncoder> encoder;
    support::WholeFileWriter file;
    long waits = 0;
    bool full = false;  // the limit was reached: no more frames
    bool failed = false;
    // The clock: script time while replaying, real time otherwise, going
    // on from where the other left off.
    std::int64_t time_ms = 0;
    bool real_clock = false;
    Clock::time_point real_base{};
    std::int64_t base_ms = 0;
};

long every = 1;
long frame_limit = DEFAULT_FRAME_LIMIT;
bool configured = false;
std::unique_ptr<Recording> current;
std::string played;    // the script being played, never replaced
std::string recorded;  // the file of the last animation started

void warn(const std::string &line) { std::fprintf(stderr, "ZEMKA: %s\n", line.c_str()); }

std::vector<std::uint32_t> palette_pixels() {
    std::vector<std::uint32_t> out;
    for (const gdi::ColorRef c : palette) out.push_back(gdi::pixel_of(c));
    return out;
}

// Moves what the encoder made so far into the file.
void drain(Recording &r) {
    const std::vector<std::uint8_t> bytes = r.encoder->take_bytes();
    if (!r.failed && !r.file.write(bytes.data(), bytes.size())) r.failed = true;
}

void at_exit() {
    end_signals::ending();
    finish();
}

// What path names that an animation must not replace, null when nothing.
const char *refusal(const std::string &path) {
    if (!played.empty() && support::same_path(path.c_str(), played.c_str())) return "the script being played";
    return support::unfit_to_replace(path.c_str(), support::ImageKind::Gif);
}

}  // namespace

void configure(const char *played_script) {
    if (configured) return;
    configured = true;
    played = played_script ? played_script : "";
    if (const char *n = platform::setting("ZEMKA_MOVIE_EVERY"); n && *n) {
        if (const long value = positive_number(n))
            every = value;
        else
            warn(std::string("ZEMKA_MOVIE_EVERY=") + n + " is not a positive number; it is ignored");
    }
    if (const char *n = platform::setting("ZEMKA_MOVIE_LIMIT"); n && *n) {
        if (const long value = positive_number(n))
            frame_limit = value;
        else
            warn(std::string("ZEMKA_MOVIE_LIMIT=") + n + " is not a positive number; it is ignored");
    }
    if (const char *path = platform::setting("ZEMKA_MOVIE"); path && *path) {
        std::string why;
        if (!support::can_write_file(path, &why)) {
            warn(std::string("cannot write the animation ") + path + " (" + why + "); ZEMKA_MOVIE is ignored");
            return;
        }
        if (const char *unfit = refusal(path)) {
            warn(std::string("ZEMKA_MOVIE names ") + unfit + " (" + path + "): nothing is written");
            return;
        }
        start(path);
    }
}

bool start(const char *path) {
    if (current) return false;
    auto r = std::make_unique<Recording>();
    r->path = path ? path : "";
    if (const char *unfit = refusal(r->path)) {
        warn("cannot write the animation " + r->path + ": it would replace " + unfit);
        return false;
    }
    support::sweep_dead_temporaries(path, support::same_name);
    std::string why;
    if (!r->file.open(path, &why)) {
        warn("cannot write the animation " + r->path + ": " + why);
        return false;
    }
    r->encoder = std::make_unique<raster::GifEncoder>(SHOWN_WIDTH, SHOWN_HEIGHT, palette_pixels());
    recorded = r->path;
    current = std::move(r);
    drain(*current);
    // A program that ends without stopping the library still gets its file.
    static bool finish_at_exit = false;
    if (!finish_at_exit) {
        finish_at_exit = true;
        std::atexit(at_exit);
    }
    return true;
}

bool recording() { return current != nullptr; }

const std::string &file() { return recorded; }

void wait_ends(bool replaying, bool tick) {
    if (!current || current->full || !canvas_dc) return;
    Recording &r = *current;
    if (replaying) {
        r.real_clock = false;
        if (tick) r.time_ms += TICK_MS;
    } else {
        if (!r.real_clock) {
            r.real_clock = true;
            r.real_base = Clock::now();
            r.base_ms = r.time_ms;
        }
        r.time_ms = r.base_ms +
                    std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - r.real_base).count();
    }
    if (r.waits++ % every != 0) return;
    const raster::Pixmap pm = gdi::dc_pixmap(canvas_dc);
    if (!pm.pixels || pm.width < SHOWN_WIDTH || pm.height < SHOWN_HEIGHT) return;
    r.encoder->add_frame(pm.pixels, pm.stride, r.time_ms);
    drain(r);
    if (static_cast<long>(r.encoder->frames_written()) + 1 >= frame_limit || r.file.size() >= MAX_BYTES) {
        r.full = true;
        warn("the animation " + r.path + " reached its limit of " +
             (r.file.size() >= MAX_BYTES ? std::to_string(MAX_BYTES >> 20) + " MB" : std::to_string(frame_limit) + " frames") +
             "; it ends there");
    }
}

void finish() {
    if (!current) return;
    std::unique_ptr<Recording> r = std::move(current);
    if (!r->encoder->has_pending_frame()) {
        warn("the animation " + r->path + " has no frame; it is not written");
        return;
    }
    r->encoder->finish(LAST_FRAME_MS);
    drain(*r);
    // What took the file's place meanwhile is not replaced either.
    if (const char *unfit = refusal(r->path)) {
        r->file.abandon();
        warn("cannot write the animation " + r->path + ": it would replace " + unfit);
        return;
    }
    std::string why;
    if (r->failed) {
        r->file.commit(&why);  // reports the write's error and removes the temporary file
        warn("cannot write the animation " + r->path + ": " + (why.empty() ? "a write failed" : why));
        return;
    }
    if (!r->file.commit(&why)) {
        warn("cannot write the animation " + r->path + ": " + why);
        return;
    }
    support::offer_file(r->path.c_str());
}

}  // namespace zemka::movie
