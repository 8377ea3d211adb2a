// The shared block "NDPassData": four 10-byte text fields in which the display publishes its
// settings and through whose first field other modules switch its layout. It is opened once per
// load of the module, at the first update, and read and written without a lock: the last writer wins.
#include <string.h>

#include "nd_state.h"

#define ND_SHARED_BLOCK_NAME "NDPassData"

HANDLE nd_shared_mapping;
char* nd_shared_view;
char mode_text[ND_SHARED_FIELD_BYTES] = "NDMode=1";
int shared_block_pending = 1;

// One field: the text, NUL-padded to 10 bytes.
static void write_field(char* field, const char* format, int value) {
    char text[ND_SHARED_FIELD_BYTES] = {};
    snprintf(text, sizeof text, format, value);
    memcpy(field, text, ND_SHARED_FIELD_BYTES);
}

// A block that another module created first is left as it is.
void open_shared_block(void) {
    nd_shared_mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, ND_SHARED_BLOCK_BYTES, ND_SHARED_BLOCK_NAME);
    if (nd_shared_mapping == nullptr) return;
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    nd_shared_view = static_cast<char*>(MapViewOfFile(nd_shared_mapping, FILE_MAP_WRITE, 0, 0, 0));
    if (existed || nd_shared_view == nullptr) return;
    write_field(nd_shared_view, "NDMode=%d", nd_mode);
    write_field(nd_shared_view + 10, "MapMode=%d", map_mode);
    write_field(nd_shared_view + 20, "Item=0x%X", item_mask);
    write_field(nd_shared_view + 30, "Range=%d", map_range);
}

void close_shared_block(void) {
    if (nd_shared_view != nullptr) UnmapViewOfFile(nd_shared_view);
    nd_shared_view = nullptr;
    if (nd_shared_mapping != nullptr) CloseHandle(nd_shared_mapping);
    nd_shared_mapping = nullptr;
}
