// Drawing contexts and their objects over in-memory surfaces.
#include "zemka/raster/gdi.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <utility>
#include <vector>

#include "zemka/platform/text_engine.h"

namespace zemka::gdi {

struct GdiObject {
    enum Kind { Pen, Brush, Font } kind;
    bool stock = false;
    bool null = false;  // the hollow brush or the null pen
    int width = 1;      // pen
    ColorRef color = 0;
    platform::FontSpec font;
    bool released = false;  // kept for reuse; deleting it again does nothing
};

struct Dc {
    std::vector<std::uint32_t> own;  // a memory context's own surface
    raster::Pixmap pm;
    Handle pen;
    Handle brush;
    Handle font;
    ColorRef text_color = 0;
    int bk_mode = OPAQUE;
    ColorRef bk_color = rgb(255, 255, 255);
    std::int64_t cur_x = 0;
    std::int64_t cur_y = 0;
    void (*change_hook)(void *) = nullptr;
    void *change_context = nullptr;
    void (*pending)(void *) = nullptr;  // queued drawing, see set_dc_pending
    void *pending_context = nullptr;
    bool flushing = false;
};

namespace {

GdiObject stock_null_brush{GdiObject::Brush, true, true, 0, 0, {}};
GdiObject stock_null_pen{GdiObject::Pen, true, true, 0, 0, {}};
GdiObject stock_white_brush{GdiObject::Brush, true, false, 0, rgb(255, 255, 255), {}};
GdiObject stock_black_pen{GdiObject::Pen, true, false, 1, 0, {}};
GdiObject stock_default_font{GdiObject::Font, true, false, 0, 0, {0, 400, false}};
GdiObject stock_fixed_font{GdiObject::Font, true, false, 0, 0, {13, 400, true}};

void set_defaults(Dc *dc) {
    dc->pen = &stock_black_pen;
    dc->brush = &stock_white_brush;
    dc->font = &stock_default_font;
}

// Pens, brushes and fonts live for one primitive; their blocks are kept for
// the next ones instead of going back to the heap every time.
constexpr std::size_t MAX_SPARE_OBJECTS = 16;
std::vector<Handle> &spare_objects() {
    static auto *spare = new std::vector<Handle>;  // reachable until exit
    return *spare;
}

Handle new_object(const GdiObject &value) {
    std::vector<Handle> &spare = spare_objects();
    if (spare.empty()) return new GdiObject(value);
    Handle object = spare.back();
    spare.pop_back();
    *object = value;
    return object;
}

int magnitude(int value) { return value == INT_MIN ? INT_MAX : (value < 0 ? -value : value); }

void changed(Dc *dc) {
    // Queued drawing that is being done now was announced when it was queued.
    if (dc->change_hook && !dc->flushing) dc->change_hook(dc->change_context);
}

// Runs the drawing queued on the context, before its pixels are used.
void bring_up_to_date(const Dc *cdc) {
    if (!cdc || !cdc->pending) return;
    Dc *dc = const_cast<Dc *>(cdc);  // every context is created mutable
    void (*flush)(void *) = std::exchange(dc->pending, nullptr);
    dc->flushing = true;
    flush(dc->pending_context);
    dc->flushing = false;
}

// Short lines and small ellipses (a snow flake's arms and bar, a tree's
// branches, rain drops, waves, portholes) come in a handful of shapes. The
// rasterizer's pixels for a figure depend only on its size (a line's vector
// from start to end), its pen width and whether it is stroked and filled,
// moved along with its first point; so each shape's row spans, each marked
// as pen or brush, are found once, by the rasterizer itself on a scratch
// surface, and kept.
struct Shape {
    struct Span {
        int row, first, end;  // relative to the figure's first point, end exclusive
        bool pen;             // painted by the pen, or else by the brush
    };
    std::vector<Span> spans;
    int top = 0, bottom = 0, left = 0, right = 0;  // bounds of the spans, bottom and right exclusive
};
constexpr int SHAPE_REACH = 16;     // a line's |dx| and |dy| at most this
constexpr int SHAPE_BOX = 64;       // an ellipse's box at most this wide and high
constexpr int SHAPE_MAX_WIDTH = 8;  // pen widths 1 (the one-pixel pen) to this
// Points further out than this go to the rasterizer, whose arithmetic
// changes for coordinates beyond everyday sizes.
constexpr std::int64_t SHAPE_POINT_LIMIT = 4096;
constexpr std::size_t MAX_SHAPES = 1024;
constexpr std::uint32_t PEN_MARK = 1, BRUSH_MARK = 2;

// The most recent shapes by a hash of their key, in front of the map.
struct ShapeSlot {
    std::uint64_t key = ~std::uint64_t{0};
    const Shape *shape = nullptr;
};
constexpr int FRONT_BITS = 8;

// The shape under key; a new one is drawn by draw(scratch) on a w x h
// scratch surface, with the figure's first point at (ox, oy), in PEN_MARK
// and BRUSH_MARK.
template <class Draw>
const Shape &kept_shape(std::uint64_t key, int w, int h, int ox, int oy, Draw draw) {
    static auto *shapes = new std::unordered_map<std::uint64_t, Shape>;  // kept until exit
    static auto *front = new ShapeSlot[1u << FRONT_BITS];
    ShapeSlot &slot = front[(key * 0x9e3779b97f4a7c15u) >> (64 - FRONT_BITS)];
    if (slot.key == key) return *slot.shape;
    if (auto it = shapes->find(key); it != shapes->end()) {
        slot = {key, &it->second};
        return it->second;
    }
    if (shapes->size() >= MAX_SHAPES) {
        shapes->clear();
        std::fill(front, front + (1u << FRONT_BITS), ShapeSlot{});
    }
    Shape &shape = (*shapes)[key];
    slot = {key, &shape};
    static auto *scratch = new std::vector<std::uint32_t>;  // kept until exit
    scratch->assign(static_cast<std::size_t>(w) * h, 0u);
    const raster::Pixmap pm{scratch->data(), w, h, w};
    draw(pm);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t *row = pm.pixels + static_cast<std::size_t>(y) * w;
        for (int x = 0; x < w;) {
            const std::uint32_t mark = row[x];
            if (!mark) {
                ++x;
                continue;
            }
            const int first = x;
            while (x < w && row[x] == mark) ++x;
            shape.spans.push_back({y - oy, first - ox, x - ox, mark == PEN_MARK});
        }
    }
    for (const Shape::Span &span : shape.spans) {
        shape.top = std::min(shape.top, span.row);
        shape.bottom = std::max(shape.bottom, span.row + 1);
        shape.left = std::min(shape.left, span.first);
        shape.right = std::max(shape.right, span.end);
    }
    return shape;
}

// Paints a kept shape with its first point at (x0, y0).
void paint_shape(const raster::Pixmap &pm, const Shape &shape, std::int64_t x0, std::int64_t y0, std::uint32_t pen,
                 std::uint32_t brush) {
    if (shape.spans.empty()) return;
    const bool inside = pm.pixels && pm.stride >= pm.width && x0 + shape.left >= 0 && x0 + shape.right <= pm.width &&
                        y0 + shape.top >= 0 && y0 + shape.bottom <= pm.height;
    if (!inside) {
        for (const Shape::Span &span : shape.spans)
            raster::fill_span(pm, y0 + span.row, x0 + span.first, x0 + span.end, span.pen ? pen : brush);
        return;
    }
    std::uint32_t *origin = pm.pixels + y0 * pm.stride + x0;
    for (const Shape::Span &span : shape.spans)
        std::fill_n(origin + static_cast<std::ptrdiff_t>(span.row) * pm.stride + span.first, span.end - span.first,
                    span.pen ? pen : brush);
}

bool near(std::int64_t v) { return v >= -SHAPE_POINT_LIMIT && v <= SHAPE_POINT_LIMIT; }

void stroke_line(const raster::Pixmap &pm, int width, std::uint32_t color, std::int64_t x0, std::int64_t y0,
                 std::int64_t x1, std::int64_t y1) {
    const std::int64_t dx = x1 - x0, dy = y1 - y0;
    if (width > SHAPE_MAX_WIDTH || !near(x0) || !near(y0) || !near(x1) || !near(y1) || dx < -SHAPE_REACH ||
        dx > SHAPE_REACH || dy < -SHAPE_REACH || dy > SHAPE_REACH) {
        raster::draw_line(pm, width, color, x0, y0, x1, y1);
        return;
    }
    const int w = std::max(width, 1);  // widths 0 and 1 are both the one-pixel pen
    const int idx = static_cast<int>(dx), idy = static_cast<int>(dy);
    const std::uint64_t key = std::uint64_t{1} << 48 | static_cast<std::uint64_t>(idx + SHAPE_REACH) << 32 |
                              static_cast<std::uint64_t>(idy + SHAPE_REACH) << 16 | static_cast<std::uint64_t>(w);
    // The line on a scratch surface that holds it whole, with a margin of
    // the width around its end points.
    const int margin = w + 2;
    const int ox = margin + std::max(0, -idx), oy = margin + std::max(0, -idy);
    const Shape &shape = kept_shape(
        key, std::abs(idx) + 2 * margin + 1, std::abs(idy) + 2 * margin + 1, ox, oy,
        [&](const raster::Pixmap &scratch) { raster::draw_line(scratch, w, PEN_MARK, ox, oy, ox + idx, oy + idy); });
    paint_shape(pm, shape, x0, y0, color, color);
}

void paint_ellipse(const raster::Pixmap &pm, const raster::Paint &paint, std::int64_t left, std::int64_t top,
                   std::int64_t right, std::int64_t bottom) {
    const std::int64_t bw = right - left, bh = bottom - top;
    const int pen_width = paint.stroke ? std::max(paint.pen_width, 1) : 0;
    if (bw <= 0 || bh <= 0 || bw > SHAPE_BOX || bh > SHAPE_BOX || pen_width > SHAPE_MAX_WIDTH || pen_width < 0 ||
        !near(left) || !near(top)) {
        raster::draw_ellipse(pm, paint, left, top, right, bottom);
        return;
    }
    const int w = static_cast<int>(bw), h = static_cast<int>(bh);
    const std::uint64_t key = std::uint64_t{2} << 48 | static_cast<std::uint64_t>(w) << 32 |
                              static_cast<std::uint64_t>(h) << 16 | static_cast<std::uint64_t>(pen_width) << 1 |
                              (paint.fill ? 1u : 0u);
    const int margin = pen_width + 2;
    raster::Paint marks = paint;
    marks.pen_width = pen_width;
    marks.pen_color = PEN_MARK;
    marks.brush_color = BRUSH_MARK;
    const Shape &shape =
        kept_shape(key, w + 2 * margin, h + 2 * margin, margin, margin, [&](const raster::Pixmap &scratch) {
            raster::draw_ellipse(scratch, marks, margin, margin, margin + w, margin + h);
        });
    paint_shape(pm, shape, left, top, paint.pen_color, paint.brush_color);
}

raster::Paint current_paint(const Dc *dc) {
    raster::Paint paint;
    paint.stroke = !dc->pen->null;
    paint.pen_width = dc->pen->width;
    paint.pen_color = pixel_of(dc->pen->color);
    paint.fill = !dc->brush->null;
    paint.brush_color = pixel_of(dc->brush->color);
    return paint;
}

}  // namespace

