// The radio navigation symbols: the ADF pointer, the second station's pointer, the course arrow with
// its deviation bar or cross, deviation dots and TO/FROM triangle, and the glideslope scale at the
// right edge. Pointers and the course group turn about the compass centre.
#include "nd_numbers.h"
#include "nd_render.h"

#define NAV_FLAG_NO_RECEIVER 0x08
#define TO_FROM_BIT 0x04
// Lateral deviation per pixel of radius: 350 units span the radius.
#define DEVIATION_UNITS_PER_RADIUS 350
#define DEVIATION_DOT_UNITS 64
#define CROSS_THRESHOLD 30
#define GLIDESLOPE_PIXELS_PER_UNIT 0.23333333333333334

static bool receiver_shown(const ModuleVar& flags, const ModuleVar& ident) {
    return (integer_of(flags) & NAV_FLAG_NO_RECEIVER) == 0 && text_of(ident)[0] != '\0';
}

// An arrowhead on the circle at the station's relative bearing with a shaft over the outer third of
// the radius, and a forked tail on the opposite side.
void draw_adf_pointer(void) {
    if (number_of(mv_adf_active) == 0) return;
    const CompassFrame c = compass_frame();
    const double angle = degrees_to_radians(-number_of(mv_adf_bearing));
    POINT head[] = {
        screen_point(c.cx - 3, c.cy - c.r + 5), screen_point(c.cx, c.cy - c.r), screen_point(c.cx, c.cy + 2 * c.r / -3),
        screen_point(c.cx, c.cy - c.r),         screen_point(c.cx + 3, c.cy - c.r + 6),
    };
    POINT tail[] = {
        screen_point(c.cx - 3, c.cy + c.r + 5), screen_point(c.cx, c.cy + c.r), screen_point(c.cx, c.cy + 2 * c.r / 3),
        screen_point(c.cx, c.cy + c.r),         screen_point(c.cx + 3, c.cy + c.r + 6),
    };
    select_pen(ND_ADF_AMBER);
    draw_rotated(head, 5, angle);
    draw_rotated(tail, 5, angle);
}

// A double pointer: two parallel lines over the outer third of the radius, pointed at the circle on
// the station's side and joined by a V on the other.
void draw_nav2_pointer(void) {
    if (!receiver_shown(mv_nav2_flags, mv_nav2_ident)) return;
    const CompassFrame c = compass_frame();
    const double angle = degrees_to_radians(-number_of(mv_nav2_bearing));
    POINT head[] = {
        screen_point(c.cx - 3, c.cy + 2 * c.r / -3), screen_point(c.cx - 3, c.cy - c.r + 5), screen_point(c.cx, c.cy - c.r),
        screen_point(c.cx + 3, c.cy - c.r + 5),      screen_point(c.cx + 3, c.cy + 2 * c.r / -3 + 1),
    };
    POINT tail[] = {
        screen_point(c.cx - 3, c.cy + c.r),     screen_point(c.cx - 3, c.cy + 2 * c.r / 3),
        screen_point(c.cx, c.cy + 2 * c.r / 3 - 5), screen_point(c.cx + 3, c.cy + 2 * c.r / 3),
        screen_point(c.cx + 3, c.cy + c.r + 1),
    };
    select_pen(ND_NAV2_YELLOW);
    draw_rotated(head, 5, angle);
    draw_rotated(tail, 5, angle);
}

// A rectangle parallel to the course, shifted sideways by the deviation; or, when the receiver
// says so, a cross through the centre instead.
static void draw_deviation_bar(const CompassFrame& c, double angle) {
    select_pen(ND_DEVIATION_MAGENTA);
    if (number_of(mv_cdi_cross) * 0.001 >= CROSS_THRESHOLD) {
        POINT cross[] = {
            screen_point(c.cx - 3, c.cy - 18), screen_point(c.cx + 3, c.cy + 18), screen_point(c.cx, c.cy),
            screen_point(c.cx - 3, c.cy + 18), screen_point(c.cx + 3, c.cy - 18),
        };
        draw_rotated(cross, 5, angle);
        return;
    }
    const int64_t x = c.cx + static_cast<int64_t>(truncate_to_int(number_of(mv_nav1_deviation))) * c.r / DEVIATION_UNITS_PER_RADIUS;
    POINT bar[] = {
        screen_point(x - 3, c.cy - 18), screen_point(x - 3, c.cy + 18), screen_point(x + 3, c.cy + 18),
        screen_point(x + 3, c.cy - 18), screen_point(x - 3, c.cy - 18),
    };
    draw_rotated(bar, 5, angle);
}

