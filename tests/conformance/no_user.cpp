// The user of a back end that has none and shows no screen: it takes no
// input and closes the drawing window itself when nothing can happen any
// more, which its wait then reports as the close box.
#include "conformance/toolkit_user.h"

namespace zemka::conformance {

bool takes_input() { return false; }
void click(int, int) {}
void type(char) {}
void close_drawing_window() {}
void settle() {}
bool screen_pixels(std::vector<std::uint32_t> &, int &, int &) { return false; }

// Without input or animation the wait cannot hang: the back end ends it.
int next_event(EventRecord &record, bool &guard_fired) {
    guard_fired = false;
    return ZEMKA_next_event_record(&record);
}

}  // namespace zemka::conformance
