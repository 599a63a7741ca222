// The console: formatted messages kept in a ring of the last 25 lines and
// drawn at the bottom of the text window, which scrolls up one line each.
#include "zemka/console/console.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "zemka/console/format_text.h"
#include "zemka/platform/settings.h"
#include "zemka/state.h"

namespace zemka::console {

using namespace platform;

int log_head = -1;
int log_next = 0;

namespace {

gdi::MemHandle slots[RING_SIZE] = {};
LineTap line_tap = nullptr;
void *line_tap_context = nullptr;

int advance(int index) { return index == RING_SIZE - 1 ? 0 : index + 1; }

// With ZEMKA_ECHO set, every line also goes to standard error. The setting
// is read when the first line is written, so lines written before the
// library is started are echoed too.
void echo_if_asked(const char *text, std::size_t length) {
    static const bool echo = setting_flag("ZEMKA_ECHO");
    if (!echo) return;
    std::fwrite(text, 1, length, stderr);
    if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
}

// Keeps a copy of the line in the ring, evicting the oldest when full. A
// line whose copy cannot be allocated is not stored (it is still drawn).
void store_line(const char *text, std::size_t length) {
    echo_if_asked(text, length);
    const gdi::MemHandle block = gdi::global_alloc(length + 1);
    if (!block) return;
    if (char *copy = static_cast<char *>(gdi::global_lock(block))) {
        std::memcpy(copy, text, length);
        copy[length] = '\0';
        gdi::global_unlock(block);
    }
    if (log_head == log_next) {
        gdi::global_free(slots[log_head]);
        log_head = advance(log_head);
    }
    slots[log_next] = block;
    if (log_head < 0) log_head = log_next;
    log_next = advance(log_next);
}

// Lines for the text window are not drawn one by one: each would scroll
// the whole window. They are queued, and drawn when the window's pixels
// are next needed (shown, read, drawn over or resized): one scroll by all
// the queued lines, then only the lines that are still inside the window,
// each in its strip. The pixels are those that scrolling and drawing line
// by line gives, including one detail: the strip clear leaves the
// rightmost column alone (a rectangle without a pen stops one pixel short
// of its right bound), so every new strip keeps the rightmost pixels of
// the strip before it. `column` carries them across lines that are not
// drawn because they have scrolled out of sight.
struct LineQueue {
    gdi::Dc *dc = nullptr;
    Rect rc;                        // client rectangle when the first line was queued
    int h = 0;                      // line height
    std::size_t scrolled = 0;       // lines queued since the last flush
    std::vector<std::string> ring;  // the newest lines, oldest at `first`
    std::size_t first = 0;
    std::size_t count = 0;
    std::vector<std::uint32_t> column;  // rightmost pixels the next strip keeps
};
LineQueue &pending = *new LineQueue;  // kept until exit, for a flush at any time
gdi::Dc *scratch = nullptr;           // one strip, for lines that are not wholly visible
int widest_char = -1;                 // widest printable ASCII character of the fixed font

int line_height(gdi::Dc *dc) {
    gdi::select_object(dc, gdi::stock_object(gdi::Stock::FixedFont));
    const gdi::TextMetrics tm = gdi::get_text_metrics(dc);
    return tm.height + tm.external_leading;
}

// The rightmost column of rows [y, y + h) into / from column; rows outside
// the surface are skipped.
void read_column(const raster::Pixmap &pm, std::int64_t y, std::vector<std::uint32_t> &column) {
    if (pm.width <= 0) return;
    for (std::size_t i = 0; i < column.size(); ++i) {
        const std::int64_t row = y + static_cast<std::int64_t>(i);
        if (row >= 0 && row < pm.height) column[i] = pm.pixels[row * pm.stride + pm.width - 1];
    }
}
void write_column(const raster::Pixmap &pm, std::int64_t y, const std::vector<std::uint32_t> &column) {
    if (pm.width <= 0) return;
    for (std::size_t i = 0; i < column.size(); ++i) {
        const std::int64_t row = y + static_cast<std::int64_t>(i);
        if (row >= 0 && row < pm.height) pm.pixels[row * pm.stride + pm.width - 1] = column[i];
    }
}

// One line as the platform draws it into a freshly scrolled window: clear
// the strip at row y in the background colour (with the null pen the
// rectangle paints rows y to y + h - 1), then the text at its left.
void draw_strip(gdi::Dc *dc, const Rect &rc, std::int64_t y, int h, const std::string &text) {
    gdi::Handle brush = gdi::create_solid_brush(gdi::get_bk_color(dc));
    gdi::Handle old_brush = gdi::select_object(dc, brush);
    gdi::Handle old_pen = gdi::select_object(dc, gdi::stock_object(gdi::Stock::NullPen));
    gdi::rectangle(dc, rc.left, y, rc.right, y + h + 1);
    gdi::select_object(dc, old_pen);
    gdi::select_object(dc, old_brush);
    gdi::delete_object(brush);
    gdi::text_out(dc, rc.left + 5, y, text.data(), text.size());
}

// Whether a line's glyphs could reach the rightmost column. Only printable
// ASCII has a known bound (the widest such character per byte, plus a line
// height for overhang); anything else might.
bool may_reach_right(gdi::Dc *dc, const std::string &text) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7f) return true;
    }
    if (widest_char < 0) {
        gdi::select_object(dc, gdi::stock_object(gdi::Stock::FixedFont));
        widest_char = 0;
        for (char c = 0x20; c < 0x7f; ++c)
            widest_char = std::max(widest_char, static_cast<int>(gdi::get_text_extent(dc, &c, 1).cx));
    }
    const std::int64_t right = pending.rc.left + 5 + static_cast<std::int64_t>(text.size()) * widest_char + pending.h;
    return right >= pending.rc.right - 1;
}

