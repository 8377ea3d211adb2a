// The autopilot's vertical-speed thumbwheel: one fixed picture whose upper and lower halves raise
// and lower the selected vertical speed. The gauge keeps no state beyond its records.
#include "gauge_records.h"

#define THUMBWHEEL_BITMAP 4096u  // the wheel, in vs_thumbwheel.rc
#define EVENT_VS_UP 65894u
#define EVENT_VS_DOWN 65895u
#define HELP_VERTICAL_SPEED 42049u  // 0xA441
#define MOUSE_LEFT_BUTTON_EVENTS 0x20200000u

extern GaugeHeader thumbwheel_header;

static StaticImageElement thumbwheel_image = {
    .header = {
        .element_kind = ELEMENT_STATIC_IMAGE,
        .resource_id = THUMBWHEEL_BITMAP,
        .gauge_header = &thumbwheel_header,
        .image_flags = 0x1,
    },
};

static ElementHeader* thumbwheel_elements[] = {&thumbwheel_image.header, nullptr};

static uint32_t GAUGE_CALL thumbwheel_up(uint32_t, uint32_t) {
    send_key_event(EVENT_VS_UP, 1);
    return 0;
}

static uint32_t GAUGE_CALL thumbwheel_down(uint32_t, uint32_t) {
    send_key_event(EVENT_VS_DOWN, 1);
    return 0;
}

// Row 37 lies in both boxes.
static MouseRect thumbwheel_mouse[] = {
    {.kind = MOUSE_RECT_PARENT, .cursor = -1, .help_id = HELP_VERTICAL_SPEED},
    {.kind = MOUSE_RECT_CHILD, .box_x = 5, .box_y = 0, .box_width = 30, .box_height = 38, .cursor = 1,
     .event_flags = MOUSE_LEFT_BUTTON_EVENTS, .callback = thumbwheel_up},
    {.kind = MOUSE_RECT_CHILD, .box_x = 5, .box_y = 37, .box_width = 30, .box_height = 37, .cursor = 2,
     .event_flags = MOUSE_LEFT_BUTTON_EVENTS, .callback = thumbwheel_down},
    {.kind = MOUSE_RECT_END_OF_PARENT, .cursor = -1},
    {.kind = MOUSE_RECT_END_OF_LIST, .cursor = -1},
};

static void GAUGE_CALL thumbwheel_query(void) { elements_query(&thumbwheel_image.header); }

static void GAUGE_CALL thumbwheel_install(uint32_t install_argument) {
    elements_install(&thumbwheel_image.header, install_argument);
    mouse_areas_install(thumbwheel_mouse, &thumbwheel_header, &thumbwheel_image.image_data.image->width);
    mouse_areas_register(thumbwheel_mouse, &thumbwheel_header);
}

static void GAUGE_CALL thumbwheel_initialize(void) { elements_initialize(&thumbwheel_image.header); }

static void GAUGE_CALL thumbwheel_update(void) { elements_update(&thumbwheel_image.header); }

static void GAUGE_CALL thumbwheel_generate(uint32_t generate_argument) {
    elements_generate(&thumbwheel_image.header, generate_argument);
}

static void GAUGE_CALL thumbwheel_draw(void) { elements_draw(&thumbwheel_image.header); }

static void GAUGE_CALL thumbwheel_kill(void) {
    mouse_areas_unregister(thumbwheel_mouse, &thumbwheel_header);
    elements_kill(&thumbwheel_image.header);
}

GaugeHeader thumbwheel_header = {
    .header_version = GAUGE_HEADER_VERSION_610,
    .gauge_name = "Corvanex_apvspeed",
    .element_list = thumbwheel_elements,
    .query_routine = thumbwheel_query,
    .install_routine = thumbwheel_install,
    .initialize_routine = thumbwheel_initialize,
    .update_routine = thumbwheel_update,
    .generate_routine = thumbwheel_generate,
    .draw_routine = thumbwheel_draw,
    .kill_routine = thumbwheel_kill,
    .size_x = 40,
};

static void GAUGE_CALL module_init(void) {}

static void GAUGE_CALL module_deinit(void) {}

extern "C" {

GAUGE_EXPORT ModuleLinkage Linkage = {
    .module_id = GAUGE_MODULE_ID,
    .module_init = module_init,
    .module_deinit = module_deinit,
    .module_version = 0,
    .gauges = {&thumbwheel_header, nullptr},
};

GAUGE_EXPORT ImportTableRecord ImportTable = {.import_id = GAUGE_IMPORT_PANEL_SERVICES};

}
