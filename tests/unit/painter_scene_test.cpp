// The landscape and the button panel: their console log lines, checked
// line by line against the picture's tables, and their pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "painter/panel.h"
#include "painter/scene.h"
#include "support/canvas_fixture.h"
#include "zemka/raster/gdi.h"
#include "zemka/state.h"

namespace {

using zemka::gdi::ColorRef;
using zemka::gdi::rgb;

const ColorRef kBlack = rgb(0, 0, 0);
const ColorRef kWhite = rgb(255, 255, 255);
const ColorRef kRed = rgb(255, 0, 0);
const ColorRef kBlue = rgb(0, 0, 255);
const ColorRef kYellow = rgb(255, 255, 0);
const ColorRef kMagenta = rgb(255, 0, 255);
const ColorRef kCyan = rgb(0, 255, 255);
const ColorRef kPurple = rgb(153, 0, 204);
const ColorRef kDustyPlum = rgb(153, 102, 153);
const ColorRef kBrown = rgb(153, 102, 51);
const ColorRef kForestGreen = rgb(0, 102, 51);
const ColorRef kGray50 = rgb(128, 128, 128);

// The landscape at the start positions, one line per operation, written
// from the tables of the picture.
const std::vector<std::string> kStartSceneLog = {
    "cyan rectangle with bounding box (-300,250) to (300,-250), filled",
    "yellow circle at (250,215), radius 20",
    "white line from (-165,196) to (-75,196), width 30",
    "white circle at (-135,191), radius 30",
    "white circle at (-105,191), radius 30",
    "white line from (140,230) to (200,230), width 25",
    "white circle at (160,232), radius 22",
    "white circle at (180,232), radius 22",
    "blue rectangle with bounding box (-300,-100) to (300,-250), filled",
    "white circle at (140,-205), radius 12",
    "blue circle at (145,-205), radius 12",
    "white circle at (153,-205), radius 10",
    "blue circle at (156,-205), radius 10",
    "white circle at (160,-210), radius 10",
    "blue circle at (163,-210), radius 10",
    "magenta oval with bounding box (140,-160) to (250,-210), filled",
    "blue line from (140,-210) to (250,-210), width 14",
    "white line from (240,-205) to (330,-215), width 1",
    "white line from (250,-202) to (330,-200), width 1",
    "white line from (250,-200) to (330,-195), width 1",
    "blue oval with bounding box (140,-160) to (250,-190), filled",
    "black line from (200,-190) to (200,-150), width 6",
    "white triangle at (200,-190), (200,-150), (155,-185)",
    "black triangle at (330,-200), (350,-200), (350,-180)",
    "black triangle at (360,-210), (380,-210), (380,-190)",
    "black triangle at (300,-220), (320,-220), (320,-200)",
    "black text at (-285,-220), \"Click a weather type and a color, then click on the picture.\"",
    "black line from (140,-195) to (245,-195), width 2",
    "50% gray triangle at (-300,-100), (300,-100), (0,200)",
    "50% gray triangle at (0,150), (50,150), (25,210)",
    "50% gray rectangle with bounding box (-40,200) to (0,150), filled",
    "50% gray line from (250,-50) to (85,110), width 40",
    "brown triangle at (-375,-100), (100,-100), (-225,166)",
    "cyan line from (-235,146) to (-215,146), width 40",
    "brown triangle at (-225,66), (-135,66), (-215,176)",
    "brown triangle at (-100,-100), (300,-100), (300,166)",
    "forest green triangle at (-95,-100), (310,-100), (310,166)",
    "forest green line from (-100,-100) to (-100,-85), width 4",
    "forest green line from (-100,-96) to (-97,-89), width 3",
    "forest green line from (-100,-98) to (-103,-89), width 3",
    "forest green line from (-90,-95) to (-90,-80), width 4",
    "forest green line from (-90,-91) to (-87,-84), width 3",
    "forest green line from (-90,-93) to (-93,-84), width 3",
    "forest green line from (-80,-90) to (-80,-75), width 4",
    "forest green line from (-80,-86) to (-77,-79), width 3",
    "forest green line from (-80,-88) to (-83,-79), width 3",
    "forest green line from (-70,-85) to (-70,-70), width 4",
    "forest green line from (-70,-81) to (-67,-74), width 3",
    "forest green line from (-70,-83) to (-73,-74), width 3",
    "forest green line from (-60,-80) to (-60,-65), width 4",
    "forest green line from (-60,-76) to (-57,-69), width 3",
    "forest green line from (-60,-78) to (-63,-69), width 3",
    "forest green line from (-50,-72) to (-50,-57), width 4",
    "forest green line from (-50,-68) to (-47,-61), width 3",
    "forest green line from (-50,-70) to (-53,-61), width 3",
    "forest green line from (-40,-67) to (-40,-52), width 4",
    "forest green line from (-40,-63) to (-37,-56), width 3",
    "forest green line from (-40,-65) to (-43,-56), width 3",
    "forest green line from (-30,-62) to (-30,-47), width 4",
    "forest green line from (-30,-58) to (-27,-51), width 3",
    "forest green line from (-30,-60) to (-33,-51), width 3",
    "forest green line from (-20,-57) to (-20,-42), width 4",
    "forest green line from (-20,-53) to (-17,-46), width 3",
    "forest green line from (-20,-55) to (-23,-46), width 3",
    "forest green line from (-10,-47) to (-10,-32), width 4",
    "forest green line from (-10,-43) to (-7,-36), width 3",
    "forest green line from (-10,-45) to (-13,-36), width 3",
    "forest green line from (0,-42) to (0,-27), width 4",
    "forest green line from (0,-38) to (3,-31), width 3",
    "forest green line from (0,-40) to (-3,-31), width 3",
    "forest green line from (10,-37) to (10,-22), width 4",
    "forest green line from (10,-33) to (13,-26), width 3",
    "forest green line from (10,-35) to (7,-26), width 3",
    "forest green line from (20,-27) to (20,-12), width 4",
    "forest green line from (20,-23) to (23,-16), width 3",
    "forest green line from (20,-25) to (17,-16), width 3",
    "forest green line from (30,-22) to (30,-7), width 4",
    "forest green line from (30,-18) to (33,-11), width 3",
    "forest green line from (30,-20) to (27,-11), width 3",
    "forest green line from (40,-17) to (40,-2), width 4",
    "forest green line from (40,-13) to (43,-6), width 3",
    "forest green line from (40,-15) to (37,-6), width 3",
    "forest green line from (50,-7) to (50,8), width 4",
    "forest green line from (50,-3) to (53,4), width 3",
    "forest green line from (50,-5) to (47,4), width 3",
    "forest green line from (60,-2) to (60,13), width 4",
    "forest green line from (60,2) to (63,9), width 3",
    "forest green line from (60,0) to (57,9), width 3",
    "forest green line from (70,8) to (70,23), width 4",
    "forest green line from (70,12) to (73,19), width 3",
    "forest green line from (70,10) to (67,19), width 3",
    "forest green line from (80,13) to (80,28), width 4",
    "forest green line from (80,17) to (83,24), width 3",
    "forest green line from (80,15) to (77,24), width 3",
    "forest green line from (90,23) to (90,38), width 4",
    "forest green line from (90,27) to (93,34), width 3",
    "forest green line from (90,25) to (87,34), width 3",
    "forest green line from (100,28) to (100,43), width 4",
    "forest green line from (100,32) to (103,39), width 3",
    "forest green line from (100,30) to (97,39), width 3",
    "forest green line from (110,33) to (110,48), width 4",
    "forest green line from (110,37) to (113,44), width 3",
    "forest green line from (110,35) to (107,44), width 3",
    "forest green line from (120,43) to (120,58), width 4",
    "forest green line from (120,47) to (123,54), width 3",
    "forest green line from (120,45) to (117,54), width 3",
    "forest green line from (130,48) to (130,63), width 4",
    "forest green line from (130,52) to (133,59), width 3",
    "forest green line from (130,50) to (127,59), width 3",
    "forest green line from (140,53) to (140,68), width 4",
    "forest green line from (140,57) to (143,64), width 3",
    "forest green line from (140,55) to (137,64), width 3",
    "forest green line from (150,58) to (150,73), width 4",
    "forest green line from (150,62) to (153,69), width 3",
    "forest green line from (150,60) to (147,69), width 3",
    "forest green line from (160,68) to (160,83), width 4",
    "forest green line from (160,72) to (163,79), width 3",
    "forest green line from (160,70) to (157,79), width 3",
    "forest green line from (170,73) to (170,88), width 4",
    "forest green line from (170,77) to (173,84), width 3",
    "forest green line from (170,75) to (167,84), width 3",
    "forest green line from (180,78) to (180,93), width 4",
    "forest green line from (180,82) to (183,89), width 3",
    "forest green line from (180,80) to (177,89), width 3",
    "forest green line from (190,83) to (190,98), width 4",
    "forest green line from (190,87) to (193,94), width 3",
    "forest green line from (190,85) to (187,94), width 3",
    "forest green line from (200,93) to (200,108), width 4",
    "forest green line from (200,97) to (203,104), width 3",
    "forest green line from (200,95) to (197,104), width 3",
    "forest green line from (210,98) to (210,113), width 4",
    "forest green line from (210,102) to (213,109), width 3",
    "forest green line from (210,100) to (207,109), width 3",
    "forest green line from (220,103) to (220,118), width 4",
    "forest green line from (220,107) to (223,114), width 3",
    "forest green line from (220,105) to (217,114), width 3",
    "forest green line from (230,113) to (230,128), width 4",
    "forest green line from (230,117) to (233,124), width 3",
    "forest green line from (230,115) to (227,124), width 3",
    "forest green line from (240,123) to (240,138), width 4",
    "forest green line from (240,127) to (243,134), width 3",
    "forest green line from (240,125) to (237,134), width 3",
    "forest green line from (250,128) to (250,143), width 4",
    "forest green line from (250,132) to (253,139), width 3",
    "forest green line from (250,130) to (247,139), width 3",
    "forest green line from (260,133) to (260,148), width 4",
    "forest green line from (260,137) to (263,144), width 3",
    "forest green line from (260,135) to (257,144), width 3",
    "forest green line from (270,138) to (270,153), width 4",
    "forest green line from (270,142) to (273,149), width 3",
    "forest green line from (270,140) to (267,149), width 3",
    "forest green line from (280,148) to (280,163), width 4",
    "forest green line from (280,152) to (283,159), width 3",
    "forest green line from (280,150) to (277,159), width 3",
    "forest green line from (290,153) to (290,168), width 4",
    "forest green line from (290,157) to (293,164), width 3",
    "forest green line from (290,160) to (287,164), width 3",
    "forest green line from (300,163) to (300,178), width 4",
    "forest green line from (300,167) to (303,174), width 3",
    "forest green line from (300,170) to (297,174), width 3",
    "white circle at (50,-140), radius 12",
    "blue circle at (53,-140), radius 12",
    "white circle at (63,-140), radius 10",
    "blue circle at (66,-140), radius 10",
    "white circle at (70,-140), radius 10",
    "blue circle at (73,-140), radius 10",
    "red rectangle with bounding box (50,-110) to (220,-140), filled",
    "red rectangle with bounding box (0,-70) to (250,-110), filled",
    "blue triangle at (175,-140), (225,-140), (225,-110)",
    "blue triangle at (225,-110), (260,-110), (260,-100)",
    "white line from (180,-140) to (240,-143), width 1",
    "white line from (180,-137) to (240,-137), width 1",
    "blue triangle at (80,-140), (50,-140), (50,-110)",
    "blue triangle at (50,-110), (0,-110), (0,-100)",
    "black line from (50,-110) to (220,-110), width 4",
    "yellow rectangle with bounding box (20,-40) to (40,-70), filled",
    "yellow rectangle with bounding box (220,-30) to (235,-70), filled",
    "red rectangle with bounding box (60,-40) to (200,-70), filled",
    "red rectangle with bounding box (60,-15) to (120,-40), filled",
    "white rectangle with bounding box (60,-5) to (120,-15), filled",
    "white line from (40,-5) to (120,-5), width 8",
    "black rectangle with bounding box (65,-20) to (80,-40), filled",
    "black rectangle with bounding box (90,-30) to (105,-70), filled",
    "purple circle at (100,-50), radius 2",
    "black circle at (130,-50), radius 7",
    "black circle at (160,-50), radius 7",
    "black circle at (190,-50), radius 7",
    "dusty plum rectangle with bounding box (150,0) to (170,-40), filled",
    "white rectangle with bounding box (150,10) to (170,0), filled",
    "black rectangle with bounding box (150,15) to (170,10), filled",
    "black circle at (160,15), radius 4",
    "black circle at (165,20), radius 4",
    "black circle at (170,23), radius 3",
    "black circle at (175,25), radius 3",
    "black circle at (180,25), radius 3",
    "white line from (0,-70) to (250,-70), width 10",
};

// The panel with "Snow" and "YELLOW" selected.
const std::vector<std::string> kPanelSnowYellowLog = {
    "black rectangle with bounding box (-296,248) to (-200,213) with line width 1",
    "black rectangle with bounding box (-296,213) to (-200,178) with line width 1",
    "black rectangle with bounding box (-296,178) to (-200,143) with line width 1",
    "black rectangle with bounding box (-296,143) to (-200,108) with line width 1",
    "black rectangle with bounding box (-296,108) to (-200,73) with line width 1",
    "black rectangle with bounding box (-296,73) to (-200,38) with line width 1",
    "black rectangle with bounding box (-296,38) to (-200,3) with line width 1",
    "black text at (-285,225), \"Rain\"",
    "yellow text at (-285,190), \"Snow\"",
    "black text at (-285,155), \"Hail\"",
    "black text at (-285,120), \"White\"",
    "black text at (-285,85), \"Blue\"",
    "yellow text at (-285,50), \"YELLOW\"",
    "black text at (-285,15), \"Cease!\"",
};

// The console lines without their line ends.
std::vector<std::string> trimmed(const std::vector<std::string> &lines) {
    std::vector<std::string> out;
    for (std::string l : lines) {
        while (!l.empty() && l.back() == '\n') l.pop_back();
        out.push_back(l);
    }
    return out;
}

// The (x, y) pairs of a log line, and the line with every pair blanked.
std::vector<std::pair<long, long>> points_of(const std::string &line) {
    static const std::regex pair_re(R"(\((-?\d+),(-?\d+)\))");
    std::vector<std::pair<long, long>> out;
    for (auto it = std::sregex_iterator(line.begin(), line.end(), pair_re); it != std::sregex_iterator(); ++it)
        out.emplace_back(std::stol((*it)[1]), std::stol((*it)[2]));
    return out;
}
std::string without_points(const std::string &line) {
    static const std::regex pair_re(R"(\((-?\d+),(-?\d+)\))");
    return std::regex_replace(line, pair_re, "(_)");
}

constexpr int kShipOperations = 36;

class PainterSceneTest : public zemka::testing::CanvasTest {
protected:
    // The picture area: logical (-300, -250) to (300, 250), both corners
    // included, is canvas columns 0..600 and rows 0..500.
    std::vector<std::uint32_t> picture_area() const {
        std::vector<std::uint32_t> all = snapshot();
        std::vector<std::uint32_t> out;
        for (int row = 0; row <= 500; ++row)
            out.insert(out.end(), all.begin() + row * 601, all.begin() + row * 601 + 601);
        return out;
    }
    std::vector<std::uint32_t> picture_with(int sun_x, int sun_y, int boat_x, int boat_y, int ship_x, int ship_y) {
        paint_canvas(kBlack);
        painter::draw_scene(sun_x, sun_y, boat_x, boat_y, ship_x, ship_y);
        return picture_area();
    }
    // Canvas box [x0, x1) x [y0, y1) of the label of button i.
    int label_pixels(int i, ColorRef color) const { return count_pixels(color, 15, 5 + 35 * i, 80, 26 + 35 * i); }
};

}  // namespace

