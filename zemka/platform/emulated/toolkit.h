// The small interface between the emulated window system and a toolkit
// that has no desktop window system of the kind the library expects (Qt,
// the browser, no display at all). The emulated system (this folder) keeps
// everything the library sees: window classes and procedures, the message
// queue, timers, paint and present bookkeeping, the menu model with its
// check marks and the modal dialog loop. A back end fills in the functions
// of namespace toolkit below and calls the report_ functions when its user
// does something; it never queues messages itself.
//
// Order of filling them in for a new back end (template/ is where one
// starts, headless/ the smallest complete one): start and screen_size;
// create_window, show_window, destroy_window; present; take_input and
// wait_for_input; then menus and dialogs, which may stay as
// optional/no_menus.cpp and optional/no_dialogs.cpp have them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zemka/platform/windowing.h"

namespace zemka::platform {

struct Dialog;

namespace toolkit {

// A toolkit's top-level window and modal dialog, as its back end defines
// them.
struct NativeWindow;
struct NativeDialog;

struct WindowRequest {
    const char *title = "";
    bool fixed = false;  // fixed client area with a menu bar and a close box; else resizable
    int x = 0, y = 0;    // where the outer frame's corner goes
    int client_width = 0, client_height = 0;
};

// One control of a dialog, laid out in pixels from the dialog template.
struct DialogControl {
    enum Kind { STATIC_TEXT = 0, LINE_EDIT = 1, MULTI_LINE_EDIT = 2, BUTTON = 3, DEFAULT_BUTTON = 4 };
    Kind kind = STATIC_TEXT;
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0;
    std::string text;  // UTF-8
    bool vertical_scroll = false, horizontal_scroll = false;
    bool wraps = true;  // a multi-line edit without horizontal auto-scroll wraps at words
};

struct DialogLayout {
    std::string caption;  // UTF-8; empty without a caption
    int width = 0, height = 0;
    int x = 0, y = 0;  // the client area's offset from the owner's client area
    std::vector<DialogControl> controls;
};

// Required. Starts the toolkit if need be: true when windows can be made.
bool start();
// Required. The desktop's size in pixels (a sensible 1024 x 768 without one).
void screen_size(int *width, int *height);

// Required. Makes a hidden top-level window for `window` (whose reports it
// sends with the report_ functions) with the client area of the request.
NativeWindow *create_window(Window *window, const WindowRequest &request);
// Required. Shows or hides; the fixed window asks for the keyboard focus
// when first shown.
void show_window(NativeWindow *native, bool visible);
// Required. The window goes for good; no report about it may follow.
void destroy_window(NativeWindow *native);
// Required. The window's client area is to show these pixels, top-left at
// (0, 0). Called when they changed and the program next looks at its
// queue, waits, or ends a paint; a toolkit that paints on its own schedule
// may read shown_pixels instead.
void present(NativeWindow *native, const raster::Pixmap &pixels);

// Required. Takes the input that has arrived, without waiting: reports it.
void take_input();
// Required. Sleeps until input arrives (reported before it returns) or
// timeout_ms pass; a negative timeout waits for input only. May return
// early.
void wait_for_input(int timeout_ms);

// Optional (a toolkit without menus does nothing). The menu bar of a
// window gets a popup at `popup` with a title, an item at `index` of a
// popup, a check mark set or taken off.
void add_menu_popup(NativeWindow *native, int popup, const char *title);
void add_menu_item(NativeWindow *native, int popup, int index, unsigned id, unsigned flags, const char *text);
void check_menu_item(NativeWindow *native, int popup, int index, bool checked);
// Optional: what the toolkit shows for an item, read back for tests and
// diagnostics; false when it shows no menus (the model answers then).
bool shown_menu_item(const NativeWindow *native, int popup, int index, MenuItemInfo *out);

// Optional (a toolkit without dialogs returns null from open_dialog, and
// dialog_box_indirect then answers -1). Dialog units of the dialog font in
// pixels: a quarter of the average letter width, an eighth of the line
// height.
void dialog_units(double *unit_x, double *unit_y);
// Shows a modal dialog for `dialog` (whose commands it reports with
// report_dialog_command), placed from the owner's client area when there
// is one.
NativeDialog *open_dialog(Dialog *dialog, const DialogLayout &layout, NativeWindow *owner);
void focus_first_edit(NativeDialog *native);
// The control's text as UTF-8 (edits as typed, others as shown).
std::string dialog_item_text(NativeDialog *native, int control_id);
void close_dialog(NativeDialog *native);

// The toolkit object behind a window (a QWidget* for Qt, the page's window
// id for the web, null for headless).
void *native_handle(const NativeWindow *native);

}  // namespace toolkit

// What the toolkit reports; each becomes a message in the queue (or is
// dropped for a window that is no longer alive).
void report_click(Window *window, int x, int y);
void report_key(Window *window, bool pressed, unsigned key_code, char32_t typed);
void report_close_box(Window *window);
// The keyboard focus left the window; taker is the library window that
// gets it, null when none of ours does.
void report_focus_lost(Window *window, const Window *taker);
// The user resized a resizable window's client area.
void report_resized(Window *window, int client_width, int client_height);
void report_menu_choice(Window *window, unsigned item_id);
// A button, Escape or the close box of a dialog: handed to its procedure.
void report_dialog_command(Dialog *dialog, unsigned command);

// The pixels a window shows now (drawing queued for it done first); an
// empty pixmap for a window that is gone.
raster::Pixmap shown_pixels(const Window *window);

// Whether the wait in progress has any use for a tick (false while the
// program's animation is halted): a toolkit that gets no input of its own
// can tell from it that nothing will ever end the wait.
bool wait_wants_ticks();

}  // namespace zemka::platform
