// Library start and stop: the window classes, the drawing window with its
// canvas and timer, and the text window.
#include "zemka/console/console.h"
#include "zemka/script/script.h"
#include "zemka/state.h"
#include "zemka/window/headless.h"
#include "zemka/window/windows.h"

using namespace zemka;
using namespace zemka::platform;

namespace zemka {

void show_text_window(int flag) { show_window(text_window, flag ? SW_SHOW : SW_HIDE); }

}  // namespace zemka

extern "C" int ZEMKA_start(void *instance, void *prev_instance, const char *, int show_mode) {
    headless::configure();
    ensure_toolkit();
    if (!prev_instance) {
        register_class("DrawWndClass", draw_window_proc);
        register_class("TextWndClass", text_window_proc);
    }
    int screen_w = 0, screen_h = 0;
    screen_size(&screen_w, &screen_h);
    animate = 0;
    one_frame = 0;
    draw_window =
        create_window("DrawWndClass", "ZEMKA Graphics", WindowStyle::FixedWithMenu, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
    text_window = create_window("TextWndClass", "ZEMKA Text", WindowStyle::Resizable, 0, screen_h * 2 / 3 + 1, screen_w,
                                screen_h / 3);
    app_instance = instance;
    window_dc = get_dc(draw_window);
    canvas_dc = create_memory_dc(CANVAS_WIDTH, CANVAS_HEIGHT);
    show_window(text_window, show_mode);
    show_window(draw_window, show_mode);
    set_timer(draw_window, TIMER_ID, TIMER_PERIOD_MS);
    return 1;
}

extern "C" int ZEMKA_stop(void) {
    headless::program_stops();
    release_dc(draw_window, window_dc);
    window_dc = nullptr;
    script_close();
    return 1;
}
