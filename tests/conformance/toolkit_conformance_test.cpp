// What every emulated back end must do through the toolkit interface: a
// user's clicks, keys and close box come back from the library's wait as
// the right events, and after a draw the screen shows what the window
// shows (shown_pixels). The web back end's user is a browser:
// tests/web/conformance_test.mjs runs the same cases on a page, with real
// input, in Chromium and Firefox ESR (from tests/web/run.sh).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "conformance/toolkit_user.h"
#include "zemka/platform/emulated/toolkit.h"
#include "zemka/platform/windowing.h"
#include "zemka/window/library_windows.h"
#include "zemka/zemka.h"

using namespace zemka;

namespace {

class ToolkitConformance : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ZEMKA_start(nullptr, nullptr, "", 1), 1);
        ASSERT_NE(draw_window(), nullptr);
        conformance::settle();
    }
    void TearDown() override { ZEMKA_stop(); }

    int next(EventRecord &record) { return conformance::next_event(record, guard_fired); }
    bool guard_fired = false;
};

TEST_F(ToolkitConformance, ClickComesBackAtItsLogicalPoint) {
    if (!conformance::takes_input()) GTEST_SKIP() << "this back end takes no input from a user";
    conformance::click(310, 237);
    EventRecord r{};
    EXPECT_EQ(next(r), ZEMKA_MOUSE);
    EXPECT_FALSE(guard_fired);
    EXPECT_EQ(r.x, 10);
    EXPECT_EQ(r.y, 13);
}

TEST_F(ToolkitConformance, TypedCharacterComesBackAsAKeyEvent) {
    if (!conformance::takes_input()) GTEST_SKIP() << "this back end takes no input from a user";
    conformance::type('k');
    EventRecord r{};
    EXPECT_EQ(next(r), ZEMKA_KBD);
    EXPECT_FALSE(guard_fired);
    EXPECT_EQ(r.key, 'k');
}

TEST_F(ToolkitConformance, CloseBoxEndsTheRun) {
    conformance::close_drawing_window();
    EventRecord r{};
    EXPECT_EQ(next(r), ZEMKA_QUIT);
    EXPECT_FALSE(guard_fired);
    EXPECT_FALSE(platform::window_alive(draw_window()));
}

TEST_F(ToolkitConformance, ScreenShowsTheWindowAfterADraw) {
    std::vector<std::uint32_t> before;
    int width = 0, height = 0;
    if (!conformance::screen_pixels(before, width, height)) GTEST_SKIP() << "this back end shows nothing on a screen";
    ASSERT_EQ(before.size(), static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    ZEMKA_draw_rectangle(4, -100, -80, 150, 60, 0);
    ZEMKA_draw_line(1, -290, 240, 290, -240, 7);
    ZEMKA_set_animation(RUN_ONE_FRAME);
    EventRecord r{};
    ASSERT_EQ(next(r), ZEMKA_PERIODIC);
    const raster::Pixmap shown = platform::shown_pixels(draw_window());
    ASSERT_NE(shown.pixels, nullptr);
    auto shown_at = [&](int x, int y) { return shown.pixels[static_cast<std::size_t>(y) * shown.stride + x]; };
    // The draw changed what the window shows: the screen has to follow.
    ASSERT_NE(shown_at(300 + 20, 250 - 10), before[static_cast<std::size_t>(250 - 10) * width + 300 + 20]);
    std::vector<std::uint32_t> screen;
    int differing = -1;
    for (int attempt = 0; attempt < 100 && differing != 0; ++attempt) {
        conformance::settle();
        ASSERT_TRUE(conformance::screen_pixels(screen, width, height));
        ASSERT_EQ(width, shown.width);
        ASSERT_EQ(height, shown.height);
        differing = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                differing += screen[static_cast<std::size_t>(y) * width + x] != (shown_at(x, y) | 0xff000000u);
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
