// Span-based integer rasterizer.
//
// Everything is painted as spans: one row, one colour, clipped once and
// written with std::fill_n. A figure is computed row by row: for each
// visible row the covered x-interval is found analytically, so the work is
// proportional to the number of pixmap rows and the number of pixels that
// are actually written, never to coordinates or pen widths.
//
// Sampling rules
// --------------
// Pixel (x, y) is the unit square centred on (x + 0.5, y + 0.5).
//
// One-pixel lines (pen width 0 or 1). With dx = x1 - x0, dy = y1 - y0 and
// n = max(|dx|, |dy|), step i = 0 .. n-1 paints one pixel: the major axis
// advances by one pixel per step and the minor coordinate is the start plus
// i * d_minor / n rounded to the nearest integer, where an exact half rounds
// towards the start point. The end point is never painted; a zero-length
// line paints nothing. When |dx| == |dy| the line is exactly diagonal.
// Clipping works on the steps: the first and last visible steps are
// computed directly, so a line that crosses the pixmap from far away paints
// exactly the pixels the unclipped line paints there.
//
// Wide lines (pen width w > 1) are capsules: pixel (x, y) is painted when
// the point (x, y) lies within distance w/2 of the segment from (x0, y0) to
// (x1, y1), both ends included (round caps). In other words the segment
// joins the centres of the end pixels. For an even w the segment is moved
// half a pixel up and left first, so that a horizontal line of width w
// paints exactly w rows: rows y - w/2 .. y + w/2 - 1 (w = 2: rows y-1, y);
// an odd w paints rows y - (w-1)/2 .. y + (w-1)/2. A zero-length wide line
// is a disc.
//
// Rectangles take exclusive right/bottom bounds; swapped bounds are put in
// order, and an empty box paints nothing. The brush covers the whole box
// [left, right) x [top, bottom). A one-pixel pen paints the border pixels of
// the box: rows top and bottom-1, columns left and right-1. A wide pen
// strokes capsules along the closed path through the corner pixels
// (left, top), (right-1, top), (right-1, bottom-1), (left, bottom-1).
//
// Ellipses are inscribed in the box: with a = (right-left)/2,
// b = (bottom-top)/2 and centre (cx, cy) the box centre, a pixel belongs to
// the figure when its centre satisfies ((px-cx)/a)^2 + ((py-cy)/b)^2 <= 1.
// The test is exact in integers for boxes narrower than 2^32 pixels and uses
// long double beyond. With a one-pixel pen the outline is the set of figure
// pixels that have a 4-neighbour outside the figure; the brush covers the
// others. A wide pen w paints the ring between the ellipse whose axes are
// inflated by w/2 and the one deflated by w/2 (figure of the outer ellipse
// minus figure of the inner one). The true offset curves of an ellipse are
// not ellipses: the two agree exactly for circles, and for pens up to 9
// pixels and axes up to 6:1 they stay within about 0.3 pixel of each other
// as long as half the pen is below the smallest radius of curvature b^2/a
// (for a >= b). Beyond that, a wide pen on a thin ellipse, the true inner
// edge closes up towards the ends while the deflated ellipse still leaves a
// narrow opening there. The brush then covers the figure of the inner
// ellipse.
//
// Polygons are filled by sampling pixel centres with the even-odd rule. A
// vertex (x, y) is the centre of pixel (x, y), as for lines, so the fill and
// the outline through the same vertices fit together without gaps; the
// polygon (0,0), (10,0), (10,10), (0,10) fills exactly the pixels
// [0,10) x [0,10). A pixel centre exactly on an edge belongs to the figure
// when the edge is a left or a top edge and not when it is a right or a
// bottom edge (top-left rule): each edge covers the rows [y_top, y_bottom)
// and each span is [left crossing, right crossing). Hence two polygons that
// share an edge never paint a pixel twice and never leave a gap between
// them. Edge crossings are computed exactly in 128-bit integers. The outline
// is drawn after the fill: with a one-pixel pen as the one-pixel lines from
// vertex k to vertex k+1 (and from the last to the first), so every vertex
// is painted once; with a wide pen as a capsule along every edge, which
// gives round joins.
//
// Bad input: a pixmap without pixels, with a non-positive size or a stride
// below its width is left alone. Negative pen widths count as their
// absolute value (INT_MIN as INT_MAX).
#include "zemka/raster/raster.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "zemka/raster/wide_int.h"

