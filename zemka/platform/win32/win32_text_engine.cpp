// Text through GDI: fonts from CreateFontW, measured with
// GetTextExtentPoint32W and drawn with TextOutW into a scratch DIB section
// that holds the part of the surface under the text, which is then copied
// back (GDI cannot draw into the library's own pixel memory directly).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "zemka/platform/win32/win32_api.h"

namespace zemka::platform {

namespace {

// GDI measures and draws at most this many UTF-16 units per call.
constexpr std::size_t MAX_UNITS = 1 << 16;
constexpr std::size_t MAX_FONTS = 64;

struct FontKey {
    int height;
    bool bold;
    bool fixed;
    bool operator<(const FontKey &o) const {
        return height != o.height ? height < o.height : bold != o.bold ? bold < o.bold : fixed < o.fixed;
    }
};

// A memory context with a DIB section: selects fonts for measuring, and
// is the scratch surface for drawing.
struct Scratch {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ first_bitmap = nullptr;
    std::uint32_t *bits = nullptr;
    int width = 0;
    int height = 0;
};

Scratch &scratch() {
    static auto *s = new Scratch;  // kept until exit
    if (!s->dc) s->dc = CreateCompatibleDC(nullptr);
    return *s;
}

// Makes the scratch surface at least width x height.
bool scratch_size(Scratch &s, int width, int height) {
    if (s.bitmap && s.width >= width && s.height >= height) return true;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = std::max(width, s.width);
    info.bmiHeader.biHeight = -std::max(height, s.height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(s.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return false;
    }
    HGDIOBJ previous = SelectObject(s.dc, bitmap);
    if (s.bitmap)
        DeleteObject(s.bitmap);
    else
        s.first_bitmap = previous;
    s.bitmap = bitmap;
    s.bits = static_cast<std::uint32_t *>(bits);
    s.width = static_cast<int>(info.bmiHeader.biWidth);
    s.height = static_cast<int>(-info.bmiHeader.biHeight);
    return true;
}

int default_pixel_height() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) && metrics.lfMessageFont.lfHeight)
        return std::max(1, static_cast<int>(metrics.lfMessageFont.lfHeight < 0 ? -metrics.lfMessageFont.lfHeight
                                                                               : metrics.lfMessageFont.lfHeight));
    return 13;
}

HFONT font_of(const FontSpec &wanted) {
    static auto *fonts = new std::map<FontKey, HFONT>;  // kept until exit
    static const int default_height = default_pixel_height();
    const FontKey key{wanted.pixel_height > 0 ? wanted.pixel_height : default_height, wanted.weight >= 600,
                      wanted.fixed_pitch};
    auto it = fonts->find(key);
    if (it != fonts->end()) return it->second;
    if (fonts->size() >= MAX_FONTS) {
        SelectObject(scratch().dc, GetStockObject(SYSTEM_FONT));
        for (auto &[k, font] : *fonts) DeleteObject(font);
        fonts->clear();
    }
    // A negative height asks for the character height without internal
    // leading.
    HFONT font = CreateFontW(-key.height, 0, 0, 0, key.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             static_cast<DWORD>(key.fixed ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_SWISS)),
                             key.fixed ? L"Courier New" : L"Arial");
    if (!font) font = static_cast<HFONT>(GetStockObject(key.fixed ? ANSI_FIXED_FONT : DEFAULT_GUI_FONT));
    fonts->emplace(key, font);
    return font;
}

std::wstring wide(const char *text, std::size_t count) { return win32::widen(text, count, MAX_UNITS); }

SIZE extent_of(HDC dc, const std::wstring &w) {
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    return size;
}

COLORREF colorref_of_pixel(std::uint32_t p) { return RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff); }

}  // namespace

gdi::Size text_measure(const FontSpec &font_spec, const char *text, std::size_t count) {
    Scratch &s = scratch();
    SelectObject(s.dc, font_of(font_spec));
    TEXTMETRICW tm{};
    GetTextMetricsW(s.dc, &tm);
    if (!text || count == 0) return {0, tm.tmHeight};
    const SIZE size = extent_of(s.dc, wide(text, count));
    return {size.cx, tm.tmHeight};
}

gdi::TextMetrics text_font_metrics(const FontSpec &font_spec) {
    Scratch &s = scratch();
    SelectObject(s.dc, font_of(font_spec));
    TEXTMETRICW tm{};
    GetTextMetricsW(s.dc, &tm);
    return {static_cast<int>(tm.tmHeight), std::max(0, static_cast<int>(tm.tmExternalLeading))};
}

void text_draw(const raster::Pixmap &pm, const FontSpec &font_spec, std::int64_t x, std::int64_t y, const char *text,
               std::size_t count, std::uint32_t color_pixel, bool opaque, std::uint32_t background_pixel) {
    if (!pm.pixels || pm.width <= 0 || pm.height <= 0 || !text || count == 0) return;
    if (x < -FAR_LIMIT || x > FAR_LIMIT || y < -FAR_LIMIT || y > FAR_LIMIT) return;
    Scratch &s = scratch();
    SelectObject(s.dc, font_of(font_spec));
    const std::wstring w = wide(text, count);
    TEXTMETRICW tm{};
    GetTextMetricsW(s.dc, &tm);
    const SIZE size = extent_of(s.dc, w);
    // The text's box, and the part of it on the surface (italic overhang
    // and glyphs that reach past their advance get a margin).
    const std::int64_t margin = tm.tmHeight;
    const std::int64_t left = std::max<std::int64_t>(x - margin, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(x + size.cx + margin, pm.width);
    const std::int64_t bottom = std::min<std::int64_t>(y + std::max<std::int64_t>(size.cy, tm.tmHeight), pm.height);
    if (left >= right || top >= bottom) return;
    const int cw = static_cast<int>(right - left), ch = static_cast<int>(bottom - top);
    if (!scratch_size(s, cw, ch)) return;
    GdiFlush();
    for (int row = 0; row < ch; ++row)
        std::memcpy(s.bits + static_cast<std::size_t>(row) * s.width,
                    pm.pixels + static_cast<std::size_t>(top + row) * pm.stride + left,
                    static_cast<std::size_t>(cw) * sizeof(std::uint32_t));
    SetTextAlign(s.dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    SetTextColor(s.dc, colorref_of_pixel(color_pixel));
    SetBkColor(s.dc, colorref_of_pixel(background_pixel));
    SetBkMode(s.dc, opaque ? OPAQUE : TRANSPARENT);
    // What falls outside cw x ch stays on the scratch surface.
    TextOutW(s.dc, static_cast<int>(x - left), static_cast<int>(y - top), w.c_str(), static_cast<int>(w.size()));
    GdiFlush();
    for (int row = 0; row < ch; ++row) {
        const std::uint32_t *from = s.bits + static_cast<std::size_t>(row) * s.width;
        std::uint32_t *to = pm.pixels + static_cast<std::size_t>(top + row) * pm.stride + left;
        for (int col = 0; col < cw; ++col) to[col] = from[col] | 0xff000000u;
    }
}

}  // namespace zemka::platform
