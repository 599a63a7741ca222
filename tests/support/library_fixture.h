// The started library on the toolkit's offscreen platform, driven by real
// toolkit events (mouse presses and key presses sent to the widgets).
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QWidget>
#include <string>
#include <vector>

#include "zemka/zemka.h"

namespace zemka::testing {

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QWidget *draw_frame() const;
    QWidget *draw_client() const;  // the drawing window's client area
    QWidget *text_client() const;  // the text window's client area
    QAction *menu_action(unsigned id) const;

    void click(int client_x, int client_y, QWidget *where = nullptr);
    void type(char c, QWidget *where = nullptr);
    // Ctrl + letter: the Control press, the letter with the modifier, the
    // Control release.
    void ctrl(char letter, QWidget *where = nullptr);
    // The next event, or ZEMKA_QUIT with kind_guard set when none came
    // within guard_ms (so a wrong test fails instead of hanging).
    int next(EventRecord *record = nullptr, int guard_ms = 3000);
    bool guard_fired = false;

    std::vector<std::string> lines;  // console lines in order
};

}  // namespace zemka::testing
