// The painter's state: click classes, selection, planting, "Cease!", the
// animation tick with its wrap rules, and the frame drawn after each event.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "painter/weather.h"
#include "support/canvas_fixture.h"
#include "zemka/state.h"
#include "zemka/zemka.h"

namespace {

using painter::CLICK_PANEL;
using painter::CLICK_PICTURE;
using painter::CLICK_WATER;
using painter::handle_event;
using painter::MAX_GLYPHS;
using painter::WEATHER_HAIL;
using painter::WEATHER_NONE;
using painter::WEATHER_RAIN;
using painter::WEATHER_SNOW;
using painter::WeatherState;

// Panel points of the seven buttons.
constexpr int kPanelX = -250;
constexpr int kRainY = 230, kSnowY = 195, kHailY = 160, kWhiteY = 125, kBlueY = 90, kYellowY = 55, kCeaseY = 20;

void click(WeatherState &s, int x, int y) { handle_event(s, ZEMKA_MOUSE, x, y); }
void tick(WeatherState &s) { handle_event(s, ZEMKA_PERIODIC, 0, 0); }

bool same_state(const WeatherState &a, const WeatherState &b) {
    return a.sun_x == b.sun_x && a.sun_y == b.sun_y && a.boat_x == b.boat_x && a.boat_y == b.boat_y &&
           a.ship_x == b.ship_x && a.ship_y == b.ship_y && a.selected_kind == b.selected_kind &&
           a.selected_color == b.selected_color && a.kind == b.kind && a.x == b.x && a.y == b.y && a.color == b.color &&
           a.count == b.count && a.quit == b.quit && a.cease == b.cease;
}

std::vector<std::string> trimmed(const std::vector<std::string> &lines) {
    std::vector<std::string> out;
    for (std::string l : lines) {
        while (!l.empty() && l.back() == '\n') l.pop_back();
        out.push_back(l);
    }
    return out;
}

}  // namespace

TEST(PainterClassifyClick, PanelWaterAndPictureBorders) {
    struct Case {
        int x, y, expected;
    } cases[] = {
        {-201, 6, CLICK_PANEL},
        {-201, 249, CLICK_PANEL},
        {-296, 100, CLICK_PANEL},
        {-201, 5, CLICK_PICTURE},
        {-201, 250, CLICK_PICTURE},
        {-200, 100, CLICK_PICTURE},
        {-250, -99, CLICK_PICTURE},
        {-250, 0, CLICK_PICTURE},
        {0, -99, CLICK_PICTURE},
        {-250, -100, CLICK_WATER},
        {0, -100, CLICK_WATER},
        {299, -250, CLICK_WATER},
        {INT_MIN, 100, CLICK_PANEL},
        {INT_MIN, INT_MIN, CLICK_WATER},
        {INT_MAX, INT_MAX, CLICK_PICTURE},
        {INT_MIN, INT_MAX, CLICK_PICTURE},
    };
    for (const Case &c : cases) EXPECT_EQ(painter::classify_click(c.x, c.y), c.expected) << c.x << ", " << c.y;
}

TEST(PainterWeather, PanelClicksSetTheSelection) {
    WeatherState s;
    click(s, kPanelX, kHailY);
    EXPECT_EQ(s.selected_kind, WEATHER_HAIL);
    EXPECT_EQ(s.selected_color, 0);
    click(s, kPanelX, kYellowY);
    click(s, kPanelX, kRainY);
    EXPECT_EQ(s.selected_kind, WEATHER_RAIN);
    EXPECT_EQ(s.selected_color, 5);
    click(s, kPanelX, kWhiteY);
    EXPECT_EQ(s.selected_color, 1);
    click(s, kPanelX, kBlueY);
    EXPECT_EQ(s.selected_color, 4);
    click(s, kPanelX, kSnowY);
    EXPECT_EQ(s.selected_kind, WEATHER_SNOW);
    EXPECT_EQ(s.count, 0);
}

