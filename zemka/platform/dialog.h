// Modal dialogs built from an in-memory dialog template (a DLGTEMPLATE
// followed by DLGITEMTEMPLATE records, little-endian, dialog units) and
// run with a dialog procedure.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zemka/platform/windowing.h"

namespace zemka::platform {

struct Dialog;
using DialogProc = std::intptr_t (*)(Dialog *dialog, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);

enum DialogMessage : unsigned { WM_INITDIALOG = 0x110 };
enum DialogCommand : unsigned { IDOK = 1, IDCANCEL = 2 };

// Runs the dialog modally, owned by owner; messages for the library's
// windows go on being dispatched meanwhile. Returns the value given to
// end_dialog, or -1 when the dialog cannot be created (a malformed
// template, no toolkit) or the program was asked to quit meanwhile.
std::intptr_t dialog_box_indirect(void *instance, const std::uint8_t *dialog_template, std::size_t size, Window *owner,
                                  DialogProc proc, std::intptr_t init_param);
// Copies the text of a control as UTF-8: at most max_bytes - 1 bytes, cut
// at a character boundary, and a terminating zero. Returns the bytes copied.
std::size_t get_dlg_item_text(Dialog *dialog, int id, char *buffer, std::size_t max_bytes);
void end_dialog(Dialog *dialog, std::intptr_t result);

}  // namespace zemka::platform