namespace zemka::raster {

namespace {

// The compiler's own 128-bit type where it has one; the portable class
// elsewhere (32-bit targets, other compilers).
#if defined(__SIZEOF_INT128__) && !defined(ZEMKA_PORTABLE_INT128)
__extension__ typedef __int128 i128;
__extension__ typedef unsigned __int128 u128;
#else
using i128 = wide::Int128<true>;
using u128 = wide::Int128<false>;
#endif
using i64 = std::int64_t;
using u64 = std::uint64_t;
using u32 = std::uint32_t;

bool usable(const Pixmap &pm) { return pm.pixels != nullptr && pm.width > 0 && pm.height > 0 && pm.stride >= pm.width; }

inline u32 *row_at(const Pixmap &pm, i64 y) { return pm.pixels + static_cast<std::ptrdiff_t>(y) * pm.stride; }

// Row y must be inside the pixmap; x is clipped here.
inline void span(const Pixmap &pm, i64 y, i64 x0, i64 x1, u32 color) {
    if (x0 < 0) x0 = 0;
    if (x1 > pm.width) x1 = pm.width;
    if (x0 < x1) std::fill_n(row_at(pm, y) + x0, static_cast<std::ptrdiff_t>(x1 - x0), color);
}

int pen_width(int w) {
    if (w == INT_MIN) return INT_MAX;
    return w < 0 ? -w : w;
}

i128 abs128(i128 v) { return v < 0 ? -v : v; }

// Converts v to an int64 in [lo, hi]; values outside (and NaN) are clamped.
template <class T>
i64 clamp_i64(T v, i64 lo, i64 hi) {
    if (!(v >= static_cast<T>(lo))) return lo;
    if (v > static_cast<T>(hi)) return hi;
    return static_cast<i64>(v);
}

// Integer division rounding down / up, for any signs (b != 0).
template <class T>
T floor_div(T a, T b) {
    T q = a / b;
    if (a % b != 0 && ((a < 0) != (b < 0))) --q;
    return q;
}
template <class T>
T ceil_div(T a, T b) {
    T q = a / b;
    if (a % b != 0 && ((a < 0) == (b < 0))) ++q;
    return q;
}
long double floor_div(long double a, long double b) { return std::floor(a / b); }
long double ceil_div(long double a, long double b) { return std::ceil(a / b); }

// floor(sqrt(v)) for v < 2^128.
u64 isqrt_u128(u128 v) {
    long double est = std::sqrt(static_cast<long double>(v));
    u64 r = est >= 18446744073709551615.0L ? UINT64_MAX : static_cast<u64>(est);
    while (r > 0 && static_cast<u128>(r) * r > v) --r;
    while (r < UINT64_MAX && static_cast<u128>(r + 1) * (r + 1) <= v) ++r;
    return r;
}

// floor(sqrt(v)) for 0 <= v < 2^63.
u64 isqrt_u64(u64 v) {
    u64 r = static_cast<u64>(std::sqrt(static_cast<double>(v)));
    while (r > 0 && r * r > v) --r;
    while ((r + 1) * (r + 1) <= v) ++r;
    return r;
}

// The square root as used by the capsule rows: floor of the root for the
// integer types (all compared quantities are integers there), the root
// itself for long double.
i64 root(i64 v) { return static_cast<i64>(isqrt_u64(static_cast<u64>(v))); }
i128 root(i128 v) { return static_cast<i128>(isqrt_u128(static_cast<u128>(v))); }
long double root(long double v) { return std::sqrt(v); }

// ---------------------------------------------------------------------------
// One-pixel lines. A line is walked along its major axis, the one it moves
// furthest on: step i = 0 .. steps-1 paints the pixel whose major coordinate
// is major_start + major_dir * i and whose minor coordinate is
// minor_start + minor_dir * offset(i).

struct LineSteps {
    u64 steps;  // the movement along the major axis: one pixel a step
    u64 rise;   // the movement along the minor axis, at most steps

