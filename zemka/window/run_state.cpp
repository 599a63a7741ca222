#include "zemka/window/run_state.h"

namespace zemka {

unsigned char animate = 0;
unsigned char one_frame = 0;
unsigned char quit_requested = 0;
int pending_kind = -1;
EventRecord current_event = {0, 0, 0};
int tick_seen = 0;
int ctrl_down = 0;

}  // namespace zemka