TEST_F(PainterSceneTest, LogsEveryOperationOfTheLandscapeInOrder) {
    zemka::logging = 1;
    painter::draw_scene(250, 215, 140, -210, 50, -140);
    ASSERT_EQ(kStartSceneLog.size(), 196u);
    EXPECT_EQ(trimmed(lines), kStartSceneLog);
}

TEST_F(PainterSceneTest, PanelLogsSevenOutlinesThenSevenLabels) {
    zemka::logging = 1;
    painter::draw_panel(2, 5);
    EXPECT_EQ(trimmed(lines), kPanelSnowYellowLog);
}

TEST_F(PainterSceneTest, StartPictureShowsEveryPartOfTheLandscape) {
    zemka::logging = 0;
    paint_canvas(kBlack);
    painter::draw_scene(250, 215, 140, -210, 50, -140);
    painter::draw_panel(0, 0);

    struct Probe {
        const char *what;
        int x, y;
        ColorRef color;
    } probes[] = {
        {"sky", 50, 240, kCyan},
        {"sky inside an unfilled button", -210, 240, kCyan},
        {"sun centre", 250, 215, kYellow},
        {"sky above the sun", 250, 238, kCyan},
        {"left cloud", -120, 196, kWhite},
        {"right cloud", 170, 230, kWhite},
        {"water", -200, -160, kBlue},
        {"water under the text", -100, -240, kBlue},
        {"sailboat hull", 200, -200, kMagenta},
        {"upper sailboat hull, covered by the blue oval", 145, -175, kBlue},
        {"sail", 190, -175, kWhite},
        {"mast", 202, -170, kBlack},
        {"ship lower hull", 100, -125, kRed},
        {"ship upper hull", 30, -90, kRed},
        {"funnel", 160, -20, kDustyPlum},
        {"first porthole", 130, -50, kBlack},
        {"second porthole", 160, -50, kBlack},
        {"third porthole", 190, -50, kBlack},
        {"between portholes", 145, -50, kRed},
        {"dot on the black rectangle", 100, -50, kPurple},
        {"gray mountain", 0, 100, kGray50},
        {"gray summit block", -20, 180, kGray50},
        {"gray summit peak", 25, 190, kGray50},
        {"notch between the brown peaks", -226, 150, kCyan},
        {"brown below the notch", -226, 120, kBrown},
        {"second brown peak", -210, 150, kBrown},
        {"brown mountain", -250, 0, kBrown},
        {"brown rim along the hill", 85, 20, kBrown},
        {"hill beside the rim", 95, 20, kForestGreen},
        {"white band along the superstructure", 45, -5, kWhite},
        {"hill", 250, 50, kForestGreen},
        {"first tree trunk", -100, -92, kForestGreen},
        {"brown beside the first tree", -106, -92, kBrown},
        {"Rain outline, left edge", -296, 230, kBlack},
        {"Rain outline, right edge", -200, 230, kBlack},
        {"Rain outline, top edge", -250, 248, kBlack},
        {"edge shared by Rain and Snow", -250, 213, kBlack},
        {"Cease! outline, bottom edge", -250, 3, kBlack},
    };
    for (const Probe &p : probes)
        EXPECT_EQ(logical_pixel(p.x, p.y), p.color) << p.what << " at (" << p.x << ", " << p.y << ")";
    // The picture area is fully painted: no pixel of the black ground shows
    // in the sky's last column and row.
    EXPECT_EQ(logical_pixel(300, 249), kCyan);
    EXPECT_EQ(logical_pixel(-300, 249), kCyan);
    EXPECT_EQ(logical_pixel(299, -250), kBlue);
    // Below the picture area the canvas is untouched.
    EXPECT_EQ(count_pixels(kBlack, 0, 501, 601, 540), 601 * 39);
}

