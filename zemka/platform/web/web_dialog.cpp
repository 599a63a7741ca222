// Dialogs as a modal layer of the page: an edit control becomes a text
// box, a button a push button, a static control a wrapping text, placed
// where the emulated window system laid them out (zemka_page.js).
#include <algorithm>
#include <map>
#include <string>

#include "zemka/platform/emulated/toolkit.h"
#include "zemka/platform/text_engine.h"
#include "zemka/platform/web/web_bridge.h"
#include "zemka/platform/web/web_protocol.h"

namespace zemka::platform {

namespace toolkit {

struct NativeDialog {
    int id = 0;  // the page's name for it
    Dialog *dialog = nullptr;
};

}  // namespace toolkit

namespace {

int next_dialog_id = 1;

int page_kind(toolkit::DialogControl::Kind kind) {
    using toolkit::DialogControl;
    switch (kind) {
        case DialogControl::LINE_EDIT: return web::CONTROL_EDIT;
        case DialogControl::MULTI_LINE_EDIT: return web::CONTROL_MULTILINE_EDIT;
        case DialogControl::BUTTON: return web::CONTROL_BUTTON;
        case DialogControl::DEFAULT_BUTTON: return web::CONTROL_DEFAULT_BUTTON;
        case DialogControl::STATIC_TEXT: break;
    }
    return web::CONTROL_STATIC;
}

std::map<int, toolkit::NativeDialog *> &open_dialogs() {
    static std::map<int, toolkit::NativeDialog *> registry;
    return registry;
}

}  // namespace

namespace web {

void dialog_command(int dialog_id, unsigned command) {
    auto it = open_dialogs().find(dialog_id);
    if (it != open_dialogs().end()) report_dialog_command(it->second->dialog, command);
}

}  // namespace web

namespace toolkit {

void dialog_units(double *unit_x, double *unit_y) {
    // Base units of the default font: the average width of the letters
    // and the line height.
    const FontSpec font;
    const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    *unit_x = static_cast<double>(text_measure(font, letters, 52).cx) / 52.0 / 4.0;
    *unit_y = text_font_metrics(font).height / 8.0;
}

NativeDialog *open_dialog(Dialog *dialog, const DialogLayout &layout, NativeWindow *owner) {
    auto *native = new NativeDialog;
    native->id = next_dialog_id++;
    native->dialog = dialog;
    // Without an owner the page centres the dialog.
    const int owner_id = owner ? static_cast<int>(reinterpret_cast<std::intptr_t>(native_handle(owner))) : 0;
    zemka_web_dialog_open(native->id, layout.caption.c_str(), layout.width, layout.height, owner_id, layout.x,
                          layout.y);
    for (const DialogControl &c : layout.controls)
        zemka_web_dialog_add(native->id, page_kind(c.kind), c.id, c.x, c.y, c.width, c.height, c.text.c_str());
    open_dialogs()[native->id] = native;
    return native;
}

void focus_first_edit(NativeDialog *native) { zemka_web_dialog_focus_first(native->id); }

std::string dialog_item_text(NativeDialog *native, int control_id) {
    // The page writes at most the buffer's size less one byte, cut at a
    // character; a full buffer is tried again twice as large.
    std::string buffer(4096, '\0');
    for (;;) {
        const int n = zemka_web_dialog_text(native->id, control_id, buffer.data(), static_cast<int>(buffer.size()));
        const auto used = static_cast<std::size_t>(std::max(n, 0));
        if (used + 4 < buffer.size() || buffer.size() >= (1u << 24)) {
            buffer.resize(used);
            return buffer;
        }
        buffer.assign(buffer.size() * 2, '\0');
    }
}

void close_dialog(NativeDialog *native) {
    open_dialogs().erase(native->id);
    zemka_web_dialog_close(native->id);
    delete native;
}

}  // namespace toolkit

}  // namespace zemka::platform
