// TextOutA: Arial's metrics, the text placed where its alignment says, the cell blanked in OPAQUE
// mode, Windows-1252 bytes such as the degree sign drawn as their characters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform_testing.h"

using namespace platform_testing;

namespace {

using Places = std::set<std::pair<int, int>>;

constexpr uint32_t kPaper = 0x0421;  // the surface before the text
constexpr uint32_t kCell = 0x001F;   // the background colour, blue
constexpr uint32_t kInk = 0x7FFF;    // the text colour, white

struct Rect {
    int left, top, right, bottom;  // right and bottom outside
    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

std::ostream& operator<<(std::ostream& out, const Rect& rect) {
    return out << "(" << rect.left << "," << rect.top << ")-(" << rect.right << "," << rect.bottom << ")";
}

struct Drawn {
    Rect cell;    // where the background colour went
    Places ink;   // where the text colour went
    Picture picture;
};

Drawn draw_text(const char* text, int height, UINT align, int x, int y, int mode = OPAQUE) {
    Surface surface(200, 80, 16);
    surface.fill(kPaper);
    Selected font(surface.dc(), arial(height));
    SetTextColor(surface.dc(), RGB(255, 255, 255));
    SetBkColor(surface.dc(), RGB(0, 0, 255));
    SetBkMode(surface.dc(), mode);
    SetTextAlign(surface.dc(), align);
    EXPECT_TRUE(TextOutA(surface.dc(), x, y, text, static_cast<int>(strlen(text))));
    Drawn drawn{{1000, 1000, -1, -1}, {}, surface.picture()};
    for (int py = 0; py < drawn.picture.height; ++py) {
        for (int px = 0; px < drawn.picture.width; ++px) {
            const uint32_t pixel = drawn.picture.at(px, py);
            if (pixel == kPaper) continue;
            drawn.cell = {std::min(drawn.cell.left, px), std::min(drawn.cell.top, py), std::max(drawn.cell.right, px + 1),
                          std::max(drawn.cell.bottom, py + 1)};
            if (pixel == kInk) drawn.ink.insert({px, py});
        }
    }
    return drawn;
}

Places shifted(const Places& places, int dx, int dy) {
    Places moved;
    for (const auto& [x, y] : places) moved.insert({x + dx, y + dy});
    return moved;
}

TEST(PlatformTextOutA, ArialTakesItsOwnAdvanceWidthsAndCellHeight) {
    // Arial's digits are 1139/2048 of the em wide: 6 pixels at 11, 5 at 9; the cell of an 11-pixel
    // em is 13 rows (ascent 10, descent 3), of a 9-pixel em 11 rows (9 and 2).
    const struct {
        const char* text;
        int height;
        int width;
        int cell_height;
    } cases[] = {
        {"0123456789", -11, 60, 13},
        {"0123456789", -9, 50, 11},
        {"1", -11, 6, 13},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " at " << c.height);
        const Drawn drawn = draw_text(c.text, c.height, TA_LEFT | TA_TOP, 10, 10);
        EXPECT_EQ(drawn.cell, (Rect{10, 10, 10 + c.width, 10 + c.cell_height}));
    }
}

TEST(PlatformTextOutA, APositiveHeightIsTheHeightOfTheCell) {
    for (int height : {9, 11, 13, 16, 20, 31}) {
        SCOPED_TRACE(testing::Message() << "height " << height);
        const Drawn drawn = draw_text("Hg", height, TA_LEFT | TA_TOP, 10, 10);
        EXPECT_EQ(drawn.cell.top, 10);
        EXPECT_EQ(drawn.cell.bottom, 10 + height);
    }
}

TEST(PlatformTextOutA, PlacesTheCellWhereTheAlignmentSays) {
    const char* text = "HDG 123";
    const Drawn reference = draw_text(text, -11, TA_LEFT | TA_TOP, 100, 40);
    const int width = reference.cell.right - reference.cell.left;
    const int height = reference.cell.bottom - reference.cell.top;
    const int ascent = 10;
    const struct {
        UINT align;
        int left;  // of the cell, for the reference point (100, 40)
        int top;
    } cases[] = {
        {TA_LEFT | TA_TOP, 100, 40},
        {TA_RIGHT | TA_TOP, 100 - width, 40},
        {TA_CENTER | TA_TOP, 100 - width / 2, 40},
        {TA_LEFT | TA_BASELINE, 100, 40 - ascent},
        {TA_RIGHT | TA_BASELINE, 100 - width, 40 - ascent},
        {TA_CENTER | TA_BASELINE, 100 - width / 2, 40 - ascent},
        {TA_LEFT | TA_BOTTOM, 100, 40 - height},
        {TA_RIGHT | TA_BOTTOM, 100 - width, 40 - height},
        {TA_CENTER | TA_BOTTOM, 100 - width / 2, 40 - height},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "alignment " << c.align);
        const Drawn drawn = draw_text(text, -11, c.align, 100, 40);
        EXPECT_EQ(drawn.cell, (Rect{c.left, c.top, c.left + width, c.top + height}));
        EXPECT_EQ(drawn.ink, shifted(reference.ink, c.left - 100, c.top - 40)) << "the same glyphs, moved";
    }
}