// Dots at one and two dot-widths of deviation on either side of the centre, across the course.
static void draw_deviation_dots(const CompassFrame& c, double angle) {
    select_pen(ND_DOTS_WHITE);
    for (int i = 0; i <= 4; ++i) {
        if (i == 2) continue;
        POINT dot = screen_point(c.cx + (i - 2) * c.r * DEVIATION_DOT_UNITS / DEVIATION_UNITS_PER_RADIUS, c.cy);
        rotate_point(&dot, rose_centre_x, rose_centre_y, angle);
        draw_circle(dot.x, dot.y, 3, CIRCLE_FROM_LEFT);
    }
}

// At the lower left, not turned: apex down for TO, up for FROM.
static void draw_to_from(void) {
    const int64_t base = static_cast<int64_t>(screen_height) - 5 * static_cast<int64_t>(text_height_medium);
    const int64_t d = (integer_of(mv_nav1_to_from) & TO_FROM_BIT) != 0 ? 8 : -8;
    const POINT triangle[] = {screen_point(2, base), screen_point(8, base), screen_point(5, base + d), screen_point(2, base)};
    draw_filled(triangle, 4, ND_TO_FROM_CYAN, screen_point(5, base + d - d / 2));
}

// The course arrow always; the deviation group only while the first receiver has a station.
void draw_course_and_deviation(void) {
    const CompassFrame c = compass_frame();
    const double angle = degrees_to_radians(number_of(mv_heading) - number_of(mv_nav1_course));
    POINT head[] = {
        screen_point(c.cx, c.cy - c.r),     screen_point(c.cx, c.cy - 30),     screen_point(c.cx - 3, c.cy - 24),
        screen_point(c.cx - 3, c.cy - 19), screen_point(c.cx + 3, c.cy - 19), screen_point(c.cx + 3, c.cy - 24),
        screen_point(c.cx, c.cy - 30),
    };
    POINT tail[] = {
        screen_point(c.cx, c.cy + 38),     screen_point(c.cx, c.cy + 28),     screen_point(c.cx - 3, c.cy + 28),
        screen_point(c.cx - 3, c.cy + 19), screen_point(c.cx + 3, c.cy + 19), screen_point(c.cx + 3, c.cy + 28),
        screen_point(c.cx, c.cy + 28),
    };
    select_pen(ND_NAV1_CYAN);
    draw_rotated(head, 7, angle);
    draw_rotated(tail, 7, angle);

    if (!receiver_shown(mv_nav1_flags, mv_nav1_ident)) return;
    draw_deviation_bar(c, angle);
    draw_deviation_dots(c, angle);
    draw_to_from();
}

// A vertical scale at the right edge, cleared first, with a diamond that moves down for positive
// deviations and is not held to the scale.
void draw_glideslope_scale(void) {
    if (number_of(mv_glideslope_active) == 0) return;
    const int64_t w = screen_width;
    const int64_t middle = screen_height / 2;
    const RECT side_scale_rect = {clamp_to_int(w - 8), clamp_to_int(middle - 34), clamp_to_int(w), clamp_to_int(middle + 34)};
    clear_surface(side_scale_rect);

    select_pen(ND_SCALE_WHITE);
    MoveToEx(nd_dc, clamp_to_int(w), clamp_to_int(middle), nullptr);
    LineTo(nd_dc, clamp_to_int(w - 6), clamp_to_int(middle));
    const int dot_offsets[] = {-28, -14, 14, 28};
    for (int offset : dot_offsets) draw_circle(w - 3, middle + offset, 3, CIRCLE_FROM_RIGHT);

    const int64_t y = middle + truncate_to_int(number_of(mv_glideslope_deviation) * GLIDESLOPE_PIXELS_PER_UNIT);
    const POINT diamond[] = {
        screen_point(w, y), screen_point(w - 3, y + 6), screen_point(w - 6, y), screen_point(w - 3, y - 6), screen_point(w, y),
    };
    draw_filled(diamond, 5, ND_ILS_MAGENTA, screen_point(w - 3, y));
}
