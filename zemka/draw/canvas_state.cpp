// The drawing side of the library's process-wide state.
#include "zemka/state.h"

namespace zemka {

int canvas_dirty = 1;
int centre_x = 0;
int centre_y = 0;
gdi::Dc *canvas_dc = nullptr;
unsigned char logging = 1;

}  // namespace zemka
