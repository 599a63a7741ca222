// Playing the script file back: what each step produces from the file's
// lines, the messages, and the playback flags and check mark.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "zemka/console/console.h"
#include "zemka/script/script.h"
#include "zemka/script/script_state.h"
#include "zemka/window/run_menu.h"
#include "zemka/window/run_state.h"

namespace zemka {
namespace {

void capture_line(const char *text, std::size_t length, void *context) {
    static_cast<std::vector<std::string> *>(context)->emplace_back(text, length);
}

class ScriptPlayback : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testing::make_temp_dir("zemka-script-");
        ASSERT_FALSE(dir_.empty());
        old_cwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);

        recording = playing_continuous = playing_once = animate = one_frame = 0;
        pending_kind = -1;
        current_event = EventRecord{0, 0, 0};
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

    static void write_file(const std::string &content, const char *name = "ZEMKA.SCR") {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out << content;
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

    // One play step as the wait makes it: the event starts empty. Returns
    // what it produced: "M x y", "K code" (code 0..255), "P", or "none".
    static std::string step() {
        pending_kind = -1;
        current_event = EventRecord{0, 0, 0};
        const int result = script_play_step();
        if (result != 1) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(pending_kind, -1) << "a step without an event set a kind";
            return "none";
        }
        switch (pending_kind) {
            case ZEMKA_MOUSE:
                EXPECT_EQ(current_event.key, 0);
                return "M " + std::to_string(current_event.x) + " " + std::to_string(current_event.y);
            case ZEMKA_KBD:
                EXPECT_EQ(current_event.x, 0);
                EXPECT_EQ(current_event.y, 0);
                return "K " + std::to_string(static_cast<unsigned char>(current_event.key));
            case ZEMKA_PERIODIC:
                EXPECT_EQ(current_event.x, 0);
                EXPECT_EQ(current_event.y, 0);
                EXPECT_EQ(current_event.key, 0);
                return "P";
            default: ADD_FAILURE() << "step produced kind " << pending_kind; return "?";
        }
    }

    // The wait's use of the step while a playback flag is set: one-shot
    // playback lasts for one step, and a step without an event ends both.
    static std::string wait_step() {
        if (!playing_once && !playing_continuous) return "live";
        playing_once = 0;
        std::string got = step();
        if (got == "none") playing_once = playing_continuous = 0;
        return got;
    }

    // Steps until one produces no event (at most limit steps).
    static std::vector<std::string> play_all(int limit = 100) {
        std::vector<std::string> events;
        for (int i = 0; i < limit; ++i) {
            std::string got = step();
            if (got == "none") return events;
            events.push_back(got);
        }
        ADD_FAILURE() << "playback did not end";
        return events;
    }

    std::vector<std::string> lines;

private:
    std::filesystem::path dir_, old_cwd_;
};

using Events = std::vector<std::string>;
const std::string EOF_LINE = "EOF encountered in script file ZEMKA.SCR\n";

TEST_F(ScriptPlayback, FiveLineExampleGivesItsEventsThenEndOfFile) {
    write_file("ZEMKA_PERIODIC(3);\nZEMKA_MOUSE(10, -20);\nZEMKA_PERIODIC(2);\nZEMKA_KBD(97);\nZEMKA_PERIODIC(1);\n");
    script_toggle_playback();
    ASSERT_TRUE(playing_continuous);
    EXPECT_TRUE(checked(MENU_PLAYBACK));

    Events got;
    for (int i = 0; i < 8; ++i) got.push_back(wait_step());
    EXPECT_EQ(got, (Events{"P", "P", "P", "M 10 -20", "P", "P", "K 97", "P"}));
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(playing_continuous);

    EXPECT_EQ(wait_step(), "none");
    EXPECT_EQ(lines, std::vector<std::string>{EOF_LINE});
    EXPECT_FALSE(playing_continuous);
    EXPECT_FALSE(playing_once);
    EXPECT_FALSE(checked(MENU_PLAYBACK));
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_EQ(wait_step(), "live");
}

TEST_F(ScriptPlayback, EmptyLinesAreSkipped) {
    write_file("\n\nZEMKA_KBD(97);\n\n\n\nZEMKA_MOUSE(1, 2);\n\n");
    EXPECT_EQ(play_all(), (Events{"K 97", "M 1 2"}));
    EXPECT_EQ(lines, std::vector<std::string>{EOF_LINE});
}

