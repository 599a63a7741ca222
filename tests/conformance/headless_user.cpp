// The screen half of the headless back end's user (no_input_user.cpp is
// the other: headless has no user): what it keeps of the last present.
#include "conformance/toolkit_user.h"
#include "zemka/platform/headless/headless_screen.h"
#include "zemka/window/library_windows.h"

namespace zemka::conformance {

bool screen_pixels(std::vector<std::uint32_t> &pixels, int &width, int &height) {
    return platform::headless_shown(draw_window(), pixels, width, height);
}

}  // namespace zemka::conformance
