#include "support/canvas_fixture.h"

#include "zemka/console/console.h"
#include "zemka/state.h"

namespace zemka::testing {

namespace {
void capture_line(const char *text, std::size_t length, void *context) {
    static_cast<std::vector<std::string> *>(context)->emplace_back(text, length);
}
}  // namespace

void CanvasTest::SetUp() {
    canvas_dc = gdi::create_memory_dc(601, 540);
    centre_x = 300;
    centre_y = 250;
    paint_canvas(gdi::rgb(0, 0, 0));
    console::set_line_tap(capture_line, &lines);
}

void CanvasTest::TearDown() {
    console::set_line_tap(nullptr, nullptr);
    gdi::delete_dc(canvas_dc);
    canvas_dc = nullptr;
}

gdi::ColorRef CanvasTest::pixel(int x, int y) const {
    raster::Pixmap pm = gdi::dc_pixmap(canvas_dc);
    return gdi::color_of_pixel(pm.pixels[static_cast<std::size_t>(y) * pm.stride + x]);
}

void CanvasTest::paint_canvas(gdi::ColorRef color) {
    raster::fill_rect(gdi::dc_pixmap(canvas_dc), 0, 0, 601, 540, gdi::pixel_of(color));
}

int CanvasTest::count_pixels(gdi::ColorRef color, int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += pixel(x, y) == color;
    return n;
}

std::vector<std::uint32_t> CanvasTest::snapshot() const {
    raster::Pixmap pm = gdi::dc_pixmap(canvas_dc);
    std::vector<std::uint32_t> out;
    for (int y = 0; y < pm.height; ++y)
        out.insert(out.end(), pm.pixels + static_cast<std::size_t>(y) * pm.stride,
                   pm.pixels + static_cast<std::size_t>(y) * pm.stride + pm.width);
    return out;
}

}  // namespace zemka::testing
