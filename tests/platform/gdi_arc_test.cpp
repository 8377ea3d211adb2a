// Arcs: with equal start and end points the whole ellipse of the box (its right and bottom edges
// left out), closed and symmetric; otherwise the part counterclockwise from start to end.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform_testing.h"

using namespace platform_testing;

namespace {

using Places = std::set<std::pair<int, int>>;

struct Box {
    int left, top, right, bottom;
};

Places draw_arc(const Box& box, POINT start, POINT end, int size = 48, int shift = 0) {
    Surface surface(size, size, 16);
    Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    EXPECT_TRUE(Arc(surface.dc(), box.left + shift, box.top + shift, box.right + shift, box.bottom + shift,
                    start.x + shift, start.y + shift, end.x + shift, end.y + shift));
    Places places;
    for (const auto& [x, y] : surface.picture().marked(0)) places.insert({x - shift, y - shift});
    return places;
}

// The whole ellipse, started and ended at the left middle of its box as the display does.
Places ellipse(const Box& box, int size = 48, int shift = 0) {
    const POINT left_middle{box.left, (box.top + box.bottom) / 2};
    return draw_arc(box, left_middle, left_middle, size, shift);
}

std::vector<Box> boxes() {
    std::vector<Box> all;
    for (int side = 2; side <= 40; ++side) all.push_back({3, 3, 3 + side, 3 + side});  // circles
    for (const Box& box : std::vector<Box>{{2, 5, 40, 20}, {5, 2, 20, 44}, {1, 1, 46, 10}, {4, 4, 9, 30}, {0, 0, 3, 7}}) {
        all.push_back(box);
    }
    return all;
}

std::string describe(const Box& box) {
    return std::to_string(box.left) + "," + std::to_string(box.top) + " to " + std::to_string(box.right) + "," +
           std::to_string(box.bottom);
}

TEST(PlatformArc, EqualStartAndEndDrawTheWholeEllipseInsideItsBox) {
    for (const Box& box : boxes()) {
        SCOPED_TRACE(describe(box));
        const Places outline = ellipse(box);
        int left = 1000, top = 1000, right = -1, bottom = -1;
        for (const auto& [x, y] : outline) {
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
        // Touches every side of the box; the right and bottom coordinates are outside it.
        EXPECT_EQ(left, box.left);
        EXPECT_EQ(top, box.top);
        EXPECT_EQ(right, box.right - 1);
        EXPECT_EQ(bottom, box.bottom - 1);
    }
}

TEST(PlatformArc, AWholeEllipseIsClosed) {
    for (const Box& box : boxes()) {
        SCOPED_TRACE(describe(box));
        const Places outline = ellipse(box);
        EXPECT_TRUE(connected(outline));
        // No gap that a 4-connected fill could pass: every outline pixel has two outline neighbours.
        for (const auto& [x, y] : outline) {
            int neighbours = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) neighbours += (dx != 0 || dy != 0) && outline.count({x + dx, y + dy});
            }
            if (box.right - box.left > 2 && box.bottom - box.top > 2) {
                EXPECT_GE(neighbours, 2) << x << "," << y;
            }
        }
    }
}

TEST(PlatformArc, AWholeEllipseIsSymmetricAboutBothAxesAndACircleAboutItsDiagonal) {
    for (const Box& box : boxes()) {
        SCOPED_TRACE(describe(box));
        const Places outline = ellipse(box);
        const int last_x = box.right - 1;
        const int last_y = box.bottom - 1;
        const bool circle = box.right - box.left == box.bottom - box.top;
        for (const auto& [x, y] : outline) {
            EXPECT_EQ(outline.count({box.left + last_x - x, y}), 1u) << "left-right mirror of " << x << "," << y;
            EXPECT_EQ(outline.count({x, box.top + last_y - y}), 1u) << "top-bottom mirror of " << x << "," << y;
            if (circle) {
                EXPECT_EQ(outline.count({box.left + (y - box.top), box.top + (x - box.left)}), 1u)
                    << "diagonal mirror of " << x << "," << y;
            }
        }
    }
}

TEST(PlatformArc, SmallCirclesOfTheDisplayHaveTheirKnownShape) {
    // Radius 3 around (5, 5): the deviation dots; radius 10: the ring of Arc 118 126 138 146.
    const Places dot = ellipse({2, 2, 8, 8}, 12);
    const Places expected_dot = {{3, 2}, {4, 2}, {5, 2}, {6, 2}, {2, 3}, {7, 3}, {2, 4}, {7, 4},
                                 {2, 5}, {7, 5}, {2, 6}, {7, 6}, {3, 7}, {4, 7}, {5, 7}, {6, 7}};
    EXPECT_EQ(dot, expected_dot);
    const Places ring = ellipse({118 - 110, 126 - 110, 138 - 110, 146 - 110}, 40);
    EXPECT_EQ(ring.count({8, 26}), 1u) << "start and end point on the outline";
    EXPECT_EQ(ring.count({18, 16}), 1u) << "top";
    EXPECT_EQ(ring.count({27, 26}), 1u) << "right";
    EXPECT_EQ(ring.count({18, 35}), 1u) << "bottom";
}

