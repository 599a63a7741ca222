// The text engine draws exactly what the toolkit's own drawText draws with
// the same font at the same place, however it gets there, and measures
// what the toolkit's metrics measure.
#include "zemka/platform/text_engine.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <string>
#include <vector>

#include "zemka/support/utf8.h"

namespace {

using namespace zemka::platform;

constexpr int W = 420;
constexpr int H = 160;

QFont font_of(const FontSpec &font_spec) {
    QFont font(font_spec.fixed_pitch ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans"));
    if (font_spec.fixed_pitch) font.setStyleHint(QFont::Monospace);
    font.setPixelSize(font_spec.pixel_height);
    font.setWeight(font_spec.weight >= 600 ? QFont::Bold : QFont::Normal);
    font.setKerning(false);
    return font;
}

QString decoded(const std::string &text) {
    if (zemka::support::valid_utf8(text.data(), text.size()))
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::vector<std::uint32_t> background() {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(W) * H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            pixels[static_cast<std::size_t>(y) * W + x] =
                0xff000000u | static_cast<std::uint32_t>((x * 2654435761u + y * 40503u) & 0xffffff);
    return pixels;
}

const std::vector<std::string> &texts() {
    static const std::vector<std::string> list = {"Click a weather type and a color, then click on the picture.",
                                                  "Rain",
                                                  "YELLOW",
                                                  "Cease!",
                                                  "white line from (12,-3) to (15,0), width 2",
                                                  "tab\there",
                                                  "a\nb",
                                                  "c\rd",
                                                  "bell \a",
                                                  "\x01\x02\x1b",
                                                  "\xc3\xbc"
                                                  "ber \xe2\x82\xac 5",
                                                  "\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d",
                                                  "abc \xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d def",
                                                  "\xd9\x85\xd8\xb1\xd8\xad\xd8\xa8\xd8\xa7 1 2",
                                                  "\xe4\xbd\xa0\xe5\xa5\xbd",
                                                  "\xf0\x9f\x98\x80 smile",
                                                  "\xff\xfe Latin-1",
                                                  "   ",
                                                  "fi ffl AV To",
                                                  std::string(300, 'x') + "long",
                                                  std::string(257, 'W')};
    return list;
}

TEST(TextEngine, DrawsWhatTheToolkitDraws) {
    int compared = 0;
    for (const FontSpec font_spec : {FontSpec{12, 400, false}, FontSpec{1, 400, false}, FontSpec{8, 400, false},
                                     FontSpec{13, 400, true}, FontSpec{40, 700, false}, FontSpec{127, 400, false}}) {
        const QFont font = font_of(font_spec);
        const QFontMetrics fm(font);
        for (const std::string &text : texts()) {
            for (const bool opaque : {false, true}) {
                for (const auto &[x, y] : std::vector<std::pair<int, int>>{{5, 20}, {-7, -3}, {W - 30, H - 10}}) {
                    std::vector<std::uint32_t> ours = background(), theirs = background();
                    const zemka::raster::Pixmap pm{ours.data(), W, H, W};
                    // Drawn twice: the second time from whatever the engine kept.
                    for (int round = 0; round < 2; ++round)
                        text_draw(pm, font_spec, x, y, text.data(), text.size(), 0xff102030u, opaque, 0xffe0d0c0u);
                    QImage image(reinterpret_cast<uchar *>(theirs.data()), W, H, W * 4, QImage::Format_RGB32);
                    for (int round = 0; round < 2; ++round) {
                        QPainter p(&image);
                        p.setFont(font);
                        p.setPen(QColor::fromRgb(0xff102030u));
                        const QString s = decoded(text);
                        if (opaque)
                            p.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), QColor::fromRgb(0xffe0d0c0u));
                        p.drawText(QPointF(x, y + fm.ascent()), s);
                    }
                    if (text == "Rain" && x == 5 && font_spec.pixel_height >= 8) {
                        EXPECT_NE(ours, background()) << "nothing drawn";
                    }
                    ASSERT_EQ(ours, theirs) << "size " << font_spec.pixel_height << ", \"" << text << "\" at " << x
                                            << "," << y << (opaque ? ", opaque" : "");
                    ++compared;
                }
            }
        }
    }
    EXPECT_GT(compared, 0);
}

TEST(TextEngine, MeasuresWhatTheToolkitMeasures) {
    for (const FontSpec font_spec : {FontSpec{12, 400, false}, FontSpec{13, 400, true}, FontSpec{30, 700, false}}) {
        const QFontMetrics fm(font_of(font_spec));
        for (const std::string &text : texts()) {
            for (int round = 0; round < 2; ++round) {
                const zemka::gdi::Size size = text_measure(font_spec, text.data(), text.size());
                EXPECT_EQ(size.cx, fm.horizontalAdvance(decoded(text))) << text;
                EXPECT_EQ(size.cy, fm.height());
            }
        }
        const zemka::gdi::TextMetrics tm = text_font_metrics(font_spec);
        EXPECT_EQ(tm.height, fm.height());
        EXPECT_EQ(tm.external_leading, std::max(0, fm.leading()));
    }
}

}  // namespace
