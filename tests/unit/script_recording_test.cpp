// Recording events into the script file: the lines written, the run-length
// rule for periodic events, write failures, and recording and playback
// keeping apart.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <share.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "zemka/console/console.h"
#include "zemka/script/script.h"
#include "zemka/script/script_state.h"
#include "zemka/support/regular_file.h"
#include "zemka/window/run_menu.h"
#include "zemka/window/run_state.h"

namespace zemka {
namespace {

void capture_line(const char *text, std::size_t length, void *context) {
    static_cast<std::vector<std::string> *>(context)->emplace_back(text, length);
}

EventRecord mouse(int x, int y) { return EventRecord{x, y, 0}; }
EventRecord key(int code) { return EventRecord{0, 0, static_cast<char>(static_cast<unsigned char>(code))}; }
const EventRecord NONE{0, 0, 0};

// The end of a wait that returns this event.
void returned(int kind, EventRecord event = NONE) {
    pending_kind = kind;
    current_event = event;
    script_record_event(kind, current_event);
}

void periodic(int count) {
    for (int i = 0; i < count; ++i) returned(ZEMKA_PERIODIC);
}

class ScriptRecording : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testing::make_temp_dir("zemka-script-");
        ASSERT_FALSE(dir_.empty());
        old_cwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);

        recording = playing_continuous = playing_once = animate = one_frame = 0;
        pending_kind = -1;
        current_event = NONE;
        pending_periodic = 0;
        run_menu = script_menu();
        platform::check_menu_item(run_menu, MENU_RECORD, platform::MF_UNCHECKED);
        platform::check_menu_item(run_menu, MENU_PLAYBACK, platform::MF_UNCHECKED);
        console::set_line_tap(capture_line, &lines);
    }

    void TearDown() override {
        console::set_line_tap(nullptr, nullptr);
        script_close();
        set_script_path(nullptr);
        run_menu = nullptr;
        std::filesystem::current_path(old_cwd_);
        std::filesystem::remove_all(dir_);
    }

    // The file's text with this system's line end (LF, or CR LF on
    // Windows) read as "\n"; any other line end fails the test.
    static std::string file_text(const char *name = "ZEMKA.SCR") {
        std::ifstream in(name, std::ios::binary);
        EXPECT_TRUE(in) << name << " is missing";
        std::ostringstream bytes;
        bytes << in.rdbuf();
        const std::string raw = bytes.str();
        const std::string end = support::LINE_END;
        std::string text;
        for (std::size_t i = 0; i < raw.size();) {
            if (raw.compare(i, end.size(), end) == 0) {
                text += '\n';
                i += end.size();
            } else {
                EXPECT_TRUE(raw[i] != '\n' && raw[i] != '\r') << "a line end other than the system's at byte " << i;
                text += raw[i++];
            }
        }
        return text;
    }

    // A script as this system's recorder would have left it.
    static void write_file(const std::string &content) {
        std::ofstream out("ZEMKA.SCR", std::ios::binary | std::ios::trunc);
        for (const char c : content) {
            if (c == '\n')
                out << support::LINE_END;
            else
                out << c;
        }
    }

    // The script items of the "&Run" menu, made once for the process.
    static platform::Menu *script_menu() {
        static platform::Menu *const menu = [] {
            platform::Menu *m = platform::create_popup_menu();
            platform::append_menu(m, platform::MF_STRING, MENU_RECORD, "&Record Script\tCtrl+R");
            platform::append_menu(m, platform::MF_STRING, MENU_PLAYBACK, "&Playback Script\tCtrl+P");
            platform::append_menu(m, platform::MF_STRING, MENU_PLAY_ONE, "Play &One Script\tCtrl+O");
            return m;
        }();
        return menu;
    }

    static bool checked(unsigned id) {
        for (const platform::MenuItemInfo &item : platform::menu_item_info(run_menu))
            if (item.id == id) return item.checked;
        ADD_FAILURE() << "no menu item " << id;
        return false;
    }

    // One play step from the wait; the event as "M x y", "K code", "P" or "none".
    static std::string step() {
        pending_kind = -1;
        current_event = NONE;
        if (script_play_step() != 1) return "none";
        switch (pending_kind) {
            case ZEMKA_MOUSE: return "M " + std::to_string(current_event.x) + " " + std::to_string(current_event.y);
            case ZEMKA_KBD: return "K " + std::to_string(static_cast<unsigned char>(current_event.key));
            case ZEMKA_PERIODIC: return "P";
            default: return "?";
        }
    }

    std::vector<std::string> lines;

