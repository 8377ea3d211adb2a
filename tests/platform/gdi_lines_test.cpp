// Lines as GDI draws them: the end pixel left out, the current position moved to it, the same
// pixels whichever way a line is drawn, and clipping that keeps exactly the visible part.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform_testing.h"

using namespace platform_testing;

namespace {

using Places = std::set<std::pair<int, int>>;

struct Segment {
    int x0, y0, x1, y1;
};

Places draw_line(const Segment& line, int size = 40, int shift = 0) {
    Surface surface(size, size, 16);
    Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    EXPECT_TRUE(MoveToEx(surface.dc(), line.x0 + shift, line.y0 + shift, nullptr));
    EXPECT_TRUE(LineTo(surface.dc(), line.x1 + shift, line.y1 + shift));
    Places places;
    for (const auto& [x, y] : surface.picture().marked(0)) places.insert({x - shift, y - shift});
    return places;
}

// Every direction: the eight octants, the axes and the diagonals, short and long.
const Segment kLines[] = {
    {5, 5, 30, 5},  {30, 5, 5, 5},   {5, 5, 5, 30},   {5, 30, 5, 5},   {5, 5, 30, 30}, {30, 30, 5, 5},
    {5, 30, 30, 5}, {30, 5, 5, 30},  {5, 10, 30, 19}, {30, 19, 5, 10}, {5, 19, 30, 10}, {30, 10, 5, 19},
    {10, 5, 19, 30}, {19, 30, 10, 5}, {19, 5, 10, 30}, {10, 30, 19, 5}, {7, 7, 8, 9},   {20, 20, 21, 20},
};

TEST(PlatformLineTo, LightsOnePixelPerStepFromTheStartUpToButNotIncludingTheEnd) {
    for (const Segment& line : kLines) {
        SCOPED_TRACE(testing::Message() << "line " << line.x0 << "," << line.y0 << " to " << line.x1 << "," << line.y1);
        const Places lit = draw_line(line);
        const int steps = std::max(std::abs(line.x1 - line.x0), std::abs(line.y1 - line.y0));
        EXPECT_EQ(lit.size(), static_cast<size_t>(steps));
        EXPECT_EQ(lit.count({line.x0, line.y0}), 1u);
        EXPECT_EQ(lit.count({line.x1, line.y1}), 0u);
        EXPECT_TRUE(connected(lit));
        // Every pixel lies within half a pixel of the true line, measured across its major axis.
        const long long dx = line.x1 - line.x0;
        const long long dy = line.y1 - line.y0;
        for (const auto& [x, y] : lit) {
            const long long across = std::llabs(dx) >= std::llabs(dy) ? (y - line.y0) * dx - (x - line.x0) * dy
                                                                     : (x - line.x0) * dy - (y - line.y0) * dx;
            EXPECT_LE(2 * std::llabs(across), std::max(std::llabs(dx), std::llabs(dy))) << x << "," << y;
        }
    }
}

TEST(PlatformLineTo, LightsTheSamePixelsWhicheverWayItIsDrawn) {
    for (const Segment& line : kLines) {
        SCOPED_TRACE(testing::Message() << "line " << line.x0 << "," << line.y0 << " to " << line.x1 << "," << line.y1);
        Places forward = draw_line(line);
        Places backward = draw_line({line.x1, line.y1, line.x0, line.y0});
        forward.insert({line.x1, line.y1});
        backward.insert({line.x0, line.y0});
        EXPECT_EQ(forward, backward);
    }
}

TEST(PlatformLineTo, TakesTheNearerPixelAndTheSmallerOneOnATie) {
    // (0,0) to (4,1): the true line passes y = 0.5 at x = 2.
    EXPECT_EQ(draw_line({0, 0, 4, 1}), (Places{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
    EXPECT_EQ(draw_line({0, 0, 5, 2}), (Places{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));
}

TEST(PlatformLineTo, MovesTheCurrentPositionToItsEnd) {
    Surface surface(20, 20, 16);
    Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    POINT previous{-1, -1};
    EXPECT_TRUE(MoveToEx(surface.dc(), 2, 3, &previous));
    EXPECT_EQ(previous.x, 0);
    EXPECT_EQ(previous.y, 0);
    EXPECT_TRUE(LineTo(surface.dc(), 12, 3));
    EXPECT_TRUE(LineTo(surface.dc(), 12, 13));
    EXPECT_TRUE(MoveToEx(surface.dc(), 0, 0, &previous));
    EXPECT_EQ(previous.x, 12);
    EXPECT_EQ(previous.y, 13);
    const Picture picture = surface.picture();
    EXPECT_NE(picture.at(12, 3), 0u) << "the corner is the second line's first pixel";
    EXPECT_EQ(picture.at(12, 13), 0u) << "the last end is never drawn";
}

TEST(PlatformPolyline, DrawsEachSegmentAsLineToWithoutUsingTheCurrentPosition) {
    // The selected-heading marker of the navigation display.
    const POINT marker[] = {{5, 4}, {5, 9}, {8, 12}, {11, 9}, {11, 3}};
    Surface drawn(20, 20, 16);
    Surface expected(20, 20, 16);
    {
        Selected pen(drawn.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        EXPECT_TRUE(MoveToEx(drawn.dc(), 17, 17, nullptr));
        EXPECT_TRUE(Polyline(drawn.dc(), marker, 5));
        POINT position{};
        MoveToEx(drawn.dc(), 0, 0, &position);
        EXPECT_EQ(position.x, 17);
        EXPECT_EQ(position.y, 17);
    }
    {
        Selected pen(expected.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        MoveToEx(expected.dc(), 5, 4, nullptr);
        for (int i = 1; i < 5; ++i) LineTo(expected.dc(), marker[i].x, marker[i].y);
    }
    EXPECT_EQ(drawn.picture().pixels, expected.picture().pixels) << drawn.picture().sketch(0);
    EXPECT_EQ(drawn.picture().at(11, 3), 0u);
}

TEST(PlatformPolyline, ClosesAFigureThatRepeatsItsFirstPoint) {
    const POINT triangle[] = {{2, 10}, {8, 10}, {5, 18}, {2, 10}};
    Surface surface(12, 20, 16);
    Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    EXPECT_TRUE(Polyline(surface.dc(), triangle, 4));
    const Places lit = surface.picture().marked(0);
    for (const POINT& corner : triangle) EXPECT_EQ(lit.count({corner.x, corner.y}), 1u);
    EXPECT_TRUE(connected(lit));
}

TEST(PlatformPolyline, RefusesFewerThanTwoPoints) {
    Surface surface(8, 8, 16);
    const POINT one[] = {{1, 1}};
    EXPECT_FALSE(Polyline(surface.dc(), one, 1));
    EXPECT_FALSE(Polyline(surface.dc(), nullptr, 3));
    EXPECT_FALSE(Polyline(surface.dc(), one, -5));
}

// The same line on a large surface, shifted into its middle, and on a small one that cuts it.
TEST(PlatformLineTo, ClippedLinesLightExactlyTheVisiblePixelsOfTheWholeLine) {
    const Segment lines[] = {
        {-30, 5, 60, 25}, {15, -40, 3, 70}, {-10, -10, 50, 50}, {39, -3, -20, 33}, {-25, 20, 70, 21}, {20, 60, 21, -30},
    };
    for (const Segment& line : lines) {
        SCOPED_TRACE(testing::Message() << "line " << line.x0 << "," << line.y0 << " to " << line.x1 << "," << line.y1);
        const Places whole = draw_line(line, 200, 80);
        Places visible;
        for (const auto& place : whole) {
            if (place.first >= 0 && place.first < 40 && place.second >= 0 && place.second < 40) visible.insert(place);
        }
        EXPECT_FALSE(visible.empty());
        EXPECT_EQ(draw_line(line, 40), visible);
    }
}

TEST(PlatformLineTo, HandlesCoordinatesFarOutsideTheSurface) {
    // Both ends far away, the line crossing the surface.
    Places crossing = draw_line({-1000000, 20, 1000000, 21});
    EXPECT_EQ(crossing.size(), 40u);
    for (const auto& place : crossing) EXPECT_TRUE(place.second == 20 || place.second == 21);
    // Beyond 27 bits GDI refuses the line: nothing drawn, the position unchanged.
    Surface surface(10, 10, 16);
    Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    MoveToEx(surface.dc(), 1, 1, nullptr);
    EXPECT_FALSE(LineTo(surface.dc(), 0x7FFFFFFF, 1));
    EXPECT_FALSE(LineTo(surface.dc(), -0x7FFFFFFF - 1, 5));
    POINT position{};
    MoveToEx(surface.dc(), 0, 0, &position);
    EXPECT_EQ(position.x, 1);
    EXPECT_EQ(position.y, 1);
    EXPECT_TRUE(surface.picture().marked(0).empty());
}

TEST(PlatformLineTo, NullPenDrawsNothingButMoves) {
    Surface surface(10, 10, 16);
    Selected pen(surface.dc(), CreatePen(PS_NULL, 1, RGB(255, 255, 255)));
    MoveToEx(surface.dc(), 1, 1, nullptr);
    EXPECT_TRUE(LineTo(surface.dc(), 8, 8));
    POINT position{};
    MoveToEx(surface.dc(), 0, 0, &position);
    EXPECT_EQ(position.x, 8);
    EXPECT_TRUE(surface.picture().marked(0).empty());
}

TEST(PlatformLineTo, RefusesHandlesThatAreNotDeviceContexts) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    EXPECT_FALSE(LineTo(nullptr, 1, 1));
    EXPECT_FALSE(LineTo(reinterpret_cast<HDC>(pen), 1, 1));
    EXPECT_FALSE(LineTo(reinterpret_cast<HDC>(static_cast<uintptr_t>(0x12345678)), 1, 1));
    EXPECT_FALSE(MoveToEx(nullptr, 1, 1, nullptr));
    EXPECT_TRUE(DeleteObject(pen));
}

}  // namespace
