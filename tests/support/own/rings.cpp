// A learner's own C++ program for the tests of the zemka command.
#include <zemka/zemka.h>

#include <vector>

int main() {
    ZEMKA_start(nullptr, nullptr, "", 1);
    ZEMKA_clear_canvas();
    const std::vector<int> radii{40, 80, 120};
    for (int r : radii) ZEMKA_draw_oval(13, -r, r, r, -r, 4);
    int x = 0, y = 0, kind = 0;
    char key = 0;
    while ((kind = ZEMKA_next_event(&x, &y, &key)) != ZEMKA_QUIT)
        if (kind == ZEMKA_MOUSE) ZEMKA_draw_circle(7, x, y, 10);
    ZEMKA_stop();
    return 0;
}
