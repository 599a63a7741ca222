// The console when its window or its memory fails: the text window closed
// by the user, and a line whose ring block cannot be allocated.
#include <QWidget>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/library_fixture.h"
#include "zemka/console/console.h"
#include "zemka/draw/palette.h"
#include "zemka/raster/gdi.h"
#include "zemka/platform/windowing.h"
#include "zemka/state.h"

namespace zemka {
namespace {

using FaultConsole = testing::LibraryTest;

std::string stored(int k) {  // the k-th stored line, oldest first
    const char *text = console::slot_text((console::log_head + k) % console::RING_SIZE);
    return text ? text : "(none)";
}

// The rows of the text window's bottom line: the line drawn last.
std::vector<std::uint32_t> bottom_line() {
    gdi::Dc *dc = platform::get_dc(text_window);
    if (!dc) return {};
    gdi::select_object(dc, gdi::stock_object(gdi::Stock::FixedFont));
    const gdi::TextMetrics tm = gdi::get_text_metrics(dc);
    const int h = tm.height + tm.external_leading;
    const raster::Pixmap pm = gdi::dc_pixmap(dc);
    std::vector<std::uint32_t> rows;
    for (int y = pm.height - h; y < pm.height; ++y)
        rows.insert(rows.end(), pm.pixels + static_cast<std::size_t>(y) * pm.stride,
                    pm.pixels + static_cast<std::size_t>(y) * pm.stride + pm.width);
    platform::release_dc(text_window, dc);
    return rows;
}

TEST_F(FaultConsole, ClosedTextWindowThenAThousandLines) {
    static_cast<QWidget *>(platform::native_handle(text_window))->close();  // the close box
    click(10, 10);
    ASSERT_EQ(next(), ZEMKA_MOUSE);  // the wait handled the close on its way
    ASSERT_FALSE(platform::window_alive(text_window));
    ASSERT_TRUE(platform::window_alive(draw_window));
    EXPECT_EQ(platform::get_dc(text_window), nullptr);

    const std::size_t mark = lines.size();
    for (int i = 0; i < 1000; ++i) {
        const std::string line = "line " + std::to_string(i) + "\n";
        ASSERT_EQ(ZEMKA_console_printf("line %d\n", i), static_cast<int>(line.size()));
    }
    EXPECT_EQ(lines.size(), mark + 1000);
    // The ring keeps the last 25, newest at the end.
    EXPECT_EQ(console::log_head, console::log_next);
    for (int k = 0; k < 25; ++k) EXPECT_EQ(stored(k), "line " + std::to_string(975 + k) + "\n");
    console::repaint();  // a repaint without a window draws nothing and harms nothing
    EXPECT_EQ(stored(24), "line 999");  // it took the trailing newline, as a repaint does

    // The program goes on: logging, drawing and events.
    EXPECT_EQ(ZEMKA_set_logging(1), 1);
    EXPECT_FALSE(platform::window_visible(text_window));
    EXPECT_EQ(ZEMKA_draw_circle(2, 0, 0, 5), 1);
    EXPECT_EQ(lines.back(), "red circle at (0,0), radius 5\n");
    EXPECT_EQ(stored(24), "red circle at (0,0), radius 5\n");
    EventRecord r{};
    type('k');
    ASSERT_EQ(next(&r), ZEMKA_KBD);
    EXPECT_EQ(r.key, 'k');
    // The wait showed the circle in the drawing window.
    const raster::Pixmap shown = gdi::dc_pixmap(window_dc);
    EXPECT_EQ(gdi::color_of_pixel(shown.pixels[250 * static_cast<std::size_t>(shown.stride) + 300]), palette[2]);
    EXPECT_FALSE(guard_fired);
}

TEST_F(FaultConsole, LineWithoutARingBlockIsDrawnButNotStored) {
    for (int i = 0; i < 25; ++i) ZEMKA_console_printf("kept %d\n", i);
    ASSERT_EQ(console::log_head, 0);
    ASSERT_EQ(console::log_next, 0);
    const std::vector<std::uint32_t> before = bottom_line();
    ASSERT_FALSE(before.empty());

    gdi::fail_next_global_allocs(1);
    EXPECT_EQ(ZEMKA_console_printf("lost %s\n", "line"), 10);
    const std::vector<std::uint32_t> drawn = bottom_line();
    // Nothing was evicted for it: the ring is as it was.
    EXPECT_EQ(console::log_head, 0);
    EXPECT_EQ(console::log_next, 0);
    for (int k = 0; k < 25; ++k) EXPECT_EQ(stored(k), "kept " + std::to_string(k) + "\n");
    // It was drawn as the same line is drawn when it is stored.
    EXPECT_NE(drawn, before);
    EXPECT_EQ(ZEMKA_console_printf("lost %s\n", "line"), 10);
    EXPECT_EQ(bottom_line(), drawn);
    EXPECT_EQ(stored(24), "lost line\n");
    EXPECT_EQ(stored(0), "kept 1\n");
}

}  // namespace
}  // namespace zemka
