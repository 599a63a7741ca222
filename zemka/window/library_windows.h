// The library's two windows, the drawing window's context and the program
// instance they belong to.
//
// The window folder owns them, and only start and stop (start_stop.cpp)
// write them; everyone else, the console among them, reads them through
// these functions.
#pragma once

#include "zemka/platform/windowing.h"

namespace zemka {

platform::Window *draw_window();  // null until start: "not started"
platform::Window *text_window();
gdi::Dc *window_dc();
void *app_instance();

}  // namespace zemka
