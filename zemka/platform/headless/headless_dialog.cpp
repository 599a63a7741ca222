// Dialogs without a screen: the answer comes from standard input. A dialog
// with an edit control reads one line and is answered with its default
// button, as if the line had been typed and Enter pressed; at the end of
// standard input the dialog cannot be shown (dialog_box_indirect answers
// -1), so a program run unattended never waits for an answer that cannot
// come.
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

#include "zemka/platform/emulated/toolkit.h"
#include "zemka/platform/headless/headless_input.h"
#include "zemka/support/end_signal.h"

namespace zemka::platform {

namespace {

// A longer answer is cut here; the rest of its line is read and dropped.
constexpr std::size_t MAX_ANSWER_BYTES = 1 << 16;
constexpr int FALLBACK_OK_ID = 1;

// One line of standard input without its line end; false at its end.
// The line ends at its newline whatever it holds. A NUL byte is dropped:
// a text box holds none, and the caller's buffer would end at it, while
// the rest of the line is still what was answered. A read that fails (cut
// short by a signal that ends the program, say) answers nothing, and
// standard input stays usable for a later question.
bool read_answer(std::string *line) {
    line->clear();
    if (support::end_signal) return false;
    int c = std::getc(stdin);
    const bool any = c != EOF;
    for (; c != EOF && c != '\n'; c = std::getc(stdin))
        if (c != '\0' && line->size() < MAX_ANSWER_BYTES) line->push_back(static_cast<char>(c));
    if (c == EOF && std::ferror(stdin)) {
        std::clearerr(stdin);
        return false;
    }
    while (!line->empty() && line->back() == '\r') line->pop_back();
    return any;
}

}  // namespace

namespace toolkit {

struct NativeDialog {
    Dialog *dialog = nullptr;
    std::map<int, std::string> texts;  // every control's text, the edit's answered
    int answer_command = FALLBACK_OK_ID;
    bool answered = false;
};

}  // namespace toolkit

namespace {

toolkit::NativeDialog *waiting = nullptr;  // the dialog shown, not yet answered

}  // namespace

namespace toolkit {

// The dialog font's units: those of the desktop's 12-pixel default font.
void dialog_units(double *unit_x, double *unit_y) {
    *unit_x = 1.75;
    *unit_y = 1.75;
}

// Show the dialog; report its buttons with report_dialog_command. Here the
// answer is read at once and given when the modal loop next takes input.
NativeDialog *open_dialog(Dialog *dialog, const DialogLayout &layout, NativeWindow *) {
    int edit_id = 0;
    bool has_edit = false;
    auto *native = new NativeDialog;
    native->dialog = dialog;
    for (const DialogControl &c : layout.controls) {
        native->texts[c.id] = c.text;
        if (!has_edit && (c.kind == DialogControl::LINE_EDIT || c.kind == DialogControl::MULTI_LINE_EDIT)) {
            has_edit = true;
            edit_id = c.id;
        }
        if (c.kind == DialogControl::DEFAULT_BUTTON) native->answer_command = c.id;
    }
    if (has_edit) {
        // A person at a terminal sees what is asked.
        if (isatty(STDIN_FILENO))
            for (const DialogControl &c : layout.controls)
                if (c.kind == DialogControl::STATIC_TEXT) {
                    std::string prompt = c.text;
                    while (!prompt.empty() && prompt.back() == ' ') prompt.pop_back();
                    std::fprintf(stderr, "%s: %s\n", layout.caption.c_str(), prompt.c_str());
                }
        std::string answer;
        if (!read_answer(&answer)) {
            delete native;
            return nullptr;
        }
        native->texts[edit_id] = answer;
    }
    waiting = native;
    return native;
}

// Give the first edit control the keyboard focus. No keyboard here.
void focus_first_edit(NativeDialog *) {}

// A control's text: the edit's as answered, the others' as laid out.
std::string dialog_item_text(NativeDialog *native, int control_id) {
    auto it = native->texts.find(control_id);
    return it == native->texts.end() ? std::string() : it->second;
}

// Take the dialog off the screen and let it go.
void close_dialog(NativeDialog *native) {
    if (waiting == native) waiting = nullptr;
    delete native;
}

}  // namespace toolkit

bool answer_waiting_dialog() {
    if (!waiting || waiting->answered) return false;
    waiting->answered = true;
    report_dialog_command(waiting->dialog, static_cast<unsigned>(waiting->answer_command));
    return true;
}

}  // namespace zemka::platform
