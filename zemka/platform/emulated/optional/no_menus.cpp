// The menu part of the toolkit interface for a toolkit that shows no menus.
// The emulated system's model still holds the items and their check marks
// (menu_item_info answers from it), and the Ctrl-key shortcuts still
// work through the key reports; only nothing is shown.
//
// Not part of the emulated system's sources that every emulated back end
// gets: a back end without menus lists this file in its
// cmake/ZemkaPlatform-NAME.cmake, one with menus implements these four
// functions itself.
#include "zemka/platform/emulated/toolkit.h"

namespace zemka::platform::toolkit {

void add_menu_popup(NativeWindow *, int, const char *) {}
void add_menu_item(NativeWindow *, int, int, unsigned, unsigned, const char *) {}
void check_menu_item(NativeWindow *, int, int, bool) {}
// Nothing shown: the model answers.
bool shown_menu_item(const NativeWindow *, int, int, MenuItemInfo *) { return false; }

}  // namespace zemka::platform::toolkit
