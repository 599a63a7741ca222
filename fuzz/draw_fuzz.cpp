// Drives the drawing entries with arbitrary arguments (colours, points,
// widths, radii, point sizes and texts, every int included) and the
// renderer with arbitrary primitive records, kind included, on a canvas
// like the library's, with text through the toolkit's font engine.
//
// Input: one byte for the logging flag, then calls, each an entry number
// followed by its arguments, at most MAX_CALLS of them.
//
// Properties checked on every call:
// - the result: 1, or the formatted length for the formatted-text entries;
// - the console lines: exactly one per correction, plus the log line while
//   logging is on; each at most 1,023 bytes, ending with a newline unless
//   it was cut to that length (up to 3 bytes less when the cut would
//   split a UTF-8 character);
// - canvas_dirty is set;
// - a figure whose box (widened by its pen) lies wholly outside the canvas,
//   an unknown kind and a record with an invalid colour leave every pixel
//   as it was;
// - a pixel on the canvas, the corners of a filled rectangle on the canvas,
//   the centre of a filled circle and the start of a line get the colour;
// - clearing paints white with a black frame, so every primitive before it
//   gave the canvas its default pen back.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/qt_support.h"
#include "zemka/console/console.h"
#include "zemka/draw/palette.h"
#include "zemka/draw/primitive.h"
#include "zemka/raster/gdi.h"
#include "zemka/state.h"
#include "zemka/zemka.h"

namespace {

using namespace zemka;

constexpr int MAX_CALLS = 48;
constexpr std::int64_t CANVAS_W = 601, CANVAS_H = 540;

int lines_seen = 0;

void count_line(const char *text, std::size_t length, void *) {
    FUZZ_CHECK(length == std::strlen(text));
    FUZZ_CHECK(length <= 1023);
    FUZZ_CHECK(length >= 1020 || (length > 0 && text[length - 1] == '\n'));
    ++lines_seen;
}

int any_int(FuzzedDataProvider &in, int near) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return in.ConsumeIntegral<int>();
    case 1: return in.PickValueInArray({INT_MIN, INT_MIN + 1, -near - 1, -1, 0, 1, near, INT_MAX - 1, INT_MAX});
    default: return in.ConsumeIntegralInRange(-near, near);
    }
}
int coordinate(FuzzedDataProvider &in) { return any_int(in, 700); }
int width_arg(FuzzedDataProvider &in) { return any_int(in, 40); }
int color_arg(FuzzedDataProvider &in) { return any_int(in, 26); }
int ptsize_arg(FuzzedDataProvider &in) { return any_int(in, 300); }
std::string text_arg(FuzzedDataProvider &in) { return in.ConsumeRandomLengthString(1200); }

bool bad_color(int color) { return color < 0 || color >= PALETTE_SIZE; }
int used_color(int color) { return bad_color(color) ? FALLBACK_COLOR : color; }
std::uint32_t pixel_value(int color) { return gdi::pixel_of(palette[used_color(color)]); }
int magnitude(int v) { return v == INT_MIN ? INT_MAX : (v < 0 ? -v : v); }

std::int64_t dev_x(std::int64_t x) { return centre_x + x; }
std::int64_t dev_y(std::int64_t y) { return centre_y - y; }
bool on_canvas(std::int64_t x, std::int64_t y) { return x >= 0 && x < CANVAS_W && y >= 0 && y < CANVAS_H; }

// Whether a box of logical points, widened by pad pixels on every side,
// lies wholly outside the canvas.
bool outside(std::int64_t min_x, std::int64_t max_x, std::int64_t min_y, std::int64_t max_y, std::int64_t pad) {
    const std::int64_t left = dev_x(min_x) - pad, right = dev_x(max_x) + pad;
    const std::int64_t top = dev_y(max_y) - pad, bottom = dev_y(min_y) + pad;
    return right < 0 || left >= CANVAS_W || bottom < 0 || top >= CANVAS_H;
}

// Canvas copies, kept for the whole run so that taking one does not
// allocate.
std::vector<std::uint32_t> pixels_before, pixels_after;

// One call's expectations, checked after it.
struct Expect {
    int lines = 0;
    bool unchanged = false;  // the canvas must not change
    void keep_canvas_if(bool condition) {
        unchanged = condition;
        if (unchanged) fuzz::canvas_pixels(pixels_before);
    }
};

int corrections_text(int ptsize, int color) {
    int n = 0;
    if (ptsize < 0) ++n;
    if (magnitude(ptsize) > 127) ++n;
    return n + bad_color(color);
}

void check_cleared() {
    std::vector<std::uint32_t> &px = pixels_after;
    fuzz::canvas_pixels(px);
    for (std::int64_t y = 0; y < CANVAS_H; ++y)
        for (std::int64_t x = 0; x < CANVAS_W; ++x) {
            const bool frame = x == 0 || y == 0 || x == CANVAS_W - 1 || y == CANVAS_H - 1;
            FUZZ_CHECK(px[static_cast<std::size_t>(y * CANVAS_W + x)] == (frame ? 0xff000000u : 0xffffffffu));
        }
}