TEST_F(ScriptPlayback, FileOfEmptyLinesEndsAtOnce) {
    write_file("\n\n\n");
    EXPECT_EQ(play_all(), Events{});
    EXPECT_EQ(lines, std::vector<std::string>{EOF_LINE});
}

TEST_F(ScriptPlayback, MouseNumbersWithOrWithoutBlankAfterComma) {
    write_file("ZEMKA_MOUSE(-12, 34);\nZEMKA_MOUSE(-12,34);\nZEMKA_MOUSE(0,-0);\n");
    EXPECT_EQ(play_all(), (Events{"M -12 34", "M -12 34", "M 0 0"}));
}

TEST_F(ScriptPlayback, KeyTakesLowEightBits) {
    write_file("ZEMKA_KBD(321);\nZEMKA_KBD(256);\nZEMKA_KBD(0);\n");
    EXPECT_EQ(play_all(), (Events{"K 65", "K 0", "K 0"}));
}

TEST_F(ScriptPlayback, NegativeKeyKeepsItsSign) {
    write_file("ZEMKA_KBD(-23);\nZEMKA_KBD(-128);\nZEMKA_KBD(-1);\n");
    pending_kind = -1;
    ASSERT_EQ(script_play_step(), 1);
    EXPECT_EQ(current_event.key, static_cast<char>(233));
    EXPECT_EQ(play_all(), (Events{"K 128", "K 255"}));
}

TEST_F(ScriptPlayback, PeriodicCountZeroGivesOneEventLikeOne) {
    write_file("ZEMKA_PERIODIC(0);\nZEMKA_KBD(1);\nZEMKA_PERIODIC(1);\nZEMKA_KBD(2);\n");
    EXPECT_EQ(step(), "P");
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_EQ(step(), "K 1");
    EXPECT_EQ(step(), "P");
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_EQ(step(), "K 2");
}

TEST_F(ScriptPlayback, PeriodicRunCountsDownSharedCounter) {
    write_file("ZEMKA_PERIODIC(3);\n");
    EXPECT_EQ(step(), "P");
    EXPECT_EQ(pending_periodic, 2);
    EXPECT_EQ(step(), "P");
    EXPECT_EQ(pending_periodic, 1);
    EXPECT_EQ(step(), "P");
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_EQ(step(), "none");
}

TEST_F(ScriptPlayback, LargestPeriodicCountDoesNotOverflow) {
    write_file("ZEMKA_PERIODIC(2147483647);\n");
    EXPECT_EQ(step(), "P");
    EXPECT_EQ(pending_periodic, INT_MAX - 1);
    EXPECT_EQ(step(), "P");
    EXPECT_EQ(pending_periodic, INT_MAX - 2);
}

TEST_F(ScriptPlayback, PrefixIsNotExamined) {
    write_file("abcdefKBD(97);\n######K97\nZEMKA_K(98)\n      KEY 99\n");
    EXPECT_EQ(play_all(), (Events{"K 97", "K 97", "K 98", "K 99"}));
}

TEST_F(ScriptPlayback, RestOfKeywordIsNotExamined) {
    write_file("ZEMKA_Mxyz(5, 6);\nZEMKA_Kb(7);\nZEMKA_Pz(2);\n");
    EXPECT_EQ(play_all(), (Events{"M 5 6", "K 7", "P", "P"}));
}

class ScriptPlaybackUnknownLetter : public ScriptPlayback, public ::testing::WithParamInterface<const char *> {};

TEST_P(ScriptPlaybackUnknownLetter, EndsPlaybackWithoutMessageAndUnchecks) {
    write_file(std::string(GetParam()) + "\nZEMKA_KBD(97);\n");
    script_toggle_playback();
    ASSERT_TRUE(checked(MENU_PLAYBACK));
    EXPECT_EQ(wait_step(), "none");
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(playing_continuous);
    EXPECT_FALSE(playing_once);
    EXPECT_FALSE(checked(MENU_PLAYBACK));
}

