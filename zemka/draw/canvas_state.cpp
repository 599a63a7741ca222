#include "zemka/draw/canvas_state.h"

namespace zemka {

gdi::Dc *canvas_dc = nullptr;
int centre_x = 0;
int centre_y = 0;
int canvas_dirty = 1;
unsigned char logging = 1;

}  // namespace zemka
