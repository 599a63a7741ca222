// The same primitive list drawn by two widely used 2D libraries on a
// 601 x 540 32-bit image, without antialiasing, as their users would write
// it: a pen and a brush (a source colour) per primitive.
#pragma once

#include <cstdint>
#include <vector>

#include "frame_list.h"

namespace bench {

class QPainterPeer {
public:
    QPainterPeer();
    void draw(const std::vector<Prim> &list);
    const std::uint32_t *pixels() const { return pixels_.data(); }

private:
    std::vector<std::uint32_t> pixels_;
};

class CairoPeer {
public:
    CairoPeer();
    ~CairoPeer();
    CairoPeer(const CairoPeer &) = delete;
    CairoPeer &operator=(const CairoPeer &) = delete;
    void draw(const std::vector<Prim> &list);
    const std::uint32_t *pixels() const { return pixels_.data(); }

private:
    std::vector<std::uint32_t> pixels_;
    void *surface_ = nullptr;  // cairo_surface_t
};

}  // namespace bench
