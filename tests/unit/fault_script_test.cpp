// The script file failing under the started library: a ZEMKA.SCR that
// cannot be created, one whose writes fail, and one removed or truncated
// while it is being played. Commands come as Ctrl + letter key presses,
// events through the real event wait; each test works in a fresh
// directory of its own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/library_fixture.h"
#include "zemka/script/script_state.h"
#include "zemka/window/library_windows.h"
#include "zemka/window/run_menu.h"
#include "zemka/window/window_procs.h"

namespace zemka {
namespace {

const std::string CANNOT_WRITE_FILE = "Cannot open script file ZEMKA.SCR for writing\n";
const std::string EOF_LINE = "EOF encountered in script file ZEMKA.SCR\n";

class FaultScript : public testing::LibraryTest {
protected:
    void SetUp() override {
        char dir_template[] = "/tmp/zemka-fault-XXXXXX";
        ASSERT_NE(mkdtemp(dir_template), nullptr);
        dir_ = dir_template;
        old_cwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        LibraryTest::SetUp();
        // The test delivers the ticks itself, so periodic events come
        // exactly when it asks for them.
        platform::kill_timer(draw_window(), TIMER_ID);
        ZEMKA_set_animation(RUN_HALT);
    }

    void TearDown() override {
        LibraryTest::TearDown();
        recording = playing_continuous = playing_once = 0;
        pending_periodic = 0;
        std::filesystem::current_path(old_cwd_);
        std::filesystem::remove_all(dir_);
    }

    // One periodic event: armed by the wait, then delivered by a tick that
    // comes while the wait sleeps (a tick before the arming does not count).
    int periodic() {
        ZEMKA_set_animation(RUN_ONE_FRAME);
        QTimer::singleShot(20, [] { platform::post_message(draw_window(), platform::WM_TIMER, TIMER_ID, 0); });
        return next();
    }

    // The console lines written since the mark.
    std::vector<std::string> lines_since(std::size_t mark) const {
        return {lines.begin() + static_cast<std::ptrdiff_t>(mark), lines.end()};
    }

    // Records a click, a key, a periodic event and a second click; every
    // event must come back to the program as it was given.
    void record_four_events() {
        ctrl('R');
        ASSERT_EQ(periodic(), ZEMKA_PERIODIC);  // the Ctrl+R key events take effect in this wait
        ASSERT_TRUE(recording);
        EventRecord r{};
        click(310, 240);
        ASSERT_EQ(next(&r), ZEMKA_MOUSE);
        EXPECT_EQ(r.x, 10);
        EXPECT_EQ(r.y, 10);
        type('q');
        ASSERT_EQ(next(&r), ZEMKA_KBD);
        EXPECT_EQ(r.key, 'q');
        ASSERT_EQ(periodic(), ZEMKA_PERIODIC);
        click(320, 260);
        ASSERT_EQ(next(&r), ZEMKA_MOUSE);
        EXPECT_EQ(r.x, 20);
        EXPECT_EQ(r.y, -10);
        EXPECT_TRUE(recording);
        EXPECT_FALSE(guard_fired);
    }

    static void write_script(const std::string &text) { std::ofstream("ZEMKA.SCR", std::ios::binary) << text; }

    static std::string key_lines(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += "ZEMKA_KBD(65);\n";  // 15 bytes a line
        return text;
    }

    std::filesystem::path dir_, old_cwd_;
};

TEST_F(FaultScript, DirectoryInThePlaceOfTheFileIsReportedForEveryEvent) {
    std::filesystem::create_directory("ZEMKA.SCR");
    const std::size_t mark = lines.size();
    record_four_events();
    // The switch-on tries at once. The first periodic event is still
    // counted when the first click comes, so the click brings two attempts:
    // the periodic run and the click. Then the key; the second run and the
    // second click.
    EXPECT_EQ(lines_since(mark), std::vector<std::string>(6, CANNOT_WRITE_FILE));
    ctrl('R');
    click(1, 1);
    next();
    EXPECT_FALSE(recording);
    EXPECT_EQ(lines.size(), mark + 6);  // nothing was pending at the switch-off
    EXPECT_TRUE(std::filesystem::is_directory("ZEMKA.SCR"));
}

TEST_F(FaultScript, DanglingLinkIntoAMissingDirectoryIsReportedForEveryEvent) {
    std::filesystem::create_symlink("no-such-dir/ZEMKA.SCR", "ZEMKA.SCR");
    const std::size_t mark = lines.size();
    record_four_events();
    EXPECT_EQ(lines_since(mark), std::vector<std::string>(6, CANNOT_WRITE_FILE));
    EXPECT_FALSE(std::filesystem::exists("no-such-dir"));
}

// A device or a FIFO is not a script file: nothing is written to it, and
// the recorder never blocks on it.
TEST_F(FaultScript, DevicesAndFifosAreRefusedWithoutBlocking) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    std::filesystem::create_symlink("/dev/full", "ZEMKA.SCR");
    std::size_t mark = lines.size();
    record_four_events();
    EXPECT_EQ(lines_since(mark), std::vector<std::string>(6, CANNOT_WRITE_FILE));
    ctrl('R');
    next();

