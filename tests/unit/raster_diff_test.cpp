// Differential test: random rectangles, ellipses, triangles and lines drawn
// by our rasterizer and by QPainter (aliased) on a 601 x 540 picture,
// compared pixel by pixel.
//
// Mapping our conventions onto QPainter's:
// - QPainter's aliased fills sample pixel centres, like ours, so boxes map
//   directly: fillRect(l, t, w, h) and a QPainterPath ellipse in
//   QRectF(l, t, w, h) (drawEllipse with whole-number rectangles takes a
//   different, shifted route).
// - Our polygon vertices, line ends and strokes sit on pixel centres: the
//   point (x + 0.5, y + 0.5) in QPainter's coordinates. For even pen widths
//   we move the stroke half a pixel up and left, which puts it on (x, y).
// - Our one-pixel lines leave out their end point; QPainter paints it, so
//   the end pixel is added to our picture before comparing lines.
// - Our rectangle brush covers the whole box and the wide pen paints over
//   its border; on the QPainter side the box is filled with fillRect before
//   the outline is stroked.
//
// Tolerance, and why. Both sides sample the same geometry but decide near
// ties differently: QPainter snaps to 1/64 pixel and has its own rule for
// centres exactly on an edge, its ellipses and round caps are Bezier curves
// and polygons, and its cosmetic lines step with a bias of their own. So:
// 1. Every differing pixel is either part of a speck (at most four
//    connected differing pixels: a near tie at a sharp tip, a crevice
//    between two strokes) or lies along an edge: where one side has the
//    figure and the other background, both have background next to it and
//    the figure within two pixels; where they disagree on pen against brush,
//    one has the other's colour next to it. A shifted, missing, miscoloured
//    or stray figure fails this.
// 2. One-pixel lines are compared step by step: the same pixel at every
//    step except where the exact position is within 1/32 pixel of a half,
//    where they may be one apart.
// 3. The share of differing pixels among the pixels either side paints is
//    bounded per figure (plus 4 pixels for tiny figures) and, much tighter,
//    over all figures of a kind; see bound(). With the fixed seed the
//    overall shares are under 0.03% for rectangles, under 0.5% for the other
//    filled and wide-pen figures and for lines, and about 4% for one-pixel
//    ellipse outlines, where QPainter's outline sits half a pixel inside
//    ours on half of the arcs.
// The random figures avoid the degenerate shapes where those near ties
// decide whole runs of pixels (see random_figure).
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRect>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "zemka/raster/raster.h"

