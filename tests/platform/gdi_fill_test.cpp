// ExtFloodFill: the area around the seed, up to the border colour (FLOODFILLBORDER) or over the
// seed's colour (FLOODFILLSURFACE), with the selected brush; nothing when the seed does not qualify.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform_testing.h"

using namespace platform_testing;

namespace {

using Places = std::set<std::pair<int, int>>;

constexpr COLORREF kBorder = RGB(0, 255, 255);
constexpr COLORREF kFill = RGB(255, 128, 0);
constexpr uint32_t kBorderPixel = 0x03FF;                  // 0, 31, 31
constexpr uint32_t kFillPixel = (31u << 10) | (16u << 5);  // 31, 16, 0

// For a convex outline: the places strictly between its leftmost and rightmost pixel on each row
// that are not outline pixels themselves.
Places inside_of(const Places& outline) {
    std::map<int, std::pair<int, int>> rows;
    for (const auto& [x, y] : outline) {
        auto found = rows.find(y);
        if (found == rows.end()) {
            rows[y] = {x, x};
        } else {
            found->second = {std::min(found->second.first, x), std::max(found->second.second, x)};
        }
    }
    Places inside;
    for (const auto& [y, span] : rows) {
        for (int x = span.first + 1; x < span.second; ++x) {
            if (outline.count({x, y}) == 0) inside.insert({x, y});
        }
    }
    return inside;
}

Places of_pixel(const Picture& picture, uint32_t pixel) {
    Places places;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (picture.at(x, y) == pixel) places.insert({x, y});
        }
    }
    return places;
}

TEST(PlatformExtFloodFill, FillsACircleUpToItsBorderAndNowhereElse) {
    for (int side = 5; side <= 40; ++side) {
        SCOPED_TRACE(testing::Message() << "circle of " << side << " pixels");
        Surface surface(48, 48, 16);
        Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, kBorder));
        Selected brush(surface.dc(), CreateSolidBrush(kFill));
        const int middle = 3 + side / 2;
        ASSERT_TRUE(Arc(surface.dc(), 3, 3, 3 + side, 3 + side, 3, middle, 3, middle));
        const Places outline = surface.picture().marked(0);
        ASSERT_TRUE(ExtFloodFill(surface.dc(), middle, middle, kBorder, FLOODFILLBORDER));
        const Picture filled = surface.picture();
        EXPECT_EQ(of_pixel(filled, kBorderPixel), outline);
        EXPECT_EQ(of_pixel(filled, kFillPixel), inside_of(outline)) << filled.sketch(0);
        surface.save("fill_circle_" + std::to_string(side));
    }
}

TEST(PlatformExtFloodFill, StaysInsideATriangleWithDiagonalSides) {
    // The TO/FROM triangle: its sides are diagonal steps that a fill must not slip through.
    for (int apex : {8, -8}) {
        SCOPED_TRACE(testing::Message() << "apex offset " << apex);
        Surface surface(12, 30, 8, test_palette());
        Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, kBorder));
        Selected brush(surface.dc(), CreateSolidBrush(kBorder));
        const POINT triangle[] = {{2, 15}, {8, 15}, {5, 15 + apex}, {2, 15}};
        ASSERT_TRUE(Polyline(surface.dc(), triangle, 4));
        const Places outline = surface.picture().marked(kBlack);
        ASSERT_TRUE(ExtFloodFill(surface.dc(), 5, 15 + apex - apex / 2, kBorder, FLOODFILLBORDER));
        const Picture filled = surface.picture();
        Places expected = inside_of(outline);
        expected.insert(outline.begin(), outline.end());
        EXPECT_EQ(filled.marked(kBlack), expected) << filled.sketch(kBlack);
    }
}

