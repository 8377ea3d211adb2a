// The navigation display "Vistrel.ND": its records, its seven routines, its fonts, the compass
// layout and the start-up banner. The picture is drawn off screen (nd_surfaces.cpp) and copied into
// the two images of the picture element nd_screen, whose callback decides when to draw again
// (nd_redraw.cpp).
#include <string.h>

#include "nd_numbers.h"
#include "nd_state.h"

#define ND_SIZE_X 89
#define ND_FAILURE_KEY 1
#define ND_FAILURE_ACTION 3

// Both elements share one failure list.
static FailureRecord nd_failures[] = {
    {.failure_key = ND_FAILURE_KEY, .failure_action = ND_FAILURE_ACTION},
    {.failure_key = 0},
};

PictureElement610 nd_screen = {
    .header = {
        .element_kind = ELEMENT_PICTURE,
        .resource_id = ND_SCREEN_BITMAP,
        .gauge_header = &nd_header,
        .failures = nd_failures,
        .image_flags = 0x7,
    },
    .value_callback = nd_icon_callback,
    .picture_mode = 0,
    .image_count = 2,
};

static ElementHeader* nd_background_children[] = {&nd_screen.header, nullptr};

StaticImageElement nd_background = {
    .header = {
        .element_kind = ELEMENT_STATIC_IMAGE,
        .resource_id = ND_BACKGROUND_BITMAP,
        .gauge_header = &nd_header,
        .next_elements = nd_background_children,
        .failures = nd_failures,
        .image_flags = 0x5,
    },
};

static ElementHeader* nd_elements[] = {&nd_background.header, nullptr};

// The display takes no mouse input: one empty group.
static MouseRect nd_mouse[] = {
    {.kind = MOUSE_RECT_PARENT, .cursor = -1},
    {.kind = MOUSE_RECT_END_OF_PARENT, .cursor = -1},
    {.kind = MOUSE_RECT_END_OF_LIST, .cursor = -1},
};

ModuleVar mv_heading = {.var_id = 0x51};
ModuleVar mv_nav1_deviation = {.var_id = 0x28};
ModuleVar mv_nav1_course = {.var_id = 0x2D};
ModuleVar mv_glideslope_deviation = {.var_id = 0x29};
ModuleVar mv_glideslope_active = {.var_id = 0x2C};
ModuleVar mv_nav1_frequency = {.var_id = 0x18};
ModuleVar mv_dme1_distance = {.var_id = 0x1F};
ModuleVar mv_dme2_distance = {.var_id = 0x23};
ModuleVar mv_dme1_speed = {.var_id = 0x20};
ModuleVar mv_nav1_flags = {.var_id = 0x2E};
ModuleVar mv_selected_heading = {.var_id = 0x6B};
ModuleVar mv_nav1_to_from = {.var_id = 0x2A};
ModuleVar mv_nav1_ident = {.var_id = 0x2F};
ModuleVar mv_cdi_cross = {.var_id = 0x31};
ModuleVar mv_adf_bearing = {.var_id = 0x27};
ModuleVar mv_adf_ident = {.var_id = 0x13};
ModuleVar mv_adf_active = {.var_id = 0x14};
ModuleVar mv_marker = {.var_id = 0x162};
ModuleVar mv_nav2_flags = {.var_id = 0x37};
ModuleVar mv_nav2_ident = {.var_id = 0x38};
ModuleVar mv_nav2_bearing = {.var_id = 0x3B};
ModuleVar mv_wind_speed = {.var_id = 0x157};
ModuleVar mv_wind_direction = {.var_id = 0x158};

ModuleVar* const nd_vars[ND_VAR_COUNT] = {
    &mv_heading,      &mv_nav1_deviation, &mv_nav1_course,      &mv_glideslope_deviation, &mv_glideslope_active,
    &mv_nav1_frequency, &mv_dme1_distance, &mv_dme2_distance,   &mv_dme1_speed,           &mv_nav1_flags,
    &mv_selected_heading, &mv_nav1_to_from, &mv_nav1_ident,     &mv_cdi_cross,            &mv_adf_bearing,
    &mv_adf_ident,    &mv_adf_active,     &mv_marker,           &mv_nav2_flags,           &mv_nav2_ident,
    &mv_nav2_bearing, &mv_wind_speed,     &mv_wind_direction,
};

