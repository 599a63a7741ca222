// The span rasterizer: exact pixels of every primitive, clipping of far-off
// and huge coordinates, and the promise that nothing outside the pixmap is
// ever written.
#include "zemka/raster/raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using namespace zemka::raster;

constexpr std::uint32_t kBg = 0xff000000u;
constexpr std::uint32_t kPen = 0xffff0000u;
constexpr std::uint32_t kBrush = 0xff00ff00u;
constexpr std::uint32_t kOther = 0xff0000ffu;
constexpr std::uint32_t kGuard = 0xff123456u;

// A pixmap with its own storage, initialised to the background.
struct Canvas {
    int w, h;
    std::vector<std::uint32_t> px;
    Canvas(int width, int height) : w(width), h(height), px(static_cast<std::size_t>(width) * height, kBg) {}
    Pixmap pm() { return Pixmap{px.data(), w, h, w}; }
    std::uint32_t at(int x, int y) const { return px[static_cast<std::size_t>(y) * w + x]; }
    bool painted(int x, int y) const { return at(x, y) != kBg; }
    int count(std::uint32_t c) const { return static_cast<int>(std::count(px.begin(), px.end(), c)); }
    int count_painted() const { return static_cast<int>(px.size()) - count(kBg); }
};

Paint stroke_only(int width, std::uint32_t pen = kPen) {
    Paint p;
    p.stroke = true;
    p.pen_width = width;
    p.pen_color = pen;
    return p;
}
Paint fill_only(std::uint32_t brush = kBrush) {
    Paint p;
    p.fill = true;
    p.brush_color = brush;
    return p;
}
Paint stroke_fill(int width, std::uint32_t pen = kPen, std::uint32_t brush = kBrush) {
    Paint p = stroke_only(width, pen);
    p.fill = true;
    p.brush_color = brush;
    return p;
}

// The bounding box of the painted pixels: {minx, miny, maxx, maxy}.
struct Bounds {
    int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
};
Bounds painted_bounds(const Canvas &c) {
    Bounds b;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
            if (c.painted(x, y)) {
                b.x0 = std::min(b.x0, x);
                b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x);
                b.y1 = std::max(b.y1, y);
            }
    return b;
}

// ---------------------------------------------------------------------------
// Rectangles

TEST(RasterRect, FilledSquareCoversExactlyTheBox) {
    Canvas c(601, 540);
    draw_rectangle(c.pm(), stroke_fill(1, kPen, kPen), 290, 240, 311, 261);
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            const bool inside = x >= 290 && x <= 310 && y >= 240 && y <= 260;
            ASSERT_EQ(c.at(x, y), inside ? kPen : kBg) << x << "," << y;
        }
    EXPECT_EQ(c.count(kPen), 21 * 21);
}

TEST(RasterRect, OutlineIsTheBorderAndLeavesTheInsideAlone) {
    Canvas c(601, 540);
    std::fill(c.px.begin(), c.px.end(), kOther);
    draw_rectangle(c.pm(), stroke_only(1), 290, 240, 311, 261);
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            const bool in_box = x >= 290 && x <= 310 && y >= 240 && y <= 260;
            const bool border = in_box && (x == 290 || x == 310 || y == 240 || y == 260);
            ASSERT_EQ(c.at(x, y), border ? kPen : kOther) << x << "," << y;
        }
    EXPECT_EQ(c.count(kPen), 4 * 20);
}

TEST(RasterRect, FillWithOutlineUsesBrushInside) {
    Canvas c(64, 64);
    draw_rectangle(c.pm(), stroke_fill(1), 10, 20, 15, 24);
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            std::uint32_t want = kBg;
            if (x >= 10 && x <= 14 && y >= 20 && y <= 23)
                want = (x == 10 || x == 14 || y == 20 || y == 23) ? kPen : kBrush;
            ASSERT_EQ(c.at(x, y), want) << x << "," << y;
        }
    EXPECT_EQ(c.count(kBrush), 3 * 2);
}

TEST(RasterRect, BrushAloneCoversTheWholeBox) {
    Canvas c(64, 64);
    draw_rectangle(c.pm(), fill_only(), 3, 4, 13, 9);
    EXPECT_EQ(c.count(kBrush), 10 * 5);
    const Bounds b = painted_bounds(c);
    EXPECT_EQ(b.x0, 3);
    EXPECT_EQ(b.y0, 4);
    EXPECT_EQ(b.x1, 12);
    EXPECT_EQ(b.y1, 8);
}

TEST(RasterRect, SwappedBoundsAreOrderedAndEmptyBoxesPaintNothing) {
    Canvas a(64, 64), b(64, 64);
    draw_rectangle(a.pm(), stroke_fill(1), 5, 7, 20, 30);
    draw_rectangle(b.pm(), stroke_fill(1), 20, 30, 5, 7);
    EXPECT_EQ(a.px, b.px);

    Canvas e(64, 64);
    draw_rectangle(e.pm(), stroke_fill(1), 10, 10, 10, 30);
    draw_rectangle(e.pm(), stroke_fill(5), 10, 10, 30, 10);
    draw_ellipse(e.pm(), stroke_fill(3), 10, 10, 10, 30);
    EXPECT_EQ(e.count_painted(), 0);
}

TEST(RasterRect, ThinBoxesOneAndTwoPixelsWide) {
    Canvas c(32, 32);
    draw_rectangle(c.pm(), stroke_fill(1), 4, 4, 5, 10);  // one column
    EXPECT_EQ(c.count(kPen), 6);
    EXPECT_EQ(c.count(kBrush), 0);
    Canvas d(32, 32);
    draw_rectangle(d.pm(), stroke_fill(1), 4, 4, 6, 6);  // 2 x 2: all border
    EXPECT_EQ(d.count(kPen), 4);
    EXPECT_EQ(d.count(kBrush), 0);
}

