// The pixels of a surface as GDI and DirectDraw both see them: 8 bits per pixel indexing a palette,
// or 16 bits per pixel in 1-5-5-5 (bit 15 is not a colour: GDI writes it as 0 and ignores it when
// it compares colours).
#ifndef STANDIN_CANVAS_H
#define STANDIN_CANVAS_H

#include <array>
#include <cstdint>
#include <memory>

#include "win32_standin.h"

namespace standin {

using PaletteEntries = std::array<PALETTEENTRY, 256>;

// A canvas's memory and shape, copied out of it. A loop that plots through a local view keeps them
// in registers: a pixel is stored as bytes, which may alias anything, so the canvas's own fields
// would be read again after every pixel.
struct PixelView {
    uint8_t* memory;
    size_t pitch;
    int width;
    int height;
    int bits_per_pixel;

    bool contains(long long x, long long y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // A 16-bit pixel is stored low byte first; nothing outside the canvas.
    void put_clipped(long long x, long long y, uint32_t pixel) const {
        if (!contains(x, y)) return;
        uint8_t* at = memory + static_cast<size_t>(y) * pitch + static_cast<size_t>(x) * static_cast<size_t>(bits_per_pixel / 8);
        at[0] = static_cast<uint8_t>(pixel);
        if (bits_per_pixel == 16) at[1] = static_cast<uint8_t>(pixel >> 8);
    }
};

class Canvas {
public:
    // Null when the memory cannot be had.
    static std::shared_ptr<Canvas> create(int width, int height, int pitch, int bits_per_pixel);

    int width() const { return width_; }
    int height() const { return height_; }
    int pitch() const { return pitch_; }
    int bits_per_pixel() const { return bits_per_pixel_; }
    int bytes_per_pixel() const { return bits_per_pixel_ / 8; }
    uint8_t* memory() { return memory_.get(); }
    uint8_t* row(int y) { return memory_.get() + static_cast<size_t>(y) * static_cast<size_t>(pitch_); }

    // The palette that colours of an 8-bit canvas are matched against. Without one the canvas uses
    // the twenty static colours of the Windows system palette (indices 0 to 9 and 246 to 255).
    void set_palette(std::shared_ptr<const PaletteEntries> palette) { palette_ = std::move(palette); }
    const PaletteEntries& palette() const;
    bool same_colours_as(const Canvas& other) const;

    bool contains(long long x, long long y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    PixelView view() {
        return PixelView{memory_.get(), static_cast<size_t>(pitch_), width_, height_, bits_per_pixel_};
    }
    // Inline: every figure goes through them pixel by pixel. A 16-bit pixel is stored low byte first.
    uint32_t get(int x, int y) const {
        const uint8_t* pixel = memory_.get() + offset(x, y);
        if (bits_per_pixel_ == 8) return pixel[0];
        return static_cast<uint32_t>(pixel[0]) | static_cast<uint32_t>(pixel[1]) << 8;
    }
    void put(int x, int y, uint32_t pixel) { view().put_clipped(x, y, pixel); }  // nothing outside the canvas
    // Pixels first..last-1 of row y, which must lie inside the canvas, take the value.
    void fill_span(int y, int first, int last, uint32_t pixel);

    // COLORREF -> pixel: the nearest palette entry (the lowest index among equals) on an 8-bit
    // canvas, PALETTEINDEX(i) directly; the top five bits of each component on a 16-bit canvas.
    uint32_t pixel_for(COLORREF colour) const;
    COLORREF colour_of(uint32_t pixel) const;
    // The part of a pixel that is its colour.
    uint32_t colour_bits(uint32_t pixel) const { return bits_per_pixel_ == 16 ? pixel & 0x7FFFu : pixel & 0xFFu; }

private:
    size_t offset(int x, int y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(pitch_) +
               static_cast<size_t>(x) * static_cast<size_t>(bits_per_pixel_ / 8);
    }

    Canvas(int width, int height, int pitch, int bits_per_pixel, std::unique_ptr<uint8_t[]> memory)
        : width_(width), height_(height), pitch_(pitch), bits_per_pixel_(bits_per_pixel), memory_(std::move(memory)) {}

    int width_;
    int height_;
    int pitch_;
    int bits_per_pixel_;
    std::unique_ptr<uint8_t[]> memory_;
    std::shared_ptr<const PaletteEntries> palette_;
};

}  // namespace standin

#endif
