// The GIF encoder read back by a decoder of the test's own: every frame's
// pixels, rectangle and delay, over pictures whose code streams end at
// every code width and run through full string tables.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "zemka/raster/gif_encoder.h"

namespace {

using zemka::raster::GifEncoder;

struct Decoded {
    int width = 0, height = 0;
    std::vector<std::uint32_t> palette;
    struct Frame {
        int left, top, width, height, delay_cs;
        std::vector<std::uint8_t> indexes;
    };
    std::vector<Frame> frames;
    bool trailer = false;
};

// A plain GIF LZW decoder, written from the format, not from the encoder.
std::vector<std::uint8_t> lzw_decode(const std::vector<std::uint8_t> &data, int min_size) {
    const int clear = 1 << min_size, end = clear + 1;
    std::vector<std::vector<std::uint8_t>> table;
    auto reset = [&] {
        table.assign(static_cast<std::size_t>(end + 1), {});
        for (int i = 0; i < clear; ++i) table[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i)};
    };
    reset();
    int width = min_size + 1, prev = -1;
    std::size_t bit = 0;
    std::vector<std::uint8_t> out;
    for (;;) {
        if (bit + static_cast<std::size_t>(width) > data.size() * 8) break;
        int code = 0;
        for (int i = 0; i < width; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
        if (code == clear) {
            reset();
            width = min_size + 1;
            prev = -1;
            continue;
        }
        if (code == end) return out;
        std::vector<std::uint8_t> entry;
        if (code < static_cast<int>(table.size()))
            entry = table[static_cast<std::size_t>(code)];
        else if (prev >= 0 && code == static_cast<int>(table.size())) {
            entry = table[static_cast<std::size_t>(prev)];
            entry.push_back(entry[0]);
        } else {
            ADD_FAILURE() << "code " << code << " beyond the table of " << table.size();
            return out;
        }
        out.insert(out.end(), entry.begin(), entry.end());
        if (prev >= 0 && table.size() < 4096) {
            std::vector<std::uint8_t> added = table[static_cast<std::size_t>(prev)];
            added.push_back(entry[0]);
            table.push_back(added);
            if (static_cast<int>(table.size()) == (1 << width) && width < 12) ++width;
        }
        prev = code;
    }
    ADD_FAILURE() << "no end code";
    return out;
}

Decoded decode(const std::vector<std::uint8_t> &g) {
    Decoded d;
    std::size_t at = 0;
    auto u8 = [&] { return at < g.size() ? g[at++] : std::uint8_t{0}; };
    auto u16 = [&] {
        const int lo = u8();
        return lo | u8() << 8;
    };
    EXPECT_EQ(std::string(g.begin(), g.begin() + 6), "GIF89a");
    at = 6;
    d.width = u16();
    d.height = u16();
    const int packed = u8();
    u8();
    u8();
    EXPECT_EQ(packed & 0x80, 0x80);
    for (int i = 0; i < 2 << (packed & 7); ++i) {
        const std::uint32_t r = u8(), gr = u8(), b = u8();
        d.palette.push_back(0xff000000u | r << 16 | gr << 8 | b);
    }
    int delay = -1;
    while (at < g.size()) {
        const int kind = u8();
        if (kind == 0x3b) {
            d.trailer = true;
            break;
        }
        if (kind == 0x21) {
            const int label = u8();
            std::vector<std::uint8_t> body;
            for (int n = u8(); n > 0; n = u8())
                for (int i = 0; i < n; ++i) body.push_back(u8());
            if (label == 0xf9 && body.size() == 4) delay = body[1] | body[2] << 8;
            continue;
        }
        EXPECT_EQ(kind, 0x2c);
        Decoded::Frame f{};
        f.left = u16();
        f.top = u16();
        f.width = u16();
        f.height = u16();
        EXPECT_EQ(u8(), 0);  // no local table
        const int min_size = u8();
        std::vector<std::uint8_t> data;
        for (int n = u8(); n > 0; n = u8())
            for (int i = 0; i < n; ++i) data.push_back(u8());
        f.indexes = lzw_decode(data, min_size);
        f.delay_cs = delay;
        delay = -1;
        d.frames.push_back(std::move(f));
    }
    return d;
}

TEST(GifEncoder, FramesDecodeToTheirPicturesRectanglesAndDelays) {
    const std::vector<std::uint32_t> exact{0xff000000u, 0xffffffffu, 0xffff0000u};
    std::mt19937 rng(7);
    // Sizes whose code streams end at different points of the widths.
    for (const int w : {1, 3, 17, 64, 211}) {
        const int h = w == 211 ? 97 : w;
        GifEncoder gif(w, h, exact);
        std::vector<std::uint32_t> picture(static_cast<std::size_t>(w) * h, 0xffffffffu);
        std::vector<std::vector<std::uint32_t>> shown;
        std::vector<int> times;
        for (int frame = 0; frame < 6; ++frame) {
            // Noise in a few colours, from nearly flat (long strings, full
            // tables) to busy; the picture changes in a box only.
            const int x0 = static_cast<int>(rng() % w), y0 = static_cast<int>(rng() % h);
            const int colours = 1 + frame * 2;
            for (int y = y0; y < h; ++y)
                for (int x = x0; x < w; ++x)
                    picture[static_cast<std::size_t>(y) * w + x] =
                        exact[rng() % exact.size()] ^ (static_cast<std::uint32_t>(rng() % colours) * 0x330033u);
            if (!shown.empty() && picture == shown.back())
                picture[static_cast<std::size_t>(y0) * w + x0] ^= 0x00ffffffu;  // every frame changes
            gif.add_frame(picture.data(), w, frame * 100);
            shown.push_back(picture);
            times.push_back(frame * 100);
        }
        gif.finish(1000);
        const Decoded d = decode(gif.take_bytes());
        ASSERT_TRUE(d.trailer);
        ASSERT_EQ(d.width, w);
        ASSERT_EQ(d.frames.size(), shown.size()) << w;
        std::vector<std::uint32_t> canvas(static_cast<std::size_t>(w) * h, 0);
        for (std::size_t i = 0; i < d.frames.size(); ++i) {
            const Decoded::Frame &f = d.frames[i];
            ASSERT_EQ(f.indexes.size(), static_cast<std::size_t>(f.width) * f.height) << "frame " << i << " of " << w;
            for (int y = 0; y < f.height; ++y)
                for (int x = 0; x < f.width; ++x)
                    canvas[static_cast<std::size_t>(f.top + y) * w + f.left + x] =
                        d.palette[f.indexes[static_cast<std::size_t>(y) * f.width + x]];
            // Exact colours stay exact; the others go to a near entry (the
            // nearest by weighted distance may miss one channel by twice a
            // cube step's half).
            for (std::size_t p = 0; p < canvas.size(); ++p) {
                const std::uint32_t want = shown[i][p];
                const bool is_exact = want == exact[0] || want == exact[1] || want == exact[2];
                if (is_exact) {
                    ASSERT_EQ(canvas[p], want) << "frame " << i << " pixel " << p;
                }
                for (const int shift : {0, 8, 16})
                    ASSERT_LE(std::abs(static_cast<int>((canvas[p] >> shift) & 0xff) - static_cast<int>((want >> shift) & 0xff)), 55);
            }
            EXPECT_EQ(f.delay_cs, i + 1 < d.frames.size() ? 10 : 100);
        }
    }
}

// Rows of noise of every length up to 1,500 pixels: the code streams end
// at each code width, just before and just after it grows, and after
// tables that filled up and started again.
TEST(GifEncoder, EveryLengthOfCodeStreamDecodes) {
    const std::vector<std::uint32_t> exact{0xff000000u, 0xffffffffu, 0xff0000ffu, 0xff00ff00u};
    std::mt19937 rng(11);
    for (int n = 1; n <= 1500; ++n) {
        std::vector<std::uint32_t> row(static_cast<std::size_t>(n));
        for (std::uint32_t &p : row) p = exact[rng() % exact.size()];
        GifEncoder gif(n, 1, exact);
        gif.add_frame(row.data(), n, 0);
        gif.finish(100);
        const Decoded d = decode(gif.take_bytes());
        ASSERT_EQ(d.frames.size(), 1u) << n;
        ASSERT_EQ(d.frames[0].indexes.size(), static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) ASSERT_EQ(d.palette[d.frames[0].indexes[static_cast<std::size_t>(i)]], row[static_cast<std::size_t>(i)]) << n;
    }
}

TEST(GifEncoder, UnchangedAndSameMomentPicturesMakeNoFrames) {
    const std::vector<std::uint32_t> exact{0xff000000u, 0xffffffffu};
    std::vector<std::uint32_t> picture(8 * 8, 0xffffffffu);
    GifEncoder gif(8, 8, exact);
    gif.add_frame(picture.data(), 8, 0);
    gif.add_frame(picture.data(), 8, 100);  // unchanged: the first stays on
    picture[9] = 0xff000000u;
    gif.add_frame(picture.data(), 8, 300);
    picture[18] = 0xff000000u;
    gif.add_frame(picture.data(), 8, 300);  // the same moment: one frame with both
    gif.finish(1000);
    const Decoded d = decode(gif.take_bytes());
    ASSERT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.frames[0].delay_cs, 30);
    const Decoded::Frame &f = d.frames[1];
    EXPECT_EQ(f.left, 1);
    EXPECT_EQ(f.top, 1);
    EXPECT_EQ(f.width, 2);
    EXPECT_EQ(f.height, 2);
    EXPECT_EQ(f.delay_cs, 100);
}

}  // namespace
