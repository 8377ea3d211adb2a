// The stand-in's counterpart of a PE resource section: every module on Linux exports one directory
// of its bitmaps, each headed by its BITMAPINFOHEADER exactly as LoadResource returns it on Windows.
#ifndef STANDIN_RESOURCES_H
#define STANDIN_RESOURCES_H

#include <stdint.h>

#define STANDIN_RT_BITMAP 2u
#define STANDIN_RESOURCES_SYMBOL "StandInResources"
#define STANDIN_RESOURCES_EXPORT __attribute__((visibility("default")))

struct StandInResource {
    uint32_t type;
    uint32_t id;
    uint32_t size;
    const unsigned char* data;
};

struct StandInResourceDirectory {
    uint32_t count;
    const StandInResource* entries;
};

#endif