TEST_F(PainterSceneTest, HighlightedLabelsAreYellowAndTheOthersBlack) {
    zemka::logging = 0;
    painter::draw_scene(250, 215, 140, -210, 50, -140);
    painter::draw_panel(2, 5);
    for (int i = 0; i < 7; ++i) {
        const bool lit = i == 1 || i == 5;
        EXPECT_EQ(label_pixels(i, kYellow) > 0, lit) << "label " << i;
        EXPECT_EQ(label_pixels(i, kBlack) > 0, !lit) << "label " << i;
    }
}

TEST_F(PainterSceneTest, SamePositionsGiveTheSamePictureWhateverWasThereBefore) {
    zemka::logging = 0;
    paint_canvas(kRed);
    painter::draw_scene(17, -3, -400, -180, 300, -120);
    const std::vector<std::uint32_t> first = picture_area();
    paint_canvas(kGray50);
    painter::draw_scene(17, -3, -400, -180, 300, -120);
    EXPECT_EQ(picture_area(), first);
    // After another picture has been drawn over it, too.
    painter::draw_scene(250, 215, 140, -210, 50, -140);
    painter::draw_panel(3, 4);
    painter::draw_scene(17, -3, -400, -180, 300, -120);
    EXPECT_EQ(picture_area(), first);
    // The area's edges are part of it; just outside it the ground stays.
    EXPECT_EQ(logical_pixel(300, 250), kCyan);
    EXPECT_EQ(logical_pixel(300, -251), kGray50);
}