INSTANTIATE_TEST_SUITE_P(ScriptLines, ScriptPlaybackUnknownLetter,
                         ::testing::Values("ZEMKA_mOUSE(1, 2);", "ZEMKA_kBD(97);", "ZEMKA_pERIODIC(1);",
                                           "ZEMKA_XYZ(1);", "ZEMKA_ (1);", "ZEMKA_1", "ZEMKA_\r"));

TEST_F(ScriptPlayback, LineShorterThanSevenCharactersGivesNoEvent) {
    write_file("ZEMKA\nZEMKA_KBD(97);\n");
    script_toggle_playback();
    EXPECT_EQ(wait_step(), "none");
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(playing_continuous);
    EXPECT_FALSE(checked(MENU_PLAYBACK));
}

TEST_F(ScriptPlayback, ShortLastLineWithoutNewlineGivesNoEvent) {
    write_file("ZEMKA_KBD(1);\nZEMKA_");
    EXPECT_EQ(play_all(), Events{"K 1"});
    EXPECT_TRUE(lines.empty());
}

TEST_F(ScriptPlayback, ZeroByteEndsTheLineText) {
    using namespace std::string_literals;
    write_file("ZEM\0A_KBD(97);\nZEMKA_KBD(5);\n"s);
    EXPECT_EQ(step(), "none");
    write_file("ZEMKA_KBD(\0 6);\n"s);
    EXPECT_EQ(play_all(), Events{"K 0"});
}

TEST_F(ScriptPlayback, LastLineWithoutNewlineIsPlayed) {
    write_file("ZEMKA_MOUSE(1, 1);\nZEMKA_KBD(97);");
    EXPECT_EQ(step(), "M 1 1");
    EXPECT_EQ(step(), "K 97");
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(step(), "none");
    EXPECT_EQ(lines, std::vector<std::string>{EOF_LINE});
}

TEST_F(ScriptPlayback, LastPeriodicLineWithoutNewlineGivesItsWholeRun) {
    write_file("ZEMKA_PERIODIC(2);");
    EXPECT_EQ(play_all(), (Events{"P", "P"}));
    EXPECT_EQ(lines, std::vector<std::string>{EOF_LINE});
}

TEST_F(ScriptPlayback, LongLineIsReadInPiecesOf511) {
    // The first piece is a mouse line padded to 511 characters; the rest of
    // the same line is a key line of its own.
    std::string first = "ZEMKA_MOUSE(7, -8);";
    first.append(511 - first.size(), ' ');
    write_file(first + "ZEMKA_KBD(66);\nZEMKA_KBD(67);\n");
    EXPECT_EQ(play_all(), (Events{"M 7 -8", "K 66", "K 67"}));
}

TEST_F(ScriptPlayback, LineOfExactly511CharactersThenNewline) {
    std::string first = "ZEMKA_KBD(70);";
    first.append(511 - first.size(), 'x');
    write_file(first + "\nZEMKA_KBD(71);\n");
    EXPECT_EQ(play_all(), (Events{"K 70", "K 71"}));
}

TEST_F(ScriptPlayback, PieceWithUnknownLetterEndsPlayback) {
    std::string first = "ZEMKA_KBD(1);";
    first.append(600, ' ');
    write_file(first + "\nZEMKA_KBD(2);\n");
    EXPECT_EQ(play_all(), Events{"K 1"});
    EXPECT_TRUE(lines.empty());
}

TEST_F(ScriptPlayback, ScanReachingEndOfTextYieldsZero) {
    write_file("ZEMKA_KBD();\nZEMKA_MOUSE(5);\nZEMKA_MOUSE\nZEMKA_PERIODIC();\nZEMKA_KBD(9);\n");
    EXPECT_EQ(step(), "K 0");
    EXPECT_EQ(step(), "M 5 0");
    EXPECT_EQ(step(), "M 0 0");
    EXPECT_EQ(step(), "P");
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_EQ(step(), "K 9");
}

TEST_F(ScriptPlayback, MinusInsideMouseNumberRuns) {
    write_file("ZEMKA_MOUSE(1-2, --5);\nZEMKA_MOUSE(-, 7);\nZEMKA_MOUSE(3--, -4-);\n");
    EXPECT_EQ(play_all(), (Events{"M 1 0", "M 0 7", "M 3 -4"}));
}

