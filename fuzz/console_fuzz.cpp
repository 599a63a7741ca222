// Drives the console with arbitrary texts: formatted output through
// ZEMKA_console_printf("%s", ...), repaints of the text window (called
// directly and through the real paint message), failed allocations of a
// ring block, hiding and showing the text window. The library is started
// on the offscreen platform, so every line is drawn into a real text
// window.
//
// A model of the ring (the last 25 stored lines) is kept beside the
// library's. Properties checked after every operation:
// - the result is the full formatted length;
// - the ring holds exactly the model's lines, oldest at log_head, each the
//   formatted text up to its first zero byte and at most 1,023 bytes, cut
//   where a character ends;
//   a repaint takes one trailing newline off each stored line; a line
//   whose block cannot be allocated leaves the ring as it was;
// - a new line, stored or not, moves the text window's pixels up by one
//   line height.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "fuzz/qt_support.h"
#include "zemka/console/console.h"
#include "zemka/platform/windowing.h"
#include "zemka/raster/gdi.h"
#include "zemka/support/utf8.h"
#include "zemka/window/library_windows.h"
#include "zemka/window/window_procs.h"
#include "zemka/zemka.h"

namespace {

using namespace zemka;

constexpr int MAX_OPERATIONS = 32;
constexpr std::size_t LINE_LIMIT = 1023;

std::deque<std::string> model;  // stored lines, oldest first

void store_in_model(const std::string &formatted) {
    std::string line = formatted.substr(0, std::strlen(formatted.c_str()));
    line.resize(support::utf8_prefix_length(line.data(), line.size(), LINE_LIMIT));
    if (model.size() == console::RING_SIZE) model.pop_front();
    model.push_back(line);
}

void check_ring() {
    using console::log_head;
    using console::log_next;
    FUZZ_CHECK(log_next >= 0 && log_next < console::RING_SIZE);
    if (model.empty()) {
        FUZZ_CHECK(log_head == -1 && log_next == 0);
        return;
    }
    FUZZ_CHECK(log_head >= 0 && log_head < console::RING_SIZE);
    const int size = static_cast<int>(model.size());
    FUZZ_CHECK(log_next == (log_head + size) % console::RING_SIZE);
    for (int i = 0; i < size; ++i) {
        const char *text = console::slot_text((log_head + i) % console::RING_SIZE);
        FUZZ_CHECK(text != nullptr);
        FUZZ_CHECK(model[static_cast<std::size_t>(i)] == text);
    }
}

// The text window's pixels, row by row. The two views are kept for the
// whole run, so taking one does not allocate.
struct TextWindowView {
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
};
TextWindowView view_before, view_after;
void take_view(TextWindowView &v) {
    v.pixels.clear();
    v.width = v.height = 0;
    gdi::Dc *dc = platform::get_dc(text_window());
    if (!dc) return;
    const raster::Pixmap pm = gdi::dc_pixmap(dc);
    v.width = pm.width;
    v.height = pm.height;
    v.pixels.resize(static_cast<std::size_t>(pm.width) * pm.height);
    for (int y = 0; y < pm.height; ++y)
        std::memcpy(&v.pixels[static_cast<std::size_t>(y) * pm.width], pm.pixels + static_cast<std::size_t>(y) * pm.stride,
                    static_cast<std::size_t>(pm.width) * sizeof(std::uint32_t));
    platform::release_dc(text_window(), dc);
}
int line_height() {
    gdi::Dc *dc = platform::get_dc(text_window());
    if (!dc) return 0;
    gdi::Handle old = gdi::select_object(dc, gdi::stock_object(gdi::Stock::FixedFont));
    const gdi::TextMetrics tm = gdi::get_text_metrics(dc);
    gdi::select_object(dc, old);
    platform::release_dc(text_window(), dc);
    return tm.height + tm.external_leading;
}

// Rows that stay clear of the new line and the strip above it must be the
// old rows one line height further down.
void check_scrolled(const TextWindowView &before, const TextWindowView &after, int h) {
    if (before.pixels.empty() || before.width != after.width || before.height != after.height) return;
    const auto w = static_cast<std::size_t>(before.width);
    for (int y = 0; y + 2 * h < before.height; ++y)
        FUZZ_CHECK(std::memcmp(&after.pixels[static_cast<std::size_t>(y) * w],
                               &before.pixels[static_cast<std::size_t>(y + h) * w], w * sizeof(std::uint32_t)) == 0);
}

void print(FuzzedDataProvider &in) {
    const std::string text = in.ConsumeRandomLengthString(3000);
    take_view(view_before);
    int result = 0;
    std::string formatted;
    if (in.ConsumeBool()) {
        result = ZEMKA_console_printf("%s", text.c_str());
        formatted = text.c_str();
    } else {
        // A character in the middle, the zero byte included.
        const char c = static_cast<char>(in.ConsumeIntegral<std::uint8_t>());
        const std::string tail = in.ConsumeRandomLengthString(200);
        result = ZEMKA_console_printf("%s%c%s", text.c_str(), c, tail.c_str());
        formatted = std::string(text.c_str()) + c + tail.c_str();
    }
    FUZZ_CHECK(result == static_cast<int>(formatted.size()));
    store_in_model(formatted);
    take_view(view_after);
    check_scrolled(view_before, view_after, line_height());
}

void print_without_memory(FuzzedDataProvider &in) {
    const std::string text = in.ConsumeRandomLengthString(300);
    take_view(view_before);
    gdi::fail_next_global_allocs(1);
    FUZZ_CHECK(ZEMKA_console_printf("%s", text.c_str()) == static_cast<int>(std::strlen(text.c_str())));
    gdi::fail_next_global_allocs(0);
    // Not stored, but drawn all the same.
    take_view(view_after);
    check_scrolled(view_before, view_after, line_height());
}

void repainted_in_model() {
    for (std::string &line : model)
        if (!line.empty() && line.back() == '\n') line.pop_back();
}

// Takes every queued message as the wait's pump does, paint messages of
// the text window included.
void pump() {
    platform::post_message(text_window(), platform::WM_PAINT, 0, 0);
    platform::Msg msg;
    for (int i = 0; i < 64 && platform::peek_message(&msg); ++i) {
        if (msg.message == platform::WM_QUIT) continue;
        platform::translate_message(msg);
        platform::dispatch_message(msg);
        // Every paint message repaints (a resize brings one of its own).
        if (msg.window == text_window() && msg.message == platform::WM_PAINT) repainted_in_model();
    }
}

void draw_line_directly(FuzzedDataProvider &in) {
    std::string text = in.ConsumeRandomLengthString(1500);
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    const std::size_t length = std::strlen(buffer.data());
    console::console_draw_line(buffer.data());
    // Exactly one trailing newline goes.
    const bool had_newline = length > 0 && buffer.data()[length - 1] == '\0';
    FUZZ_CHECK(std::strlen(buffer.data()) == length - (had_newline ? 1 : 0));
    if (had_newline) FUZZ_CHECK(text[length - 1] == '\n');
    else FUZZ_CHECK(length == 0 || text[length - 1] != '\n');
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    fuzz::start_offscreen_toolkit();
    FUZZ_CHECK(ZEMKA_start(nullptr, nullptr, "", 1) == 1);
    FUZZ_CHECK(platform::window_alive(text_window()));
    check_ring();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    for (int ops = 0; ops < MAX_OPERATIONS && in.remaining_bytes() > 0; ++ops) {
        switch (in.ConsumeIntegralInRange(0, 9)) {
        case 5:
            console::repaint();
            repainted_in_model();
            break;
        case 6: print_without_memory(in); break;
        case 7: pump(); break;
        case 8: show_text_window(in.ConsumeBool()); break;
        case 9: draw_line_directly(in); break;
        default: print(in); break;
        }
        check_ring();
    }
    return 0;
}
