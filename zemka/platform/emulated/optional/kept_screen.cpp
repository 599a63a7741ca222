#include "zemka/platform/emulated/optional/kept_screen.h"

#include <algorithm>
#include <cstddef>

namespace zemka::platform {

KeptScreen::KeptScreen(int width, int height)
    : pixels_(static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0))),
      width_(std::max(width, 0)), height_(std::max(height, 0)) {}

void KeptScreen::keep(const raster::Pixmap &pixels) {
    width_ = pixels.width;
    height_ = pixels.height;
    pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y)
        std::copy_n(pixels.pixels + static_cast<std::ptrdiff_t>(y) * pixels.stride, width_,
                    pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_);
}

void KeptScreen::read(std::vector<std::uint32_t> &pixels, int &width, int &height) const {
    width = width_;
    height = height_;
    pixels.resize(pixels_.size());
    std::transform(pixels_.begin(), pixels_.end(), pixels.begin(), [](std::uint32_t p) { return p | 0xff000000u; });
}

}  // namespace zemka::platform
