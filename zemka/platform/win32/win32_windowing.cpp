// The window system over Win32: each library window is a native window
// whose procedure (a trampoline) hands the library's messages to the
// library's procedure; the client area shows a DIB section that the
// library draws into, copied to the screen with BitBlt.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "zemka/draw/canvas_size.h"
#include "zemka/platform/win32/win32_api.h"

namespace zemka::platform {

namespace {

// The drawing window's client area: the canvas shows at (0, 0) of it.
constexpr int FIXED_CLIENT_WIDTH = SHOWN_WIDTH;
constexpr int FIXED_CLIENT_HEIGHT = SHOWN_HEIGHT;
constexpr std::uint32_t CLASS_BACKGROUND = 0xffffffffu;  // white
constexpr DWORD FIXED_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD RESIZABLE_STYLE = WS_OVERLAPPEDWINDOW;

// Pixels the library draws into, which GDI can copy to the screen.
struct Surface {
    HDC memory_dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    void *bits = nullptr;
    int width = 0;
    int height = 0;
};

bool make_surface(Surface *s, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = std::max(width, 1);
    info.bmiHeader.biHeight = -std::max(height, 1);  // top-down rows, as the library's
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return false;
    }
    HDC memory_dc = CreateCompatibleDC(nullptr);
    if (!memory_dc) {
        DeleteObject(bitmap);
        return false;
    }
    s->previous = SelectObject(memory_dc, bitmap);
    s->memory_dc = memory_dc;
    s->bitmap = bitmap;
    s->bits = bits;
    s->width = std::max(width, 1);
    s->height = std::max(height, 1);
    return true;
}

void free_surface(Surface *s) {
    if (s->memory_dc) {
        SelectObject(s->memory_dc, s->previous);
        DeleteDC(s->memory_dc);
    }
    if (s->bitmap) DeleteObject(s->bitmap);
    *s = Surface{};
}

raster::Pixmap pixmap_of(const Surface &s) {
    return raster::Pixmap{static_cast<std::uint32_t *>(s.bits), s.width, s.height, s.width};
}

const wchar_t *const CLASS_PREFIX = L"ZemkaWindow:";

}  // namespace

struct Menu {
    HMENU handle = nullptr;
    bool popup = false;
    bool attached = false;  // the window it is attached to destroys it
    std::vector<Menu *> submenus;
};

struct Window {
    HWND hwnd = nullptr;
    WindowProc proc = nullptr;
    bool alive = true;
    bool painting = false;
    bool needs_present = false;
    WindowStyle style = WindowStyle::Resizable;
    Surface surface;
    gdi::Dc *dc = nullptr;  // over the surface's pixels
    Menu *menu = nullptr;
    PAINTSTRUCT paint{};
};

namespace {

std::map<std::string, WindowProc> &classes() {
    static auto *registry = new std::map<std::string, WindowProc>;  // kept until exit
    return *registry;
}

std::map<HWND, Window *> &windows() {
    static auto *live = new std::map<HWND, Window *>;  // kept until exit
    return *live;
}

HINSTANCE module_instance() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&module_instance), &module);
    return module;
}

bool library_message(UINT message) {
    switch (message) {
        case WM_CREATE:
        case WM_DESTROY:
        case WM_SIZE:
        case WM_KILLFOCUS:
        case WM_PAINT:
        case WM_CLOSE:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_COMMAND:
        case WM_TIMER:
        case WM_LBUTTONDOWN: return true;
        default: return false;
    }
}

// Copies the surface to the screen.
void present(Window *w) {
    w->needs_present = false;
    if (!w->alive || !w->hwnd || !IsWindowVisible(w->hwnd)) return;
    gdi::dc_pixmap(w->dc);  // drawing still queued on the surface is done first
    if (HDC screen = GetDC(w->hwnd)) {
        BitBlt(screen, 0, 0, w->surface.width, w->surface.height, w->surface.memory_dc, 0, 0, SRCCOPY);
        ReleaseDC(w->hwnd, screen);
    }
}

void present_pending() {
    for (auto &[hwnd, w] : windows())
        if (w->needs_present) present(w);
}

// The library drew on a window's surface. The drawing window takes one
// copy of the canvas per wait and shows it at once; the console's lines
// are shown together when the thread next looks for input.
void surface_changed(void *context) {
    auto *w = static_cast<Window *>(context);
    if (w->painting) return;  // end_paint shows it
    w->needs_present = true;
    if (w->style == WindowStyle::FixedWithMenu) present(w);
}

