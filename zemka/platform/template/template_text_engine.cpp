// The template back end's text engine: a stub of text_engine.h with no
// font. A real back end hands the text to its toolkit's font engine, with
// DejaVu Sans (DejaVu Sans Mono for fixed pitch) where it can, so that text
// looks alike everywhere.
//
// Limits: no glyphs. Every character is one cell of a fixed size derived
// from the requested height (about a sans face's average letter: 7 x 14
// pixels at the default 12-pixel height), in both faces and every weight;
// each visible character is drawn as a filled box of capital letter height
// in its cell, spaces and control characters as nothing. Layouts that
// measure text stay sensible; what a text says cannot be read.
//
// Dependencies: none besides the C++ standard library.
#include <algorithm>
#include <cstdint>
#include <string>

#include "zemka/platform/text_engine.h"
#include "zemka/support/utf8.h"

namespace zemka::platform {

namespace {

// The largest height drawn.
constexpr int MAX_PIXEL_HEIGHT = 2048;

// A face's metrics at one height.
struct Cells {
    int ascent = 0, descent = 0;  // above and below the baseline
    int width = 0;                // of every character
    int box_top = 0;              // rows from the cell's top to a box's top
    int box_inset = 0;            // columns left free on each side of a box
};

// A real back end asks its font engine for the face matching the
// description (pixel height without internal leading, weight, pitch).
Cells cells_of(const FontSpec &font) {
    const int height = font.pixel_height > 0 ? std::min(font.pixel_height, MAX_PIXEL_HEIGHT) : DEFAULT_PIXEL_HEIGHT;
    Cells c;
    // The proportions of a typical sans face.
    c.ascent = (height * 15 + 9) / 16;
    c.descent = (height * 4 + 9) / 16;
    c.width = std::max(1, (c.ascent + c.descent) * 9 / 16);
    const int cap_height = std::max(1, c.ascent * 3 / 4);
    c.box_top = c.ascent - cap_height;
    c.box_inset = c.width >= 4 ? c.width / 8 + 1 : 0;
    return c;
}

std::u32string characters(const char *text, std::size_t count) {
    if (!text || count == 0) return {};
    return support::decode_text(text, std::min(count, MAX_TEXT_BYTES));
}

bool shows_ink(char32_t c) { return c > U' ' && c != U'\x7f' && c != U'\xa0' && !(c >= U'\x80' && c < U'\xa0'); }

// Fills [left, right) x [top, bottom), clipped to the surface.
void fill(const raster::Pixmap &pm, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
          std::uint32_t pixel) {
    for (std::int64_t row = std::max<std::int64_t>(top, 0); row < std::min<std::int64_t>(bottom, pm.height); ++row)
        for (std::int64_t col = std::max<std::int64_t>(left, 0); col < std::min<std::int64_t>(right, pm.width); ++col)
            pm.pixels[row * pm.stride + col] = pixel;
}

}  // namespace

// The size of the text's cells in one line: a real back end sums its
// glyphs' advances (kerning included) and gives the font's height.
gdi::Size text_measure(const FontSpec &font, const char *text, std::size_t count) {
    const Cells c = cells_of(font);
    const auto n = static_cast<std::int64_t>(characters(text, count).size());
    return {n * c.width, c.ascent + c.descent};
}

// The font's height (ascent and descent) and the extra leading it asks
// between lines, none here.
gdi::TextMetrics text_font_metrics(const FontSpec &font) {
    const Cells c = cells_of(font);
    return {c.ascent + c.descent, 0};
}

// Draw the text with the top-left corner of its first cell at (x, y), in
// color_pixel, over a background_pixel box the size text_measure gives when
// opaque; a real back end renders its glyphs there, blended with their
// coverage. Here the boxes.
void text_draw(const raster::Pixmap &pm, const FontSpec &font, std::int64_t x, std::int64_t y, const char *text,
               std::size_t count, std::uint32_t color_pixel, bool opaque, std::uint32_t background_pixel) {
    if (!pm.pixels || pm.width <= 0 || pm.height <= 0) return;
    if (x < -FAR_LIMIT || x > FAR_LIMIT || y < -FAR_LIMIT || y > FAR_LIMIT) return;
    const Cells c = cells_of(font);
    const std::u32string chars = characters(text, count);
    const auto width = static_cast<std::int64_t>(chars.size()) * c.width;
    if (opaque) fill(pm, x, y, x + width, y + c.ascent + c.descent, background_pixel);
    const std::uint32_t ink = color_pixel | 0xff000000u;
    std::int64_t pen = x;
    for (const char32_t ch : chars) {
        if (pen > pm.width) break;
        if (shows_ink(ch)) fill(pm, pen + c.box_inset, y + c.box_top, pen + c.width - c.box_inset, y + c.ascent, ink);
        pen += c.width;
    }
}

}  // namespace zemka::platform