Dc *create_memory_dc(int width, int height) {
    auto *dc = new Dc;
    set_defaults(dc);
    resize_dc(dc, width, height);
    return dc;
}

Dc *create_surface_dc(const raster::Pixmap &pm) {
    auto *dc = new Dc;
    set_defaults(dc);
    dc->pm = pm;
    return dc;
}

void rebind_surface_dc(Dc *dc, const raster::Pixmap &pm) {
    if (!dc) return;
    bring_up_to_date(dc);
    dc->own.clear();
    dc->pm = pm;
}

void delete_dc(Dc *dc) { delete dc; }

void set_dc_change_hook(Dc *dc, void (*hook)(void *), void *context) {
    if (!dc) return;
    dc->change_hook = hook;
    dc->change_context = context;
}

void set_dc_pending(Dc *dc, void (*flush)(void *), void *context) {
    if (!dc) return;
    dc->pending = flush;
    dc->pending_context = context;
    if (flush) changed(dc);
}

raster::Pixmap dc_pixmap(const Dc *dc) {
    if (!dc) return {};
    bring_up_to_date(dc);
    return dc->pm;
}

void resize_dc(Dc *dc, int width, int height) {
    bring_up_to_date(dc);
    width = std::max(width, 0);
    height = std::max(height, 0);
    std::vector<std::uint32_t> next(static_cast<std::size_t>(width) * height, 0xff000000u);
    const int keep_w = std::min(width, dc->pm.width);
    const int keep_h = std::min(height, dc->pm.height);
    for (int y = 0; y < keep_h; ++y)
        std::copy_n(dc->pm.pixels + static_cast<std::size_t>(y) * dc->pm.stride, keep_w,
                    next.data() + static_cast<std::size_t>(y) * width);
    dc->own.swap(next);
    dc->pm = raster::Pixmap{dc->own.data(), width, height, width};
}

