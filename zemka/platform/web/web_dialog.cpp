// Dialogs from in-memory templates as a modal layer of the page: an edit
// control becomes a text box, a button a push button, a static control a
// wrapping text. Positions are dialog units, converted with the dialog
// font's base units. The modal loop runs here; it sleeps in the browser's
// event loop like the event wait.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "zemka/platform/dialog.h"
#include "zemka/support/dialog_template.h"
#include "zemka/platform/text_engine.h"
#include "zemka/support/utf8.h"
#include "zemka/platform/web/web_bridge.h"
#include "zemka/platform/windowing.h"

namespace zemka::platform {

namespace {

enum ControlKind { STATIC_TEXT = 0, LINE_EDIT = 1, MULTI_LINE_EDIT = 2, BUTTON = 3, DEFAULT_BUTTON = 4 };

struct Control {
    int kind = STATIC_TEXT;
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0;
    std::string text;
};

struct Layout {
    std::string caption;
    int width = 0, height = 0;
    int x = 0, y = 0;  // the client area's offset from the owner's
    std::vector<Control> controls;
};

// A template text as UTF-8; UTF-16 surrogates show as U+FFFD.
std::string utf8_of(const std::u16string &text) {
    std::u32string s;
    for (const char16_t u : text) s.push_back(u >= 0xd800 && u <= 0xdfff ? U'\xfffd' : static_cast<char32_t>(u));
    return encode_utf8(s);
}

bool read_template(const std::uint8_t *tmpl, std::size_t size, Layout *layout) {
    DialogTemplate t;
    if (!read_dialog_template(tmpl, size, &t)) return false;
    // Base units of the dialog font: the average width of the letters and
    // the line height.
    const FontSpec font;
    const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const double unit_x = static_cast<double>(text_measure(font, letters, 52).cx) / 52.0 / 4.0;
    const double unit_y = text_font_metrics(font).height / 8.0;
    auto px = [](double units, int value) { return static_cast<int>(value * units + 0.5); };
    if (t.style & dialog_bits::CAPTION) layout->caption = utf8_of(t.caption);
    layout->width = px(unit_x, t.cx);
    layout->height = px(unit_y, t.cy);
    layout->x = px(unit_x, t.x);
    layout->y = px(unit_y, t.y);
    for (const DialogItemTemplate &item : t.items) {
        const std::uint32_t item_style = item.style;
        const std::uint16_t atom = item.class_atom;
        Control c;
        c.id = item.id;
        c.text = utf8_of(item.text);
        if (atom == dialog_bits::EDIT_CLASS)
            c.kind = (item_style & dialog_bits::MULTI_LINE) ? MULTI_LINE_EDIT : LINE_EDIT;
        else if (atom == dialog_bits::BUTTON_CLASS)
            c.kind = (item_style & dialog_bits::DEFAULT_PUSH_BUTTON) ? DEFAULT_BUTTON : BUTTON;
        c.x = px(unit_x, item.x);
        c.y = px(unit_y, item.y);
        c.width = px(unit_x, item.cx);
        c.height = px(unit_y, item.cy);
        layout->controls.push_back(std::move(c));
    }
    return true;
}

int next_dialog_id = 1;

std::map<int, Dialog *> &open_dialogs() {
    static std::map<int, Dialog *> registry;
    return registry;
}

}  // namespace

struct Dialog {
    int id = 0;
    DialogProc proc = nullptr;
    bool ended = false;
    std::intptr_t result = 0;
};

namespace web {

void dialog_command(int dialog_id, unsigned command) {
    auto it = open_dialogs().find(dialog_id);
    if (it == open_dialogs().end() || it->second->ended) return;
    // Only the procedure ends the dialog, Escape and the close box included.
    it->second->proc(it->second, WM_COMMAND, command, 0);
}

}  // namespace web

std::intptr_t dialog_box_indirect(void *, const std::uint8_t *tmpl, std::size_t size, Window *owner, DialogProc proc,
                                  std::intptr_t init_param) {
    if (!tmpl || !proc) return -1;
    Layout layout;
    if (!read_template(tmpl, size, &layout)) return -1;
    Dialog dialog;
    dialog.id = next_dialog_id++;
    dialog.proc = proc;
    // The template's (x, y) is measured from the owner's client area to the
    // dialog's own client area; without a live owner the page centres it.
    const int owner_id =
        owner && window_alive(owner) ? static_cast<int>(reinterpret_cast<std::intptr_t>(native_handle(owner))) : 0;
    zemka_web_dialog_open(dialog.id, layout.caption.c_str(), layout.width, layout.height, owner_id, layout.x, layout.y);
    for (const Control &c : layout.controls)
        zemka_web_dialog_add(dialog.id, c.kind, c.id, c.x, c.y, c.width, c.height, c.text.c_str());
    open_dialogs()[dialog.id] = &dialog;
    if (proc(&dialog, WM_INITDIALOG, 0, init_param) != 0) zemka_web_dialog_focus_first(dialog.id);
    // The modal loop: page input, and the library's queued messages
    // dispatched as the event wait would. A quit request ends the dialog
    // and stays queued for the event wait.
    while (!dialog.ended) {
        Msg msg;
        if (peek_message(&msg)) {
            if (msg.message == WM_QUIT) {
                post_quit_message(static_cast<int>(msg.wparam));
                dialog.result = -1;
                break;
            }
            translate_message(msg);
            dispatch_message(msg);
            continue;
        }
        if (!dialog.ended) wait_message();
    }
    open_dialogs().erase(dialog.id);
    zemka_web_dialog_close(dialog.id);
    return dialog.result;
}

std::size_t get_dlg_item_text(Dialog *dialog, int id, char *buffer, std::size_t max_bytes) {
    if (!dialog || !buffer || max_bytes == 0) return 0;
    const int limit = static_cast<int>(std::min<std::size_t>(max_bytes, 1u << 30));
    const int n = zemka_web_dialog_text(dialog->id, id, buffer, limit);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

void end_dialog(Dialog *dialog, std::intptr_t result) {
    if (!dialog) return;
    dialog->ended = true;
    dialog->result = result;
}

}  // namespace zemka::platform
