// Writes 8-bit Windows bitmaps with a full 256-entry colour table, the form in which the gauges
// carry their pictures as resources.
#ifndef TOOLS_BITMAPS_BMP_WRITER_H
#define TOOLS_BITMAPS_BMP_WRITER_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace bitmaps {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A picture of palette indices, stored top-down, row after row without padding.
struct IndexedBitmap {
    int width = 0;
    int height = 0;
    std::array<Rgb, 256> palette{};
    std::vector<uint8_t> pixels;

    IndexedBitmap() = default;
    // All pixels index 0, all colours black.
    IndexedBitmap(int w, int h);

    // Throws std::out_of_range for a point outside the picture.
    void set(int x, int y, uint8_t index);
    uint8_t at(int x, int y) const;
};

// The whole .bmp file: BITMAPFILEHEADER, BITMAPINFOHEADER, 256 RGBQUADs and the rows bottom-up,
// each padded to a multiple of 4 bytes. Throws std::invalid_argument if the size is not positive
// or the pixels do not match it.
std::vector<uint8_t> bmp_bytes(const IndexedBitmap& bitmap);

// Writes bmp_bytes(bitmap) to path. On failure returns false and says why in *error.
bool write_bmp(const std::string& path, const IndexedBitmap& bitmap, std::string* error);

}  // namespace bitmaps

#endif
