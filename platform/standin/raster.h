// The pixel rules of GDI's figures, on a canvas. Every routine clips to the canvas: it sets exactly
// those pixels of the unclipped figure that lie inside.
#ifndef STANDIN_RASTER_H
#define STANDIN_RASTER_H

#include <cstdint>

#include "canvas.h"

namespace standin {

// Coordinates that GDI accepts: 27 bits and a sign, as on Windows NT.
constexpr long long kCoordinateLimit = 1LL << 27;
inline bool coordinate_ok(long long value) { return value >= -kCoordinateLimit && value <= kCoordinateLimit; }

// A line from (x0, y0) towards (x1, y1), the end point left out: one pixel per step along the major
// axis; across it the pixel nearest the true line, a tie going to the smaller coordinate. The same
// pixels light whichever way the line is drawn (apart from the end that is left out).
void draw_segment(Canvas& canvas, long long x0, long long y0, long long x1, long long y1, uint32_t pixel);

// Largest width and height of an arc's bounding box, as GDI has always limited them.
constexpr long long kLargestArcBox = 32767;

// The outline of the ellipse inscribed in the pixels left..right-1 and top..bottom-1 (GDI leaves
// out the right and bottom edges of a box), from the radial through (x_start, y_start) round
// counterclockwise, as seen on the screen, to the radial through (x_end, y_end); equal radials
// give the whole ellipse. The outline is 8-connected and symmetric about both axes of the ellipse.
// false when the box is empty or too large.
bool draw_arc(Canvas& canvas, long long left, long long top, long long right, long long bottom, long long x_start,
              long long y_start, long long x_end, long long y_end, uint32_t pixel);

// Fills the 4-connected area around (x, y): with `border` set, up to pixels of the colour `bound`;
// otherwise the pixels of colour `bound`. Colours compare as Canvas::colour_bits. false, filling
// nothing, when the seed is outside the canvas or is itself a border pixel (or, without `border`,
// not of the colour).
bool flood_fill(Canvas& canvas, int x, int y, uint32_t bound, bool border, uint32_t pixel);

}  // namespace standin

#endif
