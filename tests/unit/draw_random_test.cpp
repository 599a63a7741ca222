// Every drawing entry with random and extreme arguments: no sanitizer
// finding, no hang, and the canvas and console stay consistent.
#include <chrono>
#include <climits>
#include <random>
#include <string>

#include "support/canvas_fixture.h"
#include "zemka/state.h"
#include "zemka/zemka.h"

namespace {

class DrawRandom : public zemka::testing::CanvasTest {
protected:
    std::mt19937 rng{20261208};
    int any_int() {
        static const int extremes[] = {INT_MIN, INT_MIN + 1, -1000000000, -65536, -601,       -1,          0,      1,
                                       127,     128,         601,         65535,  1000000000, INT_MAX - 1, INT_MAX};
        switch (rng() % 3) {
            case 0: return extremes[rng() % std::size(extremes)];
            case 1: return static_cast<int>(rng() % 1201) - 600;
            default: return static_cast<int>(rng());
        }
    }
    std::string any_text() {
        std::string s(rng() % 40, ' ');
        for (char &c : s) c = static_cast<char>(rng() % 256 ? rng() % 256 : '\n');
        return s;
    }
};

TEST_F(DrawRandom, EveryEntrySurvivesExtremeArguments) {
    using clock = std::chrono::steady_clock;
    auto slowest = clock::duration::zero();
    for (int i = 0; i < 3000; ++i) {
        zemka::logging = static_cast<unsigned char>(rng() % 2);
        const int c = any_int(), x1 = any_int(), y1 = any_int(), x2 = any_int(), y2 = any_int();
        const int x3 = any_int(), y3 = any_int(), w = any_int();
        const std::string text = any_text();
        const auto start = clock::now();
        int result = 0;
        switch (i % 11) {
            case 0: result = ZEMKA_draw_pixel(c, x1, y1); break;
            case 1: result = ZEMKA_draw_circle(c, x1, y1, w); break;
            case 2: result = ZEMKA_draw_triangle(c, x1, y1, x2, y2, x3, y3, w % 50); break;
            case 3: result = ZEMKA_draw_triangle(c, x1, y1, x2, y2, x3, y3, w); break;
            case 4: result = ZEMKA_draw_rectangle(c, x1, y1, x2, y2, w); break;
            case 5: result = ZEMKA_draw_oval(c, x1, y1, x2, y2, w); break;
            case 6: result = ZEMKA_draw_line(c, x1, y1, x2, y2, w); break;
            case 7: result = ZEMKA_draw_text(c, x1 % 700, y1 % 600, w, text.c_str()); break;
            case 8: result = ZEMKA_draw_textf(c, x1, y1, w, "%s%d", text.c_str(), x2) > 0; break;
            case 9: result = ZEMKA_draw_line_pt(c, Point{x1 % 2000, y1 % 2000}, Point{x2, y2}, w % 9); break;
            default:
                result = ZEMKA_draw_oval_pt(c, Point{x1 % 2000, y1 % 2000}, Point{x2 % 2000, y2 % 2000}, w % 9);
                break;
        }
        slowest = std::max(slowest, clock::now() - start);
        ASSERT_EQ(result, 1) << "call " << i;
    }
    // A hang guard, not a speed claim: no single call may take seconds.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(slowest).count(), 2000);
    for (const std::string &line : lines) {
        ASSERT_LE(line.size(), 1023u);
    }
}

TEST_F(DrawRandom, HugeFiguresCoverTheCanvasWithoutOverflow) {
    ZEMKA_draw_rectangle(2, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0);
    EXPECT_EQ(count_pixels(zemka::gdi::rgb(255, 0, 0)), 601 * 540);
    ZEMKA_draw_circle(4, 0, 0, INT_MAX);
    EXPECT_EQ(count_pixels(zemka::gdi::rgb(0, 0, 255)), 601 * 540);
    ZEMKA_draw_line(5, INT_MIN, 0, INT_MAX, 0, 2000000000);
    EXPECT_EQ(count_pixels(zemka::gdi::rgb(255, 255, 0)), 601 * 540);
    ZEMKA_draw_circle(1, INT_MIN, INT_MIN, INT_MAX);  // its box lies far off the canvas
    EXPECT_EQ(count_pixels(zemka::gdi::rgb(255, 255, 0)), 601 * 540);
    EXPECT_EQ(lines[0],
              "red rectangle with bounding box (-2147483648,2147483647) to (2147483647,-2147483648), filled\n");
}

}  // namespace