TEST_F(ScriptPlayback, PeriodicScanSkipsMinus) {
    write_file("ZEMKA_PERIODIC(-2);\n");
    EXPECT_EQ(play_all(), (Events{"P", "P"}));
    EXPECT_EQ(pending_periodic, 0);
}

TEST_F(ScriptPlayback, NumbersSaturateAtIntLimits) {
    write_file(
        "ZEMKA_MOUSE(2147483647, -2147483648);\n"
        "ZEMKA_MOUSE(2147483648, -2147483649);\n"
        "ZEMKA_MOUSE(99999999999, -9999999999);\n");
    EXPECT_EQ(play_all(), (Events{"M 2147483647 -2147483648", "M 2147483647 -2147483648", "M 2147483647 -2147483648"}));
}

TEST_F(ScriptPlayback, NumberTextIsCutToElevenCharacters) {
    // Only the first 11 characters of a run are converted; the next number
    // starts after the whole run.
    write_file(
        "ZEMKA_MOUSE(000000000012, 5);\n"
        "ZEMKA_MOUSE(-0000000000123456789, 0000000000987654321);\n"
        "ZEMKA_PERIODIC(000000000012);\n"
        "ZEMKA_KBD(00000000006500);\n");
    EXPECT_EQ(step(), "M 1 5");
    EXPECT_EQ(step(), "M 0 9");
    EXPECT_EQ(step(), "P");
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_EQ(step(), "K 6");
}

TEST_F(ScriptPlayback, NoFileReportsAndEndsPlayback) {
    script_toggle_playback();
    ASSERT_TRUE(checked(MENU_PLAYBACK));
    EXPECT_EQ(wait_step(), "none");
    EXPECT_EQ(lines, std::vector<std::string>{"Cannot open script file ZEMKA.SCR for reading\n"});
    EXPECT_FALSE(playing_continuous);
    EXPECT_FALSE(playing_once);
    EXPECT_FALSE(checked(MENU_PLAYBACK));
    EXPECT_FALSE(script_file_open());
    // Each attempt reports once.
    script_play_once();
    EXPECT_EQ(wait_step(), "none");
    EXPECT_EQ(lines.size(), 2u);
}

TEST_F(ScriptPlayback, MessagesNameThePathInUse) {
    set_script_path("other.scr");
    EXPECT_STREQ(script_path(), "other.scr");
    EXPECT_EQ(step(), "none");
    write_file("ZEMKA_KBD(97);\n", "other.scr");
    EXPECT_EQ(play_all(), Events{"K 97"});
    EXPECT_EQ(lines, (std::vector<std::string>{"Cannot open script file other.scr for reading\n",
                                               "EOF encountered in script file other.scr\n"}));
    set_script_path(nullptr);
    EXPECT_STREQ(script_path(), "ZEMKA.SCR");
}

TEST_F(ScriptPlayback, DirectoryInPlaceOfFileEndsLikeEndOfFile) {
    std::filesystem::create_directory("ZEMKA.SCR");
    script_toggle_playback();
    EXPECT_EQ(wait_step(), "none");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_FALSE(playing_continuous);
    EXPECT_FALSE(checked(MENU_PLAYBACK));
}

TEST_F(ScriptPlayback, PlaybackStartsAgainFromFirstLineAfterEndOfFile) {
    write_file("ZEMKA_KBD(1);\nZEMKA_KBD(2);\n");
    script_toggle_playback();
    EXPECT_EQ(wait_step(), "K 1");
    EXPECT_EQ(wait_step(), "K 2");
    EXPECT_EQ(wait_step(), "none");
    EXPECT_FALSE(script_file_open());
    script_toggle_playback();
    EXPECT_EQ(wait_step(), "K 1");
}

TEST_F(ScriptPlayback, PlaybackStartsAgainFromFirstLineAfterUnknownLine) {
    write_file("ZEMKA_KBD(1);\nZEMKA_XX\nZEMKA_KBD(2);\n");
    script_toggle_playback();
    EXPECT_EQ(wait_step(), "K 1");
    EXPECT_EQ(wait_step(), "none");
    script_toggle_playback();
    EXPECT_EQ(wait_step(), "K 1");
}

