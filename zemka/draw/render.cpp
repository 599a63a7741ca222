// The renderer: one primitive record onto the canvas, through the
// platform's drawing context in the create / select / draw / reselect /
// delete pattern, so the context is back at its defaults afterwards.
#include <algorithm>
#include <cstring>

#include "zemka/draw/canvas_size.h"
#include "zemka/draw/palette.h"
#include "zemka/draw/primitive.h"
#include "zemka/state.h"

namespace zemka {

using namespace platform;

namespace {

// The drawing entries put points at most an int plus or minus an int from
// the origin. A record with a point further out (no entry builds one) is
// drawn with that coordinate taken as this limit, so the device coordinates
// and the rasterizer's arithmetic stay in range.
constexpr std::int64_t POINT_LIMIT = std::int64_t{1} << 33;
std::int64_t limited(std::int64_t v) { return std::clamp(v, -POINT_LIMIT, POINT_LIMIT); }

std::int64_t device_x(std::int64_t x) { return centre_x + limited(x); }
std::int64_t device_y(std::int64_t y) { return centre_y - limited(y); }

// Hollow brush for an outline, a solid one of the colour for a fill.
gdi::Handle figure_brush(int width, gdi::ColorRef c) {
    return width != 0 ? gdi::stock_object(gdi::Stock::NullBrush) : gdi::create_solid_brush(c);
}

void render_triangle(const PrimitiveRecord &r, gdi::ColorRef c) {
    gdi::Handle pen = gdi::create_pen(r.width, c);
    gdi::Handle old_pen = gdi::select_object(canvas_dc, pen);
    const raster::Point64 points[3] = {
        {device_x(r.x1), device_y(r.y1)}, {device_x(r.x2), device_y(r.y2)}, {device_x(r.x3), device_y(r.y3)}};
    gdi::Handle brush = figure_brush(r.width, c);
    gdi::Handle old_brush = gdi::select_object(canvas_dc, brush);
    gdi::polygon(canvas_dc, points, 3);
    gdi::select_object(canvas_dc, old_pen);
    gdi::select_object(canvas_dc, old_brush);
    gdi::delete_object(pen);
    gdi::delete_object(brush);
}

void render_box(const PrimitiveRecord &r, gdi::ColorRef c, bool oval) {
    gdi::Handle pen = gdi::create_pen(r.width, c);
    gdi::Handle brush = figure_brush(r.width, c);
    gdi::Handle old_pen = gdi::select_object(canvas_dc, pen);
    gdi::Handle old_brush = gdi::select_object(canvas_dc, brush);
    // The +1 makes the figure cover the inclusive box from corner 1 to 2.
    const std::int64_t left = device_x(r.x1), top = device_y(r.y1);
    const std::int64_t right = device_x(r.x2) + 1, bottom = device_y(r.y2) + 1;
    if (oval)
        gdi::ellipse(canvas_dc, left, top, right, bottom);
    else
        gdi::rectangle(canvas_dc, left, top, right, bottom);
    gdi::select_object(canvas_dc, old_pen);
    gdi::select_object(canvas_dc, old_brush);
    gdi::delete_object(pen);
    gdi::delete_object(brush);
}

void render_line(const PrimitiveRecord &r, gdi::ColorRef c) {
    gdi::Handle pen = gdi::create_pen(r.width, c);
    gdi::Handle old_pen = gdi::select_object(canvas_dc, pen);
    gdi::move_to(canvas_dc, device_x(r.x1), device_y(r.y1));
    gdi::line_to(canvas_dc, device_x(r.x2), device_y(r.y2));
    gdi::select_object(canvas_dc, old_pen);
    gdi::delete_object(pen);
}

// Lines of the text separated by line feeds; the anchor is the lower-left
// corner of the first line, every further line h rows lower.
void render_text(const PrimitiveRecord &r, gdi::ColorRef c) {
    gdi::set_text_color(canvas_dc, c);
    const int old_mode = gdi::get_bk_mode(canvas_dc);
    gdi::set_bk_mode(canvas_dc, gdi::TRANSPARENT);
    // The text entry keeps ptsize within 0..127; a record with another
    // value (no entry builds one) takes the nearest of the two.
    const int ptsize = static_cast<int>(std::clamp<std::int64_t>(r.x2, 0, 127));
    gdi::Handle font = gdi::create_font(-ptsize, 400, "ZEMKA-font");
    gdi::Handle old_font = gdi::select_object(canvas_dc, font);
    const auto handle = static_cast<gdi::MemHandle>(r.y2);
    if (const char *text = static_cast<const char *>(gdi::global_lock(handle))) {
        const std::size_t n = std::strlen(text);
        const std::int64_t h = gdi::get_text_extent(canvas_dc, text, n).cy;
        std::size_t p = 0;
        for (std::int64_t i = 0;; ++i) {
            const char *feed = static_cast<const char *>(std::memchr(text + p, '\n', n - p));
            const std::size_t k = feed ? static_cast<std::size_t>(feed - (text + p)) : n - p;
            // Rows past the canvas cannot show anything; stop there.
            const std::int64_t y = device_y(r.y1) + (i - 1) * h;
            if (y >= CANVAS_HEIGHT) break;
            gdi::text_out(canvas_dc, device_x(r.x1), y, text + p, k);
            if (p + k >= n) break;
            p += k + 1;
        }
        gdi::global_unlock(handle);
    }
    gdi::set_bk_mode(canvas_dc, old_mode);
    gdi::select_object(canvas_dc, old_font);
    gdi::delete_object(font);
}

}  // namespace

void render_primitive(const PrimitiveRecord &r) {
    const bool valid_color = r.color >= 0 && r.color < PALETTE_SIZE;
    if (canvas_dc && valid_color) {
        const gdi::ColorRef c = palette[r.color];
        switch (r.kind) {
            case PRIM_TRIANGLE: render_triangle(r, c); break;
            case PRIM_RECTANGLE: render_box(r, c, false); break;
            case PRIM_OVAL: render_box(r, c, true); break;
            case PRIM_LINE: render_line(r, c); break;
            case PRIM_PIXEL: gdi::set_pixel(canvas_dc, device_x(r.x1), device_y(r.y1), c); break;
            case PRIM_TEXT: render_text(r, c); break;
            default: break;  // an unknown kind draws nothing
        }
    }
    canvas_dirty = 1;
}

void fill_canvas() {
    if (canvas_dc) {
        gdi::Handle brush = gdi::create_solid_brush(palette[BACKGROUND_COLOR]);
        gdi::Handle old_brush = gdi::select_object(canvas_dc, brush);
        gdi::rectangle(canvas_dc, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
        gdi::select_object(canvas_dc, old_brush);
        gdi::delete_object(brush);
    }
    canvas_dirty = 1;
}

}  // namespace zemka
