// The texts of the display: the wind with its arrow at the top left, the localizer frequency and the
// first DME at the top right, the station blocks along the bottom and the marker letter at the left
// edge. Every text is formatted or copied into a buffer of ND_TEXT_BYTES and cut to it.
#include <stdio.h>
#include <string.h>

#include "nd_numbers.h"
#include "nd_render.h"

#define NAV_FLAG_NO_RECEIVER 0x08
#define NAV_FLAG_DME 0x01
#define NAV1_FLAG_LOCALIZER 0x80
#define ADF_IDENT_SHOWN 5

// The marker letters keep these colours whatever the colour table says.
#define MARKER_OUTER_BLUE 0xFF0000
#define MARKER_MIDDLE_YELLOW 0x00FFFF
#define MARKER_INNER_WHITE 0xFFFFFF

static bool has_flag(const ModuleVar& flags, int32_t flag) { return (integer_of(flags) & flag) != 0; }

// Direction with a degree sign (0xB0 in the ANSI code page) and speed, both in whole numbers, and an
// arrow showing where the air moves to: upright it points down the picture, a wind from ahead.
void draw_wind(void) {
    char text[ND_TEXT_BYTES];
    snprintf(text, sizeof text, "%03d\xB0 / %d", round_to_int(number_of(mv_wind_direction)),
             round_to_int(number_of(mv_wind_speed)));
    SelectObject(nd_dc, font_medium);
    SetTextColor(nd_dc, nd_colours[ND_WHITE]);
    SetTextAlign(nd_dc, TA_LEFT | TA_TOP);
    draw_text(0, 4, text);

    if (number_of(mv_wind_speed) == 0) return;
    const int64_t m = text_height_medium;
    POINT arrow[] = {screen_point(10, m + 6), screen_point(10, m + 26), screen_point(7, m + 23)};
    const int centre_y = clamp_to_int(m + 16);
    rotate_points(arrow, 3, 10, centre_y, degrees_to_radians(number_of(mv_heading) - number_of(mv_wind_direction)));
    select_pen(ND_WHITE);
    draw_path(arrow, 3);
}

// The frequency's four BCD digits read as hexadecimal, with the point set before the last two.
// "ILS 1", at most eight digits, the point and the NUL fit the buffer.
static_assert(ND_TEXT_BYTES >= sizeof "ILS 1FFFFFF.FF", "frequency text");
static void format_frequency(char (&text)[ND_TEXT_BYTES]) {
    snprintf(text, sizeof text, "ILS 1%04X", static_cast<unsigned>(integer_of(mv_nav1_frequency)));
    const size_t length = strlen(text);
    memmove(text + length - 1, text + length - 2, 3);
    text[length - 2] = '.';
}

void draw_nav1_lines(void) {
    if (has_flag(mv_nav1_flags, NAV_FLAG_NO_RECEIVER)) return;
    const int64_t w = screen_width;
    const int64_t s = text_height_scaled;
    char text[ND_TEXT_BYTES];
    if (has_flag(mv_nav1_flags, NAV1_FLAG_LOCALIZER)) {
        format_frequency(text);
        SelectObject(nd_dc, font_scaled);
        SetTextColor(nd_dc, nd_colours[ND_ILS_MAGENTA]);
        SetTextAlign(nd_dc, TA_RIGHT | TA_TOP);
        draw_text(w, 4, text);
    }
    if (has_flag(mv_nav1_flags, NAV_FLAG_DME)) {
        SelectObject(nd_dc, font_scaled);
        SetTextColor(nd_dc, nd_colours[ND_DME_CYAN]);
        SetTextAlign(nd_dc, TA_LEFT | TA_TOP);
        snprintf(text, sizeof text, "DME %.1f", number_of(mv_dme1_distance));
        draw_text(w - 5 * s + 5, s + 4, text);
        snprintf(text, sizeof text, "KT %.f", number_of(mv_dme1_speed));
        draw_text(w - 4 * s + 5, 2 * s + 4, text);
    }
}

// Drawn while the text background is opaque: each text blanks what lies under it.
void draw_station_blocks(void) {
    const int64_t w = screen_width;
    const int64_t h = screen_height;
    const int64_t m = text_height_medium;
    char text[ND_TEXT_BYTES];

    copy_text(text, sizeof text, text_of(mv_nav1_ident), sizeof text);
    if (!has_flag(mv_nav1_flags, NAV_FLAG_NO_RECEIVER) && text[0] != '\0') {
        SelectObject(nd_dc, font_medium);
        SetTextColor(nd_dc, nd_colours[ND_NAV1_CYAN]);
        SetTextAlign(nd_dc, TA_BASELINE | TA_LEFT);
        draw_text(0, h - 3 * m, "VOR1");
        draw_text(0, h - 2 * m, text);
    }

    copy_text(text, sizeof text, text_of(mv_nav2_ident), sizeof text);
    if (!has_flag(mv_nav2_flags, NAV_FLAG_NO_RECEIVER) && text[0] != '\0') {
        SelectObject(nd_dc, font_medium);
        SetTextColor(nd_dc, nd_colours[ND_NAV2_YELLOW]);
        SetTextAlign(nd_dc, TA_BASELINE | TA_RIGHT);
        draw_text(w, h - 3 * m, "VOR2");
        draw_text(w, h - 2 * m, text);
        if (has_flag(mv_nav2_flags, NAV_FLAG_DME)) {
            SelectObject(nd_dc, font_scaled);
            SetTextColor(nd_dc, nd_colours[ND_NAV2_YELLOW]);
            SetTextAlign(nd_dc, TA_BASELINE | TA_RIGHT);
            draw_text(w, h - m, "DME2");
            snprintf(text, sizeof text, "%.1f", number_of(mv_dme2_distance));
            draw_text(w, h, text);
        }
    }

    if (number_of(mv_adf_active) != 0) {
        SelectObject(nd_dc, font_medium);
        SetTextColor(nd_dc, nd_colours[ND_ADF_AMBER]);
        SetTextAlign(nd_dc, TA_BASELINE | TA_LEFT);
        draw_text(0, h - m, "ADF");
        copy_text(text, sizeof text, text_of(mv_adf_ident), ADF_IDENT_SHOWN);
        draw_text(0, h, text);
    }
}

// O, M or I for the outer, middle and inner marker; any other state gives an empty text.
void draw_marker_letter(void) {
    if (number_of(mv_marker) == 0) return;
    const char* letter = "";
    SelectObject(nd_dc, font_large);
    switch (truncate_to_int(number_of(mv_marker))) {
        case 1:
            SetTextColor(nd_dc, MARKER_OUTER_BLUE);
            letter = "O";
            break;
        case 2:
            SetTextColor(nd_dc, MARKER_MIDDLE_YELLOW);
            letter = "M";
            break;
        case 3:
            SetTextColor(nd_dc, MARKER_INNER_WHITE);
            letter = "I";
            break;
    }
    SetTextAlign(nd_dc, TA_LEFT | TA_TOP);
    draw_text(0, screen_height / 2, letter);
}