TEST(PainterWeather, PictureClickPlantsOnlyWithKindAndColorChosen) {
    WeatherState s;
    click(s, 0, 0);
    EXPECT_EQ(s.count, 0);
    click(s, kPanelX, kSnowY);
    click(s, 0, 0);
    EXPECT_EQ(s.count, 0);

    WeatherState color_only;
    click(color_only, kPanelX, kBlueY);
    click(color_only, 0, 0);
    EXPECT_EQ(color_only.count, 0);

    click(s, kPanelX, kBlueY);
    click(s, 17, -99);
    click(s, -230, 3);  // beside the panel, below "Cease!": a picture click
    ASSERT_EQ(s.count, 2);
    EXPECT_EQ(s.kind[0], WEATHER_SNOW);
    EXPECT_EQ(s.color[0], 4);
    EXPECT_EQ(s.x[0], 17);
    EXPECT_EQ(s.y[0], -99);
    EXPECT_EQ(s.x[1], -230);
    EXPECT_EQ(s.y[1], 3);

    // A new color applies to later glyphs only.
    click(s, kPanelX, kYellowY);
    click(s, 5, 6);
    ASSERT_EQ(s.count, 3);
    EXPECT_EQ(s.color[0], 4);
    EXPECT_EQ(s.color[1], 4);
    EXPECT_EQ(s.color[2], 5);
    EXPECT_EQ(s.kind[2], WEATHER_SNOW);
}

TEST(PainterWeather, WaterClicksKeysAndUnknownEventsChangeNothing) {
    WeatherState s;
    click(s, kPanelX, kRainY);
    click(s, kPanelX, kWhiteY);
    click(s, 10, 10);
    const WeatherState before = s;
    click(s, 0, -100);
    click(s, -250, -100);
    click(s, 0, INT_MIN);
    handle_event(s, ZEMKA_KBD, 10, 10);
    handle_event(s, 0, 10, 10);
    handle_event(s, 99, 10, 10);
    handle_event(s, -1, 10, 10);
    EXPECT_TRUE(same_state(s, before));
}

TEST(PainterWeather, QuitSetsTheQuitFlagOnly) {
    WeatherState s;
    handle_event(s, ZEMKA_QUIT, 0, 0);
    EXPECT_EQ(s.quit, 1);
    s.quit = 0;
    EXPECT_TRUE(same_state(s, WeatherState{}));
}

TEST(PainterWeather, CeaseEmptiesEveryGlyphAndKeepsCountAndSelection) {
    WeatherState s;
    click(s, kPanelX, kHailY);
    click(s, kPanelX, kBlueY);
    for (int i = 0; i < 3; ++i) click(s, 10 * i, 20);
    click(s, kPanelX, kCeaseY);
    EXPECT_EQ(s.cease, 1);
    EXPECT_EQ(s.count, 3);
    EXPECT_EQ(s.selected_kind, WEATHER_HAIL);
    EXPECT_EQ(s.selected_color, 4);
    for (int i = 0; i < MAX_GLYPHS; ++i) EXPECT_EQ(s.kind[i], WEATHER_NONE) << i;
    EXPECT_EQ(s.x[2], 20);
    EXPECT_EQ(s.y[2], 20);

    // The next glyph goes after the ceased ones; the next panel click
    // clears the flag but brings nothing back.
    click(s, 7, 8);
    ASSERT_EQ(s.count, 4);
    EXPECT_EQ(s.kind[3], WEATHER_HAIL);
    EXPECT_EQ(s.x[3], 7);
    click(s, kPanelX, kWhiteY);
    EXPECT_EQ(s.cease, 0);
    EXPECT_EQ(s.kind[0], WEATHER_NONE);
    EXPECT_EQ(s.kind[3], WEATHER_HAIL);
}

TEST(PainterWeather, ClearGlyphKindsTouchesOnlyKinds) {
    WeatherState s;
    for (int i = 0; i < MAX_GLYPHS; ++i) {
        s.kind[i] = 1 + i % 3;
        s.x[i] = i;
    }
    s.count = 7;
    painter::clear_glyph_kinds(s.kind);
    for (int i = 0; i < MAX_GLYPHS; ++i) {
        EXPECT_EQ(s.kind[i], WEATHER_NONE);
        EXPECT_EQ(s.x[i], i);
    }
    EXPECT_EQ(s.count, 7);
}

