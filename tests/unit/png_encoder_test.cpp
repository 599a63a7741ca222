// The PNG encoder against an independent decoder (the toolkit's): every
// pixel of pictures that exercise literals, short and long matches, near
// and far distances, and each row filter comes back as it was.
#include "zemka/raster/png_encoder.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <random>
#include <vector>

namespace zemka::platform {
namespace {

void expect_round_trip(const std::vector<std::uint32_t> &pixels, int width, int height, int stride) {
    const std::vector<std::uint8_t> png = raster::encode_png(pixels.data(), width, height, stride);
    QImage image;
    ASSERT_TRUE(image.loadFromData(png.data(), static_cast<int>(png.size()), "PNG"));
    ASSERT_EQ(image.width(), width);
    ASSERT_EQ(image.height(), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(image.pixel(x, y) & 0xffffffu, pixels[static_cast<std::size_t>(y * stride + x)] & 0xffffffu)
                << "at " << x << "," << y;
}

TEST(PngEncoder, PicturesComeBackPixelForPixel) {
    std::mt19937 random(7);
    const int width = 611, height = 67, stride = 640;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(stride) * height, 0xdeadbeefu);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t &p = pixels[static_cast<std::size_t>(y * stride + x)];
            if (y < 20)
                p = static_cast<std::uint32_t>(random());  // noise: literals only
            else if (y < 40)
                p = 0xff000000u | static_cast<std::uint32_t>(x * 0x010203);  // a gradient: the sub filter
            else if (y < 60)
                p = (x / 37 + y / 7) % 2 ? 0xff00ff00u : 0xffff0000u;  // blocks: long and far matches
            else
                p = pixels[static_cast<std::size_t>((y - 10) * stride + x)];  // rows repeated from far above
        }
    expect_round_trip(pixels, width, height, stride);
    expect_round_trip(pixels, 1, 1, stride);
    EXPECT_TRUE(raster::encode_png(pixels.data(), 0, 5, stride).empty());
    EXPECT_TRUE(raster::encode_png(pixels.data(), 5, 5, 4).empty());
}

}  // namespace
}  // namespace zemka::platform