namespace {

using namespace zemka::raster;

constexpr int kW = 601, kH = 540;
constexpr std::uint32_t kBg = 0xff000000u;
constexpr std::uint32_t kPenColor = 0xffff2000u;
constexpr std::uint32_t kBrushColor = 0xff20c040u;

enum Kind { kRect, kEllipse, kTriangle, kLine, kKinds };
const char *const kKindName[kKinds] = {"rectangle", "ellipse", "triangle", "line"};

using Picture = std::vector<std::uint32_t>;

struct Figure {
    Kind kind;
    int x[3], y[3];  // box corners (l, t), (r, b) or vertices / end points
    int width;       // pen width; 1 is the one-pixel pen
    bool stroke, fill;
};

std::string describe(const Figure &f) {
    char buf[200];
    std::snprintf(buf, sizeof buf, "%s (%d,%d) (%d,%d) (%d,%d) width %d%s%s", kKindName[f.kind], f.x[0], f.y[0], f.x[1],
                  f.y[1], f.x[2], f.y[2], f.width, f.stroke ? " stroked" : "", f.fill ? " filled" : "");
    return buf;
}

Picture draw_ours(const Figure &f) {
    Picture px(static_cast<std::size_t>(kW) * kH, kBg);
    const Pixmap pm{px.data(), kW, kH, kW};
    Paint p;
    p.stroke = f.stroke;
    p.pen_width = f.width;
    p.pen_color = kPenColor;
    p.fill = f.fill;
    p.brush_color = kBrushColor;
    switch (f.kind) {
        case kRect: draw_rectangle(pm, p, f.x[0], f.y[0], f.x[1], f.y[1]); break;
        case kEllipse: draw_ellipse(pm, p, f.x[0], f.y[0], f.x[1], f.y[1]); break;
        case kTriangle: {
            const Point64 pts[3] = {{f.x[0], f.y[0]}, {f.x[1], f.y[1]}, {f.x[2], f.y[2]}};
            draw_polygon(pm, p, pts, 3);
            break;
        }
        case kLine:
            draw_line(pm, f.width, kPenColor, f.x[0], f.y[0], f.x[1], f.y[1]);
            // QPainter paints the end point of a cosmetic line (and nothing
            // for a zero-length one).
            if (f.width <= 1 && (f.x[0] != f.x[1] || f.y[0] != f.y[1])) set_pixel(pm, f.x[1], f.y[1], kPenColor);
            break;
        default: break;
    }
    return px;
}

QPen qt_pen(int width) {
    QPen pen{QColor::fromRgb(kPenColor)};
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (width <= 1) {
        pen.setWidth(0);
        pen.setCosmetic(true);
    } else {
        pen.setWidth(width);
    }
    return pen;
}

// A one-pixel line from pixel (x0, y0) to pixel (x1, y1) with QPainter's
// cosmetic pen. Lines of positive slope go through the pixel centres. Those
// of negative slope QPainter steps half a pixel further along the minor
// axis (through the centres they differ from ours on about 40% of their
// pixels; without the half pixel on the major axis, on 0-3%, as positive
// slopes do), so for them the half pixel is left out on the major axis: the
// comparison then checks the stepping itself, not that bias.
void qt_thin_line(QPainter &p, int x0, int y0, int x1, int y1) {
    const int dx = x1 - x0, dy = y1 - y0;
    double ox = 0.5, oy = 0.5;
    if ((dx < 0) != (dy < 0) && dx != 0 && dy != 0) {
        if (std::abs(dx) >= std::abs(dy))
            ox = 0.0;
        else
            oy = 0.0;
    }
    p.drawLine(QPointF(x0 + ox, y0 + oy), QPointF(x1 + ox, y1 + oy));
}

Picture draw_qt(const Figure &f) {
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(QColor::fromRgb(kBg));
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        const QBrush brush{QColor::fromRgb(kBrushColor)};
        // Strokes go through pixel centres; even widths half a pixel up-left.
        const double o = (f.width <= 1 || f.width % 2 == 1) ? 0.5 : 0.0;
        const int l = f.x[0], t = f.y[0], w = f.x[1] - f.x[0], h = f.y[1] - f.y[0];
        switch (f.kind) {
            case kRect:
                if (f.fill) p.fillRect(QRect(l, t, w, h), brush);
                if (f.stroke) {
                    p.setPen(qt_pen(f.width));
                    p.setBrush(Qt::NoBrush);
                    p.drawRect(QRectF(l + o, t + o, w - 1, h - 1));
                }
                break;
            case kEllipse: {
                QPainterPath figure;
                figure.addEllipse(QRectF(l, t, w, h));
                if (f.width <= 1 || !f.stroke) {
                    if (f.fill) p.fillPath(figure, brush);
                    if (f.stroke) {  // the one-pixel outline runs through the border pixels' centres
                        QPainterPath outline;
                        outline.addEllipse(QRectF(l + 0.5, t + 0.5, w - 1, h - 1));
                        p.setPen(qt_pen(1));
                        p.setBrush(Qt::NoBrush);
                        p.drawPath(outline);
                    }
                } else if (w == h) {
                    // Circle: inflating and deflating by half the pen is the
                    // exact stroke, so QPainter's own stroker must agree.
                    p.setPen(qt_pen(f.width));
                    p.setBrush(f.fill ? brush : QBrush(Qt::NoBrush));
                    p.drawPath(figure);
                } else {
                    // Other ellipses: the same ring geometry as ours, the
                    // ellipse grown by w/2 minus the ellipse shrunk by w/2.
                    const double hw = f.width / 2.0;
                    QPainterPath outer, inner;
                    outer.addEllipse(QRectF(l - hw, t - hw, w + f.width, h + f.width));
                    p.fillPath(outer, QBrush(QColor::fromRgb(kPenColor)));
                    if (w > f.width && h > f.width) {
                        inner.addEllipse(QRectF(l + hw, t + hw, w - f.width, h - f.width));
                        p.fillPath(inner, f.fill ? brush : QBrush(QColor::fromRgb(kBg)));
                    }
                }
                break;
            }
            case kTriangle: {
                if (f.fill) {
                    p.setPen(Qt::NoPen);
                    p.setBrush(brush);
                    // QPainter snaps aliased fills to 1/64 pixel and keeps
                    // centres on right and bottom edges; 1/64 up and left
                    // turns that into our top-left rule.
                    const double c = 0.5 - 1.0 / 64;
                    p.drawPolygon(QPolygonF({QPointF(f.x[0] + c, f.y[0] + c), QPointF(f.x[1] + c, f.y[1] + c),
                                             QPointF(f.x[2] + c, f.y[2] + c)}));
                }
                if (f.stroke && f.width <= 1) {
                    p.setPen(qt_pen(1));
                    for (int k = 0; k < 3; ++k) qt_thin_line(p, f.x[k], f.y[k], f.x[(k + 1) % 3], f.y[(k + 1) % 3]);
                } else if (f.stroke) {
                    // Edge by edge with round caps: the same shape as a
                    // round-joined closed outline, without the holes QPainter's
                    // stroker leaves inside very sharp joins.
                    p.setPen(qt_pen(f.width));
                    for (int k = 0; k < 3; ++k)
                        p.drawLine(QPointF(f.x[k] + o, f.y[k] + o),
                                   QPointF(f.x[(k + 1) % 3] + o, f.y[(k + 1) % 3] + o));
                }
                break;
            }
            case kLine:
                p.setPen(qt_pen(f.width));
                if (f.width <= 1)
                    qt_thin_line(p, f.x[0], f.y[0], f.x[1], f.y[1]);
                else
                    p.drawLine(QPointF(f.x[0] + o, f.y[0] + o), QPointF(f.x[1] + o, f.y[1] + o));
                break;
            default: break;
        }
    }
    Picture px(static_cast<std::size_t>(kW) * kH);
    for (int y = 0; y < kH; ++y) {
        const auto *line = reinterpret_cast<const std::uint32_t *>(img.constScanLine(y));
        std::copy(line, line + kW, px.begin() + static_cast<std::ptrdiff_t>(y) * kW);
    }
    return px;
}

