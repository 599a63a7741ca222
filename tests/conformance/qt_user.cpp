// The Qt back end's user, on the offscreen platform: real toolkit events
// sent to the widgets, and the screen read from the window's backing
// store, which only a repaint after present changes.
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include "conformance/toolkit_user.h"
#include "zemka/platform/windowing.h"
#include "zemka/window/library_windows.h"

namespace zemka::conformance {

namespace {
QWidget *frame() { return static_cast<QWidget *>(platform::native_handle(draw_window())); }
QWidget *client() { return frame()->focusProxy(); }
}  // namespace

bool takes_input() { return true; }

void click(int client_x, int client_y) {
    QTest::mousePress(client(), Qt::LeftButton, Qt::NoModifier, QPoint(client_x, client_y));
}

void type(char c) { QTest::keyClick(client(), c); }

void close_drawing_window() { frame()->close(); }

void settle() {
    // Not exposed in time: the screen comparison says so.
    static_cast<void>(QTest::qWaitForWindowExposed(frame()));
    QTest::qWait(20);
}

bool screen_pixels(std::vector<std::uint32_t> &pixels, int &width, int &height) {
    QWidget *top = frame(), *area = client();
    const QPoint at = area->mapTo(top, QPoint(0, 0));
    const QImage image = top->screen()
                             ->grabWindow(top->winId(), at.x(), at.y(), area->width(), area->height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    width = image.width();
    height = image.height();
    pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y) * width + x] = image.pixel(x, y) | 0xff000000u;
    return true;
}

int next_event(EventRecord &record, bool &guard_fired) {
    guard_fired = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&guard_fired] {
        guard_fired = true;
        platform::post_quit_message(0);
    });
    guard.start(3000);
    return ZEMKA_next_event_record(&record);
}

}  // namespace zemka::conformance