    // i * rise = quotient * steps + remainder.
    void divide(u64 i, u64 &quotient, u64 &remainder) const {
        const u128 product = static_cast<u128>(i) * rise;
        quotient = static_cast<u64>(product / steps);
        remainder = static_cast<u64>(product % steps);
    }
    // quotient + remainder / steps to the nearest integer, an exact half
    // down: towards the start point.
    u64 rounded(u64 quotient, u64 remainder) const { return quotient + (remainder > steps - remainder ? 1 : 0); }
    // The minor offset of step i: round(i * rise / steps). It never
    // decreases as i grows.
    i128 offset(i128 i) const {
        u64 quotient, remainder;
        divide(static_cast<u64>(i), quotient, remainder);
        return static_cast<i128>(rounded(quotient, remainder));
    }
    // The first step in [first, last] whose offset is at least target;
    // last + 1 when there is none.
    i128 first_reaching(i128 target, i128 first, i128 last) const {
        if (offset(first) >= target) return first;
        if (offset(last) < target) return last + 1;
        while (first < last) {  // offset(first) < target <= offset(last)
            const i128 mid = first + (last - first) / 2;
            if (offset(mid) >= target)
                last = mid;
            else
                first = mid + 1;
        }
        return last;
    }
};

// The offsets t for which start + dir * t lies in [0, size).
void visible_offsets(i64 start, int dir, i64 size, i128 &first, i128 &last) {
    if (dir > 0) {
        first = -static_cast<i128>(start);
        last = static_cast<i128>(size) - 1 - start;
    } else {
        first = static_cast<i128>(start) - (size - 1);
        last = start;
    }
}

void thin_line(const Pixmap &pm, u32 color, i64 x0, i64 y0, i64 x1, i64 y1) {
    const i128 dx = static_cast<i128>(x1) - x0;
    const i128 dy = static_cast<i128>(y1) - y0;
    const bool x_major = abs128(dx) >= abs128(dy);
    const i128 major_move = x_major ? dx : dy;
    const i128 minor_move = x_major ? dy : dx;
    const LineSteps line{static_cast<u64>(abs128(major_move)), static_cast<u64>(abs128(minor_move))};
    if (line.steps == 0) return;
    const i64 major_start = x_major ? x0 : y0;
    const i64 minor_start = x_major ? y0 : x0;
    const int major_dir = major_move < 0 ? -1 : 1;
    const int minor_dir = minor_move < 0 ? -1 : 1;

    // The steps whose major coordinate is visible...
    i128 first, last;
    visible_offsets(major_start, major_dir, x_major ? pm.width : pm.height, first, last);
    first = std::max<i128>(first, 0);
    last = std::min<i128>(last, static_cast<i128>(line.steps) - 1);
    if (first > last) return;
    // ...and among them the run whose minor coordinate is visible too: one
    // run, as the offset never decreases.
    i128 offset_first, offset_last;
    visible_offsets(minor_start, minor_dir, x_major ? pm.height : pm.width, offset_first, offset_last);
    const i128 run_end = line.first_reaching(offset_last + 1, first, last);
    first = line.first_reaching(offset_first, first, last);
    last = run_end - 1;
    if (first > last) return;

    // Walk the run, keeping i * rise = quotient * steps + remainder.
    u64 quotient, remainder;
    line.divide(static_cast<u64>(first), quotient, remainder);
    u64 offset = line.rounded(quotient, remainder);
    const u64 carry_from = line.steps - line.rise;  // remainder + rise reaches steps
    const std::ptrdiff_t major_step = static_cast<std::ptrdiff_t>(major_dir) * (x_major ? 1 : pm.stride);
    const std::ptrdiff_t minor_step = static_cast<std::ptrdiff_t>(minor_dir) * (x_major ? pm.stride : 1);
    const i64 major = static_cast<i64>(major_start + major_dir * first);
    const i64 minor = static_cast<i64>(minor_start + minor_dir * static_cast<i128>(offset));
    u32 *dst = row_at(pm, x_major ? minor : major) + (x_major ? major : minor);
    for (u64 left = static_cast<u64>(last - first);; --left) {
        *dst = color;
        if (left == 0) break;
        if (remainder >= carry_from) {
            remainder -= carry_from;
            ++quotient;
        } else {
            remainder += line.rise;
        }
        const u64 next = line.rounded(quotient, remainder);
        dst += major_step;
        if (next != offset) dst += minor_step;
        offset = next;
    }
}

// ---------------------------------------------------------------------------
// Capsules. Coordinates are doubled so that half-pixel shifts stay integer:
// pixel (x, y) is the point (2x, 2y), the segment runs from (ax, ay) to
// (bx, by) and the radius is r (= the pen width).

template <class T>
struct Capsule {
    T ax, ay, bx, by, r;
    T dx{}, dy{}, l2{}, r2{}, f{};

    void prepare() {
        dx = bx - ax;
        dy = by - ay;
        l2 = dx * dx + dy * dy;
        r2 = r * r;
        f = root(r2 * l2);  // |cross| <= r * |d|  <=>  |cross| <= f for integer cross
    }

