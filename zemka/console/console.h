// The console: a ring of the last 25 lines, drawn into the text window.
#pragma once

#include <cstddef>

namespace zemka::console {

constexpr int RING_SIZE = 25;

extern int log_head;  // oldest stored line, -1 while empty
extern int log_next;  // slot of the next line

// The text of slot i (0..24), or null when the slot is empty.
const char *slot_text(int slot);

// Scrolls the text window up one line and draws text in the freed strip.
// A trailing newline is overwritten with a zero byte.
void console_draw_line(char *text);

// Repaint of the text window: draws every stored line, oldest first.
void repaint();

// The text window is about to be destroyed: lines waiting to be drawn into
// it are dropped. The ring keeps them for the next text window.
void forget_text_window();

// A tap sees every line as it is stored (tests, echo to standard error).
using LineTap = void (*)(const char *text, std::size_t length, void *context);
void set_line_tap(LineTap tap, void *context);

}  // namespace zemka::console
