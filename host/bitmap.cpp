#include "bitmap.h"

#include <cstring>

namespace host {

namespace {

uint32_t read_u32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t read_u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

constexpr int kMaxSide = 4096;

}  // namespace

bool decode_bitmap(const uint8_t* data, size_t size, IndexedBitmap* bitmap, std::string* reason) {
    if (size < 40 || read_u32(data) < 40 || read_u32(data) > size) {
        *reason = "too short for a BITMAPINFOHEADER";
        return false;
    }
    const uint32_t header_size = read_u32(data);
    const int32_t width = static_cast<int32_t>(read_u32(data + 4));
    const int32_t raw_height = static_cast<int32_t>(read_u32(data + 8));
    const uint16_t bit_count = read_u16(data + 14);
    const uint32_t compression = read_u32(data + 16);
    uint32_t colours = read_u32(data + 32);
    if (bit_count != 8 || compression != 0) {
        *reason = "not an uncompressed 8-bit bitmap";
        return false;
    }
    if (width <= 0 || width > kMaxSide || raw_height == 0 || raw_height < -kMaxSide || raw_height > kMaxSide) {
        *reason = "size out of range";
        return false;
    }
    if (colours == 0) colours = 256;
    if (colours > 256) {
        *reason = "more than 256 colours";
        return false;
    }
    const bool bottom_up = raw_height > 0;
    const int height = bottom_up ? raw_height : -raw_height;
    const size_t stride = (static_cast<size_t>(width) + 3) & ~size_t{3};
    const size_t pixels_at = header_size + 4 * static_cast<size_t>(colours);
    if (pixels_at + stride * static_cast<size_t>(height) > size) {
        *reason = "pixel rows run past the end of the resource";
        return false;
    }
    bitmap->width = width;
    bitmap->height = height;
    bitmap->palette.fill(Rgb{0, 0, 0});
    for (uint32_t i = 0; i < colours; ++i) {
        const uint8_t* quad = data + header_size + 4 * i;
        bitmap->palette[i] = Rgb{quad[2], quad[1], quad[0]};
    }
    bitmap->indices.resize(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        const int source_row = bottom_up ? height - 1 - row : row;
        std::memcpy(&bitmap->indices[static_cast<size_t>(row) * width], data + pixels_at + stride * source_row,
                    static_cast<size_t>(width));
    }
    return true;
}

IndexedBitmap scale_bitmap(const IndexedBitmap& bitmap, int width, int height) {
    if (width == bitmap.width && height == bitmap.height) return bitmap;
    IndexedBitmap scaled;
    scaled.width = width;
    scaled.height = height;
    scaled.palette = bitmap.palette;
    scaled.indices.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const int64_t source_y = (2 * static_cast<int64_t>(y) + 1) * bitmap.height / (2 * static_cast<int64_t>(height));
        for (int x = 0; x < width; ++x) {
            const int64_t source_x = (2 * static_cast<int64_t>(x) + 1) * bitmap.width / (2 * static_cast<int64_t>(width));
            scaled.indices[static_cast<size_t>(y) * width + x] =
                bitmap.indices[static_cast<size_t>(source_y) * bitmap.width + static_cast<size_t>(source_x)];
        }
    }
    return scaled;
}

uint16_t pack_1555(Rgb colour) {
    const uint16_t packed = static_cast<uint16_t>((colour.r >> 3) << 10 | (colour.g >> 3) << 5 | (colour.b >> 3));
    // Only black may be transparent: a dark colour keeps the darkest visible grey.
    if (packed == 0 && !(colour == Rgb{0, 0, 0})) return 0x0421;
    return packed;
}

void make_panel_image(const IndexedBitmap& bitmap, PanelImageFormat format, HostImage* out) {
    const int bytes_per_pixel = format == PANEL_IMAGE_16BIT ? 2 : 1;
    const int pitch = bitmap.width * bytes_per_pixel;
    out->pixels.assign(static_cast<size_t>(pitch) * bitmap.height, 0);
    out->palette = bitmap.palette;
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            const uint8_t index = bitmap.indices[static_cast<size_t>(y) * bitmap.width + x];
            uint8_t* pixel = &out->pixels[static_cast<size_t>(y) * pitch + static_cast<size_t>(x) * bytes_per_pixel];
            if (format == PANEL_IMAGE_16BIT) {
                const uint16_t packed = index == 0 ? 0 : pack_1555(bitmap.palette[index]);
                pixel[0] = static_cast<uint8_t>(packed);
                pixel[1] = static_cast<uint8_t>(packed >> 8);
            } else {
                pixel[0] = index;
            }
        }
    }
    out->image = PanelImage{};
    out->image.format = format;
    out->image.width = bitmap.width;
    out->image.height = bitmap.height;
    out->image.pitch = pitch;
    out->image.byte_size = static_cast<uint32_t>(out->pixels.size());
    out->image.bits = out->pixels.data();
}

bool pixel_colour(const HostImage& image, int x, int y, Rgb* colour) {
    const PanelImage& panel = image.image;
    if (x < 0 || y < 0 || x >= panel.width || y >= panel.height) return false;
    const uint8_t* pixel = panel.bits + static_cast<size_t>(y) * panel.pitch + static_cast<size_t>(x) * panel.format;
    if (panel.format == PANEL_IMAGE_16BIT) {
        const unsigned value = pixel[0] | pixel[1] << 8;
        if (value == 0) return false;
        const auto expand = [](unsigned five) { return static_cast<uint8_t>(five << 3 | five >> 2); };
        *colour = Rgb{expand(value >> 10 & 31), expand(value >> 5 & 31), expand(value & 31)};
        return true;
    }
    if (pixel[0] == 0) return false;
    *colour = image.palette[pixel[0]];
    return true;
}

}  // namespace host
