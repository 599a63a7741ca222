// Files the library has finished writing for the user to take: a recorded
// script once its recording ends, an animation once it is written. On the
// desktop they are simply there; a back end whose files live where the
// user cannot see them (a page's memory) installs a taker that offers
// them, for example as a download.
#pragma once

namespace zemka::support {

using FileTaker = void (*)(const char *path);

// The taker that is told of every finished file (nullptr: nobody).
void set_file_taker(FileTaker taker);
void offer_file(const char *path);

}  // namespace zemka::support
