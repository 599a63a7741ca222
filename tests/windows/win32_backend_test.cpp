// The Win32 back end seen from the system: window styles and the client
// area, the menu's texts and check marks as the system keeps them, the
// focus message's mapping to library windows, the keys a program must not
// see, a refused or system-ended dialog and the text window's surface
// following its size.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "zemka/state.h"
#include "zemka/window/window_procs.h"
#include "zemka/zemka.h"

// Last: the contract's headers, then the system's, as the back end has them.
#include "zemka/platform/win32/win32_api.h"

using namespace zemka;

namespace {

using platform::win32::hwnd_of;

class Win32Backend : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(ZEMKA_start(nullptr, nullptr, "", 1), 1); }
    void TearDown() override { ZEMKA_stop(); }
};

TEST_F(Win32Backend, DrawingWindowHasAFixedFrameAndA600By500ClientArea) {
    HWND hwnd = hwnd_of(draw_window);
    ASSERT_TRUE(IsWindow(hwnd));
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    EXPECT_STREQ(title, L"ZEMKA Graphics");
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right - client.left, 600);
    EXPECT_EQ(client.bottom - client.top, 500);
    EXPECT_EQ(centre_x, 300);
    EXPECT_EQ(centre_y, 250);
    GetWindowTextW(hwnd_of(text_window), title, 64);
    EXPECT_STREQ(title, L"ZEMKA Text");
}

TEST_F(Win32Backend, MenuTextsAndCheckMarksAreTheSystems) {
    HMENU bar = GetMenu(hwnd_of(draw_window));
    ASSERT_NE(bar, nullptr);
    wchar_t text[64] = {};
    GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Run");
    auto items = platform::menu_item_info(run_menu);
    ASSERT_EQ(items.size(), 16u);
    EXPECT_EQ(items[0].text, "&Animate\tCtrl+A");
    EXPECT_TRUE(items[3].separator);
    EXPECT_TRUE(items[12].grayed);
    EXPECT_TRUE(items[4].checked);  // logging starts on
    ZEMKA_set_logging(0);
    EXPECT_FALSE(platform::menu_item_info(run_menu)[4].checked);
    run_command(MENU_RECORD);
    EXPECT_TRUE(platform::menu_item_info(run_menu)[6].checked);
    run_command(MENU_RECORD);
    EXPECT_FALSE(platform::menu_item_info(run_menu)[6].checked);
    run_command(MENU_PLAYBACK);
    EXPECT_TRUE(platform::menu_item_info(run_menu)[7].checked);
    EXPECT_FALSE(platform::menu_item_info(run_menu)[6].checked);
}

TEST_F(Win32Backend, FocusMessagesNameLibraryWindows) {
    // Focus changes at start come first: each names a library window or 0.
    const auto pump_focus_messages = [](std::uintptr_t wanted) {
        platform::Msg msg;
        bool seen = false;
        for (int i = 0; i < 1000 && !seen; ++i) {
            if (!platform::peek_message(&msg)) continue;
            if (msg.message == WM_KILLFOCUS) {
                EXPECT_EQ(msg.window, draw_window);
                EXPECT_TRUE(msg.wparam == 0 || msg.wparam == reinterpret_cast<std::uintptr_t>(draw_window) ||
                            msg.wparam == reinterpret_cast<std::uintptr_t>(text_window));
                seen = msg.wparam == wanted;
            }
            platform::translate_message(msg);
            platform::dispatch_message(msg);
        }
        return seen;
    };
    platform::post_message(draw_window, WM_KILLFOCUS, 0, 0);
    ASSERT_TRUE(pump_focus_messages(0));
    // Control held while the focus moves to the text window stays held;
    // the focus leaving the library's windows releases it.
    ctrl_down = 1;
    platform::post_message(draw_window, WM_KILLFOCUS, reinterpret_cast<std::uintptr_t>(text_window), 0);
    EXPECT_TRUE(pump_focus_messages(reinterpret_cast<std::uintptr_t>(text_window)));
    EXPECT_EQ(ctrl_down, 1);
    platform::post_message(draw_window, WM_KILLFOCUS, 0, 0);
    EXPECT_TRUE(pump_focus_messages(0));
    EXPECT_EQ(ctrl_down, 0);
}

TEST_F(Win32Backend, MalformedDialogTemplateIsRefused) {
    std::uint8_t cut[30] = {};
    const std::uint32_t style = 0x90C80080;
    std::memcpy(cut, &style, 4);
    cut[8] = 3;  // three items, none of them inside the 30 bytes
    auto proc = [](platform::Dialog *, unsigned, std::uintptr_t, std::intptr_t) -> std::intptr_t { return 0; };
    EXPECT_EQ(platform::dialog_box_indirect(nullptr, cut, sizeof cut, draw_window, proc, 0), -1);
}

