// The console: formatted messages kept in a ring of the last 25 lines and
// drawn at the bottom of the text window, which scrolls up one line each.
#include "zemka/console/console.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "zemka/state.h"

namespace zemka::console {

using namespace platform;

int log_head = -1;
int log_next = 0;

namespace {

MemHandle slots[RING_SIZE] = {};
LineTap line_tap = nullptr;
void *line_tap_context = nullptr;

int advance(int index) { return index == RING_SIZE - 1 ? 0 : index + 1; }

// Keeps a copy of the line in the ring, evicting the oldest when full. A
// line whose copy cannot be allocated is not stored (it is still drawn).
void store_line(const char *text, std::size_t length) {
    const MemHandle block = global_alloc(length + 1);
    if (!block) return;
    if (char *copy = static_cast<char *>(global_lock(block))) {
        std::memcpy(copy, text, length);
        copy[length] = '\0';
        global_unlock(block);
    }
    if (log_head == log_next) {
        global_free(slots[log_head]);
        log_head = advance(log_head);
    }
    slots[log_next] = block;
    if (log_head < 0) log_head = log_next;
    log_next = advance(log_next);
}

}  // namespace

const char *slot_text(int slot) {
    if (slot < 0 || slot >= RING_SIZE || !slots[slot]) return nullptr;
    return static_cast<const char *>(global_lock(slots[slot]));
}

void set_line_tap(LineTap tap, void *context) {
    line_tap = tap;
    line_tap_context = context;
}

void console_draw_line(char *text) {
    std::size_t len = std::strlen(text);
    if (len > 0 && text[len - 1] == '\n') text[--len] = '\0';
    Dc *dc = get_dc(text_window);
    if (!dc) return;  // no text window (not yet, or closed by the user)
    select_object(dc, stock_object(Stock::FixedFont));
    const TextMetrics tm = get_text_metrics(dc);
    const int h = tm.height + tm.external_leading;
    scroll_dc(dc, h);
    const Rect rc = get_client_rect(text_window);
    // Clear the freed strip in the background colour. With the null pen
    // the rectangle paints its inside only, rows bottom - h to bottom - 1.
    Handle brush = create_solid_brush(get_bk_color(dc));
    Handle old_brush = select_object(dc, brush);
    Handle old_pen = select_object(dc, stock_object(Stock::NullPen));
    rectangle(dc, rc.left, rc.bottom - h, rc.right, rc.bottom + 1);
    select_object(dc, old_pen);
    select_object(dc, old_brush);
    delete_object(brush);
    text_out(dc, rc.left + 5, rc.bottom - h, text, len);
    release_dc(text_window, dc);
}

void repaint() {
    int n = 0;
    for (int i = log_head; i >= 0 && !(i == log_next && n > 0); i = advance(i), ++n) {
        if (char *text = static_cast<char *>(global_lock(slots[i]))) {
            console_draw_line(text);
            global_unlock(slots[i]);
        }
    }
}

}  // namespace zemka::console

extern "C" int ZEMKA_console_printf(const char *format, ...) {
    using namespace zemka::console;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    const int result = std::vsnprintf(buffer, sizeof buffer, format ? format : "", args);
    va_end(args);
    if (result < 0) buffer[0] = '\0';
    const std::size_t len = std::strlen(buffer);
    if (line_tap) line_tap(buffer, len, line_tap_context);
    store_line(buffer, len);
    console_draw_line(buffer);
    return result;
}
