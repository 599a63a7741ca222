#include "zemka/draw/corrections.h"

#include <climits>

#include "zemka/draw/palette.h"
#include "zemka/zemka.h"

namespace zemka {

int negate_safely(int value) { return value == INT_MIN ? INT_MAX : -value; }

int check_color(int color) {
    if (color >= 0 && color < PALETTE_SIZE) return color;
    ZEMKA_console_printf("Illegal color %d; using RED.\n", color);
    return FALLBACK_COLOR;
}

int fix_width(int width) {
    if (width >= 0) return width;
    const int fixed = negate_safely(width);
    ZEMKA_console_printf("Width of %d not possible, using width %d\n", width, fixed);
    return fixed;
}

int fix_radius(int radius) {
    if (radius >= 0) return radius;
    const int fixed = negate_safely(radius);
    ZEMKA_console_printf("Radius of %d not possible, using radius %d\n", radius, fixed);
    return fixed;
}

}  // namespace zemka
