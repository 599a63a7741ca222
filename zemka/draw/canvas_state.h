// The canvas the drawing entries paint into, and how they paint.
//
// The drawing folder owns these: it paints the canvas and logs its calls.
// The window folder, which the drawing folder never includes, writes some
// of them too: start and stop create and delete the canvas, the drawing
// window's size sets the centre, presenting the canvas clears the dirty
// flag, the menu and ZEMKA_set_logging switch logging. Plain variables:
// the tests set them as a start would.
#pragma once

#include "zemka/raster/gdi.h"

namespace zemka {

extern gdi::Dc *canvas_dc;      // null until start
extern int centre_x, centre_y;  // device coordinates of logical (0, 0)
extern int canvas_dirty;        // canvas changed since it was last shown
extern unsigned char logging;   // drawing calls write a log line

}  // namespace zemka
