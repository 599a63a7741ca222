// PNG encoding of 32-bit pixels (0xAARRGGBB; alpha ignored) as 8-bit RGB,
// with the library's own deflate, so that every back end writes the same
// bytes for the same picture and needs no image library.
#pragma once

#include <cstdint>
#include <vector>

namespace zemka::raster {

// The PNG file of width x height pixels, rows stride pixels apart. An empty
// result for sizes that are not positive.
std::vector<std::uint8_t> encode_png(const std::uint32_t *pixels, int width, int height, int stride);

}  // namespace zemka::raster
