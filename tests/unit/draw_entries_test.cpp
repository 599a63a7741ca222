// The drawing entries: corrections and their messages, log lines, and the
// pixels they leave on the canvas.
#include <climits>
#include <string>

#include "support/canvas_fixture.h"
#include "zemka/console/console.h"
#include "zemka/draw/primitive.h"
#include "zemka/platform/text_engine.h"
#include "zemka/state.h"
#include "zemka/zemka.h"

using zemka::gdi::rgb;
using Lines = std::vector<std::string>;

namespace {

const auto BLACK = rgb(0, 0, 0);
const auto WHITE = rgb(255, 255, 255);
const auto RED = rgb(255, 0, 0);
const auto GRAY20 = rgb(204, 204, 204);

class DrawEntries : public zemka::testing::CanvasTest {};

TEST_F(DrawEntries, FilledRectanglePaintsTheInclusiveBox) {
    EXPECT_EQ(ZEMKA_draw_rectangle(2, -10, 10, 10, -10, 0), 1);
    EXPECT_EQ(count_pixels(RED), 21 * 21);
    EXPECT_EQ(count_pixels(RED, 290, 240, 311, 261), 21 * 21);
}

TEST_F(DrawEntries, OutlinedRectanglePaintsOnlyTheBorder) {
    ZEMKA_draw_rectangle(2, -10, 10, 10, -10, 1);
    EXPECT_EQ(count_pixels(RED), 4 * 20);
    for (int i = 290; i <= 310; ++i) {
        EXPECT_EQ(pixel(i, 240), RED);
        EXPECT_EQ(pixel(i, 260), RED);
        EXPECT_EQ(pixel(290, i - 50), RED);
        EXPECT_EQ(pixel(310, i - 50), RED);
    }
    EXPECT_EQ(count_pixels(BLACK, 291, 241, 310, 260), 19 * 19);
}

TEST_F(DrawEntries, ThinLineLeavesItsEndPoint) {
    ZEMKA_draw_line(2, 0, 0, 10, 0, 1);
    EXPECT_EQ(count_pixels(RED), 10);
    EXPECT_EQ(count_pixels(RED, 300, 250, 310, 251), 10);
    EXPECT_EQ(pixel(310, 250), BLACK);
}

TEST_F(DrawEntries, PixelLandsOnTheCentreAndYGoesUp) {
    ZEMKA_draw_pixel(2, 0, 0);
    ZEMKA_draw_pixel(23, 0, 1);
    EXPECT_EQ(pixel(300, 250), RED);
    EXPECT_EQ(pixel(300, 249), GRAY20);
    EXPECT_EQ(count_pixels(BLACK), 601 * 540 - 2);
    EXPECT_EQ(lines, (Lines{"red pixel at (0,0)\n", "20% gray pixel at (0,1)\n"}));
}

TEST_F(DrawEntries, ClearingPaintsWhiteWithABlackFrame) {
    paint_canvas(RED);
    zemka::canvas_dirty = 0;
    EXPECT_EQ(ZEMKA_clear_canvas(), 1);
    EXPECT_EQ(zemka::canvas_dirty, 1);
    EXPECT_EQ(count_pixels(WHITE), 599 * 538);
    EXPECT_EQ(count_pixels(WHITE, 1, 1, 600, 539), 599 * 538);
    for (int x = 0; x < 601; ++x) EXPECT_TRUE(pixel(x, 0) == BLACK && pixel(x, 539) == BLACK) << x;
    for (int y = 0; y < 540; ++y) EXPECT_TRUE(pixel(0, y) == BLACK && pixel(600, y) == BLACK) << y;
    EXPECT_EQ(lines, Lines{"Clearing the graphics window\n"});
}

TEST_F(DrawEntries, CircleWithNegativeRadiusIsCorrected) {
    ZEMKA_draw_circle(2, 0, 0, -5);
    EXPECT_EQ(lines, (Lines{"Radius of -5 not possible, using radius 5\n", "red circle at (0,0), radius 5\n"}));
    // The disc inscribed in the box from (-5, 5) to (5, -5): 11 wide and high.
    EXPECT_EQ(pixel(295, 250), RED);
    EXPECT_EQ(pixel(305, 250), RED);
    EXPECT_EQ(pixel(300, 245), RED);
    EXPECT_EQ(pixel(300, 255), RED);
    EXPECT_EQ(pixel(294, 250), BLACK);
    EXPECT_EQ(pixel(306, 250), BLACK);
    EXPECT_EQ(pixel(295, 245), BLACK);  // corners of the box stay
    EXPECT_EQ(count_pixels(RED, 0, 0, 601, 540), count_pixels(RED, 295, 245, 306, 256));
}

TEST_F(DrawEntries, ColorsAreCheckedAndReplacedByRed) {
    ZEMKA_draw_pixel(23, 1, 1);
    ZEMKA_draw_pixel(24, 2, 2);
    ZEMKA_draw_pixel(-1, 3, 3);
    ZEMKA_draw_pixel(INT_MIN, 4, 4);
    EXPECT_EQ(lines, (Lines{"20% gray pixel at (1,1)\n", "Illegal color 24; using RED.\n", "red pixel at (2,2)\n",
                            "Illegal color -1; using RED.\n", "red pixel at (3,3)\n",
                            "Illegal color -2147483648; using RED.\n", "red pixel at (4,4)\n"}));
    EXPECT_EQ(logical_pixel(2, 2), RED);
    EXPECT_EQ(logical_pixel(3, 3), RED);
}

TEST_F(DrawEntries, RectangleCornersAreOrderedAndLogged) {
    ZEMKA_draw_rectangle(2, 10, -5, -10, 5, 0);
    const auto swapped = snapshot();
    paint_canvas(BLACK);
    ZEMKA_draw_rectangle(2, -10, 5, 10, -5, 0);
    EXPECT_EQ(snapshot(), swapped);
    EXPECT_EQ(lines[0], "red rectangle with bounding box (-10,5) to (10,-5), filled\n");
    ZEMKA_draw_rectangle(4, 0, 0, 3, 3, 2);
    EXPECT_EQ(lines.back(), "blue rectangle with bounding box (0,3) to (3,0) with line width 2\n");
}

TEST_F(DrawEntries, OvalSwapsOnlyWhatIsOutOfOrder) {
    ZEMKA_draw_oval(4, -10, -5, 10, 5, 0);  // lower-left, upper-right: y swapped
    ZEMKA_draw_oval(4, 10, 5, -10, -5, 3);  // upper-right, lower-left: x swapped
    EXPECT_EQ(lines, (Lines{"blue oval with bounding box (-10,5) to (10,-5), filled\n",
                            "blue oval with bounding box (-10,5) to (10,-5), line width 3\n"}));
}

TEST_F(DrawEntries, LineWidthsAreCorrectedButEndsNotReordered) {
    ZEMKA_draw_line(2, 5, 0, -5, 0, 0);
    EXPECT_EQ(lines.back(), "red line from (5,0) to (-5,0), width 0\n");
    EXPECT_EQ(count_pixels(RED), 10);  // one pixel wide, the end (-5,0) left out
    EXPECT_EQ(logical_pixel(5, 0), RED);
    EXPECT_EQ(logical_pixel(-5, 0), BLACK);
    paint_canvas(BLACK);
    ZEMKA_draw_line(2, -20, 0, 20, 0, -3);
    EXPECT_EQ(lines[1], "Width of -3 not possible, using width 3\n");
    EXPECT_EQ(lines[2], "red line from (-20,0) to (20,0), width 3\n");
    // Three rows thick at the middle of the line.
    EXPECT_EQ(logical_pixel(0, 1), RED);
    EXPECT_EQ(logical_pixel(0, 0), RED);
    EXPECT_EQ(logical_pixel(0, -1), RED);
    EXPECT_EQ(logical_pixel(0, 2), BLACK);
    EXPECT_EQ(logical_pixel(0, -2), BLACK);
}

TEST_F(DrawEntries, CorrectionsComeInEachShapesOrder) {
    ZEMKA_draw_rectangle(30, 0, 0, 1, 1, -2);
    ZEMKA_draw_triangle(30, 0, 0, 1, 1, 2, 0, -2);
    ZEMKA_draw_oval(30, 0, 0, 1, 1, -2);
    ZEMKA_draw_line(30, 0, 0, 1, 1, -2);
    const std::string color = "Illegal color 30; using RED.\n";
    const std::string width = "Width of -2 not possible, using width 2\n";
    EXPECT_EQ(lines, (Lines{color, width, "red rectangle with bounding box (0,1) to (1,0) with line width 2\n", color,
                            width, "red triangle at (0,0), (1,1), (2,0)\n", width, color,
                            "red oval with bounding box (0,1) to (1,0), line width 2\n", width, color,
                            "red line from (0,0) to (1,1), width 2\n"}));
}

TEST_F(DrawEntries, UnnegatableValuesBecomeTheLargestInt) {
    ZEMKA_draw_line(1, 0, 0, 1, 0, INT_MIN);
    ZEMKA_draw_circle(1, 0, 0, INT_MIN);
    ZEMKA_draw_text(1, 0, 0, INT_MIN, "x");
    EXPECT_EQ(lines[0], "Width of -2147483648 not possible, using width 2147483647\n");
    EXPECT_EQ(lines[2], "Radius of -2147483648 not possible, using radius 2147483647\n");
    EXPECT_EQ(lines[4], "ptsize of -2147483648 not possible, using ptsize 2147483647\n");
    EXPECT_EQ(lines[5], "ptsize of 2147483647 not possible, using ptsize 127\n");
    // The huge line and the huge circle each cover the whole canvas.
    EXPECT_EQ(pixel(0, 0), WHITE);
    EXPECT_EQ(pixel(600, 539), WHITE);
}

TEST_F(DrawEntries, TriangleFillsOnlyWithWidthZero) {
    ZEMKA_draw_triangle(2, -20, -20, 20, -20, 0, 20, 0);
    EXPECT_EQ(logical_pixel(0, 0), RED);
    paint_canvas(BLACK);
    ZEMKA_draw_triangle(2, -20, -20, 20, -20, 0, 20, 2);
    EXPECT_EQ(logical_pixel(0, 0), BLACK);
    EXPECT_EQ(logical_pixel(0, -20), RED);
    EXPECT_EQ(lines[0], "red triangle at (-20,-20), (20,-20), (0,20)\n");
    EXPECT_EQ(lines[1], lines[0]);  // the width is never logged
}

TEST_F(DrawEntries, PtsizeCorrections) {
    ZEMKA_draw_text(1, 0, 0, 128, "a");
    ZEMKA_draw_text(1, 0, 0, 127, "b");
    ZEMKA_draw_text(1, 0, 0, 0, "c");
    ZEMKA_draw_text(1, 0, 0, -200, "d");
    EXPECT_EQ(lines, (Lines{"ptsize of 128 not possible, using ptsize 127\n", "white text at (0,0), \"a\"\n",
                            "white text at (0,0), \"b\"\n", "white text at (0,0), \"c\"\n",
                            "ptsize of -200 not possible, using ptsize 200\n",
                            "ptsize of 200 not possible, using ptsize 127\n", "white text at (0,0), \"d\"\n"}));
}

TEST_F(DrawEntries, LoggingOffKeepsCorrectionsAndUndo) {
    zemka::logging = 0;
    ZEMKA_draw_line(40, 0, 0, 1, 1, 1);
    ZEMKA_clear_canvas();
    ZEMKA_draw_text(1, 0, 0, 12, "quiet");
    EXPECT_EQ(ZEMKA_undo(), 1);
    EXPECT_EQ(lines, (Lines{"Illegal color 40; using RED.\n", "ZEMKA_undo is no longer supported.\n"}));
}

TEST_F(DrawEntries, FormattedTextReturnsTheFormattedLength) {
    EXPECT_EQ(ZEMKA_draw_textf(0, 0, 0, 10, "%d", 42), 2);
    EXPECT_EQ(ZEMKA_draw_textf_pt(0, Point{1, 2}, 10, "%s-%d", "ab", 7), 4);
    EXPECT_EQ(lines, (Lines{"black text at (0,0), \"42\"\n", "black text at (1,2), \"ab-7\"\n"}));
    EXPECT_EQ(ZEMKA_draw_pixel(0, 0, 0) + ZEMKA_draw_circle(0, 0, 0, 1) + ZEMKA_draw_triangle(0, 0, 0, 0, 0, 0, 0, 0) +
                  ZEMKA_draw_rectangle(0, 0, 0, 0, 0, 0) + ZEMKA_draw_oval(0, 0, 0, 0, 0, 0) +
                  ZEMKA_draw_line(0, 0, 0, 0, 0, 0) + ZEMKA_draw_text(0, 0, 0, 0, ""),
              7);
}

TEST_F(DrawEntries, OverlongFormattedTextIsCutButCountedWhole) {
    const std::string long_text(2000, 'x');
    EXPECT_EQ(ZEMKA_draw_textf(0, 0, 0, 10, "%s", long_text.c_str()), 2000);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 1023u);  // the console's cut of the log line
    EXPECT_EQ(lines[0].rfind("black text at (0,0), \"xxx", 0), 0u);
}

