// The encoder filters each row with the PNG filter (none, sub or up) whose
// output has the smallest sum of magnitudes, then compresses the rows with
// one fixed-Huffman deflate block and a simple LZ77 match finder: one
// candidate per 3-byte hash, greedy matching. Pictures of a few flat
// colours, which is what the canvas holds, shrink to a few percent.
#include "zemka/raster/png_encoder.h"

#include <array>
#include <cstdlib>
#include <cstring>

namespace zemka::raster {

namespace {

// CRC-32 of the PNG chunks (the polynomial of ISO 3309, reflected).
std::uint32_t crc32(const std::uint8_t *data, std::size_t length, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < length; ++i) crc = table[(crc ^ data[i]) & 0xff] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t adler32(const std::vector<std::uint8_t> &data) {
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

// Bits go into bytes from the least significant bit on; Huffman codes are
// sent most significant bit first.
class BitWriter {
public:
    void bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) put((value >> i) & 1u);
    }
    void code(std::uint32_t value, int length) {
        for (int i = length - 1; i >= 0; --i) put((value >> i) & 1u);
    }
    std::vector<std::uint8_t> finish() {
        if (used_) out_.push_back(current_);
        return std::move(out_);
    }

private:
    void put(std::uint32_t bit) {
        current_ = static_cast<std::uint8_t>(current_ | bit << used_);
        if (++used_ == 8) {
            out_.push_back(current_);
            current_ = 0;
            used_ = 0;
        }
    }
    std::vector<std::uint8_t> out_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

// The fixed literal/length code of deflate.
void literal_or_length(BitWriter &w, int symbol) {
    if (symbol < 144)
        w.code(static_cast<std::uint32_t>(0x30 + symbol), 8);
    else if (symbol < 256)
        w.code(static_cast<std::uint32_t>(0x190 + symbol - 144), 9);
    else if (symbol < 280)
        w.code(static_cast<std::uint32_t>(symbol - 256), 7);
    else
        w.code(static_cast<std::uint32_t>(0xc0 + symbol - 280), 8);
}

constexpr std::array<int, 29> LENGTH_BASE = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                             31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> LENGTH_EXTRA = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> DISTANCE_BASE = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                               33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                               1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> DISTANCE_EXTRA = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void match(BitWriter &w, int length, int distance) {
    int l = 28;
    while (LENGTH_BASE[l] > length) --l;
    literal_or_length(w, 257 + l);
    w.bits(static_cast<std::uint32_t>(length - LENGTH_BASE[l]), LENGTH_EXTRA[l]);
    int d = 29;
    while (DISTANCE_BASE[d] > distance) --d;
    w.code(static_cast<std::uint32_t>(d), 5);
    w.bits(static_cast<std::uint32_t>(distance - DISTANCE_BASE[d]), DISTANCE_EXTRA[d]);
}

constexpr int MIN_MATCH = 3;
constexpr int MAX_MATCH = 258;
constexpr std::size_t WINDOW = 32768;
constexpr int HASH_BITS = 15;

std::vector<std::uint8_t> deflate_fixed(const std::vector<std::uint8_t> &data) {
    BitWriter w;
    w.bits(1, 1);  // the last block
    w.bits(1, 2);  // compressed with the fixed codes
    std::vector<std::int64_t> head(std::size_t{1} << HASH_BITS, -1);
    const std::size_t n = data.size();
    const auto hash = [&data](std::size_t i) {
        const std::uint32_t v =
            static_cast<std::uint32_t>(data[i]) << 16 | static_cast<std::uint32_t>(data[i + 1]) << 8 | data[i + 2];
        return (v * 2654435761u) >> (32 - HASH_BITS);
    };
    std::size_t i = 0;
    while (i < n) {
        int best = 0;
        std::size_t candidate = 0;
        if (i + MIN_MATCH <= n) {
            const std::uint32_t h = hash(i);
            const std::int64_t prev = head[h];
            head[h] = static_cast<std::int64_t>(i);
            if (prev >= 0 && i - static_cast<std::size_t>(prev) <= WINDOW) {
                candidate = static_cast<std::size_t>(prev);
                const std::size_t limit = std::min<std::size_t>(MAX_MATCH, n - i);
                std::size_t len = 0;
                while (len < limit && data[candidate + len] == data[i + len]) ++len;
                best = static_cast<int>(len);
            }
        }
        if (best >= MIN_MATCH) {
            match(w, best, static_cast<int>(i - candidate));
            // The bytes inside the match become candidates too.
            for (std::size_t k = i + 1; k < i + static_cast<std::size_t>(best) && k + MIN_MATCH <= n; ++k)
                head[hash(k)] = static_cast<std::int64_t>(k);
            i += static_cast<std::size_t>(best);
        } else {
            literal_or_length(w, data[i]);
            ++i;
        }
    }
    literal_or_length(w, 256);  // end of block
    return w.finish();
}

void put32(std::vector<std::uint8_t> &out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void chunk(std::vector<std::uint8_t> &out, const char (&type)[5], const std::vector<std::uint8_t> &body) {
    put32(out, static_cast<std::uint32_t>(body.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    put32(out, crc32(out.data() + start, out.size() - start));
}

// The rows, each behind its filter byte.
std::vector<std::uint8_t> filtered_rows(const std::uint32_t *pixels, int width, int height, int stride) {
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> previous(row_bytes, 0), current(row_bytes), out;
    out.reserve((row_bytes + 1) * static_cast<std::size_t>(height));
    std::array<std::vector<std::uint8_t>, 3> candidates;
    for (auto &c : candidates) c.resize(row_bytes);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t *row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            current[3 * x] = static_cast<std::uint8_t>(row[x] >> 16);
            current[3 * x + 1] = static_cast<std::uint8_t>(row[x] >> 8);
            current[3 * x + 2] = static_cast<std::uint8_t>(row[x]);
        }
        int best = 0;
        long best_cost = -1;
        for (int f = 0; f < 3; ++f) {
            long cost = 0;
            for (std::size_t b = 0; b < row_bytes; ++b) {
                const std::uint8_t left = b >= 3 ? current[b - 3] : 0;
                const std::uint8_t predicted = f == 0 ? 0 : f == 1 ? left : previous[b];
                const auto value = static_cast<std::uint8_t>(current[b] - predicted);
                candidates[f][b] = value;
                cost += std::abs(static_cast<int>(static_cast<std::int8_t>(value)));
            }
            if (best_cost < 0 || cost < best_cost) {
                best_cost = cost;
                best = f;
            }
        }
        out.push_back(static_cast<std::uint8_t>(best));  // 0 none, 1 sub, 2 up
        out.insert(out.end(), candidates[best].begin(), candidates[best].end());
        std::swap(previous, current);
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> encode_png(const std::uint32_t *pixels, int width, int height, int stride) {
    if (!pixels || width <= 0 || height <= 0 || stride < width) return {};
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(width));
    put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filters, no interlace
    chunk(out, "IHDR", header);

    const std::vector<std::uint8_t> raw = filtered_rows(pixels, width, height, stride);
    std::vector<std::uint8_t> zlib = {0x78, 0x01};  // deflate, 32 KiB window, no dictionary
    const std::vector<std::uint8_t> compressed = deflate_fixed(raw);
    zlib.insert(zlib.end(), compressed.begin(), compressed.end());
    put32(zlib, adler32(raw));
    chunk(out, "IDAT", zlib);
    chunk(out, "IEND", {});
    return out;
}

}  // namespace zemka::raster
