#include "canvas.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace standin {

namespace {

PaletteEntries static_colours() {
    PaletteEntries entries{};
    const struct {
        int index;
        BYTE red, green, blue;
    } statics[] = {
        {0, 0, 0, 0},          {1, 128, 0, 0},        {2, 0, 128, 0},       {3, 128, 128, 0},
        {4, 0, 0, 128},        {5, 128, 0, 128},      {6, 0, 128, 128},     {7, 192, 192, 192},
        {8, 192, 220, 192},    {9, 166, 202, 240},    {246, 255, 251, 240}, {247, 160, 160, 164},
        {248, 128, 128, 128},  {249, 255, 0, 0},      {250, 0, 255, 0},     {251, 255, 255, 0},
        {252, 0, 0, 255},      {253, 255, 0, 255},    {254, 0, 255, 255},   {255, 255, 255, 255},
    };
    for (const auto& entry : statics) entries[entry.index] = PALETTEENTRY{entry.red, entry.green, entry.blue, 0};
    return entries;
}

}  // namespace

std::shared_ptr<Canvas> Canvas::create(int width, int height, int pitch, int bits_per_pixel) {
    const size_t bytes = static_cast<size_t>(pitch) * static_cast<size_t>(height);
    std::unique_ptr<uint8_t[]> memory(new (std::nothrow) uint8_t[bytes == 0 ? 1 : bytes]);
    if (!memory) return nullptr;
    memset(memory.get(), 0, bytes);
    return std::shared_ptr<Canvas>(new (std::nothrow) Canvas(width, height, pitch, bits_per_pixel, std::move(memory)));
}

const PaletteEntries& Canvas::palette() const {
    static const PaletteEntries system_palette = static_colours();
    return palette_ ? *palette_ : system_palette;
}

bool Canvas::same_colours_as(const Canvas& other) const {
    if (bits_per_pixel_ != other.bits_per_pixel_) return false;
    if (bits_per_pixel_ == 16) return true;
    const PaletteEntries& mine = palette();
    const PaletteEntries& theirs = other.palette();
    for (size_t i = 0; i < mine.size(); ++i) {
        if (mine[i].peRed != theirs[i].peRed || mine[i].peGreen != theirs[i].peGreen ||
            mine[i].peBlue != theirs[i].peBlue) {
            return false;
        }
    }
    return true;
}

void Canvas::fill_span(int y, int first, int last, uint32_t value) {
    if (first >= last) return;
    uint8_t* pixel = row(y) + static_cast<size_t>(first) * static_cast<size_t>(bits_per_pixel_ / 8);
    const size_t count = static_cast<size_t>(last - first);
    if (bits_per_pixel_ == 8) {
        memset(pixel, static_cast<int>(value & 0xFFu), count);
        return;
    }
    // The machine's own order is low byte first (x86), as put stores it. The canvas's bytes are an
    // array of unsigned char, in which 16-bit pixels may live; a row at an odd address (an odd
    // pitch) is filled byte by byte.
    const auto word = static_cast<uint16_t>(value);
    if (reinterpret_cast<uintptr_t>(pixel) % alignof(uint16_t) == 0) {
        std::fill_n(reinterpret_cast<uint16_t*>(pixel), count, word);
        return;
    }
    for (size_t i = 0; i < count; ++i) memcpy(pixel + 2 * i, &word, 2);
}

uint32_t Canvas::pixel_for(COLORREF colour) const {
    const PaletteEntries& entries = palette();
    if ((colour >> 24) == 0x01) {
        const uint32_t index = colour & 0xFFu;
        if (bits_per_pixel_ == 8) return index;
        colour = RGB(entries[index].peRed, entries[index].peGreen, entries[index].peBlue);
    }
    const int red = GetRValue(colour);
    const int green = GetGValue(colour);
    const int blue = GetBValue(colour);
    if (bits_per_pixel_ == 16) {
        return static_cast<uint32_t>((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3));
    }
    uint32_t nearest = 0;
    int best = 1 << 30;
    for (uint32_t i = 0; i < entries.size(); ++i) {
        const int dr = red - entries[i].peRed;
        const int dg = green - entries[i].peGreen;
        const int db = blue - entries[i].peBlue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

COLORREF Canvas::colour_of(uint32_t pixel) const {
    if (bits_per_pixel_ == 8) {
        const PALETTEENTRY& entry = palette()[pixel & 0xFFu];
        return RGB(entry.peRed, entry.peGreen, entry.peBlue);
    }
    const auto expand = [](uint32_t five) { return static_cast<BYTE>(five << 3 | five >> 2); };
    return RGB(expand(pixel >> 10 & 31u), expand(pixel >> 5 & 31u), expand(pixel & 31u));
}

}  // namespace standin
