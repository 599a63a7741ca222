// The text window's pixels: however the console brings the window up to
// date, what it shows must be what scrolling by one line and drawing each
// line in the freed strip gives, line after line. The model below does
// exactly that on a copy of the window's surface.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <cstring>
#include <string>

#include "support/library_fixture.h"
#include "zemka/raster/gdi.h"
#include "zemka/platform/windowing.h"
#include "zemka/state.h"
#include "zemka/zemka.h"

namespace zemka::testing {

namespace {

using namespace platform;

class ConsolePixels : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        // A pattern instead of the plain background, so that any pixel the
        // line drawing keeps or moves shows.
        const raster::Pixmap pm = gdi::dc_pixmap(get_dc(text_window));
        for (int y = 0; y < pm.height; ++y)
            for (int x = 0; x < pm.width; ++x)
                pm.pixels[static_cast<std::size_t>(y) * pm.stride + x] =
                    0xff000000u | static_cast<std::uint32_t>((x * 7919 + y * 104729) & 0xffffff);
        model = gdi::create_memory_dc(pm.width, pm.height);
        copy_into_model();
        gdi::select_object(model, gdi::stock_object(gdi::Stock::FixedFont));
    }
    void TearDown() override {
        gdi::delete_dc(model);
        LibraryTest::TearDown();
    }

    void copy_into_model() {
        const raster::Pixmap from = gdi::dc_pixmap(get_dc(text_window));
        gdi::resize_dc(model, from.width, from.height);
        const raster::Pixmap to = gdi::dc_pixmap(model);
        for (int y = 0; y < from.height; ++y)
            std::memcpy(to.pixels + static_cast<std::size_t>(y) * to.stride,
                        from.pixels + static_cast<std::size_t>(y) * from.stride, from.width * sizeof(std::uint32_t));
    }

    // One line, the plain way: scroll by a line height, clear the strip
    // (null pen, background brush), draw the text.
    void model_line(std::string text) {
        if (!text.empty() && text.back() == '\n') text.pop_back();
        const gdi::TextMetrics tm = gdi::get_text_metrics(model);
        const int h = tm.height + tm.external_leading;
        gdi::scroll_dc(model, h);
        const raster::Pixmap pm = gdi::dc_pixmap(model);
        gdi::Handle brush = gdi::create_solid_brush(gdi::get_bk_color(model));
        gdi::Handle old_brush = gdi::select_object(model, brush);
        gdi::Handle old_pen = gdi::select_object(model, gdi::stock_object(gdi::Stock::NullPen));
        gdi::rectangle(model, 0, pm.height - h, pm.width, pm.height + 1);
        gdi::select_object(model, old_pen);
        gdi::select_object(model, old_brush);
        gdi::delete_object(brush);
        gdi::text_out(model, 5, pm.height - h, text.c_str(), std::strlen(text.c_str()));
    }

    void print(const std::string &text) {
        ZEMKA_console_printf("%s", text.c_str());
        model_line(text);
    }

    // Number of pixels in which the window and the model differ.
    int differences() {
        const raster::Pixmap a = gdi::dc_pixmap(get_dc(text_window));
        const raster::Pixmap b = gdi::dc_pixmap(model);
        if (a.width != b.width || a.height != b.height) return -1;
        int n = 0;
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                n += a.pixels[static_cast<std::size_t>(y) * a.stride + x] !=
                     b.pixels[static_cast<std::size_t>(y) * b.stride + x];
        return n;
    }

    static std::string line_of(int i) {
        return "white line from (" + std::to_string(i) + ",-12) to (" + std::to_string(i + 3) + ",9), width 2\n";
    }

    gdi::Dc *model = nullptr;
};

TEST_F(ConsolePixels, AFewLines) {
    for (int i = 0; i < 3; ++i) print(line_of(i));
    EXPECT_EQ(differences(), 0);
}

TEST_F(ConsolePixels, ManyLinesScrollOutOfSight) {
    for (int i = 0; i < 500; ++i) print(line_of(i));
    EXPECT_EQ(differences(), 0);
}

TEST_F(ConsolePixels, UpToDateAfterEveryBatch) {
    int i = 0;
    for (int batch : {1, 5, 2, 40, 1, 13, 0, 7}) {
        for (int k = 0; k < batch; ++k) print(line_of(i++));
        EXPECT_EQ(differences(), 0) << "after " << i << " lines";
    }
}

TEST_F(ConsolePixels, LinesThatReachTheRightEdge) {
    // The strip clear leaves the rightmost column, so a long line leaves its
    // mark in the strips of the lines after it, even once it has scrolled
    // out of sight.
    const std::string wide(300, 'W');
    for (int i = 0; i < 60; ++i) print(i % 7 == 0 ? wide + std::to_string(i) : line_of(i));
    EXPECT_EQ(differences(), 0);
    print(wide);
    for (int i = 0; i < 40; ++i) print(line_of(i));
    EXPECT_EQ(differences(), 0);
}

TEST_F(ConsolePixels, ALongLineOutOfSightStillMarksTheEdge) {
    print(std::string(300, '#'));
    for (int i = 0; i < 40; ++i) print(line_of(i));
    EXPECT_EQ(differences(), 0);
}

TEST_F(ConsolePixels, TabsControlsAndOtherScripts) {
    const char *texts[] = {"tab\there\n",
                           "\xc3\xbc"
                           "ber \xe2\x82\xac 5\n",
                           "bell \a and cr \r end\n",
                           "trailing two\n\n",
                           "",
                           "\xff\xfe not UTF-8\n"};
    for (int round = 0; round < 8; ++round)
        for (const char *t : texts) print(std::string(t) + std::string(static_cast<std::size_t>(round) * 20, '\t'));
    EXPECT_EQ(differences(), 0);
}

TEST_F(ConsolePixels, ResizedWhileLinesWait) {
    for (int i = 0; i < 10; ++i) print(line_of(i));
    auto *frame = static_cast<QWidget *>(native_handle(text_window));
    frame->resize(frame->width() + 37, frame->height() + 23);
    QApplication::processEvents();
    const raster::Pixmap pm = gdi::dc_pixmap(get_dc(text_window));
    gdi::resize_dc(model, pm.width, pm.height);
    // What the resize uncovered is the window's own business; from here on
    // both start from the same pixels.
    copy_into_model();
    for (int i = 0; i < 30; ++i) print(line_of(i));
    EXPECT_EQ(differences(), 0);
}

TEST_F(ConsolePixels, ShownWindowIsUpToDate) {
    // What the toolkit paints on the screen comes from the surface, read
    // when the window is painted.
    for (int i = 0; i < 20; ++i) print(line_of(i));
    const QImage shown = static_cast<QWidget *>(native_handle(text_window))->focusProxy()->grab().toImage();
    const raster::Pixmap b = gdi::dc_pixmap(model);
    ASSERT_GE(shown.width(), 1);
    int n = 0;
    for (int y = 0; y < std::min(shown.height(), b.height); ++y)
        for (int x = 0; x < std::min(shown.width(), b.width); ++x)
            n += (shown.pixel(x, y) | 0xff000000u) != b.pixels[static_cast<std::size_t>(y) * b.stride + x];
    EXPECT_EQ(n, 0);
}

}  // namespace

}  // namespace zemka::testing
