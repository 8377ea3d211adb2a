#include "nd_geometry.h"

#include <math.h>

#include "nd_numbers.h"

double degrees_to_radians(double degrees) { return degrees * ND_PI * ND_ONE_180TH; }

int clamp_to_int(int64_t value) {
    if (value < INT_MIN) return INT_MIN;
    if (value > INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

POINT screen_point(int64_t x, int64_t y) { return POINT{clamp_to_int(x), clamp_to_int(y)}; }

void rotate_point(POINT* point, int centre_x, int centre_y, double angle) {
    if (point->x == centre_x && point->y == centre_y) return;
    const double dx = static_cast<double>(point->x) - centre_x;
    const double dy = static_cast<double>(centre_y) - point->y;  // upwards positive
    const double distance = sqrt(dx * dx + dy * dy);
    // A point on the centre's row counts as above it: to the left it starts at pi, not -pi.
    const double start = dy >= 0 ? acos(dx / distance) : -acos(dx / distance);
    const double turned = start + angle;
    const int tenths = truncate_to_int(10 * distance);
    const int cosine = truncate_to_int(1000 * cos(turned));
    const int sine = truncate_to_int(1000 * sin(turned));
    *point = screen_point(static_cast<int64_t>(centre_x) + MulDiv(tenths, cosine, 10000),
                          static_cast<int64_t>(centre_y) - MulDiv(tenths, sine, 10000));
}

void rotate_points(POINT* points, int count, int centre_x, int centre_y, double angle) {
    for (int i = 0; i < count; ++i) rotate_point(&points[i], centre_x, centre_y, angle);
}

POINT polar_point(int64_t centre_x, int64_t centre_y, int64_t radius, double angle) {
    return screen_point(centre_x + truncate_to_int(static_cast<double>(radius) * cos(angle)),
                        centre_y - truncate_to_int(static_cast<double>(radius) * sin(angle)));
}
