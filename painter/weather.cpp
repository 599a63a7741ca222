#include "painter/weather.h"

#include <cstdint>

#include "painter/coords.h"
#include "painter/scene.h"
#include "zemka/zemka.h"

namespace painter {

namespace {

// Glyphs below this height re-enter at the top.
constexpr std::int64_t GLYPH_FLOOR = -330;
constexpr int GLYPH_FALL = 3;

// Moves one part of the landscape left by step. Past -limit it re-enters
// at the mirrored point beyond the right edge and one unit lower. Both
// results are computed in 64 bits and clamped to the int range, so a part
// at any position moves without overflow (x = INT_MIN re-enters at
// INT_MAX, a y of INT_MIN stays there).
void move_part(int &x, int &y, int step, int limit) {
    std::int64_t nx = std::int64_t{x} - step;
    if (nx < -std::int64_t{limit}) {
        nx = -nx;
        y = offset(y, -1);
    }
    x = saturate(nx);
}

// One glyph falls. Below the floor it re-enters at -y (331 to 333 for a
// glyph coming from the picture; clamped to INT_MAX for one that fell from
// near INT_MIN) and one unit further left (x = INT_MIN stays there).
void fall(int &x, int &y) {
    std::int64_t ny = std::int64_t{y} - GLYPH_FALL;
    if (ny < GLYPH_FLOOR) {
        ny = -ny;
        x = offset(x, -1);
    }
    y = saturate(ny);
}

void store_glyph(WeatherState &s, int slot, int x, int y) {
    s.kind[slot] = s.selected_kind;
    s.x[slot] = x;
    s.y[slot] = y;
    s.color[slot] = s.selected_color;
}

}  // namespace

int classify_click(int x, int y) {
    if (x < -200 && y > 5 && y < 250) return CLICK_PANEL;
    if (y <= -100) return CLICK_WATER;
    return CLICK_PICTURE;
}

void clear_glyph_kinds(GlyphArray &kind) { kind.fill(WEATHER_NONE); }

int plant_glyph(WeatherState &s, int x, int y) {
    if (s.selected_kind == WEATHER_NONE || s.selected_color == 0) return -1;
    int slot = -1;
    if (s.count < MAX_GLYPHS) {
        slot = s.count++;
    } else {
        for (int i = 0; i < MAX_GLYPHS && slot < 0; ++i)
            if (s.kind[i] == WEATHER_NONE) slot = i;
        if (slot < 0) return -1;  // the list is full of live glyphs
    }
    store_glyph(s, slot, x, y);
    return slot;
}

void periodic_step(WeatherState &s) {
    for (int i = 0; i < s.count; ++i) fall(s.x[i], s.y[i]);
    move_part(s.sun_x, s.sun_y, 1, 330);     // re-enters at 331
    move_part(s.ship_x, s.ship_y, 2, 485);   // re-enters at 486
    move_part(s.boat_x, s.boat_y, 12, 510);  // re-enters at 520, then 512 and 520 in turn
}

void handle_event(WeatherState &s, int event_kind, int x, int y) {
    switch (event_kind) {
        case ZEMKA_MOUSE:
            switch (classify_click(x, y)) {
                case CLICK_PANEL:
                    panel_hit(x, y, &s.selected_kind, &s.selected_color, &s.cease);
                    if (s.cease) clear_glyph_kinds(s.kind);
                    break;
                case CLICK_PICTURE: plant_glyph(s, x, y); break;
                default: break;  // the water takes no glyphs
            }
            break;
        case ZEMKA_PERIODIC: periodic_step(s); break;
        case ZEMKA_QUIT: s.quit = 1; break;
        default: break;  // a key changes nothing
    }
}

void draw_frame(const WeatherState &s) {
    draw_scene(s.sun_x, s.sun_y, s.boat_x, s.boat_y, s.ship_x, s.ship_y);
    draw_panel(s.selected_kind, s.selected_color);
    for (int i = 0; i < s.count; ++i) draw_glyph(s.kind[i], s.x[i], s.y[i], s.color[i]);
}

int weather_main(void *instance, void *prev_instance, const char *command_line, int show_mode) {
    WeatherState state;
    ZEMKA_start(instance, prev_instance, command_line, show_mode);
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    ZEMKA_set_animation(RUN_ANIMATE);
    draw_scene(state.sun_x, state.sun_y, state.boat_x, state.boat_y, state.ship_x, state.ship_y);
    draw_panel(WEATHER_NONE, 0);

    while (!state.quit) {
        int x = 0, y = 0;
        char key = 0;
        const int event_kind = ZEMKA_next_event(&x, &y, &key);
        handle_event(state, event_kind, x, y);
        draw_frame(state);  // after every event, the quit event included
    }

    ZEMKA_stop();
    return 0;
}

}  // namespace painter
