// Writing a context's pixels to an image file.
#pragma once

#include "zemka/platform/gdi.h"

namespace zemka::platform {

// Writes the top-left width x height pixels of the context as a PNG file.
// Returns false when the file cannot be written.
bool save_png(const Dc *dc, int width, int height, const char *path);

}  // namespace zemka::platform
