// Text drawn and measured by Qt's font engine on a QImage that wraps the
// raster surface.
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "zemka/platform/text_engine.h"
#include "zemka/platform/utf8.h"

namespace zemka::platform {

namespace {

// Position limit for QPainter, which takes ints: text anchored further out
// cannot reach the surface.
constexpr std::int64_t FAR_LIMIT = 1 << 28;

QString decode(const char *text, std::size_t count) {
    const auto n = static_cast<qsizetype>(std::min<std::size_t>(count, 1u << 30));
    if (valid_utf8(text, static_cast<std::size_t>(n)))
        return QString::fromUtf8(text, n);
    return QString::fromLatin1(text, n);
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

// A font is asked for by its description once per primitive; matching a
// face and building its metrics is the toolkit's slow part, so each
// distinct font is made once and kept, with the widths of the short texts
// measured in it (labels and log lines come back frame after frame).
struct EngineFont {
    QFont font;
    QFontMetrics metrics;
    std::unordered_map<std::string, int> widths;
    explicit EngineFont(const QFont &f) : font(f), metrics(f) {}
};

constexpr std::size_t MAX_FONTS = 64;
constexpr std::size_t MAX_WIDTHS = 1024;          // per font
constexpr std::size_t MAX_MEASURED_LENGTH = 256;  // longer texts are measured every time

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

Size text_measure(const FontSpec &font_spec, const char *text, std::size_t count) {
    EngineFont &f = engine_font(font_spec);
    if (count > MAX_MEASURED_LENGTH) return {f.metrics.horizontalAdvance(decode(text, count)), f.metrics.height()};
    std::string key(text, count);
    auto it = f.widths.find(key);
    if (it == f.widths.end()) {
        if (f.widths.size() >= MAX_WIDTHS) f.widths.clear();
        it = f.widths.emplace(std::move(key), f.metrics.horizontalAdvance(decode(text, count))).first;
    }
    return {it->second, f.metrics.height()};
}

TextMetrics text_font_metrics(const FontSpec &font_spec) {
    const QFontMetrics &fm = engine_font(font_spec).metrics;
    return {fm.height(), std::max(0, fm.leading())};
}

void text_draw(const raster::Pixmap &pm, const FontSpec &font_spec, std::int64_t x, std::int64_t y, const char *text,
               std::size_t count, std::uint32_t color_pixel, bool opaque, std::uint32_t background_pixel) {
    if (!pm.pixels || pm.width <= 0 || pm.height <= 0) return;
    if (x < -FAR_LIMIT || x > FAR_LIMIT || y < -FAR_LIMIT || y > FAR_LIMIT) return;
    QPainter painter(&image_of(pm));
    const EngineFont &f = engine_font(font_spec);
    painter.setFont(f.font);
    painter.setPen(QColor::fromRgb(color_pixel));
    const QString s = decode(text, count);
    const QFontMetrics &fm = f.metrics;
    if (opaque)
        painter.fillRect(QRect(static_cast<int>(x), static_cast<int>(y), fm.horizontalAdvance(s), fm.height()),
                         QColor::fromRgb(background_pixel));
    painter.drawText(QPointF(static_cast<double>(x), static_cast<double>(y + fm.ascent())), s);
}

}  // namespace zemka::platform