TEST(PlatformTextOutA, BaselineAlignmentPutsTheBaselineOnY) {
    // Capitals stand on the baseline: their lowest row of ink is the row just above it.
    for (int height : {-9, -11, -20}) {
        SCOPED_TRACE(testing::Message() << "height " << height);
        const Drawn drawn = draw_text("HEM", height, TA_LEFT | TA_BASELINE, 20, 50, TRANSPARENT);
        int lowest = -1;
        for (const auto& place : drawn.ink) lowest = std::max(lowest, place.second);
        EXPECT_EQ(lowest, 49);
        // The descender of "g" reaches below it.
        const Drawn descender = draw_text("g", height, TA_LEFT | TA_BASELINE, 20, 50, TRANSPARENT);
        int deepest = -1;
        for (const auto& place : descender.ink) deepest = std::max(deepest, place.second);
        EXPECT_GT(deepest, 50);
    }
}

TEST(PlatformTextOutA, CentreAlignmentCentresTheAdvanceWidthOnX) {
    for (const char* text : {"3", "15", "ILS 110.90", "W"}) {
        SCOPED_TRACE(text);
        const Drawn left = draw_text(text, -9, TA_LEFT | TA_TOP, 50, 10);
        const Drawn centred = draw_text(text, -9, TA_CENTER | TA_TOP, 100, 10);
        const int width = left.cell.right - left.cell.left;
        EXPECT_EQ(centred.cell.left, 100 - width / 2);
        EXPECT_EQ(centred.cell.right - 100, width - width / 2);
        EXPECT_EQ(centred.ink, shifted(left.ink, 50 - width / 2, 0));
    }
}

TEST(PlatformTextOutA, OpaqueModeBlanksTheCellBeforeTheGlyphs) {
    const Drawn drawn = draw_text("VOR1", -9, TA_LEFT | TA_BASELINE, 0, 40);
    for (int y = 0; y < drawn.picture.height; ++y) {
        for (int x = 0; x < drawn.picture.width; ++x) {
            const bool in_cell = x >= drawn.cell.left && x < drawn.cell.right && y >= drawn.cell.top && y < drawn.cell.bottom;
            const uint32_t pixel = drawn.picture.at(x, y);
            if (in_cell) {
                EXPECT_TRUE(pixel == kCell || pixel == kInk) << x << "," << y;
            } else {
                EXPECT_EQ(pixel, kPaper) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(drawn.cell.left, 0);
    EXPECT_EQ(drawn.cell.bottom, 42) << "two rows of descent below the baseline at 9 pixels";
    // In TRANSPARENT mode only the glyphs change the picture, and they are the same glyphs.
    const Drawn transparent = draw_text("VOR1", -9, TA_LEFT | TA_BASELINE, 0, 40, TRANSPARENT);
    EXPECT_EQ(transparent.picture.marked(kPaper), transparent.ink);
    EXPECT_EQ(transparent.ink, drawn.ink);
}

TEST(PlatformTextOutA, ACellCutByTheSurfaceEdgeIsClipped) {
    // The ADF identifier at the bottom edge of the display: the descent falls off the picture.
    const Drawn drawn = draw_text("gpq", -9, TA_LEFT | TA_BASELINE, -2, 80);
    EXPECT_EQ(drawn.cell, (Rect{0, 71, drawn.cell.right, 80}));
}

TEST(PlatformTextOutA, DrawsTheDegreeSignOfWindows1252) {
    const Drawn degree = draw_text("\xB0", -11, TA_LEFT | TA_TOP, 10, 10, TRANSPARENT);
    const Drawn zero = draw_text("0", -11, TA_LEFT | TA_TOP, 10, 10, TRANSPARENT);
    const Drawn letter_o = draw_text("o", -11, TA_LEFT | TA_TOP, 10, 10, TRANSPARENT);
    ASSERT_FALSE(degree.ink.empty());
    int top = 1000, bottom = -1, left = 1000, right = -1;
    for (const auto& [x, y] : degree.ink) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        left = std::min(left, x);
        right = std::max(right, x);
    }
    // A small ring at the height of the digits' tops, well above the baseline (row 20).
    int digit_top = 1000;
    for (const auto& place : zero.ink) digit_top = std::min(digit_top, place.second);
    EXPECT_EQ(top, digit_top);
    EXPECT_LE(bottom, 15);
    EXPECT_LE(right - left, 4);
    EXPECT_NE(degree.ink, letter_o.ink);
    EXPECT_EQ(degree.ink.count({(left + right) / 2, (top + bottom) / 2}), 0u) << "a ring, open in the middle";
}

TEST(PlatformTextOutA, SetsGlyphsSideBySideByTheirAdvancesWithoutKerning) {
    // "AV" and "To" are kerning pairs of the face; GDI's TextOut does not kern.
    for (const char* pair : {"AV", "To", "270\xB0"}) {
        SCOPED_TRACE(pair);
        const std::string first(pair, 1);
        const std::string rest(pair + 1);
        const Drawn whole = draw_text(pair, -11, TA_LEFT | TA_TOP, 10, 10);
        const Drawn left = draw_text(first.c_str(), -11, TA_LEFT | TA_TOP, 10, 10);
        const int advance = left.cell.right - left.cell.left;
        const Drawn right = draw_text(rest.c_str(), -11, TA_LEFT | TA_TOP, 10 + advance, 10);
        EXPECT_EQ(whole.cell.right, right.cell.right);
        Places both = left.ink;
        both.insert(right.ink.begin(), right.ink.end());
        EXPECT_EQ(whole.ink, both);
    }
}

TEST(PlatformTextOutA, UpdateCpDrawsAtTheCurrentPositionAndMovesIt) {
    Surface surface(100, 30, 16);
    Selected font(surface.dc(), arial(-11));
    SetBkMode(surface.dc(), OPAQUE);
    SetTextAlign(surface.dc(), TA_UPDATECP | TA_TOP);
    MoveToEx(surface.dc(), 10, 5, nullptr);
    EXPECT_TRUE(TextOutA(surface.dc(), 70, 20, "12", 2));
    EXPECT_TRUE(TextOutA(surface.dc(), 70, 20, "34", 2));
    POINT position{};
    MoveToEx(surface.dc(), 0, 0, &position);
    EXPECT_EQ(position.x, 34);
    EXPECT_EQ(position.y, 5);
}

TEST(PlatformTextOutA, ANewDeviceContextWritesInItsDefaultFont) {
    // Black text in a white cell of 16 rows, until a font of the gauge's own is selected.
    Surface surface(60, 30, 16);
    EXPECT_TRUE(TextOutA(surface.dc(), 2, 3, "Hi", 2));
    const Picture picture = surface.picture();
    const auto cell = picture.marked(0);
    ASSERT_FALSE(cell.empty());
    int top = 1000, bottom = -1;
    for (const auto& [x, y] : cell) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        EXPECT_EQ(picture.at(x, y), 0x7FFFu) << x << "," << y;
    }
    EXPECT_EQ(top, 3);
    EXPECT_EQ(bottom, 3 + 16 - 1);
    EXPECT_LT(cell.size(), 16u * 20u) << "the glyphs are black, like the surface around the cell";
}

TEST(PlatformTextOutA, RefusesBadArgumentsWithoutDrawing) {
    Surface surface(20, 20, 16);
    EXPECT_FALSE(TextOutA(surface.dc(), 0, 0, nullptr, 3));
    EXPECT_FALSE(TextOutA(surface.dc(), 0, 0, "abc", -1));
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "abc", 3));
    EXPECT_TRUE(TextOutA(surface.dc(), 0, 0, "", 0));
    EXPECT_TRUE(TextOutA(surface.dc(), 0x7FFFFFFF, -0x7FFFFFFF - 1, "far", 3));
    EXPECT_TRUE(surface.picture().marked(0).empty());
}

