#include "zemka/draw/palette.h"

namespace zemka {

using gdi::rgb;

const gdi::ColorRef palette[PALETTE_SIZE] = {
    rgb(0, 0, 0),       rgb(255, 255, 255), rgb(255, 0, 0),     rgb(0, 255, 0),     rgb(0, 0, 255),
    rgb(255, 255, 0),   rgb(255, 0, 255),   rgb(0, 255, 255),   rgb(153, 0, 204),   rgb(0, 51, 153),
    rgb(153, 102, 153), rgb(153, 255, 255), rgb(153, 255, 204), rgb(255, 102, 0),   rgb(153, 102, 51),
    rgb(255, 153, 204), rgb(255, 255, 153), rgb(204, 153, 51),  rgb(255, 153, 102), rgb(0, 102, 51),
    rgb(51, 204, 153),  rgb(153, 153, 51),  rgb(128, 128, 128), rgb(204, 204, 204),
};

const char *const color_names[PALETTE_SIZE] = {
    "black",  "white",     "red",        "green",        "blue",      "yellow", "magenta",  "cyan",
    "purple", "navy blue", "dusty plum", "ice blue",     "turquoise", "orange", "brown",    "pink",
    "chalk",  "gold",      "peach",      "forest green", "sea green", "olive",  "50% gray", "20% gray",
};

}  // namespace zemka
