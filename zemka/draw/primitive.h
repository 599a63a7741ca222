// One primitive as a drawing entry hands it to the renderer.
#pragma once

#include <cstdint>

namespace zemka {

enum PrimitiveKind {
    PRIM_TRIANGLE = 0,
    PRIM_RECTANGLE = 1,
    PRIM_OVAL = 2,
    PRIM_LINE = 3,
    PRIM_PIXEL = 4,
    PRIM_TEXT = 5,
};

// Points are logical coordinates. The fields are 64 bits wide so that a
// centre plus or minus a radius, or a corner plus one, never overflows.
// For text, x2 holds ptsize and y2 the handle of the text copy.
struct PrimitiveRecord {
    int kind = PRIM_PIXEL;
    int color = 0;
    int width = 0;
    std::int64_t x1 = 0, y1 = 0;
    std::int64_t x2 = 0, y2 = 0;
    std::int64_t x3 = 0, y3 = 0;
};

// Draws the primitive onto the canvas (nothing before the library has a
// canvas) and marks the canvas dirty.
void render_primitive(const PrimitiveRecord &record);
// Paints the whole canvas white with a one-pixel black frame.
void fill_canvas();

}  // namespace zemka
