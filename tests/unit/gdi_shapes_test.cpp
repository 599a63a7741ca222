// Lines and ellipses drawn through a drawing context paint exactly the
// pixels that the rasterizer paints for them, whatever the context keeps
// between figures.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "zemka/raster/gdi.h"
#include "zemka/raster/raster.h"

namespace {

using namespace zemka;

constexpr int W = 97;
constexpr int H = 71;

void line_through_dc(gdi::Dc *dc, int width, gdi::ColorRef color, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                     std::int64_t y1) {
    gdi::Handle pen = gdi::create_pen(width, color);
    gdi::Handle old = gdi::select_object(dc, pen);
    gdi::move_to(dc, x0, y0);
    gdi::line_to(dc, x1, y1);
    gdi::select_object(dc, old);
    gdi::delete_object(pen);
}

TEST(GdiShapes, LinesSameAsTheRasterizerAnywhere) {
    gdi::Dc *dc = gdi::create_memory_dc(W, H);
    std::vector<std::uint32_t> expected(static_cast<std::size_t>(W) * H);
    const raster::Pixmap reference{expected.data(), W, H, W};
    raster::fill_rect(gdi::dc_pixmap(dc), 0, 0, W, H, 0xff000000u);
    raster::fill_rect(reference, 0, 0, W, H, 0xff000000u);
    std::mt19937 rng(20261208);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int i = 0; i < 20000; ++i) {
        // Few shapes at many places (shapes come back), some long or far
        // lines, widths from the one-pixel pen to wider than any kept shape.
        const int width = i % 3 == 0 ? pick(-3, 12) : pick(2, 4);
        const int dx = i % 5 == 0 ? pick(-90, 90) : i % 5 == 1 ? pick(-18, 18) : pick(-5, 5);
        const int dy = i % 5 == 0 ? pick(-90, 90) : i % 5 == 1 ? pick(-18, 18) : pick(-5, 5);
        std::int64_t x0 = pick(-40, W + 40), y0 = pick(-40, H + 40);
        if (i % 97 == 0) x0 += 5000;
        if (i % 89 == 0) y0 -= 100000;
        const gdi::ColorRef color =
            gdi::rgb(static_cast<unsigned>(i & 0xff), static_cast<unsigned>((i >> 8) & 0xff), 77);
        line_through_dc(dc, width, color, x0, y0, x0 + dx, y0 + dy);
        raster::draw_line(reference, width < 0 ? -width : width, gdi::pixel_of(color), x0, y0, x0 + dx, y0 + dy);
        const raster::Pixmap got = gdi::dc_pixmap(dc);
        bool same = true;
        for (int y = 0; y < H && same; ++y)
            for (int x = 0; x < W && same; ++x)
                same = got.pixels[static_cast<std::size_t>(y) * got.stride + x] ==
                       expected[static_cast<std::size_t>(y) * W + x];
        ASSERT_TRUE(same) << "line " << i << ": width " << width << " from (" << x0 << "," << y0 << ") by (" << dx
                          << "," << dy << ")";
    }
    gdi::delete_dc(dc);
}

TEST(GdiShapes, EllipsesSameAsTheRasterizerAnywhere) {
    gdi::Dc *dc = gdi::create_memory_dc(W, H);
    std::vector<std::uint32_t> expected(static_cast<std::size_t>(W) * H);
    const raster::Pixmap reference{expected.data(), W, H, W};
    raster::fill_rect(gdi::dc_pixmap(dc), 0, 0, W, H, 0xff000000u);
    raster::fill_rect(reference, 0, 0, W, H, 0xff000000u);
    std::mt19937 rng(81220262);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int i = 0; i < 20000; ++i) {
        const int w = i % 7 == 0 ? pick(-5, 90) : pick(1, 12);
        const int h = i % 7 == 0 ? pick(-5, 90) : pick(1, 12);
        const int pen_width = i % 4 == 0 ? pick(-2, 12) : pick(0, 3);
        const bool stroke = i % 5 != 0, fill = i % 3 != 0;
        std::int64_t left = pick(-40, W + 40), top = pick(-40, H + 40);
        if (i % 97 == 0) left -= 7000;
        const gdi::ColorRef pen_color = gdi::rgb(static_cast<unsigned>(i & 0xff), 10, 200);
        const gdi::ColorRef brush_color = gdi::rgb(30, static_cast<unsigned>(i & 0xff), 90);
        gdi::Handle pen = stroke ? gdi::create_pen(pen_width, pen_color) : gdi::stock_object(gdi::Stock::NullPen);
        gdi::Handle brush = fill ? gdi::create_solid_brush(brush_color) : gdi::stock_object(gdi::Stock::NullBrush);
        gdi::Handle old_pen = gdi::select_object(dc, pen), old_brush = gdi::select_object(dc, brush);
        gdi::ellipse(dc, left, top, left + w, top + h);
        gdi::select_object(dc, old_pen);
        gdi::select_object(dc, old_brush);
        gdi::delete_object(pen);
        gdi::delete_object(brush);
        raster::Paint paint;
        paint.stroke = stroke;
        paint.pen_width = pen_width < 0 ? -pen_width : pen_width;
        paint.pen_color = gdi::pixel_of(pen_color);
        paint.fill = fill;
        paint.brush_color = gdi::pixel_of(brush_color);
        raster::draw_ellipse(reference, paint, left, top, left + w, top + h);
        const raster::Pixmap got = gdi::dc_pixmap(dc);
        bool same = true;
        for (int y = 0; y < H && same; ++y)
            for (int x = 0; x < W && same; ++x)
                same = got.pixels[static_cast<std::size_t>(y) * got.stride + x] ==
                       expected[static_cast<std::size_t>(y) * W + x];
        ASSERT_TRUE(same) << "ellipse " << i << ": " << w << " x " << h << " at (" << left << "," << top << "), pen "
                          << (stroke ? pen_width : -99) << (fill ? ", filled" : "");
    }
    gdi::delete_dc(dc);
}

}  // namespace
