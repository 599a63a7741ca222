// The button panel at the picture's left edge and the three weather glyphs.
#pragma once

namespace painter {

// Weather kinds: what a picture click plants. WEATHER_NONE is also the
// kind of a glyph that "Cease!" emptied.
enum WeatherKind : int {
    WEATHER_NONE = 0,
    WEATHER_RAIN = 1,
    WEATHER_SNOW = 2,
    WEATHER_HAIL = 3,
};

// Number of drawing operations one call of draw_panel issues.
constexpr int PANEL_OPERATIONS = 14;

// Draws the seven button outlines and their labels; the label of the
// selected kind and of the selected color is yellow, every other black.
void draw_panel(int kind, int color);

// Maps a click in the panel column (x < -200, 6 <= y <= 249) to its
// button. Always writes *cease (1 only for "Cease!"); a weather button
// writes *kind, a color button *color. A point outside the column's
// height changes nothing but the cease flag.
void panel_hit(int x, int y, int *kind, int *color, int *cease);

// Draws one glyph at its point unless it lies below y = -120 or its kind
// is not a weather kind (a ceased glyph).
void draw_glyph(int kind, int x, int y, int color);

void draw_rain(int x, int y, int color);  // a filled disc of radius 3
void draw_snow(int x, int y, int color);  // two crossing diagonals and a bar
void draw_hail(int x, int y, int color);  // a filled box of 5 x 6 pixels, point at its lower left

}  // namespace painter
