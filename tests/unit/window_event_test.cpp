// The windows, the event wait, the menu and the keyboard, driven headless
// by real toolkit events.
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "support/library_fixture.h"
#include "zemka/console/console.h"
#include "zemka/draw/palette.h"
#include "zemka/raster/gdi.h"
#include "zemka/platform/windowing.h"
#include "zemka/script/script.h"
#include "zemka/state.h"
#include "zemka/window/window_procs.h"

using namespace zemka;
using zemka::testing::LibraryTest;

namespace {

class Windows : public LibraryTest {
protected:
    // Gives the keyboard focus to a widget's window as a click on it
    // would; true once the widget has it.
    static bool focus_to(QWidget *widget) {
        widget->window()->activateWindow();
        widget->setFocus(Qt::ActiveWindowFocusReason);
        return QTest::qWaitFor([widget] { return widget->hasFocus(); });
    }
    // A key press that types text the test keyboard has no key for.
    void press_text(const QString &text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(draw_client(), &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
        QApplication::sendEvent(draw_client(), &release);
    }
};

TEST_F(Windows, StartCentresOnTheClientAreaAndBuildsTheMenu) {
    EXPECT_EQ(centre_x, 300);
    EXPECT_EQ(centre_y, 250);
    EXPECT_EQ(draw_client()->width(), 600);
    EXPECT_EQ(draw_client()->height(), 500);
    EXPECT_EQ(draw_frame()->windowTitle().toStdString(), "ZEMKA Graphics");
    EXPECT_TRUE(platform::window_visible(draw_window));
    EXPECT_TRUE(platform::window_visible(text_window));
    const auto items = platform::menu_item_info(run_menu);
    ASSERT_EQ(items.size(), 16u);
    const char *texts[] = {
        "&Animate\tCtrl+A",       "&Halt animation\tCtrl+H",  "Advance one &frame\tCtrl+F", "", "&Logging\tCtrl+L", "",
        "&Record Script\tCtrl+R", "&Playback Script\tCtrl+P", "Play &One Script\tCtrl+O",   "", "&Quit\tCtrl+Q",    "",
        "ZEMKA v2.2 July 1997"};
    const unsigned ids[] = {1, 2, 3, 0, 4, 0, 5, 6, 7, 0, 8, 0, 9, 9, 9, 9};
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(items[i].id, ids[i]) << i;
        EXPECT_EQ(items[i].separator, ids[i] == 0) << i;
        EXPECT_EQ(items[i].grayed, ids[i] == 9) << i;
        EXPECT_EQ(items[i].checked, ids[i] == 4) << i;
        if (i < 13) {
            EXPECT_EQ(items[i].text, texts[i]) << i;
        }
    }
    EXPECT_EQ(items[13].text.rfind("MAC: ", 0), 0u);
    EXPECT_EQ(items[14].text.rfind("WINDOWS: ", 0), 0u);
    EXPECT_EQ(items[15].text.rfind("UPDATES: ", 0), 0u);
}

TEST_F(Windows, FramesStandWhereTheyArePlaced) {
    int w = 0, h = 0;
    platform::screen_size(&w, &h);
    // The offscreen platform draws a frame of its own around each window:
    // the frames, not the client areas, stand at the places.
    EXPECT_EQ(draw_frame()->frameGeometry().topLeft(), QPoint(0, 0));
    const QWidget *frame = static_cast<QWidget *>(platform::native_handle(text_window));
    EXPECT_EQ(frame->windowTitle().toStdString(), "ZEMKA Text");
    const int top = h * 2 / 3 + 1;
    EXPECT_EQ(frame->frameGeometry(), QRect(0, top, w, std::min(h / 3, h - top)));  // within the screen
    EXPECT_GT(frame->frameGeometry().height(), frame->geometry().height());
}

TEST_F(Windows, ClickReturnsItsLogicalPoint) {
    click(310, 240);
    EventRecord r{};
    EXPECT_EQ(next(&r), ZEMKA_MOUSE);
    EXPECT_EQ(r.x, 10);
    EXPECT_EQ(r.y, 10);
    EXPECT_EQ(r.key, 0);
    click(300, 250);
    int x = -1, y = -1;
    char key = 'z';
    EXPECT_EQ(ZEMKA_next_event(&x, &y, &key), ZEMKA_MOUSE);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(key, 0);
    click(0, 499);
    EXPECT_EQ(ZEMKA_next_event(nullptr, nullptr, nullptr), ZEMKA_MOUSE);  // null out-parameters are skipped
}

TEST_F(Windows, TypedCharacterReturnsAKeyEvent) {
    type('a');
    EventRecord r{};
    EXPECT_EQ(next(&r), ZEMKA_KBD);
    EXPECT_EQ(r.key, 'a');
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.y, 0);
    press_text(QString::fromUtf8("\xc3\xa9"));  // Latin-1 233
    EXPECT_EQ(next(&r), ZEMKA_KBD);
    EXPECT_EQ(static_cast<unsigned char>(r.key), 233);
}

