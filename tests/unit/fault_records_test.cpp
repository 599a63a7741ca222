// Primitive records that no drawing entry builds, handed to the renderer:
// points beyond any int sum and point sizes outside 0..127 still give a
// defined picture.
#include <climits>
#include <cstdint>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "support/canvas_fixture.h"
#include "zemka/draw/palette.h"
#include "zemka/draw/primitive.h"
#include "zemka/raster/gdi.h"
#include "zemka/state.h"

namespace zemka {
namespace {

using testing::CanvasTest;
constexpr std::int64_t MIN64 = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t MAX64 = std::numeric_limits<std::int64_t>::max();

using FaultRecords = CanvasTest;

PrimitiveRecord record(int kind, int color, int width, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                       std::int64_t y2) {
    PrimitiveRecord r;
    r.kind = kind;
    r.color = color;
    r.width = width;
    r.x1 = x1;
    r.y1 = y1;
    r.x2 = x2;
    r.y2 = y2;
    return r;
}

// A text record over a copy of text in movable memory, rendered and freed.
void render_text_record(std::int64_t ptsize, const char *text) {
    const gdi::MemHandle block = gdi::global_alloc(std::strlen(text) + 1);
    ASSERT_NE(block, 0u);
    std::memcpy(gdi::global_lock(block), text, std::strlen(text) + 1);
    gdi::global_unlock(block);
    PrimitiveRecord r = record(PRIM_TEXT, 0, 0, -100, 0, ptsize, static_cast<std::int64_t>(block));
    render_primitive(r);
    gdi::global_free(block);
}

TEST_F(FaultRecords, LineBetweenTheFarthestPointsCrossesTheCanvas) {
    canvas_dirty = 0;
    render_primitive(record(PRIM_LINE, 4, 1, MIN64, 0, MAX64, 0));
    EXPECT_EQ(canvas_dirty, 1);
    // The line is the row of logical y = 0, every column of it, and nothing else.
    EXPECT_EQ(count_pixels(palette[4], 0, 250, 601, 251), 601);
    EXPECT_EQ(count_pixels(palette[4]), 601);
}

TEST_F(FaultRecords, FarthestPointsLikeTheFarthestAnEntryReaches) {
    render_primitive(record(PRIM_LINE, 3, 1, MIN64, MAX64, MAX64, MIN64));
    const auto far = snapshot();
    paint_canvas(gdi::rgb(0, 0, 0));
    render_primitive(record(PRIM_LINE, 3, 1, -(std::int64_t{1} << 33), std::int64_t{1} << 33, std::int64_t{1} << 33,
                            -(std::int64_t{1} << 33)));
    EXPECT_EQ(snapshot(), far);
    // The diagonal through the origin.
    EXPECT_EQ(logical_pixel(0, 0), palette[3]);
    EXPECT_EQ(logical_pixel(100, -100), palette[3]);
}

TEST_F(FaultRecords, FilledBoxOfTheFarthestCornersCoversTheCanvas) {
    render_primitive(record(PRIM_RECTANGLE, 5, 0, MIN64, MAX64, MAX64, MIN64));
    EXPECT_EQ(count_pixels(palette[5]), 601 * 540);
    paint_canvas(gdi::rgb(0, 0, 0));
    render_primitive(record(PRIM_OVAL, 6, 0, MIN64, MAX64, MAX64, MIN64));
    // An ellipse far larger than the canvas, centred on it, covers it all.
    EXPECT_EQ(count_pixels(palette[6]), 601 * 540);
}

TEST_F(FaultRecords, TextPointSizeAboveItsRangeDrawsAt127) {
    paint_canvas(gdi::rgb(255, 255, 255));
    render_text_record(127, "Wg");
    const auto at_127 = snapshot();
    ASSERT_GT(count_pixels(palette[0]), 0);
    for (const std::int64_t ptsize : {std::int64_t{128}, std::int64_t{INT_MAX}, std::int64_t{0x80000000}, MAX64}) {
        paint_canvas(gdi::rgb(255, 255, 255));
        render_text_record(ptsize, "Wg");
        EXPECT_EQ(snapshot(), at_127) << "ptsize " << ptsize;
    }
}

TEST_F(FaultRecords, NegativeTextPointSizeDrawsAtTheDefaultHeight) {
    paint_canvas(gdi::rgb(255, 255, 255));
    render_text_record(0, "Wg");
    const auto at_0 = snapshot();
    ASSERT_GT(count_pixels(palette[0]), 0);
    for (const std::int64_t ptsize : {std::int64_t{-1}, std::int64_t{INT_MIN}, MIN64}) {
        paint_canvas(gdi::rgb(255, 255, 255));
        render_text_record(ptsize, "Wg");
        EXPECT_EQ(snapshot(), at_0) << "ptsize " << ptsize;
    }
}

}  // namespace
}  // namespace zemka
