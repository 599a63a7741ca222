// The line-input dialog: its template byte for byte, and the real dialog
// typed into headless.
#include "zemka/console/line_input.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest/QTest>
#include <cstring>
#include <functional>
#include <string>

#include "support/library_fixture.h"
#include "zemka/platform/windowing.h"
#include "zemka/raster/gdi.h"
#include "zemka/state.h"

namespace {

using Template = std::uint8_t[zemka::GETS_TEMPLATE_SIZE];

std::uint16_t word_at(const Template &t, std::size_t offset) {
    return static_cast<std::uint16_t>(t[offset] | t[offset + 1] << 8);
}
std::uint32_t dword_at(const Template &t, std::size_t offset) {
    return word_at(t, offset) | static_cast<std::uint32_t>(word_at(t, offset + 2)) << 16;
}
std::string units_at(const Template &t, std::size_t offset, std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count; ++i) s += static_cast<char>(word_at(t, offset + 2 * i));
    return s;
}

TEST(GetsTemplate, HeaderAndItemsStandWhereTheLayoutSays) {
    Template t;
    zemka::build_gets_template("Name?", t);
    EXPECT_EQ(dword_at(t, 0), 0x90C80080u);
    EXPECT_EQ(dword_at(t, 4), 0u);
    EXPECT_EQ(word_at(t, 8), 3);
    EXPECT_EQ(word_at(t, 10), 50);
    EXPECT_EQ(word_at(t, 12), 50);
    EXPECT_EQ(word_at(t, 14), 185);
    EXPECT_EQ(word_at(t, 16), 92);
    EXPECT_EQ(word_at(t, 18), 0);
    EXPECT_EQ(word_at(t, 20), 0);
    EXPECT_EQ(units_at(t, 22, 10), "ZEMKA_gets");
    EXPECT_EQ(word_at(t, 42), 0);
    // The text box.
    EXPECT_EQ(dword_at(t, 44), 0x50810044u);
    EXPECT_EQ(dword_at(t, 48), 0u);
    const int edit[] = {8, 30, 167, 37, 102, 0xffff, 0x0081, 0, 0, 0};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(word_at(t, 52 + 2 * i), edit[i]) << i;
    // The button.
    EXPECT_EQ(dword_at(t, 72), 0x50010001u);
    EXPECT_EQ(dword_at(t, 76), 0u);
    const int button[] = {67, 74, 50, 14, 101, 0xffff, 0x0080};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(word_at(t, 80 + 2 * i), button[i]) << i;
    EXPECT_EQ(units_at(t, 94, 4), "Okay");
    EXPECT_EQ(word_at(t, 102), 0);
    EXPECT_EQ(word_at(t, 104), 0);
    EXPECT_EQ(word_at(t, 106), 0);
    // The prompt, padded with 74 blanks.
    EXPECT_EQ(dword_at(t, 108), 0x50020000u);
    EXPECT_EQ(dword_at(t, 112), 0u);
    const int prompt[] = {8, 3, 167, 24, 103, 0xffff, 0x0082};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(word_at(t, 116 + 2 * i), prompt[i]) << i;
    EXPECT_EQ(units_at(t, 130, 79), "Name?" + std::string(74, ' '));
    EXPECT_EQ(word_at(t, 288), 0);
    EXPECT_EQ(word_at(t, 290), 0);
}

TEST(GetsTemplate, LongPromptsAreCutTo79Characters) {
    std::string long_prompt;
    for (int i = 0; i < 100; ++i) long_prompt += static_cast<char>('a' + i % 26);
    Template t;
    zemka::build_gets_template(long_prompt.c_str(), t);
    EXPECT_EQ(units_at(t, 130, 79), long_prompt.substr(0, 79));
    EXPECT_EQ(word_at(t, 288), 0);
}

TEST(GetsTemplate, PromptCharactersAreCountedNotBytes) {
    Template t;
    zemka::build_gets_template("\xc3\xa9t\xc3\xa9", t);  // "été" in UTF-8: three characters
    EXPECT_EQ(word_at(t, 130), 0xe9);
    EXPECT_EQ(word_at(t, 132), 't');
    EXPECT_EQ(word_at(t, 134), 0xe9);
    EXPECT_EQ(word_at(t, 136), ' ');
    zemka::build_gets_template("\xe9t\xe9", t);  // not UTF-8: byte by byte as Latin-1
    EXPECT_EQ(word_at(t, 130), 0xe9);
    EXPECT_EQ(word_at(t, 134), 0xe9);
    zemka::build_gets_template(nullptr, t);
    EXPECT_EQ(units_at(t, 130, 79), std::string(79, ' '));
}

