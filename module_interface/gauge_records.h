// The records through which the panel system and a gauge module meet, byte for byte, and the
// panel services a module calls. One header serves every module and the gauge host.
//
// The simulator reads these records in place from a 32-bit module: every record is packed to 4
// (a float64 may start at any multiple of 4) and every size and offset is checked below whenever
// pointers are 4 bytes. On 64-bit Linux the same declarations build with wider pointers; the
// layout checks are then limited to what does not depend on pointer width.
#ifndef GAUGE_RECORDS_H
#define GAUGE_RECORDS_H

#include <stddef.h>
#include <stdint.h>

// Calling rules of every routine, callback and service that crosses between host and module.
#if defined(_MSC_VER) && defined(_M_IX86)
#define GAUGE_CALL __stdcall
#elif defined(__i386__)
#define GAUGE_CALL __attribute__((stdcall))
#else
#define GAUGE_CALL
#endif

// A module exports exactly its two data records, `Linkage` and `ImportTable`.
#if defined(_WIN32)
#define GAUGE_EXPORT __declspec(dllexport)
#else
#define GAUGE_EXPORT __attribute__((visibility("default")))
#endif

#define GAUGE_MODULE_ID 0x13u
#define GAUGE_IMPORT_PANEL_SERVICES 0x0Fu
#define GAUGE_HEADER_VERSION_610 0x262u
#define GAUGE_HEADER_VERSION_800 0x320u

enum ElementKind : uint32_t {
    ELEMENT_STATIC_IMAGE = 0,
    ELEMENT_NEEDLE = 1,
    ELEMENT_PICTURE = 4,
};

enum MouseRectKind : uint32_t {
    MOUSE_RECT_END_OF_LIST = 0,
    MOUSE_RECT_PARENT = 1,
    MOUSE_RECT_CHILD = 2,
    MOUSE_RECT_END_OF_PARENT = 3,
};

// Service codes of a version-800 gauge callback.
enum GaugeServiceCode : uint32_t {
    GAUGE_SERVICE_INITIALIZE = 4,
    GAUGE_SERVICE_UPDATE = 6,
    GAUGE_SERVICE_FURTHER_STEP = 10,
    GAUGE_SERVICE_KILL = 12,
};

// PanelImage `format`: also the number of bytes per pixel.
enum PanelImageFormat : uint32_t {
    PANEL_IMAGE_8BIT = 1,   // palette-indexed
    PANEL_IMAGE_16BIT = 2,  // 1-5-5-5
};

#pragma pack(push, 4)

struct GaugeHeader;
struct ElementHeader;
struct MouseRect;
struct ModuleVar;

typedef void(GAUGE_CALL* ModuleRoutine)(void);
typedef void(GAUGE_CALL* GaugeRoutine)(void);
typedef void(GAUGE_CALL* GaugeWordRoutine)(uint32_t argument);
typedef void(GAUGE_CALL* GaugeCallback)(GaugeHeader* header, uint32_t code, uint32_t extra);
typedef double(GAUGE_CALL* ElementCallback)(ElementHeader* element);
typedef uint32_t(GAUGE_CALL* MouseCallback)(uint32_t host_word_1, uint32_t host_word_2);

struct ModuleLinkage {
    uint32_t module_id;
    ModuleRoutine module_init;
    ModuleRoutine module_deinit;
    uint32_t zero_12;
    uint32_t zero_16;
    uint32_t module_version;
    GaugeHeader* gauges[2];  // every module here holds one gauge, then the closing null
};

struct PanelServices;

struct ImportTableRecord {
    uint32_t import_id;
    const PanelServices* services;  // written by the host before any routine runs
    uint32_t end_id;
    void* end_pointer;
};

struct GaugeHeader {
    uint32_t header_version;
    const char* gauge_name;
    ElementHeader** element_list;  // only the first entry, the root, is used
    GaugeRoutine query_routine;
    GaugeWordRoutine install_routine;
    GaugeRoutine initialize_routine;
    GaugeRoutine update_routine;
    GaugeWordRoutine generate_routine;
    GaugeRoutine draw_routine;
    GaugeRoutine kill_routine;
    void* module_instance;  // host-written
    uint32_t size_x;
    uint32_t zero_48[8];
    MouseRect* mouse_rect;          // version 800
    GaugeCallback gauge_callback;   // version 800
};

struct FailureRecord {
    uint32_t failure_key;  // 0 closes a list
    uint32_t failure_action;
    uint32_t zero_8;
};

