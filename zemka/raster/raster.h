// Integer rasterizer for the platform's in-memory surfaces.
//
// Every operation writes opaque 32-bit pixels (0xffRRGGBB) straight into a
// Pixmap and clips to it. Coordinates are device pixels as 64-bit ints, so
// a caller's centre plus any int coordinate never overflows. The cost of
// an operation is bounded by the pixmap's size, never by its coordinates.
//
// Pixel rules (the single place they are written down):
// - A pixel (x, y) is the unit square whose centre is (x + 0.5, y + 0.5).
// - thin_line: Bresenham from the start point towards the end point; the
//   end point itself is never painted.
// - Rectangle and ellipse boxes take exclusive right and bottom bounds.
// - A pen of width w > 1 is centred on the outline it strokes, with round
//   ends and round joins: a wide line is a capsule.
// - A figure with a fill is filled first, then stroked.
// See raster.cpp for the precise sampling rules.
#pragma once

#include <cstdint>

namespace zemka::raster {

struct Pixmap {
    std::uint32_t *pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // pixels per row
};

struct Point64 {
    std::int64_t x;
    std::int64_t y;
};

// How a figure is painted: an optional outline (pen) and an optional fill
// (brush). pen_width 0 and 1 both mean the one-pixel pen.
struct Paint {
    bool stroke = false;
    int pen_width = 1;
    std::uint32_t pen_color = 0;
    bool fill = false;
    std::uint32_t brush_color = 0;
};

// The building block: one row of one colour, [x0, x1), clipped.
void fill_span(const Pixmap &pm, std::int64_t y, std::int64_t x0, std::int64_t x1, std::uint32_t color);
// [left, right) x [top, bottom), clipped.
void fill_rect(const Pixmap &pm, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
               std::uint32_t color);
void set_pixel(const Pixmap &pm, std::int64_t x, std::int64_t y, std::uint32_t color);

// A line from (x0, y0) to (x1, y1) with a pen of the given width.
void draw_line(const Pixmap &pm, int width, std::uint32_t color, std::int64_t x0, std::int64_t y0, std::int64_t x1,
               std::int64_t y1);
void draw_rectangle(const Pixmap &pm, const Paint &paint, std::int64_t left, std::int64_t top, std::int64_t right,
                    std::int64_t bottom);
void draw_ellipse(const Pixmap &pm, const Paint &paint, std::int64_t left, std::int64_t top, std::int64_t right,
                  std::int64_t bottom);
void draw_polygon(const Pixmap &pm, const Paint &paint, const Point64 *points, int count);

// Moves the whole pixmap up by dy rows (down for negative dy); the rows
// that are uncovered keep their old pixels, as a window scroll does.
void scroll_vertical(const Pixmap &pm, std::int64_t dy);

}  // namespace zemka::raster
