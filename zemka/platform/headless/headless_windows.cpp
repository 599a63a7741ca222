// The headless back end's toolkit: windows with no screen, whose last
// presented pixels are kept as what a screen would show (headless_screen.h
// reads them), no input but what a replay feeds the library's wait, no
// menus on any screen (emulated/optional/no_menus.cpp).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "zemka/platform/emulated/optional/kept_screen.h"
#include "zemka/platform/emulated/toolkit.h"
#include "zemka/platform/headless/headless_input.h"
#include "zemka/platform/headless/headless_screen.h"

namespace zemka::platform {

namespace toolkit {

// Who the window belongs to, to answer for it when nothing else can, and
// its screen: the pixels last presented, black before the first present.
struct NativeWindow {
    Window *window = nullptr;
    bool fixed = false;
    KeptScreen screen;
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
    auto *native = new NativeWindow{window, request.fixed, KeptScreen(request.client_width, request.client_height)};
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

// Show the pixels in the client area: a copy, as a screen holds its own.
void present(NativeWindow *native, const raster::Pixmap &pixels) {
    native->screen.keep(pixels);
}

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

// The toolkit's object for a window, for code that knows the back end.
void *native_handle(const NativeWindow *) { return nullptr; }

}  // namespace toolkit

bool headless_shown(const Window *window, std::vector<std::uint32_t> &pixels, int &width, int &height) {
    const auto it = std::find_if(windows().begin(), windows().end(),
                                 [window](const toolkit::NativeWindow *n) { return n->window == window; });
    if (!window || it == windows().end()) return false;
    (*it)->screen.read(pixels, width, height);
    return true;
}

}  // namespace zemka::platform
