// The drawing entries. The coordinate forms only pack their points; the
// point forms check, log and render.
#include <cstdarg>
#include <cstring>
#include <utility>

#include "zemka/console/format_text.h"
#include "zemka/draw/corrections.h"
#include "zemka/draw/palette.h"
#include "zemka/draw/primitive.h"
#include "zemka/state.h"

using namespace zemka;

namespace {

// Corners reordered so that (x1, y1) is the upper-left and (x2, y2) the
// lower-right corner in logical coordinates (y upwards).
void order_corners(Point &a, Point &b) {
    if (a.x > b.x) std::swap(a.x, b.x);
    if (a.y < b.y) std::swap(a.y, b.y);
}

PrimitiveRecord box_record(int kind, int color, int width, Point a, Point b) {
    PrimitiveRecord r;
    r.kind = kind;
    r.color = color;
    r.width = width;
    r.x1 = a.x;
    r.y1 = a.y;
    r.x2 = b.x;
    r.y2 = b.y;
    return r;
}

}  // namespace

extern "C" {

int ZEMKA_draw_pixel_pt(int color, Point p) {
    color = check_color(color);
    if (logging) ZEMKA_console_printf("%s pixel at (%d,%d)\n", color_names[color], p.x, p.y);
    PrimitiveRecord r;
    r.kind = PRIM_PIXEL;
    r.color = color;
    r.x1 = p.x;
    r.y1 = p.y;
    render_primitive(r);
    return 1;
}

int ZEMKA_draw_circle_pt(int color, Point c, int radius) {
    color = check_color(color);
    radius = fix_radius(radius);
    if (logging) ZEMKA_console_printf("%s circle at (%d,%d), radius %d\n", color_names[color], c.x, c.y, radius);
    PrimitiveRecord r;
    r.kind = PRIM_OVAL;
    r.color = color;
    r.width = 0;
    r.x1 = std::int64_t{c.x} - radius;
    r.y1 = std::int64_t{c.y} + radius;
    r.x2 = std::int64_t{c.x} + radius;
    r.y2 = std::int64_t{c.y} - radius;
    render_primitive(r);
    return 1;
}

int ZEMKA_draw_triangle_pt(int color, Point p1, Point p2, Point p3, int width) {
    color = check_color(color);
    width = fix_width(width);
    if (logging)
        ZEMKA_console_printf("%s triangle at (%d,%d), (%d,%d), (%d,%d)\n", color_names[color], p1.x, p1.y, p2.x, p2.y,
                             p3.x, p3.y);
    PrimitiveRecord r = box_record(PRIM_TRIANGLE, color, width, p1, p2);
    r.x3 = p3.x;
    r.y3 = p3.y;
    render_primitive(r);
    return 1;
}

int ZEMKA_draw_rectangle_pt(int color, Point a, Point b, int width) {
    order_corners(a, b);
    color = check_color(color);
    width = fix_width(width);
    if (logging) {
        if (width != 0)
            ZEMKA_console_printf("%s rectangle with bounding box (%d,%d) to (%d,%d) with line width %d\n",
                                 color_names[color], a.x, a.y, b.x, b.y, width);
        else
            ZEMKA_console_printf("%s rectangle with bounding box (%d,%d) to (%d,%d), filled\n", color_names[color], a.x,
                                 a.y, b.x, b.y);
    }
    render_primitive(box_record(PRIM_RECTANGLE, color, width, a, b));
    return 1;
}

int ZEMKA_draw_oval_pt(int color, Point a, Point b, int width) {
    order_corners(a, b);
    width = fix_width(width);
    color = check_color(color);
    if (logging) {
        if (width != 0)
            ZEMKA_console_printf("%s oval with bounding box (%d,%d) to (%d,%d), line width %d\n", color_names[color],
                                 a.x, a.y, b.x, b.y, width);
        else
            ZEMKA_console_printf("%s oval with bounding box (%d,%d) to (%d,%d), filled\n", color_names[color], a.x, a.y,
                                 b.x, b.y);
    }
    render_primitive(box_record(PRIM_OVAL, color, width, a, b));
    return 1;
}

int ZEMKA_draw_line_pt(int color, Point start, Point end, int width) {
    width = fix_width(width);
    color = check_color(color);
    if (logging)
        ZEMKA_console_printf("%s line from (%d,%d) to (%d,%d), width %d\n", color_names[color], start.x, start.y, end.x,
                             end.y, width);
    // A width-0 line is drawn one pixel wide.
    render_primitive(box_record(PRIM_LINE, color, width < 1 ? 1 : width, start, end));
    return 1;
}

int ZEMKA_draw_text_pt(int color, Point anchor, int ptsize, const char *text) {
    if (!text) text = "";
    if (ptsize < 0) {
        const int fixed = negate_safely(ptsize);
        ZEMKA_console_printf("ptsize of %d not possible, using ptsize %d\n", ptsize, fixed);
        ptsize = fixed;
    }
    if (ptsize > 127) {
        ZEMKA_console_printf("ptsize of %d not possible, using ptsize %d\n", ptsize, 127);
        ptsize = 127;
    }
    color = check_color(color);
    if (logging) ZEMKA_console_printf("%s text at (%d,%d), \"%s\"\n", color_names[color], anchor.x, anchor.y, text);
    const std::size_t n = std::strlen(text);
    const gdi::MemHandle block = gdi::global_alloc(n + 1);
    // Without a copy there is nothing to render; the call still succeeds.
    if (!block) return 1;
    if (char *copy = static_cast<char *>(gdi::global_lock(block))) {
        std::memcpy(copy, text, n + 1);
        gdi::global_unlock(block);
        PrimitiveRecord r;
        r.kind = PRIM_TEXT;
        r.color = color;
        r.x1 = anchor.x;
        r.y1 = anchor.y;
        r.x2 = ptsize;
        r.y2 = static_cast<std::int64_t>(block);
        render_primitive(r);
    }
    gdi::global_free(block);
    return 1;
}

int ZEMKA_draw_textf_pt(int color, Point anchor, int ptsize, const char *format, ...) {
    FormatBuffer buffer;
    va_list args;
    va_start(args, format);
    const int length = format_text(buffer, format, args);
    va_end(args);
    ZEMKA_draw_text_pt(color, anchor, ptsize, buffer);
    return length;
}

int ZEMKA_draw_textf(int color, int x, int y, int ptsize, const char *format, ...) {
    FormatBuffer buffer;
    va_list args;
    va_start(args, format);
    const int length = format_text(buffer, format, args);
    va_end(args);
    ZEMKA_draw_text(color, x, y, ptsize, buffer);
    return length;
}

int ZEMKA_draw_pixel(int color, int x, int y) { return ZEMKA_draw_pixel_pt(color, Point{x, y}); }
int ZEMKA_draw_circle(int color, int x, int y, int radius) { return ZEMKA_draw_circle_pt(color, Point{x, y}, radius); }
int ZEMKA_draw_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
    return ZEMKA_draw_triangle_pt(color, Point{x1, y1}, Point{x2, y2}, Point{x3, y3}, width);
}
int ZEMKA_draw_rectangle(int color, int x1, int y1, int x2, int y2, int width) {
    return ZEMKA_draw_rectangle_pt(color, Point{x1, y1}, Point{x2, y2}, width);
}
int ZEMKA_draw_oval(int color, int x1, int y1, int x2, int y2, int width) {
    return ZEMKA_draw_oval_pt(color, Point{x1, y1}, Point{x2, y2}, width);
}
int ZEMKA_draw_line(int color, int x1, int y1, int x2, int y2, int width) {
    return ZEMKA_draw_line_pt(color, Point{x1, y1}, Point{x2, y2}, width);
}
int ZEMKA_draw_text(int color, int x, int y, int ptsize, const char *text) {
    return ZEMKA_draw_text_pt(color, Point{x, y}, ptsize, text);
}

int ZEMKA_clear_canvas(void) {
    if (logging) ZEMKA_console_printf("Clearing the graphics window\n");
    fill_canvas();
    return 1;
}

int ZEMKA_undo(void) {
    ZEMKA_console_printf("ZEMKA_undo is no longer supported.\n");
    return 1;
}

}  // extern "C"