// A record as no entry builds it: any kind, colour, width and points; for
// text the point size and a handle that is real or made up.
void render_any_record(FuzzedDataProvider &in, Expect &e) {
    PrimitiveRecord r;
    r.kind = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(-2, 7);
    r.color = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(-2, 25);
    r.width = width_arg(in);
    std::int64_t *points[] = {&r.x1, &r.y1, &r.x2, &r.y2, &r.x3, &r.y3};
    for (std::int64_t *p : points)
        *p = in.ConsumeBool() ? in.ConsumeIntegral<std::int64_t>() : in.ConsumeIntegralInRange<std::int64_t>(-800, 800);
    gdi::MemHandle block = 0;
    if (r.kind == PRIM_TEXT && in.ConsumeBool()) {
        const std::string text = text_arg(in);
        block = gdi::global_alloc(text.size() + 1);
        if (char *copy = static_cast<char *>(gdi::global_lock(block))) {
            std::memcpy(copy, text.c_str(), text.size() + 1);
            gdi::global_unlock(block);
        }
        r.y2 = static_cast<std::int64_t>(block);
    }
    e.keep_canvas_if(r.kind < PRIM_TRIANGLE || r.kind > PRIM_TEXT || bad_color(r.color));
    render_primitive(r);
    gdi::global_free(block);
}