TEST(RasterRect, WidePenStrokesRoundCornersAroundTheCornerPixels) {
    Canvas c(200, 200);
    draw_rectangle(c.pm(), stroke_only(5), 100, 100, 121, 111);
    // The path runs through pixels (100,100) .. (120,110); radius 2.5.
    const Bounds b = painted_bounds(c);
    EXPECT_EQ(b.x0, 98);
    EXPECT_EQ(b.y0, 98);
    EXPECT_EQ(b.x1, 122);
    EXPECT_EQ(b.y1, 112);
    EXPECT_FALSE(c.painted(98, 98));  // distance sqrt(8) > 2.5: round corner
    EXPECT_TRUE(c.painted(99, 98));   // distance sqrt(5)
    EXPECT_TRUE(c.painted(98, 99));
    EXPECT_FALSE(c.painted(122, 112));
    EXPECT_TRUE(c.painted(102, 102));  // inner edge of the ring: distance 2
    EXPECT_FALSE(c.painted(103, 103));
    EXPECT_FALSE(c.painted(110, 105));  // centre untouched without a brush
    Canvas f(200, 200);
    draw_rectangle(f.pm(), stroke_fill(5), 100, 100, 121, 111);
    EXPECT_EQ(f.at(110, 105), kBrush);
    EXPECT_EQ(f.at(103, 103), kBrush);
    EXPECT_EQ(f.at(100, 100), kPen);
}

// ---------------------------------------------------------------------------
// One-pixel lines

TEST(RasterLine, HorizontalLineStopsBeforeItsEndPoint) {
    Canvas c(64, 64);
    draw_line(c.pm(), 1, kPen, 10, 10, 20, 10);
    for (int x = 0; x < c.w; ++x) EXPECT_EQ(c.at(x, 10), (x >= 10 && x < 20) ? kPen : kBg) << x;
    EXPECT_EQ(c.count(kPen), 10);

    Canvas r(64, 64);  // the other direction paints 20 down to 11
    draw_line(r.pm(), 0, kPen, 20, 10, 10, 10);
    for (int x = 0; x < r.w; ++x) EXPECT_EQ(r.at(x, 10), (x > 10 && x <= 20) ? kPen : kBg) << x;
}

TEST(RasterLine, ZeroLengthThinLinePaintsNothing) {
    Canvas c(16, 16);
    draw_line(c.pm(), 1, kPen, 5, 5, 5, 5);
    draw_line(c.pm(), 0, kPen, 5, 5, 5, 5);
    EXPECT_EQ(c.count_painted(), 0);
}

TEST(RasterLine, VerticalAndDiagonalLines) {
    Canvas c(64, 64);
    draw_line(c.pm(), 1, kPen, 5, 5, 5, 15);
    for (int y = 0; y < c.h; ++y) EXPECT_EQ(c.at(5, y), (y >= 5 && y < 15) ? kPen : kBg) << y;
    EXPECT_EQ(c.count(kPen), 10);

    Canvas d(64, 64);
    draw_line(d.pm(), 1, kPen, 0, 0, 10, 10);
    draw_line(d.pm(), 1, kBrush, 40, 20, 30, 30);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(d.at(i, i), kPen);
        EXPECT_EQ(d.at(40 - i, 20 + i), kBrush);
    }
    EXPECT_EQ(d.count(kPen), 10);
    EXPECT_EQ(d.count(kBrush), 10);
}

TEST(RasterLine, HalfwayStepsRoundTowardsTheStart) {
    Canvas c(16, 16);
    draw_line(c.pm(), 1, kPen, 0, 0, 4, 2);  // y = i/2: halves at i = 1, 3
    EXPECT_EQ(c.at(0, 0), kPen);
    EXPECT_EQ(c.at(1, 0), kPen);
    EXPECT_EQ(c.at(2, 1), kPen);
    EXPECT_EQ(c.at(3, 1), kPen);
    EXPECT_EQ(c.count(kPen), 4);

    Canvas r(16, 16);
    draw_line(r.pm(), 1, kPen, 4, 2, 0, 0);
    EXPECT_EQ(r.at(4, 2), kPen);
    EXPECT_EQ(r.at(3, 2), kPen);
    EXPECT_EQ(r.at(2, 1), kPen);
    EXPECT_EQ(r.at(1, 1), kPen);
    EXPECT_EQ(r.count(kPen), 4);

    Canvas v(16, 16);  // y-major: x = 5 - i/2 going up
    draw_line(v.pm(), 1, kPen, 5, 9, 3, 5);
    EXPECT_EQ(v.at(5, 9), kPen);
    EXPECT_EQ(v.at(5, 8), kPen);
    EXPECT_EQ(v.at(4, 7), kPen);
    EXPECT_EQ(v.at(4, 6), kPen);
    EXPECT_EQ(v.count(kPen), 4);
}

// Every step of a one-pixel line paints the major coordinate start + i and
// the minor coordinate nearest to the true line, halves towards the start.
TEST(RasterLine, RandomLinesPaintOnePixelPerStepNearestTheTrueLine) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> cx(0, 120), cy(0, 100);
    for (int it = 0; it < 300; ++it) {
        const int x0 = cx(rng), y0 = cy(rng), x1 = cx(rng), y1 = cy(rng);
        Canvas c(121, 101);
        draw_line(c.pm(), 1, kPen, x0, y0, x1, y1);
        const int dx = x1 - x0, dy = y1 - y0;
        const int n = std::max(std::abs(dx), std::abs(dy));
        const bool xmajor = std::abs(dx) >= std::abs(dy);
        Canvas want(121, 101);
        for (int i = 0; i < n; ++i) {
            // minor offset: the integer k with |k*n - i*|d|| minimal, the smaller on a tie
            const int d = xmajor ? std::abs(dy) : std::abs(dx);
            int k = (i * d) / n;
            if (2 * (i * d - k * n) > n) ++k;
            const int sa = (xmajor ? dx : dy) < 0 ? -1 : 1, sb = (xmajor ? dy : dx) < 0 ? -1 : 1;
            const int x = xmajor ? x0 + sa * i : x0 + sb * k;
            const int y = xmajor ? y0 + sb * k : y0 + sa * i;
            want.px[static_cast<std::size_t>(y) * want.w + x] = kPen;
        }
        ASSERT_EQ(c.px, want.px) << x0 << "," << y0 << " -> " << x1 << "," << y1;
    }
}