TEST(GetsTemplate, OnlyTheShownPartOfAPromptIsRead) {
    // The prompt's bytes run up to an unreadable page: reading further
    // than 79 characters can take (4 bytes each at most) would fault.
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void *memory = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(memory, MAP_FAILED);
    char *guard = static_cast<char *>(memory) + page;
    ASSERT_EQ(mprotect(guard, page, PROT_NONE), 0);
    char *prompt = guard - 79 * 4;
    std::memset(prompt, 'p', 79 * 4);
    Template t;
    zemka::build_gets_template(prompt, t);
    EXPECT_EQ(units_at(t, 130, 79), std::string(79, 'p'));
    munmap(memory, 2 * page);
}

class GetsDialog : public zemka::testing::LibraryTest {
protected:
    // Runs ZEMKA_gets while `act` works on the open dialog.
    int ask(const char *prompt, char *buffer, std::function<void(QDialog *)> act) {
        QTimer::singleShot(50, [act] {
            auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            act(dlg);
        });
        return ZEMKA_gets(prompt, buffer);
    }
    static QPlainTextEdit *edit(QDialog *dlg) { return dlg->findChild<QPlainTextEdit *>(); }
};

TEST_F(GetsDialog, FiveLettersAndEnter) {
    char buffer[256];
    std::memset(buffer, '#', sizeof buffer);
    QString caption, prompt;
    const int result = ask("Your name?", buffer, [&](QDialog *dlg) {
        caption = dlg->windowTitle();
        prompt = dlg->findChild<QLabel *>()->text();
        EXPECT_EQ(dlg->findChild<QPushButton *>()->text(), "Okay");
        EXPECT_TRUE(dlg->findChild<QPushButton *>()->isDefault());
        EXPECT_TRUE(edit(dlg)->hasFocus());
        QTest::keyClicks(edit(dlg), "Ada L");
        QTest::keyClick(edit(dlg), Qt::Key_Return);
    });
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(buffer, "Ada L");
    EXPECT_EQ(buffer[6], '#');  // nothing written past the terminating zero
    EXPECT_EQ(caption.toStdString(), "ZEMKA_gets");
    EXPECT_EQ(prompt.toStdString(), "Your name?" + std::string(69, ' '));
}

