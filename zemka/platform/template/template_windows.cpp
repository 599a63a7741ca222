// The template back end's windows, screen and input: a stub of the toolkit
// interface (emulated/toolkit.h) that compiles, links and runs, for
// starting a new back end from. Each function says what a real back end
// does there and what this one does instead.
//
// Limits: no screen, a window only keeps the pixels it was last given to
// present (template_screen.h reads them); no input, so only a timer or a
// replay fed to the library's wait moves a program, and when nothing can
// happen any more the drawing window's close box is reported, once, so that
// a program ends by its own quit path instead of waiting for ever. No menus
// and no dialogs (emulated/optional/no_menus.cpp and no_dialogs.cpp).
//
// Dependencies: none besides the C++ standard library.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "zemka/platform/emulated/optional/kept_screen.h"
#include "zemka/platform/emulated/toolkit.h"
#include "template_screen.h"

namespace zemka::platform {

namespace toolkit {

// The back end's own record of a window: a real one holds its toolkit's
// window here. Kept: who it belongs to (its reports name it) and what a
// screen would show of it.
struct NativeWindow {
    Window *window = nullptr;
    bool fixed = false;
    bool close_reported = false;
    KeptScreen screen;
};

}  // namespace toolkit

namespace {

// A real back end asks its desktop. 800 x 600 is Qt's offscreen screen, so
// the text window is laid out as in a run there.
constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 600;
// How long a wait that nothing can end sleeps before the program looks
// again (it is told once that nothing can happen).
constexpr int IDLE_WAIT_MS = 100;

std::vector<toolkit::NativeWindow *> &windows() {
    static std::vector<toolkit::NativeWindow *> list;
    return list;
}

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

namespace toolkit {

// A real back end connects to its display or makes its application object
// here, and returns false when windows cannot be made (no display): the
// library then runs without windows. Nothing to start here.
bool start() { return true; }

// The desktop's size, from the toolkit's primary screen.
void screen_size(int *width, int *height) {
    *width = SCREEN_WIDTH;
    *height = SCREEN_HEIGHT;
}

// Make a hidden top-level window titled request.title whose client area
// (the part inside the frame, below a menu bar) is request.client_width x
// request.client_height, with its frame's corner at (request.x, request.y).
// A fixed window has a menu bar and a close box and cannot be resized; the
// other kind (the text window) can, and reports its new size with
// report_resized. Keep `window`: every report names it.
NativeWindow *create_window(Window *window, const WindowRequest &request) {
    auto *native = new NativeWindow{window, request.fixed, false, KeptScreen(request.client_width, request.client_height)};
    windows().push_back(native);
    return native;
}

// Show or hide the window; a fixed window asks for the keyboard focus when
// it is first shown. Nothing is on a screen here.
void show_window(NativeWindow *, bool) {}

// Destroy the toolkit's window. No report about it may follow, so a real
// back end also drops the input of it still queued in the toolkit.
void destroy_window(NativeWindow *native) {
    std::erase(windows(), native);
    delete native;
}

// Copy the pixels (0xRRGGBB in the low bytes, rows pixels.stride apart)
// to the client area on the screen, or keep them and ask the toolkit for a
// repaint that copies them (or reads shown_pixels) when it comes. Kept
// here as the screen would show them.
void present(NativeWindow *native, const raster::Pixmap &pixels) {
    native->screen.keep(pixels);
}

// Take the toolkit's pending events without waiting and report each:
// report_click (client coordinates), report_key (the key code and the
// character it types, on press and release), report_close_box,
// report_focus_lost, report_resized, report_menu_choice. No input here.
void take_input() {}

// Sleep in the toolkit's event wait until an event arrives (report it
// before returning) or timeout_ms pass; a negative timeout waits for
// events only. Returning early is allowed. Here only the timeout can end a
// wait. When no timer runs (a negative timeout) or the wait has no use for
// its ticks (animation halted), nothing can ever happen: the drawing
// window is closed as its user would close it, once; a program that waits
// on after that sleeps.
void wait_for_input(int timeout_ms) {
    if (timeout_ms >= 0 && wait_wants_ticks()) {
        sleep_ms(timeout_ms);
        return;
    }
    for (NativeWindow *native : windows()) {
        if (!native->fixed || native->close_reported) continue;
        native->close_reported = true;
        std::fputs("ZEMKA: this back end takes no input and no timer runs: closing the window\n", stderr);
        report_close_box(native->window);
        return;
    }
    sleep_ms(timeout_ms >= 0 ? timeout_ms : IDLE_WAIT_MS);
}

// The toolkit's object for the window (a QWidget *, a window id), for
// code that knows the back end; null here.
void *native_handle(const NativeWindow *) { return nullptr; }

}  // namespace toolkit

bool template_shown(const Window *window, std::vector<std::uint32_t> &pixels, int &width, int &height) {
    const auto it = std::find_if(windows().begin(), windows().end(),
                                 [window](const toolkit::NativeWindow *n) { return n->window == window; });
    if (!window || it == windows().end()) return false;
    (*it)->screen.read(pixels, width, height);
    return true;
}

}  // namespace zemka::platform
