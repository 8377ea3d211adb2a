#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace standin {

namespace {

long long floor_div(long long a, long long b) {  // b > 0
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The pixels across the major axis, step by step along it: at `step` pixels along, step * minor /
// major rounded to the nearest integer, an exact half going to the smaller one. That is the floor of
// (2 * step * minor + major - 1) / (2 * major), kept as quotient and remainder so that a step costs
// no division.
class Across {
public:
    Across(long long first_step, long long minor, long long major) {
        if (major < 0) {
            major = -major;
            minor = -minor;
        }
        divisor_ = 2 * major;
        const long long numerator = 2 * first_step * minor + major - 1;
        quotient_ = floor_div(numerator, divisor_);
        remainder_ = numerator - quotient_ * divisor_;
        step_quotient_ = floor_div(2 * minor, divisor_);
        step_remainder_ = 2 * minor - step_quotient_ * divisor_;
    }

    long long value() const { return quotient_; }

    void next() {
        quotient_ += step_quotient_;
        remainder_ += step_remainder_;
        if (remainder_ >= divisor_) {
            remainder_ -= divisor_;
            ++quotient_;
        }
    }

private:
    long long divisor_;
    long long quotient_;
    long long remainder_;  // 0 <= remainder_ < divisor_
    long long step_quotient_;
    long long step_remainder_;
};

long long isqrt(long long n) {
    if (n <= 0) return 0;
    long long root = static_cast<long long>(std::sqrt(static_cast<double>(n)));
    while (root * root > n) --root;
    while ((root + 1) * (root + 1) <= n) ++root;
    return root;
}

// Ellipse offsets are in half pixels from the centre (the centre of an even-sized box lies between
// pixels): u along one axis, whose semi-axis is p, gives the offset along the other axis, whose
// semi-axis is q, that lies nearest the ellipse u²/p² + v²/q² = 1 (the smaller one when two are
// equally near). Offsets along an axis have the parity of its semi-axis.
long long nearest_offset(long long u, long long p, long long q) {
    const long long p2 = p * p;
    const long long q2 = q * q;
    long long v = isqrt(q2 * (p2 - u * u) / p2);
    if ((v - q) % 2 != 0) --v;
    const auto error = [&](long long w) { return std::llabs(u * u * q2 + w * w * p2 - p2 * q2); };
    if (v < 0) return v + 2;
    if (v + 2 <= q && error(v + 2) < error(v)) return v + 2;
    return v;
}

// The part of the ellipse between two radials, counterclockwise on the screen from the first.
// Vectors are in half pixels with y upwards.
class Sweep {
public:
    Sweep(long long start_x, long long start_y, long long end_x, long long end_y) {
        shrink(start_x, start_y);
        shrink(end_x, end_y);
        sx_ = start_x;
        sy_ = start_y;
        ex_ = end_x;
        ey_ = end_y;
        turn_ = cross(sx_, sy_, ex_, ey_);
        whole_ = turn_ == 0 && sx_ * ex_ + sy_ * ey_ > 0;
    }

    bool contains(long long x, long long y) const {
        if (whole_) return true;
        if (turn_ > 0) return cross(sx_, sy_, x, y) >= 0 && cross(x, y, ex_, ey_) >= 0;
        if (turn_ < 0) return !(cross(ex_, ey_, x, y) > 0 && cross(x, y, sx_, sy_) > 0);
        return cross(sx_, sy_, x, y) >= 0;  // half a turn
    }

private:
    static long long cross(long long ax, long long ay, long long bx, long long by) { return ax * by - ay * bx; }

    // Only the direction matters: keep the products small. A radial of no length points right.
    static void shrink(long long& x, long long& y) {
        if (x == 0 && y == 0) x = 1;
        while (std::llabs(x) > (1LL << 24) || std::llabs(y) > (1LL << 24)) {
            x /= 2;
            y /= 2;
        }
    }

    long long sx_, sy_, ex_, ey_;
    long long turn_;  // of the end radial from the start radial
    bool whole_;
};

}  // namespace

void draw_segment(Canvas& canvas, long long x0, long long y0, long long x1, long long y1, uint32_t pixel) {
    const long long dx = x1 - x0;
    const long long dy = y1 - y0;
    if (dx == 0 && dy == 0) return;
    if (std::llabs(dx) >= std::llabs(dy)) {
        const long long last = x1 - (dx > 0 ? 1 : -1);
        const long long from = std::max(std::min(x0, last), 0LL);
        const long long to = std::min(std::max(x0, last), static_cast<long long>(canvas.width()) - 1);
        Across across(from - x0, dy, dx);
        const PixelView view = canvas.view();
        for (long long x = from; x <= to; ++x, across.next()) view.put_clipped(x, y0 + across.value(), pixel);
    } else {
        const long long last = y1 - (dy > 0 ? 1 : -1);
        const long long from = std::max(std::min(y0, last), 0LL);
        const long long to = std::min(std::max(y0, last), static_cast<long long>(canvas.height()) - 1);
        Across across(from - y0, dx, dy);
        const PixelView view = canvas.view();
        for (long long y = from; y <= to; ++y, across.next()) view.put_clipped(x0 + across.value(), y, pixel);
    }
}

bool draw_arc(Canvas& canvas, long long left, long long top, long long right, long long bottom, long long x_start,
              long long y_start, long long x_end, long long y_end, uint32_t pixel) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1 || right - left > kLargestArcBox || bottom - top > kLargestArcBox) {
        return false;
    }
    // Pixels left..last_x and top..last_y; the centre and the semi-axes in half pixels.
    const long long last_x = right - 1;
    const long long last_y = bottom - 1;
    const long long a = last_x - left;
    const long long b = last_y - top;
    const long long cx2 = left + last_x;
    const long long cy2 = top + last_y;
    const PixelView view = canvas.view();

    if (a == 0 || b == 0) {  // a box one pixel wide or high: a straight line, whatever the radials
        for (long long y = top; y <= last_y; ++y) {
            for (long long x = left; x <= last_x; ++x) view.put_clipped(x, y, pixel);
        }
        return true;
    }

    const Sweep sweep(2 * x_start - cx2, cy2 - 2 * y_start, 2 * x_end - cx2, cy2 - 2 * y_end);
    const auto plot = [&](long long u, long long v) {  // one point of the quadrant, mirrored to all four
        for (const long long x2 : {u, -u}) {
            for (const long long y2 : {v, -v}) {
                if (sweep.contains(x2, -y2)) view.put_clipped((cx2 + x2) / 2, (cy2 + y2) / 2, pixel);
                if (v == 0) break;
            }
            if (u == 0) break;
        }
    };
    // One quadrant as a walk from the top of the ellipse to its right end, one pixel a step (steps
    // are 2 in half pixels), so that the outline is connected. Where the outline is flatter than 45
    // degrees every step goes right and the pixel below is taken when the ellipse passes below the
    // midpoint; where it is steeper every step goes down and the pixel to the right is taken when the
    // ellipse passes right of the midpoint. A midpoint on the ellipse takes the outer pixel.
    const long long a2 = a * a;
    const long long b2 = b * b;
    const auto outside = [&](long long u, long long v) { return u * u * b2 + v * v * a2 - a2 * b2; };
    const long long lowest_v = b % 2;
    long long u = a % 2;
    long long v = nearest_offset(u, a, b);
    while (b2 * u < a2 * v && u + 2 <= a) {
        plot(u, v);
        if (v - 2 >= lowest_v && outside(u + 2, v - 1) > 0) v -= 2;
        u += 2;
    }
    while (true) {
        plot(u, v);
        if (v - 2 < lowest_v) break;
        if (u + 2 <= a && outside(u + 1, v - 2) <= 0) u += 2;
        v -= 2;
    }
    return true;
}

