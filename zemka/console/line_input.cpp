// ZEMKA_gets: one line of text from the user in a small modal dialog.
#include "zemka/console/line_input.h"

#include <cstring>
#include <string>

#include "zemka/platform/dialog.h"
#include "zemka/support/utf8.h"
#include "zemka/window/library_windows.h"

namespace zemka {

namespace {

constexpr std::size_t PROMPT_UNITS = 79;
char *gets_buffer = nullptr;  // the caller's buffer of the running dialog

class TemplateWriter {
public:
    explicit TemplateWriter(std::uint8_t (&out)[GETS_TEMPLATE_SIZE]) : out_(out) { std::memset(out_, 0, sizeof out_); }
    void word(std::uint16_t v) {
        out_[pos_++] = static_cast<std::uint8_t>(v & 0xff);
        out_[pos_++] = static_cast<std::uint8_t>(v >> 8);
    }
    void dword(std::uint32_t v) {
        word(static_cast<std::uint16_t>(v & 0xffff));
        word(static_cast<std::uint16_t>(v >> 16));
    }
    void text(const char *ascii) {
        while (*ascii) word(static_cast<unsigned char>(*ascii++));
        word(0);
    }
    void align4() { pos_ = (pos_ + 3) & ~std::size_t{3}; }
    // An item record: style, extended style, geometry, id and class atom.
    void item(std::uint32_t style, int x, int y, int cx, int cy, int id, std::uint16_t atom) {
        align4();
        dword(style);
        dword(0);
        for (int v : {x, y, cx, cy, id}) word(static_cast<std::uint16_t>(v));
        word(0xffff);
        word(atom);
    }

private:
    std::uint8_t (&out_)[GETS_TEMPLATE_SIZE];
    std::size_t pos_ = 0;
};

std::intptr_t gets_dialog_proc(platform::Dialog *dialog, unsigned message, std::uintptr_t wparam,
                               std::intptr_t lparam) {
    if (message == platform::WM_INITDIALOG) {
        gets_buffer = reinterpret_cast<char *>(lparam);
        return 1;
    }
    if (message == platform::WM_COMMAND && wparam == GETS_BUTTON_ID) {
        platform::get_dlg_item_text(dialog, GETS_EDIT_ID, gets_buffer, GETS_ANSWER_BYTES);
        platform::end_dialog(dialog, 1);
        return 1;
    }
    return 0;  // the cancel command included: only the button ends the dialog
}

}  // namespace

void build_gets_template(const char *prompt, std::uint8_t (&out)[GETS_TEMPLATE_SIZE]) {
    TemplateWriter w(out);
    w.dword(0x90C80080);  // popup, visible, caption, system menu, modal frame
    w.dword(0);
    w.word(3);
    for (int v : {50, 50, 185, 92}) w.word(static_cast<std::uint16_t>(v));
    w.word(0);  // no menu
    w.word(0);  // the platform's dialog class
    w.text("ZEMKA_gets");
    w.item(0x50810044, 8, 30, 167, 37, GETS_EDIT_ID, 0x0081);  // multi-line edit with border
    w.word(0);
    w.word(0);
    w.item(0x50010001, 67, 74, 50, 14, GETS_BUTTON_ID, 0x0080);  // default push button
    w.text("Okay");
    w.word(0);
    w.item(0x50020000, 8, 3, 167, 24, GETS_PROMPT_ID, 0x0082);  // left-aligned static text
    // The prompt as exactly 79 UTF-16 units: its first characters, blanks
    // after it; a character beyond the 16-bit range shows as U+FFFD. A
    // character takes at most 4 bytes, so only that much of a long prompt
    // is read.
    const std::u32string chars =
        prompt ? support::decode_text(prompt, strnlen(prompt, PROMPT_UNITS * 4), PROMPT_UNITS) : std::u32string();
    for (std::size_t i = 0; i < PROMPT_UNITS; ++i) {
        const char32_t c = i < chars.size() ? chars[i] : U' ';
        w.word(static_cast<std::uint16_t>(c > 0xffff || (c >= 0xd800 && c <= 0xdfff) ? 0xfffd : c));
    }
    w.word(0);
    w.word(0);  // creation data size
}

}  // namespace zemka

extern "C" int ZEMKA_gets(const char *prompt, char *buffer) {
    using namespace zemka;
    if (!buffer || !draw_window()) return 0;
    std::uint8_t dialog_template[GETS_TEMPLATE_SIZE];
    build_gets_template(prompt, dialog_template);
    const std::intptr_t result =
        platform::dialog_box_indirect(app_instance(), dialog_template, sizeof dialog_template, draw_window(),
                                      gets_dialog_proc, reinterpret_cast<std::intptr_t>(buffer));
    return result == -1 ? 0 : 1;
}
