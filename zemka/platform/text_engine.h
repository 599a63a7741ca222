// Text through the toolkit's font engine: the raster interface hands it a
// font description and a surface; glyph rendering, font matching and
// metrics are the toolkit's.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zemka/raster/raster.h"
#include "zemka/raster/text_extent.h"

namespace zemka::platform {

struct FontSpec {
    int pixel_height = 0;  // character height without internal leading; 0 = the default height
    int weight = 400;
    bool fixed_pitch = false;
};

// Limits every text engine keeps, so that text is asked for alike
// everywhere.
// The height of FontSpec's 0: the desktop's default font (a 9 point font
// at 96 dpi).
constexpr int DEFAULT_PIXEL_HEIGHT = 12;
// Anchors further out than this cannot put a glyph on any surface (and
// toolkits that take int coordinates never see them).
constexpr std::int64_t FAR_LIMIT = 1 << 28;
// Texts past this size are measured and drawn only this far: no surface
// shows more.
constexpr std::size_t MAX_TEXT_BYTES = 1u << 20;

// Texts are UTF-8; a byte that starts no valid UTF-8 sequence is taken
// alone as Latin-1.
gdi::Size text_measure(const FontSpec &font, const char *text, std::size_t count);
gdi::TextMetrics text_font_metrics(const FontSpec &font);
// Draws with the top-left corner of the first cell at (x, y).
void text_draw(const raster::Pixmap &pm, const FontSpec &font, std::int64_t x, std::int64_t y, const char *text,
               std::size_t count, std::uint32_t color_pixel, bool opaque, std::uint32_t background_pixel);

}  // namespace zemka::platform
