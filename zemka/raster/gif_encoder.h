// An animated GIF encoder for the shown picture: one global 256-colour
// table (the colours asked for first, exactly; then a colour cube and a
// grey ramp for whatever else appears, such as text edges), frames that
// store only the rectangle that changed, each shown until the next one's
// time. The bytes come out as they are ready, so a long animation never
// sits in memory whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace zemka::raster {

class GifEncoder {
public:
    // A width x height animation that loops for ever; exact_colors (pixel
    // values 0xffRRGGBB, at most 40) get table entries of their own.
    GifEncoder(int width, int height, const std::vector<std::uint32_t> &exact_colors);

    // The picture shown from time_ms on (milliseconds; a time before the
    // last one counts as the last one). A picture at the same time as the
    // one before replaces it; one equal to what is shown only keeps it on.
    void add_frame(const std::uint32_t *pixels, int stride, std::int64_t time_ms);
    // Ends the animation: the last frame shows for last_ms.
    void finish(int last_ms);

    // The bytes made since the last call.
    std::vector<std::uint8_t> take_bytes();
    std::size_t frames_written() const { return frames_written_; }
    bool has_pending_frame() const { return pending_; }

private:
    std::uint8_t index_of(std::uint32_t pixel);
    void write_pending(std::int64_t delay_ms);
    void write_lzw(const std::vector<std::uint8_t> &indexes);

    int width_, height_;
    std::vector<std::uint32_t> palette_;
    std::unordered_map<std::uint32_t, std::uint8_t> nearest_;
    std::vector<std::uint8_t> shown_;    // the picture as the frames so far leave it
    std::vector<std::uint8_t> current_;  // the picture being added, kept for its memory
    std::vector<std::uint8_t> out_;
    bool pending_ = false;  // a frame waits for its delay
    int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;  // its rectangle, right and bottom exclusive
    std::int64_t pending_time_ = 0;
    std::size_t frames_written_ = 0;
    bool finished_ = false;
};

}  // namespace zemka::raster