Handle create_pen(int width, ColorRef color) {
    return new_object({GdiObject::Pen, false, false, magnitude(width), color, {}});
}

Handle create_solid_brush(ColorRef color) { return new_object({GdiObject::Brush, false, false, 0, color, {}}); }

Handle create_font(int height, int weight, const char *) {
    // The face name asks for nothing in particular: every font of the
    // library is the platform's proportional face at the asked height.
    return new_object({GdiObject::Font, false, false, 0, 0, {magnitude(height), weight, false}});
}

Handle stock_object(Stock which) {
    switch (which) {
        case Stock::NullBrush: return &stock_null_brush;
        case Stock::NullPen: return &stock_null_pen;
        case Stock::WhiteBrush: return &stock_white_brush;
        case Stock::BlackPen: return &stock_black_pen;
        case Stock::DefaultFont: return &stock_default_font;
        case Stock::FixedFont: return &stock_fixed_font;
    }
    return nullptr;
}

Handle select_object(Dc *dc, Handle object) {
    if (!dc || !object) return nullptr;
    Handle *slot = object->kind == GdiObject::Pen     ? &dc->pen
                   : object->kind == GdiObject::Brush ? &dc->brush
                                                      : &dc->font;
    Handle previous = *slot;
    *slot = object;
    return previous;
}