    // The pixels [lo, hi] of row Y (doubled) inside the capsule. The capsule
    // is convex, so its row is one interval: the union of the rows of the two
    // end discs and of the band around the segment between its end normals.
    bool row(T Y, T &lo, T &hi) const {
        bool any = false;
        auto add = [&](T l, T h) {
            if (l > h) return;
            if (!any) {
                lo = l;
                hi = h;
                any = true;
            } else {
                lo = std::min(lo, l);
                hi = std::max(hi, h);
            }
        };
        auto disc = [&](T cx, T cy) {
            const T e = r2 - (Y - cy) * (Y - cy);
            if (e < 0) return;
            const T s = root(e);
            add(ceil_div(cx - s, T(2)), floor_div(cx + s, T(2)));
        };
        disc(ax, ay);
        if (l2 == 0) return any;
        disc(bx, by);

        const T yo = Y - ay;
        // Band: |dy * (2x - ax) - dx * yo| <= f.
        bool band_all = false;
        T bl{}, bh{};
        if (dy == 0) {
            T v = dx * yo;
            if (v < 0) v = -v;
            if (v > f) return any;
            band_all = true;
        } else {
            const T c = dy * ax + dx * yo;
            const T d = T(2) * dy;
            if (dy > 0) {
                bl = ceil_div(c - f, d);
                bh = floor_div(c + f, d);
            } else {
                bl = ceil_div(c + f, d);
                bh = floor_div(c - f, d);
            }
        }
        // Between the end normals: 0 <= dx * (2x - ax) + dy * yo <= l2.
        bool slab_all = false;
        T sl{}, sh{};
        if (dx == 0) {
            const T v = dy * yo;
            if (v < 0 || v > l2) return any;
            slab_all = true;
        } else {
            const T g = dx * ax - dy * yo;
            const T d = T(2) * dx;
            if (dx > 0) {
                sl = ceil_div(g, d);
                sh = floor_div(g + l2, d);
            } else {
                sl = ceil_div(g + l2, d);
                sh = floor_div(g, d);
            }
        }
        if (band_all)
            add(sl, sh);
        else if (slab_all)
            add(bl, bh);
        else
            add(std::max(bl, sl), std::min(bh, sh));
        return any;
    }
};

template <class T>
void paint_capsule(const Pixmap &pm, u32 color, Capsule<T> cap) {
    cap.prepare();
    const T ymin = std::min(cap.ay, cap.by) - cap.r;
    const T ymax = std::max(cap.ay, cap.by) + cap.r;
    const i64 y0 = clamp_i64(ceil_div(ymin, T(2)), 0, pm.height);
    const i64 y1 = clamp_i64(floor_div(ymax, T(2)), -1, pm.height - 1);
    for (i64 y = y0; y <= y1; ++y) {
        T lo{}, hi{};
        if (!cap.row(static_cast<T>(2 * y), lo, hi)) continue;
        const i64 l = clamp_i64(lo, -1, pm.width);
        const i64 h = clamp_i64(hi, -1, pm.width);
        if (l <= h) span(pm, y, l, h + 1, color);
    }
}

// A capsule in doubled coordinates, with exact integer arithmetic where the
// magnitudes allow it (int64 for everyday sizes, int128 up to 2^30) and long
// double beyond, after clipping the segment to the region where its
// capsule can reach the pixmap.
void capsule(const Pixmap &pm, u32 color, i128 ax, i128 ay, i128 bx, i128 by, i128 r) {
    i128 mag = std::max({abs128(ax), abs128(ay), abs128(bx), abs128(by), static_cast<i128>(pm.width) * 2,
                         static_cast<i128>(pm.height) * 2});
    if (mag <= (i128(1) << 14) && r <= (i128(1) << 14)) {
        paint_capsule<i64>(pm, color,
                           {static_cast<i64>(ax), static_cast<i64>(ay), static_cast<i64>(bx), static_cast<i64>(by),
                            static_cast<i64>(r)});
        return;
    }
    if (mag <= (i128(1) << 30) && r <= (i128(1) << 31)) {
        paint_capsule<i128>(pm, color, {ax, ay, bx, by, r});
        return;
    }
    using LD = long double;
    const LD R = static_cast<LD>(r);
    const LD Ax = static_cast<LD>(ax), Ay = static_cast<LD>(ay);
    const LD Dx = static_cast<LD>(bx - ax), Dy = static_cast<LD>(by - ay);
    const LD xmin = -R - 4, xmax = 2.0L * pm.width + R + 4;
    const LD ymin = -R - 4, ymax = 2.0L * pm.height + R + 4;
    LD t0 = 0, t1 = 1;
    // Keeps the part of the segment where p * t <= q.
    auto clip = [&](LD p, LD q) {
        if (p == 0) return q >= 0;
        const LD t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    if (!clip(-Dx, Ax - xmin) || !clip(Dx, xmax - Ax) || !clip(-Dy, Ay - ymin) || !clip(Dy, ymax - Ay)) return;
    paint_capsule<LD>(pm, color, {Ax + t0 * Dx, Ay + t0 * Dy, Ax + t1 * Dx, Ay + t1 * Dy, R});
}

// A wide line of width w > 1 from the centre of pixel (x0, y0) to the centre
// of pixel (x1, y1); even widths are shifted half a pixel up and left.
void wide_line(const Pixmap &pm, int w, u32 color, i64 x0, i64 y0, i64 x1, i64 y1) {
    const i128 s = (w % 2 == 0) ? -1 : 0;
    capsule(pm, color, 2 * static_cast<i128>(x0) + s, 2 * static_cast<i128>(y0) + s, 2 * static_cast<i128>(x1) + s,
            2 * static_cast<i128>(y1) + s, w);
}

void line_any(const Pixmap &pm, int w, u32 color, i64 x0, i64 y0, i64 x1, i64 y1) {
    if (w <= 1)
        thin_line(pm, color, x0, y0, x1, y1);
    else
        wide_line(pm, w, color, x0, y0, x1, y1);
}

// ---------------------------------------------------------------------------
// Ellipses, in doubled coordinates: the centre is (cx, cy) = (left + right,
// top + bottom), the full axes are ax = right - left and ay = bottom - top,
// and the centre of pixel (x, y) is (2x + 1, 2y + 1). A pixel is inside when
// X^2 ay^2 + Y^2 ax^2 <= ax^2 ay^2 with X = 2x + 1 - cx, Y = 2y + 1 - cy.

struct Ellipse {
    // The arithmetic the axes need: int64 products below 2^15, int128 below
    // 2^32, long double beyond.
    enum Precision { small, medium, large };
    i128 cx = 0, cy = 0, ax = 0, ay = 0;
    bool empty = true;
    Precision prec = small;
    // Small, with the centre near enough for int64 throughout: the same
    // values as int64.
    bool fits_int64 = false;
    struct {
        i64 cx = 0, cy = 0, ax = 0, ay = 0;
    } as_int64;
    struct {
        long double cx = 0, ax = 0, ay = 0;
    } as_long_double;

    Ellipse(i128 centre_x, i128 centre_y, i128 axis_x, i128 axis_y)
        : cx(centre_x), cy(centre_y), ax(axis_x), ay(axis_y) {
        empty = ax <= 0 || ay <= 0;
        const i128 lim16 = i128(1) << 15, lim32 = i128(1) << 32, lim60 = i128(1) << 60;
        if (ax <= lim16 && ay <= lim16)
            prec = small;
        else if (ax < lim32 && ay < lim32)
            prec = medium;
        else
            prec = large;
        fits_int64 = !empty && prec == small && abs128(cx) < lim60 && abs128(cy) < lim60;
        if (fits_int64)
            as_int64 = {static_cast<i64>(cx), static_cast<i64>(cy), static_cast<i64>(ax), static_cast<i64>(ay)};
        as_long_double = {static_cast<long double>(cx), static_cast<long double>(ax), static_cast<long double>(ay)};
    }

    // Rows that can hold pixels of the figure, clamped to [lo, hi].
    void rows(i64 lo, i64 hi, i64 &y0, i64 &y1) const {
        y0 = clamp_i64(ceil_div<i128>(cy - 1 - ay, 2), lo, hi + 1);
        y1 = clamp_i64(floor_div<i128>(cy - 1 + ay, 2), lo - 1, hi);
    }

    // The figure's pixels [l, r] on row y, clamped to [-1, width]. Y is the
    // row's distance from the centre and X its half width, both doubled.
    bool span_at(i64 y, i64 width, i64 &l, i64 &r) const {
        if (fits_int64) {  // the everyday case (y is a row near the pixmap)
            const auto &e = as_int64;
            i64 Y = 2 * y + 1 - e.cy;
            if (Y < 0) Y = -Y;
            if (Y > e.ay) return false;
            const u64 n = static_cast<u64>(e.ax * e.ax) * static_cast<u64>(e.ay * e.ay - Y * Y);
            const i64 X = static_cast<i64>(isqrt_u64(n) / static_cast<u64>(e.ay));
            l = clamp_i64((e.cx - X) >> 1, -1, width);      // ceil((cx - 1 - X) / 2)
            r = clamp_i64((e.cx - 1 + X) >> 1, -1, width);  // floor((cx - 1 + X) / 2)
            return l <= r;
        }
        if (empty) return false;
        i128 Y = 2 * static_cast<i128>(y) + 1 - cy;
        if (Y < 0) Y = -Y;
        if (Y > ay) return false;
        if (prec == large) {
            const auto &e = as_long_double;
            const long double Yl = static_cast<long double>(Y);
            const long double X = e.ax * std::sqrt((e.ay - Yl) * (e.ay + Yl)) / e.ay;
            l = clamp_i64(std::ceil((e.cx - 1 - X) / 2), -1, width);
            r = clamp_i64(std::floor((e.cx - 1 + X) / 2), -1, width);
            return l <= r;
        }
        i128 X;
        if (prec == small) {
            const u64 n = static_cast<u64>(ax * ax) * static_cast<u64>(ay * ay - Y * Y);
            X = static_cast<i128>(isqrt_u64(n) / static_cast<u64>(ay));
        } else {
            const u128 n = static_cast<u128>(ax * ax) * static_cast<u128>(ay * ay - Y * Y);
            X = static_cast<i128>(isqrt_u128(n) / static_cast<u64>(ay));
        }
        l = clamp_i64(ceil_div<i128>(cx - 1 - X, 2), -1, width);
        r = clamp_i64(floor_div<i128>(cx - 1 + X, 2), -1, width);
        return l <= r;
    }
};

void fill_figure(const Pixmap &pm, const Ellipse &e, u32 color) {
    i64 y0, y1;
    e.rows(0, pm.height - 1, y0, y1);
    for (i64 y = y0; y <= y1; ++y) {
        i64 l, r;
        if (e.span_at(y, pm.width, l, r)) span(pm, y, l, r + 1, color);
    }
}

struct RowSpan {
    bool on = false;
    i64 l = 0, r = -1;
};

// One-pixel outline: figure pixels with a 4-neighbour outside the figure.
void ellipse_thin(const Pixmap &pm, const Ellipse &e, const Paint &paint) {
    i64 y0, y1;
    e.rows(0, pm.height - 1, y0, y1);
    if (y0 > y1) return;
    RowSpan prev, cur, next;
    prev.on = e.span_at(y0 - 1, pm.width, prev.l, prev.r);
    cur.on = e.span_at(y0, pm.width, cur.l, cur.r);
    for (i64 y = y0; y <= y1; ++y) {
        next.on = e.span_at(y + 1, pm.width, next.l, next.r);
        if (cur.on) {
            i64 il = cur.l + 1, ir = cur.r - 1;
            if (prev.on && next.on) {
                il = std::max({il, prev.l, next.l});
                ir = std::min({ir, prev.r, next.r});
            } else {
                il = 1;
                ir = 0;
            }
            if (il <= ir) {
                if (paint.fill) span(pm, y, il, ir + 1, paint.brush_color);
                if (paint.stroke) {
                    span(pm, y, cur.l, il, paint.pen_color);
                    span(pm, y, ir + 1, cur.r + 1, paint.pen_color);
                }
            } else if (paint.stroke) {
                span(pm, y, cur.l, cur.r + 1, paint.pen_color);
            }
        }
        prev = cur;
        cur = next;
    }
}

// Wide outline: figure of the inflated ellipse minus figure of the deflated one.
void ellipse_wide(const Pixmap &pm, const Ellipse &outer, const Ellipse &inner, const Paint &paint) {
    i64 y0, y1;
    outer.rows(0, pm.height - 1, y0, y1);
    for (i64 y = y0; y <= y1; ++y) {
        i64 ol, orr;
        if (!outer.span_at(y, pm.width, ol, orr)) continue;
        i64 il, ir;
        if (inner.span_at(y, pm.width, il, ir)) {
            if (paint.fill) span(pm, y, il, ir + 1, paint.brush_color);
            span(pm, y, ol, il, paint.pen_color);
            span(pm, y, ir + 1, orr + 1, paint.pen_color);
        } else {
            span(pm, y, ol, orr + 1, paint.pen_color);
        }
    }
}

// ---------------------------------------------------------------------------
// Polygon fill.

// floor(a * b / c) and the remainder, for a < c < 2^126 and b < 2^127.
void mul_div(u128 a, u128 b, u128 c, u128 &q, u128 &r) {
    q = 0;
    r = 0;
    int bit = 127;
    while (bit >= 0 && ((b >> bit) & 1) == 0) --bit;
    for (; bit >= 0; --bit) {
        q <<= 1;
        r <<= 1;
        if (r >= c) {
            r -= c;
            q += 1;
        }
        if ((b >> bit) & 1) {
            r += a;
            if (r >= c) {
                r -= c;
                q += 1;
            }
        }
    }
}

// An edge crossing rows [y_first, y_end). At the current row the crossing's
// pixel threshold (the first pixel whose centre is at or right of the edge)
// is base + (rem > 0), with 0 <= rem < den.
struct PolyEdge {
    i64 y_first, y_end;
    i128 base, rem, den, step_q, step_r;
};

// Sets up edge (xa, ya) -> (xb, yb), ya < yb, at row s (ya <= s < yb).
// The crossing of row s is at x = xa + (s - ya) dx / dy, and the threshold
// is xa + ceil(N / den) with N = (s - ya) dx and den = dy.
PolyEdge make_edge(i64 xa, i64 ya, i64 xb, i64 yb, i64 s) {
    PolyEdge e;
    e.y_first = s;
    e.y_end = yb;
    const i128 dx = static_cast<i128>(xb) - xa;
    const i128 den = static_cast<i128>(yb) - ya;
    const i128 t = static_cast<i128>(s) - ya;  // 0 <= t < den
    i128 f, rem;
    if (den < (i128(1) << 62)) {
        const i128 num = t * dx;  // |num| < 2^62 * 2^64
        f = floor_div(num, den);
        rem = num - f * den;
    } else {
        u128 q, r;
        mul_div(static_cast<u128>(t), static_cast<u128>(abs128(dx)), static_cast<u128>(den), q, r);
        f = static_cast<i128>(q);
        rem = static_cast<i128>(r);
        if (dx < 0) {
            f = -f;
            rem = -rem;
            if (rem < 0) {
                rem += den;
                --f;
            }
        }
    }
    e.base = static_cast<i128>(xa) + f;
    e.rem = rem;
    e.den = den;
    e.step_q = floor_div(dx, den);
    e.step_r = dx - e.step_q * den;
    return e;
}

void fill_polygon(const Pixmap &pm, u32 color, const Point64 *pts, int count) {
    i64 ymin = pts[0].y, ymax = pts[0].y;
    for (int k = 1; k < count; ++k) {
        ymin = std::min(ymin, pts[k].y);
        ymax = std::max(ymax, pts[k].y);
    }
    const i64 row0 = std::max<i64>(ymin, 0);
    const i64 row1 = std::min<i64>(ymax, pm.height);  // exclusive
    if (row0 >= row1) return;

    constexpr int kInline = 16;
    PolyEdge inline_edges[kInline];
    i64 inline_xs[kInline];
    std::vector<PolyEdge> heap_edges;
    std::vector<i64> heap_xs;
    PolyEdge *edges = inline_edges;
    i64 *xs = inline_xs;
    if (count > kInline) {
        heap_edges.resize(static_cast<std::size_t>(count));
        heap_xs.resize(static_cast<std::size_t>(count));
        edges = heap_edges.data();
        xs = heap_xs.data();
    }
    int ne = 0;
    for (int k = 0; k < count; ++k) {
        const Point64 &p = pts[k];
        const Point64 &q = pts[k + 1 == count ? 0 : k + 1];
        if (p.y == q.y) continue;
        const Point64 &a = p.y < q.y ? p : q;
        const Point64 &b = p.y < q.y ? q : p;
        if (b.y <= row0 || a.y >= row1) continue;
        edges[ne++] = make_edge(a.x, a.y, b.x, b.y, std::max(a.y, row0));
    }
    for (i64 y = row0; y < row1; ++y) {
        int nx = 0;
        for (int k = 0; k < ne; ++k) {
            PolyEdge &e = edges[k];
            if (y < e.y_first || y >= e.y_end) continue;
            xs[nx++] = clamp_i64(e.base + (e.rem > 0 ? 1 : 0), 0, pm.width);
            e.base += e.step_q;
            e.rem += e.step_r;
            if (e.rem >= e.den) {
                e.rem -= e.den;
                e.base += 1;
            }
        }
        for (int i = 1; i < nx; ++i) {  // insertion sort: few crossings per row
            const i64 v = xs[i];
            int j = i - 1;
            while (j >= 0 && xs[j] > v) {
                xs[j + 1] = xs[j];
                --j;
            }
            xs[j + 1] = v;
        }
        for (int i = 0; i + 1 < nx; i += 2) span(pm, y, xs[i], xs[i + 1], color);
    }
}

}  // namespace

// ---------------------------------------------------------------------------

void fill_span(const Pixmap &pm, std::int64_t y, std::int64_t x0, std::int64_t x1, std::uint32_t color) {
    if (!usable(pm) || y < 0 || y >= pm.height) return;
    span(pm, y, x0, x1, color);
}

void fill_rect(const Pixmap &pm, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
               std::uint32_t color) {
    if (!usable(pm)) return;
    const i64 y0 = std::max<i64>(top, 0), y1 = std::min<i64>(bottom, pm.height);
    const i64 x0 = std::max<i64>(left, 0), x1 = std::min<i64>(right, pm.width);
    if (x0 >= x1) return;
    for (i64 y = y0; y < y1; ++y) std::fill_n(row_at(pm, y) + x0, static_cast<std::ptrdiff_t>(x1 - x0), color);
}

void set_pixel(const Pixmap &pm, std::int64_t x, std::int64_t y, std::uint32_t color) {
    if (!usable(pm) || x < 0 || y < 0 || x >= pm.width || y >= pm.height) return;
    row_at(pm, y)[x] = color;
}

void draw_line(const Pixmap &pm, int width, std::uint32_t color, std::int64_t x0, std::int64_t y0, std::int64_t x1,
               std::int64_t y1) {
    if (!usable(pm)) return;
    line_any(pm, pen_width(width), color, x0, y0, x1, y1);
}

void draw_rectangle(const Pixmap &pm, const Paint &paint, std::int64_t left, std::int64_t top, std::int64_t right,
                    std::int64_t bottom) {
    if (!usable(pm)) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (left == right || top == bottom) return;
    // From here right > left and bottom > top, so right - 1 and bottom - 1
    // cannot overflow.
    const int w = pen_width(paint.pen_width);
    if (paint.stroke && w <= 1) {
        if (paint.fill) fill_rect(pm, left + 1, top + 1, right - 1, bottom - 1, paint.brush_color);
        const u32 c = paint.pen_color;
        fill_rect(pm, left, top, right, top + 1, c);
        if (bottom - 1 > top) fill_rect(pm, left, bottom - 1, right, bottom, c);
        fill_rect(pm, left, top + 1, left + 1, bottom - 1, c);
        if (right - 1 > left) fill_rect(pm, right - 1, top + 1, right, bottom - 1, c);
        return;
    }
    if (paint.fill) fill_rect(pm, left, top, right, bottom, paint.brush_color);
    if (!paint.stroke) return;
    const i64 r = right - 1, b = bottom - 1;
    wide_line(pm, w, paint.pen_color, left, top, r, top);
    wide_line(pm, w, paint.pen_color, r, top, r, b);
    wide_line(pm, w, paint.pen_color, r, b, left, b);
    wide_line(pm, w, paint.pen_color, left, b, left, top);
}

void draw_ellipse(const Pixmap &pm, const Paint &paint, std::int64_t left, std::int64_t top, std::int64_t right,
                  std::int64_t bottom) {
    if (!usable(pm)) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (left == right || top == bottom) return;
    const i128 cx = static_cast<i128>(left) + right, cy = static_cast<i128>(top) + bottom;
    const i128 ax = static_cast<i128>(right) - left, ay = static_cast<i128>(bottom) - top;
    const Ellipse figure(cx, cy, ax, ay);
    if (!paint.stroke) {
        if (paint.fill) fill_figure(pm, figure, paint.brush_color);
        return;
    }
    const int w = pen_width(paint.pen_width);
    if (w <= 1) {
        ellipse_thin(pm, figure, paint);
        return;
    }
    ellipse_wide(pm, Ellipse(cx, cy, ax + w, ay + w), Ellipse(cx, cy, ax - w, ay - w), paint);
}

void draw_polygon(const Pixmap &pm, const Paint &paint, const Point64 *points, int count) {
    if (!usable(pm) || points == nullptr || count <= 0) return;
    if (paint.fill) fill_polygon(pm, paint.brush_color, points, count);
    if (!paint.stroke) return;
    const int w = pen_width(paint.pen_width);
    for (int k = 0; k < count; ++k) {
        const Point64 &p = points[k];
        const Point64 &q = points[k + 1 == count ? 0 : k + 1];
        line_any(pm, w, paint.pen_color, p.x, p.y, q.x, q.y);
    }
}

void scroll_vertical(const Pixmap &pm, std::int64_t dy) {
    if (!usable(pm) || dy == 0 || dy >= pm.height || dy <= -static_cast<i64>(pm.height)) return;
    const std::size_t bytes = static_cast<std::size_t>(pm.width) * sizeof(u32);
    const i64 h = pm.height;
    if (dy > 0) {
        for (i64 y = 0; y + dy < h; ++y) std::memmove(row_at(pm, y), row_at(pm, y + dy), bytes);
    } else {
        for (i64 y = h - 1; y + dy >= 0; --y) std::memmove(row_at(pm, y), row_at(pm, y + dy), bytes);
    }
}

}  // namespace zemka::raster