private:
    std::filesystem::path dir_, old_cwd_;
};

const char *const EXAMPLE_FILE =
    "ZEMKA_PERIODIC(3);\nZEMKA_MOUSE(10, -20);\nZEMKA_PERIODIC(2);\nZEMKA_KBD(97);\nZEMKA_PERIODIC(1);\n";

void record_example() {
    script_toggle_recording();
    for (int i = 0; i < 3; ++i) returned(ZEMKA_PERIODIC);
    returned(ZEMKA_MOUSE, mouse(10, -20));
    for (int i = 0; i < 2; ++i) returned(ZEMKA_PERIODIC);
    returned(ZEMKA_KBD, key('a'));
    returned(ZEMKA_PERIODIC);
    script_toggle_recording();
}

TEST_F(ScriptRecording, ExampleSequenceWritesFiveLines) {
    record_example();
    EXPECT_EQ(file_text(), EXAMPLE_FILE);
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_FALSE(recording);
    EXPECT_FALSE(script_file_open());
    EXPECT_TRUE(lines.empty());
}

TEST_F(ScriptRecording, RecordedExamplePlaysBackAsRecorded) {
    record_example();
    std::vector<std::string> got;
    for (std::string e = step(); e != "none" && got.size() < 20; e = step()) got.push_back(e);
    EXPECT_EQ(got, (std::vector<std::string>{"P", "P", "P", "M 10 -20", "P", "P", "K 97", "P"}));
}

TEST_F(ScriptRecording, ToggleChecksAndUnchecksItemFive) {
    script_toggle_recording();
    EXPECT_TRUE(recording);
    EXPECT_TRUE(checked(MENU_RECORD));
    script_toggle_recording();
    EXPECT_FALSE(recording);
    EXPECT_FALSE(checked(MENU_RECORD));
}

TEST_F(ScriptRecording, FourPeriodicThenOffWritesOneCountLine) {
    write_file("ZEMKA_KBD(1);\nZEMKA_KBD(2);\n");
    script_toggle_recording();
    EXPECT_EQ(file_text(), "") << "switching recording on left an older recording in place";
    periodic(4);
    // The run's one line is on disk as it grows, rewritten in place.
    EXPECT_EQ(file_text(), "ZEMKA_PERIODIC(4);\n");
    periodic(6);
    EXPECT_EQ(file_text(), "ZEMKA_PERIODIC(10);\n");
    script_toggle_recording();
    EXPECT_EQ(file_text(), "ZEMKA_PERIODIC(10);\n");
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_FALSE(script_file_open());

    script_toggle_recording();
    periodic(4);
    script_toggle_recording();
    EXPECT_EQ(file_text(), "ZEMKA_PERIODIC(4);\n");
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_FALSE(script_file_open());
}

TEST_F(ScriptRecording, PeriodicRunBeforeClickIsWrittenFirst) {
    script_toggle_recording();
    periodic(3);
    returned(ZEMKA_MOUSE, mouse(-5, 6));
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_EQ(file_text(), "ZEMKA_PERIODIC(3);\nZEMKA_MOUSE(-5, 6);\n");
}

TEST_F(ScriptRecording, OffWithNothingPendingWritesNothing) {
    script_toggle_recording();
    returned(ZEMKA_MOUSE, mouse(1, 2));
    script_toggle_recording();
    EXPECT_EQ(file_text(), "ZEMKA_MOUSE(1, 2);\n");

    script_toggle_recording();
    script_toggle_recording();
    EXPECT_EQ(file_text(), "");
}

TEST_F(ScriptRecording, QuitWritesPendingRunButNoLineOfItsOwn) {
    script_toggle_recording();
    periodic(2);
    returned(ZEMKA_QUIT);
    EXPECT_EQ(file_text(), "ZEMKA_PERIODIC(2);\n");
    script_toggle_recording();
    EXPECT_EQ(file_text(), "ZEMKA_PERIODIC(2);\n");
}

TEST_F(ScriptRecording, QuitAloneOpensAnEmptyFile) {
    script_toggle_recording();
    returned(ZEMKA_QUIT);
    EXPECT_TRUE(script_file_open());
    EXPECT_EQ(file_text(), "");
}

TEST_F(ScriptRecording, UnknownKindsWriteNothing) {
    for (int kind : {0, 4, 5, -1, INT_MAX}) script_write_event(kind, mouse(1, 2));
    script_close();
    EXPECT_EQ(file_text(), "");
    EXPECT_TRUE(lines.empty());
}

