#include "frame_list.h"

#include <cstdio>
#include <cstring>

#include "zemka/console/console.h"
#include "zemka/draw/palette.h"
#include "zemka/platform/text_engine.h"
#include "zemka/state.h"
#include "zemka/zemka.h"

namespace bench {

namespace {

constexpr int LOGGED_PTSIZE = 12;

// Splits "<colour name> <rest>" into the palette index and the rest.
bool split_color(const std::string &line, int &color, std::string &rest) {
    std::size_t best = 0;
    for (int i = 0; i < zemka::PALETTE_SIZE; ++i) {
        const std::size_t n = std::strlen(zemka::color_names[i]);
        if (n > best && line.size() > n && line.compare(0, n, zemka::color_names[i]) == 0 && line[n] == ' ') {
            best = n;
            color = i;
        }
    }
    if (best == 0) return false;
    rest = line.substr(best + 1);
    return true;
}

bool parse_line(const std::string &line, Prim &p) {
    std::string rest;
    if (!split_color(line, p.color, rest)) return false;
    const char *s = rest.c_str();
    int cx, cy, r;
    char tail[32] = {};
    if (std::sscanf(s, "circle at (%d,%d), radius %d", &cx, &cy, &r) == 3) {
        p.kind = Prim::Oval;
        p.x1 = cx - r, p.y1 = cy + r, p.x2 = cx + r, p.y2 = cy - r, p.width = 0;
        return true;
    }
    if (std::sscanf(s, "triangle at (%d,%d), (%d,%d), (%d,%d)", &p.x1, &p.y1, &p.x2, &p.y2, &p.x3, &p.y3) == 6) {
        p.kind = Prim::Triangle;
        p.width = 0;
        return true;
    }
    if (std::sscanf(s, "rectangle with bounding box (%d,%d) to (%d,%d) with line width %d", &p.x1, &p.y1, &p.x2, &p.y2,
                    &p.width) == 5) {
        p.kind = Prim::Rect;
        return true;
    }
    if (std::sscanf(s, "rectangle with bounding box (%d,%d) to (%d,%d), %31s", &p.x1, &p.y1, &p.x2, &p.y2, tail) == 5) {
        p.kind = Prim::Rect;
        p.width = 0;
        return true;
    }
    if (std::sscanf(s, "oval with bounding box (%d,%d) to (%d,%d), line width %d", &p.x1, &p.y1, &p.x2, &p.y2,
                    &p.width) == 5) {
        p.kind = Prim::Oval;
        return true;
    }
    if (std::sscanf(s, "oval with bounding box (%d,%d) to (%d,%d), %31s", &p.x1, &p.y1, &p.x2, &p.y2, tail) == 5) {
        p.kind = Prim::Oval;
        p.width = 0;
        return true;
    }
    if (std::sscanf(s, "line from (%d,%d) to (%d,%d), width %d", &p.x1, &p.y1, &p.x2, &p.y2, &p.width) == 5) {
        p.kind = Prim::Line;
        if (p.width < 1) p.width = 1;
        return true;
    }
    if (std::sscanf(s, "text at (%d,%d), ", &p.x1, &p.y1) == 2) {
        const std::size_t open = rest.find('"');
        const std::size_t close = rest.rfind('"');
        if (open == std::string::npos || close <= open) return false;
        p.kind = Prim::Text;
        p.ptsize = LOGGED_PTSIZE;
        p.text = rest.substr(open + 1, close - open - 1);
        return true;
    }
    return false;
}

void collect(const char *text, std::size_t length, void *context) {
    static_cast<std::vector<std::string> *>(context)->emplace_back(text, length);
}

std::vector<std::uint32_t> canvas_copy() {
    const zemka::raster::Pixmap pm = zemka::gdi::dc_pixmap(zemka::canvas_dc);
    std::vector<std::uint32_t> out;
    for (int y = 0; y < pm.height; ++y)
        out.insert(out.end(), pm.pixels + static_cast<std::size_t>(y) * pm.stride,
                   pm.pixels + static_cast<std::size_t>(y) * pm.stride + pm.width);
    return out;
}

}  // namespace

painter::WeatherState painter_with_glyphs(int n) {
    painter::WeatherState s;
    painter::handle_event(s, ZEMKA_MOUSE, -250, 190);  // Snow
    painter::handle_event(s, ZEMKA_MOUSE, -250, 120);  // White
    std::uint32_t seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
    };
    for (int i = 0; i < n; ++i) {
        // Right of the panel and above the water: x -195..294, y -95..244.
        painter::handle_event(s, ZEMKA_MOUSE, -195 + next(490), -95 + next(340));
    }
    return s;
}

std::vector<Prim> record_frame(const painter::WeatherState &s) {
    std::vector<std::string> lines;
    const unsigned char was_logging = zemka::logging;
    zemka::console::set_line_tap(collect, &lines);
    zemka::logging = 1;
    painter::draw_frame(s);
    zemka::logging = was_logging;
    zemka::console::set_line_tap(nullptr, nullptr);
    std::vector<Prim> list;
    for (std::string &line : lines) {
        if (!line.empty() && line.back() == '\n') line.pop_back();
        Prim p;
        if (parse_line(line, p))
            list.push_back(p);
        else
            std::fprintf(stderr, "zemka-bench: log line not understood: %s\n", line.c_str());
    }
    return list;
}

bool verify_frame(const painter::WeatherState &s, const std::vector<Prim> &list) {
    const unsigned char was_logging = zemka::logging;
    zemka::logging = 0;
    painter::draw_frame(s);
    const std::vector<std::uint32_t> expected = canvas_copy();
    zemka::raster::fill_rect(zemka::gdi::dc_pixmap(zemka::canvas_dc), 0, 0, CANVAS_W, CANVAS_H, 0xff000000u);
    for (const Prim &p : list) {
        switch (p.kind) {
            case Prim::Rect: ZEMKA_draw_rectangle(p.color, p.x1, p.y1, p.x2, p.y2, p.width); break;
            case Prim::Oval: ZEMKA_draw_oval(p.color, p.x1, p.y1, p.x2, p.y2, p.width); break;
            case Prim::Triangle: ZEMKA_draw_triangle(p.color, p.x1, p.y1, p.x2, p.y2, p.x3, p.y3, p.width); break;
            case Prim::Line: ZEMKA_draw_line(p.color, p.x1, p.y1, p.x2, p.y2, p.width); break;
            case Prim::Text: ZEMKA_draw_text(p.color, p.x1, p.y1, p.ptsize, p.text.c_str()); break;
        }
    }
    zemka::logging = was_logging;
    // The area outside the picture keeps what was there before the frame.
    const std::vector<std::uint32_t> got = canvas_copy();
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 600; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * CANVAS_W + x;
            if (got[i] != expected[i]) return false;
        }
    return true;
}

void draw_text_shared(const zemka::raster::Pixmap &pm, const Prim &p) {
    const zemka::platform::FontSpec font{p.ptsize, 400, false};
    const std::size_t n = p.text.size();
    const std::int64_t h = zemka::platform::text_measure(font, p.text.c_str(), n).cy;
    zemka::platform::text_draw(pm, font, CENTRE_X + p.x1, CENTRE_Y - p.y1 - h, p.text.c_str(), n,
                               0xff000000u | rgb_of(p.color), false, 0);
}

std::uint32_t rgb_of(int color) {
    const zemka::gdi::ColorRef c = zemka::palette[color];
    return ((c & 0xffu) << 16) | (c & 0xff00u) | ((c >> 16) & 0xffu);
}

}  // namespace bench
