// The window and run-control side of the library's process-wide state.
#include "zemka/state.h"

namespace zemka {

platform::Window *draw_window = nullptr;
platform::Window *text_window = nullptr;
gdi::Dc *window_dc = nullptr;
void *app_instance = nullptr;
platform::Menu *run_menu = nullptr;

unsigned char animate = 0;
unsigned char one_frame = 0;
unsigned char quit_requested = 0;
unsigned char recording = 0;
unsigned char playing_continuous = 0;
unsigned char playing_once = 0;
int pending_kind = -1;
EventRecord current_event = {0, 0, 0};
int pending_periodic = 0;
int tick_seen = 0;
int ctrl_down = 0;

}  // namespace zemka
