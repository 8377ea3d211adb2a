// Drawing primitives of the pass: pens, circles, paths, filled symbols and texts on nd_dc.
#include <string.h>

#include "nd_render.h"

CompassFrame compass_frame(void) { return CompassFrame{rose_centre_x, rose_centre_y, rose_radius}; }

void select_pen(int colour) { SelectObject(nd_dc, nd_pens[colour]); }

void draw_circle(int64_t x, int64_t y, int64_t radius, CircleStart start) {
    const int left = clamp_to_int(x - radius);
    const int right = clamp_to_int(x + radius);
    const int start_x = start == CIRCLE_FROM_LEFT ? left : right;
    const int start_y = clamp_to_int(y);
    Arc(nd_dc, left, clamp_to_int(y - radius), right, clamp_to_int(y + radius), start_x, start_y, start_x, start_y);
}

void draw_path(const POINT* points, int count) { Polyline(nd_dc, points, count); }

void draw_rotated(POINT* points, int count, double angle) {
    rotate_points(points, count, rose_centre_x, rose_centre_y, angle);
    draw_path(points, count);
}

void draw_filled(const POINT* outline, int count, int colour, POINT seed) {
    select_pen(colour);
    draw_path(outline, count);
    SelectObject(nd_dc, nd_brushes[colour]);
    ExtFloodFill(nd_dc, seed.x, seed.y, nd_colours[colour], FLOODFILLBORDER);
}

void draw_text(int64_t x, int64_t y, const char* text) {
    TextOutA(nd_dc, clamp_to_int(x), clamp_to_int(y), text, static_cast<int>(strlen(text)));
}

void copy_text(char* buffer, size_t size, const char* text, size_t max_bytes) {
    size_t length = 0;
    while (length + 1 < size && length < max_bytes && text[length] != '\0') ++length;
    memcpy(buffer, text, length);
    buffer[length] = '\0';
}
