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
Handle figure_brush(int width, ColorRef c) {
    return width != 0 ? stock_object(Stock::NullBrush) : create_solid_brush(c);
}

void render_triangle(const PrimitiveRecord &r, ColorRef c) {
    Handle pen = create_pen(r.width, c);
    Handle old_pen = select_object(canvas_dc, pen);
    const raster::Point64 points[3] = {
        {device_x(r.x1), device_y(r.y1)}, {device_x(r.x2), device_y(r.y2)}, {device_x(r.x3), device_y(r.y3)}};
    Handle brush = figure_brush(r.width, c);
    Handle old_brush = select_object(canvas_dc, brush);
    polygon(canvas_dc, points, 3);
    select_object(canvas_dc, old_pen);
    select_object(canvas_dc, old_brush);
    delete_object(pen);
    delete_object(brush);
}

void render_box(const PrimitiveRecord &r, ColorRef c, bool oval) {
    Handle pen = create_pen(r.width, c);
    Handle brush = figure_brush(r.width, c);
    Handle old_pen = select_object(canvas_dc, pen);
    Handle old_brush = select_object(canvas_dc, brush);
    // The +1 makes the figure cover the inclusive box from corner 1 to 2.
    const std::int64_t left = device_x(r.x1), top = device_y(r.y1);
    const std::int64_t right = device_x(r.x2) + 1, bottom = device_y(r.y2) + 1;
    if (oval)
        ellipse(canvas_dc, left, top, right, bottom);
    else
        rectangle(canvas_dc, left, top, right, bottom);
    select_object(canvas_dc, old_pen);
    select_object(canvas_dc, old_brush);
    delete_object(pen);
    delete_object(brush);
}

void render_line(const PrimitiveRecord &r, ColorRef c) {
    Handle pen = create_pen(r.width, c);
    Handle old_pen = select_object(canvas_dc, pen);
    move_to(canvas_dc, device_x(r.x1), device_y(r.y1));
    line_to(canvas_dc, device_x(r.x2), device_y(r.y2));
    select_object(canvas_dc, old_pen);
    delete_object(pen);
}

// Lines of the text separated by line feeds; the anchor is the lower-left
// corner of the first line, every further line h rows lower.
void render_text(const PrimitiveRecord &r, ColorRef c) {
    set_text_color(canvas_dc, c);
    const int old_mode = get_bk_mode(canvas_dc);
    set_bk_mode(canvas_dc, TRANSPARENT);
    // The text entry keeps ptsize within 0..127; a record with another
    // value (no entry builds one) takes the nearest of the two.
    const int ptsize = static_cast<int>(std::clamp<std::int64_t>(r.x2, 0, 127));
    Handle font = create_font(-ptsize, 400, "ZEMKA-font");
    Handle old_font = select_object(canvas_dc, font);
    const auto handle = static_cast<MemHandle>(r.y2);
    if (const char *text = static_cast<const char *>(global_lock(handle))) {
        const std::size_t n = std::strlen(text);
        const std::int64_t h = get_text_extent(canvas_dc, text, n).cy;
        std::size_t p = 0;
        for (std::int64_t i = 0;; ++i) {
            const char *feed = static_cast<const char *>(std::memchr(text + p, '\n', n - p));
            const std::size_t k = feed ? static_cast<std::size_t>(feed - (text + p)) : n - p;
            // Rows past the canvas cannot show anything; stop there.
            const std::int64_t y = device_y(r.y1) + (i - 1) * h;
            if (y >= CANVAS_HEIGHT) break;
            text_out(canvas_dc, device_x(r.x1), y, text + p, k);
            if (p + k >= n) break;
            p += k + 1;
        }
        global_unlock(handle);
    }
    set_bk_mode(canvas_dc, old_mode);
    select_object(canvas_dc, old_font);
    delete_object(font);
}

}  // namespace

void render_primitive(const PrimitiveRecord &r) {
    const bool valid_color = r.color >= 0 && r.color < PALETTE_SIZE;
    if (canvas_dc && valid_color) {
        const ColorRef c = palette[r.color];
        switch (r.kind) {
            case PRIM_TRIANGLE: render_triangle(r, c); break;
            case PRIM_RECTANGLE: render_box(r, c, false); break;
            case PRIM_OVAL: render_box(r, c, true); break;
            case PRIM_LINE: render_line(r, c); break;
            case PRIM_PIXEL: set_pixel(canvas_dc, device_x(r.x1), device_y(r.y1), c); break;
            case PRIM_TEXT: render_text(r, c); break;
            default: break;  // an unknown kind draws nothing
        }
    }
    canvas_dirty = 1;
}

void fill_canvas() {
    if (canvas_dc) {
        Handle brush = create_solid_brush(palette[BACKGROUND_COLOR]);
        Handle old_brush = select_object(canvas_dc, brush);
        rectangle(canvas_dc, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
        select_object(canvas_dc, old_brush);
        delete_object(brush);
    }
    canvas_dirty = 1;
}

}  // namespace zemka
