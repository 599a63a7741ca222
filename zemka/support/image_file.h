// Writing a context's pixels to an image file, whole or not at all: the
// picture goes to a temporary file in the same folder, every write and the
// close are checked, and only then is it renamed into place.
#pragma once

#include <string>

#include "zemka/raster/gdi.h"

namespace zemka::platform {

// Writes the top-left width x height pixels of the context as a PNG file.
// On failure returns false, says why in *error (when given) and leaves
// neither a partial file nor the temporary one.
bool save_png(const Dc *dc, int width, int height, const char *path, std::string *error);
// Whether a file could be written at path, found out without creating it:
// path must not name a folder, FIFO or device, and its folder must take a
// new file. Says why not in *error.
bool can_write_file(const char *path, std::string *error);

}  // namespace zemka::platform
