// The one conversion from float64 to int of the navigation display, and its rounding of shown
// numbers: defined for every input, as the x86 conversion is.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "nd_numbers.h"

namespace {

TEST(NdNumbers, TruncationIsTowardZeroAndIntMinOutsideInt) {
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        int expected;
    } cases[] = {
        {0.0, 0},           {-0.0, 0},          {1233.9, 1233},      {-1233.9, -1233},
        {2147483647.9, INT_MAX}, {-2147483648.9, INT_MIN}, {2147483648.0, INT_MIN}, {-2147483649.0, INT_MIN},
        {1e300, INT_MIN},   {infinity, INT_MIN}, {-infinity, INT_MIN}, {std::nan(""), INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(truncate_to_int(c.value), c.expected) << c.value;
}

TEST(NdNumbers, ShownNumbersRoundHalfAwayFromZero) {
    const struct {
        double value;
        int expected;
    } cases[] = {{359.5, 360}, {359.6, 360}, {0.4, 0}, {0.0, 0}, {-0.5, -1}, {-0.4, 0}, {2.5, 3}, {-2.5, -3}, {std::nan(""), INT_MIN}};
    for (const auto& c : cases) EXPECT_EQ(round_to_int(c.value), c.expected) << c.value;
}

}  // namespace
