// The emulated window system's own records, shared by its files: a window
// with its procedure, surface, timers and menu bar, and a menu with its
// items. Nothing outside platform/emulated sees them.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "zemka/platform/emulated/toolkit.h"
#include "zemka/platform/windowing.h"

namespace zemka::platform {

using Clock = std::chrono::steady_clock;

struct Timer {
    Clock::duration period{};
    Clock::time_point due{};
    bool running = false;
    bool pending = false;  // a WM_TIMER of this timer waits in the queue
};

struct Menu {
    struct Item {
        unsigned id = 0;
        unsigned flags = 0;
        std::string text;
        Menu *submenu = nullptr;
        bool checked = false;
    };
    std::vector<Item> items;
    Window *owner = nullptr;  // the window whose bar shows this popup
    int index_in_bar = -1;
};

struct Window {
    WindowProc proc = nullptr;
    bool alive = true;
    bool visible = false;
    bool paint_pending = false;
    bool needs_present = false;
    WindowStyle style = WindowStyle::Resizable;
    toolkit::NativeWindow *native = nullptr;
    Menu *menu = nullptr;   // the menu bar attached with set_menu
    gdi::Dc *surface = nullptr;  // what the client area shows
    std::map<unsigned, Timer> timers;
};

// Every window made and not yet destroyed, in order of creation.
std::vector<Window *> &all_windows();

// Shows what changed in every window (called whenever the program looks
// at its queue or waits, so a frame drawn between two looks shows once).
void present_all();
void present_window(Window *w);

// Queues WM_PAINT unless one is queued already.
void post_paint(Window *w);
// Takes every queued WM_PAINT out of the queue and hands it to its window,
// ahead of the other messages.
void deliver_pending_paints();

// Timers: queues the ticks that are due; the time until the next one is
// due in milliseconds, or -1 when no timer runs.
void queue_due_timers();
int ms_until_next_timer();
void timer_message_taken(Window *w, unsigned id);

// The message queue.
void queue_message(Window *w, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
bool queue_empty();
void drop_messages_of(const Window *w);

}  // namespace zemka::platform
