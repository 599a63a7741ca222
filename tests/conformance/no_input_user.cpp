// The input half of the user of a back end that has none: it takes no
// input, and the back end closes the drawing window itself when nothing
// can happen any more, which its wait then reports as the close box. Such
// a back end's card lists this file with a source of its own that reads
// its screen (screen_pixels), or with no_screen_user.cpp.
#include "conformance/toolkit_user.h"

namespace zemka::conformance {

bool takes_input() { return false; }
void click(int, int) {}
void type(char) {}
void close_drawing_window() {}
void settle() {}

// Without input or animation the wait cannot hang: the back end ends it.
int next_event(EventRecord &record, bool &guard_fired) {
    guard_fired = false;
    return ZEMKA_next_event_record(&record);
}

}  // namespace zemka::conformance