TEST_F(PainterSceneTest, SunAtX331LeavesThePictureAlone) {
    zemka::logging = 0;
    const auto far_away = picture_with(5000, 215, 140, -210, 50, -140);
    EXPECT_EQ(picture_with(331, 215, 140, -210, 50, -140), far_away);
    // One step further in it shows in the last column.
    EXPECT_NE(picture_with(320, 215, 140, -210, 50, -140), far_away);
}

TEST_F(PainterSceneTest, SailboatAtX520LeavesThePictureAlone) {
    zemka::logging = 0;
    const auto far_away = picture_with(250, 215, 5000, -210, 50, -140);
    EXPECT_EQ(picture_with(250, 215, 520, -210, 50, -140), far_away);
    EXPECT_EQ(picture_with(250, 215, 512, -211, 50, -140), far_away);
    EXPECT_NE(picture_with(250, 215, 300, -210, 50, -140), far_away);
}

TEST_F(PainterSceneTest, ShipAtX486LeavesThePictureAlone) {
    zemka::logging = 0;
    const auto far_away = picture_with(250, 215, 140, -210, 5000, -140);
    EXPECT_EQ(picture_with(250, 215, 140, -210, 486, -140), far_away);
    EXPECT_EQ(picture_with(250, 215, 140, -210, 486, -141), picture_with(250, 215, 140, -210, 5000, -141));
    EXPECT_NE(picture_with(250, 215, 140, -210, 340, -140), far_away);
}