int nd_mode = 1;
int map_mode = 0;
int item_mask = 0x1E;
int map_range = 320;
int hotkey_code = VK_TAB;
int hotkey_modifiers = 8;
int screen_width;
int screen_height;
int rose_centre_x;
int rose_centre_y;
int rose_radius;
RECT screen_rect;
HFONT font_large;
HFONT font_medium;
HFONT font_scaled;
int text_height_large;
int text_height_medium;
int text_height_scaled;
int redraw_pending;
int icon_toggle;
int banner_shown;

// Stands in for an image the host has not attached (before install, after kill): no size, no pixels.
static PanelImage no_image;

PanelImage* background_image(void) {
    PanelImage* image = nd_background.image_data.image;
    return image != nullptr ? image : &no_image;
}

PanelImage* screen_image(uint32_t index) {
    if (nd_screen.image_sets == nullptr || index >= nd_screen.image_count) return &no_image;
    PanelImage* image = nd_screen.image_sets[index].image;
    return image != nullptr ? image : &no_image;
}

// Arc layout: the centre at 85 % of the height, the circle's top under the heading box. Rose: the
// whole circle between the heading box and the bottom edge.
void set_compass_layout(void) {
    const int top = text_height_large + 6;
    rose_centre_x = screen_width / 2;
    if (nd_mode != 0) {
        rose_centre_y = static_cast<int>(static_cast<int64_t>(screen_height) * 85 / 100);
        rose_radius = rose_centre_y - top;
    } else {
        rose_radius = (screen_height - top) / 2;
        rose_centre_y = rose_radius + top;
    }
}

// Fonts.

static HFONT make_font(int height) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfCharSet = 1;
    font.lfPitchAndFamily = 0x31;
    strcpy(font.lfFaceName, "Arial");
    return CreateFontIndirectA(&font);
}

static void delete_fonts(void) {
    HFONT* const fonts[] = {&font_medium, &font_large, &font_scaled};
    for (HFONT* font : fonts) {
        if (*font != nullptr) DeleteObject(*font);
        *font = nullptr;
    }
}

// A display shorter than 150 pixels gets a smaller scaled font.
static void create_fonts(void) {
    delete_fonts();
    font_large = make_font(-11);
    text_height_large = 11;
    font_medium = make_font(-9);
    text_height_medium = 9;
    const int dots_per_inch = nd_dc != nullptr ? GetDeviceCaps(nd_dc, LOGPIXELSY) : 0;
    const double per_dot = screen_height >= 150 ? 1.0 / 11 : 1.0 / 12;
    text_height_scaled = round_to_int(dots_per_inch * per_dot);
    font_scaled = make_font(-text_height_scaled);
}

// Start-up banner. Its lines are kept in the module scrambled, each character c as 127 - c, and
// are restored into banner_lines on every initialize.

#define BANNER_LINE_COUNT 3
#define BANNER_LINE_BYTES 32

struct BannerLine {
    char bytes[BANNER_LINE_BYTES];
};

static constexpr BannerLine scrambled(const char* text) {
    BannerLine line = {};
    for (size_t i = 0; text[i] != '\0' && i + 1 < BANNER_LINE_BYTES; ++i) line.bytes[i] = static_cast<char>(127 - text[i]);
    return line;
}

static constexpr BannerLine stored_banner[BANNER_LINE_COUNT] = {
    scrambled("VISTREL ND"),
    scrambled("NAVIGATION DISPLAY"),
    scrambled("AWAITING DATA"),
};

static char banner_lines[BANNER_LINE_COUNT][BANNER_LINE_BYTES];

