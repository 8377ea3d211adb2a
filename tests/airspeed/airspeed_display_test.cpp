// The airspeed indicator in the gauge host: the needle turned along the scale table and composed
// over the dial, and the flags its callbacks leave.
#include <gtest/gtest.h>

#include <cmath>

#include "airspeed_module.h"
#include "needle.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Degrees clockwise from straight up from the pivot (90, 90) to a point of the dial.
double direction_to(int x, int y) { return std::atan2(x - 90.0, -(y - 90.0)) * 180.0 / kPi; }

TEST(AirspeedDisplay, NeedleDirectionFollowsTheScaleSmoothly) {
    AirspeedPanel airspeed;
    const NeedleElement& needle = airspeed.needle();
    EXPECT_NEAR(host::needle_direction(needle, 40), 13.4, 0.05);
    EXPECT_NEAR(host::needle_direction(needle, 140), 181.6, 0.05);
    EXPECT_NEAR(host::needle_direction(needle, 300), 346.2, 0.05);
    EXPECT_NEAR(host::needle_direction(needle, 50), (13.4 + 45.0) / 2, 0.05);
    EXPECT_NEAR(host::needle_direction(needle, 275), (305.1 + 346.2) / 2, 0.05);
    // Held at the ends, and a reading that is no number rests on the first mark.
    EXPECT_EQ(host::needle_direction(needle, 0), host::needle_direction(needle, 40));
    EXPECT_EQ(host::needle_direction(needle, 1000), host::needle_direction(needle, 300));
    EXPECT_EQ(host::needle_direction(needle, std::nan("")), host::needle_direction(needle, 40));
    double previous = host::needle_direction(needle, 40);
    for (double knots = 40.5; knots <= 300; knots += 0.5) {
        const double direction = host::needle_direction(needle, knots);
        EXPECT_GT(direction, previous) << knots;
        EXPECT_LT(direction - previous, 1.2) << knots;
        previous = direction;
    }
}

TEST(AirspeedDisplay, NeedleRestsOnTheMarkOfTheHeldReading) {
    const struct {
        double airspeed;
        int mark_x, mark_y;
    } cases[] = {{0, 106, 23},   {40, 106, 23},  {100, 159, 117}, {140, 88, 162},
                 {250, 36, 52},  {300, 74, 25},  {1000, 74, 25}};
    AirspeedPanel airspeed;
    for (const auto& c : cases) {
        airspeed.panel.variables().set_number(61, c.airspeed);
        airspeed.gauge->frame();
        host::Canvas canvas(181, 181);
        airspeed.gauge->compose(&canvas);
        const auto brightness_at = [&](double direction, double radius) {
            const double angle = direction * kPi / 180.0;
            const int x = static_cast<int>(std::floor(90.5 + radius * std::sin(angle)));
            const int y = static_cast<int>(std::floor(90.5 - radius * std::cos(angle)));
            const host::Rgb& pixel = canvas.pixels[static_cast<size_t>(y) * 181 + x];
            return pixel.r + pixel.g + pixel.b;
        };
        const double mark = direction_to(c.mark_x, c.mark_y);
        // Along the mark the white blade; a quarter turn away the dark face, clear of labels and words.
        for (double radius : {20.0, 35.0, 50.0}) {
            EXPECT_GT(brightness_at(mark, radius), 600) << c.airspeed << " knots, radius " << radius;
        }
        for (double radius : {15.0, 40.0}) {
            EXPECT_LT(brightness_at(mark + 90, radius), 200) << c.airspeed << " knots, radius " << radius;
        }
    }
}

TEST(AirspeedDisplay, CallbacksMarkTheirElementsAfterOneFrame) {
    AirspeedPanel airspeed;
    const auto& elements = airspeed.gauge->elements();
    ASSERT_EQ(elements.size(), 3u);
    for (const auto& element : elements) EXPECT_EQ(element.element->image_flags, 0x83u);
    airspeed.gauge->frame();
    EXPECT_EQ(elements[0].element->image_flags, 0x83u);
    EXPECT_EQ(elements[1].element->image_flags, 0x87u);
    EXPECT_EQ(elements[2].element->image_flags, 0x87u);
    EXPECT_EQ(elements[1].shown, 0u);
}

}  // namespace
