// Recording and playback through the started library: the commands come
// as Ctrl + letter key presses, the events through the real event wait.
#include <QAction>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/library_fixture.h"
#include "support/temp_dir.h"
#include "zemka/draw/canvas_state.h"
#include "zemka/script/script_state.h"
#include "zemka/window/run_menu.h"
#include "zemka/window/run_state.h"

namespace zemka {
namespace {

class ScriptWait : public testing::LibraryTest {
protected:
    void SetUp() override {
        dir_ = testing::make_temp_dir("zemka-script-");
        ASSERT_FALSE(dir_.empty());
        old_cwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        before_start();
        LibraryTest::SetUp();
        reset_script_state();
    }

    virtual void before_start() {}

    void TearDown() override {
        LibraryTest::TearDown();
        reset_script_state();
        std::filesystem::current_path(old_cwd_);
        std::filesystem::remove_all(dir_);
    }

    // Start and stop leave the script flags alone: a test that ends while
    // recording must not hand that on to the next test of the process.
    static void reset_script_state() {
        recording = playing_continuous = playing_once = 0;
        pending_periodic = 0;
    }

    static std::string file_text() {
        std::ifstream in("ZEMKA.SCR", std::ios::binary);
        EXPECT_TRUE(in) << "ZEMKA.SCR is missing";
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The next event as "M x y", "K code", "P", "Q" (a real quit) or
    // "timeout" (nothing came).
    std::string next_event() {
        EventRecord r{};
        const int kind = next(&r);
        if (guard_fired) return "timeout";
        switch (kind) {
            case ZEMKA_MOUSE: return "M " + std::to_string(r.x) + " " + std::to_string(r.y);
            case ZEMKA_KBD: return "K " + std::to_string(static_cast<unsigned char>(r.key));
            case ZEMKA_PERIODIC: return "P";
            case ZEMKA_QUIT: return "Q";
            default: return "kind " + std::to_string(kind);
        }
    }

    // The logical point of a click at client pixel (px, py).
    static std::string mouse_at(int px, int py) {
        return "M " + std::to_string(px - centre_x) + " " + std::to_string(centre_y - py);
    }

private:
    std::filesystem::path dir_, old_cwd_;
};

TEST_F(ScriptWait, RecordingWritesWhatTheWaitReturns) {
    ZEMKA_set_animation(RUN_HALT);
    ctrl('R');
    click(310, 240);
    ASSERT_EQ(next_event(), mouse_at(310, 240));
    EXPECT_TRUE(recording);
    EXPECT_TRUE(menu_action(MENU_RECORD)->isChecked());

    for (int i = 0; i < 2; ++i) {
        ZEMKA_set_animation(RUN_ONE_FRAME);
        ASSERT_EQ(next_event(), "P");
    }
    type('a');
    ASSERT_EQ(next_event(), "K 97");
    ZEMKA_set_animation(RUN_ONE_FRAME);
    ASSERT_EQ(next_event(), "P");

    ctrl('R');
    click(300, 250);
    ASSERT_EQ(next_event(), "M 0 0");
    EXPECT_FALSE(recording);
    EXPECT_FALSE(menu_action(MENU_RECORD)->isChecked());
    const std::string click_line =
        "ZEMKA_MOUSE(" + std::to_string(310 - centre_x) + ", " + std::to_string(centre_y - 240) + ");\n";
    EXPECT_EQ(file_text(), click_line + "ZEMKA_PERIODIC(2);\nZEMKA_KBD(97);\nZEMKA_PERIODIC(1);\n");
    EXPECT_TRUE(lines.empty());
}

TEST_F(ScriptWait, ContinuousPlaybackFeedsTheWaitThenLiveInputResumes) {
    {
        std::ofstream out("ZEMKA.SCR");
        out << "ZEMKA_PERIODIC(3);\nZEMKA_MOUSE(10, -20);\nZEMKA_PERIODIC(2);\nZEMKA_KBD(97);\nZEMKA_PERIODIC(1);\n";
    }
    ZEMKA_set_animation(RUN_ANIMATE);
    ctrl('P');
    std::vector<std::string> got;
    for (int i = 0; i < 8; ++i) got.push_back(next_event());
    EXPECT_EQ(got, (std::vector<std::string>{"P", "P", "P", "M 10 -20", "P", "P", "K 97", "P"}));
    EXPECT_FALSE(animate);
    EXPECT_TRUE(menu_action(MENU_PLAYBACK)->isChecked());
    EXPECT_TRUE(lines.empty());

    click(301, 249);
    EXPECT_EQ(next_event(), "M 1 1");
    EXPECT_EQ(lines, std::vector<std::string>{"EOF encountered in script file ZEMKA.SCR\n"});
    EXPECT_FALSE(playing_continuous);
    EXPECT_FALSE(menu_action(MENU_PLAYBACK)->isChecked());
}

TEST_F(ScriptWait, PlayOneGivesOneScriptEventPerCommand) {
    {
        std::ofstream out("ZEMKA.SCR");
        out << "ZEMKA_KBD(-23);\nZEMKA_MOUSE(-12,34);\n";
    }
    ZEMKA_set_animation(RUN_HALT);
    ctrl('O');
    EXPECT_EQ(next_event(), "K 233");
    click(300, 250);
    EXPECT_EQ(next_event(), "M 0 0") << "one-shot playback gave a second event";
    ctrl('O');
    EXPECT_EQ(next_event(), "M -12 34");
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(menu_action(MENU_PLAYBACK)->isChecked());
}

TEST_F(ScriptWait, PlaybackIsRefusedWhileRecording) {
    ZEMKA_set_animation(RUN_HALT);
    ctrl('R');
    ctrl('P');
    type('x');
    EXPECT_EQ(next_event(), "K 120");
    EXPECT_EQ(lines, std::vector<std::string>{"Cannot play a script while recording\n"});
    EXPECT_FALSE(playing_continuous);
    EXPECT_FALSE(menu_action(MENU_PLAYBACK)->isChecked());
    EXPECT_TRUE(recording);
    ctrl('R');
    click(300, 250);
    EXPECT_EQ(next_event(), "M 0 0");
    EXPECT_EQ(file_text(), "ZEMKA_KBD(120);\n");
}

TEST_F(ScriptWait, StopClosesTheRecordingWithItsLines) {
    ZEMKA_set_animation(RUN_HALT);
    ctrl('R');
    type('q');
    EXPECT_EQ(next_event(), "K 113");
    EXPECT_EQ(ZEMKA_stop(), 1);
    EXPECT_EQ(file_text(), "ZEMKA_KBD(113);\n");
}

TEST_F(ScriptWait, FolderInThePlaceOfTheFileCannotBeOpenedForReading) {
    std::filesystem::create_directory("ZEMKA.SCR");
    ZEMKA_set_animation(RUN_HALT);
    ctrl('P');
    click(300, 250);
    EXPECT_EQ(next_event(), "M 0 0");
    EXPECT_EQ(lines, std::vector<std::string>{"Cannot open script file ZEMKA.SCR for reading\n"});
    EXPECT_FALSE(menu_action(MENU_PLAYBACK)->isChecked());
}

// A replay asked for with ZEMKA_PLAY and ZEMKA_QUIT_AFTER_PLAY: its file
// is never written, and switching it off from the menu ends the run.
class ReplayWait : public ScriptWait {
protected:
    void before_start() override {
        std::ofstream("precious.scr") << SCRIPT;
        std::ofstream("ZEMKA.SCR") << SCRIPT;
        setenv("ZEMKA_PLAY", play_name(), 1);
        setenv("ZEMKA_QUIT_AFTER_PLAY", "1", 1);
    }
    void TearDown() override {
        unsetenv("ZEMKA_PLAY");
        unsetenv("ZEMKA_QUIT_AFTER_PLAY");
        ScriptWait::TearDown();
    }
    virtual const char *play_name() const { return "precious.scr"; }

