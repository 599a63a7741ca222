// The console: the ring of the last 25 lines, the formatted result, and the
// newline rule of the line drawing.
#include "zemka/console/console.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "zemka/raster/gdi.h"
#include "zemka/zemka.h"

using zemka::console::log_head;
using zemka::console::log_next;
using zemka::console::slot_text;

namespace {

TEST(ConsoleRing, FirstLineGoesIntoSlotZero) {
    EXPECT_EQ(log_head, -1);
    EXPECT_EQ(log_next, 0);
    EXPECT_EQ(ZEMKA_console_printf("line %d\n", 1), 7);
    EXPECT_EQ(log_head, 0);
    EXPECT_EQ(log_next, 1);
    EXPECT_STREQ(slot_text(0), "line 1\n");
    EXPECT_EQ(slot_text(1), nullptr);
}

TEST(ConsoleRing, TwentyFiveLinesFillTheRing) {
    for (int i = 0; i < 25; ++i) ZEMKA_console_printf("line %d\n", i);
    EXPECT_EQ(log_head, 0);
    EXPECT_EQ(log_next, 0);
    for (int i = 0; i < 25; ++i) EXPECT_EQ(slot_text(i), "line " + std::to_string(i) + "\n");
}

TEST(ConsoleRing, TheTwentySixthEvictsTheOldest) {
    for (int i = 0; i < 26; ++i) ZEMKA_console_printf("line %d\n", i);
    EXPECT_EQ(log_head, 1);
    EXPECT_EQ(log_next, 1);
    EXPECT_STREQ(slot_text(0), "line 25\n");
    EXPECT_STREQ(slot_text(1), "line 1\n");
    for (int i = 26; i < 60; ++i) ZEMKA_console_printf("line %d\n", i);
    EXPECT_EQ(log_head, 60 % 25);
    EXPECT_EQ(log_next, 60 % 25);
    EXPECT_STREQ(slot_text(log_head), "line 35\n");
}

TEST(ConsoleFormat, ReturnsTheFullFormattedLength) {
    EXPECT_EQ(ZEMKA_console_printf("EOF encountered in script file %s\n", "ZEMKA.SCR"), 41);
    EXPECT_EQ(std::strlen(slot_text(0)), 41u);  // stored with its newline
}

TEST(ConsoleFormat, ZeroByteEndsTheStoredLineButNotTheCount) {
    EXPECT_EQ(ZEMKA_console_printf("ab%cde", 0), 5);
    EXPECT_STREQ(slot_text(0), "ab");
}

TEST(ConsoleFormat, OverlongMessagesAreCutTo1023Characters) {
    const std::string text(5000, 'q');
    EXPECT_EQ(ZEMKA_console_printf("%s", text.c_str()), 5000);
    EXPECT_EQ(std::strlen(slot_text(0)), 1023u);
}

TEST(ConsoleFormat, TheCutKeepsWholeCharacters) {
    // The limit falls inside the last "\xc3\xa9": the line ends before it.
    const std::string kept = "\xc3\xa9" + std::string(1020, 'a');
    EXPECT_EQ(ZEMKA_console_printf("%s\xc3\xa9", kept.c_str()), 1024);
    EXPECT_EQ(slot_text(0), kept);
    // Bytes that form no character are cut like any other.
    const std::string latin1(1030, '\xa9');
    EXPECT_EQ(ZEMKA_console_printf("%s", latin1.c_str()), 1030);
    EXPECT_EQ(slot_text(1), latin1.substr(0, 1023));
}

TEST(ConsoleFormat, FailedAllocationLeavesTheRingAsItWas) {
    ZEMKA_console_printf("kept\n");
    zemka::gdi::fail_next_global_allocs(1);
    EXPECT_EQ(ZEMKA_console_printf("lost\n"), 5);
    EXPECT_EQ(log_head, 0);
    EXPECT_EQ(log_next, 1);
    EXPECT_STREQ(slot_text(0), "kept\n");
}

TEST(ConsoleDrawLine, RemovesExactlyOneTrailingNewline) {
    char one[] = "abc\n";
    zemka::console::console_draw_line(one);
    EXPECT_STREQ(one, "abc");
    char two[] = "abc\n\n";
    zemka::console::console_draw_line(two);
    EXPECT_STREQ(two, "abc\n");
    char inner[] = "a\nb";
    zemka::console::console_draw_line(inner);
    EXPECT_STREQ(inner, "a\nb");
    char empty[] = "";
    zemka::console::console_draw_line(empty);
    EXPECT_STREQ(empty, "");
}

TEST(ConsoleTap, SeesEveryLineInOrder) {
    std::vector<std::string> seen;
    zemka::console::set_line_tap(
        [](const char *t, std::size_t n, void *c) { static_cast<std::vector<std::string> *>(c)->emplace_back(t, n); },
        &seen);
    for (int i = 0; i < 30; ++i) ZEMKA_console_printf("%d", i);
    zemka::console::set_line_tap(nullptr, nullptr);
    ASSERT_EQ(seen.size(), 30u);
    EXPECT_EQ(seen.front(), "0");
    EXPECT_EQ(seen.back(), "29");
}

}  // namespace