// A line that starts and ends far outside paints in a small pixmap exactly
// what the same line paints there when it is drawn whole in a big one.
TEST(RasterLine, ClippedLinesMatchTheWholeLine) {
    const int bw = 1400, bh = 1100, ox = 600, oy = 500, sw = 61, sh = 54;
    std::mt19937 rng(777);
    std::uniform_int_distribution<int> bx(0, bw - 1), by(0, bh - 1);
    int crossing = 0;
    std::uniform_int_distribution<int> vx(ox, ox + sw - 1), vy(oy, oy + sh - 1);
    for (int it = 0; it < 400; ++it) {
        const int x0 = bx(rng), y0 = by(rng);
        int x1 = bx(rng), y1 = by(rng);
        if (it % 2) {  // aim through a point of the small view
            x1 = std::clamp(2 * vx(rng) - x0, 0, bw - 1);
            y1 = std::clamp(2 * vy(rng) - y0, 0, bh - 1);
        }
        Canvas big(bw, bh), small(sw, sh);
        draw_line(big.pm(), 1, kPen, x0, y0, x1, y1);
        draw_line(small.pm(), 1, kPen, x0 - ox, y0 - oy, x1 - ox, y1 - oy);
        bool any = false;
        for (int y = 0; y < sh; ++y)
            for (int x = 0; x < sw; ++x) {
                ASSERT_EQ(small.at(x, y), big.at(x + ox, y + oy))
                    << x0 << "," << y0 << " -> " << x1 << "," << y1 << " at " << x << "," << y;
                any = any || small.painted(x, y);
            }
        crossing += any;
    }
    EXPECT_GT(crossing, 20);  // enough of the lines actually cross the small view
}

// Stretching a line by a huge factor along its own direction keeps the
// pixels near its middle: P - K*D .. P + K*D paints the same there for
// K = 1000 and K = 2^40.
TEST(RasterLine, StretchedLinesKeepTheirPixels) {
    std::mt19937 rng(8080);
    std::uniform_int_distribution<int> px(0, 600), py(0, 539), d(-9, 9);
    const std::int64_t k_big = std::int64_t(1) << 40;
    for (int it = 0; it < 200; ++it) {
        const std::int64_t x = px(rng), y = py(rng), dx = d(rng), dy = d(rng);
        if (dx == 0 && dy == 0) continue;
        Canvas a(601, 540), b(601, 540);
        draw_line(a.pm(), 1, kPen, x - 1000 * dx, y - 1000 * dy, x + 1000 * dx, y + 1000 * dy);
        draw_line(b.pm(), 1, kPen, x - k_big * dx, y - k_big * dy, x + k_big * dx, y + k_big * dy);
        ASSERT_EQ(a.px, b.px) << x << "," << y << " d " << dx << "," << dy;
        EXPECT_TRUE(b.painted(static_cast<int>(x), static_cast<int>(y)));
    }
}

TEST(RasterLine, HugeCoordinatesClipExactly) {
    Canvas c(601, 540);
    // The full int64 diagonal: one pixel per step, x == y.
    draw_line(c.pm(), 1, kPen, INT64_MIN, INT64_MIN, INT64_MAX, INT64_MAX);
    for (int i = 0; i < 540; ++i) ASSERT_EQ(c.at(i, i), kPen) << i;
    EXPECT_EQ(c.count(kPen), 540);

    // Slope 1/3 through the origin, ends at +-3 * 2^40: y = round(x / 3).
    Canvas s(601, 540);
    const std::int64_t e = std::int64_t(1) << 40;
    draw_line(s.pm(), 1, kPen, -3 * e, -e, 3 * e, e);
    for (int x = 0; x < 601; ++x) {
        const int y = (x + 1) / 3;
        if (y < 540) {
            ASSERT_EQ(s.at(x, y), kPen) << x;
        }
    }
    EXPECT_EQ(s.count(kPen), 601);

    // Steep line from far below to far above, offset so it crosses at x = 300.
    Canvas v(601, 540);
    draw_line(v.pm(), 1, kPen, 300, std::int64_t(1) << 62, 300, -(std::int64_t(1) << 62));
    for (int y = 0; y < 540; ++y) ASSERT_EQ(v.at(300, y), kPen);
    EXPECT_EQ(v.count(kPen), 540);

    // Entirely outside: nothing.
    Canvas o(601, 540);
    draw_line(o.pm(), 1, kPen, INT64_MIN, 5, -1, 5);
    draw_line(o.pm(), 1, kPen, 601, INT64_MAX, INT64_MAX, INT64_MIN);
    draw_line(o.pm(), 1, kPen, -10, INT64_MIN, 1000, -1);
    EXPECT_EQ(o.count_painted(), 0);
}

// ---------------------------------------------------------------------------
// Wide lines

std::vector<int> rows_painted(const Canvas &c) {
    std::vector<int> rows;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
            if (c.painted(x, y)) {
                rows.push_back(y);
                break;
            }
    return rows;
}

TEST(RasterWideLine, HorizontalLinesPaintExactlyWidthRows) {
    const std::vector<std::vector<int>> want = {{49, 50}, {49, 50, 51}, {48, 49, 50, 51}, {48, 49, 50, 51, 52}};
    for (int w = 2; w <= 5; ++w) {
        Canvas c(300, 100);
        draw_line(c.pm(), w, kPen, 100, 50, 200, 50);
        EXPECT_EQ(rows_painted(c), want[static_cast<std::size_t>(w - 2)]) << "width " << w;
        // Vertical lines: the same columns.
        Canvas v(100, 300);
        draw_line(v.pm(), w, kPen, 50, 100, 50, 200);
        std::vector<int> cols;
        for (int x = 0; x < v.w; ++x)
            if (v.painted(x, 150)) cols.push_back(x);
        EXPECT_EQ(cols, want[static_cast<std::size_t>(w - 2)]) << "width " << w;
    }
}