void one_call(FuzzedDataProvider &in) {
    Expect e;
    const int log = logging ? 1 : 0;
    int result = 0, want_result = 1;
    canvas_dirty = 0;
    const int lines_before = lines_seen;
    bool dirty_expected = true;
    const int entry = in.ConsumeIntegralInRange(0, 18);
    switch (entry) {
    case 0:
    case 1: {  // pixel
        const int color = color_arg(in), x = coordinate(in), y = coordinate(in);
        e.lines = bad_color(color) + log;
        e.keep_canvas_if(!on_canvas(dev_x(x), dev_y(y)));
        result = entry == 0 ? ZEMKA_draw_pixel(color, x, y) : ZEMKA_draw_pixel_pt(color, Point{x, y});
        if (on_canvas(dev_x(x), dev_y(y)))
            FUZZ_CHECK(fuzz::canvas_pixel(static_cast<int>(dev_x(x)), static_cast<int>(dev_y(y))) == pixel_value(color));
        break;
    }
    case 2:
    case 3: {  // circle, always filled
        const int color = color_arg(in), x = coordinate(in), y = coordinate(in), r = any_int(in, 300);
        const std::int64_t m = magnitude(r);
        e.lines = bad_color(color) + (r < 0) + log;
        e.keep_canvas_if(outside(std::int64_t{x} - m, std::int64_t{x} + m, std::int64_t{y} - m, std::int64_t{y} + m, 2));
        result = entry == 2 ? ZEMKA_draw_circle(color, x, y, r) : ZEMKA_draw_circle_pt(color, Point{x, y}, r);
        if (m >= 2 && on_canvas(dev_x(x), dev_y(y)))
            FUZZ_CHECK(fuzz::canvas_pixel(static_cast<int>(dev_x(x)), static_cast<int>(dev_y(y))) == pixel_value(color));
        break;
    }
    case 4:
    case 5: {  // triangle
        const int color = color_arg(in);
        const Point p1{coordinate(in), coordinate(in)}, p2{coordinate(in), coordinate(in)},
            p3{coordinate(in), coordinate(in)};
        const int w = width_arg(in);
        e.lines = bad_color(color) + (w < 0) + log;
        e.keep_canvas_if(outside(std::min({p1.x, p2.x, p3.x}), std::max({p1.x, p2.x, p3.x}),
                                 std::min({p1.y, p2.y, p3.y}), std::max({p1.y, p2.y, p3.y}), std::int64_t{magnitude(w)} + 2));
        result = entry == 4 ? ZEMKA_draw_triangle(color, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, w)
                            : ZEMKA_draw_triangle_pt(color, p1, p2, p3, w);
        break;
    }
    case 6:
    case 7:
    case 8:
    case 9: {  // rectangle and oval
        const bool oval = entry >= 8;
        const int color = color_arg(in);
        const Point a{coordinate(in), coordinate(in)}, b{coordinate(in), coordinate(in)};
        const int w = width_arg(in);
        e.lines = bad_color(color) + (w < 0) + log;
        e.keep_canvas_if(outside(std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y),
                                 std::int64_t{magnitude(w)} + 2));
        if (!oval)
            result = entry == 6 ? ZEMKA_draw_rectangle(color, a.x, a.y, b.x, b.y, w)
                                : ZEMKA_draw_rectangle_pt(color, a, b, w);
        else
            result = entry == 8 ? ZEMKA_draw_oval(color, a.x, a.y, b.x, b.y, w) : ZEMKA_draw_oval_pt(color, a, b, w);
        if (!oval && w == 0) {
            // A filled rectangle covers both of its corners.
            const std::int64_t corners[2][2] = {{dev_x(a.x), dev_y(a.y)}, {dev_x(b.x), dev_y(b.y)}};
            for (const auto &c : corners)
                if (on_canvas(c[0], c[1]))
                    FUZZ_CHECK(fuzz::canvas_pixel(static_cast<int>(c[0]), static_cast<int>(c[1])) == pixel_value(color));
        }
        break;
    }
    case 10:
    case 11: {  // line
        const int color = color_arg(in);
        const Point a{coordinate(in), coordinate(in)}, b{coordinate(in), coordinate(in)};
        const int w = width_arg(in);
        e.lines = bad_color(color) + (w < 0) + log;
        e.keep_canvas_if(outside(std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y),
                                 std::int64_t{magnitude(w)} + 2));
        result = entry == 10 ? ZEMKA_draw_line(color, a.x, a.y, b.x, b.y, w) : ZEMKA_draw_line_pt(color, a, b, w);
        // The start point of a line of some length is painted.
        if ((a.x != b.x || a.y != b.y) && on_canvas(dev_x(a.x), dev_y(a.y)))
            FUZZ_CHECK(fuzz::canvas_pixel(static_cast<int>(dev_x(a.x)), static_cast<int>(dev_y(a.y))) ==
                       pixel_value(color));
        break;
    }
    case 12:
    case 13: {  // text
        const int color = color_arg(in), x = coordinate(in), y = coordinate(in), ptsize = ptsize_arg(in);
        const std::string text = text_arg(in);
        e.lines = corrections_text(ptsize, color) + log;
        result = entry == 12 ? ZEMKA_draw_text(color, x, y, ptsize, text.c_str())
                             : ZEMKA_draw_text_pt(color, Point{x, y}, ptsize, text.c_str());
        break;
    }
    case 14:
    case 15: {  // formatted text, with formats whose arguments are known
        const int color = color_arg(in), x = coordinate(in), y = coordinate(in), ptsize = ptsize_arg(in);
        const std::string text = text_arg(in);
        const int n = any_int(in, 1100);
        const bool pt = entry == 15;
        e.lines = corrections_text(ptsize, color) + log;
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            want_result = std::snprintf(nullptr, 0, "%s", text.c_str());
            result = pt ? ZEMKA_draw_textf_pt(color, Point{x, y}, ptsize, "%s", text.c_str())
                        : ZEMKA_draw_textf(color, x, y, ptsize, "%s", text.c_str());
            break;
        case 1:
            want_result = std::snprintf(nullptr, 0, "%d\n%s", n, text.c_str());
            result = pt ? ZEMKA_draw_textf_pt(color, Point{x, y}, ptsize, "%d\n%s", n, text.c_str())
                        : ZEMKA_draw_textf(color, x, y, ptsize, "%d\n%s", n, text.c_str());
            break;
        case 2:
            want_result = std::snprintf(nullptr, 0, "%.*s", n, text.c_str());
            result = pt ? ZEMKA_draw_textf_pt(color, Point{x, y}, ptsize, "%.*s", n, text.c_str())
                        : ZEMKA_draw_textf(color, x, y, ptsize, "%.*s", n, text.c_str());
            break;
        default: {
            const char c = static_cast<char>(n);
            want_result = std::snprintf(nullptr, 0, "%c%s", c, text.c_str());
            result = pt ? ZEMKA_draw_textf_pt(color, Point{x, y}, ptsize, "%c%s", c, text.c_str())
                        : ZEMKA_draw_textf(color, x, y, ptsize, "%c%s", c, text.c_str());
            break;
        }
        }
        break;
    }
    case 16:  // clear
        e.lines = log;
        result = ZEMKA_clear_canvas();
        check_cleared();
        break;
    case 17:  // undo: a line, no drawing
        e.lines = 1;
        e.keep_canvas_if(true);
        dirty_expected = false;
        result = ZEMKA_undo();
        break;
    default:
        render_any_record(in, e);
        result = want_result = 1;
        break;
    }
    FUZZ_CHECK(result == want_result);
    FUZZ_CHECK(lines_seen - lines_before == e.lines);
    FUZZ_CHECK(canvas_dirty == (dirty_expected ? 1 : 0));
    if (e.unchanged) {
        fuzz::canvas_pixels(pixels_after);
        FUZZ_CHECK(pixels_after == pixels_before);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    fuzz::start_offscreen_toolkit();
    fuzz::make_canvas();
    console::set_line_tap(count_line, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    logging = in.ConsumeBool() ? 1 : 0;
    for (int calls = 0; calls < MAX_CALLS && in.remaining_bytes() > 0; ++calls) one_call(in);
    return 0;
}