// A resizable window's surface follows its client area, keeping what the
// two sizes have in common.
void resize_surface(Window *w, int width, int height) {
    if (width <= 0 || height <= 0) return;  // minimised: keep the pixels
    if (width == w->surface.width && height == w->surface.height) return;
    Surface next;
    if (!make_surface(&next, width, height)) return;
    const raster::Pixmap to = pixmap_of(next);
    raster::fill_rect(to, 0, 0, to.width, to.height, CLASS_BACKGROUND);
    const raster::Pixmap from = gdi::dc_pixmap(w->dc);
    const int keep_w = std::min(from.width, to.width), keep_h = std::min(from.height, to.height);
    for (int y = 0; y < keep_h; ++y)
        std::copy_n(from.pixels + static_cast<std::size_t>(y) * from.stride, keep_w,
                    to.pixels + static_cast<std::size_t>(y) * to.stride);
    gdi::rebind_surface_dc(w->dc, to);
    free_surface(&w->surface);
    w->surface = next;
}

// The right Alt key of many layouts (AltGr) comes as a left Ctrl press and
// a right Alt press with the same time stamp. That Ctrl is not the user's:
// taken as one, AltGr+Q (an @ on German keyboards) would quit.
bool altgr_control(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, LONG time) {
    if (message != WM_KEYDOWN || wparam != VK_CONTROL || (lparam & (1L << 24)) != 0) return false;
    MSG next;
    return PeekMessageW(&next, hwnd, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) &&
           (next.message == WM_KEYDOWN || next.message == WM_SYSKEYDOWN) && next.wParam == VK_MENU &&
           (next.lParam & (1L << 24)) != 0 && static_cast<LONG>(next.time) == time;
}

enum class KeyRoute { as_is, dropped, as_key_up };

// What the library hears of a keyboard message, the same whether it was
// sent to a window or taken from the queue.
KeyRoute key_route(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, LONG time) {
    // Characters beyond one byte and AltGr's Ctrl do not reach the library.
    if ((message == WM_CHAR && wparam > 0xff) || altgr_control(hwnd, message, wparam, lparam, time))
        return KeyRoute::dropped;
    // Ctrl let go while Alt is held comes as a system key release; the
    // library hears it as the release it is.
    if (message == WM_SYSKEYUP && wparam == VK_CONTROL) return KeyRoute::as_key_up;
    return KeyRoute::as_is;
}

LRESULT call_library(Window *w, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_KILLFOCUS) wparam = reinterpret_cast<WPARAM>(win32::window_of(reinterpret_cast<HWND>(wparam)));
    return static_cast<LRESULT>(
        w->proc(w, message, static_cast<std::uintptr_t>(wparam), static_cast<std::intptr_t>(lparam)));
}