TEST(RasterWideLine, RoundCapsReachHalfTheWidthBeyondTheEnds) {
    Canvas c(300, 100);
    draw_line(c.pm(), 3, kPen, 100, 50, 200, 50);
    // Centre row: distance 1.5 reaches one pixel past each end.
    for (int x = 0; x < c.w; ++x) EXPECT_EQ(c.at(x, 50), (x >= 99 && x <= 201) ? kPen : kBg) << x;
    // Rows 49 and 51: the end discs give sqrt(1 + 1) < 1.5 one pixel out too.
    EXPECT_TRUE(c.painted(99, 49));
    EXPECT_TRUE(c.painted(201, 51));
    EXPECT_FALSE(c.painted(98, 50));

    Canvas d(300, 100);
    draw_line(d.pm(), 7, kPen, 100, 50, 200, 50);
    EXPECT_TRUE(d.painted(97, 50));
    EXPECT_FALSE(d.painted(96, 50));
    EXPECT_FALSE(d.painted(97, 47));  // sqrt(18) > 3.5: the cap is round
    EXPECT_FALSE(d.painted(98, 47));  // sqrt(13) > 3.5
    EXPECT_TRUE(d.painted(99, 47));   // sqrt(10)
    EXPECT_TRUE(d.painted(98, 48));   // sqrt(8)
}

TEST(RasterWideLine, ZeroLengthWideLineIsADisc) {
    Canvas c(100, 100);
    draw_line(c.pm(), 5, kPen, 50, 50, 50, 50);
    // Radius 2.5 around pixel (50,50): dx^2 + dy^2 <= 6.25.
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            const int dx = x - 50, dy = y - 50;
            ASSERT_EQ(c.painted(x, y), dx * dx + dy * dy <= 6) << x << "," << y;
        }
    EXPECT_EQ(c.count(kPen), 21);

    Canvas e(100, 100);  // even width: the disc is centred on the corner (49.5, 49.5)
    draw_line(e.pm(), 4, kPen, 50, 50, 50, 50);
    EXPECT_EQ(painted_bounds(e).x0, 48);
    EXPECT_EQ(painted_bounds(e).x1, 51);
    EXPECT_EQ(painted_bounds(e).y0, 48);
    EXPECT_EQ(painted_bounds(e).y1, 51);
    EXPECT_EQ(e.count(kPen), 12);  // 4 x 4 without the corners at distance sqrt(4.5) > 2
}

// Pixel (x, y) is painted exactly when it lies within w/2 of the segment,
// checked pixel by pixel in exact integer arithmetic.
TEST(RasterWideLine, RandomCapsulesMatchThePointToSegmentDistance) {
    std::mt19937 rng(4242);
    std::uniform_int_distribution<int> cx(-20, 140), cy(-20, 120), cw(2, 12);
    for (int it = 0; it < 200; ++it) {
        const int x0 = cx(rng), y0 = cy(rng), w = cw(rng);
        const int x1 = it % 3 ? cx(rng) : x0 + cw(rng) - 7, y1 = it % 3 ? cy(rng) : y0 + cw(rng) - 7;
        Canvas c(121, 101);
        draw_line(c.pm(), w, kPen, x0, y0, x1, y1);
        const std::int64_t s = (w % 2 == 0) ? -1 : 0;  // even widths: half a pixel up and left
        const std::int64_t ax = 2 * x0 + s, ay = 2 * y0 + s, bx = 2 * x1 + s, by = 2 * y1 + s;
        const std::int64_t dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy, r2 = std::int64_t(w) * w;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) {
                const std::int64_t px = 2 * x - ax, py = 2 * y - ay;
                const std::int64_t t = px * dx + py * dy;
                bool in;
                if (t <= 0 || l2 == 0) {
                    in = px * px + py * py <= r2;
                } else if (t >= l2) {
                    const std::int64_t qx = 2 * x - bx, qy = 2 * y - by;
                    in = qx * qx + qy * qy <= r2;
                } else {
                    const std::int64_t cr = px * dy - py * dx;
                    in = cr * cr <= r2 * l2;
                }
                ASSERT_EQ(c.painted(x, y), in)
                    << "line " << x0 << "," << y0 << " -> " << x1 << "," << y1 << " w " << w << " at " << x << "," << y;
            }
    }
}

TEST(RasterWideLine, HugeCoordinatesAndWidths) {
    Canvas c(601, 540);
    draw_line(c.pm(), 5, kPen, INT64_MIN, 100, INT64_MAX, 100);
    EXPECT_EQ(rows_painted(c), (std::vector<int>{98, 99, 100, 101, 102}));
    EXPECT_EQ(c.count(kPen), 5 * 601);

    Canvas all(601, 540);  // a width of INT_MAX covers everything near the line
    draw_line(all.pm(), INT_MAX, kPen, -(std::int64_t(1) << 33), 7, std::int64_t(1) << 33, -3);
    EXPECT_EQ(all.count(kPen), 601 * 540);

    Canvas far(601, 540);  // a disc of radius about 2^30 centred 2^32 away misses
    draw_line(far.pm(), INT_MAX, kPen, std::int64_t(1) << 32, 0, std::int64_t(1) << 32, 0);
    EXPECT_EQ(far.count_painted(), 0);

    Canvas diag(601, 540);  // wide line along the whole int64 diagonal
    draw_line(diag.pm(), 3, kPen, INT64_MIN, INT64_MIN, INT64_MAX, INT64_MAX);
    for (int i = 0; i < 540; ++i) ASSERT_EQ(diag.at(i, i), kPen) << i;
    EXPECT_FALSE(diag.painted(300, 100));
}

TEST(RasterWideLine, NegativeWidthsCountAsTheirAbsoluteValue) {
    Canvas a(100, 100), b(100, 100);
    draw_line(a.pm(), 6, kPen, 10, 20, 80, 70);
    draw_line(b.pm(), -6, kPen, 10, 20, 80, 70);
    EXPECT_EQ(a.px, b.px);
    Canvas m(100, 100);
    draw_line(m.pm(), INT_MIN, kPen, 10, 20, 10, 20);
    EXPECT_EQ(m.count(kPen), 100 * 100);
    Canvas t(100, 100);
    draw_line(t.pm(), -1, kPen, 10, 20, 15, 20);
    EXPECT_EQ(t.count(kPen), 5);
}

// ---------------------------------------------------------------------------
// Ellipses