TEST_F(Windows, CharacterBeyondLatin1ProducesNoEvent) {
    press_text(QString::fromUtf8("\xe2\x82\xac"));  // the euro sign
    click(1, 1);
    EXPECT_EQ(next(), ZEMKA_MOUSE);
}

TEST_F(Windows, CtrlLetterRunsItsCommandWithoutAKeyEvent) {
    ASSERT_EQ(ZEMKA_set_logging(0), 1);
    ctrl('L');
    click(5, 5);
    EXPECT_EQ(next(), ZEMKA_MOUSE);  // the L did not arrive as a key event
    EXPECT_EQ(logging, 1);
    EXPECT_TRUE(platform::menu_item_info(run_menu)[4].checked);
    ctrl('L');
    click(5, 5);
    EXPECT_EQ(next(), ZEMKA_MOUSE);
    EXPECT_EQ(logging, 0);
    EXPECT_FALSE(platform::menu_item_info(run_menu)[4].checked);
}

TEST_F(Windows, LetterWithoutCtrlIsOnlyAKeyEvent) {
    type('q');
    EventRecord r{};
    EXPECT_EQ(next(&r), ZEMKA_KBD);
    EXPECT_EQ(r.key, 'q');
    click(1, 1);
    EXPECT_EQ(next(), ZEMKA_MOUSE);  // no quit followed
}

TEST_F(Windows, MenuActionsRunCommandsAndChecksMirrorTheFlags) {
    menu_action(MENU_ANIMATE)->trigger();
    click(1, 1);
    next();
    EXPECT_EQ(animate, 1);
    menu_action(MENU_HALT)->trigger();
    click(1, 1);
    next();
    EXPECT_EQ(animate, 0);
    menu_action(MENU_LOGGING)->trigger();
    click(1, 1);
    next();
    EXPECT_EQ(logging, 0);
    EXPECT_FALSE(menu_action(MENU_LOGGING)->isChecked());
    menu_action(MENU_RECORD)->trigger();
    click(1, 1);
    next();
    EXPECT_EQ(recording, 1);
    EXPECT_TRUE(menu_action(MENU_RECORD)->isChecked());
    menu_action(MENU_RECORD)->trigger();
    click(1, 1);
    next();
    EXPECT_EQ(recording, 0);
    EXPECT_FALSE(menu_action(MENU_RECORD)->isChecked());
    menu_action(MENU_INFO)->trigger();  // grayed: the toolkit does not trigger it
    click(1, 1);
    next();
    EXPECT_EQ(platform::menu_item_info(run_menu)[12].checked, false);
}

TEST_F(Windows, OneFrameYieldsExactlyOnePeriodicEvent) {
    ASSERT_EQ(ZEMKA_set_animation(RUN_ONE_FRAME), 1);
    EventRecord r{1, 1, 1};
    EXPECT_EQ(next(&r), ZEMKA_PERIODIC);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.y, 0);
    EXPECT_EQ(r.key, 0);
    QTimer::singleShot(400, [this] { click(2, 2); });
    EXPECT_EQ(next(), ZEMKA_MOUSE);  // the wait blocked until the click
    EXPECT_FALSE(guard_fired);
}

