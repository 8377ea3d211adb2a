// MulDiv, lstrcpyA and lstrcatA.
#include <string.h>

#include <cstdint>

#include "call.h"

using namespace standin;

// a * b / c with the 64-bit product, rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
    const Call call("MulDiv", {a, b, c});
    if (call.failed() || c == 0) return -1;
    const long long product = static_cast<long long>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    // |product| < 2^62 and |c| <= 2^31: the magnitudes fit in unsigned 64 bits.
    const unsigned long long magnitude = product < 0 ? 0ULL - static_cast<unsigned long long>(product)
                                                     : static_cast<unsigned long long>(product);
    const unsigned long long divisor = c < 0 ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(c))
                                             : static_cast<unsigned long long>(c);
    const unsigned long long quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > (negative ? 0x80000000ULL : 0x7FFFFFFFULL)) return -1;
    return negative ? static_cast<int>(-static_cast<long long>(quotient)) : static_cast<int>(quotient);
}

// Null for a null argument, as Windows returns after catching the fault.
LPSTR lstrcpyA(LPSTR destination, LPCSTR source) {
    const Call call("lstrcpyA", {Text{source, -1}});
    if (call.failed() || destination == nullptr || source == nullptr) return nullptr;
    memmove(destination, source, strlen(source) + 1);
    return destination;
}

LPSTR lstrcatA(LPSTR destination, LPCSTR source) {
    const Call call("lstrcatA", {Text{source, -1}});
    if (call.failed() || destination == nullptr || source == nullptr) return nullptr;
    const size_t length = strlen(destination);
    memmove(destination + length, source, strlen(source) + 1);
    return destination;
}
