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

}  // namespace

Size text_measure(const FontSpec &font_spec, const char *text, std::size_t count) {
    const QFontMetrics fm(make_font(font_spec));
    return {fm.horizontalAdvance(decode(text, count)), fm.height()};
}

TextMetrics text_font_metrics(const FontSpec &font_spec) {
    const QFontMetrics fm(make_font(font_spec));
    return {fm.height(), std::max(0, fm.leading())};
}

void text_draw(const raster::Pixmap &pm, const FontSpec &font_spec, std::int64_t x, std::int64_t y, const char *text,
               std::size_t count, std::uint32_t color_pixel, bool opaque, std::uint32_t background_pixel) {
    if (!pm.pixels || pm.width <= 0 || pm.height <= 0) return;
    if (x < -FAR_LIMIT || x > FAR_LIMIT || y < -FAR_LIMIT || y > FAR_LIMIT) return;
    QImage image(reinterpret_cast<uchar *>(pm.pixels), pm.width, pm.height, pm.stride * 4, QImage::Format_RGB32);
    QPainter painter(&image);
    const QFont font = make_font(font_spec);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(color_pixel));
    const QString s = decode(text, count);
    const QFontMetrics fm(font);
    if (opaque)
        painter.fillRect(QRect(static_cast<int>(x), static_cast<int>(y), fm.horizontalAdvance(s), fm.height()),
                         QColor::fromRgb(background_pixel));
    painter.drawText(QPointF(static_cast<double>(x), static_cast<double>(y + fm.ascent())), s);
}

}  // namespace zemka::platform
