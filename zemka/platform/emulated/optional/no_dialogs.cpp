// The dialog part of the toolkit interface for a toolkit that shows no
// dialogs: open_dialog shows nothing and returns null, so
// dialog_box_indirect answers -1 at once and ZEMKA_gets returns 0. A
// program run on such a back end never waits for an answer that cannot
// come.
//
// Not part of the emulated system's sources that every emulated back end
// gets: a back end without dialogs lists this file in its
// cmake/ZemkaPlatform-NAME.cmake, one with dialogs implements these
// functions itself.
#include "zemka/platform/emulated/toolkit.h"

namespace zemka::platform::toolkit {

// The units of the desktop's 12-pixel default font (7-pixel average letter
// width, 14-pixel line), so that a template is still laid out sensibly
// before it is refused.
void dialog_units(double *unit_x, double *unit_y) {
    *unit_x = 1.75;
    *unit_y = 1.75;
}

NativeDialog *open_dialog(Dialog *, const DialogLayout &, NativeWindow *) { return nullptr; }

// Never called for a dialog that was not opened; harmless all the same.
void focus_first_edit(NativeDialog *) {}
std::string dialog_item_text(NativeDialog *, int) { return {}; }
void close_dialog(NativeDialog *) {}

}  // namespace zemka::platform::toolkit
