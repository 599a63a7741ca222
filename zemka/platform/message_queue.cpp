#include "zemka/platform/message_queue.h"

#include <algorithm>

namespace zemka::platform {

std::deque<Msg> &queued_messages() {
    static std::deque<Msg> queue;
    return queue;
}

void queue_message(Window *w, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
    queued_messages().push_back(Msg{w, message, wparam, lparam});
}

void drop_messages_of(const Window *w) {
    std::erase_if(queued_messages(), [w](const Msg &msg) { return msg.window == w; });
}

void translate_message(const Msg &msg) {
    if (msg.message != WM_KEYDOWN) return;
    const char32_t typed = typed_char_of(msg.lparam);
    // Only characters with a one-byte code reach the application.
    if (typed == 0 || typed > 0xff) return;
    queued_messages().push_front(Msg{msg.window, WM_CHAR, typed, msg.lparam});
}

void post_message(Window *w, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
    if (window_alive(w)) queue_message(w, message, wparam, lparam);
}

void post_quit_message(int exit_code) { queue_message(nullptr, WM_QUIT, static_cast<std::uintptr_t>(exit_code), 0); }

void discard_messages() { queued_messages().clear(); }

}  // namespace zemka::platform
