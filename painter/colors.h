// The palette entries the weather painter draws with (ColorIndex values of
// the library's fixed palette).
#pragma once

namespace painter {

enum Color : int {
    BLACK = 0,
    WHITE = 1,
    RED = 2,
    BLUE = 4,
    YELLOW = 5,
    MAGENTA = 6,
    CYAN = 7,
    PURPLE = 8,
    DUSTY_PLUM = 10,
    BROWN = 14,
    FOREST_GREEN = 19,
    GRAY_50 = 22,
};

// Width argument that fills a rectangle, oval or triangle.
constexpr int FILL = 0;

}  // namespace painter