TEST_F(ScriptRecording, PeriodicLineCarriesCounterNotRecord) {
    pending_periodic = 7;
    script_write_event(ZEMKA_PERIODIC, mouse(100, 200));
    EXPECT_EQ(file_text(), "ZEMKA_PERIODIC(7);\n");
}

TEST_F(ScriptRecording, KeyCodesWrittenAsSignedEightBit) {
    script_toggle_recording();
    for (int code : {233, 97, 0, 127, 128, 255}) returned(ZEMKA_KBD, key(code));
    EXPECT_EQ(file_text(),
              "ZEMKA_KBD(-23);\nZEMKA_KBD(97);\nZEMKA_KBD(0);\nZEMKA_KBD(127);\nZEMKA_KBD(-128);\nZEMKA_KBD(-1);\n");
}

TEST_F(ScriptRecording, EveryKeyCodePlaysBackAsRecorded) {
    script_toggle_recording();
    for (int code = 0; code < 256; ++code) returned(ZEMKA_KBD, key(code));
    script_toggle_recording();
    for (int code = 0; code < 256; ++code) {
        pending_kind = -1;
        current_event = NONE;
        ASSERT_EQ(script_play_step(), 1);
        ASSERT_EQ(pending_kind, ZEMKA_KBD);
        EXPECT_EQ(static_cast<unsigned char>(current_event.key), code);
    }
    EXPECT_EQ(step(), "none");
}

TEST_F(ScriptRecording, MouseExtremesPlayBackAsRecorded) {
    script_toggle_recording();
    returned(ZEMKA_MOUSE, mouse(INT_MIN, INT_MAX));
    returned(ZEMKA_MOUSE, mouse(INT_MAX, INT_MIN));
    returned(ZEMKA_MOUSE, mouse(0, -1));
    script_toggle_recording();
    EXPECT_EQ(file_text(),
              "ZEMKA_MOUSE(-2147483648, 2147483647);\nZEMKA_MOUSE(2147483647, -2147483648);\nZEMKA_MOUSE(0, -1);\n");
    EXPECT_EQ(step(), "M -2147483648 2147483647");
    EXPECT_EQ(step(), "M 2147483647 -2147483648");
    EXPECT_EQ(step(), "M 0 -1");
}

TEST_F(ScriptRecording, RecordingAgainEmptiesTheFile) {
    script_toggle_recording();
    returned(ZEMKA_KBD, key('x'));
    returned(ZEMKA_MOUSE, mouse(3, 3));
    script_toggle_recording();
    EXPECT_EQ(file_text(), "ZEMKA_KBD(120);\nZEMKA_MOUSE(3, 3);\n");
    script_toggle_recording();
    EXPECT_EQ(file_text(), "") << "the older recording is still in the file";
    returned(ZEMKA_KBD, key('y'));
    EXPECT_EQ(file_text(), "ZEMKA_KBD(121);\n");
}

TEST_F(ScriptRecording, EachLineReachesTheFileAtOnce) {
    script_toggle_recording();
    returned(ZEMKA_KBD, key('q'));
    ASSERT_TRUE(script_file_open());
    EXPECT_EQ(file_text(), "ZEMKA_KBD(113);\n");
    periodic(2);
    returned(ZEMKA_MOUSE, mouse(4, 5));
    EXPECT_EQ(file_text(), "ZEMKA_KBD(113);\nZEMKA_PERIODIC(2);\nZEMKA_MOUSE(4, 5);\n");
}

TEST_F(ScriptRecording, FileThatCannotBeCreatedIsReportedPerLine) {
    std::filesystem::create_directory("ZEMKA.SCR");
    script_toggle_recording();
    returned(ZEMKA_KBD, key('a'));
    periodic(2);
    returned(ZEMKA_MOUSE, mouse(1, 1));
    EXPECT_TRUE(recording);
    script_toggle_recording();
    const std::string message = "Cannot open script file ZEMKA.SCR for writing\n";
    // The switch-on, the key line, the periodic run, the mouse line: ticks
    // alone do not try again, and the flush at the end has nothing pending.
    EXPECT_EQ(lines, (std::vector<std::string>{message, message, message, message}));
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_FALSE(script_file_open());
}