// Draws a line in the scratch strip, starting from the carried column, and
// carries its rightmost column on. Returns the strip's pixels.
raster::Pixmap draw_in_scratch(const std::string &text) {
    const int width = pending.rc.right - pending.rc.left;
    if (!scratch) scratch = gdi::create_memory_dc(width, pending.h);
    const raster::Pixmap old = gdi::dc_pixmap(scratch);
    if (old.width != width || old.height != pending.h) gdi::resize_dc(scratch, width, pending.h);
    gdi::select_object(scratch, gdi::stock_object(gdi::Stock::FixedFont));
    const raster::Pixmap pm = gdi::dc_pixmap(scratch);
    write_column(pm, 0, pending.column);
    draw_strip(scratch, Rect{0, 0, width, pending.h}, 0, pending.h, text);
    read_column(pm, 0, pending.column);
    return pm;
}

void flush_lines(void *) {
    LineQueue &q = pending;
    const int h = q.h;
    if (q.dc && h > 0 && q.count > 0) {
        gdi::select_object(q.dc, gdi::stock_object(gdi::Stock::FixedFont));
        const raster::Pixmap pm = gdi::dc_pixmap(q.dc);
        // One scroll for all the lines; by the window's height or more
        // nothing of the old contents stays, and the strips cover it all.
        const std::int64_t dy = static_cast<std::int64_t>(std::min<std::size_t>(q.scrolled, pm.height / h + 1)) * h;
        gdi::scroll_dc(q.dc, static_cast<int>(std::min<std::int64_t>(dy, pm.height)));
        const std::int64_t bottom = q.rc.bottom;
        for (std::size_t m = 0; m < q.count; ++m) {
            const std::string &text = q.ring[(q.first + m) % q.ring.size()];
            const std::int64_t y = bottom - static_cast<std::int64_t>(q.count - m) * h;
            if (y >= q.rc.top) {
                write_column(pm, y, q.column);
                draw_strip(q.dc, q.rc, y, h, text);
                read_column(pm, y, q.column);
            } else if (y + h > q.rc.top || may_reach_right(q.dc, text)) {
                const raster::Pixmap strip = draw_in_scratch(text);
                for (int i = 0; i < h; ++i)
                    if (y + i >= 0 && y + i < pm.height)
                        std::memcpy(pm.pixels + (y + i) * pm.stride,
                                    strip.pixels + static_cast<std::size_t>(i) * strip.stride,
                                    static_cast<std::size_t>(std::min(pm.width, strip.width)) * sizeof(std::uint32_t));
            }
        }
    }
    q.count = 0;
    q.first = 0;
    q.scrolled = 0;
}