TEST(PlatformExtFloodFill, FillsNothingWhenTheSeedIsOnTheBorderOrOutsideTheSurface) {
    Surface surface(20, 20, 16);
    Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, kBorder));
    Selected brush(surface.dc(), CreateSolidBrush(kFill));
    ASSERT_TRUE(Arc(surface.dc(), 2, 2, 18, 18, 2, 10, 2, 10));
    const Picture before = surface.picture();
    const POINT seeds[] = {{2, 10}, {-1, 10}, {10, 20}, {20, 0}, {-0x7FFFFFFF - 1, 0x7FFFFFFF}};
    for (const POINT& seed : seeds) {
        EXPECT_FALSE(ExtFloodFill(surface.dc(), seed.x, seed.y, kBorder, FLOODFILLBORDER)) << seed.x << "," << seed.y;
    }
    EXPECT_EQ(surface.picture().pixels, before.pixels);
}

TEST(PlatformExtFloodFill, ReachesTheEdgesOfTheSurfaceWhereNoBorderStopsIt) {
    Surface surface(16, 12, 16);
    Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, kBorder));
    Selected brush(surface.dc(), CreateSolidBrush(kFill));
    MoveToEx(surface.dc(), 8, 0, nullptr);
    LineTo(surface.dc(), 8, 12);
    ASSERT_TRUE(ExtFloodFill(surface.dc(), 2, 5, kBorder, FLOODFILLBORDER));
    const Picture filled = surface.picture();
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            const uint32_t expected = x < 8 ? kFillPixel : x == 8 ? kBorderPixel : 0;
            EXPECT_EQ(filled.at(x, y), expected) << x << "," << y;
        }
    }
}

TEST(PlatformExtFloodFill, SurfaceModeFillsTheAreaOfTheGivenColour) {
    Surface surface(16, 12, 16);
    Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, kBorder));
    Selected brush(surface.dc(), CreateSolidBrush(kFill));
    MoveToEx(surface.dc(), 8, 0, nullptr);
    LineTo(surface.dc(), 8, 12);
    EXPECT_FALSE(ExtFloodFill(surface.dc(), 2, 5, kBorder, FLOODFILLSURFACE)) << "the seed is not of that colour";
    ASSERT_TRUE(ExtFloodFill(surface.dc(), 8, 5, kBorder, FLOODFILLSURFACE));
    const Picture filled = surface.picture();
    EXPECT_EQ(of_pixel(filled, kFillPixel).size(), 12u);
    EXPECT_EQ(filled.at(8, 0), kFillPixel);
    EXPECT_EQ(filled.at(7, 0), 0u);
}

TEST(PlatformExtFloodFill, CompareColoursAsTheSurfaceHoldsThem) {
    // Two colours that share a 16-bit pixel are one border colour; bit 15 is no colour.
    Surface surface(16, 12, 16);
    Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, RGB(0, 250, 250)));
    Selected brush(surface.dc(), CreateSolidBrush(kFill));
    MoveToEx(surface.dc(), 8, 0, nullptr);
    LineTo(surface.dc(), 8, 12);
    Surface mask(16, 12, 16);
    mask.fill(0x8000);
    ASSERT_TRUE(BitBlt(surface.dc(), 0, 0, 16, 12, mask.dc(), 0, 0, SRCPAINT));
    ASSERT_TRUE(ExtFloodFill(surface.dc(), 2, 5, RGB(0, 255, 255), FLOODFILLBORDER));
    const Picture filled = surface.picture();
    EXPECT_EQ(filled.at(7, 5), kFillPixel);
    EXPECT_EQ(filled.at(8, 5), 0x8000 | kBorderPixel);
    EXPECT_EQ(filled.at(9, 5), 0x8000u);
}

TEST(PlatformExtFloodFill, RefusesUnknownTypesAndHandles) {
    Surface surface(8, 8, 16);
    EXPECT_FALSE(ExtFloodFill(surface.dc(), 2, 2, kBorder, 7));
    EXPECT_FALSE(ExtFloodFill(nullptr, 2, 2, kBorder, FLOODFILLBORDER));
    EXPECT_TRUE(surface.picture().marked(0).empty());
}

}  // namespace
