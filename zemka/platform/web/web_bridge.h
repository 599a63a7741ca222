// The calls between the C++ half of the web back end and its page half
// (zemka_web.js). Window and dialog ids are the page's names for them.
#pragma once

#include <cstdint>

extern "C" {
void zemka_web_create_window(int id, const char *title, int fixed, int width, int height);
void zemka_web_show_window(int id, int visible);
void zemka_web_retire_window(int id);
void zemka_web_present(int id, const std::uint32_t *pixels, int width, int height, int stride);
int zemka_web_take_events(int *records, int max);
void zemka_web_wait(int timeout_ms);
void zemka_web_screen_size(int *width, int *height);
void zemka_web_menu_add_popup(int id, const char *title);
void zemka_web_menu_add_item(int id, int popup, unsigned item_id, unsigned flags, const char *text);
void zemka_web_menu_check(int id, int popup, int index, int checked);
int zemka_web_text_width(int pixel_height, int bold, int fixed, const char *text, int length);
void zemka_web_font_metrics(int pixel_height, int bold, int fixed, int *ascent_descent);
void zemka_web_text_draw(std::uint32_t *pixels, int width, int height, int stride, int pixel_height, int bold,
                         int fixed, int x, int y, const char *text, int length, std::uint32_t color, int opaque,
                         std::uint32_t background);
void zemka_web_dialog_open(int id, const char *caption, int width, int height, int owner, int x, int y);
void zemka_web_dialog_add(int id, int kind, int control_id, int x, int y, int width, int height, const char *text);
void zemka_web_dialog_focus_first(int id);
int zemka_web_dialog_text(int id, int control_id, char *buffer, int max_bytes);
void zemka_web_dialog_close(int id);
char *zemka_web_setting(const char *name);
}

namespace zemka::platform::web {

inline void create_window(int id, const char *title, bool fixed, int width, int height) {
    zemka_web_create_window(id, title, fixed ? 1 : 0, width, height);
}
inline void show_window(int id, bool visible) { zemka_web_show_window(id, visible ? 1 : 0); }
inline void retire_window(int id) { zemka_web_retire_window(id); }
inline void present(int id, const std::uint32_t *pixels, int width, int height, int stride) {
    zemka_web_present(id, pixels, width, height, stride);
}
inline int take_events(int *records, int max) { return zemka_web_take_events(records, max); }
// Sleeps in the browser until input arrives or timeout_ms pass (negative:
// until input).
inline void wait(int timeout_ms) { zemka_web_wait(timeout_ms); }
inline void screen_size(int *width, int *height) { zemka_web_screen_size(width, height); }
inline void menu_add_popup(int id, const char *title) { zemka_web_menu_add_popup(id, title); }
inline void menu_add_item(int id, int popup, unsigned item_id, unsigned flags, const char *text) {
    zemka_web_menu_add_item(id, popup, item_id, flags, text);
}
inline void menu_check(int id, int popup, int index, bool checked) {
    zemka_web_menu_check(id, popup, index, checked ? 1 : 0);
}

// A command for a dialog from the page (a button, Escape, the close box):
// reported to the emulated window system (web_dialog.cpp).
void dialog_command(int dialog_id, unsigned command);

}  // namespace zemka::platform::web
