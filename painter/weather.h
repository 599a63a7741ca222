// The weather painter's state, what each event does to it, and the main
// loop that redraws the whole frame after every event.
#pragma once

#include <array>

#include "painter/panel.h"

namespace painter {

constexpr int MAX_GLYPHS = 500;

// Click classes of classify_click.
enum ClickClass : int {
    CLICK_PICTURE = 0,
    CLICK_PANEL = 1,
    CLICK_WATER = 2,
};

using GlyphArray = std::array<int, MAX_GLYPHS>;

// Everything the painter remembers. Owned by the main loop; the initial
// values are the start of a run.
struct WeatherState {
    // Reference points of the moving parts of the landscape.
    int sun_x = 250, sun_y = 215;
    int boat_x = 140, boat_y = -210;
    int ship_x = 50, ship_y = -140;

    // Selection for the next picture click; 0 means "not chosen yet"
    // (black can never be chosen, so color 0 is free for that).
    int selected_kind = WEATHER_NONE;
    int selected_color = 0;

    // Planted glyphs in planting order, entries 0..count-1 in use. A ceased
    // glyph keeps its entry with kind WEATHER_NONE and keeps moving.
    GlyphArray kind{};
    GlyphArray x{};
    GlyphArray y{};
    GlyphArray color{};
    int count = 0;

    int quit = 0;   // set by the quit event; the loop ends after that iteration
    int cease = 0;  // written by panel_hit on every panel click
};

// Which part of the drawing area a click at (x, y) belongs to.
int classify_click(int x, int y);

// Sets every entry of the kind array to WEATHER_NONE and nothing else.
void clear_glyph_kinds(GlyphArray &kind);

// A picture click: plants a glyph of the selected kind and color at (x, y)
// when both are chosen. Appends while there is room; once all MAX_GLYPHS
// entries are used, reuses the first ceased entry, or ignores the click
// when there is none. Returns the entry written, or -1.
int plant_glyph(WeatherState &s, int x, int y);

// One animation tick: every glyph falls 3 units and re-enters at the top
// below y = -330 (one unit further left); then the sun, the ship and the
// sailboat move left and re-enter beyond the right edge one unit lower.
void periodic_step(WeatherState &s);

// Changes the state for one event of kind event_kind (ZEMKA_MOUSE etc.)
// with its point; keys and unknown kinds change nothing.
void handle_event(WeatherState &s, int event_kind, int x, int y);

// Draws the whole frame: landscape, panel, then every glyph.
void draw_frame(const WeatherState &s);

// The program: starts the library with the four start-up values, runs the
// event loop until the quit event, stops the library and returns 0.
int weather_main(void *instance, void *prev_instance, const char *command_line, int show_mode);

}  // namespace painter
