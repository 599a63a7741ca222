// Checks colours in a snapshot of the drawing window (600 x 500 pixels,
// logical point (x, y) at pixel (300 + x, 250 - y)).
//
//   zemka-png-probe FILE CHECK...
//     at X Y R,G,B                 the point has this colour
//     not X Y R,G,B                the point has another colour
//     some X1 Y1 X2 Y2 R,G,B       a pixel of this colour in the box
//     none X1 Y1 X2 Y2 R,G,B       no pixel of this colour in the box
//
// Prints one line for every check that fails; exit code 0 when all pass,
// 1 when one fails, 2 when the file or the arguments cannot be used.
#include <QColor>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int CENTRE_X = 300;
constexpr int CENTRE_Y = 250;

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb &) const = default;
};

std::string text(Rgb c) { return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b); }

bool parse_int(const char *s, int &value) {
    char *end = nullptr;
    const long v = std::strtol(s, &end, 10);
    if (end == s || *end != '\0' || v < -100000 || v > 100000) return false;
    value = static_cast<int>(v);
    return true;
}

bool parse_rgb(const char *s, Rgb &c) { return std::sscanf(s, "%d,%d,%d", &c.r, &c.g, &c.b) == 3; }

class Picture {
public:
    explicit Picture(const QImage &image) : image_(image) {}
    bool inside(int x, int y) const { return image_.valid(CENTRE_X + x, CENTRE_Y - y); }
    Rgb at(int x, int y) const {
        const QColor c = image_.pixelColor(CENTRE_X + x, CENTRE_Y - y);
        return {c.red(), c.green(), c.blue()};
    }
    // How many pixels of the box from (x1, y1) to (x2, y2) have colour c.
    long count(int x1, int y1, int x2, int y2, Rgb c) const {
        long n = 0;
        for (int x = std::min(x1, x2); x <= std::max(x1, x2); ++x)
            for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y)
                if (inside(x, y) && at(x, y) == c) ++n;
        return n;
    }

private:
    QImage image_;
};

int usage() {
    std::fprintf(stderr, "usage: zemka-png-probe FILE (at|not X Y R,G,B | some|none X1 Y1 X2 Y2 R,G,B)...\n");
    return 2;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) return usage();
    QImage image;
    if (!image.load(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot read the picture %s\n", argv[1]);
        return 2;
    }
    const Picture picture(image);
    int failures = 0;
    std::vector<std::string> args(argv + 2, argv + argc);
    for (std::size_t i = 0; i < args.size();) {
        const std::string &check = args[i];
        const bool point_check = check == "at" || check == "not";
        const bool box_check = check == "some" || check == "none";
        const std::size_t numbers = point_check ? 2 : box_check ? 4 : 0;
        // The check's word, its numbers and its colour.
        if (numbers == 0 || i + numbers + 1 >= args.size()) return usage();
        int v[4] = {0, 0, 0, 0};
        for (std::size_t k = 0; k < numbers; ++k)
            if (!parse_int(args[i + 1 + k].c_str(), v[k])) return usage();
        Rgb colour;
        if (!parse_rgb(args[i + 1 + numbers].c_str(), colour)) return usage();
        if (point_check) {
            if (!picture.inside(v[0], v[1])) {
                std::printf("(%d, %d) is outside the picture\n", v[0], v[1]);
                ++failures;
            } else {
                const Rgb seen = picture.at(v[0], v[1]);
                if ((seen == colour) != (check == "at")) {
                    std::printf("%s %d %d %s: the point is %s\n", check.c_str(), v[0], v[1], text(colour).c_str(),
                                text(seen).c_str());
                    ++failures;
                }
            }
        } else {
            const long n = picture.count(v[0], v[1], v[2], v[3], colour);
            if ((n > 0) != (check == "some")) {
                std::printf("%s %d %d %d %d %s: %ld such pixels\n", check.c_str(), v[0], v[1], v[2], v[3],
                            text(colour).c_str(), n);
                ++failures;
            }
        }
        i += numbers + 2;
    }
    return failures == 0 ? 0 : 1;
}
