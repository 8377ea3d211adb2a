// Colours as they reach the pixels: the nearest palette entry on 8-bit surfaces, 1-5-5-5 packing on
// 16-bit ones, for pens, brushes and text alike; and BitBlt's SRCCOPY and SRCPAINT.
#include <gtest/gtest.h>

#include "platform_testing.h"

using namespace platform_testing;

namespace {

uint32_t pixel_drawn(Surface& surface, COLORREF colour) {
    surface.fill(0);
    Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, colour));
    MoveToEx(surface.dc(), 0, 0, nullptr);
    LineTo(surface.dc(), 2, 0);
    return surface.picture().at(1, 0);
}

TEST(PlatformColours, EightBitSurfacesTakeTheNearestPaletteEntry) {
    Surface surface(4, 4, 8, test_palette());
    const struct {
        COLORREF colour;
        uint32_t index;
    } cases[] = {
        {RGB(255, 255, 255), kWhiteIndex},
        {RGB(0, 255, 255), kCyanIndex},
        {RGB(255, 128, 0), 110},            // amber, exactly
        {RGB(250, 120, 10), 110},           // nearest to amber
        {RGB(200, 200, 200), 7},            // light grey, not white
        {RGB(130, 120, 135), 248},          // mid grey
        {RGB(0, 0, 0), 0},                  // black: index 0, the lowest of all the black entries
        {RGB(20, 0, 0), 0},                 // nearer black (0) than dark red (1)
        {RGB(70, 0, 0), 1},                 // nearer dark red
        {RGB(64, 0, 0), 0},                 // as near both: the lower index
        {PALETTEINDEX(2), 2},               // an index, taken as it is
        {PALETTEINDEX(300), 300 & 0xFF},
    };
    for (const auto& c : cases) EXPECT_EQ(pixel_drawn(surface, c.colour), c.index) << std::hex << c.colour;
}

TEST(PlatformColours, SixteenBitSurfacesTakeTheTopFiveBitsOfEachComponent) {
    Surface surface(4, 4, 16);
    const struct {
        COLORREF colour;
        uint32_t pixel;
    } cases[] = {
        {RGB(255, 255, 255), 0x7FFF}, {RGB(0, 0, 0), 0x0000},   {RGB(255, 0, 0), 0x7C00},
        {RGB(0, 255, 0), 0x03E0},     {RGB(0, 0, 255), 0x001F}, {RGB(255, 128, 0), 0x7E00},
        {RGB(8, 8, 8), 0x0421},       {RGB(7, 7, 7), 0x0000},   {RGB(128, 128, 128), 0x4210},
    };
    for (const auto& c : cases) EXPECT_EQ(pixel_drawn(surface, c.colour), c.pixel) << std::hex << c.colour;
}

TEST(PlatformColours, PensBrushesAndTextAgreeOnAColour) {
    for (int bits : {8, 16}) {
        SCOPED_TRACE(testing::Message() << bits << " bits");
        Surface surface(40, 20, bits, bits == 8 ? test_palette() : nullptr);
        const COLORREF amber = RGB(250, 125, 5);
        const uint32_t expected = pixel_drawn(surface, amber);
        surface.fill(0);
        {
            Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, amber));
            Selected brush(surface.dc(), CreateSolidBrush(amber));
            Selected font(surface.dc(), arial(-11));
            Arc(surface.dc(), 0, 0, 10, 10, 0, 5, 0, 5);
            ExtFloodFill(surface.dc(), 5, 5, amber, FLOODFILLBORDER);
            SetTextColor(surface.dc(), amber);
            SetBkMode(surface.dc(), TRANSPARENT);
            TextOutA(surface.dc(), 12, 2, "W", 1);
        }
        const Picture picture = surface.picture();
        EXPECT_GT(picture.marked(0).size(), 70u);
        for (const auto& [x, y] : picture.marked(0)) EXPECT_EQ(picture.at(x, y), expected) << x << "," << y;
    }
}

