// Modal dialogs from in-memory templates: the template is read and laid out
// in pixels here, the toolkit shows the controls, and the modal loop runs
// here, dispatching the library's messages meanwhile as the event wait
// would.
#include <cstring>

#include "zemka/platform/dialog.h"
#include "zemka/platform/emulated/window_system.h"
#include "zemka/support/dialog_template.h"
#include "zemka/support/end_signal.h"
#include "zemka/support/utf8.h"

namespace zemka::platform {

struct Dialog {
    DialogProc proc = nullptr;
    toolkit::NativeDialog *native = nullptr;
    bool ended = false;
    std::intptr_t result = 0;
};

namespace {

// A template text (UTF-16) as UTF-8; a surrogate without its partner
// shows as U+FFFD.
std::string utf8_of(const std::u16string &text) {
    std::u32string s;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (u >= 0xd800 && u <= 0xdbff && i + 1 < text.size() && text[i + 1] >= 0xdc00 && text[i + 1] <= 0xdfff) {
            s.push_back(0x10000 + ((static_cast<char32_t>(u) - 0xd800) << 10) + (text[i + 1] - 0xdc00));
            ++i;
        } else {
            s.push_back(u >= 0xd800 && u <= 0xdfff ? U'\xfffd' : static_cast<char32_t>(u));
        }
    }
    return support::encode_utf8(s);
}

bool lay_out(const std::uint8_t *tmpl, std::size_t size, toolkit::DialogLayout *layout) {
    support::DialogTemplate t;
    if (!support::read_dialog_template(tmpl, size, &t)) return false;
    double unit_x = 1.5, unit_y = 1.75;
    toolkit::dialog_units(&unit_x, &unit_y);
    auto px = [](double units, int value) { return static_cast<int>(value * units + 0.5); };
    if (t.style & support::dialog_bits::CAPTION) layout->caption = utf8_of(t.caption);
    layout->width = px(unit_x, t.cx);
    layout->height = px(unit_y, t.cy);
    layout->x = px(unit_x, t.x);
    layout->y = px(unit_y, t.y);
    for (const support::DialogItemTemplate &item : t.items) {
        toolkit::DialogControl c;
        c.id = item.id;
        c.text = utf8_of(item.text);
        if (item.class_atom == support::dialog_bits::EDIT_CLASS)
            c.kind = (item.style & support::dialog_bits::MULTI_LINE) ? c.MULTI_LINE_EDIT : c.LINE_EDIT;
        else if (item.class_atom == support::dialog_bits::BUTTON_CLASS)
            c.kind = (item.style & support::dialog_bits::DEFAULT_PUSH_BUTTON) ? c.DEFAULT_BUTTON : c.BUTTON;
        c.vertical_scroll = (item.style & support::dialog_bits::VERTICAL_SCROLL) != 0;
        c.horizontal_scroll = (item.style & support::dialog_bits::HORIZONTAL_SCROLL) != 0;
        c.wraps = !(item.style & support::dialog_bits::AUTO_HORIZONTAL_SCROLL);
        c.x = px(unit_x, item.x);
        c.y = px(unit_y, item.y);
        c.width = px(unit_x, item.cx);
        c.height = px(unit_y, item.cy);
        layout->controls.push_back(std::move(c));
    }
    return true;
}

}  // namespace

std::intptr_t dialog_box_indirect(void *, const std::uint8_t *tmpl, std::size_t size, Window *owner, DialogProc proc,
                                  std::intptr_t init_param) {
    // A program asked to end by a signal asks nothing more.
    if (!tmpl || !proc || support::end_signal || !ensure_toolkit()) return -1;
    toolkit::DialogLayout layout;
    if (!lay_out(tmpl, size, &layout)) return -1;
    Dialog dialog;
    dialog.proc = proc;
    // Under the dialog the windows show what their repaints give (the
    // drawing window's copies the whole canvas), as they would where the
    // system repaints them inside the dialog's loop.
    deliver_pending_paints();
    present_all();
    dialog.native = toolkit::open_dialog(&dialog, layout, window_alive(owner) ? owner->native : nullptr);
    if (!dialog.native) return -1;
    // The first edit control gets the focus when the procedure asks for it.
    if (proc(&dialog, WM_INITDIALOG, 0, init_param) != 0) toolkit::focus_first_edit(dialog.native);
    // The modal loop. A quit request ends the dialog and stays queued for
    // the event wait; a signal that asks the program to end ends it too.
    while (!dialog.ended) {
        if (support::end_signal) {
            dialog.result = -1;
            break;
        }
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
    toolkit::close_dialog(dialog.native);
    // The owner is uncovered and repaints, as on a desktop: what was drawn
    // meanwhile shows at the next look at the queue, also in the loop of a
    // dialog that follows at once.
    if (window_alive(owner)) post_paint(owner);
    return dialog.result;
}

std::size_t get_dlg_item_text(Dialog *dialog, int id, char *buffer, std::size_t max_bytes) {
    if (!dialog || !dialog->native || !buffer || max_bytes == 0) return 0;
    const std::string text = toolkit::dialog_item_text(dialog->native, id);
    const std::size_t n = support::utf8_prefix_length(text.data(), text.size(), max_bytes - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

void end_dialog(Dialog *dialog, std::intptr_t result) {
    if (!dialog) return;
    dialog->ended = true;
    dialog->result = result;
}

void report_dialog_command(Dialog *dialog, unsigned command) {
    // Only the procedure ends the dialog, Escape and the close box included.
    if (dialog && !dialog->ended) dialog->proc(dialog, WM_COMMAND, command, 0);
}

}  // namespace zemka::platform
