// The headless back end has no user: it takes no input and closes the
// drawing window itself when nothing can happen any more, which its wait
// then reports as the close box. Its screen is what it keeps of the last
// present.
#include "conformance/toolkit_user.h"
#include "zemka/platform/headless/headless_screen.h"
#include "zemka/window/library_windows.h"

namespace zemka::conformance {

bool takes_input() { return false; }
void click(int, int) {}
void type(char) {}
void close_drawing_window() {}
void settle() {}
bool screen_pixels(std::vector<std::uint32_t> &pixels, int &width, int &height) {
    return platform::headless_shown(draw_window(), pixels, width, height);
}

// Without input or animation the wait cannot hang: the back end ends it.
int next_event(EventRecord &record, bool &guard_fired) {
    guard_fired = false;
    return ZEMKA_next_event_record(&record);
}

}  // namespace zemka::conformance