// Inside test for the centre of pixel (x, y), straight from the definition.
bool in_ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, int x, int y) {
    const std::int64_t A = r - l, B = b - t;
    const std::int64_t X = 2 * x + 1 - (l + r), Y = 2 * y + 1 - (t + b);
    return X * X * B * B + Y * Y * A * A <= A * A * B * B;
}

TEST(RasterEllipse, FillMatchesTheInsideTest) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> pos(-30, 130), size(1, 90);
    for (int it = 0; it < 150; ++it) {
        const int l = pos(rng), t = pos(rng), w = size(rng), h = size(rng);
        Canvas c(160, 160);
        draw_ellipse(c.pm(), fill_only(), l, t, l + w, t + h);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                ASSERT_EQ(c.painted(x, y), in_ellipse(l, t, l + w, t + h, x, y))
                    << l << "," << t << " " << w << "x" << h << " at " << x << "," << y;
    }
}

TEST(RasterEllipse, InscribedInItsBoxAndSymmetric) {
    for (const auto &box :
         std::vector<std::vector<int>>{{100, 100, 141, 121}, {100, 100, 140, 120}, {10, 10, 13, 12}}) {
        Canvas c(200, 200);
        draw_ellipse(c.pm(), stroke_fill(1), box[0], box[1], box[2], box[3]);
        const Bounds b = painted_bounds(c);
        EXPECT_EQ(b.x0, box[0]);
        EXPECT_EQ(b.y0, box[1]);
        EXPECT_EQ(b.x1, box[2] - 1);
        EXPECT_EQ(b.y1, box[3] - 1);
        for (int y = box[1]; y < box[3]; ++y)
            for (int x = box[0]; x < box[2]; ++x) {
                const int mx = box[0] + box[2] - 1 - x, my = box[1] + box[3] - 1 - y;
                ASSERT_EQ(c.at(x, y), c.at(mx, y)) << x << "," << y;
                ASSERT_EQ(c.at(x, y), c.at(x, my)) << x << "," << y;
            }
    }
}

TEST(RasterEllipse, OnePixelOutlineIsTheFigureBorder) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> pos(-20, 100), size(1, 70);
    for (int it = 0; it < 100; ++it) {
        const int l = pos(rng), t = pos(rng), r = l + size(rng), b = t + size(rng);
        Canvas fig(120, 110), out(120, 110), both(120, 110);
        draw_ellipse(fig.pm(), fill_only(), l, t, r, b);
        draw_ellipse(out.pm(), stroke_only(1), l, t, r, b);
        draw_ellipse(both.pm(), stroke_fill(1), l, t, r, b);
        for (int y = 0; y < fig.h; ++y)
            for (int x = 0; x < fig.w; ++x) {
                const bool in = in_ellipse(l, t, r, b, x, y);
                const bool border = in && !(in_ellipse(l, t, r, b, x - 1, y) && in_ellipse(l, t, r, b, x + 1, y) &&
                                            in_ellipse(l, t, r, b, x, y - 1) && in_ellipse(l, t, r, b, x, y + 1));
                ASSERT_EQ(out.at(x, y), border ? kPen : kBg) << x << "," << y;
                ASSERT_EQ(both.at(x, y), border ? kPen : in ? kBrush : kBg) << x << "," << y;
            }
    }
}

TEST(RasterEllipse, WidePenRingIsCentredOnTheOutline) {
    Canvas c(300, 300);
    draw_ellipse(c.pm(), stroke_fill(4), 100, 100, 160, 140);
    // The outer ellipse is the box grown by 2 on every side.
    const Bounds b = painted_bounds(c);
    EXPECT_EQ(b.x0, 98);
    EXPECT_EQ(b.y0, 98);
    EXPECT_EQ(b.x1, 161);
    EXPECT_EQ(b.y1, 141);
    // Across the middle row (centre y = 120): ring pixels 98..101 and 158..161.
    for (int x = 95; x < 165; ++x) {
        std::uint32_t want = kBg;
        if (x >= 98 && x <= 161) want = (x <= 101 || x >= 158) ? kPen : kBrush;
        EXPECT_EQ(c.at(x, 119), want) << x;
    }
    // Circle: the ring holds exactly the centres with 28 <= distance <= 32.
    Canvas d(300, 300);
    draw_ellipse(d.pm(), stroke_only(4), 100, 100, 160, 160);
    for (int y = 0; y < d.h; ++y)
        for (int x = 0; x < d.w; ++x) {
            const int dx = 2 * x + 1 - 260, dy = 2 * y + 1 - 260;
            const int d2 = dx * dx + dy * dy;
            ASSERT_EQ(d.painted(x, y), d2 <= 64 * 64 && d2 > 56 * 56) << x << "," << y;
        }
}

TEST(RasterEllipse, HugeEllipses) {
    const std::int64_t r = std::int64_t(1) << 31;
    Canvas c(601, 540);
    draw_ellipse(c.pm(), fill_only(), 300 - r, 270 - r, 300 + r, 270 + r);
    EXPECT_EQ(c.count(kBrush), 601 * 540);

    Canvas o(601, 540);  // the outline is far away: nothing on the pixmap
    draw_ellipse(o.pm(), stroke_only(1), 300 - r, 270 - r, 300 + r, 270 + r);
    draw_ellipse(o.pm(), stroke_only(INT_MAX / 2), 300 - r, 270 - r, 300 + r, 270 + r);
    EXPECT_EQ(o.count_painted(), 0);

    Canvas w(601, 540);  // radius 2^30, pen INT_MAX: the ring reaches the centre
    draw_ellipse(w.pm(), stroke_only(INT_MAX), 300 - r / 2, 270 - r / 2, 300 + r / 2, 270 + r / 2);
    EXPECT_EQ(w.count(kPen), 601 * 540);

    Canvas e(601, 540);  // the whole int64 plane: everything is inside
    draw_ellipse(e.pm(), stroke_fill(1), INT64_MIN, INT64_MIN, INT64_MAX, INT64_MAX);
    EXPECT_EQ(e.count(kBrush), 601 * 540);

    // A flat ellipse 2^34 wide through the pixmap: rows near its middle are full.
    Canvas f(601, 540);
    const std::int64_t big = std::int64_t(1) << 33;
    draw_ellipse(f.pm(), fill_only(), -big, 200, big, 300);
    EXPECT_EQ(rows_painted(f).front(), 200);
    EXPECT_EQ(rows_painted(f).back(), 299);
    EXPECT_EQ(f.count(kBrush), 100 * 601);

    // A circle of radius 2^33 whose rightmost point is x = 300 on row 270:
    // over the pixmap's rows its edge stays within 2^-15 pixels of x = 300,
    // so it fills exactly the columns left of 300.
    Canvas g(601, 540);
    const std::int64_t R = std::int64_t(1) << 33;
    draw_ellipse(g.pm(), fill_only(), 300 - 2 * R, 270 - R, 300, 270 + R);
    for (int y = 0; y < g.h; ++y)
        for (int x = 0; x < g.w; ++x) ASSERT_EQ(g.painted(x, y), x < 300) << x << "," << y;
}