struct ElementHeader {
    uint32_t element_kind;
    uint32_t resource_id;
    int32_t position_x;
    int32_t position_y;
    uint32_t host_16;
    uint32_t host_20;
    int32_t origin_x;
    int32_t origin_y;
    GaugeHeader* gauge_header;
    void* host_36;
    ElementHeader** next_elements;  // null-terminated array of children, or null
    FailureRecord* failures;
    uint32_t image_flags;
    uint32_t zero_52;
    uint32_t zero_56;
};

struct PanelImage {
    uint32_t format;  // PanelImageFormat
    int32_t width;
    int32_t height;
    int32_t pitch;
    uint32_t host_16;
    uint32_t byte_size;
    uint8_t* bits;  // row r starts at bits + r * pitch
};

struct ImageSet {
    PanelImage* image;
    uint32_t host_4[3];
};

struct StaticImageElement {
    ElementHeader header;
    ImageSet image_data;  // filled by the host during elements_install
    uint32_t host_76;
};

union ModuleVarValue {
    double number;
    int32_t integer;
    const char* text;
};

struct ModuleVar {
    uint32_t var_id;
    void* host_4;
    uint32_t host_8;
    ModuleVarValue value;           // host-written
    ModuleVarValue previous_value;  // the module's own
};

struct PictureElement610 {
    ElementHeader header;
    ModuleVar source_var;
    ElementCallback value_callback;
    uint32_t picture_mode;
    uint32_t zero_96[4];
    uint32_t image_count;
    uint32_t zero_116[2];
    ImageSet* image_sets;  // host-written
    uint32_t zero_128;
    uint32_t zero_132;  // where a version-800 picture keeps its callback
};

struct PictureElement800 {
    ElementHeader header;
    ModuleVar source_var;
    uint32_t zero_88;  // where a version-610 picture keeps its callback
    uint32_t picture_mode;
    uint32_t zero_96[4];
    uint32_t image_count;
    uint32_t zero_116[2];
    ImageSet* image_sets;  // host-owned
    uint32_t zero_128;
    ElementCallback value_callback;
    uint32_t zero_136;
};

struct ScalePoint {
    int32_t x;
    int32_t y;
    double value;
    int32_t zero_16;
    uint32_t zero_20;
};

struct NeedleElement {
    ElementHeader header;
    ModuleVar source_var;
    uint32_t zero_88[6];
    ScalePoint* scale_table;
    uint32_t scale_count;
    uint32_t host_120[26];
    ElementCallback value_callback;
    uint32_t zero_228[2];
};

struct MouseRect {
    uint32_t kind;  // MouseRectKind
    int32_t box_x;
    int32_t box_y;
    int32_t box_width;
    int32_t box_height;
    int32_t cursor;  // -1: none of its own
    uint32_t help_id;
    uint32_t event_flags;
    uint32_t zero_32;
    MouseCallback callback;
    uint32_t zero_40;
};

// The host's service table: entry i lies at byte offset 4 * i on the simulator's 32-bit machine.
// Unused slots are kept so that every service sits at its index.
struct PanelServices {
    void* unused_0[24];
    void(GAUGE_CALL* elements_query)(ElementHeader* root);                                  // 24
    void(GAUGE_CALL* elements_install)(ElementHeader* root, uint32_t install_argument);     // 25
    void(GAUGE_CALL* elements_initialize)(ElementHeader* root);                             // 26
    void(GAUGE_CALL* elements_update)(ElementHeader* root);                                 // 27
    void(GAUGE_CALL* elements_generate)(ElementHeader* root, uint32_t generate_argument);   // 28
    void(GAUGE_CALL* elements_draw)(ElementHeader* root);                                   // 29
    void* unused_30;
    void(GAUGE_CALL* elements_kill)(ElementHeader* root);                                   // 31
    void(GAUGE_CALL* mouse_areas_install)(MouseRect* list, GaugeHeader* header,
                                          int32_t* size_pair);                              // 32
    void(GAUGE_CALL* mouse_areas_register)(MouseRect* list, GaugeHeader* header);           // 33
    void(GAUGE_CALL* mouse_areas_unregister)(MouseRect* list, GaugeHeader* header);         // 34
    void* unused_35;
    void(GAUGE_CALL* send_key_event)(uint32_t event_id, uint32_t value);                    // 36
    void* unused_37;
    void(GAUGE_CALL* var_register)(ModuleVar* var);                                         // 38
    void* unused_39;
    void(GAUGE_CALL* var_refresh)(ModuleVar* var);                                          // 40
};

#pragma pack(pop)