// Hands every queued message to the library, as the wait does, and
// returns the key a character left for the wait (-1: none).
int typed_after_pump() {
    pending_kind = -1;
    platform::Msg msg;
    for (int i = 0; i < 1000 && platform::peek_message(&msg); ++i) {
        platform::translate_message(msg);
        platform::dispatch_message(msg);
    }
    return pending_kind == ZEMKA_KBD ? static_cast<unsigned char>(current_event.key) : -1;
}

TEST_F(Win32Backend, KeysTheProgramMustNotSee) {
    HWND draw = hwnd_of(draw_window);
    typed_after_pump();
    // A character beyond one byte (Cyrillic de) is not its low byte ('4').
    PostMessageW(draw, WM_CHAR, 0x0434, 1);
    EXPECT_EQ(typed_after_pump(), -1);
    PostMessageW(draw, WM_CHAR, 'x', 1);
    EXPECT_EQ(typed_after_pump(), 'x');

    // AltGr: the system's left Ctrl press stamped with the right Alt's
    // time is not the user's Ctrl, so AltGr+Q types its @ rather than
    // quitting. The two presses are posted again until they share a time.
    bool same_time = false;
    for (int attempt = 0; attempt < 20 && !same_time; ++attempt) {
        typed_after_pump();
        ctrl_down = 0;
        const DWORD before = GetTickCount();
        PostMessageW(draw, WM_KEYDOWN, VK_CONTROL, 0x001d0001);
        PostMessageW(draw, WM_KEYDOWN, VK_MENU, 0x21380001);  // extended: the right Alt key
        same_time = GetTickCount() == before;
    }
    ASSERT_TRUE(same_time);
    PostMessageW(draw, WM_CHAR, '@', 1);
    EXPECT_EQ(typed_after_pump(), '@');
    EXPECT_EQ(ctrl_down, 0);

    // A real Ctrl is a Ctrl; let go while Alt is held, it comes as a
    // system key release, which still ends the Ctrl commands.
    PostMessageW(draw, WM_KEYDOWN, VK_CONTROL, 0x001d0001);
    typed_after_pump();
    EXPECT_EQ(ctrl_down, 1);
    PostMessageW(draw, WM_SYSKEYUP, VK_CONTROL, static_cast<LPARAM>(0xe01d0001u));
    typed_after_pump();
    EXPECT_EQ(ctrl_down, 0);
}

TEST_F(Win32Backend, DialogEndedByAQuitRequestAnswersNothing) {
    // The system's dialog loop ends at a quit request without the dialog's
    // procedure: nothing was typed, so ZEMKA_gets fails and leaves the
    // buffer alone; the quit stays for the wait.
    char buffer[32] = "untouched";
    PostQuitMessage(0);
    EXPECT_EQ(ZEMKA_gets("Name?", buffer), 0);
    EXPECT_STREQ(buffer, "untouched");
    int x = 0, y = 0;
    char key = 0;
    EXPECT_EQ(ZEMKA_next_event(&x, &y, &key), ZEMKA_QUIT);
}

TEST_F(Win32Backend, TextWindowSurfaceFollowsItsClientArea) {
    HWND hwnd = hwnd_of(text_window);
    SetWindowPos(hwnd, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(hwnd, &client);
    const platform::Rect rc = platform::get_client_rect(text_window);
    EXPECT_EQ(rc.right, client.right);
    EXPECT_EQ(rc.bottom, client.bottom);
    const raster::Pixmap pm = gdi::dc_pixmap(platform::get_dc(text_window));
    EXPECT_EQ(pm.width, client.right);
    EXPECT_EQ(pm.height, client.bottom);
    ZEMKA_console_printf("after the resize\n");
    EXPECT_EQ(gdi::dc_pixmap(platform::get_dc(text_window)).width, client.right);
}

TEST(Win32Text, FixedPitchFontHasEqualAdvances) {
    const platform::FontSpec fixed{13, 400, true};
    const gdi::Size narrow = platform::text_measure(fixed, "iiii", 4);
    const gdi::Size wide = platform::text_measure(fixed, "WWWW", 4);
    EXPECT_GT(narrow.cx, 0);
    EXPECT_EQ(narrow.cx, wide.cx);
    EXPECT_GT(platform::text_font_metrics(fixed).height, 0);
    // Latin-1 fallback: an invalid UTF-8 byte is one character, not none.
    const platform::FontSpec prop{16, 400, false};
    EXPECT_GT(platform::text_measure(prop, "\xe9", 1).cx, 0);
}

}  // namespace
