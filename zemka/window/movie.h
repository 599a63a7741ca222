// Animated pictures of the shown picture (ZEMKA_MOVIE=FILE.gif): a frame
// at the end of every wait whose picture changed (every Nth wait with
// ZEMKA_MOVIE_EVERY=N), each shown until the next. During a replay the
// script's ticks are the clock (a tenth of a second each), so the same
// script always gives the same file; otherwise the real clock is. The file
// is written whole at stop or exit, or not at all; ZEMKA_MOVIE_LIMIT=N
// (frames, 3000 by default) bounds it, and so does a fixed size.
#pragma once

#include <string>

namespace zemka::movie {

// Reads the settings; called once by the library start, with the script
// being played (null when none), which an animation never replaces.
void configure(const char *played_script);
// Starts recording into path, as ZEMKA_MOVIE does (a page's button);
// false, with one line saying why, when it cannot. Nothing is recorded into
// the script being played or into a file that is not a GIF animation (an
// empty one holds nothing and may be replaced).
bool start(const char *path);
bool recording();
// The file of the animation recorded or being recorded, empty when none.
const std::string &file();
// At the end of every wait: replaying tells which clock counts; tick is
// whether the wait returns a periodic event.
void wait_ends(bool replaying, bool tick);
// Writes the file (at stop, at exit, and for the page's button).
void finish();

}  // namespace zemka::movie