bool flood_fill(Canvas& canvas, int x, int y, uint32_t bound, bool border, uint32_t pixel) {
    if (!canvas.contains(x, y)) return false;
    bound = canvas.colour_bits(bound);
    const auto fillable = [&](int px, int py) {
        const uint32_t colour = canvas.colour_bits(canvas.get(px, py));
        return border ? colour != bound : colour == bound;
    };
    if (!fillable(x, y)) return false;

    const int width = canvas.width();
    const int height = canvas.height();
    // One mark a pixel of the canvas, all clear between fills: each fill clears only the runs it
    // marked, so that a small fill costs no more than its area. Calls are serialized by the
    // stand-in's lock.
    static std::vector<uint8_t> filled;
    if (filled.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) {
        filled.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    }
    const auto at = [&](int px, int py) -> uint8_t& {
        return filled[static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px)];
    };
    // Runs of a row are filled whole; the rows above and below are seeded once per run.
    struct Run {
        int y, first, last;
    };
    std::vector<Run> runs;
    std::vector<std::pair<int, int>> seeds{{x, y}};
    while (!seeds.empty()) {
        const auto [sx, sy] = seeds.back();
        seeds.pop_back();
        if (at(sx, sy) || !fillable(sx, sy)) continue;
        int first = sx;
        while (first > 0 && !at(first - 1, sy) && fillable(first - 1, sy)) --first;
        int last = sx;
        while (last < width - 1 && !at(last + 1, sy) && fillable(last + 1, sy)) ++last;
        for (int px = first; px <= last; ++px) at(px, sy) = 1;
        runs.push_back(Run{sy, first, last});
        for (const int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= height) continue;
            bool in_run = false;
            for (int px = first; px <= last; ++px) {
                const bool open = !at(px, ny) && fillable(px, ny);
                if (open && !in_run) seeds.emplace_back(px, ny);
                in_run = open;
            }
        }
    }
    // Painted afterwards, so that the fill colour never changes which pixels are fillable.
    for (const Run& run : runs) {
        canvas.fill_span(run.y, run.first, run.last + 1, pixel);
        std::fill(&at(run.first, run.y), &at(run.last, run.y) + 1, 0);
    }
    return true;
}

}  // namespace standin