TEST_F(Windows, ClickWhileArmedReplacesThePeriodicEventAndTheFrameIsGone) {
    ZEMKA_set_animation(RUN_ONE_FRAME);
    click(3, 3);
    EXPECT_EQ(next(), ZEMKA_MOUSE);
    QTimer::singleShot(500, [this] { type('k'); });
    EXPECT_EQ(next(), ZEMKA_KBD);  // no periodic event came before the key
}

TEST_F(Windows, AnimationGivesAtMostOnePeriodicEventPerTick) {
    ZEMKA_set_animation(RUN_ANIMATE);
    const auto start = std::chrono::steady_clock::now();
    int periodic = 0;
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(1000))
        periodic += next() == ZEMKA_PERIODIC;
    const auto elapsed_ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    // One per 100 ms tick, the tick before arming not counted.
    EXPECT_LE(periodic, elapsed_ms / 100 + 1);
    EXPECT_GE(periodic, 3);
}

TEST_F(Windows, QuitModeStillWaitsForAnEventThenQuits) {
    ZEMKA_set_animation(RUN_QUIT);
    QTimer::singleShot(200, [this] { click(7, 7); });
    EventRecord r{};
    EXPECT_EQ(next(&r), ZEMKA_QUIT);
    EXPECT_FALSE(guard_fired);
    EXPECT_EQ(r.x, 7 - 300);  // the fields of the event that ended the wait
    type('x');
    EXPECT_EQ(next(), ZEMKA_QUIT);
}

TEST_F(Windows, CtrlQAndTheMenuQuitEndTheNextWait) {
    ctrl('Q');
    EXPECT_EQ(next(), ZEMKA_QUIT);
    EXPECT_FALSE(guard_fired);
    menu_action(MENU_QUIT)->trigger();
    EXPECT_EQ(next(), ZEMKA_QUIT);
    EXPECT_FALSE(guard_fired);
}

TEST_F(Windows, ClosingTheDrawingWindowQuits) {
    draw_frame()->close();
    EXPECT_EQ(next(), ZEMKA_QUIT);
    EXPECT_FALSE(guard_fired);
    EXPECT_FALSE(platform::window_alive(draw_window));
}

TEST_F(Windows, ClosingTheTextWindowDoesNotQuit) {
    static_cast<QWidget *>(platform::native_handle(text_window))->close();
    click(4, 4);
    EXPECT_EQ(next(), ZEMKA_MOUSE);
    EXPECT_FALSE(platform::window_alive(text_window));
    for (int i = 0; i < 1000; ++i) ZEMKA_console_printf("after close %d\n", i);
    EXPECT_EQ(lines.back(), "after close 999\n");
}

TEST_F(Windows, AHugeTextWindowIsNoLargerThanTheDesktop) {
    auto *frame = static_cast<QWidget *>(platform::native_handle(text_window));
    const QSize desktop = frame->screen()->virtualSize();
    const QSize huge(desktop.width() * 6, desktop.height() * 5);
    frame->resize(huge);  // asked of the toolkit
    QTest::qWait(50);
    EXPECT_LE(frame->width(), desktop.width());
    EXPECT_LE(frame->height(), desktop.height());
    frame->windowHandle()->resize(huge);  // forced on the window from outside
    QTest::qWait(50);
    ZEMKA_console_printf("still shown\n");
    click(4, 4);
    EXPECT_EQ(next(), ZEMKA_MOUSE);
    EXPECT_LE(frame->width(), desktop.width());
    EXPECT_LE(frame->height(), desktop.height());
    const platform::Rect rc = platform::get_client_rect(text_window);
    EXPECT_EQ(rc.right, text_client()->width());
    EXPECT_EQ(rc.bottom, text_client()->height());
}