TEST(PlatformTextOutA, AlignmentValuesAreMasksNotBits) {
    Surface surface(4, 4, 16);
    EXPECT_EQ(SetTextAlign(surface.dc(), TA_BASELINE | TA_CENTER), static_cast<UINT>(TA_LEFT | TA_TOP));
    EXPECT_EQ(SetTextAlign(surface.dc(), TA_RIGHT), 30u);
    EXPECT_EQ(SetTextAlign(nullptr, TA_RIGHT), GDI_ERROR);
}

TEST(PlatformDeviceContexts, ReportNinetySixDotsPerInchAndTheirSurface) {
    Surface surface(256, 128, 8, test_palette());
    EXPECT_EQ(GetDeviceCaps(surface.dc(), LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(surface.dc(), LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(surface.dc(), HORZRES), 256);
    EXPECT_EQ(GetDeviceCaps(surface.dc(), VERTRES), 128);
    EXPECT_EQ(GetDeviceCaps(surface.dc(), BITSPIXEL), 8);
    EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 0);
    // The display's scaled font: 96 / 11, rounded.
    EXPECT_EQ(MulDiv(GetDeviceCaps(surface.dc(), LOGPIXELSY), 1, 11), 9);
}

TEST(PlatformDeviceContexts, KeepTheirColoursAndModesAndReturnThePreviousOnes) {
    Surface surface(4, 4, 16);
    EXPECT_EQ(SetTextColor(surface.dc(), RGB(1, 2, 3)), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(surface.dc(), RGB(4, 5, 6)), RGB(1, 2, 3));
    EXPECT_EQ(SetBkColor(surface.dc(), RGB(7, 8, 9)), RGB(255, 255, 255));
    EXPECT_EQ(SetBkColor(surface.dc(), RGB(0, 0, 0)), RGB(7, 8, 9));
    EXPECT_EQ(SetBkMode(surface.dc(), TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(surface.dc(), OPAQUE), TRANSPARENT);
    EXPECT_EQ(SetBkMode(surface.dc(), 9), 0);
    EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);
    EXPECT_EQ(SetBkColor(nullptr, 0), CLR_INVALID);
}

}  // namespace