void delete_object(Handle object) {
    if (!object || object->stock || object->released) return;
    std::vector<Handle> &spare = spare_objects();
    if (spare.size() < MAX_SPARE_OBJECTS) {
        object->released = true;
        spare.push_back(object);
    } else {
        delete object;
    }
}

void polygon(Dc *dc, const raster::Point64 *points, int count) {
    if (!dc) return;
    bring_up_to_date(dc);
    raster::draw_polygon(dc->pm, current_paint(dc), points, count);
    changed(dc);
}

void rectangle(Dc *dc, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    if (!dc) return;
    bring_up_to_date(dc);
    if (dc->pen->null) {
        // Without an outline the fill stops one pixel short of the right
        // and bottom bounds, as the platform's rectangle does.
        if (!dc->brush->null) raster::fill_rect(dc->pm, left, top, right - 1, bottom - 1, pixel_of(dc->brush->color));
    } else {
        raster::draw_rectangle(dc->pm, current_paint(dc), left, top, right, bottom);
    }
    changed(dc);
}

void ellipse(Dc *dc, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    if (!dc) return;
    bring_up_to_date(dc);
    paint_ellipse(dc->pm, current_paint(dc), left, top, right, bottom);
    changed(dc);
}

void move_to(Dc *dc, std::int64_t x, std::int64_t y) {
    if (!dc) return;
    dc->cur_x = x;
    dc->cur_y = y;
}

void line_to(Dc *dc, std::int64_t x, std::int64_t y) {
    if (!dc) return;
    bring_up_to_date(dc);
    if (!dc->pen->null) stroke_line(dc->pm, dc->pen->width, pixel_of(dc->pen->color), dc->cur_x, dc->cur_y, x, y);
    dc->cur_x = x;
    dc->cur_y = y;
    changed(dc);
}

void set_pixel(Dc *dc, std::int64_t x, std::int64_t y, ColorRef color) {
    if (!dc) return;
    bring_up_to_date(dc);
    raster::set_pixel(dc->pm, x, y, pixel_of(color));
    changed(dc);
}

ColorRef set_text_color(Dc *dc, ColorRef color) {
    if (!dc) return 0;
    return std::exchange(dc->text_color, color);
}

int get_bk_mode(const Dc *dc) { return dc ? dc->bk_mode : 0; }

int set_bk_mode(Dc *dc, int mode) {
    if (!dc) return 0;
    return std::exchange(dc->bk_mode, mode);
}

ColorRef get_bk_color(const Dc *dc) { return dc ? dc->bk_color : 0; }

Size get_text_extent(Dc *dc, const char *text, std::size_t count) {
    if (!dc || !text) return {};
    return platform::text_measure(dc->font->font, text, count);
}

TextMetrics get_text_metrics(Dc *dc) { return dc ? platform::text_font_metrics(dc->font->font) : TextMetrics{}; }

void text_out(Dc *dc, std::int64_t x, std::int64_t y, const char *text, std::size_t count) {
    if (!dc || !text || count == 0) return;
    bring_up_to_date(dc);
    platform::text_draw(dc->pm, dc->font->font, x, y, text, count, pixel_of(dc->text_color), dc->bk_mode != TRANSPARENT,
                        pixel_of(dc->bk_color));
    changed(dc);
}

void bit_blt(Dc *dst, int x, int y, int w, int h, const Dc *src, int sx, int sy) {
    if (!dst || !src) return;
    bring_up_to_date(src);
    bring_up_to_date(dst);
    // Clip the copy against both surfaces.
    if (x < 0) {
        sx -= x;
        w += x;
        x = 0;
    }
    if (y < 0) {
        sy -= y;
        h += y;
        y = 0;
    }
    if (sx < 0) {
        x -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        y -= sy;
        h += sy;
        sy = 0;
    }
    w = std::min({w, dst->pm.width - x, src->pm.width - sx});
    h = std::min({h, dst->pm.height - y, src->pm.height - sy});
    if (w <= 0 || h <= 0) return;
    for (int row = 0; row < h; ++row)
        std::memcpy(dst->pm.pixels + static_cast<std::size_t>(y + row) * dst->pm.stride + x,
                    src->pm.pixels + static_cast<std::size_t>(sy + row) * src->pm.stride + sx,
                    static_cast<std::size_t>(w) * sizeof(std::uint32_t));
    changed(dst);
}

void scroll_dc(Dc *dc, int dy) {
    if (!dc) return;
    bring_up_to_date(dc);
    raster::scroll_vertical(dc->pm, dy);
    changed(dc);
}

}  // namespace zemka::gdi