TEST_F(Windows, AfterAWaitTheWindowShowsTheCanvas) {
    ZEMKA_clear_canvas();
    ZEMKA_draw_circle(4, 0, 0, 100);
    ZEMKA_draw_line(2, -300, 250, 300, -250, 5);
    click(1, 1);
    next();
    EXPECT_EQ(canvas_dirty, 0);
    const QImage shown = draw_client()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.width(), 600);
    ASSERT_EQ(shown.height(), 500);
    const raster::Pixmap canvas = gdi::dc_pixmap(canvas_dc);
    int differing = 0;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 600; ++x)
            differing +=
                (shown.pixel(x, y) | 0xff000000u) != canvas.pixels[static_cast<std::size_t>(y) * canvas.stride + x];
    EXPECT_EQ(differing, 0);
}

TEST_F(Windows, SetLoggingChecksTheItemAndShowsTheTextWindow) {
    show_text_window(0);
    ASSERT_FALSE(platform::window_visible(text_window));
    EXPECT_EQ(ZEMKA_set_logging(7), 1);
    EXPECT_EQ(logging, 1);
    EXPECT_TRUE(platform::menu_item_info(run_menu)[4].checked);
    EXPECT_TRUE(platform::window_visible(text_window));
    EXPECT_EQ(ZEMKA_set_logging(0), 1);
    EXPECT_FALSE(platform::menu_item_info(run_menu)[4].checked);
    EXPECT_TRUE(platform::window_visible(text_window));  // switching off does not hide it
    show_text_window(0);
    ctrl('L');
    click(1, 1);
    next();
    EXPECT_EQ(logging, 1);
    EXPECT_FALSE(platform::window_visible(text_window));  // the command does not show it
}

TEST_F(Windows, KeysInTheTextWindowReachTheDrawingWindow) {
    type('t', text_client());
    EventRecord r{};
    EXPECT_EQ(next(&r), ZEMKA_KBD);
    EXPECT_EQ(r.key, 't');
    ZEMKA_set_animation(RUN_ANIMATE);
    ctrl('H', text_client());
    type('u', text_client());  // forwarded behind the command's keys
    EXPECT_EQ(next(&r), ZEMKA_KBD);
    EXPECT_EQ(r.key, 'u');
    EXPECT_EQ(animate, 0);
}

TEST_F(Windows, LosingTheFocusReleasesAStuckControl) {
    ASSERT_TRUE(focus_to(draw_client()));
    QTest::keyPress(draw_client(), Qt::Key_Control, Qt::ControlModifier);
    QWidget elsewhere;  // a window that is not the library's takes the focus
    elsewhere.setFocusPolicy(Qt::StrongFocus);
    elsewhere.show();
    ASSERT_TRUE(focus_to(&elsewhere));
    ASSERT_TRUE(focus_to(draw_client()));
    type('q');  // a plain q: a key event, not the quit command
    EventRecord r{};
    EXPECT_EQ(next(&r), ZEMKA_KBD);
    EXPECT_EQ(r.key, 'q');
}

