// The library's own message queue, for back ends whose toolkit keeps none
// of the kind the library expects (Qt, the browser). Messages wait in
// arrival order; translate_message puts a WM_CHAR first. The Win32 back
// end uses the system's queue and leaves message_queue.cpp out.
#pragma once

#include <cstdint>
#include <deque>

#include "zemka/platform/windowing.h"

namespace zemka::platform {

std::deque<Msg> &queued_messages();

// Appends one message; the back end's input and timers call it.
void queue_message(Window *w, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);

// Drops every message of a window that is going away.
void drop_messages_of(const Window *w);

}  // namespace zemka::platform