LRESULT CALLBACK trampoline(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto *create = reinterpret_cast<CREATESTRUCTW *>(lparam);
        auto *w = static_cast<Window *>(create->lpCreateParams);
        w->hwnd = hwnd;
        windows()[hwnd] = w;
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    auto found = windows().find(hwnd);
    if (found == windows().end()) return DefWindowProcW(hwnd, message, wparam, lparam);
    Window *w = found->second;
    if (message == WM_NCDESTROY) {
        windows().erase(found);
        w->hwnd = nullptr;
        w->alive = false;
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    if (!w->alive) return DefWindowProcW(hwnd, message, wparam, lparam);
    switch (key_route(hwnd, message, wparam, lparam, GetMessageTime())) {
        case KeyRoute::dropped: return 0;
        case KeyRoute::as_key_up:
            call_library(w, WM_KEYUP, wparam, lparam);
            return DefWindowProcW(hwnd, message, wparam, lparam);
        case KeyRoute::as_is: break;
    }
    if (!library_message(message)) return DefWindowProcW(hwnd, message, wparam, lparam);
    if (message == WM_SIZE && w->style == WindowStyle::Resizable) resize_surface(w, LOWORD(lparam), HIWORD(lparam));
    if (message == WM_DESTROY) {
        // The window is going: its procedure hears of it once, and the
        // library handle stays (dead) until destroy_window.
        call_library(w, message, wparam, lparam);
        w->alive = false;
        return 0;
    }
    return call_library(w, message, wparam, lparam);
}

std::wstring class_name_of(const char *name) { return CLASS_PREFIX + win32::widen(name); }

// Makes the client area of the fixed window exactly the canvas's shown
// part: the outer size comes from the frame and menu metrics, then is
// corrected by what the system really left inside.
void fit_client_area(HWND hwnd) {
    RECT outer{0, 0, FIXED_CLIENT_WIDTH, FIXED_CLIENT_HEIGHT};
    AdjustWindowRectEx(&outer, FIXED_STYLE, GetMenu(hwnd) != nullptr, 0);
    SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT client{}, frame{};
        GetClientRect(hwnd, &client);
        GetWindowRect(hwnd, &frame);
        const int dw = FIXED_CLIENT_WIDTH - (client.right - client.left);
        const int dh = FIXED_CLIENT_HEIGHT - (client.bottom - client.top);
        if (dw == 0 && dh == 0) return;
        SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left + dw, frame.bottom - frame.top + dh,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void destroy_menu_wrappers(Menu *menu) {
    if (!menu) return;
    for (Menu *sub : menu->submenus) destroy_menu_wrappers(sub);
    delete menu;
}

}  // namespace

namespace win32 {

HWND hwnd_of(const Window *window) { return window && window->alive ? window->hwnd : nullptr; }

Window *window_of(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto it = windows().find(hwnd);
    return it != windows().end() && it->second->alive ? it->second : nullptr;
}

}  // namespace win32

bool ensure_toolkit() {
    // The C runtime buffers standard error when it is not a console; lines
    // echoed there (ZEMKA_ECHO) must show as they are written, as elsewhere.
    static const bool unbuffered = std::setvbuf(stderr, nullptr, _IONBF, 0) == 0;
    (void)unbuffered;
    return true;
}

void register_class(const char *name, WindowProc proc) {
    if (!name || !proc) return;
    const bool known = classes().count(name) != 0;
    classes()[name] = proc;
    if (known) return;
    const std::wstring class_name = class_name_of(name);
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = trampoline;
    wc.hInstance = module_instance();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hbrBackground = nullptr;  // the surface covers the client area
    wc.lpszClassName = class_name.c_str();
    RegisterClassW(&wc);
}

bool class_registered(const char *name) { return name && classes().count(name) != 0; }

Window *create_window(const char *class_name, const char *title, WindowStyle style, int x, int y, int w, int h) {
    if (!class_name || !classes().count(class_name)) return nullptr;
    auto *win = new Window;
    win->proc = classes()[class_name];
    win->style = style;
    const bool fixed = style == WindowStyle::FixedWithMenu;
    const int surface_w = fixed ? FIXED_CLIENT_WIDTH : std::max(w, 1);
    const int surface_h = fixed ? FIXED_CLIENT_HEIGHT : std::max(h, 1);
    if (!make_surface(&win->surface, surface_w, surface_h)) {
        delete win;
        return nullptr;
    }
    // A new window's client area shows its class background.
    const raster::Pixmap pm = pixmap_of(win->surface);
    raster::fill_rect(pm, 0, 0, pm.width, pm.height, CLASS_BACKGROUND);
    win->dc = gdi::create_surface_dc(pm);
    gdi::set_dc_change_hook(win->dc, surface_changed, win);
    const std::wstring wide_class = class_name_of(class_name);
    const std::wstring wide_title = win32::widen(title ? title : "");
    // WM_CREATE reaches the library's procedure inside CreateWindowExW.
    HWND hwnd = CreateWindowExW(0, wide_class.c_str(), wide_title.c_str(), fixed ? FIXED_STYLE : RESIZABLE_STYLE, x, y,
                                fixed ? CW_USEDEFAULT : std::max(w, 1), fixed ? CW_USEDEFAULT : std::max(h, 1), nullptr,
                                nullptr, module_instance(), win);
    if (!hwnd) {
        gdi::delete_dc(win->dc);
        free_surface(&win->surface);
        delete win;
        return nullptr;
    }
    if (fixed) {
        fit_client_area(hwnd);
    } else {
        RECT client{};
        GetClientRect(hwnd, &client);
        resize_surface(win, client.right - client.left, client.bottom - client.top);
    }
    const Rect rc = get_client_rect(win);
    if (win->alive) win->proc(win, WM_SIZE, 0, static_cast<std::intptr_t>(rc.bottom) << 16 | rc.right);
    return win;
}

void show_window(Window *w, int command) {
    if (!window_alive(w)) return;
    // The fixed window has nothing to show beyond its 600 x 500 picture: a
    // program started "maximized" still gets it at its own size.
    if (w->style == WindowStyle::FixedWithMenu && command == SW_SHOWMAXIMIZED) command = SW_SHOWNORMAL;
    ShowWindow(w->hwnd, command == SW_HIDE ? SW_HIDE : command);
}

bool window_alive(const Window *w) { return w && w->alive && w->hwnd; }
bool window_visible(const Window *w) { return window_alive(w) && IsWindowVisible(w->hwnd); }

Rect get_client_rect(const Window *w) {
    if (!window_alive(w)) return {};
    return {0, 0, w->surface.width, w->surface.height};
}

void screen_size(int *width, int *height) {
    if (width) *width = GetSystemMetrics(SM_CXSCREEN);
    if (height) *height = GetSystemMetrics(SM_CYSCREEN);
}

std::intptr_t def_window_proc(Window *w, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
    if (!window_alive(w)) return 0;
    if (message == WM_KILLFOCUS)
        wparam = reinterpret_cast<std::uintptr_t>(win32::hwnd_of(reinterpret_cast<Window *>(wparam)));
    return static_cast<std::intptr_t>(
        DefWindowProcW(w->hwnd, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam)));
}

