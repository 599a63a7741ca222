// Process-wide library state shared between the subsystems. Plain
// variables: the library runs on one thread and every window procedure
// runs inside a platform call made on that thread.
#pragma once

#include "zemka/raster/gdi.h"
#include "zemka/platform/windowing.h"
#include "zemka/zemka.h"

namespace zemka {

// Drawing: the canvas and its centre.
extern int canvas_dirty;         // canvas changed since it was last shown
extern int centre_x, centre_y;   // device coordinates of logical (0, 0)
extern gdi::Dc *canvas_dc;       // null until start
extern unsigned char logging;    // drawing calls write a log line

// Windows.
extern platform::Window *draw_window;  // null until start: "not started"
extern platform::Window *text_window;
extern gdi::Dc *window_dc;
extern void *app_instance;
extern platform::Menu *run_menu;

// Run control and the event being produced by the current wait.
extern unsigned char animate, one_frame, quit_requested;
extern unsigned char recording, playing_continuous, playing_once;
extern int pending_kind;  // -1 while no event is ready
extern EventRecord current_event;
extern int pending_periodic;  // periodic events counted for recording or still to play
extern int tick_seen;
extern int ctrl_down;

// Menu item ids of the "&Run" menu.
enum MenuId {
    MENU_ANIMATE = 1,
    MENU_HALT = 2,
    MENU_ONE_FRAME = 3,
    MENU_LOGGING = 4,
    MENU_RECORD = 5,
    MENU_PLAYBACK = 6,
    MENU_PLAY_ONE = 7,
    MENU_QUIT = 8,
    MENU_INFO = 9,
    // Commands of a page's buttons, in no menu: an animation's start and
    // its stop, which writes the file.
    COMMAND_MOVIE_START = 20,
    COMMAND_MOVIE_STOP = 21,
};

}  // namespace zemka
