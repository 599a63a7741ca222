#include "support/library_fixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QtTest/QTest>

#include "zemka/console/console.h"
#include "zemka/platform/windowing.h"
#include "zemka/window/library_windows.h"
#include "zemka/window/run_menu.h"

namespace zemka::testing {

namespace {
void capture_line(const char *text, std::size_t length, void *context) {
    static_cast<std::vector<std::string> *>(context)->emplace_back(text, length);
}
}  // namespace

void LibraryTest::SetUp() {
    console::set_line_tap(capture_line, &lines);
    ASSERT_EQ(ZEMKA_start(nullptr, nullptr, "", 1), 1);
    ASSERT_NE(draw_window(), nullptr);
}

void LibraryTest::TearDown() {
    ZEMKA_stop();
    console::set_line_tap(nullptr, nullptr);
}

QWidget *LibraryTest::draw_frame() const { return static_cast<QWidget *>(platform::native_handle(draw_window())); }
QWidget *LibraryTest::draw_client() const { return draw_frame()->focusProxy(); }
QWidget *LibraryTest::text_client() const {
    return static_cast<QWidget *>(platform::native_handle(text_window()))->focusProxy();
}

QAction *LibraryTest::menu_action(unsigned id) const {
    auto *bar = draw_frame()->findChild<QMenuBar *>();
    if (!bar || bar->actions().isEmpty()) return nullptr;
    QMenu *menu = bar->actions().front()->menu();
    const auto items = platform::menu_item_info(run_menu);
    const auto actions = menu->actions();
    for (std::size_t i = 0; i < items.size() && i < static_cast<std::size_t>(actions.size()); ++i)
        if (items[i].id == id && !items[i].separator) return actions[static_cast<qsizetype>(i)];
    return nullptr;
}

void LibraryTest::click(int x, int y, QWidget *where) {
    QTest::mousePress(where ? where : draw_client(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
}

void LibraryTest::type(char c, QWidget *where) { QTest::keyClick(where ? where : draw_client(), c); }

void LibraryTest::ctrl(char letter, QWidget *where) {
    QWidget *w = where ? where : draw_client();
    QTest::keyPress(w, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyClick(w, static_cast<Qt::Key>(Qt::Key_A + (letter - 'A')), Qt::ControlModifier);
    QTest::keyRelease(w, Qt::Key_Control, Qt::NoModifier);
}

int LibraryTest::next(EventRecord *record, int guard_ms) {
    guard_fired = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [this] {
        guard_fired = true;
        platform::post_quit_message(0);
    });
    guard.start(guard_ms);
    EventRecord local{};
    return ZEMKA_next_event_record(record ? record : &local);
}

}  // namespace zemka::testing
