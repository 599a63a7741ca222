// The painter's frame against its peers and against the memory work a
// frame cannot avoid, the logged frame with its console, and playback.
// Every comparison at the end is a ratio of two benchmarks of this run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "frame_list.h"
#include "painter/weather.h"
#include "peers.h"
#include "zemka/raster/gdi.h"
#include "zemka/platform/emulated/toolkit.h"
#include "zemka/platform/windowing.h"
#include "zemka/script/script.h"
#include "zemka/state.h"
#include "zemka/zemka.h"

namespace {

constexpr int TEXT_W = 1024;
constexpr int TEXT_H = 256;
constexpr int PLAYBACK_LINES = 10000;

struct Frame {
    painter::WeatherState state;
    std::vector<bench::Prim> list;
};
std::map<int, Frame> frames;  // by glyph count
std::string playback_script;

const Frame &frame(int glyphs) { return frames.at(glyphs); }

void BM_PainterFrame(benchmark::State &st) {
    const Frame &f = frame(static_cast<int>(st.range(0)));
    zemka::logging = 0;
    for (auto _ : st) {
        painter::draw_frame(f.state);
        benchmark::ClobberMemory();
    }
    st.counters["primitives"] = static_cast<double>(f.list.size());
}

void BM_PainterFrame_QPainter(benchmark::State &st) {
    const Frame &f = frame(static_cast<int>(st.range(0)));
    bench::QPainterPeer peer;
    for (auto _ : st) {
        peer.draw(f.list);
        benchmark::ClobberMemory();
    }
}

void BM_PainterFrame_Cairo(benchmark::State &st) {
    const Frame &f = frame(static_cast<int>(st.range(0)));
    bench::CairoPeer peer;
    for (auto _ : st) {
        peer.draw(f.list);
        benchmark::ClobberMemory();
    }
}

// Plain fills of the 600 x 500 picture area of a 601 x 540 image.
void BM_PictureFill(benchmark::State &st) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(bench::CANVAS_W) * bench::CANVAS_H);
    const int fills = static_cast<int>(st.range(0));
    std::uint32_t colour = 0xff000000u;
    for (auto _ : st) {
        for (int k = 0; k < fills; ++k) {
            ++colour;
            for (int y = 0; y < 500; ++y)
                std::fill_n(pixels.data() + static_cast<std::size_t>(y) * bench::CANVAS_W, 600, colour);
            benchmark::ClobberMemory();
        }
    }
    benchmark::DoNotOptimize(pixels.data());
}

// The frame with logging on: every primitive writes its console line. The
// text window is brought up to date once per frame, as showing it would.
void BM_LoggedFrame(benchmark::State &st) {
    const Frame &f = frame(static_cast<int>(st.range(0)));
    ZEMKA_set_logging(1);
    const zemka::platform::Rect rc = zemka::platform::get_client_rect(zemka::text_window);
    if (rc.right != TEXT_W || rc.bottom != TEXT_H) {
        st.SkipWithError("the text window is not 1024 x 256");
        return;
    }
    for (auto _ : st) {
        painter::draw_frame(f.state);
        const zemka::raster::Pixmap pm = zemka::gdi::dc_pixmap(zemka::platform::get_dc(zemka::text_window));
        benchmark::DoNotOptimize(pm.pixels[0]);
        benchmark::ClobberMemory();
    }
    ZEMKA_set_logging(0);
    st.counters["console_lines"] = static_cast<double>(f.list.size());
}

// Events of a 10,000-line script played through the wait; nothing is
// redrawn between them.
void BM_Playback(benchmark::State &st) {
    zemka::logging = 0;
    for (auto _ : st) {
        zemka::set_script_path(playback_script.c_str());
        zemka::script_toggle_playback();
        EventRecord record{};
        for (int i = 0; i < PLAYBACK_LINES; ++i) benchmark::DoNotOptimize(ZEMKA_next_event_record(&record));
        zemka::script_toggle_playback();  // stops and closes the file
    }
    zemka::set_script_path(nullptr);
    st.SetItemsProcessed(st.iterations() * PLAYBACK_LINES);
}

BENCHMARK(BM_PainterFrame)->Arg(0)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PainterFrame_QPainter)->Arg(0)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PainterFrame_Cairo)->Arg(0)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureFill)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoggedFrame)->Arg(0)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Playback)->Unit(benchmark::kMillisecond);