void destroy_window(Window *w) {
    if (!w) return;
    if (w->hwnd) DestroyWindow(w->hwnd);  // the attached menu goes with it
    if (w->menu) {
        w->menu->attached = false;
        destroy_menu_wrappers(w->menu);
    }
    gdi::delete_dc(w->dc);
    free_surface(&w->surface);
    delete w;
}

gdi::Dc *get_dc(Window *w) { return window_alive(w) ? w->dc : nullptr; }
void release_dc(Window *, gdi::Dc *) {}

gdi::Dc *begin_paint(Window *w) {
    if (!window_alive(w)) return nullptr;
    BeginPaint(w->hwnd, &w->paint);
    w->painting = true;
    const raster::Pixmap pm = gdi::dc_pixmap(w->dc);
    raster::fill_rect(pm, 0, 0, pm.width, pm.height, CLASS_BACKGROUND);
    return w->dc;
}

void end_paint(Window *w, gdi::Dc *) {
    if (!window_alive(w) || !w->painting) return;
    gdi::dc_pixmap(w->dc);
    BitBlt(w->paint.hdc, 0, 0, w->surface.width, w->surface.height, w->surface.memory_dc, 0, 0, SRCCOPY);
    // The paint DC reaches only the part to repaint: the rest of the window
    // is shown anew with the next look at the queue.
    const RECT &part = w->paint.rcPaint;
    w->needs_present =
        part.left > 0 || part.top > 0 || part.right < w->surface.width || part.bottom < w->surface.height;
    EndPaint(w->hwnd, &w->paint);
    w->painting = false;
}

bool peek_message(Msg *out) {
    present_pending();
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            if (out) *out = Msg{nullptr, WM_QUIT, static_cast<std::uintptr_t>(m.wParam), 0};
            return true;
        }
        Window *w = win32::window_of(m.hwnd);
        const KeyRoute route =
            w ? key_route(m.hwnd, m.message, m.wParam, m.lParam, static_cast<LONG>(m.time)) : KeyRoute::as_is;
        if (route == KeyRoute::dropped) continue;
        if (route == KeyRoute::as_key_up) {
            if (out)
                *out = Msg{w, WM_KEYUP, static_cast<std::uintptr_t>(m.wParam), static_cast<std::intptr_t>(m.lParam)};
            return true;
        }
        if (!w || !library_message(m.message)) {
            // Other windows' messages (dialogs, the system's own) and the
            // messages the library leaves to the system.
            TranslateMessage(&m);
            DispatchMessageW(&m);
            continue;
        }
        WPARAM wparam = m.wParam;
        if (m.message == WM_KILLFOCUS)
            wparam = reinterpret_cast<WPARAM>(win32::window_of(reinterpret_cast<HWND>(wparam)));
        if (out) *out = Msg{w, m.message, static_cast<std::uintptr_t>(wparam), static_cast<std::intptr_t>(m.lParam)};
        return true;
    }
    return false;
}

void translate_message(const Msg &msg) {
    if (msg.message != WM_KEYDOWN || !window_alive(msg.window)) return;
    MSG m{};
    m.hwnd = msg.window->hwnd;
    m.message = WM_KEYDOWN;
    m.wParam = static_cast<WPARAM>(msg.wparam);
    m.lParam = static_cast<LPARAM>(msg.lparam);
    TranslateMessage(&m);
}

std::intptr_t dispatch_message(const Msg &msg) {
    if (!window_alive(msg.window)) return 0;
    // Straight to the library's procedure: the message is already in the
    // library's terms (a focus message names a library window).
    return msg.window->proc(msg.window, msg.message, msg.wparam, msg.lparam);
}

