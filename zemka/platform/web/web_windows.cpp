// The emulated window system's toolkit in a web page. The program runs in
// a Web Worker; each window is a page section with a canvas (zemka_page.js)
// that shows the pixels the library presents. Input is queued by the
// worker and taken here in arrival order; the wait suspends the program
// until input or the next timer.
#include <ctime>
#include <map>

#include "zemka/platform/emulated/toolkit.h"
#include "zemka/platform/script_file.h"
#include "zemka/platform/web/web_bridge.h"
#include "zemka/platform/web/web_protocol.h"
#include "zemka/support/offered_file.h"

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

double now_ms() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

Window *window_of_id(int id) {
    auto it = windows_by_id().find(id);
    return it == windows_by_id().end() ? nullptr : it->second->window;
}

// Takes the page's input records and reports them; returns how many there
// were.
int take_page_input() {
    int records[64 * 4];
    int total = 0;
    for (;;) {
        const int n = zemka_web_take_input(records, 64);
        total += n;
        for (int i = 0; i < n; ++i) {
            const int *r = records + i * 4;
            const int kind = r[0], id = r[1], a = r[2], b = r[3];
            if (kind == web::INPUT_DIALOG) {
                web::dialog_command(id, static_cast<unsigned>(a));
                continue;
            }
            Window *w = window_of_id(id);
            if (!w) continue;
            switch (kind) {
                case web::INPUT_CLICK: report_click(w, a, b); break;
                case web::INPUT_KEY_DOWN: report_key(w, true, static_cast<unsigned>(a), static_cast<char32_t>(b)); break;
                case web::INPUT_KEY_UP: report_key(w, false, static_cast<unsigned>(a), 0); break;
                case web::INPUT_CLOSE_BOX: report_close_box(w); break;
                case web::INPUT_MENU_CHOICE: report_menu_choice(w, static_cast<unsigned>(a)); break;
                case web::INPUT_FOCUS_LOST: report_focus_lost(w, window_of_id(a)); break;
                case web::INPUT_RESIZED: report_resized(w, a, b); break;
                case web::INPUT_MOVIE_START: report_menu_choice(w, COMMAND_MOVIE_START); break;
                case web::INPUT_MOVIE_STOP: report_menu_choice(w, COMMAND_MOVIE_STOP); break;
                default: break;
            }
        }
        if (n < 64) return total;
    }
}

// The page offers what the library finished writing.
void offer_to_page(const char *path) { zemka_web_offer_file(path); }

// When the browser last had a turn: at the end of a wait or of a yield.
double last_turn_ms = 0;

}  // namespace

namespace toolkit {

bool start() {
    support::set_file_taker(offer_to_page);
    return true;
}

void screen_size(int *width, int *height) { zemka_web_screen_size(width, height); }

NativeWindow *create_window(Window *window, const WindowRequest &request) {
    auto *native = new NativeWindow;
    native->id = next_window_id++;
    native->window = window;
    windows_by_id()[native->id] = native;
    zemka_web_create_window(native->id, request.title, request.fixed ? 1 : 0, request.client_width, request.client_height);
    return native;
}

void show_window(NativeWindow *native, bool visible) { zemka_web_show_window(native->id, visible ? 1 : 0); }

// The page keeps the last picture of a window the program let go of.
void destroy_window(NativeWindow *native) {
    if (!native) return;
    zemka_web_retire_window(native->id);
    windows_by_id().erase(native->id);
    delete native;
}

void present(NativeWindow *native, const raster::Pixmap &pm) {
    zemka_web_present(native->id, pm.pixels, pm.width, pm.height, pm.stride);
}

// Gives the browser a turn now and then while the program keeps busy.
void take_input() {
    if (take_page_input() > 0) return;
    if (now_ms() - last_turn_ms < YIELD_INTERVAL_MS) return;
    zemka_web_yield();
    last_turn_ms = now_ms();
    take_page_input();
}

void wait_for_input(int timeout_ms) {
    if (take_page_input() > 0) return;
    zemka_web_wait(timeout_ms);
    last_turn_ms = now_ms();
    take_page_input();
}

void add_menu_popup(NativeWindow *native, int, const char *title) { zemka_web_menu_add_popup(native->id, title); }

void add_menu_item(NativeWindow *native, int popup, int, unsigned id, unsigned flags, const char *text) {
    const unsigned page_flags = ((flags & MF_GRAYED) ? web::ITEM_GRAYED : 0u) |
                                ((flags & MF_CHECKED) ? web::ITEM_CHECKED : 0u) |
                                ((flags & MF_SEPARATOR) ? web::ITEM_SEPARATOR : 0u);
    zemka_web_menu_add_item(native->id, popup, id, page_flags, text);
}

void check_menu_item(NativeWindow *native, int popup, int index, bool checked) {
    zemka_web_menu_check(native->id, popup, index, checked ? 1 : 0);
}

// The page shows exactly the model.
bool shown_menu_item(const NativeWindow *, int, int, MenuItemInfo *) { return false; }

void *native_handle(const NativeWindow *native) {
    return reinterpret_cast<void *>(static_cast<std::intptr_t>(native->id));
}

}  // namespace toolkit

}  // namespace zemka::platform

// Where a program transformed by Asyncify (for browsers without Promise
// Integration) keeps its unwound stack while it waits: the worker writes
// the two words Asyncify reads at the start, the room follows.
namespace {
constexpr int UNWIND_AREA_BYTES = 1 << 20;
alignas(16) unsigned char unwind_area[UNWIND_AREA_BYTES];
}  // namespace

extern "C" __attribute__((export_name("zemka_web_unwind_area"))) void *zemka_web_unwind_area() { return unwind_area; }
extern "C" __attribute__((export_name("zemka_web_unwind_area_size"))) int zemka_web_unwind_area_size() {
    return UNWIND_AREA_BYTES;
}

// Where a script the page gives to play goes: the file Playback Script reads.
extern "C" __attribute__((export_name("zemka_web_script_path"))) const char *zemka_web_script_path() {
    return zemka::platform::script_file_path();
}
