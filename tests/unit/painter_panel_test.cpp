// The panel's selecting bands and the three weather glyphs.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "painter/panel.h"
#include "support/canvas_fixture.h"
#include "zemka/raster/gdi.h"
#include "zemka/state.h"

namespace {

using painter::WEATHER_HAIL;
using painter::WEATHER_NONE;
using painter::WEATHER_RAIN;
using painter::WEATHER_SNOW;
using zemka::gdi::ColorRef;
using zemka::gdi::rgb;

const ColorRef kWhite = rgb(255, 255, 255);
const ColorRef kBlue = rgb(0, 0, 255);
const ColorRef kYellow = rgb(255, 255, 0);

std::vector<std::string> trimmed(const std::vector<std::string> &lines) {
    std::vector<std::string> out;
    for (std::string l : lines) {
        while (!l.empty() && l.back() == '\n') l.pop_back();
        out.push_back(l);
    }
    return out;
}

struct Selection {
    int kind;
    int color;
    int cease;
};

// Clicks the panel at (x, y) starting from the given selection.
Selection hit(int x, int y, Selection s) {
    painter::panel_hit(x, y, &s.kind, &s.color, &s.cease);
    return s;
}

class PainterGlyphTest : public zemka::testing::CanvasTest {
protected:
    void SetUp() override {
        CanvasTest::SetUp();
        paint_canvas(kWhite);
        zemka::logging = 1;
    }
    // Number of pixels of a colour at logical points outside the box
    // [x0, x1] x [y0, y1].
    int outside(ColorRef color, int x0, int y0, int x1, int y1) const {
        return count_pixels(color) - count_pixels(color, 300 + x0, 250 - y1, 300 + x1 + 1, 250 - y0 + 1);
    }
};

}  // namespace

TEST(PainterPanelHit, BandsSelectTheButtonAboveTheirLowerBorder) {
    const Selection start{WEATHER_HAIL, 4, 1};
    struct Case {
        int y;
        Selection expected;
    } cases[] = {
        {249, {WEATHER_RAIN, 4, 0}}, {216, {WEATHER_RAIN, 4, 0}}, {215, {WEATHER_SNOW, 4, 0}},
        {214, {WEATHER_SNOW, 4, 0}}, {181, {WEATHER_SNOW, 4, 0}}, {180, {WEATHER_HAIL, 4, 0}},
        {146, {WEATHER_HAIL, 4, 0}}, {145, {WEATHER_HAIL, 1, 0}}, {111, {WEATHER_HAIL, 1, 0}},
        {110, {WEATHER_HAIL, 4, 0}}, {100, {WEATHER_HAIL, 4, 0}}, {76, {WEATHER_HAIL, 4, 0}},
        {75, {WEATHER_HAIL, 5, 0}},  {41, {WEATHER_HAIL, 5, 0}},  {40, {WEATHER_HAIL, 4, 1}},
        {6, {WEATHER_HAIL, 4, 1}},
    };
    for (const Case &c : cases) {
        const Selection got = hit(-250, c.y, start);
        EXPECT_EQ(got.kind, c.expected.kind) << "y " << c.y;
        EXPECT_EQ(got.color, c.expected.color) << "y " << c.y;
        EXPECT_EQ(got.cease, c.expected.cease) << "y " << c.y;
    }
}

TEST(PainterPanelHit, WhiteClearsTheCeaseFlagAndKeepsTheKind) {
    const Selection got = hit(-201, 120, {WEATHER_SNOW, 5, 1});
    EXPECT_EQ(got.kind, WEATHER_SNOW);
    EXPECT_EQ(got.color, 1);
    EXPECT_EQ(got.cease, 0);
}

TEST(PainterPanelHit, CeaseKeepsBothSelections) {
    const Selection got = hit(-296, 20, {WEATHER_RAIN, 5, 0});
    EXPECT_EQ(got.kind, WEATHER_RAIN);
    EXPECT_EQ(got.color, 5);
    EXPECT_EQ(got.cease, 1);
}

TEST(PainterPanelHit, PointsOutsideTheBandsOnlyClearTheCeaseFlag) {
    for (int y : {250, 260, 284, 300, 5, 3, 0, -1000, INT_MIN, INT_MAX}) {
        const Selection got = hit(-250, y, {WEATHER_SNOW, 4, 1});
        EXPECT_EQ(got.kind, WEATHER_SNOW) << "y " << y;
        EXPECT_EQ(got.color, 4) << "y " << y;
        EXPECT_EQ(got.cease, 0) << "y " << y;
    }
}

TEST_F(PainterGlyphTest, SnowflakeIsSixLinesFromItsPoint) {
    painter::draw_snow(10, 10, 4);
    const std::vector<std::string> expected = {
        "blue line from (10,10) to (13,13), width 2", "blue line from (10,10) to (7,7), width 2",
        "blue line from (10,10) to (13,7), width 2",  "blue line from (10,10) to (7,13), width 2",
        "blue line from (10,10) to (15,10), width 1", "blue line from (10,10) to (5,10), width 1",
    };
    EXPECT_EQ(trimmed(lines), expected);
    for (auto [x, y] : {std::pair{10, 10}, {12, 12}, {8, 8}, {12, 8}, {8, 12}, {14, 10}, {6, 10}})
        EXPECT_EQ(logical_pixel(x, y), kBlue) << x << ", " << y;
    // The bar is the only horizontal arm and there is no vertical one.
    for (auto [x, y] : {std::pair{16, 10}, {4, 10}, {10, 15}, {10, 5}, {16, 16}, {4, 4}})
        EXPECT_EQ(logical_pixel(x, y), kWhite) << x << ", " << y;
    EXPECT_EQ(outside(kBlue, 4, 5, 16, 15), 0);
}

