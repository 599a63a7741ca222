// Movable memory that cannot be allocated for the copy of a text: the text
// entries still succeed and draw nothing; the next call draws again.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/canvas_fixture.h"
#include "zemka/console/console.h"
#include "zemka/draw/palette.h"
#include "zemka/raster/gdi.h"
#include "zemka/state.h"
#include "zemka/zemka.h"

namespace zemka {
namespace {

class FaultMemory : public testing::CanvasTest {
protected:
    void SetUp() override {
        CanvasTest::SetUp();
        paint_canvas(gdi::rgb(255, 255, 255));
        canvas_dirty = 0;
    }
    int black_pixels() const { return count_pixels(palette[0]); }
};

TEST_F(FaultMemory, TextWithoutItsCopyReturnsOneAndDrawsNothing) {
    logging = 0;
    gdi::fail_next_global_allocs(1);
    EXPECT_EQ(ZEMKA_draw_text(0, -100, 0, 30, "Hello"), 1);
    EXPECT_EQ(black_pixels(), 0);
    EXPECT_TRUE(lines.empty());
    // The failure was that call's only: the same call draws now.
    EXPECT_EQ(ZEMKA_draw_text(0, -100, 0, 30, "Hello"), 1);
    EXPECT_GT(black_pixels(), 0);
    EXPECT_EQ(canvas_dirty, 1);
}

TEST_F(FaultMemory, PointFormWithoutItsCopyDrawsNothing) {
    logging = 0;
    gdi::fail_next_global_allocs(1);
    EXPECT_EQ(ZEMKA_draw_text_pt(0, Point{-100, 0}, 30, "Hello"), 1);
    EXPECT_EQ(black_pixels(), 0);
}

TEST_F(FaultMemory, FormattedTextWithoutItsCopyStillReturnsItsLength) {
    logging = 0;
    gdi::fail_next_global_allocs(1);
    EXPECT_EQ(ZEMKA_draw_textf(0, -100, 0, 30, "%d apples", 12), 9);
    EXPECT_EQ(black_pixels(), 0);
    gdi::fail_next_global_allocs(1);
    EXPECT_EQ(ZEMKA_draw_textf_pt(0, Point{-100, 0}, 30, "%d apples", 12), 9);
    EXPECT_EQ(black_pixels(), 0);
}

TEST_F(FaultMemory, LoggedTextWithoutMemoryStillWritesItsCorrectionsAndLogLine) {
    logging = 1;
    // The three corrections, the log line and the copy: none gets a block.
    gdi::fail_next_global_allocs(5);
    EXPECT_EQ(ZEMKA_draw_text(99, -100, 0, -300, "Hello"), 1);
    EXPECT_EQ(lines, (std::vector<std::string>{"ptsize of -300 not possible, using ptsize 300\n",
                                               "ptsize of 300 not possible, using ptsize 127\n",
                                               "Illegal color 99; using RED.\n",
                                               "red text at (-100,0), \"Hello\"\n"}));
    EXPECT_EQ(count_pixels(palette[2]), 0);
    // The lines were written but could not be kept.
    EXPECT_EQ(console::log_head, -1);
    EXPECT_EQ(console::log_next, 0);
    lines.clear();
    EXPECT_EQ(ZEMKA_draw_text(0, -100, 0, 30, "Hello"), 1);
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_GT(black_pixels(), 0);
    EXPECT_STREQ(console::slot_text(0), "black text at (-100,0), \"Hello\"\n");
}

}  // namespace
}  // namespace zemka