// Keeps every run's CPU time (seconds per iteration) for the ratios: the
// work is single-threaded, and CPU time is what other processes on a busy
// machine disturb least.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    std::map<std::string, double> rate;
    int errors = 0;  // runs that reported an error instead of a time

    void ReportRuns(const std::vector<Run> &runs) override {
        benchmark::ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred) {
                ++errors;
                continue;
            }
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            const std::string name = run.run_name.str();
            if (median || !seconds.count(name)) {
                seconds[name] = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
                if (auto it = run.counters.find("items_per_second"); it != run.counters.end())
                    rate[name] = it->second.value;
            }
        }
    }
};

void print_ratios(const RatioReporter &r) {
    auto t = [&r](const char *name) {
        auto it = r.seconds.find(name);
        return it == r.seconds.end() ? -1.0 : it->second;
    };
    auto ratio = [&t](const char *what, const char *a, const char *b, const char *target) {
        if (t(a) <= 0 || t(b) <= 0) return;
        std::printf("| %s | %s / %s | %.3f | %s |\n", what, a, b, t(a) / t(b), target);
    };
    std::printf("\n| comparison | ratio of | value | target |\n|---|---|---|---|\n");
    ratio("frame vs QPainter, 500 flakes", "BM_PainterFrame/500", "BM_PainterFrame_QPainter/500", "<= 0.100");
    ratio("frame vs cairo, 500 flakes", "BM_PainterFrame/500", "BM_PainterFrame_Cairo/500", "< 1");
    ratio("frame vs three picture fills, 500 flakes", "BM_PainterFrame/500", "BM_PictureFill/3", "<= 6");
    ratio("frame vs QPainter, no flakes", "BM_PainterFrame/0", "BM_PainterFrame_QPainter/0", "");
    ratio("frame vs cairo, no flakes", "BM_PainterFrame/0", "BM_PainterFrame_Cairo/0", "");
    ratio("frame vs three picture fills, no flakes", "BM_PainterFrame/0", "BM_PictureFill/3", "");
    if (t("BM_LoggedFrame/500") > 0)
        std::printf("| logged frame, 500 flakes | BM_LoggedFrame/500 | %.2f ms | < 50 ms |\n",
                    t("BM_LoggedFrame/500") * 1e3);
    if (auto it = r.rate.find("BM_Playback"); it != r.rate.end())
        std::printf("| playback | BM_Playback | %.0f events/s | |\n", it->second);
}

std::string write_playback_script() {
    char path[] = "/tmp/zemka-bench-XXXXXX.scr";
    const int fd = mkstemps(path, 4);
    if (fd < 0) return {};
    std::FILE *f = fdopen(fd, "w");
    for (int i = 0; i < PLAYBACK_LINES; ++i) {
        switch (i % 3) {
            case 0: std::fprintf(f, "ZEMKA_MOUSE(%d, %d);\n", i % 600 - 300, 250 - i % 500); break;
            case 1: std::fprintf(f, "ZEMKA_KBD(%d);\n", 'a' + i % 26); break;
            default: std::fprintf(f, "ZEMKA_PERIODIC(1);\n"); break;
        }
    }
    std::fclose(f);
    return path;
}

}  // namespace

int main(int argc, char **argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    benchmark::Initialize(&argc, argv);

    ZEMKA_start(nullptr, nullptr, "", 1);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    // The console surface of the logged frame: 1024 x 256, as if the user
    // had dragged the text window to that size (a screen may be smaller
    // than the window would be), and the window has heard of it.
    zemka::platform::report_resized(zemka::text_window, TEXT_W, TEXT_H);
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
    for (zemka::platform::Msg msg; zemka::platform::peek_message(&msg);) zemka::platform::dispatch_message(msg);

    for (int glyphs : {0, 500}) {
        Frame f{bench::painter_with_glyphs(glyphs), {}};
        f.list = bench::record_frame(f.state);
        if (!bench::verify_frame(f.state, f.list)) {
            std::fprintf(stderr, "zemka-bench: the recorded list does not redraw the frame with %d flakes\n", glyphs);
            return 1;
        }
        std::fprintf(stderr, "frame with %d flakes: %zu primitives\n", glyphs, f.list.size());
        frames[glyphs] = std::move(f);
    }
    playback_script = write_playback_script();
    if (playback_script.empty()) {
        std::fprintf(stderr, "zemka-bench: cannot write the playback script\n");
        return 1;
    }

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    print_ratios(reporter);
    std::remove(playback_script.c_str());
    benchmark::Shutdown();
    if (reporter.errors > 0) {
        std::fprintf(stderr, "zemka-bench: %d benchmark runs reported an error\n", reporter.errors);
        return 1;
    }
    return 0;
}
