// The platform's window system: window classes with procedures, one
// message queue for the thread, timers, window drawing contexts, menus and
// the modal loop of a dialog. The library's logic sees windows only as
// handles and messages. The Win32 back end (platform/win32) answers with
// the system's own window system; the Qt, web and headless back ends with
// the emulated one (platform/emulated) over their toolkits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zemka/raster/gdi.h"

namespace zemka::platform {

struct Window;
struct Menu;

using WindowProc = std::intptr_t (*)(Window *window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);

enum Message : unsigned {
    WM_CREATE = 1,
    WM_DESTROY = 2,
    WM_SIZE = 5,
    WM_KILLFOCUS = 8,  // wparam: the window that takes the focus, 0 when none of ours
    WM_PAINT = 15,
    WM_CLOSE = 16,
    WM_QUIT = 18,
    WM_KEYDOWN = 256,
    WM_KEYUP = 257,
    WM_CHAR = 258,
    WM_COMMAND = 273,
    WM_TIMER = 275,
    WM_LBUTTONDOWN = 513,
};

// Key codes of WM_KEYDOWN / WM_KEYUP: letters are their upper-case ASCII
// codes, digits theirs.
enum KeyCode : unsigned { VK_CONTROL = 17 };

// WM_KEYDOWN carries in lparam the character the key press types (its
// code point shifted left by 16; 0 when it types none), which the
// translate step turns into WM_CHAR.
constexpr std::intptr_t key_lparam(char32_t typed) { return static_cast<std::intptr_t>(typed) << 16 | 1; }
constexpr char32_t typed_char_of(std::intptr_t lparam) {
    return static_cast<char32_t>((static_cast<std::uintptr_t>(lparam) >> 16) & 0x1fffff);
}
// WM_LBUTTONDOWN: client x in the low 16 bits, y in the next 16.
constexpr std::intptr_t point_lparam(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xffff) << 16) |
                                      static_cast<std::uint32_t>(x & 0xffff));
}

struct Msg {
    Window *window = nullptr;
    unsigned message = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

enum class WindowStyle { FixedWithMenu, Resizable };
enum ShowCommand { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOW = 5 };

enum MenuFlag : unsigned {
    MF_STRING = 0,
    MF_UNCHECKED = 0,
    MF_GRAYED = 1,
    MF_CHECKED = 8,
    MF_POPUP = 0x10,
    MF_SEPARATOR = 0x800,
};

// Starts the toolkit when the program has not: true when windows can be
// shown. A back end with a display falls back to drawing offscreen when
// none is reachable.
bool ensure_toolkit();

void register_class(const char *name, WindowProc proc);
bool class_registered(const char *name);
// Creates a window of a registered class: the procedure receives WM_CREATE
// and WM_SIZE before this returns. The fixed style has a 600 x 500 client
// area below its menu bar, whatever w x h says; the resizable one a client
// area of w x h.
Window *create_window(const char *class_name, const char *title, WindowStyle style, int x, int y, int w, int h);
void show_window(Window *window, int command);
bool window_alive(const Window *window);  // false once destroyed, or null
bool window_visible(const Window *window);
Rect get_client_rect(const Window *window);
void screen_size(int *width, int *height);
std::intptr_t def_window_proc(Window *window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
// Destroys a window for good: its procedure receives WM_DESTROY (unless the
// window was already closed), then its widgets, surface, timers, attached
// menu bar with its popups, and the messages queued for it go. The handle
// must not be used afterwards. Null does nothing.
void destroy_window(Window *window);

// Drawing into a window's client area: what is drawn there is shown by the
// toolkit. Null for a destroyed window.
gdi::Dc *get_dc(Window *window);
void release_dc(Window *window, gdi::Dc *dc);
gdi::Dc *begin_paint(Window *window);
void end_paint(Window *window, gdi::Dc *dc);

// The thread's message queue, in arrival order.
bool peek_message(Msg *out);  // takes one message without waiting
void translate_message(const Msg &msg);
std::intptr_t dispatch_message(const Msg &msg);
void post_message(Window *window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
void post_quit_message(int exit_code);
// Drops every queued message, quit requests included.
void discard_messages();
// Sleeps until the toolkit has input or a timer fires; returns at once when
// a message is queued. With timers_wanted false the caller has no use for
// a tick now (the animation is halted), so only input need wake it: a back
// end that can get no input at all can then tell that nothing will ever
// happen.
void wait_message(bool timers_wanted = true);

// A periodic timer: at most one WM_TIMER per timer is ever pending.
void set_timer(Window *window, unsigned id, int period_ms);
void kill_timer(Window *window, unsigned id);

Menu *create_menu();
Menu *create_popup_menu();
void append_menu(Menu *menu, unsigned flags, std::uintptr_t id_or_popup, const char *text);
void set_menu(Window *window, Menu *menu);
void draw_menu_bar(Window *window);
void check_menu_item(Menu *menu, unsigned id, unsigned flags);
// Frees a menu and its popups. A menu attached to a window goes with the
// window (destroy_window); this is for menus that never were attached.
void destroy_menu(Menu *menu);

// What a menu shows, read back from the toolkit (tests, diagnostics).
struct MenuItemInfo {
    unsigned id = 0;
    std::string text;  // with "\t" before the shortcut, as appended
    bool separator = false;
    bool grayed = false;
    bool checked = false;
};
std::vector<MenuItemInfo> menu_item_info(const Menu *menu);

// The toolkit object behind a window, for code that knows its back end:
// a QWidget* (Qt), an HWND (Win32), the page's window id (web), null
// (headless).
void *native_handle(const Window *window);

}  // namespace zemka::platform
