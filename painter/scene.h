// The landscape: sky, sun, clouds, water, sailboat, instructions,
// mountains, the tree-lined hill and the steamship.
#pragma once

namespace painter {

// Number of drawing operations one call of draw_scene issues.
constexpr int SCENE_OPERATIONS = 196;

// Paints the whole landscape over the picture area (-300, -250) to
// (300, 250). The sun is drawn around (sun_x, sun_y); the sailboat and the
// ship from the lower-left corners of their hulls. Every operation is
// issued on every call, in the same order, whatever the positions.
void draw_scene(int sun_x, int sun_y, int boat_x, int boat_y, int ship_x, int ship_y);

// The six circles under each boat: white circles, each partly covered by a
// blue one to its right, leaving white crescents at the front. L is the
// left x, h1 the height of the first pair and the second, s the shift of
// the first blue circle, h2 the height of the last pair.
void draw_wave_group(int left, int h1, int shift, int h2);

}  // namespace painter
