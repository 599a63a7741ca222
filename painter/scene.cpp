#include "painter/scene.h"

#include "painter/colors.h"
#include "painter/coords.h"
#include "zemka/zemka.h"

namespace painter {

namespace {

// Sky, sun, two clouds and the water.
void draw_sky_and_water(int sun_x, int sun_y) {
    ZEMKA_draw_rectangle(CYAN, -300, -250, 300, 250, FILL);  // the whole picture: erases the last frame
    ZEMKA_draw_circle(YELLOW, sun_x, sun_y, 20);
    // Left cloud: a thick bar with two puffs.
    ZEMKA_draw_line(WHITE, -165, 196, -75, 196, 30);
    ZEMKA_draw_circle(WHITE, -135, 191, 30);
    ZEMKA_draw_circle(WHITE, -105, 191, 30);
    // Right cloud.
    ZEMKA_draw_line(WHITE, 140, 230, 200, 230, 25);
    ZEMKA_draw_circle(WHITE, 160, 232, 22);
    ZEMKA_draw_circle(WHITE, 180, 232, 22);
    // Water; its top edge y = -100 is also the water line of the click test.
    ZEMKA_draw_rectangle(BLUE, -300, -250, 300, -100, FILL);
}

void draw_sailboat(Anchor b) {
    draw_wave_group(b.x(0), b.y(5), 5, b.y(0));
    // Hull: a magenta oval, bottom flattened by a thick blue line and its
    // upper half covered by a blue oval.
    ZEMKA_draw_oval(MAGENTA, b.x(0), b.y(0), b.x(110), b.y(50), FILL);
    ZEMKA_draw_line(BLUE, b.x(0), b.y(0), b.x(110), b.y(0), 14);
    // Three thin white lines trailing behind.
    ZEMKA_draw_line(WHITE, b.x(100), b.y(5), b.x(190), b.y(-5), 1);
    ZEMKA_draw_line(WHITE, b.x(110), b.y(8), b.x(190), b.y(10), 1);
    ZEMKA_draw_line(WHITE, b.x(110), b.y(10), b.x(190), b.y(15), 1);
    ZEMKA_draw_oval(BLUE, b.x(0), b.y(20), b.x(110), b.y(50), FILL);
    // Mast and sail.
    ZEMKA_draw_line(BLACK, b.x(60), b.y(20), b.x(60), b.y(60), 6);
    ZEMKA_draw_triangle(WHITE, b.x(60), b.y(20), b.x(60), b.y(60), b.x(15), b.y(25), FILL);
    // Three small black triangles following the boat.
    ZEMKA_draw_triangle(BLACK, b.x(190), b.y(10), b.x(210), b.y(10), b.x(210), b.y(30), FILL);
    ZEMKA_draw_triangle(BLACK, b.x(220), b.y(0), b.x(240), b.y(0), b.x(240), b.y(20), FILL);
    ZEMKA_draw_triangle(BLACK, b.x(160), b.y(-10), b.x(180), b.y(-10), b.x(180), b.y(10), FILL);
}

// The instructions lie over the sailboat, the gunwale over the text.
void draw_instructions_and_gunwale(Anchor b) {
    ZEMKA_draw_textf(BLACK, -285, -220, 12, "Click a weather type and a color, then click on the picture.");
    ZEMKA_draw_line(BLACK, b.x(0), b.y(15), b.x(105), b.y(15), 2);
}

void draw_mountains_and_hill() {
    // Gray mountain with its jagged summit and a ridge to the right.
    ZEMKA_draw_triangle(GRAY_50, -300, -100, 300, -100, 0, 200, FILL);
    ZEMKA_draw_triangle(GRAY_50, 0, 150, 50, 150, 25, 210, FILL);
    ZEMKA_draw_rectangle(GRAY_50, -40, 150, 0, 200, FILL);
    ZEMKA_draw_line(GRAY_50, 250, -50, 85, 110, 40);
    // Brown mountain; a stroke of sky cuts its top, a sharper peak beside
    // it leaves a notch between the two.
    ZEMKA_draw_triangle(BROWN, -375, -100, 100, -100, -225, 166, FILL);
    ZEMKA_draw_line(CYAN, -235, 146, -215, 146, 40);
    ZEMKA_draw_triangle(BROWN, -225, 66, -135, 66, -215, 176, FILL);
    // The hill over a slightly larger brown triangle: a brown rim shows
    // along its slope.
    ZEMKA_draw_triangle(BROWN, -100, -100, 300, -100, 300, 166, FILL);
    ZEMKA_draw_triangle(FOREST_GREEN, -95, -100, 310, -100, 310, 166, FILL);
}

struct TreeBase {
    int x;
    int y;
};

// Base points of the trees along the hill's rim, drawn in this order.
constexpr TreeBase TREES[] = {
    {-100, -100}, {-90, -95}, {-80, -90}, {-70, -85}, {-60, -80}, {-50, -72}, {-40, -67}, {-30, -62}, {-20, -57},
    {-10, -47},   {0, -42},   {10, -37},  {20, -27},  {30, -22},  {40, -17},  {50, -7},   {60, -2},   {70, 8},
    {80, 13},     {90, 23},   {100, 28},  {110, 33},  {120, 43},  {130, 48},  {140, 53},  {150, 58},  {160, 68},
    {170, 73},    {180, 78},  {190, 83},  {200, 93},  {210, 98},  {220, 103}, {230, 113}, {240, 123}, {250, 128},
    {260, 133},   {270, 138}, {280, 148}, {290, 153}, {300, 163},
};
constexpr int TREE_COUNT = static_cast<int>(sizeof TREES / sizeof TREES[0]);
// The last two trees stand close to the hill's top corner; their left
// branch starts higher up the trunk.
constexpr int FIRST_SHORT_BRANCH_TREE = TREE_COUNT - 2;

void draw_tree(int x, int y, bool short_left_branch) {
    ZEMKA_draw_line(FOREST_GREEN, x, y, x, y + 15, 4);          // trunk
    ZEMKA_draw_line(FOREST_GREEN, x, y + 4, x + 3, y + 11, 3);  // right branch
    ZEMKA_draw_line(FOREST_GREEN, x, y + (short_left_branch ? 7 : 2), x - 3, y + 11, 3);
}

void draw_trees() {
    for (int i = 0; i < TREE_COUNT; ++i) draw_tree(TREES[i].x, TREES[i].y, i >= FIRST_SHORT_BRANCH_TREE);
}

void draw_ship(Anchor s) {
    draw_wave_group(s.x(0), s.y(0), 3, s.y(0));
    // Two-tier red hull; blue triangles cut its corners into a ship's lines.
    ZEMKA_draw_rectangle(RED, s.x(0), s.y(0), s.x(170), s.y(30), FILL);
    ZEMKA_draw_rectangle(RED, s.x(-50), s.y(30), s.x(200), s.y(70), FILL);
    ZEMKA_draw_triangle(BLUE, s.x(125), s.y(0), s.x(175), s.y(0), s.x(175), s.y(30), FILL);
    ZEMKA_draw_triangle(BLUE, s.x(175), s.y(30), s.x(210), s.y(30), s.x(210), s.y(40), FILL);
    // Wake at the back.
    ZEMKA_draw_line(WHITE, s.x(130), s.y(0), s.x(190), s.y(-3), 1);
    ZEMKA_draw_line(WHITE, s.x(130), s.y(3), s.x(190), s.y(3), 1);
    ZEMKA_draw_triangle(BLUE, s.x(30), s.y(0), s.x(0), s.y(0), s.x(0), s.y(30), FILL);
    ZEMKA_draw_triangle(BLUE, s.x(0), s.y(30), s.x(-50), s.y(30), s.x(-50), s.y(40), FILL);
    ZEMKA_draw_line(BLACK, s.x(0), s.y(30), s.x(170), s.y(30), 4);  // seam between the tiers
    // Superstructure.
    ZEMKA_draw_rectangle(YELLOW, s.x(-30), s.y(70), s.x(-10), s.y(100), FILL);
    ZEMKA_draw_rectangle(YELLOW, s.x(170), s.y(70), s.x(185), s.y(110), FILL);
    ZEMKA_draw_rectangle(RED, s.x(10), s.y(70), s.x(150), s.y(100), FILL);
    ZEMKA_draw_rectangle(RED, s.x(10), s.y(100), s.x(70), s.y(125), FILL);
    ZEMKA_draw_rectangle(WHITE, s.x(10), s.y(125), s.x(70), s.y(135), FILL);
    ZEMKA_draw_line(WHITE, s.x(-10), s.y(135), s.x(70), s.y(135), 8);
    ZEMKA_draw_rectangle(BLACK, s.x(15), s.y(100), s.x(30), s.y(120), FILL);
    ZEMKA_draw_rectangle(BLACK, s.x(40), s.y(70), s.x(55), s.y(110), FILL);
    ZEMKA_draw_circle(PURPLE, s.x(50), s.y(90), 2);
    // Portholes.
    ZEMKA_draw_circle(BLACK, s.x(80), s.y(90), 7);
    ZEMKA_draw_circle(BLACK, s.x(110), s.y(90), 7);
    ZEMKA_draw_circle(BLACK, s.x(140), s.y(90), 7);
    // Funnel with a white and a black band.
    ZEMKA_draw_rectangle(DUSTY_PLUM, s.x(100), s.y(100), s.x(120), s.y(140), FILL);
    ZEMKA_draw_rectangle(WHITE, s.x(100), s.y(140), s.x(120), s.y(150), FILL);
    ZEMKA_draw_rectangle(BLACK, s.x(100), s.y(150), s.x(120), s.y(155), FILL);
    // Smoke.
    ZEMKA_draw_circle(BLACK, s.x(110), s.y(155), 4);
    ZEMKA_draw_circle(BLACK, s.x(115), s.y(160), 4);
    ZEMKA_draw_circle(BLACK, s.x(120), s.y(163), 3);
    ZEMKA_draw_circle(BLACK, s.x(125), s.y(165), 3);
    ZEMKA_draw_circle(BLACK, s.x(130), s.y(165), 3);
    ZEMKA_draw_line(WHITE, s.x(-50), s.y(70), s.x(200), s.y(70), 10);  // deck line
}

}  // namespace

void draw_wave_group(int left, int h1, int shift, int h2) {
    ZEMKA_draw_circle(WHITE, left, h1, 12);
    ZEMKA_draw_circle(BLUE, offset(left, shift), h1, 12);
    ZEMKA_draw_circle(WHITE, offset(left, 13), h1, 10);
    ZEMKA_draw_circle(BLUE, offset(left, 16), h1, 10);
    ZEMKA_draw_circle(WHITE, offset(left, 20), h2, 10);
    ZEMKA_draw_circle(BLUE, offset(left, 23), h2, 10);
}

void draw_scene(int sun_x, int sun_y, int boat_x, int boat_y, int ship_x, int ship_y) {
    const Anchor boat{boat_x, boat_y};
    const Anchor ship{ship_x, ship_y};
    draw_sky_and_water(sun_x, sun_y);
    draw_sailboat(boat);
    draw_instructions_and_gunwale(boat);
    draw_mountains_and_hill();
    draw_trees();
    draw_ship(ship);
}

}  // namespace painter
