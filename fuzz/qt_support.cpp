#include "fuzz/qt_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "zemka/raster/gdi.h"
#include "zemka/platform/windowing.h"
#include "zemka/state.h"

namespace fuzz {

void start_offscreen_toolkit() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    FUZZ_CHECK(zemka::platform::ensure_toolkit());
}

void make_canvas() {
    using namespace zemka;
    canvas_dc = gdi::create_memory_dc(601, 540);
    centre_x = 300;
    centre_y = 250;
    const raster::Pixmap pm = gdi::dc_pixmap(canvas_dc);
    FUZZ_CHECK(pm.width == 601 && pm.height == 540);
    raster::fill_rect(pm, 0, 0, 601, 540, 0xff000000u);
}

void canvas_pixels(std::vector<std::uint32_t> &out) {
    const zemka::raster::Pixmap pm = zemka::gdi::dc_pixmap(zemka::canvas_dc);
    out.resize(static_cast<std::size_t>(pm.width) * pm.height);
    for (int y = 0; y < pm.height; ++y)
        std::memcpy(&out[static_cast<std::size_t>(y) * pm.width], pm.pixels + static_cast<std::size_t>(y) * pm.stride,
                    static_cast<std::size_t>(pm.width) * sizeof(std::uint32_t));
}

std::uint32_t canvas_pixel(int x, int y) {
    const zemka::raster::Pixmap pm = zemka::gdi::dc_pixmap(zemka::canvas_dc);
    return pm.pixels[static_cast<std::size_t>(y) * pm.stride + x];
}

}  // namespace fuzz

// What the toolkit, the font configuration and the windowing libraries
// keep until the process ends is theirs: LeakSanitizer passes over it.
// Leaks of the library's own code are still reported.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libQt6Core\n"
           "leak:libQt6Gui\n"
           "leak:libQt6Widgets\n"
           "leak:libfontconfig\n"
           "leak:libfreetype\n"
           "leak:libglib-2.0\n"
           "leak:libxcb\n"
           "leak:libX11\n";
}
