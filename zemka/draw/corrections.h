// Argument corrections shared by the drawing entries: each writes its
// console message and returns the value the entry goes on with.
#pragma once

namespace zemka {

int check_color(int color);
int fix_width(int width);
int fix_radius(int radius);
// The magnitude of a value, with INT_MIN (which cannot be negated) taken
// as INT_MAX.
int negate_safely(int value);

}  // namespace zemka
