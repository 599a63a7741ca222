// The fixed palette of 24 named colours.
#pragma once

#include "zemka/raster/gdi.h"

namespace zemka {

constexpr int PALETTE_SIZE = 24;
constexpr int BACKGROUND_COLOR = 1;  // white
constexpr int FALLBACK_COLOR = 2;    // red, for an illegal colour

extern const gdi::ColorRef palette[PALETTE_SIZE];
extern const char *const color_names[PALETTE_SIZE];

}  // namespace zemka
