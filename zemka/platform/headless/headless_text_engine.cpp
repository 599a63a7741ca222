// Text without a display: FreeType renders the desktop's DejaVu Sans and
// DejaVu Sans Mono, so headless text looks like the desktop's. Glyphs are
// rendered once per font and kept; each is blended into the surface with
// its coverage. Without the font files text is measured from the height
// alone and not drawn, and one line says so.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "zemka/platform/text_engine.h"
#include "zemka/support/utf8.h"

#ifndef ZEMKA_FONT_DIR
#define ZEMKA_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace zemka::platform {

namespace {

// The largest height drawn.
constexpr int MAX_PIXEL_HEIGHT = 2048;
constexpr std::size_t MAX_FONTS = 64;
constexpr std::size_t MAX_GLYPHS = 4096;  // per font

struct Glyph {
    int left = 0, top = 0;  // bitmap origin from the pen position on the baseline
    int width = 0, rows = 0;
    int advance = 0;
    std::vector<std::uint8_t> coverage;
};

struct Font {
    FT_Face face = nullptr;
    int ascent = 0, descent = 0;
    std::unordered_map<char32_t, Glyph> glyphs;
    ~Font() {
        if (face) FT_Done_Face(face);
    }
};

FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return lib;
}

const char *face_file(bool fixed, bool bold) {
    if (fixed) return bold ? ZEMKA_FONT_DIR "/DejaVuSansMono-Bold.ttf" : ZEMKA_FONT_DIR "/DejaVuSansMono.ttf";
    return bold ? ZEMKA_FONT_DIR "/DejaVuSans-Bold.ttf" : ZEMKA_FONT_DIR "/DejaVuSans.ttf";
}

int pixel_height_of(const FontSpec &font_spec) {
    return font_spec.pixel_height > 0 ? std::min(font_spec.pixel_height, MAX_PIXEL_HEIGHT) : DEFAULT_PIXEL_HEIGHT;
}

Font &font_of(const FontSpec &font_spec) {
    const int height = pixel_height_of(font_spec);
    const bool bold = font_spec.weight >= 600;
    const std::uint64_t key = static_cast<std::uint64_t>(height) << 2 | (bold ? 2u : 0u) | (font_spec.fixed_pitch ? 1u : 0u);
    static auto *fonts = new std::unordered_map<std::uint64_t, std::unique_ptr<Font>>;  // kept until exit
    if (auto it = fonts->find(key); it != fonts->end()) return *it->second;
    if (fonts->size() >= MAX_FONTS) fonts->clear();
    auto font = std::make_unique<Font>();
    static bool warned = false;
    if (!library() || FT_New_Face(library(), face_file(font_spec.fixed_pitch, bold), 0, &font->face) != 0) {
        font->face = nullptr;
        if (!warned) std::fprintf(stderr, "ZEMKA: cannot read the fonts in %s; text is not drawn\n", ZEMKA_FONT_DIR);
        warned = true;
        // Metrics of a typical sans face, so layouts stay sensible.
        font->ascent = (height * 15 + 9) / 16;
        font->descent = (height * 4 + 9) / 16;
    } else {
        FT_Set_Pixel_Sizes(font->face, 0, static_cast<FT_UInt>(height));
        const FT_Size_Metrics &m = font->face->size->metrics;
        font->ascent = static_cast<int>((m.ascender + 63) >> 6);
        font->descent = static_cast<int>((-m.descender + 63) >> 6);
    }
    return *fonts->emplace(key, std::move(font)).first->second;
}

const Glyph &glyph_of(Font &font, char32_t c) {
    if (auto it = font.glyphs.find(c); it != font.glyphs.end()) return it->second;
    if (font.glyphs.size() >= MAX_GLYPHS) font.glyphs.clear();
    Glyph g;
    if (font.face && FT_Load_Char(font.face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) == 0) {
        const FT_GlyphSlot slot = font.face->glyph;
        const FT_Bitmap &bm = slot->bitmap;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.buffer) {
            g.width = static_cast<int>(bm.width);
            g.rows = static_cast<int>(bm.rows);
            g.coverage.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.rows));
            for (int y = 0; y < g.rows; ++y)
                std::copy_n(bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch, g.width,
                            g.coverage.begin() + static_cast<std::ptrdiff_t>(y) * g.width);
        }
    } else if (!font.face) {
        g.advance = (font.ascent + font.descent) * 9 / 16;  // a typical average width
    }
    return font.glyphs.emplace(c, std::move(g)).first->second;
}

std::u32string characters(const char *text, std::size_t count) {
    if (!text || count == 0) return {};
    return support::decode_text(text, std::min(count, MAX_TEXT_BYTES));
}

std::int64_t width_of(Font &font, const std::u32string &chars) {
    std::int64_t width = 0;
    for (const char32_t c : chars) width += glyph_of(font, c).advance;
    return width;
}

std::uint32_t blend(std::uint32_t under, std::uint32_t over, unsigned alpha) {
    std::uint32_t out = 0xff000000u;
    for (const int shift : {0, 8, 16}) {
        const unsigned u = (under >> shift) & 0xffu, o = (over >> shift) & 0xffu;
        out |= ((o * alpha + u * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

}  // namespace

gdi::Size text_measure(const FontSpec &font_spec, const char *text, std::size_t count) {
    Font &font = font_of(font_spec);
    return {width_of(font, characters(text, count)), font.ascent + font.descent};
}

gdi::TextMetrics text_font_metrics(const FontSpec &font_spec) {
    const Font &font = font_of(font_spec);
    return {font.ascent + font.descent, 0};
}

void text_draw(const raster::Pixmap &pm, const FontSpec &font_spec, std::int64_t x, std::int64_t y, const char *text,
               std::size_t count, std::uint32_t color_pixel, bool opaque, std::uint32_t background_pixel) {
    if (!pm.pixels || pm.width <= 0 || pm.height <= 0) return;
    if (x < -FAR_LIMIT || x > FAR_LIMIT || y < -FAR_LIMIT || y > FAR_LIMIT) return;
    Font &font = font_of(font_spec);
    const std::u32string chars = characters(text, count);
    if (opaque) {
        const std::int64_t right = x + width_of(font, chars), bottom = y + font.ascent + font.descent;
        for (std::int64_t row = std::max<std::int64_t>(y, 0); row < std::min<std::int64_t>(bottom, pm.height); ++row)
            for (std::int64_t col = std::max<std::int64_t>(x, 0); col < std::min<std::int64_t>(right, pm.width); ++col)
                pm.pixels[row * pm.stride + col] = background_pixel;
    }
    std::int64_t pen = x;
    const std::int64_t baseline = y + font.ascent;
    for (const char32_t c : chars) {
        if (pen > pm.width) break;
        const Glyph &g = glyph_of(font, c);
        const std::int64_t gx = pen + g.left, gy = baseline - g.top;
        for (int row = 0; row < g.rows; ++row) {
            const std::int64_t py = gy + row;
            if (py < 0 || py >= pm.height) continue;
            for (int col = 0; col < g.width; ++col) {
                const std::int64_t px = gx + col;
                if (px < 0 || px >= pm.width) continue;
                const unsigned alpha = g.coverage[static_cast<std::size_t>(row) * static_cast<std::size_t>(g.width) +
                                                  static_cast<std::size_t>(col)];
                if (alpha == 0) continue;
                std::uint32_t &p = pm.pixels[py * pm.stride + px];
                p = alpha == 255 ? (color_pixel | 0xff000000u) : blend(p, color_pixel, alpha);
            }
        }
        pen += g.advance;
    }
}

}  // namespace zemka::platform
