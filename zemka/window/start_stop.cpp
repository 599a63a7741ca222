// Library start and stop: the window classes, the drawing window with its
// canvas and timer, and the text window. Stop releases all of it, so a
// program may start the library again.
#include "zemka/console/console.h"
#include "zemka/script/script.h"
#include "zemka/state.h"
#include "zemka/window/end_signals.h"
#include "zemka/window/unattended.h"
#include "zemka/window/window_procs.h"

using namespace zemka;
using namespace zemka::platform;

namespace zemka {

void show_text_window(int flag) { show_window(text_window, flag ? SW_SHOW : SW_HIDE); }

}  // namespace zemka

namespace {

bool anything_to_release() { return draw_window || text_window || canvas_dc || window_dc || run_menu; }

// Destroys the windows (the drawing window's timer and menu go with it) and
// the canvas, and forgets their handles: the library counts as not started.
void release_windows_and_canvas() {
    kill_timer(draw_window, TIMER_ID);
    console::forget_text_window();
    destroy_window(text_window);
    text_window = nullptr;
    destroy_window(draw_window);
    draw_window = nullptr;
    run_menu = nullptr;
    window_dc = nullptr;
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
    if (draw_window) {
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
    draw_window =
        create_window("DrawWndClass", "ZEMKA Graphics", WindowStyle::FixedWithMenu, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
    check_menu_item(run_menu, MENU_LOGGING, logging ? MF_CHECKED : MF_UNCHECKED);
    text_window = create_window("TextWndClass", "ZEMKA Text", WindowStyle::Resizable, 0, screen_h * 2 / 3 + 1, screen_w,
                                screen_h / 3);
    app_instance = instance;
    window_dc = get_dc(draw_window);
    canvas_dc = gdi::create_memory_dc(CANVAS_WIDTH, CANVAS_HEIGHT);
    show_window(text_window, show_mode);
    show_window(draw_window, show_mode);
    set_timer(draw_window, TIMER_ID, TIMER_PERIOD_MS);
    return 1;
}

extern "C" int ZEMKA_stop(void) {
    if (!anything_to_release()) return 1;
    end_signals::ending();
    unattended::program_stops();
    release_dc(draw_window, window_dc);
    window_dc = nullptr;
    script_close();
    release_windows_and_canvas();
    return 1;
}
