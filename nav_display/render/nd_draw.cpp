// The drawing pass: the whole display, drawn from the current host variables into the drawing
// surface and copied into both images of nd_screen. Runs only when nd_icon_callback found a change.
#include <string.h>

#include "nd_state.h"

// What the pass is about to show becomes the value last drawn, against which the next redraw
// decision compares.
static void record_shown_values(void) {
    for (const RedrawCheck& check : nd_redraw_checks) {
        ModuleVar* var = check.var;
        memcpy(&var->previous_value, &var->value, check.test == REDRAW_INTEGER ? sizeof var->value.integer : sizeof var->value);
    }
}

int draw_nd(void) {
    redraw_pending = 0;
    clear_surface(screen_rect);
    record_shown_values();
    copy_to_panel();
    // The host sees the element's image change and puts the new picture on the panel.
    icon_toggle = icon_toggle == 0 ? 1 : 0;
    return 0;
}