TEST_F(DrawEntries, NullTextsAreEmpty) {
    EXPECT_EQ(ZEMKA_draw_text(0, 0, 0, 10, nullptr), 1);
    EXPECT_EQ(ZEMKA_draw_textf(0, 0, 0, 10, nullptr), 0);
    EXPECT_EQ(ZEMKA_console_printf(nullptr), 0);
    EXPECT_EQ(lines, (Lines{"black text at (0,0), \"\"\n", "black text at (0,0), \"\"\n", ""}));
}

// Text: where the lines go, not what the glyphs look like.
class DrawText : public DrawEntries {
protected:
    int line_height(int ptsize) {
        return static_cast<int>(zemka::platform::text_measure({ptsize, 400, false}, "A", 1).cy);
    }
    // Rows [first, last] that hold non-black pixels, or {-1,-1}.
    std::pair<int, int> painted_rows() {
        int first = -1, last = -1;
        for (int y = 0; y < 540; ++y)
            for (int x = 0; x < 601; ++x)
                if (pixel(x, y) != BLACK) {
                    if (first < 0) first = y;
                    last = y;
                    break;
                }
        return {first, last};
    }
};

TEST_F(DrawText, TwoLinesStackBelowAndAboveTheAnchor) {
    const int h = line_height(20);
    ASSERT_GT(h, 10);
    ZEMKA_draw_text(1, 0, 0, 20, "H\nH");
    const auto [first, last] = painted_rows();
    EXPECT_GE(first, 250 - h);
    EXPECT_LT(first, 250);
    EXPECT_GE(last, 250);
    EXPECT_LT(last, 250 + h);
    EXPECT_LT(count_pixels(BLACK, 300, 250 - h, 601, 250), 301 * h);  // the first line has glyphs
    EXPECT_EQ(count_pixels(BLACK, 0, 0, 300, 540), 300 * 540);        // nothing left of the anchor
    // Each line starts at the anchor's column: the same glyph in both bands.
    paint_canvas(BLACK);
    ZEMKA_draw_text(1, 0, 0, 20, "H");
    const auto one = snapshot();
    paint_canvas(BLACK);
    ZEMKA_draw_text(1, 0, -h, 20, "H");
    const auto shifted = snapshot();
    paint_canvas(BLACK);
    ZEMKA_draw_text(1, 0, 0, 20, "H\nH");
    const auto both = snapshot();
    for (std::size_t i = 0; i < both.size(); ++i) ASSERT_EQ(both[i], one[i] != 0xff000000u ? one[i] : shifted[i]) << i;
}

