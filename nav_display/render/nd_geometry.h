// The display's geometry: screen points, angles, the one rotation with which every turning symbol
// is placed, and placement by radius and angle. Screen frame: origin at the top left, x to the
// right, y down; screen angles count counterclockwise from +x, 90 degrees pointing up.
#ifndef NAV_DISPLAY_ND_GEOMETRY_H
#define NAV_DISPLAY_ND_GEOMETRY_H

#include <stdint.h>

#include "win32.h"

// Degrees become radians by these two factors, in this order, so that every angle on the display
// comes out the same to the last bit.
#define ND_PI 3.14159265359
#define ND_ONE_180TH 0.005555555555555556

double degrees_to_radians(double degrees);

// Coordinates are worked out in 64 bits and held within int: no input can overflow them, and a
// coordinate that far out is clipped away by GDI like any other outside the picture.
int clamp_to_int(int64_t value);
POINT screen_point(int64_t x, int64_t y);

// Turns the point about the centre by angle radians, counterclockwise on the screen, in whole
// pixels: the distance in tenths of a pixel and the cosine and sine in thousandths, scaled by
// MulDiv. The centre itself stays where it is.
void rotate_point(POINT* point, int centre_x, int centre_y, double angle);
void rotate_points(POINT* points, int count, int centre_x, int centre_y, double angle);

// The point at distance radius and screen angle angle (radians) from the centre, each coordinate
// truncated on its own.
POINT polar_point(int64_t centre_x, int64_t centre_y, int64_t radius, double angle);

#endif
