// Library start and stop: the window classes, the drawing window with its
// canvas and timer, and the text window. Stop releases all of it, so a
// program may start the library again.
#include "zemka/console/console.h"
#include "zemka/draw/canvas_state.h"
#include "zemka/script/script.h"
#include "zemka/script/script_state.h"
#include "zemka/window/end_signals.h"
#include "zemka/window/library_windows.h"
#include "zemka/window/run_menu.h"
#include "zemka/window/run_state.h"
#include "zemka/window/unattended.h"
#include "zemka/window/window_procs.h"

using namespace zemka;
using namespace zemka::platform;

namespace zemka {

namespace {

// Written only by start and stop.
struct LibraryWindows {
    platform::Window *draw = nullptr;
    platform::Window *text = nullptr;
    gdi::Dc *draw_dc = nullptr;
    void *instance = nullptr;
};
LibraryWindows library_windows;

}  // namespace

platform::Window *draw_window() { return library_windows.draw; }
platform::Window *text_window() { return library_windows.text; }
gdi::Dc *window_dc() { return library_windows.draw_dc; }
void *app_instance() { return library_windows.instance; }

void show_text_window(int flag) { show_window(library_windows.text, flag ? SW_SHOW : SW_HIDE); }

}  // namespace zemka

namespace {

bool anything_to_release() {
    return library_windows.draw || library_windows.text || canvas_dc || library_windows.draw_dc || run_menu;
}

// Destroys the windows (the drawing window's timer and menu go with it) and
// the canvas, and forgets their handles: the library counts as not started.
void release_windows_and_canvas() {
    kill_timer(library_windows.draw, TIMER_ID);
    console::forget_text_window();
    destroy_window(library_windows.text);
    library_windows.text = nullptr;
    destroy_window(library_windows.draw);
    library_windows.draw = nullptr;
    run_menu = nullptr;
    library_windows.draw_dc = nullptr;
    gdi::delete_dc(canvas_dc);
    canvas_dc = nullptr;
    // The drawing window's destruction posted a quit request, and input may
    // have come for the windows meanwhile: none of it is for a later start.
    discard_messages();
}

// The run state of a fresh start. Logging keeps its value; the new menu
// shows it. Recording and playback ended with the script file at stop.
void reset_run_state() {
    animate = 0;
    one_frame = 0;
    quit_requested = 0;
    recording = 0;
    playing_continuous = 0;
    playing_once = 0;
    pending_kind = -1;
    current_event = EventRecord{0, 0, 0};
    pending_periodic = 0;
    tick_seen = 0;
    ctrl_down = 0;
    canvas_dirty = 1;
}

}  // namespace

extern "C" int ZEMKA_start(void *instance, void *prev_instance, const char *, int show_mode) {
    if (library_windows.draw) {
        ZEMKA_console_printf("ZEMKA_start called while ZEMKA is already running; ignored\n");
        return 1;
    }
    // What a start that could not open its drawing window left behind.
    if (anything_to_release()) release_windows_and_canvas();
    // Before the outputs are set up: its exit work comes after theirs.
    end_signals::install();
    unattended::configure();
    ensure_toolkit();
    if (!prev_instance) {
        register_class("DrawWndClass", draw_window_proc);
        register_class("TextWndClass", text_window_proc);
    }
    int screen_w = 0, screen_h = 0;
    screen_size(&screen_w, &screen_h);
    reset_run_state();
    library_windows.draw =
        create_window("DrawWndClass", "ZEMKA Graphics", WindowStyle::FixedWithMenu, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
    check_menu_item(run_menu, MENU_LOGGING, logging ? MF_CHECKED : MF_UNCHECKED);
    library_windows.text = create_window("TextWndClass", "ZEMKA Text", WindowStyle::Resizable, 0, screen_h * 2 / 3 + 1,
                                         screen_w, screen_h / 3);
    library_windows.instance = instance;
    library_windows.draw_dc = get_dc(library_windows.draw);
    canvas_dc = gdi::create_memory_dc(CANVAS_WIDTH, CANVAS_HEIGHT);
    show_window(library_windows.text, show_mode);
    show_window(library_windows.draw, show_mode);
    set_timer(library_windows.draw, TIMER_ID, TIMER_PERIOD_MS);
    return 1;
}

extern "C" int ZEMKA_stop(void) {
    if (!anything_to_release()) return 1;
    end_signals::ending();
    unattended::program_stops();
    release_dc(library_windows.draw, library_windows.draw_dc);
    library_windows.draw_dc = nullptr;
    script_close();
    release_windows_and_canvas();
    return 1;
}