TEST_F(GetsDialog, CtrlEnterBreaksTheLineWithoutAScrollBar) {
    char buffer[256];
    bool scroll_bar = true;
    const int result = ask("Two lines?", buffer, [&](QDialog *dlg) {
        QTest::keyClicks(edit(dlg), "one");
        QTest::keyClick(edit(dlg), Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(edit(dlg), "two");
        QTest::keyClick(edit(dlg), Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
        for (int i = 0; i < 12; ++i) QTest::keyClick(edit(dlg), Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(edit(dlg), "end");
        QApplication::processEvents();
        // More lines than the box shows, and no scroll bar: the template
        // asks for none.
        scroll_bar = edit(dlg)->verticalScrollBar()->isVisible() || edit(dlg)->horizontalScrollBar()->isVisible();
        QTest::keyClick(edit(dlg), Qt::Key_Return);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(std::string(buffer), "one\ntwo" + std::string(13, '\n') + "end");
    EXPECT_FALSE(scroll_bar);
}

TEST_F(GetsDialog, StandsWhereTheTemplateSaysFromTheOwnersClientArea) {
    char buffer[256];
    QRect dialog, button;
    ask("?", buffer, [&](QDialog *dlg) {
        dialog = dlg->geometry();  // the dialog's client area, on the screen
        button = dlg->findChild<QPushButton *>()->geometry();
        dlg->findChild<QPushButton *>()->click();
    });
    // (50, 50) in dialog units: the button is 50 units wide, the dialog 92
    // units high.
    const QPoint offset = dialog.topLeft() - draw_client()->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(offset.x(), button.width());
    EXPECT_NEAR(offset.y(), dialog.height() * 50.0 / 92.0, 1.0);
}

TEST_F(GetsDialog, EmptyAnswer) {
    char buffer[256] = "old";
    EXPECT_EQ(ask("?", buffer, [](QDialog *dlg) { dlg->findChild<QPushButton *>()->click(); }), 1);
    EXPECT_STREQ(buffer, "");
}

TEST_F(GetsDialog, LongAnswersKeep255Characters) {
    char buffer[300];
    std::memset(buffer, '#', sizeof buffer);
    ask("?", buffer, [](QDialog *dlg) {
        edit(dlg)->setPlainText(QString(300, QChar('x')));
        QTest::keyClick(edit(dlg), Qt::Key_Enter);
    });
    EXPECT_EQ(std::strlen(buffer), 255u);
    EXPECT_EQ(buffer[256], '#');
}

TEST_F(GetsDialog, Utf8AnswersAreCutAtACharacterBoundary) {
    char buffer[256];
    ask("?", buffer, [](QDialog *dlg) {
        edit(dlg)->setPlainText(QString(200, QChar(0xe9)));  // two bytes each in UTF-8
        QTest::keyClick(edit(dlg), Qt::Key_Return);
    });
    EXPECT_EQ(std::strlen(buffer), 254u);
    EXPECT_EQ(std::string(buffer, 2), "\xc3\xa9");
}

TEST_F(GetsDialog, EscapeAndTheCloseBoxLeaveTheDialogOpen) {
    char buffer[256];
    bool still_open = false;
    ask("?", buffer, [&](QDialog *dlg) {
        QTest::keyClick(edit(dlg), Qt::Key_Escape);
        dlg->close();
        QTimer::singleShot(100, [&, dlg] {
            still_open = dlg->isVisible();
            QTest::keyClicks(edit(dlg), "ok");
            dlg->findChild<QPushButton *>()->click();
        });
    });
    EXPECT_TRUE(still_open);
    EXPECT_STREQ(buffer, "ok");
}

TEST_F(GetsDialog, EachCallFillsItsOwnBuffer) {
    char first[256] = "", second[256] = "untouched";
    auto answer = [](const char *text) {
        return [text](QDialog *dlg) {
            QTest::keyClicks(edit(dlg), text);
            QTest::keyClick(edit(dlg), Qt::Key_Return);
        };
    };
    ask("1", first, answer("one"));
    char third[256] = "";
    ask("3", third, answer("three"));
    EXPECT_STREQ(first, "one");
    EXPECT_STREQ(second, "untouched");
    EXPECT_STREQ(third, "three");
}

TEST_F(GetsDialog, TicksArriveWhileTheDialogIsOpen) {
    char buffer[256];
    zemka::tick_seen = 0;
    ask("?", buffer,
        [](QDialog *dlg) { QTimer::singleShot(350, [dlg] { dlg->findChild<QPushButton *>()->click(); }); });
    EXPECT_EQ(zemka::tick_seen, 1);
}

TEST_F(GetsDialog, NullBufferRunsNoDialog) {
    EXPECT_EQ(ZEMKA_gets("?", nullptr), 0);
    char buffer[256] = "kept";
    EXPECT_EQ(ask(nullptr, buffer, [](QDialog *dlg) { dlg->findChild<QPushButton *>()->click(); }), 1);
    EXPECT_STREQ(buffer, "");
}

TEST_F(GetsDialog, QuitWhileOpenEndsTheDialogAndTheNextWait) {
    char buffer[256] = "kept";
    EXPECT_EQ(ask("?", buffer, [](QDialog *) { zemka::platform::post_quit_message(0); }), 0);
    EXPECT_STREQ(buffer, "kept");
    EXPECT_EQ(next(), ZEMKA_QUIT);
    EXPECT_FALSE(guard_fired);
}

// Pixels of the drawing window's client area that differ from the canvas.
int shown_differs_from_canvas(QWidget *client) {
    const QImage shown = client->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const zemka::raster::Pixmap canvas = zemka::gdi::dc_pixmap(zemka::canvas_dc);
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            differing +=
                (shown.pixel(x, y) | 0xff000000u) != canvas.pixels[static_cast<std::size_t>(y) * canvas.stride + x];
    return differing;
}

TEST_F(GetsDialog, BehindEachQuestionTheWindowShowsWhatWasDrawnBeforeIt) {
    // No wait at all: what the window shows comes from its repaints only,
    // the first after the start and the one after the first dialog left.
    ZEMKA_set_logging(0);
    ZEMKA_clear_canvas();
    ZEMKA_draw_text(0, -250, 200, 18, "Drawn before the first question");
    char buffer[256];
    int first = -1, second = -1;
    auto answer = [this](int *differing) {
        return [this, differing](QDialog *dlg) {
            *differing = shown_differs_from_canvas(draw_client());
            dlg->findChild<QPushButton *>()->click();
        };
    };
    ask("First?", buffer, answer(&first));
    ZEMKA_draw_text(0, -250, -150, 18, "Drawn before the second question");
    ask("Second?", buffer, answer(&second));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 0);
}

TEST(GetsBeforeStart, ReturnsZeroAndLeavesTheBuffer) {
    char buffer[256] = "kept";
    EXPECT_EQ(ZEMKA_gets("?", buffer), 0);
    EXPECT_STREQ(buffer, "kept");
}

}  // namespace
