// The event wait: runs the message handling one message at a time until
// exactly one event is ready, presenting the canvas whenever it changed.
#include "zemka/script/script.h"
#include "zemka/state.h"
#include "zemka/window/end_signals.h"
#include "zemka/window/unattended.h"
#include "zemka/window/window_procs.h"

namespace zemka {

using namespace platform;

namespace {

constexpr int NO_EVENT = -1;

// Handles at most one queued message and presents a dirty canvas. Returns
// whether a message was taken.
bool pump_message() {
    Msg msg;
    const bool taken = peek_message(&msg);
    if (taken && msg.message == WM_QUIT) {
        pending_kind = ZEMKA_QUIT;
        return true;
    }
    if (taken) {
        translate_message(msg);
        dispatch_message(msg);
    }
    if (canvas_dirty) {
        gdi::bit_blt(window_dc, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, canvas_dc, 0, 0);
        canvas_dirty = 0;
    }
    return taken;
}

bool event_ready() { return pending_kind != NO_EVENT && !(pending_kind == ZEMKA_PERIODIC && tick_seen == 0); }

}  // namespace

void input_mouse_down(std::intptr_t lparam) {
    const auto bits = static_cast<std::uintptr_t>(lparam);
    const int px = static_cast<int>(bits & 0xffff);
    const int py = static_cast<int>((bits >> 16) & 0xffff);
    current_event.x = px - centre_x;
    current_event.y = centre_y - py;
    pending_kind = ZEMKA_MOUSE;
}

void input_char(std::uintptr_t code) {
    if (ctrl_down == 1) return;
    pending_kind = ZEMKA_KBD;
    current_event.key = static_cast<char>(static_cast<unsigned char>(code & 0xff));
}

void input_timer() { tick_seen = 1; }

}  // namespace zemka

using namespace zemka;

extern "C" int ZEMKA_next_event_record(EventRecord *record) {
    if (!draw_window) {
        // Nothing to wait on before the library is started.
        if (record) *record = EventRecord{0, 0, 0};
        return ZEMKA_QUIT;
    }
    unattended::wait_begins();
    pending_kind = NO_EVENT;
    current_event = EventRecord{0, 0, 0};
    while (!event_ready()) {
        // A signal that asks the program to end is its quit, at once and
        // in every later wait.
        if (end_signals::requested()) {
            pending_kind = ZEMKA_QUIT;
            break;
        }
        const bool took_message = pump_message();
        if (pending_kind == ZEMKA_QUIT) break;
        // A replay asked for from outside may have been switched off by the
        // message just handled.
        if (unattended::replay_over_quits()) {
            pending_kind = ZEMKA_QUIT;
            break;
        }
        const bool playing = playing_once || playing_continuous;
        if (playing) {
            playing_once = 0;
            if (unattended::play_step_allowed() && script_play_step() == 1) {
                unattended::event_played();
                break;
            }
            playing_once = 0;
            playing_continuous = 0;
            if (unattended::replay_over_quits()) {
                pending_kind = ZEMKA_QUIT;
                break;
            }
        }
        if ((one_frame || animate) && pending_kind == NO_EVENT) {
            pending_kind = ZEMKA_PERIODIC;
            tick_seen = 0;
            one_frame = 0;
        }
        // Nothing to do until the toolkit has input or the next tick: sleep
        // instead of polling. A playback step never waits.
        // Ticks matter only to an animation or a frame that waits for one.
        if (!took_message && !playing && !event_ready())
            wait_message(animate || one_frame || pending_kind == ZEMKA_PERIODIC);
    }
    script_record_event(pending_kind, current_event);
    if (record) *record = current_event;
    unattended::wait_ends();
    return quit_requested ? ZEMKA_QUIT : pending_kind;
}

extern "C" int ZEMKA_next_event(int *x, int *y, char *key) {
    EventRecord record{0, 0, 0};
    const int kind = ZEMKA_next_event_record(&record);
    if (x) *x = record.x;
    if (y) *y = record.y;
    if (key) *key = record.key;
    return kind;
}

extern "C" int ZEMKA_set_animation(int mode) {
    if (!draw_window) return 0;
    switch (mode) {
        case RUN_HALT:
            one_frame = 0;
            animate = 0;
            break;
        case RUN_ONE_FRAME: one_frame = 1; break;
        case RUN_ANIMATE: animate = 1; break;
        case RUN_QUIT: quit_requested = 1; break;
        default: break;
    }
    return 1;
}

extern "C" int ZEMKA_set_logging(int flag) {
    if (!draw_window) return 0;
    logging = flag != 0;
    check_menu_item(run_menu, MENU_LOGGING, logging ? MF_CHECKED : MF_UNCHECKED);
    if (logging) show_text_window(1);
    return 1;
}