void post_message(Window *w, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
    if (!window_alive(w)) return;
    if (message == WM_KILLFOCUS)
        wparam = reinterpret_cast<std::uintptr_t>(win32::hwnd_of(reinterpret_cast<Window *>(wparam)));
    PostMessageW(w->hwnd, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

void post_quit_message(int exit_code) { PostQuitMessage(exit_code); }

void discard_messages() {
    // Paint and timer messages are not queued but made while a window
    // needs painting or a timer is due: they are left out, so the loop ends.
    MSG m;
    for (int n = 0; n < 100000; ++n) {
        if (PeekMessageW(&m, nullptr, 0, WM_PAINT - 1, PM_REMOVE) ||
            PeekMessageW(&m, nullptr, WM_PAINT + 1, WM_TIMER - 1, PM_REMOVE) ||
            PeekMessageW(&m, nullptr, WM_TIMER + 1, 0xffffffffu, PM_REMOVE))
            continue;
        break;
    }
}

void wait_message(bool) {
    present_pending();
    // Returns at once when input is already queued, seen or not.
    MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void set_timer(Window *w, unsigned id, int period_ms) {
    // The system keeps at most one WM_TIMER per timer in the queue.
    if (window_alive(w)) SetTimer(w->hwnd, id, static_cast<UINT>(std::max(period_ms, USER_TIMER_MINIMUM)), nullptr);
}

void kill_timer(Window *w, unsigned id) {
    if (window_alive(w)) KillTimer(w->hwnd, id);
}

Menu *create_menu() {
    auto *m = new Menu;
    m->handle = CreateMenu();
    return m;
}

Menu *create_popup_menu() {
    auto *m = new Menu;
    m->handle = CreatePopupMenu();
    m->popup = true;
    return m;
}

void append_menu(Menu *menu, unsigned flags, std::uintptr_t id_or_popup, const char *text) {
    if (!menu || !menu->handle) return;
    const std::wstring wide = win32::widen(text ? text : "");
    UINT_PTR item = static_cast<UINT_PTR>(id_or_popup);
    if (flags & MF_POPUP) {
        auto *sub = reinterpret_cast<Menu *>(id_or_popup);
        if (!sub || !sub->handle) return;
        item = reinterpret_cast<UINT_PTR>(sub->handle);
        menu->submenus.push_back(sub);
    }
    AppendMenuW(menu->handle, flags, item, (flags & MF_SEPARATOR) ? nullptr : wide.c_str());
}

void set_menu(Window *w, Menu *menu) {
    if (!window_alive(w) || !menu) return;
    if (w->menu && w->menu != menu) destroy_menu(w->menu);
    SetMenu(w->hwnd, menu->handle);
    menu->attached = true;
    w->menu = menu;
}

void draw_menu_bar(Window *w) {
    if (window_alive(w)) DrawMenuBar(w->hwnd);
}

void check_menu_item(Menu *menu, unsigned id, unsigned flags) {
    if (!menu || !menu->handle || id == 0) return;
    CheckMenuItem(menu->handle, id, MF_BYCOMMAND | ((flags & MF_CHECKED) ? MF_CHECKED : MF_UNCHECKED));
}

void destroy_menu(Menu *menu) {
    if (!menu) return;
    if (!menu->attached && menu->handle && IsMenu(menu->handle)) DestroyMenu(menu->handle);  // with its popups
    destroy_menu_wrappers(menu);
}

std::vector<MenuItemInfo> menu_item_info(const Menu *menu) {
    std::vector<MenuItemInfo> out;
    if (!menu || !menu->handle || !IsMenu(menu->handle)) return out;
    const int count = GetMenuItemCount(menu->handle);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        wchar_t text[256] = {};
        info.dwTypeData = text;
        info.cch = sizeof text / sizeof text[0] - 1;
        if (!GetMenuItemInfoW(menu->handle, static_cast<UINT>(i), TRUE, &info)) continue;
        MenuItemInfo item;
        item.id = info.wID;
        item.separator = (info.fType & MFT_SEPARATOR) != 0;
        item.grayed = (info.fState & MFS_GRAYED) != 0;
        item.checked = (info.fState & MFS_CHECKED) != 0;
        if (!item.separator) item.text = win32::narrow(text, std::char_traits<wchar_t>::length(text));
        out.push_back(item);
    }
    return out;
}

void *native_handle(const Window *w) { return w ? static_cast<void *>(w->hwnd) : nullptr; }

}  // namespace zemka::platform