// ---------------------------------------------------------------------------
// Polygons

TEST(RasterPolygon, SquareFillsItsPixelsAndOutlinePaintsEachVertexOnce) {
    const Point64 sq[4] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    Canvas f(40, 40);
    draw_polygon(f.pm(), fill_only(), sq, 4);
    for (int y = 0; y < f.h; ++y)
        for (int x = 0; x < f.w; ++x)
            ASSERT_EQ(f.painted(x, y), x >= 10 && x < 20 && y >= 10 && y < 20) << x << "," << y;

    Canvas s(40, 40);
    draw_polygon(s.pm(), stroke_fill(1), sq, 4);
    // The outline is the four one-pixel lines: columns 10 and 20, rows 10 and 20.
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x) {
            const bool on =
                (x >= 10 && x <= 20 && (y == 10 || y == 20)) || (y >= 10 && y <= 20 && (x == 10 || x == 20));
            const bool inside = x > 10 && x < 20 && y > 10 && y < 20;
            ASSERT_EQ(s.at(x, y), on ? kPen : inside ? kBrush : kBg) << x << "," << y;
        }
}

TEST(RasterPolygon, TrianglesSharingAnEdgeNeitherOverlapNorLeaveGaps) {
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> cx(-30, 150), cy(-30, 130);
    for (int it = 0; it < 200; ++it) {
        const Point64 a{cx(rng), cy(rng)}, b{cx(rng), cy(rng)}, p{cx(rng), cy(rng)}, q{cx(rng), cy(rng)};
        // p and q on opposite sides of the shared edge a-b, so the quad a p b q is simple.
        const auto side = [&](const Point64 &v) { return (b.x - a.x) * (v.y - a.y) - (b.y - a.y) * (v.x - a.x); };
        if (side(p) == 0 || side(q) == 0 || (side(p) > 0) == (side(q) > 0)) continue;
        // Then the quadrilateral a p b q is simple and the union of the two.
        const Point64 quad[4] = {a, p, b, q};
        const Point64 t1[3] = {a, b, p}, t2[3] = {b, a, q};
        Canvas c1(121, 101), c2(121, 101), cq(121, 101);
        draw_polygon(c1.pm(), fill_only(kPen), t1, 3);
        draw_polygon(c2.pm(), fill_only(kBrush), t2, 3);
        draw_polygon(cq.pm(), fill_only(kOther), quad, 4);
        for (int y = 0; y < c1.h; ++y)
            for (int x = 0; x < c1.w; ++x) {
                ASSERT_FALSE(c1.painted(x, y) && c2.painted(x, y)) << "overlap at " << x << "," << y;
                ASSERT_EQ(c1.painted(x, y) || c2.painted(x, y), cq.painted(x, y)) << "gap at " << x << "," << y;
            }
    }
}

TEST(RasterPolygon, FanAroundACentreCoversTheDiscWithoutOverlap) {
    // Eight triangles around (60, 50) share their edges pairwise.
    const Point64 centre{60, 50};
    const Point64 rim[8] = {{100, 50}, {88, 79}, {60, 91}, {31, 78}, {19, 50}, {32, 21}, {60, 9}, {89, 22}};
    std::vector<int> hits(121 * 101, 0);
    for (int k = 0; k < 8; ++k) {
        const Point64 tri[3] = {centre, rim[k], rim[(k + 1) % 8]};
        Canvas c(121, 101);
        draw_polygon(c.pm(), fill_only(), tri, 3);
        for (std::size_t i = 0; i < hits.size(); ++i) hits[i] += c.px[i] != kBg;
    }
    Canvas whole(121, 101);
    draw_polygon(whole.pm(), fill_only(), rim, 8);
    for (std::size_t i = 0; i < hits.size(); ++i) ASSERT_EQ(hits[i], whole.px[i] != kBg ? 1 : 0) << i;
}

TEST(RasterPolygon, CentresOnEdgesFollowTheTopLeftRule) {
    // A diagonal edge through the centres of the pixels (x, x).
    const Point64 lower[3] = {{0, 0}, {40, 40}, {0, 40}};  // the diagonal is its right edge
    const Point64 upper[3] = {{0, 0}, {40, 0}, {40, 40}};  // the diagonal is its left edge
    Canvas lo(40, 40), up(40, 40);
    draw_polygon(lo.pm(), fill_only(), lower, 3);
    draw_polygon(up.pm(), fill_only(), upper, 3);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(lo.painted(x, y), x < y) << x << "," << y;
            ASSERT_EQ(up.painted(x, y), x >= y) << x << "," << y;
        }
}

