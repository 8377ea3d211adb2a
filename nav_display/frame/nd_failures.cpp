// Reports of the drawing surface's failures: a message box for the user and the same text, with the
// DirectDraw result, in the failure log Gauges\Vistrel.ND.err. A failure switches surface work off
// for the module's life. When no log could be opened the message boxes still appear.
#include <inttypes.h>

#include "nd_state.h"

#define ND_MESSAGE_BYTES 256
#define ND_FAILURE_COUNT 14

static const char* const failure_messages[ND_FAILURE_COUNT + 1] = {
    "\nUnknown error.",
    "\nUnable to create DirectDraw object.",
    "\nUnable to set cooperative level.",
    "\nUnable to query DD interface.",
    "\nUnable to create surface.",
    "\nUnable to query DDS interface.",
    "\nUnable to lock surface.",
    "\nUnable to create palette.",
    "\nUnable to set palette.",
    "\nUnable to get Device Context.",
    "\nUnrecognized color format.",
    "\nUnable to create bitmask surface.",
    "\nUnable to query DDS interface for bitmask.",
    "\nUnable to lock bitmask surface.",
    "\nUnable to get Device Context for bitmask.",
};

void report_dd_failure(HRESULT result, FILE* log, int failure_number) {
    if (result == 0) return;
    dd_failed = 1;
    const int known = failure_number >= 1 && failure_number <= ND_FAILURE_COUNT ? failure_number : 0;
    char text[ND_MESSAGE_BYTES];
    snprintf(text, sizeof text, "%s%s", ND_GAUGE_NAME, failure_messages[known]);
    MessageBoxA(nullptr, text, "Error", MB_ICONERROR);
    if (log != nullptr) fprintf(log, "%s\n ddrval = %08X\n\n", text, static_cast<unsigned>(result));
}

// Without bitmap 4096 the display has no colours; the surface is still built.
void report_missing_colour_table(FILE* log, HRSRC resource, HGLOBAL loaded) {
    char text[ND_MESSAGE_BYTES];
    snprintf(text, sizeof text, "%s%s", ND_GAUGE_NAME, "\nUnable to get the color table \nand the palette.");
    MessageBoxA(nullptr, text, "Warning", MB_ICONWARNING);
    if (log == nullptr) return;
    fprintf(log, "%s\n hMod = %08" PRIXPTR "  hRc = %08" PRIXPTR "  hGlobal = %08" PRIXPTR "\n\n", text,
            reinterpret_cast<uintptr_t>(nd_header.module_instance), reinterpret_cast<uintptr_t>(resource),
            reinterpret_cast<uintptr_t>(loaded));
}