TEST(PlatformArc, DrawsCounterclockwiseFromTheStartRadialToTheEndRadial) {
    const Box box{4, 4, 36, 36};  // centre (19.5, 19.5)
    const Places whole = ellipse(box);
    struct Case {
        POINT start, end;
        bool upper_right, upper_left, lower_left, lower_right;
    } cases[] = {
        {{40, 19}, {19, 0}, true, false, false, false},   // right to top: the upper right quarter
        {{19, 0}, {40, 19}, false, true, true, true},     // top round to right: three quarters
        {{0, 20}, {40, 20}, false, false, true, true},    // left to right: the lower half
        {{40, 20}, {0, 20}, true, true, false, false},    // right to left: the upper half
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.start.x << "," << c.start.y << " to " << c.end.x << "," << c.end.y);
        const Places part = draw_arc(box, c.start, c.end);
        const auto quarter_drawn = [&](bool upper, bool right) {
            int in_quarter = 0;
            int drawn = 0;
            for (const auto& [x, y] : whole) {
                // Pixels well inside the quarter, away from the radials at the quarter's edges.
                const int dx = 2 * x - 39;
                const int dy = 2 * y - 39;
                if (std::abs(dx) < 6 || std::abs(dy) < 6 || (dx > 0) != right || (dy < 0) != upper) continue;
                ++in_quarter;
                drawn += static_cast<int>(part.count({x, y}));
            }
            EXPECT_GT(in_quarter, 0);
            return drawn == in_quarter ? 1 : drawn == 0 ? 0 : -1;
        };
        EXPECT_EQ(quarter_drawn(true, true), c.upper_right ? 1 : 0);
        EXPECT_EQ(quarter_drawn(true, false), c.upper_left ? 1 : 0);
        EXPECT_EQ(quarter_drawn(false, false), c.lower_left ? 1 : 0);
        EXPECT_EQ(quarter_drawn(false, true), c.lower_right ? 1 : 0);
        for (const auto& place : part) EXPECT_EQ(whole.count(place), 1u) << "part of the whole ellipse";
    }
}

TEST(PlatformArc, LeavesTheCurrentPositionAlone) {
    Surface surface(20, 20, 16);
    Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    MoveToEx(surface.dc(), 7, 9, nullptr);
    EXPECT_TRUE(Arc(surface.dc(), 2, 2, 16, 16, 2, 9, 2, 9));
    POINT position{};
    MoveToEx(surface.dc(), 0, 0, &position);
    EXPECT_EQ(position.x, 7);
    EXPECT_EQ(position.y, 9);
}

TEST(PlatformArc, ClippedEllipsesLightExactlyTheirVisiblePixels) {
    // The compass circle of the arc layout: radius 200 around (128, 217) on a 256-pixel picture,
    // here scaled into a 48-pixel surface: large, centred low, reaching out of three sides.
    const Box boxes[] = {{-16, 14, 64, 94}, {-100, -100, 20, 30}, {30, -5, 90, 40}, {-400, 20, 400, 800}};
    for (const Box& box : boxes) {
        SCOPED_TRACE(describe(box));
        const Places whole = ellipse(box, 1000, 480);
        Places visible;
        for (const auto& place : whole) {
            if (place.first >= 0 && place.first < 48 && place.second >= 0 && place.second < 48) visible.insert(place);
        }
        EXPECT_EQ(ellipse(box, 48), visible);
    }
}

TEST(PlatformArc, RefusesEmptyAndOversizedBoxes) {
    Surface surface(10, 10, 16);
    Selected pen(surface.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    EXPECT_FALSE(Arc(surface.dc(), 5, 5, 5, 9, 5, 5, 5, 5));
    EXPECT_FALSE(Arc(surface.dc(), 5, 5, 9, 5, 5, 5, 5, 5));
    EXPECT_FALSE(Arc(surface.dc(), -100000, 0, 100000, 5, 0, 0, 0, 0));
    EXPECT_FALSE(Arc(surface.dc(), -0x7FFFFFFF - 1, -0x7FFFFFFF - 1, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0, 0, 0));
    EXPECT_TRUE(surface.picture().marked(0).empty());
    // A box given right to left and bottom to top is the same box.
    EXPECT_TRUE(Arc(surface.dc(), 8, 8, 2, 2, 0, 5, 0, 5));
    EXPECT_FALSE(surface.picture().marked(0).empty());
}

}  // namespace
