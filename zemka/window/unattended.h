// Runs without anyone at the machine, chosen by settings (environment
// variables):
//   ZEMKA_PLAY=FILE            events come from FILE from the first wait on
//   ZEMKA_QUIT_AFTER_PLAY=1    the wait in which that replay ends quits
//   ZEMKA_PLAY_LIMIT=N         at most N events are played (1,000,000)
//   ZEMKA_SNAPSHOT=FILE.png    the shown picture is written at stop and exit
//   ZEMKA_SNAPSHOT_EVERY=N     ... and as FILE-000001.png, ... every N waits
// (ZEMKA_ECHO belongs to the console.) A value that cannot be used is
// reported with one line on stderr and ignored, except a ZEMKA_PLAY that
// cannot be replayed: an unattended run must fail then, so the program
// ends with exit status 2.
#pragma once

namespace zemka::unattended {

// Reads the settings; called by the library start, acts once per process.
void configure();
// Called by the wait before its loop: starts the replay on the first wait.
void wait_begins();
// Called before a playback step: false when the play limit ends playback.
bool play_step_allowed();
// Called after a playback step that produced an event.
void event_played();
// Called by the wait whenever playback may have ended (by the script, by
// the limit, or from the menu): true when the wait must return a quit.
bool replay_over_quits();
// Called at the end of every wait.
void wait_ends();
// Writes the final snapshot and ends a replay still running (at stop, and
// at a normal exit).
void program_stops();

}  // namespace zemka::unattended
