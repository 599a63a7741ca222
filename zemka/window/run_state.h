// Run control and the event that the current wait produces.
//
// The window folder owns these: its menu, its keys and the ZEMKA_ calls
// set the run flags, and the event wait produces the event. The script
// facility writes some of them too: a playback step produces the event it
// read, and starting a playback halts the animation. Plain variables: the
// tests set them as a wait or a command would.
#pragma once

#include "zemka/zemka.h"

namespace zemka {

extern unsigned char animate, one_frame, quit_requested;
extern int pending_kind;  // -1 while no event is ready
extern EventRecord current_event;
extern int tick_seen;  // a timer tick came since the last periodic event
extern int ctrl_down;  // the Control key is held

}  // namespace zemka