static void restore_banner(void) {
    for (int line = 0; line < BANNER_LINE_COUNT; ++line) {
        const char* stored = stored_banner[line].bytes;
        size_t i = 0;
        for (; stored[i] != '\0'; ++i) banner_lines[line][i] = static_cast<char>(127 - stored[i]);
        banner_lines[line][i] = '\0';
    }
}

static void banner_text(int x, int y, const char* text) {
    TextOutA(nd_dc, x, y, text, static_cast<int>(strlen(text)));
}

// Over the placeholder picture that the host put into the screen's first image.
static void draw_banner(void) {
    copy_from_panel();
    SetTextAlign(nd_dc, TA_CENTER | TA_TOP);
    SelectObject(nd_dc, font_medium);
    SetTextColor(nd_dc, 0xFFFF00);  // cyan
    banner_text(screen_width / 2, 8, banner_lines[0]);
    SetTextColor(nd_dc, 0x00FF00);  // green
    banner_text(screen_width / 2, screen_height / 2, banner_lines[1]);
    banner_text(screen_width / 2, screen_height / 2 + 12, banner_lines[2]);
    copy_to_panel();
}

// Routines.

void GAUGE_CALL nd_query(void) { elements_query(&nd_background.header); }

void GAUGE_CALL nd_install(uint32_t install_argument) {
    static int32_t no_size[2];
    elements_install(&nd_background.header, install_argument);
    PanelImage* image = nd_background.image_data.image;
    mouse_areas_install(nd_mouse, &nd_header, image != nullptr ? &image->width : no_size);
    mouse_areas_register(nd_mouse, &nd_header);
    read_sim_config_key("PANEL_9=", &hotkey_code, &hotkey_modifiers);
    for (ModuleVar* var : nd_vars) var_register(var);
}

void GAUGE_CALL nd_initialize(void) {
    elements_initialize(&nd_background.header);
    restore_banner();
    release_surfaces();
    create_surfaces();
    const PanelImage* picture = screen_image(0);
    screen_width = picture->width;
    screen_height = picture->height;
    create_fonts();
    if (nd_dc != nullptr) SetBkMode(nd_dc, TRANSPARENT);
    if (banner_shown == 0 && nd_dc != nullptr) {
        banner_shown = 1;
        draw_banner();
    }
    set_compass_layout();
    screen_rect = RECT{0, 0, screen_width, screen_height};
}

void GAUGE_CALL nd_update(void) {
    elements_update(&nd_background.header);
    if (shared_block_pending == 1) {
        shared_block_pending = 0;
        open_shared_block();
    }
    if (nd_dc != nullptr && redraw_pending == 1) draw_nd();
    for (ModuleVar* var : nd_vars) var_refresh(var);
}

void GAUGE_CALL nd_generate(uint32_t generate_argument) { elements_generate(&nd_background.header, generate_argument); }

void GAUGE_CALL nd_draw(void) { elements_draw(&nd_background.header); }

void GAUGE_CALL nd_kill(void) {
    mouse_areas_unregister(nd_mouse, &nd_header);
    elements_kill(&nd_background.header);
    release_surfaces();
    delete_fonts();
    close_shared_block();
    write_mode_file();
}

GaugeHeader nd_header = {
    .header_version = GAUGE_HEADER_VERSION_610,
    .gauge_name = ND_GAUGE_NAME,
    .element_list = nd_elements,
    .query_routine = nd_query,
    .install_routine = nd_install,
    .initialize_routine = nd_initialize,
    .update_routine = nd_update,
    .generate_routine = nd_generate,
    .draw_routine = nd_draw,
    .kill_routine = nd_kill,
    .size_x = ND_SIZE_X,
};

static void GAUGE_CALL module_init(void) {}

static void GAUGE_CALL module_deinit(void) {}

extern "C" {

GAUGE_EXPORT ModuleLinkage Linkage = {
    .module_id = GAUGE_MODULE_ID,
    .module_init = module_init,
    .module_deinit = module_deinit,
    .module_version = 0,
    .gauges = {&nd_header, nullptr},
};

GAUGE_EXPORT ImportTableRecord ImportTable = {.import_id = GAUGE_IMPORT_PANEL_SERVICES};

}
