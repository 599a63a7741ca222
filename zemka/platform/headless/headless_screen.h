// What a headless window's screen shows: the pixels its back end was last
// given to present, kept apart from the window's surface, so that a test
// sees whether present is called with what the window shows.
#pragma once

#include <cstdint>
#include <vector>

#include "zemka/platform/windowing.h"

namespace zemka::platform {

// The window's client area as last presented, rows of 0xffRRGGBB (black
// before the first present); false for a window the back end does not
// know (null, or destroyed).
bool headless_shown(const Window *window, std::vector<std::uint32_t> &pixels, int &width, int &height);

}  // namespace zemka::platform