void queue_line(gdi::Dc *dc, const char *text, std::size_t len) {
    LineQueue &q = pending;
    if (q.dc != dc) {
        if (q.dc) gdi::dc_pixmap(q.dc);  // lines still queued for another window
        q.dc = dc;
    }
    if (q.scrolled == 0) {
        // The first line since the window was last brought up to date:
        // nothing is queued, so its geometry can be read now, and a resize
        // brings it up to date before it changes.
        q.h = line_height(dc);
        q.rc = get_client_rect(text_window);
        const std::size_t lines = q.h > 0 ? static_cast<std::size_t>(std::max(q.rc.bottom - q.rc.top, 0) / q.h) + 2 : 1;
        if (q.ring.size() != lines) q.ring.assign(lines, std::string());
        q.column.assign(static_cast<std::size_t>(std::max(q.h, 0)), 0);
        read_column(gdi::dc_pixmap(dc), q.rc.bottom - q.h, q.column);
        gdi::set_dc_pending(dc, flush_lines, nullptr);
    }
    ++q.scrolled;
    if (q.count == q.ring.size()) {
        // The oldest queued line has scrolled out of sight; it only counts
        // if it could change the rightmost column.
        const std::string &gone = q.ring[q.first];
        if (q.h > 0 && may_reach_right(dc, gone)) draw_in_scratch(gone);
        q.first = (q.first + 1) % q.ring.size();
        --q.count;
    }
    q.ring[(q.first + q.count) % q.ring.size()].assign(text, len);
    ++q.count;
}

}  // namespace

const char *slot_text(int slot) {
    if (slot < 0 || slot >= RING_SIZE || !slots[slot]) return nullptr;
    return static_cast<const char *>(gdi::global_lock(slots[slot]));
}

void set_line_tap(LineTap tap, void *context) {
    line_tap = tap;
    line_tap_context = context;
}

void console_draw_line(char *text) {
    std::size_t len = std::strlen(text);
    if (len > 0 && text[len - 1] == '\n') text[--len] = '\0';
    gdi::Dc *dc = get_dc(text_window);
    if (!dc) return;  // no text window (not yet, or closed by the user)
    queue_line(dc, text, len);
    release_dc(text_window, dc);
}

void repaint() {
    int n = 0;
    for (int i = log_head; i >= 0 && !(i == log_next && n > 0); i = advance(i), ++n) {
        if (char *text = static_cast<char *>(gdi::global_lock(slots[i]))) {
            console_draw_line(text);
            gdi::global_unlock(slots[i]);
        }
    }
}

void forget_text_window() {
    pending.dc = nullptr;
    pending.count = 0;
    pending.first = 0;
    pending.scrolled = 0;
}

}  // namespace zemka::console

extern "C" int ZEMKA_console_printf(const char *format, ...) {
    using namespace zemka::console;
    zemka::FormatBuffer buffer;
    va_list args;
    va_start(args, format);
    const int result = zemka::format_text(buffer, format, args);
    va_end(args);
    const std::size_t len = std::strlen(buffer);
    if (line_tap) line_tap(buffer, len, line_tap_context);
    store_line(buffer, len);
    console_draw_line(buffer);
    return result;
}