// The one-pixel outline hugs the fill: no background pixel is enclosed
// between them (flood the background in from the border and look for any
// background pixel it did not reach).
TEST(RasterPolygon, OutlineAndFillLeaveNoGapBetweenThem) {
    std::mt19937 rng(606);
    std::uniform_int_distribution<int> cx(2, 97), cy(2, 87);
    for (int it = 0; it < 300; ++it) {
        const Point64 tri[3] = {{cx(rng), cy(rng)}, {cx(rng), cy(rng)}, {cx(rng), cy(rng)}};
        Canvas c(100, 90);
        draw_polygon(c.pm(), stroke_fill(1), tri, 3);
        std::vector<char> seen(c.px.size(), 0);
        std::vector<int> todo;
        auto push = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= c.w || y >= c.h) return;
            const std::size_t i = static_cast<std::size_t>(y) * c.w + x;
            if (seen[i] || c.px[i] != kBg) return;
            seen[i] = 1;
            todo.push_back(static_cast<int>(i));
        };
        for (int x = 0; x < c.w; ++x) push(x, 0), push(x, c.h - 1);
        for (int y = 0; y < c.h; ++y) push(0, y), push(c.w - 1, y);
        while (!todo.empty()) {
            const int i = todo.back();
            todo.pop_back();
            const int x = i % c.w, y = i / c.w;
            push(x + 1, y), push(x - 1, y), push(x, y + 1), push(x, y - 1);
        }
        for (std::size_t i = 0; i < c.px.size(); ++i)
            ASSERT_TRUE(c.px[i] != kBg || seen[i])
                << "gap at " << i % c.w << "," << i / c.w << " in triangle " << tri[0].x << "," << tri[0].y << " "
                << tri[1].x << "," << tri[1].y << " " << tri[2].x << "," << tri[2].y;
    }
}

TEST(RasterPolygon, EvenOddRuleForSelfIntersections) {
    // A five-pointed star drawn in one stroke: the centre is outside.
    const Point64 star[5] = {{50, 5}, {79, 95}, {2, 38}, {98, 38}, {21, 95}};
    Canvas c(100, 100);
    draw_polygon(c.pm(), fill_only(), star, 5);
    EXPECT_FALSE(c.painted(50, 50));
    EXPECT_TRUE(c.painted(50, 20));
    EXPECT_TRUE(c.painted(20, 42));
}

TEST(RasterPolygon, HugeVerticesGiveTheSamePixelsAsSmallOnes) {
    const std::int64_t g = std::int64_t(1) << 61;
    // The same edges at two scales: x = y and x = 3y through the origin.
    const Point64 big1[3] = {{0, 0}, {2 * g, 2 * g}, {0, 2 * g}};
    const Point64 small1[3] = {{0, 0}, {1000, 1000}, {0, 1000}};
    const Point64 big2[3] = {{0, 0}, {3 * g, g}, {0, g}};
    const Point64 small2[3] = {{0, 0}, {3000, 1000}, {0, 1000}};
    const Point64 big3[3] = {{-3 * g, -g}, {3 * g, g}, {-3 * g, g}};
    const Point64 small3[3] = {{-3000, -1000}, {3000, 1000}, {-3000, 1000}};
    const Point64 big4[3] = {{600, 0}, {600 - 2 * g, 2 * g}, {600, 2 * g}};  // x = 600 - y, leaning left
    const Point64 small4[3] = {{600, 0}, {-400, 1000}, {600, 1000}};
    const Point64 *bigs[4] = {big1, big2, big3, big4};
    const Point64 *smalls[4] = {small1, small2, small3, small4};
    for (int k = 0; k < 4; ++k) {
        for (const Paint &p : {fill_only(), stroke_fill(1)}) {
            Canvas b(601, 540), s(601, 540);
            draw_polygon(b.pm(), p, bigs[k], 3);
            draw_polygon(s.pm(), p, smalls[k], 3);
            ASSERT_EQ(b.px, s.px) << k;
            EXPECT_GT(s.count(kBrush), 1000);
        }
    }
    // A triangle around everything fills the whole pixmap.
    const std::int64_t e = std::int64_t(1) << 62;
    const Point64 around[3] = {{-e, -e}, {e, -e}, {0, e}};
    Canvas all(601, 540);
    draw_polygon(all.pm(), stroke_fill(INT_MAX), around, 3);
    EXPECT_EQ(all.count_painted(), 601 * 540);
    Canvas fill(601, 540);
    draw_polygon(fill.pm(), stroke_fill(1), around, 3);
    EXPECT_EQ(fill.count(kBrush), 601 * 540);
    const Point64 extreme[4] = {
        {INT64_MIN, INT64_MIN}, {INT64_MAX, INT64_MIN}, {INT64_MAX, INT64_MAX}, {INT64_MIN, INT64_MAX}};
    Canvas ex(601, 540);
    draw_polygon(ex.pm(), stroke_fill(1), extreme, 4);
    EXPECT_EQ(ex.count(kBrush), 601 * 540);
}

TEST(RasterPolygon, WidePenStrokesEveryEdgeWithRoundJoins) {
    const Point64 tri[3] = {{20, 20}, {80, 20}, {50, 70}};
    Canvas c(100, 100), e(100, 100);
    draw_polygon(c.pm(), stroke_only(5), tri, 3);
    for (int k = 0; k < 3; ++k) draw_line(e.pm(), 5, kPen, tri[k].x, tri[k].y, tri[(k + 1) % 3].x, tri[(k + 1) % 3].y);
    EXPECT_EQ(c.px, e.px);
    EXPECT_FALSE(c.painted(18, 18));  // round join at (20,20): sqrt(8) > 2.5
    EXPECT_TRUE(c.painted(18, 19));
}

TEST(RasterPolygon, DegenerateInputPaintsNothingOrTheObvious) {
    Canvas c(50, 50);
    const Point64 one[1] = {{10, 10}};
    draw_polygon(c.pm(), stroke_fill(1), nullptr, 3);
    draw_polygon(c.pm(), stroke_fill(1), one, 0);
    draw_polygon(c.pm(), stroke_fill(1), one, -5);
    draw_polygon(c.pm(), stroke_fill(1), one, 1);
    EXPECT_EQ(c.count_painted(), 0);
    draw_polygon(c.pm(), stroke_fill(3), one, 1);  // a wide pen: a disc of radius 1.5
    EXPECT_EQ(c.count(kPen), 9);
    const Point64 two[2] = {{5, 30}, {40, 30}};
    Canvas d(50, 50);
    draw_polygon(d.pm(), stroke_fill(1), two, 2);  // there and back: one row, no fill
    EXPECT_EQ(d.count(kPen), 36);
    EXPECT_EQ(d.count(kBrush), 0);
}

// ---------------------------------------------------------------------------
// Clipping: a sub-pixmap inside a guarded buffer.

