// Recording of returned events to the script file and playing them back
// into the event wait.
#pragma once

#include "zemka/zemka.h"

namespace zemka {

// Records one event that the wait returns, by the run-length rule: a
// periodic event adds to the current run, whose one line at the end of the
// file is rewritten in place as it grows; any other event closes the run
// and gets its own line. The file is complete after every call, so a
// recorder that is killed loses nothing the wait returned.
void script_record_event(int kind, EventRecord record);
// Writes the line of one event (mouse, key, or the current periodic run
// with pending_periodic for kind 3); opens the script file for writing on
// first use.
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
// While set, playback reads this file instead (a replay asked for from
// outside); recording never writes it. Null returns to script_path().
void set_replay_path(const char *path);
// A file that recording must never write, under any name (the replayed
// script of an unattended run). Null protects nothing.
void protect_script_file(const char *path);

// Whether the shared script stream is open (by recording or playback).
bool script_file_open();

// How the last playback ended.
enum class PlaybackEnd { None, EndOfFile, UnusableLine, CannotOpen, SwitchedOff, WhileRecording };
PlaybackEnd last_playback_end();

}  // namespace zemka