TEST_F(Windows, ControlHeldWhileTheFocusVisitsTheTextWindowStaysHeld) {
    ASSERT_TRUE(focus_to(draw_client()));
    QTest::keyPress(draw_client(), Qt::Key_Control, Qt::ControlModifier);
    ASSERT_TRUE(focus_to(text_client()));
    ASSERT_TRUE(focus_to(draw_client()));
    // The A alone, as the keyboard sends it while Control stays down.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QString(QChar(1)));
    QApplication::sendEvent(draw_client(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::ControlModifier, QString(QChar(1)));
    QApplication::sendEvent(draw_client(), &release);
    QTest::keyRelease(draw_client(), Qt::Key_Control, Qt::NoModifier);
    click(5, 5);
    EventRecord r{};
    int kind;
    do {
        kind = next(&r);
        EXPECT_NE(kind, ZEMKA_KBD) << "key " << int(r.key);  // Ctrl+A is not key 1
    } while (kind == ZEMKA_PERIODIC || kind == ZEMKA_KBD);
    EXPECT_EQ(kind, ZEMKA_MOUSE);
    EXPECT_EQ(animate, 1);
}

TEST_F(Windows, CharactersTypedWithCtrlHeldAreDropped) {
    QTest::keyPress(draw_client(), Qt::Key_Control, Qt::ControlModifier);
    QTest::keyClick(draw_client(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyRelease(draw_client(), Qt::Key_Control, Qt::NoModifier);
    click(9, 9);
    EXPECT_EQ(next(), ZEMKA_MOUSE);
}

TEST_F(Windows, RunModesOutsideTheTableChangeNothing) {
    for (int mode : {3, 4, -1, 6, 1000}) EXPECT_EQ(ZEMKA_set_animation(mode), 1);
    EXPECT_EQ(animate, 0);
    EXPECT_EQ(one_frame, 0);
    EXPECT_EQ(quit_requested, 0);
    ZEMKA_set_animation(RUN_ANIMATE);
    ZEMKA_set_animation(RUN_ONE_FRAME);
    EXPECT_EQ(animate, 1);  // one frame leaves animation on
    ZEMKA_set_animation(RUN_HALT);
    EXPECT_EQ(animate, 0);
    EXPECT_EQ(one_frame, 0);
}

TEST_F(Windows, FrameCommandStopsAnimationAfterOneFrame) {
    ZEMKA_set_animation(RUN_ANIMATE);
    ctrl('F');
    type('z');  // replaces the periodic event armed while animating
    EXPECT_EQ(next(), ZEMKA_KBD);
    EXPECT_EQ(animate, 0);
    EXPECT_EQ(next(), ZEMKA_PERIODIC);
    QTimer::singleShot(400, [this] { click(2, 2); });
    EXPECT_EQ(next(), ZEMKA_MOUSE);
}

TEST_F(Windows, StopReturnsOneWithoutAScriptFile) { EXPECT_EQ(ZEMKA_stop(), 1); }

// A canvas pixel at a logical point.
gdi::ColorRef canvas_at(int x, int y) {
    const raster::Pixmap pm = gdi::dc_pixmap(canvas_dc);
    return gdi::color_of_pixel(pm.pixels[static_cast<std::size_t>(centre_y - y) * pm.stride + centre_x + x]);
}

long resident_kb() {
    long pages = 0, resident = -1;
    if (std::FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = -1;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

TEST_F(Windows, EveryStopLeavesNoWindowAndEveryStartBeginsAfresh) {
    long first_kb = 0;
    for (int cycle = 1; cycle <= 300; ++cycle) {
        // State that a fresh start must not inherit: a held Control, quit
        // mode, animation, and logging that differs from cycle to cycle.
        QTest::keyPress(draw_client(), Qt::Key_Control, Qt::ControlModifier);
        ZEMKA_set_animation(RUN_QUIT);
        click(1, 1);
        ASSERT_EQ(next(), ZEMKA_QUIT) << cycle;
        ZEMKA_set_animation(RUN_ANIMATE);
        const auto logged = static_cast<unsigned char>(cycle % 2);
        ZEMKA_set_logging(logged);

        ASSERT_EQ(ZEMKA_stop(), 1);
        ASSERT_TRUE(!draw_window && !text_window && !canvas_dc && !run_menu);
        ASSERT_TRUE(QApplication::topLevelWidgets().isEmpty()) << cycle;
        ASSERT_EQ(ZEMKA_stop(), 1);  // not started: nothing to do
        ASSERT_EQ(ZEMKA_next_event(nullptr, nullptr, nullptr), ZEMKA_QUIT);
        if (cycle == 1) first_kb = resident_kb();

        ASSERT_EQ(ZEMKA_start(nullptr, nullptr, "", 1), 1);
        EXPECT_EQ(logging, logged);
        ASSERT_EQ(platform::menu_item_info(run_menu)[4].checked, logged == 1) << cycle;
        ZEMKA_clear_canvas();
        ZEMKA_draw_circle(6, 20, -10, 8);
        EXPECT_EQ(canvas_at(20, -10), palette[6]) << cycle;
        click(310, 240);
        EventRecord r{};
        ASSERT_EQ(next(&r), ZEMKA_MOUSE) << cycle;  // neither the old quit nor quit mode
        EXPECT_EQ(r.x, 10);
        type('a');  // Control counts as released, animation is off
        ASSERT_EQ(next(&r), ZEMKA_KBD) << cycle;
    }
    const long growth_kb = resident_kb() - first_kb;
    std::printf("resident after stop 1: %ld kB, after stop 300: %ld kB more\n", first_kb, growth_kb);
#if !defined(__SANITIZE_ADDRESS__)  // whose quarantine holds freed memory back
    EXPECT_LE(growth_kb, 10240);
#endif
}

TEST_F(Windows, StartWhileStartedChangesNothingAndSaysSo) {
    ZEMKA_clear_canvas();
    ZEMKA_draw_circle(4, 0, 0, 50);
    const raster::Pixmap pm = gdi::dc_pixmap(canvas_dc);
    const std::vector<std::uint32_t> before(pm.pixels, pm.pixels + static_cast<std::size_t>(pm.height) * pm.stride);
    platform::Window *const draw = draw_window, *const text = text_window;
    const auto widgets = QApplication::topLevelWidgets().size();
    lines.clear();
    EXPECT_EQ(ZEMKA_start(nullptr, nullptr, "", 1), 1);
    EXPECT_EQ(lines, std::vector<std::string>{"ZEMKA_start called while ZEMKA is already running; ignored\n"});
    EXPECT_TRUE(draw_window == draw && text_window == text);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), widgets);
    ASSERT_EQ(gdi::dc_pixmap(canvas_dc).pixels, pm.pixels);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), pm.pixels));
}