constexpr int kWidthSlots = 12;

Figure random_figure(std::mt19937 &rng, int index) {
    auto uni = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Figure f{};
    f.kind = static_cast<Kind>(index % kKinds);
    // Pen widths 1..9, the one-pixel pen four times as often as the others;
    // each kind gets every width with every paint mode.
    static const int kWidths[kWidthSlots] = {1, 2, 3, 1, 4, 5, 1, 6, 7, 1, 8, 9};
    f.width = kWidths[(index / kKinds) % kWidthSlots];
    const int mode = (index / (kKinds * kWidthSlots)) % 3;  // 0 stroke, 1 stroke + fill, 2 fill only
    f.stroke = mode != 2;
    f.fill = mode != 0;
    // Positions reach past the picture's edges so clipping is compared too.
    const int cx = uni(-40, kW + 40), cy = uni(-40, kH + 40);
    switch (f.kind) {
        case kRect:
        case kEllipse: {
            // Ellipses are at least 6 pixels across (10 with the one-pixel pen)
            // and at most 8 times as long as wide. Near the tips of thinner
            // ones the curve runs almost along the sampling rows, which turns
            // the small error of QPainter's Bezier curves into whole pixels,
            // and the centre-sampled figure ends up to a/(8 b^2) pixels short
            // of the tip, where QPainter's cosmetic pen still draws.
            const bool ellipse = f.kind == kEllipse;
            const int least = !ellipse ? 2 : (f.stroke && f.width <= 1) ? 10 : 6;
            const int w = uni(least, index % 5 == 0 ? 400 : 120);
            // Every other wide-pen ellipse is a circle (see draw_qt).
            const bool circle = ellipse && f.stroke && f.width > 1 && index % 2 == 0;
            int h = circle ? w : uni(least, index % 7 == 0 ? 400 : 120);
            if (ellipse) h = std::clamp(h, std::max(least, w / 8), 8 * w);
            f.x[0] = cx - w / 2;
            f.y[0] = cy - h / 2;
            f.x[1] = f.x[0] + w;
            f.y[1] = f.y[0] + h;
            break;
        }
        case kTriangle:
            // At least 3 pixels thick and no angle under 10 degrees: along
            // slivers and needle tips the edges run within a fraction of a
            // pixel of many centres, and QPainter's 1/64-pixel snapping
            // decides whole runs of pixels there.
            for (;;) {
                for (int k = 0; k < 3; ++k) {
                    f.x[k] = cx + uni(-150, 150);
                    f.y[k] = cy + uni(-150, 150);
                }
                double side[3];
                for (int k = 0; k < 3; ++k) side[k] = std::hypot(f.x[(k + 1) % 3] - f.x[k], f.y[(k + 1) % 3] - f.y[k]);
                const double area2 = std::abs(static_cast<double>(f.x[1] - f.x[0]) * (f.y[2] - f.y[0]) -
                                              static_cast<double>(f.y[1] - f.y[0]) * (f.x[2] - f.x[0]));
                const double longest = std::max({side[0], side[1], side[2]});
                bool sharp = false;
                for (int k = 0; k < 3; ++k)  // the angle between sides k and k+2 meets at vertex k
                    sharp = sharp || area2 < std::sin(10 * 3.14159265358979 / 180) * side[k] * side[(k + 2) % 3];
                if (longest > 0 && area2 / longest >= 3 && !sharp) break;
            }
            break;
        case kLine: {
            const int reach = index % 3 == 0 ? 700 : 80;
            f.x[0] = cx;
            f.y[0] = cy;
            f.x[1] = cx + uni(-reach, reach);
            f.y[1] = cy + uni(-reach, reach);
            // QPainter draws nothing for a zero-length line; ours is a disc
            // with a wide pen (and nothing with the one-pixel pen).
            if (f.width > 1 && f.x[1] == f.x[0] && f.y[1] == f.y[0]) f.x[1] += 1;
            if (f.width <= 1) {
                // QPainter clips a cosmetic line before stepping it, which moves
                // its pixels; ours clip exactly (raster_test checks that), so
                // one-pixel lines stay inside the picture here.
                for (int k = 0; k < 2; ++k) {
                    f.x[k] = std::clamp(f.x[k], 0, kW - 1);
                    f.y[k] = std::clamp(f.y[k], 0, kH - 1);
                }
            }
            f.stroke = true;
            f.fill = false;
            break;
        }
        default: break;
    }
    return f;
}

