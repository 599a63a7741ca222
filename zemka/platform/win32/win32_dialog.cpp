// Dialogs from in-memory templates, run by the system's dialog manager
// (DialogBoxIndirectParamW): the template is the system's own format. It is
// checked first, so that a malformed one is refused instead of read past
// its end.
#include <cstdint>
#include <cstring>
#include <vector>

#include "zemka/support/dialog_template.h"
#include "zemka/support/utf8.h"
#include "zemka/platform/win32/win32_api.h"

namespace zemka::platform {

struct Dialog {
    HWND hwnd = nullptr;
    DialogProc proc = nullptr;
    std::intptr_t init_param = 0;
    bool ended = false;  // by its procedure, through end_dialog
};

namespace {

// The plain (not extended) template form, with every field inside size.
bool well_formed(const std::uint8_t *tmpl, std::size_t size) {
    support::DialogTemplate layout;
    return support::read_dialog_template(tmpl, size, &layout);
}

INT_PTR CALLBACK dialog_trampoline(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    Dialog *dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<Dialog *>(lparam);
        dialog->hwnd = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        return static_cast<INT_PTR>(
            dialog->proc(dialog, message, static_cast<std::uintptr_t>(wparam), dialog->init_param));
    }
    dialog = reinterpret_cast<Dialog *>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!dialog || message != WM_COMMAND) return FALSE;
    return static_cast<INT_PTR>(
        dialog->proc(dialog, message, static_cast<std::uintptr_t>(wparam), static_cast<std::intptr_t>(lparam)));
}

}  // namespace

std::intptr_t dialog_box_indirect(void *instance, const std::uint8_t *tmpl, std::size_t size, Window *owner,
                                  DialogProc proc, std::intptr_t init_param) {
    if (!tmpl || !proc || size < 18 || !well_formed(tmpl, size)) return -1;
    // The system reads the template from DWORD-aligned memory.
    std::vector<DWORD> aligned((size + sizeof(DWORD) - 1) / sizeof(DWORD) + 1, 0);
    std::memcpy(aligned.data(), tmpl, size);
    Dialog dialog;
    dialog.proc = proc;
    dialog.init_param = init_param;
    HINSTANCE module = instance ? static_cast<HINSTANCE>(instance) : GetModuleHandleW(nullptr);
    const INT_PTR result =
        DialogBoxIndirectParamW(module, reinterpret_cast<LPCDLGTEMPLATEW>(aligned.data()), win32::hwnd_of(owner),
                                dialog_trampoline, reinterpret_cast<LPARAM>(&dialog));
    // A dialog the procedure did not end was ended by the system: a quit
    // request, or its owner destroyed. Nothing was answered.
    if (result != -1 && !dialog.ended) return -1;
    return static_cast<std::intptr_t>(result);
}

std::size_t get_dlg_item_text(Dialog *dialog, int id, char *buffer, std::size_t max_bytes) {
    if (!buffer || max_bytes == 0) return 0;
    buffer[0] = '\0';
    if (!dialog || !dialog->hwnd) return 0;
    HWND item = GetDlgItem(dialog->hwnd, id);
    if (!item) return 0;
    const int length = GetWindowTextLengthW(item);
    std::vector<wchar_t> wide(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int got = GetWindowTextW(item, wide.data(), static_cast<int>(wide.size()));
    const std::string utf8 = win32::narrow(wide.data(), static_cast<std::size_t>(got > 0 ? got : 0));
    const std::size_t n = support::utf8_prefix_length(utf8.data(), utf8.size(), max_bytes - 1);
    std::memcpy(buffer, utf8.data(), n);
    buffer[n] = '\0';
    return n;
}

void end_dialog(Dialog *dialog, std::intptr_t result) {
    if (!dialog || !dialog->hwnd) return;
    dialog->ended = true;
    EndDialog(dialog->hwnd, static_cast<INT_PTR>(result));
}

}  // namespace zemka::platform
