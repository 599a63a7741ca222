// A canvas without windows: the drawing path draws into a 601 x 540
// memory surface centred at (300, 250), and every console line is captured.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zemka/raster/gdi.h"

namespace zemka::testing {

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The colour of canvas pixel (x, y) in device coordinates.
    gdi::ColorRef pixel(int x, int y) const;
    // The colour of the canvas pixel at a logical point.
    gdi::ColorRef logical_pixel(int x, int y) const { return pixel(300 + x, 250 - y); }
    // Paints the whole canvas one colour (no console line, unlike clearing).
    void paint_canvas(gdi::ColorRef color);
    // Number of canvas pixels of a colour inside [x0, x1) x [y0, y1).
    int count_pixels(gdi::ColorRef color, int x0 = 0, int y0 = 0, int x1 = 601, int y1 = 540) const;
    std::vector<std::uint32_t> snapshot() const;

    std::vector<std::string> lines;  // console lines in order, as formatted
};

}  // namespace zemka::testing