    // Events up to and including the wanted one (at most eight): replayed
    // events come between the queued input messages.
    std::vector<std::string> events_until(const std::string &wanted) {
        std::vector<std::string> got;
        while (got.size() < 8 && (got.empty() || got.back() != wanted)) got.push_back(next_event());
        return got;
    }

    static std::string text_of(const char *name) {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static constexpr const char *SCRIPT =
        "ZEMKA_KBD(65);\nZEMKA_KBD(66);\nZEMKA_KBD(67);\nZEMKA_KBD(68);\nZEMKA_KBD(69);\nZEMKA_KBD(70);\n";
};

TEST_F(ReplayWait, SwitchingTheReplayOffQuitsAndRecordingGoesToTheDefaultFile) {
    // All queued before the first wait: the replay is switched off, then
    // recording on, then a click.
    ctrl('P');
    ctrl('R');
    click(310, 240);
    const std::vector<std::string> got = events_until(mouse_at(310, 240));
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got.back(), mouse_at(310, 240));
    EXPECT_EQ(got[got.size() - 2], "Q") << "switching the replay off did not end the run";
    EXPECT_EQ(text_of("precious.scr"), SCRIPT);
    EXPECT_EQ(file_text(), "ZEMKA_MOUSE(10, 10);\n");
}

class ReplayOfTheDefaultFile : public ReplayWait {
protected:
    const char *play_name() const override { return "./ZEMKA.SCR"; }
};

TEST_F(ReplayOfTheDefaultFile, IsNeverRecordedInto) {
    EXPECT_EQ(next_event(), "K 65");
    ctrl('P');
    EXPECT_EQ(events_until("Q").back(), "Q");
    ctrl('R');
    click(310, 240);
    EXPECT_EQ(events_until(mouse_at(310, 240)).back(), mouse_at(310, 240));
    EXPECT_FALSE(recording);
    EXPECT_FALSE(menu_action(MENU_RECORD)->isChecked());
    EXPECT_EQ(lines.back(), "Cannot record into script file ZEMKA.SCR: it is the script given by ZEMKA_PLAY\n");
    EXPECT_EQ(text_of("ZEMKA.SCR"), SCRIPT);
}

}  // namespace
}  // namespace zemka
