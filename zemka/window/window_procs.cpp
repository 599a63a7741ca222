// The procedures of the drawing window and the text window.
#include "zemka/window/window_procs.h"

#include "zemka/console/console.h"
#include "zemka/state.h"

namespace zemka {

using namespace platform;

namespace {

// The centre of the client area is the origin of logical coordinates.
void recompute_centre(Window *window) {
    const Rect rc = get_client_rect(window);
    centre_x = (rc.right - rc.left) / 2 + rc.left;
    centre_y = (rc.bottom - rc.top) / 2 + rc.top;
}

void repaint_drawing_window(Window *window) {
    gdi::Dc *paint_dc = begin_paint(window);
    gdi::bit_blt(window_dc, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, canvas_dc, 0, 0);
    end_paint(window, paint_dc);
    canvas_dirty = 0;
}

}  // namespace

std::intptr_t draw_window_proc(Window *window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
    switch (message) {
        case WM_CREATE: build_menu(window); return 0;
        case WM_DESTROY:
            kill_timer(window, TIMER_ID);
            post_quit_message(0);
            return 0;
        case WM_SIZE: recompute_centre(window); return 0;
        case WM_PAINT: repaint_drawing_window(window); return 0;
        case WM_KEYDOWN: key_pressed(wparam); return 0;
        case WM_KEYUP: key_released(wparam); return 0;
        case WM_CHAR: input_char(wparam); return 0;
        case WM_KILLFOCUS: focus_lost(wparam); return 0;
        case WM_COMMAND: run_command(wparam); return 0;
        case WM_TIMER: input_timer(); return 0;
        case WM_LBUTTONDOWN: input_mouse_down(lparam); return 0;
        default: return def_window_proc(window, message, wparam, lparam);
    }
}

std::intptr_t text_window_proc(Window *window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
    switch (message) {
        case WM_PAINT: {
            gdi::Dc *paint_dc = begin_paint(window);
            console::repaint();
            end_paint(window, paint_dc);
            return 0;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_KILLFOCUS:
            // Keys typed into the console act as if typed into the drawing
            // window; so does its loss of the focus, with the window that
            // takes it.
            post_message(draw_window, message, wparam, lparam);
            return 0;
        default: return def_window_proc(window, message, wparam, lparam);
    }
}

}  // namespace zemka