TEST(PainterWeather, GlyphsFallThreeUnitsAndReEnterAtTheTop) {
    WeatherState s;
    click(s, kPanelX, kRainY);
    click(s, kPanelX, kYellowY);
    click(s, 40, 240);
    click(s, 50, 60);
    s.y[1] = -329;             // fallen below the water, where no click can plant
    s.kind[1] = WEATHER_NONE;  // a ceased glyph keeps moving
    s.count = 3;
    s.kind[2] = WEATHER_RAIN;
    s.x[2] = -60;
    s.y[2] = -327;
    tick(s);
    EXPECT_EQ(s.x[0], 40);
    EXPECT_EQ(s.y[0], 237);
    EXPECT_EQ(s.x[1], 49);
    EXPECT_EQ(s.y[1], 332);
    EXPECT_EQ(s.x[2], -60);
    EXPECT_EQ(s.y[2], -330);
    tick(s);
    EXPECT_EQ(s.x[2], -61);
    EXPECT_EQ(s.y[2], 333);
    EXPECT_EQ(s.y[1], 329);
    EXPECT_EQ(s.kind[1], WEATHER_NONE);
    // Entries past count do not move.
    EXPECT_EQ(s.y[3], 0);
}

TEST(PainterWeather, SunWrapsOnTick581OneUnitLower) {
    WeatherState s;
    for (int i = 0; i < 580; ++i) tick(s);
    EXPECT_EQ(s.sun_x, -330);
    EXPECT_EQ(s.sun_y, 215);
    tick(s);
    EXPECT_EQ(s.sun_x, 331);
    EXPECT_EQ(s.sun_y, 214);
}

TEST(PainterWeather, ShipAndSailboatReEnterBeyondTheRightEdge) {
    struct Wrap {
        int tick, x, y;
    };
    std::vector<Wrap> ship, boat;
    WeatherState s;
    for (int t = 1; t <= 800; ++t) {
        const int ship_y = s.ship_y, boat_y = s.boat_y;
        tick(s);
        if (s.ship_y != ship_y) ship.push_back({t, s.ship_x, s.ship_y});
        if (s.boat_y != boat_y) boat.push_back({t, s.boat_x, s.boat_y});
        EXPECT_EQ(s.ship_x % 2, 0);
        EXPECT_GE(s.ship_x, -485);
        EXPECT_GE(s.boat_x, -510);
    }
    ASSERT_EQ(ship.size(), 2u);
    EXPECT_EQ(ship[0].tick, 268);
    EXPECT_EQ(ship[0].x, 486);
    EXPECT_EQ(ship[0].y, -141);
    EXPECT_EQ(ship[1].tick, 754);
    EXPECT_EQ(ship[1].x, 486);
    EXPECT_EQ(ship[1].y, -142);

    const Wrap expected_boat[] = {
        {55, 520, -211}, {141, 512, -212}, {227, 520, -213}, {313, 512, -214}, {399, 520, -215}};
    ASSERT_GE(boat.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(boat[i].tick, expected_boat[i].tick) << i;
        EXPECT_EQ(boat[i].x, expected_boat[i].x) << i;
        EXPECT_EQ(boat[i].y, expected_boat[i].y) << i;
    }
}