TEST_F(ScriptPlayback, SwitchingOffClosesAndDropsPeriodicRun) {
    write_file("ZEMKA_PERIODIC(5);\nZEMKA_KBD(1);\n");
    script_toggle_playback();
    EXPECT_EQ(wait_step(), "P");
    EXPECT_EQ(wait_step(), "P");
    ASSERT_EQ(pending_periodic, 3);

    script_toggle_playback();
    EXPECT_FALSE(playing_continuous);
    EXPECT_FALSE(checked(MENU_PLAYBACK));
    EXPECT_EQ(pending_periodic, 0);
    EXPECT_FALSE(script_file_open());
    EXPECT_TRUE(lines.empty());

    script_toggle_playback();
    Events got;
    for (int i = 0; i < 6; ++i) got.push_back(wait_step());
    EXPECT_EQ(got, (Events{"P", "P", "P", "P", "P", "K 1"}));
}

TEST_F(ScriptPlayback, StartingPlaybackStopsAnimation) {
    animate = 1;
    one_frame = 1;
    script_toggle_playback();
    EXPECT_TRUE(playing_continuous);
    EXPECT_FALSE(animate);
    EXPECT_FALSE(one_frame);
    EXPECT_TRUE(checked(MENU_PLAYBACK));
}

TEST_F(ScriptPlayback, OneShotStepsThroughFileLineByLine) {
    write_file("ZEMKA_KBD(1);\nZEMKA_PERIODIC(2);\nZEMKA_MOUSE(3, 4);\n");
    animate = 1;
    Events got;
    for (int i = 0; i < 4; ++i) {
        script_play_once();
        EXPECT_TRUE(playing_once);
        EXPECT_FALSE(animate);
        EXPECT_FALSE(checked(MENU_PLAYBACK));
        got.push_back(wait_step());
        EXPECT_EQ(wait_step(), "live") << "one-shot playback gave a second event";
    }
    EXPECT_EQ(got, (Events{"K 1", "P", "P", "M 3 4"}));
    EXPECT_TRUE(lines.empty());
    script_play_once();
    EXPECT_EQ(wait_step(), "none");
    EXPECT_EQ(lines, std::vector<std::string>{EOF_LINE});
    script_play_once();
    EXPECT_EQ(wait_step(), "K 1");
}

TEST_F(ScriptPlayback, OneShotDuringContinuousLeavesItOn) {
    write_file("ZEMKA_KBD(1);\nZEMKA_KBD(2);\n");
    script_toggle_playback();
    script_play_once();
    EXPECT_TRUE(playing_continuous);
    EXPECT_EQ(wait_step(), "K 1");
    EXPECT_TRUE(playing_continuous);
    EXPECT_TRUE(checked(MENU_PLAYBACK));
    EXPECT_EQ(wait_step(), "K 2");
}

TEST_F(ScriptPlayback, StopPlaybackClearsFlagsAndCheckMark) {
    write_file("ZEMKA_KBD(1);\nZEMKA_KBD(2);\n");
    script_toggle_playback();
    script_play_once();
    EXPECT_EQ(wait_step(), "K 1");
    script_stop_playback();
    EXPECT_FALSE(playing_continuous);
    EXPECT_FALSE(playing_once);
    EXPECT_FALSE(checked(MENU_PLAYBACK));
    EXPECT_FALSE(script_file_open());
    EXPECT_TRUE(lines.empty());
}

TEST_F(ScriptPlayback, CloseWithoutStreamDoesNothing) {
    script_close();
    EXPECT_FALSE(script_file_open());
    write_file("ZEMKA_KBD(1);\n");
    EXPECT_EQ(step(), "K 1");
    EXPECT_TRUE(script_file_open());
    script_close();
    EXPECT_FALSE(script_file_open());
    script_close();
    EXPECT_EQ(step(), "K 1");
}

TEST_F(ScriptPlayback, CarriageReturnLineEndingsStillPlay) {
    write_file("ZEMKA_MOUSE(1, -2);\r\nZEMKA_KBD(97);\r\nZEMKA_PERIODIC(2);\r\n");
    EXPECT_EQ(play_all(), (Events{"M 1 -2", "K 97", "P", "P"}));
}

}  // namespace
}  // namespace zemka
