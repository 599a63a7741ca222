// The emulated window system's toolkit in a web page. Each window is a
// page section with a canvas (zemka_web.js); its pixels reach the canvas
// when the library presents them. Input is queued by the page and taken
// here in arrival order; the wait sleeps in the browser's event loop.
#include <emscripten.h>

#include <map>

#include "zemka/platform/emulated/toolkit.h"
#include "zemka/platform/web/web_bridge.h"

namespace zemka::platform {

namespace toolkit {

struct NativeWindow {
    int id = 0;  // the page's name for it
    Window *window = nullptr;
};

}  // namespace toolkit

namespace {

// How long the program may run without giving the browser a turn: while a
// replay feeds the wait without ever waiting, the page still shows
// pictures and takes input.
constexpr double YIELD_INTERVAL_MS = 50.0;

std::map<int, toolkit::NativeWindow *> &windows_by_id() {
    static std::map<int, toolkit::NativeWindow *> registry;
    return registry;
}

int next_window_id = 1;

Window *window_of_id(int id) {
    auto it = windows_by_id().find(id);
    return it == windows_by_id().end() ? nullptr : it->second->window;
}

// Takes the page's input records and reports them; returns how many there
// were. Dialog records carry the dialog's id, negated.
int take_page_input() {
    int records[64 * 4];
    int total = 0;
    for (;;) {
        const int n = web::take_events(records, 64);
        total += n;
        for (int i = 0; i < n; ++i) {
            const int id = records[i * 4];
            const auto message = static_cast<unsigned>(records[i * 4 + 1]);
            const auto wparam = static_cast<unsigned>(records[i * 4 + 2]);
            const int lparam = records[i * 4 + 3];
            if (id < 0) {
                web::dialog_command(-id, wparam);
                continue;
            }
            Window *w = window_of_id(id);
            if (!w) continue;
            switch (message) {
                case WM_LBUTTONDOWN:
                    report_click(w, static_cast<std::int16_t>(lparam & 0xffff),
                                 static_cast<std::int16_t>((lparam >> 16) & 0xffff));
                    break;
                case WM_KEYDOWN: report_key(w, true, wparam, typed_char_of(lparam)); break;
                case WM_KEYUP: report_key(w, false, wparam, 0); break;
                case WM_CLOSE: report_close_box(w); break;
                case WM_COMMAND: report_menu_choice(w, wparam); break;
                case WM_KILLFOCUS: report_focus_lost(w, window_of_id(static_cast<int>(wparam) - 1)); break;
                case WM_SIZE: report_resized(w, lparam & 0xffff, (lparam >> 16) & 0xffff); break;
                default: break;
            }
        }
        if (n < 64) return total;
    }
}

// When the browser last had a turn: at the end of a wait or of a yield.
double last_turn_ms = 0;

}  // namespace

namespace toolkit {

bool start() { return true; }

void screen_size(int *width, int *height) { web::screen_size(width, height); }

NativeWindow *create_window(Window *window, const WindowRequest &request) {
    auto *native = new NativeWindow;
    native->id = next_window_id++;
    native->window = window;
    windows_by_id()[native->id] = native;
    web::create_window(native->id, request.title, request.fixed, request.client_width, request.client_height);
    return native;
}

void show_window(NativeWindow *native, bool visible) { web::show_window(native->id, visible); }

// The page keeps the last picture of a window the program let go of.
void destroy_window(NativeWindow *native) {
    if (!native) return;
    web::retire_window(native->id);
    windows_by_id().erase(native->id);
    delete native;
}

void present(NativeWindow *native, const raster::Pixmap &pm) {
    web::present(native->id, pm.pixels, pm.width, pm.height, pm.stride);
}

// Gives the browser a turn now and then while the program keeps busy.
void take_input() {
    if (take_page_input() > 0) return;
    if (emscripten_get_now() - last_turn_ms < YIELD_INTERVAL_MS) return;
    emscripten_sleep(0);
    last_turn_ms = emscripten_get_now();
    take_page_input();
}

void wait_for_input(int timeout_ms) {
    if (take_page_input() > 0) return;
    web::wait(timeout_ms);
    last_turn_ms = emscripten_get_now();
    take_page_input();
}

void add_menu_popup(NativeWindow *native, int, const char *title) { web::menu_add_popup(native->id, title); }

void add_menu_item(NativeWindow *native, int popup, int, unsigned id, unsigned flags, const char *text) {
    web::menu_add_item(native->id, popup, id, flags, text);
}

void check_menu_item(NativeWindow *native, int popup, int index, bool checked) {
    web::menu_check(native->id, popup, index, checked);
}

// The page shows exactly the model.
bool shown_menu_item(const NativeWindow *, int, int, MenuItemInfo *) { return false; }

void *native_handle(const NativeWindow *native) {
    return reinterpret_cast<void *>(static_cast<std::intptr_t>(native->id));
}

}  // namespace toolkit

}  // namespace zemka::platform
