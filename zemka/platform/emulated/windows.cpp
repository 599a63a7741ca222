// Windows of the emulated window system: classes with procedures, the
// window records with their surfaces, paint and present bookkeeping, and
// what the toolkit reports about them turned into messages.
#include <algorithm>
#include <map>
#include <string>

#include "zemka/draw/canvas_size.h"
#include "zemka/platform/emulated/window_system.h"

namespace zemka::platform {

namespace {

// The drawing window's client area: the canvas shows at (0, 0) of it.
constexpr int FIXED_CLIENT_WIDTH = SHOWN_WIDTH;
constexpr int FIXED_CLIENT_HEIGHT = SHOWN_HEIGHT;
// No surface larger than this, whatever a caller or a toolkit asks for.
constexpr int MAX_CLIENT_SIDE = 8192;
constexpr std::uint32_t CLASS_BACKGROUND = 0xffffffffu;  // white

std::map<std::string, WindowProc> &classes() {
    static std::map<std::string, WindowProc> registry;
    return registry;
}

bool toolkit_started = false;

void surface_changed(void *context) { static_cast<Window *>(context)->needs_present = true; }

std::intptr_t size_lparam(int width, int height) { return static_cast<std::intptr_t>(height) << 16 | width; }

// The window's procedure hears that it ends; the window stays dead until
// the library destroys it for good (destroy_window). Its last picture is
// presented: a toolkit that keeps windows after the program (a page) shows
// it.
void end_window(Window *w) {
    if (!w->alive) return;
    w->proc(w, WM_DESTROY, 0, 0);
    present_window(w);
    w->alive = false;
}

}  // namespace

std::vector<Window *> &all_windows() {
    static std::vector<Window *> windows;
    return windows;
}

void post_paint(Window *w) {
    if (w->paint_pending) return;
    w->paint_pending = true;
    queue_message(w, WM_PAINT, 0, 0);
}

void present_window(Window *w) {
    if (!w->alive || !w->needs_present) return;
    w->needs_present = false;
    const raster::Pixmap pm = gdi::dc_pixmap(w->surface);
    if (pm.pixels) toolkit::present(w->native, pm);
}

void present_all() {
    for (Window *w : all_windows()) present_window(w);
}

raster::Pixmap shown_pixels(const Window *w) {
    if (!w || !w->alive) return {};
    return gdi::dc_pixmap(w->surface);
}

bool ensure_toolkit() {
    if (!toolkit_started) toolkit_started = toolkit::start();
    return toolkit_started;
}

void register_class(const char *name, WindowProc proc) {
    if (name && proc) classes()[name] = proc;
}

bool class_registered(const char *name) { return name && classes().count(name) != 0; }

Window *create_window(const char *class_name, const char *title, WindowStyle style, int x, int y, int w, int h) {
    if (!class_name || !classes().count(class_name) || !ensure_toolkit()) return nullptr;
    const bool fixed = style == WindowStyle::FixedWithMenu;
    toolkit::WindowRequest request;
    request.title = title ? title : "";
    request.fixed = fixed;
    request.x = x;
    request.y = y;
    request.client_width = fixed ? FIXED_CLIENT_WIDTH : std::clamp(w, 1, MAX_CLIENT_SIDE);
    request.client_height = fixed ? FIXED_CLIENT_HEIGHT : std::clamp(h, 1, MAX_CLIENT_SIDE);
    auto *win = new Window;
    win->proc = classes()[class_name];
    win->style = style;
    win->surface = gdi::create_memory_dc(request.client_width, request.client_height);
    // A new window's client area shows its class background.
    const raster::Pixmap pm = gdi::dc_pixmap(win->surface);
    raster::fill_rect(pm, 0, 0, pm.width, pm.height, CLASS_BACKGROUND);
    win->native = toolkit::create_window(win, request);
    if (!win->native) {
        gdi::delete_dc(win->surface);
        delete win;
        return nullptr;
    }
    all_windows().push_back(win);
    gdi::set_dc_change_hook(win->surface, surface_changed, win);
    win->needs_present = true;
    win->proc(win, WM_CREATE, 0, 0);
    const Rect rc = get_client_rect(win);
    win->proc(win, WM_SIZE, 0, size_lparam(rc.right, rc.bottom));
    return win;
}

void show_window(Window *w, int command) {
    if (!window_alive(w)) return;
    const bool show = command != SW_HIDE;
    if (show == w->visible) return;
    w->visible = show;
    toolkit::show_window(w->native, show);
    if (show) post_paint(w);
}

bool window_alive(const Window *w) { return w && w->alive; }
bool window_visible(const Window *w) { return window_alive(w) && w->visible; }

Rect get_client_rect(const Window *w) {
    if (!window_alive(w)) return {};
    const raster::Pixmap pm = gdi::dc_pixmap(w->surface);
    return {0, 0, pm.width, pm.height};
}

void screen_size(int *width, int *height) {
    int sw = 1024, sh = 768;
    if (ensure_toolkit()) toolkit::screen_size(&sw, &sh);
    if (width) *width = sw;
    if (height) *height = sh;
}

std::intptr_t def_window_proc(Window *w, unsigned message, std::uintptr_t, std::intptr_t) {
    // A closed window leaves the screen; the drawing window's procedure
    // asks for a quit instead of coming here.
    if (message == WM_CLOSE && w && w->alive) {
        end_window(w);
        w->visible = false;
        toolkit::show_window(w->native, false);
    }
    return 0;
}

void destroy_window(Window *w) {
    if (!w) return;
    end_window(w);
    std::erase(all_windows(), w);
    toolkit::destroy_window(w->native);
    w->native = nullptr;
    destroy_menu(w->menu);
    gdi::delete_dc(w->surface);
    drop_messages_of(w);
    delete w;
}

gdi::Dc *get_dc(Window *w) { return window_alive(w) ? w->surface : nullptr; }
void release_dc(Window *, gdi::Dc *) {}

gdi::Dc *begin_paint(Window *w) {
    if (!window_alive(w)) return nullptr;
    w->paint_pending = false;
    const raster::Pixmap pm = gdi::dc_pixmap(w->surface);
    raster::fill_rect(pm, 0, 0, pm.width, pm.height, CLASS_BACKGROUND);
    return w->surface;
}

void end_paint(Window *w, gdi::Dc *) {
    if (!window_alive(w)) return;
    w->needs_present = true;
    present_window(w);
}

void *native_handle(const Window *w) { return w && w->native ? toolkit::native_handle(w->native) : nullptr; }

// What the toolkit reports.

void report_click(Window *w, int x, int y) {
    if (window_alive(w)) queue_message(w, WM_LBUTTONDOWN, 1, point_lparam(x, y));
}

void report_key(Window *w, bool pressed, unsigned key_code, char32_t typed) {
    if (!window_alive(w)) return;
    if (pressed)
        queue_message(w, WM_KEYDOWN, key_code, key_lparam(typed));
    else
        queue_message(w, WM_KEYUP, key_code, 0);
}

void report_close_box(Window *w) {
    if (window_alive(w)) queue_message(w, WM_CLOSE, 0, 0);
}

void report_focus_lost(Window *w, const Window *taker) {
    if (!window_alive(w)) return;
    const bool ours = taker && taker != w && std::find(all_windows().begin(), all_windows().end(), taker) !=
                                                 all_windows().end();
    queue_message(w, WM_KILLFOCUS, ours ? reinterpret_cast<std::uintptr_t>(taker) : 0, 0);
}

void report_resized(Window *w, int client_width, int client_height) {
    if (!window_alive(w) || w->style != WindowStyle::Resizable) return;
    const int cw = std::clamp(client_width, 1, MAX_CLIENT_SIDE);
    const int ch = std::clamp(client_height, 1, MAX_CLIENT_SIDE);
    // The surface follows, and the window draws itself anew.
    gdi::resize_dc(w->surface, cw, ch);
    w->needs_present = true;
    queue_message(w, WM_SIZE, 0, size_lparam(cw, ch));
    post_paint(w);
}

}  // namespace zemka::platform