TEST(RasterClip, NothingIsWrittenOutsideThePixmap) {
    const int gw = 140, gh = 120, ox = 20, oy = 30, w = 97, h = 61;
    std::vector<std::uint32_t> buf(static_cast<std::size_t>(gw) * gh, kGuard);
    const Pixmap pm{buf.data() + oy * gw + ox, w, h, gw};
    auto inside = [&](int x, int y) { return x >= ox && x < ox + w && y >= oy && y < oy + h; };

    std::mt19937 rng(31337);
    std::uniform_int_distribution<int> coord(-200, 300), width(0, 12), kind(0, 5);
    const std::int64_t huge[] = {INT64_MIN, INT64_MAX, -(std::int64_t(1) << 33), std::int64_t(1) << 33, -1, 0, 96, 97};
    std::uniform_int_distribution<int> pick(0, 7);
    std::uint32_t color = 0xff000001u;
    for (int it = 0; it < 2000; ++it) {
        auto c = [&]() -> std::int64_t { return it % 4 == 3 ? huge[pick(rng)] : coord(rng); };
        const std::int64_t a = c(), b = c(), d = c(), e = c();
        int pw = width(rng);
        if (it % 50 == 7) pw = INT_MAX;
        if (it % 50 == 8) pw = INT_MIN;
        Paint p = stroke_fill(pw, color, color + 1);
        color += 2;
        switch (kind(rng)) {
            case 0: draw_line(pm, pw, color, a, b, d, e); break;
            case 1: draw_rectangle(pm, p, a, b, d, e); break;
            case 2: draw_ellipse(pm, p, a, b, d, e); break;
            case 3: {
                const Point64 pts[4] = {{a, b}, {d, e}, {c(), c()}, {c(), c()}};
                draw_polygon(pm, p, pts, 3 + it % 2);
                break;
            }
            case 4: fill_span(pm, b, a, d, color); break;
            default:
                set_pixel(pm, a, b, color);
                fill_rect(pm, a, b, d, e, color);
                break;
        }
    }
    int touched = 0;
    for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x) {
            if (!inside(x, y))
                ASSERT_EQ(buf[static_cast<std::size_t>(y) * gw + x], kGuard) << x << "," << y;
            else
                touched += buf[static_cast<std::size_t>(y) * gw + x] != kGuard;
        }
    EXPECT_GT(touched, w * h / 2);
}

TEST(RasterClip, SpansRectsAndPixelsClip) {
    Canvas c(20, 10);
    fill_span(c.pm(), 3, -5, 4, kPen);
    fill_span(c.pm(), 4, 18, INT64_MAX, kPen);
    fill_span(c.pm(), -1, 0, 20, kPen);
    fill_span(c.pm(), 10, 0, 20, kPen);
    fill_span(c.pm(), 5, 7, 7, kPen);
    fill_span(c.pm(), 5, 9, 6, kPen);
    EXPECT_EQ(c.count(kPen), 4 + 2);
    fill_rect(c.pm(), INT64_MIN, 8, INT64_MAX, INT64_MAX, kBrush);
    EXPECT_EQ(c.count(kBrush), 2 * 20);
    set_pixel(c.pm(), 20, 0, kOther);
    set_pixel(c.pm(), -1, 0, kOther);
    set_pixel(c.pm(), 0, 10, kOther);
    set_pixel(c.pm(), 19, 9, kOther);
    EXPECT_EQ(c.count(kOther), 1);
    EXPECT_EQ(c.at(19, 9), kOther);
}

TEST(RasterClip, UnusablePixmapsAreLeftAlone) {
    std::vector<std::uint32_t> buf(100, kGuard);
    const Pixmap bad[] = {
        {nullptr, 10, 10, 10}, {buf.data(), 0, 10, 10}, {buf.data(), 10, -1, 10}, {buf.data(), 10, 10, 5}};
    const Point64 tri[3] = {{0, 0}, {9, 0}, {0, 9}};
    for (const Pixmap &pm : bad) {
        fill_span(pm, 0, 0, 10, kPen);
        fill_rect(pm, 0, 0, 10, 10, kPen);
        set_pixel(pm, 1, 1, kPen);
        draw_line(pm, 3, kPen, 0, 0, 9, 9);
        draw_rectangle(pm, stroke_fill(1), 0, 0, 10, 10);
        draw_ellipse(pm, stroke_fill(1), 0, 0, 10, 10);
        draw_polygon(pm, stroke_fill(1), tri, 3);
        scroll_vertical(pm, 2);
    }
    EXPECT_EQ(std::count(buf.begin(), buf.end(), kGuard), 100);
}

// ---------------------------------------------------------------------------
// Scrolling

TEST(RasterScroll, RowsMoveAndUncoveredRowsKeepTheirPixels) {
    const int gw = 12, w = 10, h = 8;
    auto make = [&]() {
        std::vector<std::uint32_t> buf(static_cast<std::size_t>(gw) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < gw; ++x)
                buf[static_cast<std::size_t>(y) * gw + x] =
                    x < w ? 0xff000000u + static_cast<std::uint32_t>(y * 100 + x) : kGuard;
        return buf;
    };
    auto old_value = [&](int x, int y) { return 0xff000000u + static_cast<std::uint32_t>(y * 100 + x); };
    for (int dy : {3, -3, 1, -1, 7, -7, 8, -8, 100, 0}) {
        auto buf = make();
        scroll_vertical(Pixmap{buf.data(), w, h, gw}, dy);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < gw; ++x) {
                std::uint32_t want;
                if (x >= w)
                    want = kGuard;
                else if (y + dy >= 0 && y + dy < h)
                    want = old_value(x, y + dy);
                else
                    want = old_value(x, y);
                ASSERT_EQ(buf[static_cast<std::size_t>(y) * gw + x], want) << "dy " << dy << " at " << x << "," << y;
            }
    }
    auto buf = make();
    scroll_vertical(Pixmap{buf.data(), w, h, gw}, INT64_MIN);
    scroll_vertical(Pixmap{buf.data(), w, h, gw}, INT64_MAX);
    EXPECT_EQ(buf, make());
}

}  // namespace