enum Pen { kFillOnly, kThinPen, kWidePen, kPens };
const char *const kPenName[kPens] = {"brush only", "1px pen", "wide pen"};
Pen pen_of(const Figure &f) { return !f.stroke ? kFillOnly : f.width <= 1 ? kThinPen : kWidePen; }

// Bounds on the share of differing pixels among the pixels either picture
// paints: per figure (plus 4 pixels for tiny figures) and over all figures
// of a kind.
struct Bound {
    double figure, overall;
};
Bound bound(Kind kind, Pen pen) {
    if (kind == kEllipse) {
        // QPainter's cosmetic outline of an ellipse runs half a pixel inside
        // ours on the arcs of one slope sign (see qt_thin_line), so most of a
        // bare outline's pixels may sit one pixel apart.
        if (pen == kThinPen) return {0.65, 0.08};
        // Our ring is the ellipse grown and shrunk by half the pen; for other
        // ellipses than circles QPainter fills that same ring, as Bezier
        // curves, which moves the ends of nearly flat rows at the top and
        // bottom of a thin ring.
        if (pen == kWidePen) return {0.20, 0.015};
        return {0.10, 0.005};
    }
    // One-pixel lines are compared step by step instead (compare_line_steps).
    if (kind == kLine && pen == kThinPen) return {1.0, 1.0};
    // Outlines with edges whose every other step is an exact half (slopes
    // like 1/2) round those steps differently: up to about half of a bare
    // outline's pixels one step apart.
    if (pen == kThinPen) return {0.65, 0.02};
    // Edges at 45 degrees pass through a centre on every row, and QPainter
    // decides those ties its own way (moving its polygon by 1/64 along such
    // an edge changes nothing).
    return {0.15, 0.01};
}

