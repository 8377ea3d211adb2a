// The navigation display's module-wide state and routines, shared by the gauge frame and the drawing.
// Everything here is one module's globals: the host calls the gauge on one thread, one call at a
// time, so nothing is locked.
#ifndef NAV_DISPLAY_ND_STATE_H
#define NAV_DISPLAY_ND_STATE_H

#include <stdint.h>
#include <stdio.h>

#include "gauge_records.h"
#include "win32.h"

#define ND_GAUGE_NAME "Vistrel.ND"
#define ND_BACKGROUND_BITMAP 4096u  // colour samples in its bottom row; nav_display.rc
#define ND_SCREEN_BITMAP 8192u      // placeholder until the first drawing

// Gauge records.
extern GaugeHeader nd_header;
extern StaticImageElement nd_background;
extern PictureElement610 nd_screen;

// Host variables, in the order in which nd_install registers them.
extern ModuleVar mv_heading;               // 0x51 number, degrees
extern ModuleVar mv_nav1_deviation;        // 0x28 number
extern ModuleVar mv_nav1_course;           // 0x2D number, degrees
extern ModuleVar mv_glideslope_deviation;  // 0x29 number
extern ModuleVar mv_glideslope_active;     // 0x2C number
extern ModuleVar mv_nav1_frequency;        // 0x18 integer, BCD
extern ModuleVar mv_dme1_distance;         // 0x1F number
extern ModuleVar mv_dme2_distance;         // 0x23 number
extern ModuleVar mv_dme1_speed;            // 0x20 number, knots
extern ModuleVar mv_nav1_flags;            // 0x2E integer, bits
extern ModuleVar mv_selected_heading;      // 0x6B number, degrees
extern ModuleVar mv_nav1_to_from;          // 0x2A integer, bits
extern ModuleVar mv_nav1_ident;            // 0x2F text
extern ModuleVar mv_cdi_cross;             // 0x31 number
extern ModuleVar mv_adf_bearing;           // 0x27 number, degrees
extern ModuleVar mv_adf_ident;             // 0x13 text
extern ModuleVar mv_adf_active;            // 0x14 number
extern ModuleVar mv_marker;                // 0x162 number
extern ModuleVar mv_nav2_flags;            // 0x37 integer, bits
extern ModuleVar mv_nav2_ident;            // 0x38 text
extern ModuleVar mv_nav2_bearing;          // 0x3B number, degrees
extern ModuleVar mv_wind_speed;            // 0x157 number
extern ModuleVar mv_wind_direction;        // 0x158 number, degrees

#define ND_VAR_COUNT 23
extern ModuleVar* const nd_vars[ND_VAR_COUNT];

// How a host variable is compared with the value last drawn, and so how much of it the drawing
// records as that value: integers by their low 32 bits, numbers by all 8 bytes.
enum RedrawTest {
    REDRAW_TENTHS,     // the number truncated to tenths
    REDRAW_TRUNCATED,  // the number truncated to a whole number
    REDRAW_EXACT,      // the number as it is
    REDRAW_INTEGER,    // the low 32 bits
};

struct RedrawCheck {
    ModuleVar* var;
    RedrawTest test;
};

// The host variables whose change redraws the display; the others are shown as they are.
#define ND_REDRAW_CHECK_COUNT 18
extern const RedrawCheck nd_redraw_checks[ND_REDRAW_CHECK_COUNT];

// Display settings and layout.
extern int nd_mode;  // 1 arc (compass centre low), 0 rose; any non-zero value is the arc
extern int map_mode;
extern int item_mask;
extern int map_range;
extern int hotkey_code;       // virtual key of the display-mode key
extern int hotkey_modifiers;  // bit 0: Shift must be down, bit 1: Ctrl must be down
extern int screen_width;
extern int screen_height;
extern int rose_centre_x;
extern int rose_centre_y;
extern int rose_radius;
extern RECT screen_rect;
extern HFONT font_large;
extern HFONT font_medium;
extern HFONT font_scaled;
extern int text_height_large;
extern int text_height_medium;
extern int text_height_scaled;
extern int redraw_pending;
extern int icon_toggle;  // the image of nd_screen that the host shows
extern int banner_shown;
extern int shared_block_pending;

// Colour table, pens and brushes, taken from bitmap 4096.
#define ND_COLOUR_COUNT 16
extern COLORREF nd_colours[ND_COLOUR_COUNT];
extern HPEN nd_pens[ND_COLOUR_COUNT];
extern HBRUSH nd_brushes[ND_COLOUR_COUNT];
extern uint32_t background_fill;  // palette index (8-bit panel) or 1-5-5-5 colour (16-bit panel)
extern COLORREF background_colour;

// The off-screen drawing surface, and the bitmask surface of 16-bit panels.
extern IDirectDraw* dd_object;
extern IDirectDraw2* dd_object2;
extern IDirectDrawSurface* nd_surface;
extern IDirectDrawSurface3* nd_surface3;
extern DDSURFACEDESC nd_surface_desc;  // as Lock returned it: memory address and pitch
extern HDC nd_dc;                      // null while there is no drawing surface
extern IDirectDrawSurface* mask_surface;
extern IDirectDrawSurface3* mask_surface3;
extern DDSURFACEDESC mask_surface_desc;
extern HDC mask_dc;
extern int dd_failed;  // a surface step failed: surface work is off for the module's life
extern int row_copy;   // pitches differ: pictures are copied row by row

// The shared block "NDPassData" and the copy of its display-mode field.
#define ND_SHARED_BLOCK_BYTES 60
#define ND_SHARED_FIELD_BYTES 10
#define ND_MODE_VALUE_AT 7  // after "NDMode="
extern HANDLE nd_shared_mapping;
extern char* nd_shared_view;  // null while there is none
extern char mode_text[ND_SHARED_FIELD_BYTES];

// Gauge routines and the element callback.
void GAUGE_CALL nd_query(void);
void GAUGE_CALL nd_install(uint32_t install_argument);
void GAUGE_CALL nd_initialize(void);
void GAUGE_CALL nd_update(void);
void GAUGE_CALL nd_generate(uint32_t generate_argument);
void GAUGE_CALL nd_draw(void);
void GAUGE_CALL nd_kill(void);
double GAUGE_CALL nd_icon_callback(ElementHeader* element);

// The images the host attached to the elements; a zeroed image while there is none, so that no
// routine meets a null image.
PanelImage* background_image(void);
PanelImage* screen_image(uint32_t index);

// Compass centre and radius for nd_mode and the screen size.
void set_compass_layout(void);

// The display-mode key from the simulator's configuration.
void read_sim_config_key(const char* key, int* code, int* modifiers);
// The decimal integer at the start of text[0, length): leading blanks and a sign, then digits up
// to the first other character; no digit gives 0, and values beyond int are held at its ends.
int read_decimal(const char* text, size_t length);

// The shared block.
void open_shared_block(void);
void close_shared_block(void);

// The mode file Gauges\NDmode.tmp.
void write_mode_file(void);

// Drawing surfaces and copies between the surface and the panel images.
void create_surfaces(void);
void release_surfaces(void);
void clear_surface(RECT area);
void copy_to_panel(void);
void copy_from_panel(void);

// Failure reports of the surface steps; `log` may be null (no log could be opened).
void report_dd_failure(HRESULT result, FILE* log, int failure_number);
void report_missing_colour_table(FILE* log, HRSRC resource, HGLOBAL loaded);

// The drawing pass.
int draw_nd(void);

#endif
