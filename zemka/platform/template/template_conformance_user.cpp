// The template back end's user in the toolkit conformance test
// (tests/conformance/, which the card names this file to): it has none, so
// it takes no input and the back end closes the drawing window itself when
// nothing can happen any more, which its wait then reports as the close
// box. Its screen is the copy the back end keeps of the last present
// (template_screen.h). A back end started from the template clicks, types,
// closes and reads its toolkit's screen here, as
// tests/conformance/qt_user.cpp does for Qt.
//
// Dependencies: the conformance test's toolkit_user.h; nothing else.
#include "conformance/toolkit_user.h"
#include "template_screen.h"
#include "zemka/window/library_windows.h"

namespace zemka::conformance {

bool takes_input() { return false; }
void click(int, int) {}
void type(char) {}
void close_drawing_window() {}
void settle() {}
bool screen_pixels(std::vector<std::uint32_t> &pixels, int &width, int &height) {
    return platform::template_shown(draw_window(), pixels, width, height);
}

// Without input or animation the wait cannot hang: the back end ends it.
int next_event(EventRecord &record, bool &guard_fired) {
    guard_fired = false;
    return ZEMKA_next_event_record(&record);
}

}  // namespace zemka::conformance
