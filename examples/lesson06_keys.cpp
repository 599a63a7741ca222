// Lesson 6: keys.
//
// A key comes back from the wait as ZEMKA_KBD with its character in key.
// The keys w, a, s and d move the square up, left, down and right; the
// square stops at the edges. Any other key is written to the console.
#include <zemka/zemka.h>

#include <algorithm>

namespace {

constexpr int BLACK = 0;
constexpr int BLUE = 4;
constexpr int STEP = 25;
constexpr int HALF = 20;  // half the square's side

}  // namespace

int main() {
    int x = 0, y = 0;  // the square's middle
    ZEMKA_start(nullptr, nullptr, "", 1);
    ZEMKA_set_logging(0);
    for (;;) {
        ZEMKA_clear_canvas();
        ZEMKA_draw_text(BLACK, -290, 228, 14, "w a s d move the square");
        ZEMKA_draw_rectangle(BLUE, x - HALF, y + HALF, x + HALF, y - HALF, 0);
        int ex = 0, ey = 0;
        char key = 0;
        const int kind = ZEMKA_next_event(&ex, &ey, &key);
        if (kind == ZEMKA_QUIT) break;
        if (kind != ZEMKA_KBD) continue;
        switch (key) {
            case 'w': y += STEP; break;
            case 's': y -= STEP; break;
            case 'a': x -= STEP; break;
            case 'd': x += STEP; break;
            default: ZEMKA_console_printf("The key '%c' does nothing\n", key); break;
        }
        // Keep the whole square inside the 600 x 500 picture.
        x = std::clamp(x, -300 + HALF, 300 - HALF);
        y = std::clamp(y, -250 + HALF, 250 - HALF);
    }
    ZEMKA_stop();
    return 0;
}