TEST(PainterWeather, MovingPartsWrapOnlyPastTheirLimits) {
    WeatherState at_limit;
    at_limit.sun_x = -329;
    at_limit.ship_x = -483;
    at_limit.boat_x = -498;
    tick(at_limit);
    EXPECT_EQ(at_limit.sun_x, -330);
    EXPECT_EQ(at_limit.ship_x, -485);
    EXPECT_EQ(at_limit.boat_x, -510);
    EXPECT_EQ(at_limit.sun_y, 215);
    EXPECT_EQ(at_limit.ship_y, -140);
    EXPECT_EQ(at_limit.boat_y, -210);

    WeatherState past;
    past.sun_x = -330;
    past.ship_x = -484;
    past.boat_x = -499;
    tick(past);
    EXPECT_EQ(past.sun_x, 331);
    EXPECT_EQ(past.ship_x, 486);
    EXPECT_EQ(past.boat_x, 511);
    EXPECT_EQ(past.sun_y, 214);
    EXPECT_EQ(past.ship_y, -141);
    EXPECT_EQ(past.boat_y, -211);
}

TEST(PainterWeather, ExactlyFiveHundredGlyphsAndCeasedSlotsAreReused) {
    WeatherState s;
    click(s, kPanelX, kSnowY);
    click(s, kPanelX, kWhiteY);
    for (int i = 0; i < MAX_GLYPHS; ++i) click(s, i - 200, i % 300);
    ASSERT_EQ(s.count, MAX_GLYPHS);
    EXPECT_EQ(s.x[499], 299);
    EXPECT_EQ(s.y[499], 199);

    // Full of live glyphs: the click is ignored.
    const WeatherState full = s;
    click(s, 1, 1);
    EXPECT_TRUE(same_state(s, full));

    // After "Cease!" the emptied slots take new glyphs, first one first.
    click(s, kPanelX, kCeaseY);
    click(s, kPanelX, kHailY);
    click(s, kPanelX, kYellowY);
    click(s, 11, 12);
    click(s, 13, 14);
    EXPECT_EQ(s.count, MAX_GLYPHS);
    EXPECT_EQ(s.kind[0], WEATHER_HAIL);
    EXPECT_EQ(s.x[0], 11);
    EXPECT_EQ(s.y[0], 12);
    EXPECT_EQ(s.color[0], 5);
    EXPECT_EQ(s.kind[1], WEATHER_HAIL);
    EXPECT_EQ(s.x[1], 13);
    EXPECT_EQ(s.kind[2], WEATHER_NONE);
    EXPECT_EQ(s.x[2], -198);

    for (int i = 2; i < MAX_GLYPHS; ++i) click(s, 0, 0);
    const WeatherState refilled = s;
    click(s, 2, 2);
    EXPECT_TRUE(same_state(s, refilled));
    EXPECT_EQ(s.x[499], 0);
}

