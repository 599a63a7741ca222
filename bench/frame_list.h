// The weather painter's frame as a list of primitives, so that other
// drawing libraries can be timed on exactly the same work.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "painter/weather.h"
#include "zemka/raster/raster.h"

namespace bench {

// One drawing call of the frame, in logical coordinates (origin at the
// centre, y upwards), with a palette index. Width 0 fills.
struct Prim {
    enum Kind { Rect, Oval, Triangle, Line, Text };
    Kind kind = Rect;
    int color = 0;
    int width = 0;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;
    int ptsize = 0;
    std::string text;
};

// The painter's start state with n snow flakes planted through its own
// click handling (Snow and White chosen in the panel, then n picture
// clicks spread over the sky and the land).
painter::WeatherState painter_with_glyphs(int n);

// Records the primitives of one draw_frame from its log lines (logging is
// switched on for the call and back off after it). The log leaves out two
// values that the painter never varies: every triangle of the frame is
// filled and every text has point size 12. verify_frame checks that.
std::vector<Prim> record_frame(const painter::WeatherState &s);

// Draws the list through the library's drawing entries and compares the
// canvas with the one draw_frame gives: true when every pixel is equal.
bool verify_frame(const painter::WeatherState &s, const std::vector<Prim> &list);

// The canvas in logical terms.
constexpr int CENTRE_X = 300;
constexpr int CENTRE_Y = 250;
constexpr int CANVAS_W = 601;
constexpr int CANVAS_H = 540;

// Text drawn the way the library's renderer draws it (its Qt font
// engine), for the peers: the anchor is the lower-left corner of the line.
void draw_text_shared(const zemka::raster::Pixmap &pm, const Prim &p);

// The palette entry as 0xRRGGBB.
std::uint32_t rgb_of(int color);

}  // namespace bench
