// The heading part of the picture: compass circle, aircraft symbol, compass card with its marks and
// labels, heading box with the heading in digits, and the selected-heading marker.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include "nd_numbers.h"
#include "nd_render.h"

// One lap of the card; further offsets would only paint the same marks again.
#define CARD_FULL_TURN 360

// The arc layout's circle; the rose is formed by its marks alone.
void draw_compass_circle(void) {
    if (nd_mode == 0) return;
    const CompassFrame c = compass_frame();
    select_pen(ND_WHITE);
    draw_circle(c.cx, c.cy, c.r, CIRCLE_FROM_LEFT);
}

// A triangle whose apex is the compass centre.
void draw_aircraft_symbol(void) {
    const CompassFrame c = compass_frame();
    select_pen(ND_AIRCRAFT_GREEN);
    MoveToEx(nd_dc, clamp_to_int(c.cx), clamp_to_int(c.cy), nullptr);
    LineTo(nd_dc, clamp_to_int(c.cx + 3), clamp_to_int(c.cy + 8));
    LineTo(nd_dc, clamp_to_int(c.cx - 3), clamp_to_int(c.cy + 8));
    LineTo(nd_dc, clamp_to_int(c.cx), clamp_to_int(c.cy));
}

static void draw_line(POINT from, POINT to) {
    MoveToEx(nd_dc, from.x, from.y, nullptr);
    LineTo(nd_dc, to.x, to.y);
}

// Marks every ten degrees from the heading's last multiple of ten on, over half the card in the arc
// layout and all of it in the rose, labelled every thirty degrees in tens of degrees. Marks that
// would leave the picture at the sides are left out with their labels and half marks.
void draw_compass_card(void) {
    const CompassFrame c = compass_frame();
    const double heading = number_of(mv_heading);
    const int whole_heading = truncate_to_int(heading);
    // The part of the heading above its last multiple of ten (3.4 for 123.4).
    const double base = (whole_heading / -10) * 10 + heading;
    const int64_t span = (2 - static_cast<int64_t>(nd_mode)) * 180;
    const int64_t end = span < CARD_FULL_TURN ? span : CARD_FULL_TURN;

    select_pen(ND_WHITE);
    SelectObject(nd_dc, font_medium);
    SetTextColor(nd_dc, nd_colours[ND_WHITE]);
    SetTextAlign(nd_dc, TA_BASELINE | TA_CENTER);
    for (int offset = 0; offset < end; offset += 10) {
        const double angle = degrees_to_radians(base + offset);
        const int64_t x = truncate_to_int(static_cast<double>(c.r) * cos(angle));
        if (llabs(x) >= screen_width / 2) continue;
        draw_line(polar_point(c.cx, c.cy, c.r, angle), polar_point(c.cx, c.cy, c.r - 10, angle));

        int tens = whole_heading / 10 - offset / 10 + 9;  // the mark's compass value in tens
        if (tens < 0) tens += 36;
        if (tens >= 36) tens -= 36;
        if (tens % 3 == 0) {
            char label[ND_TEXT_BYTES];
            snprintf(label, sizeof label, "%d", tens);
            const POINT at = polar_point(c.cx, c.cy, c.r - 15, angle);
            draw_text(at.x, static_cast<int64_t>(at.y) + 4, label);
        }

        const double half = degrees_to_radians(base + offset + 5);
        draw_line(polar_point(c.cx, c.cy, c.r, half), polar_point(c.cx, c.cy, c.r - 5, half));
    }
}

// A box open at the top with a notch pointing down at the card, "HDG" to its left, "MAG" to its
// right and the heading in whole degrees inside.
void draw_heading_box(void) {
    const int64_t cx = rose_centre_x;
    const int64_t t = text_height_large;
    const POINT box[] = {
        screen_point(cx - t + 1, 2),     screen_point(cx - t + 1, t + 2), screen_point(cx - 3, t + 2),
        screen_point(cx, t + 5),         screen_point(cx + 3, t + 2),     screen_point(cx + t - 1, t + 2),
        screen_point(cx + t - 1, 1),
    };
    select_pen(ND_HEADING_GREEN);
    draw_path(box, 7);

    SelectObject(nd_dc, font_medium);
    SetTextColor(nd_dc, nd_colours[ND_HEADING_GREEN]);
    SetTextAlign(nd_dc, TA_RIGHT | TA_TOP);
    draw_text(cx - t, 0, "HDG");
    SetTextAlign(nd_dc, TA_LEFT | TA_TOP);
    draw_text(cx + t + 2, 0, "MAG");

    char digits[ND_TEXT_BYTES];
    snprintf(digits, sizeof digits, "%03d", round_to_int(number_of(mv_heading)));
    SelectObject(nd_dc, font_large);
    SetTextColor(nd_dc, nd_colours[ND_WHITE]);
    draw_text(cx - t + 3, 0, digits);
}

// Two uprights joined by a V pointing inwards, straddling the circle at the selected heading.
void draw_selected_heading(void) {
    const CompassFrame c = compass_frame();
    POINT marker[] = {
        screen_point(c.cx - 3, c.cy - c.r - 3), screen_point(c.cx - 3, c.cy - c.r + 2), screen_point(c.cx, c.cy - c.r + 5),
        screen_point(c.cx + 3, c.cy - c.r + 2), screen_point(c.cx + 3, c.cy - c.r - 4),
    };
    select_pen(ND_SELECTED_RED);
    draw_rotated(marker, 5, degrees_to_radians(number_of(mv_heading) - number_of(mv_selected_heading)));
}