TEST(PlatformColours, APaletteChangedAfterwardsChangesTheMatching) {
    Surface surface(4, 4, 8, test_palette());
    EXPECT_EQ(pixel_drawn(surface, RGB(10, 20, 30)), 0u);
    LPDIRECTDRAWPALETTE palette = nullptr;
    ASSERT_EQ(surface.surface3()->GetPalette(&palette), DD_OK);
    PALETTEENTRY close = {10, 20, 31, 0};
    ASSERT_EQ(palette->SetEntries(0, 77, 1, &close), DD_OK);
    EXPECT_EQ(pixel_drawn(surface, RGB(10, 20, 30)), 77u);
    palette->Release();
}

TEST(PlatformBitBlt, SrcPaintOrsThePixelValues) {
    // The 16-bit panel: a mask surface of bit 15 ORed over the picture sets that bit everywhere.
    Surface picture(16, 8, 16);
    Surface mask(16, 8, 16);
    mask.fill(0x8000);
    picture.fill(0x1234);
    {
        Selected pen(picture.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        MoveToEx(picture.dc(), 0, 3, nullptr);
        LineTo(picture.dc(), 16, 3);
    }
    ASSERT_TRUE(BitBlt(picture.dc(), 0, 0, 16, 8, mask.dc(), 0, 0, SRCPAINT));
    const Picture result = picture.picture();
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) EXPECT_EQ(result.at(x, y), y == 3 ? 0xFFFFu : 0x9234u) << x << "," << y;
    }
    // On 8-bit surfaces with the same palette the indices are ORed.
    Surface indexed(4, 4, 8, test_palette());
    Surface bits(4, 4, 8, test_palette());
    indexed.fill(0x21);
    bits.fill(0x0C);
    ASSERT_TRUE(BitBlt(indexed.dc(), 0, 0, 4, 4, bits.dc(), 0, 0, SRCPAINT));
    EXPECT_EQ(indexed.picture().at(2, 2), 0x2Du);
}

TEST(PlatformBitBlt, SrcCopyCopiesARectangleClippedToBothSurfaces) {
    Surface target(10, 10, 16);
    Surface source(6, 6, 16);
    source.fill(0x0421);
    ASSERT_TRUE(BitBlt(target.dc(), 7, -2, 6, 6, source.dc(), 0, 0, SRCCOPY));
    const Picture result = target.picture();
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) EXPECT_EQ(result.at(x, y), x >= 7 && y < 4 ? 0x0421u : 0u) << x << "," << y;
    }
    // A source rectangle that reaches past its surface copies only what is there.
    target.fill(0);
    ASSERT_TRUE(BitBlt(target.dc(), 0, 0, 10, 10, source.dc(), 3, 3, SRCCOPY));
    EXPECT_EQ(target.picture().marked(0).size(), 9u);
}

TEST(PlatformBitBlt, CopiesWithinOneSurfaceAsIfThroughABuffer) {
    Surface surface(8, 1, 16);
    {
        Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        MoveToEx(surface.dc(), 0, 0, nullptr);
        LineTo(surface.dc(), 3, 0);
    }
    ASSERT_TRUE(BitBlt(surface.dc(), 1, 0, 7, 1, surface.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(surface.picture().sketch(0), "\n####....\n");
}

TEST(PlatformBitBlt, ConvertsColoursBetweenFormats) {
    Surface indexed(4, 4, 8, test_palette());
    Surface rgb(4, 4, 16);
    indexed.fill(110);  // amber
    ASSERT_TRUE(BitBlt(rgb.dc(), 0, 0, 4, 4, indexed.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(rgb.picture().at(1, 1), 0x7E00u);
    rgb.fill(0x7C00);  // red
    ASSERT_TRUE(BitBlt(indexed.dc(), 0, 0, 4, 4, rgb.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(indexed.picture().at(1, 1), kRedIndex);
}

TEST(PlatformBitBlt, RefusesOtherRasterOperationsAndBadHandles) {
    Surface target(4, 4, 16);
    Surface source(4, 4, 16);
    source.fill(0x7FFF);
    EXPECT_FALSE(BitBlt(target.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 0x00660046));
    EXPECT_FALSE(BitBlt(target.dc(), 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(nullptr, 0, 0, 4, 4, source.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(target.dc(), 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, source.dc(), -0x7FFFFFFF, 0, SRCCOPY));
    EXPECT_TRUE(target.picture().marked(0).empty());
}

}  // namespace
