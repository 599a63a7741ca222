// The drawing window's "&Run" menu: its item ids and the menu itself.
//
// The window folder owns the menu: it builds it (commands.cpp) and drops
// it at stop. The script facility checks and unchecks its items for
// recording and playback. A plain variable: the script tests give the
// facility a menu of their own.
#pragma once

#include "zemka/platform/windowing.h"

namespace zemka {

// A page's two animation buttons send commands that no item has: their
// ids are the platform's (COMMAND_MOVIE_START and COMMAND_MOVIE_STOP in
// zemka/platform/windowing.h), since a back end sends them, and the ids
// here stay clear of them.
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
};

extern platform::Menu *run_menu;  // null until start

}  // namespace zemka
