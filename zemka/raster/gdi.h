// The engine's raster drawing interface: drawing contexts over in-memory
// surfaces, pens, brushes and fonts selected into them, figures, text and
// movable memory. The logic of the library draws only through these calls,
// in the create / select / draw / reselect / delete pattern of a desktop
// raster interface; the contexts start with the platform's defaults (one
// pixel black solid pen, white solid brush, default font, opaque text
// background, black text).
//
// Geometry is rasterized by our own integer code (raster.h); text goes
// through the back end's text engine (zemka/platform/text_engine.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "zemka/raster/raster.h"
#include "zemka/raster/text_extent.h"

namespace zemka::gdi {

// A colour value as the logic stores it: lowest byte red, then green, then
// blue, top byte 0.
using ColorRef = std::uint32_t;
constexpr ColorRef rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
// The pixel value (0xffRRGGBB) of a colour, and back.
constexpr std::uint32_t pixel_of(ColorRef c) {
    return 0xff000000u | ((c & 0xffu) << 16) | (c & 0xff00u) | ((c >> 16) & 0xffu);
}
constexpr ColorRef color_of_pixel(std::uint32_t p) { return rgb((p >> 16) & 0xffu, (p >> 8) & 0xffu, p & 0xffu); }

struct Dc;
struct GdiObject;
using Handle = GdiObject *;

enum class Stock { NullBrush, NullPen, WhiteBrush, BlackPen, DefaultFont, FixedFont };
enum BkMode { TRANSPARENT = 1, OPAQUE = 2 };

// Surfaces and contexts.
Dc *create_memory_dc(int width, int height);  // a surface of its own, pixels undefined
// A context over a surface that someone else owns (a window's).
Dc *create_surface_dc(const raster::Pixmap &pm);
// Points a context over someone else's surface at new pixels (the owner
// has resized its surface), keeping its objects and attributes. Queued
// drawing is done on the old pixels first.
void rebind_surface_dc(Dc *dc, const raster::Pixmap &pm);
void delete_dc(Dc *dc);
// Called after every drawing operation on the context (a window's shows it).
void set_dc_change_hook(Dc *dc, void (*hook)(void *context), void *context);
// Drawing that the owner of a context has queued instead of doing at once:
// flush(context) runs before the context's pixels are next read (dc_pixmap,
// a copy from it), drawn over, scrolled or resized, so whoever looks at the
// pixels finds them up to date. Setting it counts as a change (the change
// hook runs, so a window that shows the context repaints). A flush runs
// once; later drawing is queued again with another call.
void set_dc_pending(Dc *dc, void (*flush)(void *context), void *context);
raster::Pixmap dc_pixmap(const Dc *dc);
void resize_dc(Dc *dc, int width, int height);  // keeps the overlapping pixels

// Objects. Stock objects are shared; deleting one does nothing.
Handle create_pen(int width, ColorRef color);
Handle create_solid_brush(ColorRef color);
// height < 0: character height of -height pixels; 0: the default height.
Handle create_font(int height, int weight, const char *face);
Handle stock_object(Stock which);
Handle select_object(Dc *dc, Handle object);  // returns the one it replaces
void delete_object(Handle object);

// Figures with the selected pen and brush; device coordinates.
void polygon(Dc *dc, const raster::Point64 *points, int count);
void rectangle(Dc *dc, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);
void ellipse(Dc *dc, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);
void move_to(Dc *dc, std::int64_t x, std::int64_t y);
void line_to(Dc *dc, std::int64_t x, std::int64_t y);
void set_pixel(Dc *dc, std::int64_t x, std::int64_t y, ColorRef color);

// Text with the selected font.
ColorRef set_text_color(Dc *dc, ColorRef color);
int get_bk_mode(const Dc *dc);
int set_bk_mode(Dc *dc, int mode);
ColorRef get_bk_color(const Dc *dc);
Size get_text_extent(Dc *dc, const char *text, std::size_t count);
TextMetrics get_text_metrics(Dc *dc);
void text_out(Dc *dc, std::int64_t x, std::int64_t y, const char *text, std::size_t count);

// Block copy of a w x h area.
void bit_blt(Dc *dst, int x, int y, int w, int h, const Dc *src, int sx, int sy);
// Moves the context's pixels up by dy rows (down for negative dy).
void scroll_dc(Dc *dc, int dy);

// Movable memory: a handle that can be locked for access. A failed
// allocation returns 0.
using MemHandle = std::uintptr_t;
MemHandle global_alloc(std::size_t bytes);
void *global_lock(MemHandle handle);
void global_unlock(MemHandle handle);
void global_free(MemHandle handle);

}  // namespace zemka::gdi

namespace zemka::gdi {
// Makes the next n movable-memory allocations fail (fault tests).
void fail_next_global_allocs(int n);
}  // namespace zemka::gdi
