#include "bmp_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace bitmaps {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kColourTableSize = 256 * 4;
constexpr uint32_t kPixelsOffset = kFileHeaderSize + kInfoHeaderSize + kColourTableSize;
constexpr int kMaxSide = 32768;

void put_u16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put_u32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

}  // namespace

IndexedBitmap::IndexedBitmap(int w, int h) : width(w), height(h) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        throw std::invalid_argument("bitmap size out of range");
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

void IndexedBitmap::set(int x, int y, uint8_t index) {
    if (x < 0 || y < 0 || x >= width || y >= height) throw std::out_of_range("pixel outside the bitmap");
    pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = index;
}

uint8_t IndexedBitmap::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) throw std::out_of_range("pixel outside the bitmap");
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
}

std::vector<uint8_t> bmp_bytes(const IndexedBitmap& bitmap) {
    if (bitmap.width <= 0 || bitmap.height <= 0 || bitmap.width > kMaxSide || bitmap.height > kMaxSide)
        throw std::invalid_argument("bitmap size out of range");
    const size_t width = static_cast<size_t>(bitmap.width);
    const size_t height = static_cast<size_t>(bitmap.height);
    if (bitmap.pixels.size() != width * height)
        throw std::invalid_argument("bitmap pixel count does not match its size");

    const size_t stride = (width + 3) & ~size_t{3};
    const uint32_t image_size = static_cast<uint32_t>(stride * height);
    const uint32_t file_size = kPixelsOffset + image_size;

    std::vector<uint8_t> out;
    out.reserve(file_size);

    // BITMAPFILEHEADER
    out.push_back('B');
    out.push_back('M');
    put_u32(out, file_size);
    put_u16(out, 0);  // reserved
    put_u16(out, 0);  // reserved
    put_u32(out, kPixelsOffset);

    // BITMAPINFOHEADER; a positive height means the rows are stored bottom-up.
    put_u32(out, kInfoHeaderSize);
    put_u32(out, static_cast<uint32_t>(bitmap.width));
    put_u32(out, static_cast<uint32_t>(bitmap.height));
    put_u16(out, 1);  // planes
    put_u16(out, 8);  // bits per pixel
    put_u32(out, 0);  // BI_RGB
    put_u32(out, image_size);
    put_u32(out, 0);  // pixels per metre, x: unspecified
    put_u32(out, 0);  // pixels per metre, y: unspecified
    put_u32(out, 256);  // colours used
    put_u32(out, 0);    // colours important: all

    // RGBQUADs: blue, green, red, reserved.
    for (const Rgb& colour : bitmap.palette) {
        out.push_back(colour.b);
        out.push_back(colour.g);
        out.push_back(colour.r);
        out.push_back(0);
    }

    for (size_t row = height; row-- > 0;) {
        const uint8_t* source = bitmap.pixels.data() + row * width;
        out.insert(out.end(), source, source + width);
        out.insert(out.end(), stride - width, uint8_t{0});
    }
    return out;
}

bool write_bmp(const std::string& path, const IndexedBitmap& bitmap, std::string* error) {
    std::vector<uint8_t> bytes;
    try {
        bytes = bmp_bytes(bitmap);
    } catch (const std::invalid_argument& e) {
        *error = e.what();
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    const int write_errno = errno;
    const bool closed = std::fclose(file) == 0;
    if (written != bytes.size() || !closed) {
        *error = path + ": " + std::strerror(written != bytes.size() ? write_errno : errno);
        return false;
    }
    return true;
}

}  // namespace bitmaps