TEST_F(PainterGlyphTest, HailstoneIsAFilledBoxAboveAndRightOfItsPoint) {
    painter::draw_hail(10, 10, 4);
    EXPECT_EQ(trimmed(lines), std::vector<std::string>{"blue rectangle with bounding box (10,15) to (14,10), filled"});
    EXPECT_EQ(count_pixels(kBlue, 310, 235, 315, 241), 5 * 6);
    EXPECT_EQ(count_pixels(kBlue), 5 * 6);
    EXPECT_EQ(logical_pixel(10, 10), kBlue);
    EXPECT_EQ(logical_pixel(14, 15), kBlue);
    EXPECT_EQ(logical_pixel(9, 10), kWhite);
    EXPECT_EQ(logical_pixel(10, 9), kWhite);
}

TEST_F(PainterGlyphTest, RaindropIsADiscAroundItsPoint) {
    painter::draw_rain(-40, 30, 5);
    EXPECT_EQ(trimmed(lines), std::vector<std::string>{"yellow circle at (-40,30), radius 3"});
    for (auto [x, y] : {std::pair{-40, 30}, {-42, 30}, {-38, 30}, {-40, 32}, {-40, 28}, {-41, 31}, {-39, 29}})
        EXPECT_EQ(logical_pixel(x, y), kYellow) << x << ", " << y;
    // Round: the corners of its box stay clear.
    for (auto [x, y] : {std::pair{-43, 33}, {-37, 33}, {-43, 27}, {-37, 27}})
        EXPECT_EQ(logical_pixel(x, y), kWhite) << x << ", " << y;
    EXPECT_EQ(outside(kYellow, -43, 27, -37, 33), 0);
}

TEST_F(PainterGlyphTest, GlyphDispatchesOnItsKind) {
    painter::draw_glyph(WEATHER_RAIN, 1, 2, 1);
    painter::draw_glyph(WEATHER_SNOW, 3, 4, 4);
    painter::draw_glyph(WEATHER_HAIL, 5, 6, 5);
    const std::vector<std::string> got = trimmed(lines);
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(got[0], "white circle at (1,2), radius 3");
    EXPECT_EQ(got[1], "blue line from (3,4) to (6,7), width 2");
    EXPECT_EQ(got[6], "blue line from (3,4) to (-2,4), width 1");
    EXPECT_EQ(got[7], "yellow rectangle with bounding box (5,11) to (9,6), filled");
}

TEST_F(PainterGlyphTest, GlyphsAreDrawnDownToYMinus120Only) {
    for (int kind : {WEATHER_RAIN, WEATHER_SNOW, WEATHER_HAIL}) {
        paint_canvas(kWhite);
        lines.clear();
        painter::draw_glyph(kind, 0, -121, 4);
        EXPECT_TRUE(lines.empty()) << "kind " << kind;
        EXPECT_EQ(count_pixels(kWhite), 601 * 540) << "kind " << kind;
        painter::draw_glyph(kind, 0, -120, 4);
        EXPECT_EQ(lines.size(), kind == WEATHER_SNOW ? 6u : 1u) << "kind " << kind;
        EXPECT_GT(count_pixels(kBlue), 0) << "kind " << kind;
    }
}

TEST_F(PainterGlyphTest, CeasedOrUnknownKindsDrawNothing) {
    for (int kind : {int{WEATHER_NONE}, 4, -1, INT_MIN, INT_MAX})
        for (auto [x, y] : {std::pair{0, 0}, {-250, 200}, {100, -120}, {0, 300}}) painter::draw_glyph(kind, x, y, 4);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(count_pixels(kWhite), 601 * 540);
}

TEST_F(PainterGlyphTest, PointsAtTheIntLimitsSaturate) {
    painter::draw_glyph(WEATHER_SNOW, INT_MAX, INT_MAX, 4);
    painter::draw_glyph(WEATHER_HAIL, INT_MAX, INT_MAX - 2, 4);
    painter::draw_hail(INT_MIN, INT_MIN, 4);
    painter::draw_snow(INT_MIN, INT_MIN, 4);
    painter::draw_rain(INT_MIN, INT_MAX, 4);
    const std::vector<std::string> got = trimmed(lines);
    ASSERT_EQ(got.size(), 15u);
    EXPECT_EQ(got[0], "blue line from (2147483647,2147483647) to (2147483647,2147483647), width 2");
    EXPECT_EQ(got[1], "blue line from (2147483647,2147483647) to (2147483644,2147483644), width 2");
    EXPECT_EQ(got[2], "blue line from (2147483647,2147483647) to (2147483647,2147483644), width 2");
    EXPECT_EQ(got[5], "blue line from (2147483647,2147483647) to (2147483642,2147483647), width 1");
    EXPECT_EQ(got[6], "blue rectangle with bounding box (2147483647,2147483647) to (2147483647,2147483645), filled");
    EXPECT_EQ(got[7],
              "blue rectangle with bounding box (-2147483648,-2147483643) to (-2147483644,-2147483648), filled");
    EXPECT_EQ(got[9], "blue line from (-2147483648,-2147483648) to (-2147483648,-2147483648), width 2");
    EXPECT_EQ(got[13], "blue line from (-2147483648,-2147483648) to (-2147483648,-2147483648), width 1");
    EXPECT_EQ(got[14], "blue circle at (-2147483648,2147483647), radius 3");
    EXPECT_EQ(count_pixels(kWhite), 601 * 540);
}
