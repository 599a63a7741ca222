// The screen half of the template back end's user in the toolkit
// conformance test (the card lists it with tests/conformance/
// no_input_user.cpp, since the template has no user): the copy the back
// end keeps of the last present (template_screen.h). A back end started
// from the template reads its toolkit's screen here and, once it takes
// input, replaces no_input_user.cpp with its own clicks, keys and close
// box, as tests/conformance/qt_user.cpp does for Qt.
//
// Dependencies: the conformance test's toolkit_user.h; nothing else.
#include "conformance/toolkit_user.h"
#include "template_screen.h"
#include "zemka/window/library_windows.h"

namespace zemka::conformance {

bool screen_pixels(std::vector<std::uint32_t> &pixels, int &width, int &height) {
    return platform::template_shown(draw_window(), pixels, width, height);
}

}  // namespace zemka::conformance
