// The screen of a window that is on none (headless, the template): a copy
// of the pixels it was last given to present, kept apart from the window's
// surface, so that a test sees whether present is called with what the
// window shows. A back end that uses it lists kept_screen.cpp in its cmake
// file.
#pragma once

#include <cstdint>
#include <vector>

#include "zemka/raster/raster.h"

namespace zemka::platform {

class KeptScreen {
public:
    // Black, of the window's client size, until the first present.
    KeptScreen(int width, int height);
    // What present is given: kept whole, as a screen holds its own copy.
    void keep(const raster::Pixmap &pixels);
    // The kept pixels, rows of 0xffRRGGBB.
    void read(std::vector<std::uint32_t> &pixels, int &width, int &height) const;

private:
    std::vector<std::uint32_t> pixels_;
    int width_ = 0, height_ = 0;
};

}  // namespace zemka::platform
