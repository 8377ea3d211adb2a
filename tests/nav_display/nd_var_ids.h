// The simulator variables the navigation display reads, by the kind of value each holds.
#ifndef TESTS_NAV_DISPLAY_ND_VAR_IDS_H
#define TESTS_NAV_DISPLAY_ND_VAR_IDS_H

#include <cstdint>

inline constexpr uint32_t kNdNumberIds[] = {0x51, 0x1F, 0x23, 0x20, 0x6B, 0x2D, 0x28, 0x29, 0x2C,
                                            0x31, 0x27, 0x14, 0x162, 0x3B, 0x157, 0x158};
inline constexpr uint32_t kNdIntegerIds[] = {0x18, 0x2E, 0x2A, 0x37};
inline constexpr uint32_t kNdTextIds[] = {0x2F, 0x13, 0x38};

#endif
