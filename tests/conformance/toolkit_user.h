// The conformance test of the emulated toolkit interface acts as a back
// end's user and looks at its screen through these functions; each back
// end's suite links its own implementation of them.
#pragma once

#include <cstdint>
#include <vector>

#include "zemka/zemka.h"

namespace zemka::conformance {

// Whether the back end takes clicks and keys from a user at all.
bool takes_input();
// A left click on the drawing window's client area and a typed
// character, delivered as the toolkit delivers a user's.
void click(int client_x, int client_y);
void type(char c);
// The user closes the drawing window with its close box. A back end
// without users closes it itself when nothing can happen any more.
void close_drawing_window();
// Lets the toolkit run for a moment: repaints, posted events.
void settle();
// What the screen shows in the drawing window's client area now, rows of
// 0xffRRGGBB; false when the back end shows nothing on any screen.
bool screen_pixels(std::vector<std::uint32_t> &pixels, int &width, int &height);
// The library's wait, ending with ZEMKA_QUIT and guard_fired set when no
// event comes within a few seconds, so that a broken back end fails
// instead of hanging.
int next_event(EventRecord &record, bool &guard_fired);

}  // namespace zemka::conformance
