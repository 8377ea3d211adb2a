// The steps of the drawing pass and the drawing primitives they share. All of them draw into nd_dc
// with the layout of the moment: compass centre (rose_centre_x, rose_centre_y), radius rose_radius,
// picture size screen_width x screen_height.
#ifndef NAV_DISPLAY_ND_RENDER_H
#define NAV_DISPLAY_ND_RENDER_H

#include <stddef.h>

#include "nd_geometry.h"
#include "nd_state.h"

// Every formatted text of the pass goes through a buffer of this size; longer texts are cut to it.
#define ND_TEXT_BYTES 15

// Entries of nd_colours, nd_pens and nd_brushes, named by what they draw and the colour that the
// shipped table gives them.
enum NdColour {
    ND_HEADING_GREEN = 0,     // heading box, "HDG", "MAG"
    ND_WHITE = 1,             // compass card and circle, heading digits, wind
    ND_AIRCRAFT_GREEN = 2,
    ND_NAV1_CYAN = 3,         // course arrow, "VOR1" block
    ND_DEVIATION_MAGENTA = 4,
    ND_DOTS_WHITE = 5,
    ND_ILS_MAGENTA = 6,       // glideslope diamond, "ILS" line
    ND_SCALE_WHITE = 7,       // glideslope scale
    ND_DME_CYAN = 9,
    ND_SELECTED_RED = 10,
    ND_TO_FROM_CYAN = 11,
    ND_ADF_AMBER = 12,
    ND_NAV2_YELLOW = 13,
};

// Compass centre and radius as 64-bit values, so that sums of them cannot overflow.
struct CompassFrame {
    int64_t cx;
    int64_t cy;
    int64_t r;
};
CompassFrame compass_frame(void);

// Primitives.
void select_pen(int colour);
// A whole circle: Arc over its box, from a middle point of the box's left or right side round to the
// same point.
enum CircleStart { CIRCLE_FROM_LEFT, CIRCLE_FROM_RIGHT };
void draw_circle(int64_t x, int64_t y, int64_t radius, CircleStart start);
// The points as one open path in the current pen.
void draw_path(const POINT* points, int count);
// The points, each turned about the compass centre by angle radians, as one path.
void draw_rotated(POINT* points, int count, double angle);
// A closed outline in pen `colour`, filled from `seed` with the brush of that colour up to it.
void draw_filled(const POINT* outline, int count, int colour, POINT seed);
void draw_text(int64_t x, int64_t y, const char* text);

// The host variable as the pass reads it.
inline double number_of(const ModuleVar& var) { return var.value.number; }
inline int32_t integer_of(const ModuleVar& var) { return var.value.integer; }
// A null text is drawn as the empty one.
inline const char* text_of(const ModuleVar& var) { return var.value.text != nullptr ? var.value.text : ""; }
// At most max_bytes bytes of text, cut to the buffer, always terminated.
void copy_text(char* buffer, size_t size, const char* text, size_t max_bytes);

// Steps of the pass, in the order in which draw_nd runs them.
void draw_compass_circle(void);
void draw_aircraft_symbol(void);
void draw_compass_card(void);
void draw_heading_box(void);
void draw_wind(void);
void draw_adf_pointer(void);
void draw_nav1_lines(void);
void draw_nav2_pointer(void);
void draw_course_and_deviation(void);
void draw_station_blocks(void);
void draw_marker_letter(void);
void draw_glideslope_scale(void);
void draw_selected_heading(void);

#endif