TEST_F(PainterSceneTest, LoweringTheShipLowersEveryPointOfIt) {
    zemka::logging = 1;
    painter::draw_scene(250, 215, 140, -210, 50, -140);
    const std::vector<std::string> high = trimmed(lines);
    lines.clear();
    painter::draw_scene(250, 215, 140, -210, 50, -150);
    const std::vector<std::string> low = trimmed(lines);
    ASSERT_EQ(high.size(), 196u);
    ASSERT_EQ(low.size(), 196u);
    // Everything before the ship is unchanged.
    for (std::size_t i = 0; i < 196 - kShipOperations; ++i) EXPECT_EQ(low[i], high[i]) << "line " << i;
    int points = 0;
    for (std::size_t i = 196 - kShipOperations; i < 196; ++i) {
        EXPECT_EQ(without_points(low[i]), without_points(high[i])) << "line " << i;
        const auto a = points_of(high[i]);
        const auto b = points_of(low[i]);
        ASSERT_EQ(a.size(), b.size()) << "line " << i;
        ASSERT_FALSE(a.empty()) << "line " << i;
        for (std::size_t k = 0; k < a.size(); ++k) {
            EXPECT_EQ(b[k].first, a[k].first) << "line " << i;
            EXPECT_EQ(b[k].second, a[k].second - 10) << "line " << i;
            ++points;
        }
    }
    // Every point was compared: 15 circles, 12 rectangles, 5 lines and 4 triangles.
    EXPECT_EQ(points, 15 + 12 * 2 + 5 * 2 + 4 * 3);
}
