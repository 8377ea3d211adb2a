// When the display is drawn, and in which layout: the element callback of nd_screen compares what
// the display shows with the host variables, follows the display mode of the shared block and
// polls the display-mode key. The settings go to the mode file when the gauge is taken down.
#include <string.h>

#include "nd_numbers.h"
#include "nd_state.h"

const RedrawCheck nd_redraw_checks[ND_REDRAW_CHECK_COUNT] = {
    {&mv_heading, REDRAW_TENTHS},
    {&mv_nav1_flags, REDRAW_INTEGER},
    {&mv_nav2_flags, REDRAW_INTEGER},
    {&mv_adf_active, REDRAW_EXACT},
    {&mv_nav1_deviation, REDRAW_TRUNCATED},
    {&mv_nav1_course, REDRAW_TRUNCATED},
    {&mv_glideslope_deviation, REDRAW_TRUNCATED},
    {&mv_glideslope_active, REDRAW_TRUNCATED},
    {&mv_dme1_distance, REDRAW_EXACT},
    {&mv_dme2_distance, REDRAW_EXACT},
    {&mv_dme1_speed, REDRAW_EXACT},
    {&mv_selected_heading, REDRAW_EXACT},
    {&mv_nav1_to_from, REDRAW_INTEGER},
    {&mv_adf_bearing, REDRAW_EXACT},
    {&mv_marker, REDRAW_EXACT},
    {&mv_nav2_bearing, REDRAW_TRUNCATED},
    {&mv_wind_speed, REDRAW_EXACT},
    {&mv_wind_direction, REDRAW_EXACT},
};

static bool differs_from_drawn(const RedrawCheck& check) {
    const ModuleVarValue& now = check.var->value;
    const ModuleVarValue& drawn = check.var->previous_value;
    switch (check.test) {
        case REDRAW_TENTHS: return truncate_to_int(now.number * 10) != truncate_to_int(drawn.number * 10);
        case REDRAW_TRUNCATED: return truncate_to_int(now.number) != truncate_to_int(drawn.number);
        case REDRAW_EXACT: return now.number != drawn.number;
        case REDRAW_INTEGER: return now.integer != drawn.integer;
    }
    return false;
}

// Bit 0 of GetAsyncKeyState: the key went down since the last query. A modifier whose bit is clear
// must be up.
static bool mode_key_pressed(void) {
    if ((GetAsyncKeyState(hotkey_code) & 1) == 0) return false;
    const bool shift_down = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool ctrl_down = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    return shift_down == ((hotkey_modifiers & 1) != 0) && ctrl_down == ((hotkey_modifiers & 2) != 0);
}

double GAUGE_CALL nd_icon_callback(ElementHeader*) {
    if (nd_shared_view != nullptr) {
        memcpy(mode_text, nd_shared_view, ND_SHARED_FIELD_BYTES);
        // Only the copy is read: the field need not end with a NUL.
        const int shared_mode = read_decimal(mode_text + ND_MODE_VALUE_AT, ND_SHARED_FIELD_BYTES - ND_MODE_VALUE_AT);
        if (shared_mode != nd_mode) {
            nd_mode = shared_mode;
            set_compass_layout();
            redraw_pending = 1;
        }
        if (redraw_pending == 1) return icon_toggle;
    }
    if (mode_key_pressed()) {
        nd_mode = nd_mode != 0 ? 0 : 1;
        set_compass_layout();
        mode_text[ND_MODE_VALUE_AT] = static_cast<char>('0' + nd_mode);
        mode_text[ND_MODE_VALUE_AT + 1] = '\0';
        if (nd_shared_view != nullptr) memcpy(nd_shared_view, mode_text, ND_SHARED_FIELD_BYTES);
        redraw_pending = 1;
        return icon_toggle;
    }
    for (const RedrawCheck& check : nd_redraw_checks) {
        if (differs_from_drawn(check)) {
            redraw_pending = 1;
            break;
        }
    }
    return icon_toggle;
}

// Written for other programs; the display never reads it back.
void write_mode_file(void) {
    FILE* file = fopen("Gauges" PATH_SEPARATOR "NDmode.tmp", "w");
    if (file == nullptr) return;
    fprintf(file, "%d\n%d\n%d\n%d\n", nd_mode, map_mode, item_mask, map_range);
    fclose(file);
}
