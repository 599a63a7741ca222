// The headless back end's toolkit: windows that only keep their pixels (the
// emulated window system holds them; snapshots read them), no input but
// what a replay feeds the library's wait, no menus on any screen. It is the
// smallest complete back end and the template for a new one: each function
// below says what a back end must do there, and what this one does.
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "zemka/platform/emulated/toolkit.h"
#include "zemka/platform/headless/headless_input.h"

namespace zemka::platform {

namespace toolkit {

// A back end's own record of a window: whatever its toolkit needs to show
// it. Here only who it belongs to, to answer for it when nothing else can.
struct NativeWindow {
    Window *window = nullptr;
    bool fixed = false;
};

}  // namespace toolkit

namespace {

// The size a desktop would have: the text window takes the lower third of
// its width. The same as Qt's offscreen platform, so a headless run lays
// out its console as a run there does.
constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 600;

std::vector<toolkit::NativeWindow *> &windows() {
    static std::vector<toolkit::NativeWindow *> list;
    return list;
}

}  // namespace

namespace toolkit {

// Start the toolkit (connect to the display, make the application object)
// or say that windows cannot be made. Nothing to start here.
bool start() { return true; }

// The desktop's size: windows are placed and sized from it.
void screen_size(int *width, int *height) {
    *width = SCREEN_WIDTH;
    *height = SCREEN_HEIGHT;
}

// Make a hidden top-level window with the title and client area of the
// request; a fixed one has a menu bar and a close box and cannot be resized.
// Keep `window` to report its input with the report_ functions.
NativeWindow *create_window(Window *window, const WindowRequest &request) {
    auto *native = new NativeWindow{window, request.fixed};
    windows().push_back(native);
    return native;
}

// Show or hide the window. Nothing is on a screen here.
void show_window(NativeWindow *, bool) {}

// Let the window go; report nothing more about it.
void destroy_window(NativeWindow *native) {
    std::erase(windows(), native);
    delete native;
}

// Show the pixels in the client area. They stay in the window's surface,
// which is all a headless window is.
void present(NativeWindow *, const raster::Pixmap &) {}

// Report the input that has arrived. Here only a dialog's answer from
// standard input: a replay feeds the library's wait above the window
// system.
void take_input() { answer_waiting_dialog(); }

// Sleep until input arrives or timeout_ms pass. Here only a timer can wake
// the program; when none runs, or the wait has no use for its ticks (a
// negative timeout), nothing can ever happen, and the drawing window is
// closed as a user would close it, so that the program ends by its own
// quit path instead of sleeping for ever.
void wait_for_input(int timeout_ms) {
    if (answer_waiting_dialog()) return;
    if (timeout_ms >= 0 && wait_wants_ticks()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeout_ms));
        return;
    }
    // Said once: a program that waits on after its window closed is told
    // nothing new, and sleeps instead of spinning.
    static bool told = false;
    bool closed = false;
    for (NativeWindow *native : std::vector<NativeWindow *>(windows())) {
        if (!native->fixed) continue;
        if (!told) {
            std::fputs("ZEMKA: no display, no replay and no animation running: nothing can happen any more; closing the window\n", stderr);
            told = true;
        }
        report_close_box(native->window);
        closed = true;
    }
    if (!closed) std::this_thread::sleep_for(std::chrono::milliseconds(timeout_ms >= 0 ? timeout_ms : 100));
}

// Menus: add a popup to the window's bar, an item to a popup, set a check
// mark. Optional; nothing shows them here, and the emulated system's model
// answers for them.
void add_menu_popup(NativeWindow *, int, const char *) {}
void add_menu_item(NativeWindow *, int, int, unsigned, unsigned, const char *) {}
void check_menu_item(NativeWindow *, int, int, bool) {}
bool shown_menu_item(const NativeWindow *, int, int, MenuItemInfo *) { return false; }

// The toolkit's object for a window, for code that knows the back end.
void *native_handle(const NativeWindow *) { return nullptr; }

}  // namespace toolkit

}  // namespace zemka::platform
