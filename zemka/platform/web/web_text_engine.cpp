// Text measured and drawn by the browser's 2D canvas, in the page's DejaVu
// Sans and DejaVu Sans Mono (loaded before the program starts), blended
// into the raster surface by the program's worker (zemka_worker.js).
#include <algorithm>
#include <cstdint>
#include <string>

#include "zemka/platform/text_engine.h"
#include "zemka/support/utf8.h"
#include "zemka/platform/web/web_bridge.h"

namespace zemka::platform {

namespace {

int pixel_height_of(const FontSpec &font) {
    return font.pixel_height > 0 ? std::min(font.pixel_height, 4096) : DEFAULT_PIXEL_HEIGHT;
}

// The page takes UTF-8: bytes that are not valid UTF-8 are Latin-1.
std::string page_text(const char *text, std::size_t count) {
    count = std::min(count, MAX_TEXT_BYTES);
    if (!text || count == 0) return {};
    if (support::valid_utf8(text, count)) return std::string(text, count);
    return support::encode_utf8(support::decode_text(text, count));
}

}  // namespace

gdi::Size text_measure(const FontSpec &font, const char *text, std::size_t count) {
    const std::string s = page_text(text, count);
    const int width = s.empty() ? 0
                                : zemka_web_text_width(pixel_height_of(font), font.weight >= 600, font.fixed_pitch,
                                                       s.data(), static_cast<int>(s.size()));
    return {width, text_font_metrics(font).height};
}

gdi::TextMetrics text_font_metrics(const FontSpec &font) {
    int ascent_descent[2] = {0, 0};
    zemka_web_font_metrics(pixel_height_of(font), font.weight >= 600, font.fixed_pitch, ascent_descent);
    return {ascent_descent[0] + ascent_descent[1], 0};
}

void text_draw(const raster::Pixmap &pm, const FontSpec &font, std::int64_t x, std::int64_t y, const char *text,
               std::size_t count, std::uint32_t color_pixel, bool opaque, std::uint32_t background_pixel) {
    if (!pm.pixels || pm.width <= 0 || pm.height <= 0) return;
    if (x < -FAR_LIMIT || x > FAR_LIMIT || y < -FAR_LIMIT || y > FAR_LIMIT) return;
    const std::string s = page_text(text, count);
    if (s.empty()) return;
    zemka_web_text_draw(pm.pixels, pm.width, pm.height, pm.stride, pixel_height_of(font), font.weight >= 600,
                        font.fixed_pitch, static_cast<int>(x), static_cast<int>(y), s.data(),
                        static_cast<int>(s.size()), color_pixel, opaque, background_pixel);
}

}  // namespace zemka::platform