struct Tally {
    long figures = 0, differing = 0, painted = 0;
    double worst = 0;
};

std::uint32_t at(const Picture &v, int x, int y) { return v[static_cast<std::size_t>(y) * kW + x]; }

// Whether colour c (for kFigure: pen or brush) is within r pixels of (x, y),
// i.e. in the (2r+1) x (2r+1) block around it. Where the block reaches past
// the picture's border it counts as found: what lies beyond is unknown.
constexpr std::uint32_t kFigure = 1;
bool near(const Picture &v, int x, int y, std::uint32_t c, int r = 1) {
    if (x - r < 0 || y - r < 0 || x + r >= kW || y + r >= kH) return true;
    for (int yy = y - r; yy <= y + r; ++yy)
        for (int xx = x - r; xx <= x + r; ++xx) {
            const std::uint32_t got = at(v, xx, yy);
            if (got == c || (c == kFigure && got != kBg)) return true;
        }
    return false;
}

// Sizes of the 8-connected groups of differing pixels, per pixel (0 where
// the pictures agree).
std::vector<int> group_sizes(const Picture &ours, const Picture &qt) {
    std::vector<int> size(ours.size(), 0);
    std::vector<int> todo, group;
    for (std::size_t start = 0; start < ours.size(); ++start) {
        if (ours[start] == qt[start] || size[start] != 0) continue;
        group.clear();
        todo.assign(1, static_cast<int>(start));
        size[start] = -1;
        while (!todo.empty()) {
            const int i = todo.back();
            todo.pop_back();
            group.push_back(i);
            const int x = i % kW, y = i / kW;
            for (int yy = std::max(0, y - 1); yy <= std::min(kH - 1, y + 1); ++yy)
                for (int xx = std::max(0, x - 1); xx <= std::min(kW - 1, x + 1); ++xx) {
                    const std::size_t j = static_cast<std::size_t>(yy) * kW + xx;
                    if (ours[j] != qt[j] && size[j] == 0) {
                        size[j] = -1;
                        todo.push_back(static_cast<int>(j));
                    }
                }
        }
        for (int i : group) size[static_cast<std::size_t>(i)] = static_cast<int>(group.size());
    }
    return size;
}

// Checks that every differing pixel is a speck or lies along an edge of the
// figure, and returns how many differ; counts the pixels either picture
// paints.
long compare_along_edges(const Figure &f, const Picture &ours, const Picture &qt, long &painted) {
    const std::vector<int> group = group_sizes(ours, qt);
    long differing = 0;
    painted = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const std::uint32_t a = at(ours, x, y), b = at(qt, x, y);
            painted += (a != kBg || b != kBg);
            if (a == b) continue;
            ++differing;
            bool ok;
            if (group[static_cast<std::size_t>(y) * kW + x] <= 4) {
                // A speck of at most four differing pixels: a near tie decided
                // the other way (the tip of a sharp corner, a crevice between
                // two strokes, the middle of a ring that is nearly a disc).
                ok = true;
            } else if (a == kBg || b == kBg) {
                // Figure against background: both pictures have background
                // next to it and the figure within two pixels (a sharp corner's
                // tip may start a row later when its edges pass through pixel
                // centres).
                ok = near(ours, x, y, kFigure, 2) && near(qt, x, y, kFigure, 2) && near(ours, x, y, kBg) &&
                     near(qt, x, y, kBg);
            } else {
                // Pen against brush: one has the other's colour next to it.
                ok = near(ours, x, y, b) || near(qt, x, y, a);
            }
            EXPECT_TRUE(ok) << describe(f) << ": ours " << std::hex << a << ", QPainter " << b << std::dec << " at "
                            << x << "," << y << ", neither a speck nor along an edge";
            if (!ok) return differing;
        }
    return differing;
}