// Layout checks. The slot indices hold for any pointer width; sizes and offsets are those of the
// simulator's 32-bit machine.
#define GAUGE_SLOT(field, index) static_assert(offsetof(PanelServices, field) == (index) * sizeof(void*), #field)
GAUGE_SLOT(elements_query, 24);
GAUGE_SLOT(elements_install, 25);
GAUGE_SLOT(elements_initialize, 26);
GAUGE_SLOT(elements_update, 27);
GAUGE_SLOT(elements_generate, 28);
GAUGE_SLOT(elements_draw, 29);
GAUGE_SLOT(elements_kill, 31);
GAUGE_SLOT(mouse_areas_install, 32);
GAUGE_SLOT(mouse_areas_register, 33);
GAUGE_SLOT(mouse_areas_unregister, 34);
GAUGE_SLOT(send_key_event, 36);
GAUGE_SLOT(var_register, 38);
GAUGE_SLOT(var_refresh, 40);
#undef GAUGE_SLOT

#define GAUGE_OFFSET(record, field, offset) static_assert(offsetof(record, field) == (offset), #record "." #field)
#define GAUGE_SIZE(record, size) static_assert(sizeof(record) == (size), #record)

GAUGE_OFFSET(ModuleVar, value, 4 + sizeof(void*) + 4);
GAUGE_SIZE(ScalePoint, 24);
GAUGE_OFFSET(ScalePoint, value, 8);
GAUGE_SIZE(FailureRecord, 12);

#if UINTPTR_MAX == 0xFFFFFFFFu
GAUGE_SIZE(ModuleLinkage, 32);
GAUGE_OFFSET(ModuleLinkage, module_init, 4);
GAUGE_OFFSET(ModuleLinkage, module_deinit, 8);
GAUGE_OFFSET(ModuleLinkage, module_version, 20);
GAUGE_OFFSET(ModuleLinkage, gauges, 24);

GAUGE_SIZE(ImportTableRecord, 16);
GAUGE_OFFSET(ImportTableRecord, services, 4);
GAUGE_OFFSET(ImportTableRecord, end_id, 8);

GAUGE_SIZE(GaugeHeader, 88);
GAUGE_OFFSET(GaugeHeader, gauge_name, 4);
GAUGE_OFFSET(GaugeHeader, element_list, 8);
GAUGE_OFFSET(GaugeHeader, query_routine, 12);
GAUGE_OFFSET(GaugeHeader, install_routine, 16);
GAUGE_OFFSET(GaugeHeader, initialize_routine, 20);
GAUGE_OFFSET(GaugeHeader, update_routine, 24);
GAUGE_OFFSET(GaugeHeader, generate_routine, 28);
GAUGE_OFFSET(GaugeHeader, draw_routine, 32);
GAUGE_OFFSET(GaugeHeader, kill_routine, 36);
GAUGE_OFFSET(GaugeHeader, module_instance, 40);
GAUGE_OFFSET(GaugeHeader, size_x, 44);
GAUGE_OFFSET(GaugeHeader, zero_48, 48);
GAUGE_OFFSET(GaugeHeader, mouse_rect, 80);
GAUGE_OFFSET(GaugeHeader, gauge_callback, 84);

GAUGE_SIZE(ElementHeader, 60);
GAUGE_OFFSET(ElementHeader, resource_id, 4);
GAUGE_OFFSET(ElementHeader, position_x, 8);
GAUGE_OFFSET(ElementHeader, position_y, 12);
GAUGE_OFFSET(ElementHeader, origin_x, 24);
GAUGE_OFFSET(ElementHeader, origin_y, 28);
GAUGE_OFFSET(ElementHeader, gauge_header, 32);
GAUGE_OFFSET(ElementHeader, host_36, 36);
GAUGE_OFFSET(ElementHeader, next_elements, 40);
GAUGE_OFFSET(ElementHeader, failures, 44);
GAUGE_OFFSET(ElementHeader, image_flags, 48);
GAUGE_OFFSET(ElementHeader, zero_52, 52);
GAUGE_OFFSET(ElementHeader, zero_56, 56);

GAUGE_SIZE(PanelImage, 28);
GAUGE_OFFSET(PanelImage, width, 4);
GAUGE_OFFSET(PanelImage, height, 8);
GAUGE_OFFSET(PanelImage, pitch, 12);
GAUGE_OFFSET(PanelImage, byte_size, 20);
GAUGE_OFFSET(PanelImage, bits, 24);

GAUGE_SIZE(ImageSet, 16);
GAUGE_SIZE(StaticImageElement, 80);
GAUGE_OFFSET(StaticImageElement, image_data, 60);
GAUGE_OFFSET(StaticImageElement, host_76, 76);

