// Conversions from float64 to int used throughout the navigation display: one place, so that every
// value shown or compared is converted the same way.
#ifndef NAV_DISPLAY_ND_NUMBERS_H
#define NAV_DISPLAY_ND_NUMBERS_H

#include <limits.h>

// Toward zero. NaN, infinities and values outside int give INT_MIN, as the x86 conversion does,
// instead of undefined behaviour.
inline int truncate_to_int(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT_MIN;
    return static_cast<int>(value);
}

// Half away from zero: 0.5 gives 1, -0.5 gives -1.
inline int round_to_int(double value) { return truncate_to_int(value > 0 ? value + 0.5 : value - 0.5); }

#endif
