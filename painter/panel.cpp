#include "painter/panel.h"

#include "painter/colors.h"
#include "painter/coords.h"
#include "zemka/zemka.h"

namespace painter {

namespace {

constexpr int BUTTONS = 7;
constexpr int BUTTON_STEP = 35;  // height of a button and of its selecting band
constexpr int PANEL_TOP = 250;   // bands are counted down from here, exclusive
constexpr int PANEL_BOTTOM = 6;  // lowest y of the "Cease!" band
constexpr int LABEL_X = -285;

enum class Effect { Kind, Color, Cease };

struct Button {
    const char *label;
    Effect effect;
    int value;  // the kind or the color it selects
};

constexpr Button BUTTON_TABLE[BUTTONS] = {
    {"Rain", Effect::Kind, WEATHER_RAIN}, {"Snow", Effect::Kind, WEATHER_SNOW}, {"Hail", Effect::Kind, WEATHER_HAIL},
    {"White", Effect::Color, WHITE},      {"Blue", Effect::Color, BLUE},        {"YELLOW", Effect::Color, YELLOW},
    {"Cease!", Effect::Cease, 0},
};

bool highlighted(const Button &b, int kind, int color) {
    switch (b.effect) {
        case Effect::Kind: return kind == b.value;
        case Effect::Color: return color == b.value;
        case Effect::Cease: return false;
    }
    return false;
}

}  // namespace

void draw_panel(int kind, int color) {
    // Outlines first; adjacent buttons share an edge. Nothing fills them.
    for (int i = 0; i < BUTTONS; ++i)
        ZEMKA_draw_rectangle(BLACK, -296, 248 - BUTTON_STEP * i, -200, 213 - BUTTON_STEP * i, 1);
    for (int i = 0; i < BUTTONS; ++i) {
        const Button &b = BUTTON_TABLE[i];
        ZEMKA_draw_textf(highlighted(b, kind, color) ? YELLOW : BLACK, LABEL_X, 225 - BUTTON_STEP * i, 12, "%s",
                         b.label);
    }
}

void panel_hit(int /*x*/, int y, int *kind, int *color, int *cease) {
    *cease = 0;
    // Only points of the panel column select anything.
    if (y < PANEL_BOTTOM || y >= PANEL_TOP) return;
    // The bands sit a little above the drawn outlines: band i covers
    // y from 250 - 35 (i + 1) + 1 to 250 - 35 i, the last one cut at 6.
    const Button &b = BUTTON_TABLE[(PANEL_TOP - y) / BUTTON_STEP];
    switch (b.effect) {
        case Effect::Kind: *kind = b.value; break;
        case Effect::Color: *color = b.value; break;
        case Effect::Cease: *cease = 1; break;
    }
}

void draw_glyph(int kind, int x, int y, int color) {
    if (y < -120) return;  // under the water line: it keeps falling unseen
    switch (kind) {
        case WEATHER_RAIN: draw_rain(x, y, color); break;
        case WEATHER_SNOW: draw_snow(x, y, color); break;
        case WEATHER_HAIL: draw_hail(x, y, color); break;
        default: break;  // WEATHER_NONE: ceased
    }
}

void draw_rain(int x, int y, int color) { ZEMKA_draw_circle(color, x, y, 3); }

void draw_snow(int x, int y, int color) {
    ZEMKA_draw_line(color, x, y, offset(x, 3), offset(y, 3), 2);
    ZEMKA_draw_line(color, x, y, offset(x, -3), offset(y, -3), 2);
    ZEMKA_draw_line(color, x, y, offset(x, 3), offset(y, -3), 2);
    ZEMKA_draw_line(color, x, y, offset(x, -3), offset(y, 3), 2);
    ZEMKA_draw_line(color, x, y, offset(x, 5), y, 1);
    ZEMKA_draw_line(color, x, y, offset(x, -5), y, 1);
}

void draw_hail(int x, int y, int color) { ZEMKA_draw_rectangle(color, x, y, offset(x, 4), offset(y, 5), FILL); }

}  // namespace painter
