// The airspeed indicator: a needle over a dial marked 40 to 300 knots, turned by the panel along the
// scale table from the simulator's airspeed, which the needle's callback holds within the scale.
// The panel installs, updates and draws the elements itself; the module's code is the two value
// callbacks here and the gauge callback of the sound binding.
#include "airspeed.h"

#define AIRSPEED_BACKGROUND_BITMAP 4352u  // all black
#define AIRSPEED_DIAL_BITMAP 4608u        // the dial face
#define AIRSPEED_NEEDLE_BITMAP 4864u      // the needle, pointing towards increasing x
#define AIRSPEED_FLAGS 0x83u
#define AIRSPEED_FLAG_UPDATED 0x4u
#define VAR_AIRSPEED 61u

#define AIRSPEED_SCALE_ROWS 11
#define AIRSPEED_MINIMUM 40.0
#define AIRSPEED_MAXIMUM 300.0

// A version-800 header is followed by 108 zero bytes.
struct AirspeedHeaderBlock {
    GaugeHeader header;
    uint8_t zero[108];
};
extern AirspeedHeaderBlock airspeed_header_block;
#define airspeed_header (&airspeed_header_block.header)

static FailureRecord background_failures[1];
static FailureRecord dial_failures[1];
static FailureRecord needle_failures[1];

// Only the direction from the pivot (90, 90) to each point counts: 13.4 degrees clockwise from
// straight up for 40 knots round to 346.2 for 300; 20-knot steps up to 200, 50-knot steps above.
static ScalePoint airspeed_scale[AIRSPEED_SCALE_ROWS] = {
    {106, 23, 40.0},  {140, 40, 60.0},  {163, 75, 80.0},  {159, 117, 100.0}, {132, 155, 120.0}, {88, 162, 140.0},
    {57, 152, 160.0}, {35, 130, 180.0}, {24, 103, 200.0}, {36, 52, 250.0},   {74, 25, 300.0},
};

static double GAUGE_CALL airspeed_needle_value(ElementHeader* element);
static double GAUGE_CALL airspeed_dial_value(ElementHeader* element);

static NeedleElement airspeed_needle = {
    .header = {.element_kind = ELEMENT_NEEDLE, .resource_id = AIRSPEED_NEEDLE_BITMAP, .position_x = 90,
               .position_y = 90, .origin_x = 32, .origin_y = 9, .gauge_header = airspeed_header,
               .failures = needle_failures, .image_flags = AIRSPEED_FLAGS},
    .source_var = {.var_id = VAR_AIRSPEED},
    .scale_table = airspeed_scale,
    .scale_count = AIRSPEED_SCALE_ROWS,
    .value_callback = airspeed_needle_value,
};

static ElementHeader* dial_children[] = {&airspeed_needle.header, nullptr};

static PictureElement800 airspeed_dial = {
    .header = {.element_kind = ELEMENT_PICTURE, .resource_id = AIRSPEED_DIAL_BITMAP, .gauge_header = airspeed_header,
               .next_elements = dial_children, .failures = dial_failures, .image_flags = AIRSPEED_FLAGS},
    .picture_mode = 3,
    .image_count = 2,
    .value_callback = airspeed_dial_value,
};

static ElementHeader* background_children[] = {&airspeed_dial.header, nullptr};

// The static image is followed by 16 zero bytes.
static struct {
    StaticImageElement image;
    uint32_t zero[4];
} airspeed_background_block = {
    .image = {.header = {.element_kind = ELEMENT_STATIC_IMAGE, .resource_id = AIRSPEED_BACKGROUND_BITMAP,
                         .gauge_header = airspeed_header, .next_elements = background_children,
                         .failures = background_failures, .image_flags = AIRSPEED_FLAGS}},
};

// The root pointer alone: the panel reads only the first entry.
static ElementHeader* airspeed_elements[1] = {&airspeed_background_block.image.header};

static MouseRect airspeed_mouse[] = {
    {.kind = MOUSE_RECT_PARENT, .cursor = -1},
    {.kind = MOUSE_RECT_END_OF_PARENT, .cursor = -1},
    {.kind = MOUSE_RECT_END_OF_LIST, .cursor = -1},
};

ModuleVar airspeed_extra_vars[AIRSPEED_EXTRA_VAR_COUNT] = {{.var_id = 333}, {.var_id = 332}, {.var_id = 334}};

// Ordered comparisons: a reading that is no number passes both unchanged.
static double GAUGE_CALL airspeed_needle_value(ElementHeader* element) {
    NeedleElement* needle = reinterpret_cast<NeedleElement*>(element);
    needle->header.image_flags |= AIRSPEED_FLAG_UPDATED;
    double reading = needle->source_var.value.number;
    if (reading > AIRSPEED_MAXIMUM) reading = AIRSPEED_MAXIMUM;
    if (reading < AIRSPEED_MINIMUM) reading = AIRSPEED_MINIMUM;
    return reading;
}

// The dial has no variable: its reading is 0.0, the dial face.
static double GAUGE_CALL airspeed_dial_value(ElementHeader* element) {
    PictureElement800* dial = reinterpret_cast<PictureElement800*>(element);
    dial->header.image_flags |= AIRSPEED_FLAG_UPDATED;
    return dial->source_var.value.number;
}

static void GAUGE_CALL module_init(void) {}

static void GAUGE_CALL module_deinit(void) {}

AirspeedHeaderBlock airspeed_header_block = {
    .header = {
        .header_version = GAUGE_HEADER_VERSION_800,
        .gauge_name = "DRAVETS",
        .element_list = airspeed_elements,
        .size_x = 100,
        .mouse_rect = airspeed_mouse,
        .gauge_callback = airspeed_gauge_callback,
    },
};

extern "C" {

GAUGE_EXPORT ModuleLinkage Linkage = {
    .module_id = GAUGE_MODULE_ID,
    .module_init = module_init,
    .module_deinit = module_deinit,
    .module_version = 0x800,
    .gauges = {airspeed_header, nullptr},
};

GAUGE_EXPORT ImportTableRecord ImportTable = {.import_id = GAUGE_IMPORT_PANEL_SERVICES};

}
