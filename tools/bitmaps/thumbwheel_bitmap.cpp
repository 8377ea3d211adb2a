// Draws bitmap 4096 of the vertical-speed thumbwheel: a knurled wheel seen edge-on in columns 0 to 32
// and, right of a one-column gap, a plus sign, a double-headed arrow and a minus sign.
//
// The committed picture vs_thumbwheel/thumbwheel_4096.bmp is this program's output. After changing
// the drawing, regenerate it from a native build folder:
//     BUILD/bin/make_thumbwheel_bitmap vs_thumbwheel/thumbwheel_4096.bmp
// The test bitmaps.thumbwheel_matches_generator fails while the two differ.
//
// The shading uses only +, -, *, / and sqrt, which IEEE arithmetic rounds exactly, and no other
// maths function of the C library, so the bytes are the same on every run and every machine.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "bmp_writer.h"

namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 75;

constexpr int kWheelLeft = 0;
constexpr int kWheelRight = 32;
constexpr int kGapColumn = 33;

// Symbols: the plus, the minus and the arrow's shaft on column kSymbolCentre, the arrowheads
// spanning columns 34 to 39.
constexpr int kSymbolLeft = 34;
constexpr int kSymbolRight = 39;
constexpr int kSymbolCentre = 36;
// The arrow's shaft takes the centre column and the next; each head widens by one column per side
// and row until it spans all symbol columns.
constexpr int kArrowHeadRows = kSymbolCentre - kSymbolLeft + 1;
static_assert(kSymbolCentre + 1 + (kArrowHeadRows - 1) == kSymbolRight);

// The colour table is a grey ramp: index i is (i, i, i). Index 0 is black, which the panel leaves
// transparent; the wheel stays at kDarkestWheel or lighter so that none of it vanishes.
constexpr uint8_t kDarkestWheel = 24;
constexpr uint8_t kLightestWheel = 250;
constexpr uint8_t kSymbol = 235;

// Rib pattern, repeating every kRibPeriod rows with crests on rows 1, 5, ... 73, which lie
// symmetric about the middle row 37. Per row of a period: the lit crest of a rib, its
// lower face, the groove and the upper face of the next rib.
constexpr int kRibPeriod = 4;
constexpr int kFirstCrest = 1;
constexpr double kRibProfile[kRibPeriod] = {1.25, 0.88, 0.56, 0.97};

// Brightness of the bare wheel for row y: a cylinder whose axis runs left to right, lit from the
// front and a little from above, of which the picture shows kVisibleSine of either half.
double cylinder_brightness(int y) {
    constexpr double kVisibleSine = 0.96;
    constexpr double kLightUp = 0.10;
    constexpr double kLightFront = 0.99498743710662;  // sqrt(1 - kLightUp^2)
    const double half = kHeight / 2.0;
    const double sine = (y + 0.5 - half) / half * kVisibleSine;  // positive below the axis
    const double facing = std::sqrt(1.0 - sine * sine);
    const double lit = std::max(0.0, -sine * kLightUp + facing * kLightFront);
    const double shine = lit * lit * lit * lit * lit * lit * lit * lit;
    return 38.0 + 105.0 * lit + 52.0 * shine;
}

// The rim of the wheel, its outermost columns, turns away from the viewer.
double rim_factor(int x) {
    const int from_edge = std::min(x - kWheelLeft, kWheelRight - x);
    constexpr double kFactors[] = {0.55, 0.78, 0.92};
    return from_edge < 3 ? kFactors[from_edge] : 1.0;
}

uint8_t grey(double value) {
    const double clamped = std::clamp(value, double{kDarkestWheel}, double{kLightestWheel});
    return static_cast<uint8_t>(clamped + 0.5);
}

void draw_wheel(bitmaps::IndexedBitmap& picture) {
    for (int y = 0; y < kHeight; ++y) {
        const int phase = ((y - kFirstCrest) % kRibPeriod + kRibPeriod) % kRibPeriod;
        const double row = cylinder_brightness(y) * kRibProfile[phase];
        for (int x = kWheelLeft; x <= kWheelRight; ++x) picture.set(x, y, grey(row * rim_factor(x)));
    }
}

void draw_symbols(bitmaps::IndexedBitmap& picture) {
    // Plus sign, rows 1 to 5.
    for (int i = -2; i <= 2; ++i) {
        picture.set(kSymbolCentre + i, 3, kSymbol);
        picture.set(kSymbolCentre, 3 + i, kSymbol);
    }
    // Double-headed arrow, rows 8 to 66.
    constexpr int kArrowTop = 8;
    constexpr int kArrowBottom = 66;
    for (int y = kArrowTop; y <= kArrowBottom; ++y) {
        const int from_tip = std::min(y - kArrowTop, kArrowBottom - y);
        const int spread = from_tip < kArrowHeadRows ? from_tip : 0;
        for (int x = kSymbolCentre - spread; x <= kSymbolCentre + 1 + spread; ++x) picture.set(x, y, kSymbol);
    }
    // Minus sign, row 69.
    for (int i = -2; i <= 2; ++i) picture.set(kSymbolCentre + i, 69, kSymbol);
}

bitmaps::IndexedBitmap draw_thumbwheel() {
    bitmaps::IndexedBitmap picture(kWidth, kHeight);
    for (size_t i = 0; i < picture.palette.size(); ++i) {
        const auto level = static_cast<uint8_t>(i);
        picture.palette[i] = {level, level, level};
    }
    draw_wheel(picture);
    draw_symbols(picture);
    return picture;
}

// The panel draws pixel value 0 as transparent: the whole wheel must be visible and the gap must not.
bool check_transparency(const bitmaps::IndexedBitmap& picture, std::string* error) {
    for (int y = 0; y < kHeight; ++y) {
        for (int x = kWheelLeft; x <= kWheelRight; ++x) {
            const uint8_t index = picture.at(x, y);
            if (index == 0 || picture.palette[index] == bitmaps::Rgb{0, 0, 0}) {
                *error = "wheel pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is black";
                return false;
            }
        }
        if (picture.at(kGapColumn, y) != 0) {
            *error = "gap pixel on row " + std::to_string(y) + " is not transparent";
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.bmp\n", argv[0]);
        return 2;
    }
    const bitmaps::IndexedBitmap picture = draw_thumbwheel();
    std::string error;
    if (!check_transparency(picture, &error) || !bitmaps::write_bmp(argv[1], picture, &error)) {
        std::fprintf(stderr, "make_thumbwheel_bitmap: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
