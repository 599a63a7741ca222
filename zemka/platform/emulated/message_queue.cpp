// The thread's one message queue and its timers. Messages wait in arrival
// order; translate_message puts a WM_CHAR first. Timers are kept here on
// the monotonic clock, so a toolkit needs no timers of its own: the wait
// sleeps in the toolkit until input arrives or the next tick is due.
#include <algorithm>
#include <deque>
#include <vector>

#include "zemka/platform/emulated/window_system.h"

namespace zemka::platform {

namespace {

std::deque<Msg> &queued_messages() {
    static std::deque<Msg> queue;
    return queue;
}

// Takes the toolkit's input and the due ticks into the queue.
void gather() {
    present_all();
    toolkit::take_input();
    queue_due_timers();
}

}  // namespace

void queue_message(Window *w, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
    queued_messages().push_back(Msg{w, message, wparam, lparam});
}

bool queue_empty() { return queued_messages().empty(); }

void drop_messages_of(const Window *w) {
    std::erase_if(queued_messages(), [w](const Msg &msg) { return msg.window == w; });
}

bool peek_message(Msg *out) {
    if (queued_messages().empty()) gather();
    if (queued_messages().empty()) return false;
    const Msg msg = queued_messages().front();
    queued_messages().pop_front();
    if (msg.message == WM_TIMER && msg.window) timer_message_taken(msg.window, static_cast<unsigned>(msg.wparam));
    if (out) *out = msg;
    return true;
}

void deliver_pending_paints() {
    std::vector<Msg> paints;
    std::erase_if(queued_messages(), [&paints](const Msg &msg) {
        if (msg.message != WM_PAINT) return false;
        paints.push_back(msg);
        return true;
    });
    for (const Msg &msg : paints) dispatch_message(msg);
}

void translate_message(const Msg &msg) {
    if (msg.message != WM_KEYDOWN) return;
    const char32_t typed = typed_char_of(msg.lparam);
    // Only characters with a one-byte code reach the application.
    if (typed == 0 || typed > 0xff) return;
    queued_messages().push_front(Msg{msg.window, WM_CHAR, typed, msg.lparam});
}

std::intptr_t dispatch_message(const Msg &msg) {
    if (!window_alive(msg.window)) return 0;
    return msg.window->proc(msg.window, msg.message, msg.wparam, msg.lparam);
}

void post_message(Window *w, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
    if (window_alive(w)) queue_message(w, message, wparam, lparam);
}

void post_quit_message(int exit_code) { queue_message(nullptr, WM_QUIT, static_cast<std::uintptr_t>(exit_code), 0); }

void discard_messages() {
    queued_messages().clear();
    // The dropped ticks no longer hold their timers back.
    for (Window *w : all_windows())
        for (auto &[id, t] : w->timers) t.pending = false;
}

namespace {

bool ticks_wanted = true;

}  // namespace

bool wait_wants_ticks() { return ticks_wanted; }

void wait_message(bool timers_wanted) {
    gather();
    if (!queued_messages().empty()) return;
    ticks_wanted = timers_wanted;
    toolkit::wait_for_input(ms_until_next_timer());
    ticks_wanted = true;
    queue_due_timers();
}

// Timers.

void set_timer(Window *w, unsigned id, int period_ms) {
    if (!window_alive(w)) return;
    Timer &t = w->timers[id];
    t.period = std::chrono::milliseconds(std::max(period_ms, 1));
    t.due = Clock::now() + t.period;
    t.running = true;
}

void kill_timer(Window *w, unsigned id) {
    if (!window_alive(w)) return;
    auto it = w->timers.find(id);
    if (it != w->timers.end()) it->second.running = false;
}

void queue_due_timers() {
    const Clock::time_point now = Clock::now();
    for (Window *w : all_windows()) {
        if (!w->alive) continue;
        for (auto &[id, t] : w->timers) {
            if (!t.running || now < t.due) continue;
            // Ticks missed while the program was busy are not made up:
            // the next one is a period after this one.
            t.due += t.period;
            if (t.due <= now) t.due = now + t.period;
            if (t.pending) continue;  // at most one tick of a timer waits
            t.pending = true;
            queue_message(w, WM_TIMER, id, 0);
        }
    }
}

int ms_until_next_timer() {
    const Clock::time_point now = Clock::now();
    Clock::duration soonest = Clock::duration::max();
    for (const Window *w : all_windows()) {
        if (!w->alive) continue;
        for (const auto &[id, t] : w->timers)
            if (t.running) soonest = std::min(soonest, t.due > now ? t.due - now : Clock::duration::zero());
    }
    if (soonest == Clock::duration::max()) return -1;
    // Rounded up, so the wait does not wake just before the tick is due.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(soonest).count();
    return static_cast<int>(std::min<decltype(ms)>(ms, 1 << 30));
}

void timer_message_taken(Window *w, unsigned id) {
    auto it = w->timers.find(id);
    if (it != w->timers.end()) it->second.pending = false;
}

}  // namespace zemka::platform