// One-pixel lines, step by step: both paint one pixel per step of the major
// axis, and it is the same pixel except where the exact minor position is
// within 1/32 pixel of a half (a tie for us, decided by QPainter's 1/64-pixel
// snapping), where the two may be one apart.
void compare_line_steps(const Figure &f, const Picture &ours, const Picture &qt) {
    const int dx = f.x[1] - f.x[0], dy = f.y[1] - f.y[0];
    const bool xmajor = std::abs(dx) >= std::abs(dy);
    const int n = std::max(std::abs(dx), std::abs(dy)), m = std::min(std::abs(dx), std::abs(dy));
    const int sa = (xmajor ? dx : dy) < 0 ? -1 : 1;
    for (int i = 0; i <= n && n > 0; ++i) {
        const int major = (xmajor ? f.x[0] : f.y[0]) + sa * i;
        auto minors = [&](const Picture &v) {
            std::vector<int> found;
            for (int k = 0; k < (xmajor ? kH : kW); ++k)
                if ((xmajor ? at(v, major, k) : at(v, k, major)) != kBg) found.push_back(k);
            return found;
        };
        const std::vector<int> mo = minors(ours), mq = minors(qt);
        ASSERT_EQ(mo.size(), 1u) << describe(f) << " step " << i;
        ASSERT_EQ(mq.size(), 1u) << describe(f) << " step " << i << " (QPainter)";
        const long r = static_cast<long>(i) * m % n;  // exact minor offset i*m/n = q + r/n
        const bool near_half = std::abs(2 * r - n) * 16 <= n;
        if (near_half)
            EXPECT_LE(std::abs(mo[0] - mq[0]), 1) << describe(f) << " step " << i;
        else
            EXPECT_EQ(mo[0], mq[0]) << describe(f) << " step " << i;
    }
}

TEST(RasterDiff, AgreesWithQPainterOnRandomFigures) {
    // A fixed seed; ZEMKA_RASTER_DIFF_SEED picks another to explore with.
    const char *seed_env = std::getenv("ZEMKA_RASTER_DIFF_SEED");
    const unsigned seed = seed_env ? static_cast<unsigned>(std::strtoul(seed_env, nullptr, 10)) : 20240611u;
    std::mt19937 rng(seed);
    const int count = kKinds * kWidthSlots * 3 * 2;  // 288: every kind x width x paint mode, twice
    Tally tally[kKinds][kPens];
    for (int index = 0; index < count; ++index) {
        const Figure f = random_figure(rng, index);
        const Picture ours = draw_ours(f), qt = draw_qt(f);
        long painted = 0;
        const long differing = compare_along_edges(f, ours, qt, painted);
        const Pen pen = pen_of(f);
        if (f.kind == kLine && pen == kThinPen)
            compare_line_steps(f, ours, qt);
        else
            EXPECT_LE(static_cast<double>(differing), bound(f.kind, pen).figure * static_cast<double>(painted) + 4)
                << describe(f) << ": " << differing << " of " << painted << " pixels differ";
        const double share = painted ? static_cast<double>(differing) / static_cast<double>(painted) : 0.0;
        Tally &t = tally[f.kind][pen];
        ++t.figures;
        t.differing += differing;
        t.painted += painted;
        if (differing > 4) t.worst = std::max(t.worst, share);
    }
    for (int k = 0; k < kKinds; ++k)
        for (int pen = 0; pen < kPens; ++pen) {
            const Tally &t = tally[k][pen];
            if (t.figures == 0) continue;
            const double share = t.painted ? static_cast<double>(t.differing) / static_cast<double>(t.painted) : 0.0;
            std::printf(
                "[ raster diff ] %-9s %-10s %3ld figures, %8ld pixels painted, %6ld differ (%.3f%%, worst "
                "figure %.1f%%)\n",
                kKindName[k], kPenName[pen], t.figures, t.painted, t.differing, 100.0 * share, 100.0 * t.worst);
            EXPECT_LE(share, bound(static_cast<Kind>(k), static_cast<Pen>(pen)).overall)
                << kKindName[k] << ", " << kPenName[pen];
        }
}

}  // namespace
