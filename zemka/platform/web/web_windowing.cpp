// The window system in a web page. Each window is a page section with a
// canvas; its surface reaches the canvas when the library has drawn into
// it and the program next looks at its queue. Input and timer ticks are
// queued by the page (zemka_web.js) and taken into the one message queue
// here, in arrival order; the wait sleeps in the browser's event loop.
#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "zemka/platform/emulated/message_queue.h"
#include "zemka/platform/web/web_bridge.h"
#include "zemka/platform/windowing.h"

namespace zemka::platform {

namespace {

// The drawing window's client area: the canvas shows at (0, 0) of it.
constexpr int FIXED_CLIENT_WIDTH = 600;
constexpr int FIXED_CLIENT_HEIGHT = 500;
constexpr std::uint32_t CLASS_BACKGROUND = 0xffffffffu;  // white
// How long the program may run without giving the browser a turn: while a
// replay feeds the wait without ever waiting, the page still shows
// pictures and takes input.
constexpr double YIELD_INTERVAL_MS = 50.0;

std::map<std::string, WindowProc> &classes() {
    static std::map<std::string, WindowProc> registry;
    return registry;
}

}  // namespace

struct Menu {
    bool popup = false;
    struct Item {
        unsigned id = 0;
        unsigned flags = 0;
        std::string text;
        Menu *submenu = nullptr;
        bool checked = false;
    };
    std::vector<Item> items;
    Window *owner = nullptr;
    int index_in_bar = -1;  // position of a popup in its window's bar
};

struct Window {
    int id = 0;  // the page's name for it
    WindowProc proc = nullptr;
    bool alive = true;
    bool visible = false;
    bool paint_pending = false;
    bool needs_present = false;
    WindowStyle style = WindowStyle::Resizable;
    Menu *menu = nullptr;
    Dc *surface = nullptr;
    std::map<unsigned, bool> timer_pending;
};

namespace {

std::map<int, Window *> &windows_by_id() {
    static std::map<int, Window *> registry;
    return registry;
}

int next_window_id = 1;

void post_paint(Window *w) {
    if (w->paint_pending) return;
    w->paint_pending = true;
    queue_message(w, WM_PAINT, 0, 0);
}

void present(Window *w) {
    if (!w->alive || !w->needs_present) return;
    w->needs_present = false;
    const raster::Pixmap pm = dc_pixmap(w->surface);
    if (pm.pixels) web::present(w->id, pm.pixels, pm.width, pm.height, pm.stride);
}

// Shows what changed in every window; called whenever the program looks
// at its queue, so a frame drawn between two looks is shown once.
void present_all() {
    for (auto &[id, w] : windows_by_id()) present(w);
}

void surface_changed(void *context) { static_cast<Window *>(context)->needs_present = true; }

Window *window_of_id(int id) {
    auto it = windows_by_id().find(id);
    return it == windows_by_id().end() ? nullptr : it->second;
}

// Takes the page's input into the message queue. Timer ticks are dropped
// while one of the same timer is still queued; dialog commands go straight
// to their dialog's procedure, as a toolkit's button handler would.
void take_page_input() {
    int records[64 * 4];
    for (;;) {
        const int n = web::take_events(records, 64);
        for (int i = 0; i < n; ++i) {
            const int id = records[i * 4];
            const auto message = static_cast<unsigned>(records[i * 4 + 1]);
            const auto wparam = static_cast<std::uintptr_t>(static_cast<std::uint32_t>(records[i * 4 + 2]));
            const std::intptr_t lparam = records[i * 4 + 3];
            if (id < 0) {
                web::dialog_command(-id, static_cast<unsigned>(wparam));
                continue;
            }
            Window *w = window_of_id(id);
            if (!w || !w->alive) continue;
            if (message == WM_TIMER) {
                bool &pending = w->timer_pending[static_cast<unsigned>(wparam)];
                if (pending) continue;
                pending = true;
                queue_message(w, WM_TIMER, wparam, 0);
            } else if (message == WM_SIZE) {
                // The user resized the frame of a resizable window: the
                // surface follows, and the window draws itself anew.
                if (w->style != WindowStyle::Resizable) continue;
                const int cw = std::clamp(static_cast<int>(lparam & 0xffff), 1, 4096);
                const int ch = std::clamp(static_cast<int>((lparam >> 16) & 0xffff), 1, 4096);
                resize_dc(w->surface, cw, ch);
                w->needs_present = true;
                queue_message(w, WM_SIZE, 0, static_cast<std::intptr_t>(ch) << 16 | cw);
                post_paint(w);
            } else if (message == WM_KILLFOCUS) {
                Window *taker = window_of_id(static_cast<int>(wparam) - 1);
                queue_message(w, WM_KILLFOCUS, reinterpret_cast<std::uintptr_t>(taker), 0);
            } else {
                queue_message(w, message, wparam, lparam);
            }
        }
        if (n < 64) return;
    }
}

// When the browser last had a turn: at the end of a wait or of a yield.
double last_turn_ms = 0;

// Gives the browser a turn now and then while the program keeps busy.
void yield_now_and_then() {
    if (emscripten_get_now() - last_turn_ms < YIELD_INTERVAL_MS) return;
    present_all();
    emscripten_sleep(0);
    last_turn_ms = emscripten_get_now();
}

void end_window(Window *w) {
    if (!w->alive) return;
    w->proc(w, WM_DESTROY, 0, 0);
    present(w);
    w->alive = false;
    for (auto &[id, pending] : w->timer_pending) web::kill_timer(w->id, static_cast<int>(id));
}

}  // namespace

bool ensure_toolkit() { return true; }

void register_class(const char *name, WindowProc proc) {
    if (name && proc) classes()[name] = proc;
}

bool class_registered(const char *name) { return name && classes().count(name) != 0; }

Window *create_window(const char *class_name, const char *title, WindowStyle style, int, int, int w, int h) {
    if (!class_name || !classes().count(class_name)) return nullptr;
    auto *win = new Window;
    win->id = next_window_id++;
    win->proc = classes()[class_name];
    win->style = style;
    const int cw = style == WindowStyle::FixedWithMenu ? FIXED_CLIENT_WIDTH : std::clamp(w, 1, 4096);
    const int ch = style == WindowStyle::FixedWithMenu ? FIXED_CLIENT_HEIGHT : std::clamp(h, 1, 4096);
    win->surface = create_memory_dc(cw, ch);
    const raster::Pixmap pm = dc_pixmap(win->surface);
    raster::fill_rect(pm, 0, 0, pm.width, pm.height, CLASS_BACKGROUND);
    windows_by_id()[win->id] = win;
    web::create_window(win->id, title ? title : "", style == WindowStyle::FixedWithMenu, cw, ch);
    set_dc_change_hook(win->surface, surface_changed, win);
    win->needs_present = true;
    win->proc(win, WM_CREATE, 0, 0);
    const Rect rc = get_client_rect(win);
    win->proc(win, WM_SIZE, 0, static_cast<std::intptr_t>(rc.bottom) << 16 | rc.right);
    return win;
}

void show_window(Window *w, int command) {
    if (!window_alive(w)) return;
    const bool show = command != SW_HIDE;
    if (show == w->visible) return;
    w->visible = show;
    web::show_window(w->id, show);
    if (show) post_paint(w);
}

bool window_alive(const Window *w) { return w && w->alive; }
bool window_visible(const Window *w) { return window_alive(w) && w->visible; }

Rect get_client_rect(const Window *w) {
    if (!window_alive(w)) return {};
    const raster::Pixmap pm = dc_pixmap(w->surface);
    return {0, 0, pm.width, pm.height};
}

void screen_size(int *width, int *height) {
    int sw = 0, sh = 0;
    web::screen_size(&sw, &sh);
    if (width) *width = sw;
    if (height) *height = sh;
}

std::intptr_t def_window_proc(Window *w, unsigned message, std::uintptr_t, std::intptr_t) {
    if (message == WM_CLOSE && w) {
        // A closed window leaves the page; the drawing window's procedure
        // asks for a quit instead of coming here.
        end_window(w);
        web::show_window(w->id, false);
        w->visible = false;
    }
    return 0;
}

void destroy_window(Window *w) {
    if (!w) return;
    // The page keeps the last picture of a window the program let go of.
    end_window(w);
    web::retire_window(w->id);
    windows_by_id().erase(w->id);
    destroy_menu(w->menu);
    delete_dc(w->surface);
    drop_messages_of(w);
    delete w;
}

Dc *get_dc(Window *w) { return window_alive(w) ? w->surface : nullptr; }
void release_dc(Window *, Dc *) {}

Dc *begin_paint(Window *w) {
    if (!window_alive(w)) return nullptr;
    w->paint_pending = false;
    const raster::Pixmap pm = dc_pixmap(w->surface);
    raster::fill_rect(pm, 0, 0, pm.width, pm.height, CLASS_BACKGROUND);
    return w->surface;
}

void end_paint(Window *w, Dc *) {
    if (window_alive(w)) w->needs_present = true;
}

bool peek_message(Msg *out) {
    present_all();
    take_page_input();
    if (queued_messages().empty()) {
        yield_now_and_then();
        take_page_input();
    }
    if (queued_messages().empty()) return false;
    const Msg msg = queued_messages().front();
    queued_messages().pop_front();
    if (msg.message == WM_TIMER && msg.window) msg.window->timer_pending[static_cast<unsigned>(msg.wparam)] = false;
    if (out) *out = msg;
    return true;
}

std::intptr_t dispatch_message(const Msg &msg) {
    if (!window_alive(msg.window)) return 0;
    return msg.window->proc(msg.window, msg.message, msg.wparam, msg.lparam);
}

void wait_message() {
    take_page_input();
    if (!queued_messages().empty()) return;
    present_all();
    web::wait();
    last_turn_ms = emscripten_get_now();
}

void set_timer(Window *w, unsigned id, int period_ms) {
    if (!window_alive(w)) return;
    w->timer_pending.try_emplace(id, false);
    web::set_timer(w->id, static_cast<int>(id), std::max(period_ms, 1));
}

void kill_timer(Window *w, unsigned id) {
    if (w && w->timer_pending.count(id)) web::kill_timer(w->id, static_cast<int>(id));
}

Menu *create_menu() { return new Menu; }

Menu *create_popup_menu() {
    auto *m = new Menu;
    m->popup = true;
    return m;
}

void append_menu(Menu *menu, unsigned flags, std::uintptr_t id_or_popup, const char *text) {
    if (!menu) return;
    Menu::Item item;
    item.flags = flags;
    item.text = (flags & MF_SEPARATOR) ? "" : (text ? text : "");
    if (flags & MF_POPUP)
        item.submenu = reinterpret_cast<Menu *>(id_or_popup);
    else
        item.id = static_cast<unsigned>(id_or_popup);
    item.checked = (flags & MF_CHECKED) != 0 && !(flags & MF_SEPARATOR);
    menu->items.push_back(item);
    if (menu->owner && menu->index_in_bar >= 0)
        web::menu_add_item(menu->owner->id, menu->index_in_bar, item.id, flags, item.text.c_str());
}

void set_menu(Window *w, Menu *menu) {
    if (!window_alive(w) || !menu) return;
    w->menu = menu;
    int index = 0;
    for (Menu::Item &bar_item : menu->items) {
        if (!bar_item.submenu) continue;
        Menu *popup = bar_item.submenu;
        popup->owner = w;
        popup->index_in_bar = index++;
        web::menu_add_popup(w->id, bar_item.text.c_str());
        for (const Menu::Item &item : popup->items)
            web::menu_add_item(w->id, popup->index_in_bar, item.id,
                               (item.flags & ~static_cast<unsigned>(MF_CHECKED)) | (item.checked ? MF_CHECKED : 0),
                               item.text.c_str());
    }
}

void draw_menu_bar(Window *) {}  // the page shows menu changes at once

void check_menu_item(Menu *menu, unsigned id, unsigned flags) {
    if (!menu) return;
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        Menu::Item &item = menu->items[i];
        if (item.id != id || (item.flags & MF_SEPARATOR)) continue;
        item.checked = (flags & MF_CHECKED) != 0;
        if (menu->owner && menu->index_in_bar >= 0)
            web::menu_check(menu->owner->id, menu->index_in_bar, static_cast<int>(i), item.checked);
    }
}

void destroy_menu(Menu *menu) {
    if (!menu) return;
    for (const Menu::Item &item : menu->items) destroy_menu(item.submenu);
    delete menu;
}

std::vector<MenuItemInfo> menu_item_info(const Menu *menu) {
    std::vector<MenuItemInfo> out;
    if (!menu) return out;
    for (const Menu::Item &item : menu->items) {
        MenuItemInfo info;
        info.id = item.id;
        info.text = item.text;
        info.separator = (item.flags & MF_SEPARATOR) != 0;
        info.grayed = (item.flags & MF_GRAYED) != 0;
        info.checked = item.checked;
        out.push_back(info);
    }
    return out;
}

void *native_handle(const Window *w) {
    return w ? reinterpret_cast<void *>(static_cast<std::intptr_t>(w->id)) : nullptr;
}

}  // namespace zemka::platform
