// Recording of returned events to the script file and playing them back
// into the event wait.
#pragma once

#include "zemka/zemka.h"

namespace zemka {

// Writes the line of one event (mouse, key, or the pending periodic run
// for kind 3); opens the script file for writing on first use.
void script_write_event(int kind, EventRecord record);
// Produces the next scripted event into pending_kind / current_event:
// 1 when it did, 0 when playback cannot go on.
int script_play_step();
// Ends playback: clears both playback flags and the menu check mark.
void script_stop_playback();
// Closes the script file if one is open.
void script_close();

// The menu and keyboard commands of the script facility.
void script_toggle_recording();
void script_toggle_playback();
void script_play_once();

// The script file's path: "ZEMKA.SCR" in the working directory unless
// set_script_path chose another (null or "" returns to the default). A
// stream that is already open keeps the path it was opened with.
const char *script_path();
void set_script_path(const char *path);

// Whether the shared script stream is open (by recording or playback).
bool script_file_open();

}  // namespace zemka
