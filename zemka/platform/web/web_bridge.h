// The calls between the C++ half of the web back end and its page half:
// imports of the program's WebAssembly module, module "zemka", given by
// the program's worker (zemka_worker.js), which passes what concerns the
// page on to it (zemka_page.js). Window and dialog ids are the page's names
// for them; the numbers in records and flags are web_protocol.h's.
#pragma once

#include <cstdint>

#define ZEMKA_PAGE_IMPORT(name) __attribute__((import_module("zemka"), import_name(#name)))

extern "C" {
ZEMKA_PAGE_IMPORT(create_window) void zemka_web_create_window(int id, const char *title, int fixed, int width, int height);
ZEMKA_PAGE_IMPORT(show_window) void zemka_web_show_window(int id, int visible);
ZEMKA_PAGE_IMPORT(retire_window) void zemka_web_retire_window(int id);
ZEMKA_PAGE_IMPORT(present) void zemka_web_present(int id, const std::uint32_t *pixels, int width, int height, int stride);
// Copies up to max input records of four ints each; returns how many.
ZEMKA_PAGE_IMPORT(take_input) int zemka_web_take_input(int *records, int max);
// Suspends the program until input arrives or timeout_ms pass (negative:
// until input).
ZEMKA_PAGE_IMPORT(wait) void zemka_web_wait(int timeout_ms);
// Suspends the program for one turn of the worker's event loop, so that
// input sent meanwhile is received.
ZEMKA_PAGE_IMPORT(yield) void zemka_web_yield();
ZEMKA_PAGE_IMPORT(screen_size) void zemka_web_screen_size(int *width, int *height);
ZEMKA_PAGE_IMPORT(menu_add_popup) void zemka_web_menu_add_popup(int id, const char *title);
ZEMKA_PAGE_IMPORT(menu_add_item) void zemka_web_menu_add_item(int id, int popup, unsigned item_id, unsigned flags, const char *text);
ZEMKA_PAGE_IMPORT(menu_check) void zemka_web_menu_check(int id, int popup, int index, int checked);
ZEMKA_PAGE_IMPORT(text_width) int zemka_web_text_width(int pixel_height, int bold, int fixed, const char *text, int length);
ZEMKA_PAGE_IMPORT(font_metrics) void zemka_web_font_metrics(int pixel_height, int bold, int fixed, int *ascent_descent);
ZEMKA_PAGE_IMPORT(text_draw)
void zemka_web_text_draw(std::uint32_t *pixels, int width, int height, int stride, int pixel_height, int bold, int fixed,
                         int x, int y, const char *text, int length, std::uint32_t color, int opaque,
                         std::uint32_t background);
ZEMKA_PAGE_IMPORT(dialog_open) void zemka_web_dialog_open(int id, const char *caption, int width, int height, int owner, int x, int y);
ZEMKA_PAGE_IMPORT(dialog_add) void zemka_web_dialog_add(int id, int kind, int control_id, int x, int y, int width, int height, const char *text);
ZEMKA_PAGE_IMPORT(dialog_focus_first) void zemka_web_dialog_focus_first(int id);
// The text of a control as the page last reported it; writes at most
// max_bytes - 1 bytes and a NUL, returns the bytes written.
ZEMKA_PAGE_IMPORT(dialog_text) int zemka_web_dialog_text(int id, int control_id, char *buffer, int max_bytes);
ZEMKA_PAGE_IMPORT(dialog_close) void zemka_web_dialog_close(int id);
// A setting the page gives (the address's play=..., or the playground's):
// its length in bytes, of which up to max_bytes are copied (no NUL); -1
// when there is none.
ZEMKA_PAGE_IMPORT(setting) int zemka_web_setting(const char *name, char *buffer, int max_bytes);
// A file the library finished writing: the page offers it for download.
ZEMKA_PAGE_IMPORT(offer_file) void zemka_web_offer_file(const char *path);
}

namespace zemka::platform::web {

// A command for a dialog from the page (a button, Escape, the close box):
// reported to the emulated window system (web_dialog.cpp).
void dialog_command(int dialog_id, unsigned command);

}  // namespace zemka::platform::web
