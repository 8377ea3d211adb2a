// A loadable module for the kernel tests: one bitmap resource, 4096, in the stand-in's resource
// directory, and one exported function.
#include "standin_resources.h"
#include "win32_standin.h"

namespace {

struct Bitmap {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
    unsigned char pixels[8];
};

constexpr Bitmap make_bitmap() {
    Bitmap bitmap{};
    bitmap.header = {40, 4, 2, 1, 8, BI_RGB, 8, 0, 0, 256, 0};
    bitmap.colours[250] = {0, 255, 0, 0};
    bitmap.colours[255] = {255, 255, 255, 0};
    const unsigned char pixels[8] = {250, 255, 250, 255, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i) bitmap.pixels[i] = pixels[i];
    return bitmap;
}

alignas(4) constexpr Bitmap bitmap_4096 = make_bitmap();

const StandInResource entries[] = {
    {STANDIN_RT_BITMAP, 4096, sizeof bitmap_4096, reinterpret_cast<const unsigned char*>(&bitmap_4096)},
};

}  // namespace

extern "C" STANDIN_RESOURCES_EXPORT const StandInResourceDirectory StandInResources = {1, entries};

extern "C" STANDIN_RESOURCES_EXPORT int test_module_answer() { return 42; }