TEST_F(ScriptRecording, PendingRunAtSwitchOffIsReportedWhenFileCannotBeCreated) {
    set_script_path("no-such-dir/rec.scr");
    script_toggle_recording();
    periodic(3);
    script_toggle_recording();
    EXPECT_EQ(lines, std::vector<std::string>(2, "Cannot open script file no-such-dir/rec.scr for writing\n"));
    EXPECT_EQ(pending_periodic, 0);
}

#ifndef _WIN32
// A disk that fills up, made with the file size limit: a write that fails
// is undone, so the file always ends with a whole line; the failure is
// reported once, and again when writing fails after it had succeeded.
TEST_F(ScriptRecording, FailedWritesLeaveWholeLinesAndAreReportedAgainAfterSuccess) {
    struct rlimit old_limit {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    const auto limit_file_size = [&](rlim_t bytes) {
        struct rlimit limit = old_limit;
        limit.rlim_cur = bytes;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    };
    const std::string full = "Cannot write to script file ZEMKA.SCR\n";

    script_toggle_recording();
    returned(ZEMKA_KBD, key('a'));       // 15 bytes
    returned(ZEMKA_MOUSE, mouse(1, 1));  // 20 bytes
    limit_file_size(40);
    returned(ZEMKA_MOUSE, mouse(1, 81));  // would end at 56: only 5 bytes fit
    periodic(3);                          // 19 bytes each time
    EXPECT_EQ(lines, std::vector<std::string>{full});
    EXPECT_EQ(file_text(), "ZEMKA_KBD(97);\nZEMKA_MOUSE(1, 1);\n");

    limit_file_size(old_limit.rlim_cur);
    periodic(1);  // the run is written whole, with all its four ticks
    EXPECT_EQ(file_text(), "ZEMKA_KBD(97);\nZEMKA_MOUSE(1, 1);\nZEMKA_PERIODIC(4);\n");
    returned(ZEMKA_MOUSE, mouse(2, 2));
    limit_file_size(70);
    returned(ZEMKA_KBD, key('b'));
    EXPECT_EQ(lines, (std::vector<std::string>{full, full}));
    limit_file_size(old_limit.rlim_cur);
    script_toggle_recording();
    EXPECT_EQ(file_text(), "ZEMKA_KBD(97);\nZEMKA_MOUSE(1, 1);\nZEMKA_PERIODIC(4);\nZEMKA_MOUSE(2, 2);\n");
}

#endif

// Another program records into the file: it holds the lock (Windows: it
// lets others only read), and this recorder neither empties the file nor
// writes to it.
TEST_F(ScriptRecording, FileLockedByAnotherRecorderIsLeftAlone) {
    write_file("ZEMKA_KBD(1);\n");
#ifdef _WIN32
    std::FILE *other = _fsopen("ZEMKA.SCR", "ab", _SH_DENYWR);
    ASSERT_NE(other, nullptr);
#else
    const int other = open("ZEMKA.SCR", O_WRONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
#endif
    script_toggle_recording();
    EXPECT_EQ(lines,
              std::vector<std::string>{"Cannot record: script file ZEMKA.SCR is being recorded by another program\n"});
    EXPECT_FALSE(recording);
    EXPECT_FALSE(checked(MENU_RECORD));
    returned(ZEMKA_MOUSE, mouse(5, 5));
    EXPECT_EQ(file_text(), "ZEMKA_KBD(1);\n");
#ifdef _WIN32
    std::fclose(other);
#else
    close(other);
#endif
    script_toggle_recording();
    returned(ZEMKA_MOUSE, mouse(5, 5));
    EXPECT_EQ(file_text(), "ZEMKA_MOUSE(5, 5);\n");
}

// A device never becomes a script: it could block a read or a write.
TEST_F(ScriptRecording, DeviceIsNeitherRecordedIntoNorPlayed) {
#ifdef _WIN32
    const std::string device = "NUL";
#else
    const std::string device = "/dev/null";
#endif
    set_script_path(device.c_str());
    script_toggle_recording();
    returned(ZEMKA_KBD, key('a'));
    script_toggle_recording();
    script_toggle_playback();
    EXPECT_EQ(step(), "none");
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front(), "Cannot open script file " + device + " for writing\n");
    EXPECT_EQ(lines.back(), "Cannot open script file " + device + " for reading\n");
    EXPECT_FALSE(script_file_open());
}

TEST_F(ScriptRecording, OtherPathIsWrittenAndNamed) {
    set_script_path("take2.scr");
    script_toggle_recording();
    returned(ZEMKA_KBD, key('z'));
    script_toggle_recording();
    EXPECT_EQ(file_text("take2.scr"), "ZEMKA_KBD(122);\n");
    EXPECT_FALSE(std::filesystem::exists("ZEMKA.SCR"));
}

TEST_F(ScriptRecording, PlaybackRefusedWhileRecording) {
    write_file("ZEMKA_KBD(1);\n");
    script_toggle_recording();
    returned(ZEMKA_MOUSE, mouse(1, 2));
    periodic(2);
    animate = 1;
    one_frame = 1;

    script_toggle_playback();
    EXPECT_EQ(lines, std::vector<std::string>{"Cannot play a script while recording\n"});
    EXPECT_FALSE(playing_continuous);
    EXPECT_FALSE(checked(MENU_PLAYBACK));
    EXPECT_TRUE(animate);
    EXPECT_TRUE(one_frame);

    script_play_once();
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines.back(), "Cannot play a script while recording\n");
    EXPECT_FALSE(playing_once);
    EXPECT_TRUE(animate);
    EXPECT_TRUE(one_frame);

    EXPECT_TRUE(recording);
    EXPECT_EQ(pending_periodic, 2);
    returned(ZEMKA_KBD, key('k'));
    script_toggle_recording();
    EXPECT_EQ(file_text(), "ZEMKA_MOUSE(1, 2);\nZEMKA_PERIODIC(2);\nZEMKA_KBD(107);\n");
}