TEST(PainterWeather, PointsAtTheIntLimitsMoveAndWrapWithoutOverflow) {
    WeatherState s;
    s.count = 5;
    const int start[5][2] = {
        {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {0, INT_MIN + 2}, {5, -2147483000}, {INT_MAX, -331}};
    for (int i = 0; i < 5; ++i) {
        s.kind[i] = WEATHER_SNOW;
        s.x[i] = start[i][0];
        s.y[i] = start[i][1];
    }
    s.sun_x = INT_MIN;
    s.sun_y = INT_MIN;
    s.ship_x = INT_MAX;
    s.ship_y = INT_MAX;
    s.boat_x = INT_MIN + 5;
    s.boat_y = 7;
    tick(s);
    EXPECT_EQ(s.x[0], INT_MIN);  // one further left than the leftmost int: stays there
    EXPECT_EQ(s.y[0], INT_MAX);  // re-enters at the highest int
    EXPECT_EQ(s.x[1], INT_MAX);
    EXPECT_EQ(s.y[1], INT_MAX - 3);
    EXPECT_EQ(s.x[2], -1);
    EXPECT_EQ(s.y[2], INT_MAX);
    EXPECT_EQ(s.x[3], 4);
    EXPECT_EQ(s.y[3], 2147483003);
    EXPECT_EQ(s.x[4], INT_MAX - 1);
    EXPECT_EQ(s.y[4], 334);
    EXPECT_EQ(s.sun_x, INT_MAX);
    EXPECT_EQ(s.sun_y, INT_MIN);
    EXPECT_EQ(s.ship_x, INT_MAX - 2);
    EXPECT_EQ(s.ship_y, INT_MAX);
    EXPECT_EQ(s.boat_x, INT_MAX);
    EXPECT_EQ(s.boat_y, 6);
    tick(s);
    EXPECT_EQ(s.y[0], INT_MAX - 3);
    EXPECT_EQ(s.sun_x, INT_MAX - 1);
}

class PainterFrameTest : public zemka::testing::CanvasTest {};

TEST_F(PainterFrameTest, FrameIsLandscapeThenPanelThenEveryLiveGlyph) {
    zemka::logging = 1;
    WeatherState s;
    painter::draw_frame(s);
    std::vector<std::string> got = trimmed(lines);
    ASSERT_EQ(got.size(), 196u + 14u);
    EXPECT_EQ(got[1], "yellow circle at (250,215), radius 20");
    EXPECT_EQ(got[9], "white circle at (140,-205), radius 12");
    EXPECT_EQ(got[160], "white circle at (50,-140), radius 12");
    for (int i = 203; i < 210; ++i) EXPECT_EQ(got[i].rfind("black text at (-285,", 0), 0u) << got[i];

    click(s, kPanelX, kRainY);
    click(s, kPanelX, kBlueY);
    click(s, 100, 100);
    click(s, kPanelX, kHailY);
    click(s, -250, -20);
    lines.clear();
    painter::draw_frame(s);
    got = trimmed(lines);
    ASSERT_EQ(got.size(), 196u + 14u + 2u);
    EXPECT_EQ(got[205], "yellow text at (-285,155), \"Hail\"");
    EXPECT_EQ(got[207], "yellow text at (-285,85), \"Blue\"");
    EXPECT_EQ(got[210], "blue circle at (100,100), radius 3");
    EXPECT_EQ(got[211], "blue rectangle with bounding box (-250,-15) to (-246,-20), filled");

    click(s, kPanelX, kCeaseY);
    lines.clear();
    painter::draw_frame(s);
    EXPECT_EQ(lines.size(), 196u + 14u);
}

TEST_F(PainterFrameTest, GlyphsLieOverThePanel) {
    zemka::logging = 0;
    WeatherState s;
    click(s, kPanelX, kHailY);
    click(s, kPanelX, kWhiteY);
    click(s, -298, 2);  // over the panel's lower left corner
    painter::draw_frame(s);
    EXPECT_EQ(logical_pixel(-296, 3), zemka::gdi::rgb(255, 255, 255));
    EXPECT_EQ(logical_pixel(-250, 3), zemka::gdi::rgb(0, 0, 0));
}

TEST_F(PainterFrameTest, FrameAtTheIntLimitsDrawsWithSaturatedPoints) {
    zemka::logging = 1;
    WeatherState s;
    s.sun_x = INT_MAX;
    s.sun_y = INT_MIN;
    s.boat_x = INT_MAX;
    s.boat_y = INT_MAX;
    s.ship_x = INT_MIN;
    s.ship_y = INT_MIN;
    click(s, kPanelX, kSnowY);
    click(s, kPanelX, kYellowY);
    click(s, INT_MAX, INT_MAX);
    ASSERT_EQ(s.count, 1);
    painter::draw_frame(s);
    const std::vector<std::string> got = trimmed(lines);
    ASSERT_EQ(got.size(), 196u + 14u + 6u);
    EXPECT_EQ(got[1], "yellow circle at (2147483647,-2147483648), radius 20");
    EXPECT_EQ(got[15], "magenta oval with bounding box (2147483647,2147483647) to (2147483647,2147483647), filled");
    EXPECT_EQ(got[17], "white line from (2147483647,2147483647) to (2147483647,2147483642), width 1");
    EXPECT_EQ(got[161], "blue circle at (-2147483645,-2147483648), radius 12");
    EXPECT_EQ(got[195], "white line from (-2147483648,-2147483578) to (-2147483448,-2147483578), width 10");
    EXPECT_EQ(got[215], "yellow line from (2147483647,2147483647) to (2147483642,2147483647), width 1");
}