TEST_F(DrawText, TrailingLineFeedPaintsNothingMore) {
    ZEMKA_draw_text(5, -50, 0, 16, "sun\nshine");
    const auto plain = snapshot();
    paint_canvas(BLACK);
    ZEMKA_draw_text(5, -50, 0, 16, "sun\nshine\n");
    EXPECT_EQ(snapshot(), plain);
}

TEST_F(DrawText, EmptyTextPaintsNothingButMarksTheCanvas) {
    zemka::canvas_dirty = 0;
    ZEMKA_draw_text(1, 0, 0, 20, "");
    EXPECT_EQ(zemka::canvas_dirty, 1);
    EXPECT_EQ(count_pixels(BLACK), 601 * 540);
    ZEMKA_draw_text(1, 0, 0, 20, "\n\n");
    EXPECT_EQ(count_pixels(BLACK), 601 * 540);
}

TEST_F(DrawText, AVeryLongTextIsDrawnWithoutHarm) {
    std::string text(100000, 'w');
    text[50000] = '\n';
    EXPECT_EQ(ZEMKA_draw_text(1, -300, 0, 12, text.c_str()), 1);
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 1023u);
    EXPECT_LT(count_pixels(BLACK, 0, 200, 601, 300), 601 * 100 - 1000);
}

