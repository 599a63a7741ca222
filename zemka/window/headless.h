// Runs without anyone at the machine, chosen by environment variables:
//   ZEMKA_PLAY=FILE            events come from FILE from the first wait on
//   ZEMKA_QUIT_AFTER_PLAY=1    the wait in which that playback ends quits
//   ZEMKA_PLAY_LIMIT=N         at most N events are played (1,000,000)
//   ZEMKA_SNAPSHOT=FILE.png    the shown picture is written at stop and exit
//   ZEMKA_SNAPSHOT_EVERY=N     ... and as FILE-000001.png, ... every N waits
//   ZEMKA_ECHO=1               every console line also goes to stderr
// A value that cannot be used is reported with one line on stderr and
// ignored.
#pragma once

namespace zemka::headless {

// Reads the variables; called once by the library start.
void configure();
// Called by the wait before its loop: starts the replay on the first wait.
void wait_begins();
// Called before a playback step: false when the play limit ends playback.
bool play_step_allowed();
// Called after a playback step that produced an event.
void event_played();
// Called when a wait finds playback ended: true when the wait must quit.
bool playback_ended();
// Called at the end of every wait.
void wait_ends();
// Writes the final snapshot (at stop, and at a normal exit).
void write_final_snapshot();

}  // namespace zemka::headless
