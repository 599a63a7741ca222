#include "zemka/raster/gif_encoder.h"

#include <algorithm>
#include <array>

namespace zemka::raster {

namespace {

constexpr int MAX_EXACT = 24;
constexpr std::size_t MAX_REMEMBERED = 1 << 16;  // colours whose nearest entry is kept
constexpr int MIN_DELAY_CS = 2;  // browsers show shorter delays as a tenth of a second
constexpr int MAX_DELAY_CS = 65535;

void put16(std::vector<std::uint8_t> &out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xff));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xff));
}

int channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xffu); }

// The codes of GIF's variable-width LZW, packed from the lowest bit up and
// cut into sub-blocks of at most 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<std::uint8_t> &out) : out_(out) {}
    void put(int code, int width) {
        bits_ |= static_cast<std::uint32_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            byte(static_cast<std::uint8_t>(bits_ & 0xff));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    void finish() {
        if (count_ > 0) byte(static_cast<std::uint8_t>(bits_ & 0xff));
        flush_block();
        out_.push_back(0);  // the block terminator
    }

private:
    void byte(std::uint8_t b) {
        block_[block_size_++] = b;
        if (block_size_ == 255) flush_block();
    }
    void flush_block() {
        if (block_size_ == 0) return;
        out_.push_back(static_cast<std::uint8_t>(block_size_));
        out_.insert(out_.end(), block_.begin(), block_.begin() + block_size_);
        block_size_ = 0;
    }
    std::vector<std::uint8_t> &out_;
    std::uint32_t bits_ = 0;
    int count_ = 0;
    std::array<std::uint8_t, 255> block_{};
    int block_size_ = 0;
};

// The string table: (prefix code, next byte) -> code, open addressing.
class StringTable {
public:
    StringTable() { clear(); }
    void clear() { keys_.fill(-1); }
    int find(int key) const {
        for (std::size_t i = slot(key);; i = (i + 1) & MASK) {
            if (keys_[i] == key) return codes_[i];
            if (keys_[i] < 0) return -1;
        }
    }
    void add(int key, int code) {
        std::size_t i = slot(key);
        while (keys_[i] >= 0) i = (i + 1) & MASK;
        keys_[i] = key;
        codes_[i] = static_cast<std::int16_t>(code);
    }

private:
    static constexpr std::size_t SIZE = 8192;  // twice the codes there can be
    static constexpr std::size_t MASK = SIZE - 1;
    static std::size_t slot(int key) { return (static_cast<std::uint32_t>(key) * 2654435761u >> 19) & MASK; }
    std::array<int, SIZE> keys_{};
    std::array<std::int16_t, SIZE> codes_{};
};

}  // namespace

GifEncoder::GifEncoder(int width, int height, const std::vector<std::uint32_t> &exact_colors)
    : width_(std::clamp(width, 1, 65535)), height_(std::clamp(height, 1, 65535)) {
    for (std::size_t i = 0; i < exact_colors.size() && i < MAX_EXACT; ++i) palette_.push_back(exact_colors[i] | 0xff000000u);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette_.push_back(0xff000000u | static_cast<std::uint32_t>(r * 51) << 16 |
                                   static_cast<std::uint32_t>(g * 51) << 8 | static_cast<std::uint32_t>(b * 51));
    for (int k = 1; palette_.size() < 256; ++k) {
        const auto v = static_cast<std::uint32_t>(k * 255 / 17);
        palette_.push_back(0xff000000u | v << 16 | v << 8 | v);
    }
    palette_.resize(256);
    for (std::size_t i = 0; i < palette_.size(); ++i) nearest_.emplace(palette_[i], static_cast<std::uint8_t>(i));

    const char magic[] = "GIF89a";
    out_.insert(out_.end(), magic, magic + 6);
    put16(out_, width_);
    put16(out_, height_);
    out_.push_back(0xf7);  // a global table of 256 entries, 8 bits a channel
    out_.push_back(0);     // background: entry 0
    out_.push_back(0);     // square pixels
    for (const std::uint32_t c : palette_) {
        out_.push_back(static_cast<std::uint8_t>(channel(c, 16)));
        out_.push_back(static_cast<std::uint8_t>(channel(c, 8)));
        out_.push_back(static_cast<std::uint8_t>(channel(c, 0)));
    }
    // Loops for ever.
    const std::uint8_t loop[] = {0x21, 0xff, 0x0b, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 0x03, 0x01, 0, 0, 0};
    out_.insert(out_.end(), loop, loop + sizeof loop);
}

std::uint8_t GifEncoder::index_of(std::uint32_t pixel) {
    pixel |= 0xff000000u;
    if (auto it = nearest_.find(pixel); it != nearest_.end()) return it->second;
    int best = 0;
    long best_distance = -1;
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        const long dr = channel(pixel, 16) - channel(palette_[i], 16);
        const long dg = channel(pixel, 8) - channel(palette_[i], 8);
        const long db = channel(pixel, 0) - channel(palette_[i], 0);
        const long d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
        if (best_distance < 0 || d < best_distance) {
            best_distance = d;
            best = static_cast<int>(i);
        }
    }
    if (nearest_.size() >= MAX_REMEMBERED) {
        nearest_.clear();
        for (std::size_t i = 0; i < palette_.size(); ++i) nearest_.emplace(palette_[i], static_cast<std::uint8_t>(i));
    }
    nearest_.emplace(pixel, static_cast<std::uint8_t>(best));
    return static_cast<std::uint8_t>(best);
}

