// The painter's whole run on the offscreen toolkit: start-up, clicks on
// the panel and the picture, the frame it shows, and quit.
#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>
#include <cstdint>
#include <string>
#include <vector>

#include "painter/weather.h"
#include "zemka/console/console.h"
#include "zemka/raster/gdi.h"
#include "zemka/platform/windowing.h"
#include "zemka/state.h"

namespace {

using zemka::gdi::ColorRef;
using zemka::gdi::rgb;

void capture_line(const char *text, std::size_t length, void *context) {
    static_cast<std::vector<std::string> *>(context)->emplace_back(text, length);
}

// The canvas as the loop showed it shortly before the quit (the library
// releases it at stop).
std::vector<std::uint32_t> shown;
int shown_stride = 0;

void keep_canvas() {
    const auto pm = zemka::gdi::dc_pixmap(zemka::canvas_dc);
    shown.assign(pm.pixels, pm.pixels + static_cast<std::size_t>(pm.height) * pm.stride);
    shown_stride = pm.stride;
}

ColorRef canvas_pixel(int x, int y) {
    return zemka::gdi::color_of_pixel(shown.at(static_cast<std::size_t>(y) * shown_stride + x));
}

int count_canvas(ColorRef color, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += canvas_pixel(x, y) == color;
    return n;
}

// A click on the drawing window's client area at a logical point.
void click_logical(int x, int y) {
    auto *frame = static_cast<QWidget *>(zemka::platform::native_handle(zemka::draw_window));
    QTest::mousePress(frame->focusProxy(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(zemka::centre_x + x, zemka::centre_y - y));
}

}  // namespace

TEST(PainterLoop, RunsUntilQuitShowingTheSelectionAndThePlantedGlyph) {
    std::vector<std::string> lines;
    zemka::console::set_line_tap(capture_line, &lines);

    // Once the loop waits: choose Snow and Blue, plant at the centre; a
    // little later keep the canvas and quit.
    QTimer script;
    script.setSingleShot(true);
    QObject::connect(&script, &QTimer::timeout, [] {
        click_logical(-250, 195);
        click_logical(-250, 90);
        click_logical(0, 0);
    });
    script.start(300);
    QTimer ending;
    ending.setSingleShot(true);
    QObject::connect(&ending, &QTimer::timeout, [] {
        keep_canvas();
        zemka::platform::post_quit_message(0);
    });
    ending.start(500);
    QTimer guard;  // ends a run whose clicks went astray instead of hanging
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { zemka::platform::post_quit_message(0); });
    guard.start(10000);

    EXPECT_EQ(painter::weather_main(nullptr, nullptr, "", 1), 0);
    EXPECT_TRUE(guard.isActive()) << "the clicks did not reach the loop";
    ASSERT_FALSE(shown.empty());
    zemka::console::set_line_tap(nullptr, nullptr);

    // Logging was switched off before the first drawing call.
    for (const std::string &l : lines) EXPECT_EQ(l.find(" circle at "), std::string::npos) << l;

    const ColorRef yellow = rgb(255, 255, 0), blue = rgb(0, 0, 255);
    // The panel shows the selection: "Snow" (button 1) and "Blue" (button 4).
    auto label_yellow = [&](int i) { return count_canvas(yellow, 15, 5 + 35 * i, 80, 26 + 35 * i); };
    EXPECT_EQ(label_yellow(0), 0);
    EXPECT_GT(label_yellow(1), 0);
    EXPECT_EQ(label_yellow(2), 0);
    EXPECT_GT(label_yellow(4), 0);
    // The blue snowflake over the gray mountain, near where it was planted
    // (it may have fallen a few units with the animation running).
    EXPECT_GT(count_canvas(blue, 300 - 6, 250 - 5, 300 + 7, 250 + 30), 0);
}