TEST_F(DrawText, InvalidUtf8IsShownByteByByte) {
    ZEMKA_draw_text(1, 0, 0, 20, "\xe9t\xe9");  // Latin-1 bytes, not UTF-8
    const auto latin1 = snapshot();
    paint_canvas(BLACK);
    ZEMKA_draw_text(1, 0, 0, 20, "\xc3\xa9t\xe9");  // UTF-8 and one stray Latin-1 byte
    const auto mixed = snapshot();
    paint_canvas(BLACK);
    ZEMKA_draw_text(1, 0, 0, 20, "\xc3\xa9t\xc3\xa9");  // the same text in UTF-8
    EXPECT_LT(count_pixels(BLACK), 601 * 540);
    EXPECT_EQ(snapshot(), latin1);
    EXPECT_EQ(snapshot(), mixed);
}

TEST_F(DrawText, TheFormattingCutKeepsWholeCharacters) {
    // 1,024 bytes: the 1,023-byte limit falls inside the last "\xc3\xa9".
    const std::string kept = "\xc3\xa9" + std::string(1020, 'a');
    zemka::logging = 0;
    EXPECT_EQ(ZEMKA_draw_textf(1, -290, 0, 20, "%s\xc3\xa9", kept.c_str()), 1024);
    const auto cut = snapshot();
    paint_canvas(BLACK);
    ZEMKA_draw_text(1, -290, 0, 20, kept.c_str());
    EXPECT_LT(count_pixels(BLACK), 601 * 540);
    EXPECT_EQ(snapshot(), cut);
}

