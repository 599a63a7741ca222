// Coordinate arithmetic that cannot overflow: the painter's positions are
// arbitrary ints (a script can deliver any point), so every sum or
// difference is formed in 64 bits and saturated to the int range before it
// reaches the library.
#pragma once

#include <cstdint>
#include <limits>

namespace painter {

constexpr int saturate(std::int64_t v) {
    constexpr std::int64_t lo = std::numeric_limits<int>::min();
    constexpr std::int64_t hi = std::numeric_limits<int>::max();
    return static_cast<int>(v < lo ? lo : (v > hi ? hi : v));
}

// base + offset, clamped to the int range.
constexpr int offset(int base, std::int64_t delta) { return saturate(std::int64_t{base} + delta); }

// A reference point from which a moving part of the picture is drawn.
struct Anchor {
    int x0;
    int y0;
    constexpr int x(int dx) const { return offset(x0, dx); }
    constexpr int y(int dy) const { return offset(y0, dy); }
};

}  // namespace painter