TEST_F(ScriptRecording, RecordingRefusedWhilePlaying) {
    write_file("ZEMKA_PERIODIC(5);\n");
    script_toggle_playback();
    ASSERT_EQ(step(), "P");
    ASSERT_EQ(pending_periodic, 4);

    script_toggle_recording();
    EXPECT_EQ(lines, std::vector<std::string>{"Cannot record while a script is playing\n"});
    EXPECT_FALSE(recording);
    EXPECT_FALSE(checked(MENU_RECORD));
    EXPECT_TRUE(playing_continuous);
    EXPECT_EQ(pending_periodic, 4);
    EXPECT_EQ(step(), "P");
    EXPECT_EQ(file_text(), "ZEMKA_PERIODIC(5);\n");
}

TEST_F(ScriptRecording, RecordingRefusedWhileOneShotIsPending) {
    script_play_once();
    script_toggle_recording();
    EXPECT_EQ(lines, std::vector<std::string>{"Cannot record while a script is playing\n"});
    EXPECT_FALSE(recording);
    EXPECT_TRUE(playing_once);
}

TEST_F(ScriptRecording, StartAfterOneShotStepsBeginsAFreshFile) {
    write_file("ZEMKA_PERIODIC(5);\nZEMKA_KBD(1);\n");
    script_play_once();
    playing_once = 0;  // the wait clears it before its step
    ASSERT_EQ(step(), "P");
    ASSERT_EQ(pending_periodic, 4);
    ASSERT_TRUE(script_file_open());

    script_toggle_recording();
    EXPECT_TRUE(recording);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_EQ(file_text(), "");
    returned(ZEMKA_KBD, key('b'));
    script_toggle_recording();
    EXPECT_EQ(file_text(), "ZEMKA_KBD(98);\n");
}

TEST_F(ScriptRecording, StepOnRecordingStreamLeavesRecordingIntact) {
    script_toggle_recording();
    returned(ZEMKA_MOUSE, mouse(1, 2));
    periodic(1);
    playing_continuous = 1;

    EXPECT_EQ(step(), "none");
    EXPECT_EQ(lines, std::vector<std::string>{"Cannot play a script while recording\n"});
    EXPECT_FALSE(playing_continuous);
    EXPECT_EQ(pending_periodic, 1);
    EXPECT_TRUE(script_file_open());

    returned(ZEMKA_KBD, key('c'));
    script_toggle_recording();
    EXPECT_EQ(file_text(), "ZEMKA_MOUSE(1, 2);\nZEMKA_PERIODIC(1);\nZEMKA_KBD(99);\n");
}

TEST_F(ScriptRecording, WriteOnPlaybackStreamStartsItsOwnFile) {
    write_file("ZEMKA_KBD(1);\nZEMKA_KBD(2);\n");
    ASSERT_EQ(step(), "K 1");
    script_write_event(ZEMKA_MOUSE, mouse(9, 9));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(file_text(), "ZEMKA_MOUSE(9, 9);\n");
}

}  // namespace
}  // namespace zemka