void GifEncoder::add_frame(const std::uint32_t *pixels, int stride, std::int64_t time_ms) {
    if (finished_ || !pixels) return;
    if (pending_) time_ms = std::max(time_ms, pending_time_);
    std::vector<std::uint8_t> &current = current_;
    current.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    std::uint32_t last_pixel = 0;
    std::uint8_t last_index = index_of(0);
    for (int y = 0; y < height_; ++y) {
        const std::uint32_t *row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        std::uint8_t *to = current.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
        for (int x = 0; x < width_; ++x) {
            if (row[x] != last_pixel) {
                last_pixel = row[x];
                last_index = index_of(row[x]);
            }
            to[x] = last_index;
        }
    }
    if (!pending_) {
        // The first frame is the whole picture.
        shown_.swap(current);
        left_ = top_ = 0;
        right_ = width_;
        bottom_ = height_;
        pending_ = true;
        pending_time_ = time_ms;
        return;
    }
    int left = width_, top = height_, right = -1, bottom = -1;
    for (int y = 0; y < height_; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
        for (int x = 0; x < width_; ++x)
            if (shown_[row + static_cast<std::size_t>(x)] != current[row + static_cast<std::size_t>(x)]) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    if (right < 0) return;  // nothing changed: the frame shown stays on
    if (time_ms == pending_time_) {
        // The same moment: the waiting frame takes in this change too.
        left_ = std::min(left_, left);
        top_ = std::min(top_, top);
        right_ = std::max(right_, right + 1);
        bottom_ = std::max(bottom_, bottom + 1);
        shown_.swap(current);
        return;
    }
    write_pending(time_ms - pending_time_);
    left_ = left;
    top_ = top;
    right_ = right + 1;
    bottom_ = bottom + 1;
    shown_.swap(current);
    pending_time_ = time_ms;
}

void GifEncoder::write_pending(std::int64_t delay_ms) {
    const auto delay = static_cast<int>(std::clamp<std::int64_t>((delay_ms + 5) / 10, MIN_DELAY_CS, MAX_DELAY_CS));
    // The frame stays when the next one comes (disposal 1): later frames
    // only draw what changed.
    const std::uint8_t control[] = {0x21, 0xf9, 0x04, 0x04};
    out_.insert(out_.end(), control, control + sizeof control);
    put16(out_, delay);
    out_.push_back(0);  // no transparent entry
    out_.push_back(0);
    out_.push_back(0x2c);
    put16(out_, left_);
    put16(out_, top_);
    put16(out_, right_ - left_);
    put16(out_, bottom_ - top_);
    out_.push_back(0);  // the global table, not interlaced
    std::vector<std::uint8_t> indexes;
    indexes.reserve(static_cast<std::size_t>(right_ - left_) * static_cast<std::size_t>(bottom_ - top_));
    for (int y = top_; y < bottom_; ++y) {
        const auto row = shown_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
        indexes.insert(indexes.end(), row + left_, row + right_);
    }
    write_lzw(indexes);
    ++frames_written_;
}

void GifEncoder::write_lzw(const std::vector<std::uint8_t> &indexes) {
    constexpr int MIN_CODE_SIZE = 8, CLEAR = 256, END = 257, FIRST_FREE = 258, MAX_CODES = 4096;
    out_.push_back(MIN_CODE_SIZE);
    CodeWriter codes(out_);
    StringTable table;
    int width = MIN_CODE_SIZE + 1, next = FIRST_FREE;
    codes.put(CLEAR, width);
    if (indexes.empty()) {
        codes.put(END, width);
        codes.finish();
        return;
    }
    int prefix = indexes[0];
    for (std::size_t i = 1; i < indexes.size(); ++i) {
        const int byte = indexes[i];
        const int key = prefix << 8 | byte;
        if (const int code = table.find(key); code >= 0) {
            prefix = code;
            continue;
        }
        codes.put(prefix, width);
        if (next < MAX_CODES) {
            table.add(key, next++);
            // A decoder reads the next code one entry behind the encoder.
            if (next > (1 << width) && width < 12) ++width;
        } else {
            codes.put(CLEAR, width);
            table.clear();
            next = FIRST_FREE;
            width = MIN_CODE_SIZE + 1;
        }
        prefix = byte;
    }
    codes.put(prefix, width);
    // The decoder has caught up with the last code: it reads the end code
    // one bit wider when its table has just reached the width's limit.
    if (next == (1 << width) && width < 12) ++width;
    codes.put(END, width);
    codes.finish();
}

void GifEncoder::finish(int last_ms) {
    if (finished_) return;
    finished_ = true;
    if (pending_) write_pending(std::max(last_ms, 0));
    pending_ = false;
    out_.push_back(0x3b);
}

std::vector<std::uint8_t> GifEncoder::take_bytes() {
    std::vector<std::uint8_t> bytes;
    bytes.swap(out_);
    return bytes;
}

}  // namespace zemka::raster
