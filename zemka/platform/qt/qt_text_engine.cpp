// Text drawn and measured by Qt's font engine on a QImage that wraps the
// raster surface.
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTextLayout>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "zemka/platform/text_engine.h"
#include "zemka/support/utf8.h"

namespace zemka::platform {

namespace {

// Valid UTF-8 as it is; otherwise sequence by sequence, each stray byte
// as Latin-1.
QString decode(const char *text, std::size_t count) {
    const auto n = std::min<std::size_t>(count, 1u << 30);
    if (support::valid_utf8(text, n)) return QString::fromUtf8(text, static_cast<qsizetype>(n));
    const std::u32string chars = support::decode_text(text, n);
    return QString::fromUcs4(chars.data(), static_cast<qsizetype>(chars.size()));
}

int default_pixel_height() {
    const QFontInfo info(QGuiApplication::font());
    return std::max(1, info.pixelSize());
}

QFont make_font(const FontSpec &font_spec) {
    QFont font(font_spec.fixed_pitch ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans"));
    if (font_spec.fixed_pitch) font.setStyleHint(QFont::Monospace);
    font.setPixelSize(font_spec.pixel_height > 0 ? font_spec.pixel_height : default_pixel_height());
    font.setWeight(font_spec.weight >= 600 ? QFont::Bold : QFont::Normal);
    font.setKerning(false);
    return font;
}

// A short text shaped once: its glyph runs as a left-to-right layout puts
// them (the baseline at `ascent`), and its width.
struct LaidOut {
    QList<QGlyphRun> runs;
    qreal ascent = 0;
    int width = 0;
};

// A font is asked for by its description once per primitive; matching a
// face and building its metrics is the toolkit's slow part, so each
// distinct font is made once and kept, with the short texts shaped in it
// (labels and log lines come back frame after frame).
struct EngineFont {
    QFont font;
    QFontMetrics metrics;
    std::unordered_map<std::string, LaidOut> texts;
    explicit EngineFont(const QFont &f) : font(f), metrics(f) {}
};

constexpr std::size_t MAX_FONTS = 64;
constexpr std::size_t MAX_TEXTS = 1024;         // per font
constexpr std::size_t MAX_SHAPED_LENGTH = 256;  // longer texts are shaped every time

EngineFont &engine_font(const FontSpec &font_spec) {
    // What make_font depends on: the height (a default one resolved now),
    // boldness and pitch.
    const int height = font_spec.pixel_height > 0 ? font_spec.pixel_height : default_pixel_height();
    const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(height)) << 2) |
                              (font_spec.weight >= 600 ? 2u : 0u) | (font_spec.fixed_pitch ? 1u : 0u);
    static auto *fonts = new std::unordered_map<std::uint64_t, std::unique_ptr<EngineFont>>;  // kept until exit
    auto it = fonts->find(key);
    if (it != fonts->end()) return *it->second;
    if (fonts->size() >= MAX_FONTS) fonts->clear();
    return *fonts->emplace(key, std::make_unique<EngineFont>(make_font(font_spec))).first->second;
}

bool printable_ascii(const char *text, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (text[i] < 0x20 || text[i] > 0x7e) return false;
    return true;
}

const LaidOut &laid_out(EngineFont &f, const char *text, std::size_t count) {
    std::string key(text, count);
    auto it = f.texts.find(key);
    if (it != f.texts.end()) return it->second;
    if (f.texts.size() >= MAX_TEXTS) f.texts.clear();
    const QString s = decode(text, count);
    LaidOut out;
    out.width = f.metrics.horizontalAdvance(s);
    QTextLayout layout(s, f.font);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    if (line.isValid()) {
        out.runs = layout.glyphRuns();
        out.ascent = line.ascent();
    }
    return f.texts.emplace(std::move(key), std::move(out)).first->second;
}

// The toolkit's image over a surface, kept while the surface stays where
// it is: the image keeps its paint engine, which a new image would have to
// set up again for every text.
QImage &image_of(const raster::Pixmap &pm) {
    static auto *image = new QImage;  // kept until exit
    const auto *bits = reinterpret_cast<const uchar *>(pm.pixels);
    if (image->constBits() != bits || image->width() != pm.width || image->height() != pm.height ||
        image->bytesPerLine() != pm.stride * 4)
        *image = QImage(reinterpret_cast<uchar *>(pm.pixels), pm.width, pm.height, pm.stride * 4, QImage::Format_RGB32);
    return *image;
}

}  // namespace

gdi::Size text_measure(const FontSpec &font_spec, const char *text, std::size_t count) {
    EngineFont &f = engine_font(font_spec);
    if (count > MAX_SHAPED_LENGTH) return {f.metrics.horizontalAdvance(decode(text, count)), f.metrics.height()};
    return {laid_out(f, text, count).width, f.metrics.height()};
}

gdi::TextMetrics text_font_metrics(const FontSpec &font_spec) {
    const QFontMetrics &fm = engine_font(font_spec).metrics;
    return {fm.height(), std::max(0, fm.leading())};
}

void text_draw(const raster::Pixmap &pm, const FontSpec &font_spec, std::int64_t x, std::int64_t y, const char *text,
               std::size_t count, std::uint32_t color_pixel, bool opaque, std::uint32_t background_pixel) {
    if (!pm.pixels || pm.width <= 0 || pm.height <= 0) return;
    if (x < -FAR_LIMIT || x > FAR_LIMIT || y < -FAR_LIMIT || y > FAR_LIMIT) return;
    QPainter painter(&image_of(pm));
    EngineFont &f = engine_font(font_spec);
    painter.setFont(f.font);
    painter.setPen(QColor::fromRgb(color_pixel));
    const QFontMetrics &fm = f.metrics;
    const QPointF baseline(static_cast<double>(x), static_cast<double>(y + fm.ascent()));
    // A short text of printable ASCII (labels, log lines) is drawn from its
    // shaped glyph runs: one left-to-right run of the font's own glyphs,
    // the same glyphs at the same places as drawText, without shaping
    // again. Anything else (other scripts, either direction, tabs and
    // control characters) goes through drawText.
    if (count <= MAX_SHAPED_LENGTH && printable_ascii(text, count) && painter.layoutDirection() != Qt::RightToLeft) {
        const LaidOut &l = laid_out(f, text, count);
        if (opaque)
            painter.fillRect(QRect(static_cast<int>(x), static_cast<int>(y), l.width, fm.height()),
                             QColor::fromRgb(background_pixel));
        for (const QGlyphRun &run : l.runs) painter.drawGlyphRun(baseline - QPointF(0, l.ascent), run);
        return;
    }
    const QString s = decode(text, count);
    if (opaque)
        painter.fillRect(QRect(static_cast<int>(x), static_cast<int>(y), fm.horizontalAdvance(s), fm.height()),
                         QColor::fromRgb(background_pixel));
    painter.drawText(baseline, s);
}

}  // namespace zemka::platform