TEST_F(DrawText, FailedCopyAllocationSkipsTheRender) {
    zemka::logging = 0;
    zemka::gdi::fail_next_global_allocs(1);
    EXPECT_EQ(ZEMKA_draw_text(1, 0, 0, 20, "lost"), 1);
    EXPECT_EQ(count_pixels(BLACK), 601 * 540);
    ZEMKA_draw_text(1, 0, 0, 20, "kept");
    EXPECT_LT(count_pixels(BLACK), 601 * 540);
}

TEST_F(DrawEntries, UnknownPrimitiveKindsPaintNothing) {
    for (int kind : {6, -1, INT_MIN, INT_MAX}) {
        zemka::canvas_dirty = 0;
        zemka::PrimitiveRecord r;
        r.kind = kind;
        r.color = 2;
        zemka::render_primitive(r);
        EXPECT_EQ(zemka::canvas_dirty, 1);
    }
    EXPECT_EQ(count_pixels(BLACK), 601 * 540);
}

TEST_F(DrawEntries, FarOffLineIsClippedNotClamped) {
    // From far left-below to far right-above through the centre: exactly the
    // pixels of the same line drawn between two nearby points on it.
    ZEMKA_draw_line(2, -1000000, -1000000, 1000000, 1000000, 1);
    const auto far_line = snapshot();
    paint_canvas(BLACK);
    ZEMKA_draw_line(2, -600, -600, 600, 600, 1);
    EXPECT_EQ(snapshot(), far_line);
    EXPECT_EQ(logical_pixel(0, 0), RED);
    EXPECT_EQ(logical_pixel(100, 100), RED);
}

// Before the library is started there is no canvas: entries still correct
// and log, draw nothing, and return their results.
TEST(DrawBeforeStart, EntriesWorkWithoutACanvas) {
    Lines lines;
    zemka::console::set_line_tap(
        [](const char *t, std::size_t n, void *c) { static_cast<Lines *>(c)->emplace_back(t, n); }, &lines);
    ASSERT_EQ(zemka::canvas_dc, nullptr);
    EXPECT_EQ(ZEMKA_draw_rectangle(99, 0, 0, 5, 5, -1), 1);
    EXPECT_EQ(ZEMKA_draw_textf(1, 0, 0, 10, "n=%d", 5), 3);
    EXPECT_EQ(ZEMKA_clear_canvas(), 1);
    EXPECT_EQ(lines, (Lines{"Illegal color 99; using RED.\n", "Width of -1 not possible, using width 1\n",
                            "red rectangle with bounding box (0,5) to (5,0) with line width 1\n",
                            "white text at (0,0), \"n=5\"\n", "Clearing the graphics window\n"}));
    zemka::console::set_line_tap(nullptr, nullptr);
}

}  // namespace
