// Bitmap resources of a module, decoded into the images the host attaches to elements.
#ifndef HOST_BITMAP_H
#define HOST_BITMAP_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gauge_records.h"

namespace host {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// An 8-bit bitmap as a module carries it: top-down palette indices and its colour table.
struct IndexedBitmap {
    int width = 0;
    int height = 0;
    std::array<Rgb, 256> palette{};
    std::vector<uint8_t> indices;
};

// Decodes a bitmap resource (BITMAPINFOHEADER, colour table, bottom-up or top-down rows).
// Returns false with a reason for anything but an uncompressed 8-bit bitmap that fits its bytes.
bool decode_bitmap(const uint8_t* data, size_t size, IndexedBitmap* bitmap, std::string* reason);

// The bitmap resampled to width x height (nearest pixel), as a panel stretches a gauge.
IndexedBitmap scale_bitmap(const IndexedBitmap& bitmap, int width, int height);

// A PanelImage that the host owns: its pixels and, for 8-bit images, the palette they index.
struct HostImage {
    PanelImage image{};
    std::vector<uint8_t> pixels;
    std::array<Rgb, 256> palette{};
};

// Builds the image of a bitmap at its own size in PanelImage format 1 (indices as they are) or
// 2 (1-5-5-5 colours, black as 0, any other colour never 0).
void make_panel_image(const IndexedBitmap& bitmap, PanelImageFormat format, HostImage* out);

// The colour of one pixel, or false where it is black (0) and so transparent.
bool pixel_colour(const HostImage& image, int x, int y, Rgb* colour);

uint16_t pack_1555(Rgb colour);

}  // namespace host

#endif
