// The display's rotation and placement on their own: whole pixels from tenths of a pixel and
// thousandths of sine and cosine, with the angle conventions of the screen (counterclockwise,
// y downwards).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "nd_geometry.h"

namespace {

constexpr int kCx = 128;
constexpr int kCy = 217;

POINT rotated(int x, int y, double degrees) {
    POINT p{x, y};
    rotate_point(&p, kCx, kCy, degrees_to_radians(degrees));
    return p;
}

TEST(RenderGeometry, RotatePointTurnsCounterclockwiseOnTheScreen) {
    const struct {
        POINT from;
        double degrees;
        POINT to;
    } cases[] = {
        {{kCx, kCy - 200}, 45, {kCx - 141, kCy - 141}},
        // Below the centre starts at -90 degrees, on its row to the left at 180.
        {{kCx - 200, kCy}, 90, {kCx, kCy + 200}},
        {{kCx, kCy + 200}, 90, {kCx + 200, kCy}},
        // Angle 0 gives back the upright shapes.
        {{kCx + 3, kCy - 5}, 0, {kCx + 3, kCy - 5}},
        {{kCx, kCy - 200}, 0, {kCx, kCy - 200}},
        {{kCx - 3, kCy + 28}, 0, {kCx - 3, kCy + 28}},
        // A clockwise quarter turn takes the top to the right.
        {{kCx, kCy - 200}, -90, {kCx + 200, kCy}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.from.x << ", " << c.from.y << ") by " << c.degrees);
        const POINT p = rotated(c.from.x, c.from.y, c.degrees);
        EXPECT_EQ(p.x, c.to.x);
        EXPECT_EQ(p.y, c.to.y);
    }
}

TEST(RenderGeometry, RotatePointLeavesTheCentreWhereItIs) {
    for (double degrees : {0.0, 45.0, -270.0, std::numeric_limits<double>::quiet_NaN()}) {
        const POINT p = rotated(kCx, kCy, degrees);
        EXPECT_EQ(p.x, kCx);
        EXPECT_EQ(p.y, kCy);
    }
}

// NaN and infinite angles and points far out give some defined point, never undefined behaviour.
TEST(RenderGeometry, RotatePointSurvivesAnyAngleAndDistance) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const int far = std::numeric_limits<int>::max();
    const int near = std::numeric_limits<int>::min();
    const POINT points[] = {{kCx, kCy - 200}, {far, far}, {near, near}, {near, far}};
    for (double angle : {nan, inf, -inf, 1e300, 0.5}) {
        for (POINT p : points) rotate_point(&p, kCx, kCy, angle);
    }
}

// The 12-digit pi is a little larger than the true one: 60 degrees lands just past pi/3, where the
// cosine is a little under one half (with the true pi it is a little over).
TEST(RenderGeometry, DegreesUseTheDisplaysOwnPi) {
    EXPECT_EQ(static_cast<int>(200 * std::cos(degrees_to_radians(60))), 99);
    EXPECT_EQ(static_cast<int>(200 * std::cos(M_PI / 3)), 100);
}

TEST(RenderGeometry, PolarPointTruncatesEachCoordinate) {
    // 185 cos 60 degrees is just under 92.5 and 185 sin 60 just over 160.2.
    const POINT p = polar_point(kCx, kCy, 185, degrees_to_radians(60));
    EXPECT_EQ(p.x, kCx + 92);
    EXPECT_EQ(p.y, kCy - 160);
    // Towards the left the truncation goes toward zero, so the point lies a pixel nearer the centre
    // than rounding down would put it.
    const POINT q = polar_point(kCx, kCy, 185, degrees_to_radians(120));
    EXPECT_EQ(q.x, kCx - 92);
}

TEST(RenderGeometry, CoordinatesAreHeldWithinInt) {
    const POINT p = screen_point(int64_t{1} << 40, -(int64_t{1} << 40));
    EXPECT_EQ(p.x, std::numeric_limits<int>::max());
    EXPECT_EQ(p.y, std::numeric_limits<int>::min());
    EXPECT_EQ(clamp_to_int(-5), -5);
}

}  // namespace