    std::filesystem::remove("ZEMKA.SCR");
    ASSERT_EQ(mkfifo("ZEMKA.SCR", 0600), 0);
    mark = lines.size();
    record_four_events();
    EXPECT_EQ(lines_since(mark), std::vector<std::string>(6, CANNOT_WRITE_FILE));
    ctrl('R');
    ctrl('P');
    click(300, 250);
    EXPECT_EQ(next(), ZEMKA_MOUSE);  // the playback ended at once, live input goes on
    EXPECT_EQ(lines.back(), "Cannot open script file ZEMKA.SCR for reading\n");
    EXPECT_FALSE(guard_fired);
}

TEST_F(FaultScript, FileRemovedDuringPlaybackIsPlayedToItsEnd) {
    write_script(key_lines(300));
    ctrl('P');
    EventRecord r{};
    for (int i = 0; i < 10; ++i) ASSERT_EQ(next(&r), ZEMKA_KBD) << i;
    ASSERT_TRUE(std::filesystem::remove("ZEMKA.SCR"));
    // The open stream still reads the removed file, to its end.
    for (int i = 10; i < 300; ++i) {
        ASSERT_EQ(next(&r), ZEMKA_KBD) << i;
        EXPECT_EQ(r.key, 'A');
    }
    EXPECT_EQ(std::count(lines.begin(), lines.end(), EOF_LINE), 0);
    click(305, 245);
    EXPECT_EQ(next(&r), ZEMKA_MOUSE);  // the end of the file, then live input
    EXPECT_EQ(std::count(lines.begin(), lines.end(), EOF_LINE), 1);
    EXPECT_FALSE(playing_continuous);
    // A new playback finds no file and says so; live input goes on.
    ctrl('P');
    click(305, 245);
    EXPECT_EQ(next(&r), ZEMKA_MOUSE);
    EXPECT_EQ(lines.back(), "Cannot open script file ZEMKA.SCR for reading\n");
    EXPECT_FALSE(playing_continuous);
    EXPECT_FALSE(guard_fired);
}

// Lines that a play step reads after the cut come from the file as it is
// then; the stream may have read ahead, so the cut lies far beyond that.
TEST_F(FaultScript, FileTruncatedDuringPlaybackPlaysWhatIsLeftThenEnds) {
    write_script(key_lines(20000));
    ctrl('P');
    EventRecord r{};
    for (int i = 0; i < 10; ++i) ASSERT_EQ(next(&r), ZEMKA_KBD) << i;
    // Cut inside line 15,001: what is left of it is "ZEMKA_KBD(6".
    std::filesystem::resize_file("ZEMKA.SCR", 15000 * 15 + 11);
    std::vector<int> keys;
    while (next(&r, 1000) == ZEMKA_KBD && keys.size() < 30000) keys.push_back(static_cast<unsigned char>(r.key));
    EXPECT_TRUE(guard_fired);        // after the end of the file nothing came
    ASSERT_EQ(keys.size(), 14991u);  // lines 11 to 15,001
    EXPECT_EQ(std::count(keys.begin(), keys.end(), 'A'), 14990);
    EXPECT_EQ(keys.back(), 6);  // the cut line keeps the digit before the cut
    EXPECT_EQ(lines.back(), EOF_LINE);
    EXPECT_FALSE(playing_continuous);
    EXPECT_FALSE(menu_action(MENU_PLAYBACK)->isChecked());
}

TEST_F(FaultScript, FileEmptiedDuringPlaybackEndsItWithinWhatWasReadAhead) {
    // Lines of 16 bytes: the stream's read-ahead (a power of two) ends at a
    // line's end, so the last line read ahead is whole.
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "ZEMKA_KBD(122);\n";
    write_script(text);
    ctrl('P');
    EventRecord r{};
    for (int i = 0; i < 10; ++i) ASSERT_EQ(next(&r), ZEMKA_KBD) << i;
    std::filesystem::resize_file("ZEMKA.SCR", 0);
    int played = 10;
    while (next(&r, 1000) == ZEMKA_KBD && played < 30000) {
        EXPECT_EQ(r.key, 'z');
        ++played;
    }
    EXPECT_TRUE(guard_fired);  // after the end of the file nothing came
    // No more than the stream had read ahead before the file was emptied.
    EXPECT_LT(played, 20000);
    EXPECT_EQ(played % 256, 0);
    EXPECT_EQ(lines, std::vector<std::string>{EOF_LINE});
    EXPECT_FALSE(playing_continuous);
    // The program goes on with live input.
    type('y');
    EXPECT_EQ(next(&r), ZEMKA_KBD);
    EXPECT_EQ(r.key, 'y');
}

// A cut that leaves a line shorter than its keyword ends playback without
// an event and without a message.
TEST_F(FaultScript, FileCutInsideAKeywordEndsPlaybackSilently) {
    write_script(key_lines(20000));
    ctrl('P');
    EventRecord r{};
    for (int i = 0; i < 10; ++i) ASSERT_EQ(next(&r), ZEMKA_KBD) << i;
    std::filesystem::resize_file("ZEMKA.SCR", 15000 * 15 + 5);  // "ZEMKA" left of line 15,001
    int played = 10;
    while (next(&r, 1000) == ZEMKA_KBD && played < 30000) ++played;
    EXPECT_TRUE(guard_fired);
    EXPECT_EQ(played, 15000);
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(playing_continuous);
    // The next playback starts again from the first line of what is left.
    ctrl('P');
    EXPECT_EQ(next(&r), ZEMKA_KBD);
    EXPECT_EQ(r.key, 'A');
}

}  // namespace
}  // namespace zemka
