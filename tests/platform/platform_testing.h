// What the platform tests share: a drawing surface with its device context, pictures read back
// from it, and objects that deselect and delete themselves.
#ifndef TESTS_PLATFORM_TESTING_H
#define TESTS_PLATFORM_TESTING_H

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "win32.h"

namespace platform_testing {

// The pixels of a surface, row by row, as Lock shows them.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // The places whose pixel differs from `background`.
    std::set<std::pair<int, int>> marked(uint32_t background) const;
    // Rows of '.' (background) and '#' (anything else), for failure messages.
    std::string sketch(uint32_t background) const;
};

// An off-screen system-memory surface of 8 bits (with `palette`) or 16 bits (1-5-5-5), made the way
// the navigation display makes its own, with its device context.
// The description with which the navigation display asks for its drawing surface: system memory
// with its own device context, 8-bit palette-indexed or 16-bit 1-5-5-5 pixels; pitch 0 leaves the
// pitch to DirectDraw.
DDSURFACEDESC display_description(int width, int height, int pitch, bool sixteen_bits);

class Surface {
public:
    Surface(int width, int height, int bits_per_pixel, const PALETTEENTRY* palette = nullptr, int pitch = 0);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC dc() const { return dc_; }
    IDirectDrawSurface3* surface3() const { return surface3_; }
    void fill(uint32_t pixel);  // Blt colour fill of the whole surface
    Picture picture() const;    // through Lock and Unlock
    // Writes the picture as NAME.png into the folder that PLATFORM_TEST_PICTURES names, if it does.
    void save(const std::string& name) const;

private:
    int bits_;
    LPDIRECTDRAW directdraw_ = nullptr;
    LPDIRECTDRAW2 directdraw2_ = nullptr;
    LPDIRECTDRAWSURFACE surface_ = nullptr;
    IDirectDrawSurface3* surface3_ = nullptr;
    LPDIRECTDRAWPALETTE palette_ = nullptr;
    HDC dc_ = nullptr;
};

// A pen, brush or font selected into a device context for the life of this object, then
// deselected and deleted.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object);
    ~Selected();
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ previous_;
};

HFONT arial(int height);

// A 256-entry palette: black, except for a few colours that the tests name.
const PALETTEENTRY* test_palette();
constexpr uint32_t kBlack = 0;
constexpr uint32_t kRedIndex = 249;      // 255, 0, 0
constexpr uint32_t kGreenIndex = 250;    // 0, 255, 0
constexpr uint32_t kYellowIndex = 251;   // 255, 255, 0
constexpr uint32_t kBlueIndex = 252;     // 0, 0, 255
constexpr uint32_t kMagentaIndex = 253;  // 255, 0, 255
constexpr uint32_t kCyanIndex = 254;     // 0, 255, 255
constexpr uint32_t kWhiteIndex = 255;    // 255, 255, 255

// 8-connected: every marked place can be reached from every other through marked neighbours.
bool connected(const std::set<std::pair<int, int>>& places);

// Reads the whole of a file.
std::string file_text(const std::string& path);

}  // namespace platform_testing

#endif
