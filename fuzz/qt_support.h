// What the fuzz targets built against the whole library share: the
// toolkit on its offscreen platform and a canvas like the library's.
#pragma once

#include <cstdint>
#include <vector>

#include "fuzz/stubs.h"

namespace fuzz {

// Starts the toolkit on the offscreen platform (once per process).
void start_offscreen_toolkit();
// Gives the library a 601 x 540 canvas centred at (300, 250), painted black,
// without windows.
void make_canvas();
// The canvas's pixels, row by row, into out (whose storage is reused).
void canvas_pixels(std::vector<std::uint32_t> &out);
// The pixel value (0xffRRGGBB) at device point (x, y) of the canvas.
std::uint32_t canvas_pixel(int x, int y);

}  // namespace fuzz
