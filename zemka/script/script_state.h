// Whether a script records or plays, and the periodic run it counts.
//
// The script facility owns these: its commands switch recording and
// playback, and recording and playback share the counter. The window
// folder only clears them: a start begins with neither, and the event
// wait ends a playback whose step produced nothing. Plain variables: the
// tests set them as the commands would.
#pragma once

namespace zemka {

extern unsigned char recording, playing_continuous, playing_once;
extern int pending_periodic;  // periodic events counted for recording or still to play

}  // namespace zemka
