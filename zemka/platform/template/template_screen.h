// What the template back end's "screen" shows of a window: the pixels it
// was last given to present, a copy apart from the window's surface. Its
// conformance user (template_conformance_user.cpp) compares them with what
// the window shows; a real back end's user reads its toolkit's screen
// instead, and this header goes.
//
// Limits: read only where the back end keeps the copy (template_windows.cpp).
// Dependencies: none besides the C++ standard library.
#pragma once

#include <cstdint>
#include <vector>

#include "zemka/platform/windowing.h"

namespace zemka::platform {

// The window's client area as last presented, rows of 0xffRRGGBB (black
// before the first present); false for a window the back end does not
// know (null, or destroyed).
bool template_shown(const Window *window, std::vector<std::uint32_t> &pixels, int &width, int &height);

}  // namespace zemka::platform
