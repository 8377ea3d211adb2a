// The drawing pass: the whole display, drawn from the current host variables into the drawing
// surface and copied into both images of nd_screen. Runs only when nd_icon_callback found a change.
#include <string.h>

#include "nd_render.h"

// What the pass is about to show becomes the value last drawn, against which the next redraw
// decision compares.
static void record_shown_values(void) {
    for (const RedrawCheck& check : nd_redraw_checks) {
        ModuleVar* var = check.var;
        memcpy(&var->previous_value, &var->value, check.test == REDRAW_INTEGER ? sizeof var->value.integer : sizeof var->value);
    }
}

// Each step selects the pen, brush, font, colour and alignment it needs; later steps draw over
// earlier ones. Until the station blocks the text background is transparent, as the previous pass
// (or the initialization) left it.
int draw_nd(void) {
    redraw_pending = 0;
    clear_surface(screen_rect);
    record_shown_values();
    draw_compass_circle();
    draw_aircraft_symbol();
    draw_compass_card();
    draw_heading_box();
    draw_wind();
    draw_adf_pointer();
    draw_nav1_lines();
    draw_nav2_pointer();
    draw_course_and_deviation();
    // The station texts blank out the symbols under them; the glideslope scale clears its own strip.
    SetBkColor(nd_dc, background_colour);
    SetBkMode(nd_dc, OPAQUE);
    draw_station_blocks();
    draw_marker_letter();
    draw_glideslope_scale();
    SetBkMode(nd_dc, TRANSPARENT);
    draw_selected_heading();
    copy_to_panel();
    // The host sees the element's image change and puts the new picture on the panel.
    icon_toggle = icon_toggle == 0 ? 1 : 0;
    return 0;
}