TEST(WindowsBeforeStart, EntriesDoNotCrash) {
    EXPECT_EQ(ZEMKA_set_animation(RUN_ANIMATE), 0);
    EXPECT_EQ(ZEMKA_set_logging(1), 0);
    EXPECT_EQ(animate, 0);
    EventRecord r{5, 5, 5};
    EXPECT_EQ(ZEMKA_next_event_record(&r), ZEMKA_QUIT);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(ZEMKA_next_event(nullptr, nullptr, nullptr), ZEMKA_QUIT);
    EXPECT_EQ(ZEMKA_next_event_record(nullptr), ZEMKA_QUIT);
}

}  // namespace

namespace {

using zemka::testing::LibraryTest;

class Pacing : public LibraryTest {
protected:
    // Stops the real timer: the test delivers the ticks itself.
    void SetUp() override {
        LibraryTest::SetUp();
        platform::kill_timer(draw_window, TIMER_ID);
    }
    void tick() { platform::post_message(draw_window, platform::WM_TIMER, TIMER_ID, 0); }
    // Handles what start left queued, so the next message is the test's.
    void drain() {
        platform::Msg msg;
        while (platform::peek_message(&msg)) platform::dispatch_message(msg);
    }
};

TEST_F(Pacing, ATickBeforeArmingDoesNotCount) {
    drain();
    tick();  // taken by the wait before it arms its periodic event
    ZEMKA_set_animation(RUN_ONE_FRAME);
    QTimer::singleShot(300, [this] { click(1, 1); });
    EXPECT_EQ(next(), ZEMKA_MOUSE);
    EXPECT_FALSE(guard_fired);
}

TEST_F(Pacing, APeriodicEventWaitsForTheNextTick) {
    ZEMKA_set_animation(RUN_ONE_FRAME);
    QTimer::singleShot(200, [this] { tick(); });
    EXPECT_EQ(next(), ZEMKA_PERIODIC);
    EXPECT_FALSE(guard_fired);
}

TEST(TimerTicks, DoNotPileUpWhileNobodyPumps) {
    ASSERT_EQ(ZEMKA_start(nullptr, nullptr, "", 1), 1);
    QTest::qWait(350);  // the toolkit runs the timer; the library's queue is not read
    int ticks = 0;
    platform::Msg msg;
    while (platform::peek_message(&msg)) ticks += msg.message == platform::WM_TIMER;
    EXPECT_EQ(ticks, 1);
    ZEMKA_stop();
}

}  // namespace