GAUGE_SIZE(ModuleVar, 28);
GAUGE_OFFSET(ModuleVar, value, 12);
GAUGE_OFFSET(ModuleVar, previous_value, 20);

GAUGE_SIZE(PictureElement610, 136);
GAUGE_OFFSET(PictureElement610, source_var, 60);
GAUGE_OFFSET(PictureElement610, source_var.value, 72);
GAUGE_OFFSET(PictureElement610, source_var.previous_value, 80);
GAUGE_OFFSET(PictureElement610, value_callback, 88);
GAUGE_OFFSET(PictureElement610, picture_mode, 92);
GAUGE_OFFSET(PictureElement610, zero_96, 96);
GAUGE_OFFSET(PictureElement610, image_count, 112);
GAUGE_OFFSET(PictureElement610, image_sets, 124);
GAUGE_OFFSET(PictureElement610, zero_132, 132);

GAUGE_SIZE(PictureElement800, 140);
GAUGE_OFFSET(PictureElement800, source_var, 60);
GAUGE_OFFSET(PictureElement800, zero_88, 88);
GAUGE_OFFSET(PictureElement800, picture_mode, 92);
GAUGE_OFFSET(PictureElement800, image_count, 112);
GAUGE_OFFSET(PictureElement800, image_sets, 124);
GAUGE_OFFSET(PictureElement800, value_callback, 132);
GAUGE_OFFSET(PictureElement800, zero_136, 136);

GAUGE_SIZE(NeedleElement, 236);
GAUGE_OFFSET(NeedleElement, source_var, 60);
GAUGE_OFFSET(NeedleElement, zero_88, 88);
GAUGE_OFFSET(NeedleElement, scale_table, 112);
GAUGE_OFFSET(NeedleElement, scale_count, 116);
GAUGE_OFFSET(NeedleElement, host_120, 120);
GAUGE_OFFSET(NeedleElement, value_callback, 224);
GAUGE_OFFSET(NeedleElement, zero_228, 228);

GAUGE_SIZE(MouseRect, 44);
GAUGE_OFFSET(MouseRect, box_x, 4);
GAUGE_OFFSET(MouseRect, box_y, 8);
GAUGE_OFFSET(MouseRect, box_width, 12);
GAUGE_OFFSET(MouseRect, box_height, 16);
GAUGE_OFFSET(MouseRect, cursor, 20);
GAUGE_OFFSET(MouseRect, help_id, 24);
GAUGE_OFFSET(MouseRect, event_flags, 28);
GAUGE_OFFSET(MouseRect, zero_32, 32);
GAUGE_OFFSET(MouseRect, callback, 36);
GAUGE_OFFSET(MouseRect, zero_40, 40);

GAUGE_SIZE(PanelServices, 0xA4);
#endif

#undef GAUGE_OFFSET
#undef GAUGE_SIZE

// Module side: every module defines the two exported records. A panel service is called by loading
// the table address from `ImportTable` at each call, so a module always uses the table the host
// wrote last.
extern "C" GAUGE_EXPORT ImportTableRecord ImportTable;
extern "C" GAUGE_EXPORT ModuleLinkage Linkage;

inline const PanelServices* panel_services() { return ImportTable.services; }

inline void elements_query(ElementHeader* root) { panel_services()->elements_query(root); }
inline void elements_install(ElementHeader* root, uint32_t install_argument) {
    panel_services()->elements_install(root, install_argument);
}
inline void elements_initialize(ElementHeader* root) { panel_services()->elements_initialize(root); }
inline void elements_update(ElementHeader* root) { panel_services()->elements_update(root); }
inline void elements_generate(ElementHeader* root, uint32_t generate_argument) {
    panel_services()->elements_generate(root, generate_argument);
}
inline void elements_draw(ElementHeader* root) { panel_services()->elements_draw(root); }
inline void elements_kill(ElementHeader* root) { panel_services()->elements_kill(root); }
inline void mouse_areas_install(MouseRect* list, GaugeHeader* header, int32_t* size_pair) {
    panel_services()->mouse_areas_install(list, header, size_pair);
}
inline void mouse_areas_register(MouseRect* list, GaugeHeader* header) {
    panel_services()->mouse_areas_register(list, header);
}
inline void mouse_areas_unregister(MouseRect* list, GaugeHeader* header) {
    panel_services()->mouse_areas_unregister(list, header);
}
inline void send_key_event(uint32_t event_id, uint32_t value) { panel_services()->send_key_event(event_id, value); }
inline void var_register(ModuleVar* var) { panel_services()->var_register(var); }
inline void var_refresh(ModuleVar* var) { panel_services()->var_refresh(var); }

#endif
