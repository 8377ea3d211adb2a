// Draws the three bitmaps of the navigation display Vistrel.ND:
//   4096  the gauge's background, 256 x 256, black except for the colour samples: the first 17
//         pixels of its stored bottom row, palette indices from which the display takes its 16
//         colours and its background;
//   8192  the picture shown until the display first draws itself: a dark screen with a faint
//         compass ring and the words ND and NO DATA in a small pixel font;
//   8195  a byte-for-byte copy of 8192.
//
// The committed pictures nav_display/resources/nd_*.bmp are this program's output. After changing
// the drawing, regenerate them from a native build folder:
//     BUILD/bin/make_nav_display_bitmaps nav_display/resources
// The test bitmaps.nav_display_matches_generator fails while they differ.
//
// Every pixel is decided by integers or by +, -, *, / and sqrt, which IEEE arithmetic rounds
// exactly, so the bytes are the same on every run and every machine.
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "bmp_writer.h"

namespace {

constexpr int kSize = 256;

// The simulator's 8-bit panels share one palette, which the display also gives its drawing
// surface: the system colours at both ends and the amber at 110. The placeholder shows with the
// same palette, so that the display's drawings keep their colours once they replace it.
struct PaletteEntry {
    uint8_t index;
    bitmaps::Rgb colour;
};

constexpr PaletteEntry kPanelPalette[] = {
    {1, {128, 0, 0}},     {2, {0, 128, 0}},     {3, {128, 128, 0}},   {4, {0, 0, 128}},
    {5, {128, 0, 128}},   {6, {0, 128, 128}},   {7, {192, 192, 192}}, {8, {160, 144, 96}},
    {9, {208, 207, 176}}, {110, {255, 128, 0}}, {246, {195, 195, 195}}, {247, {227, 227, 227}},
    {248, {128, 128, 128}}, {249, {255, 0, 0}}, {250, {0, 255, 0}},   {251, {255, 255, 0}},
    {252, {0, 0, 255}},   {253, {255, 0, 255}}, {254, {0, 255, 255}}, {255, {255, 255, 255}},
};

// Colour samples of bitmap 4096, in the order of the display's colour table, then the background:
// green, white, green, cyan, magenta, white, magenta, white, magenta, cyan, red, cyan, amber,
// yellow, grey, white; black.
constexpr uint8_t kColourSamples[] = {250, 255, 250, 254, 253, 255, 253, 255, 253, 254, 249, 254, 110, 251, 248, 255, 0};

// The placeholder's own colours, in entries that the panel palette leaves black. Black (0) itself
// is transparent on the panel, so even the dark screen is a colour of its own.
enum PlaceholderColour : uint8_t {
    kScreen = 16,
    kRing = 17,
    kTick = 18,
    kLabel = 19,
    kMessage = 20,
};

constexpr PaletteEntry kPlaceholderColours[] = {
    {kScreen, {10, 14, 20}}, {kRing, {34, 52, 60}}, {kTick, {56, 84, 92}}, {kLabel, {0, 150, 150}}, {kMessage, {0, 170, 0}},
};

void set_panel_palette(bitmaps::IndexedBitmap& picture) {
    for (const PaletteEntry& entry : kPanelPalette) picture.palette[entry.index] = entry.colour;
}

bitmaps::IndexedBitmap draw_background() {
    bitmaps::IndexedBitmap picture(kSize, kSize);
    set_panel_palette(picture);
    // The stored bottom row is the last row of the picture.
    for (int i = 0; i < static_cast<int>(sizeof kColourSamples); ++i) picture.set(i, kSize - 1, kColourSamples[i]);
    return picture;
}

// Compass ring around the middle of the screen, with a tick every 30 degrees.
constexpr int kCentre = 128;
constexpr int kRingRadius = 100;
constexpr int kTickLength = 8;

void draw_ring(bitmaps::IndexedBitmap& picture) {
    // A pixel is on the ring when its distance from the centre rounds to the radius:
    // (2r - 1)^2 <= 4 d^2 < (2r + 1)^2, all in integers.
    const int inner = (2 * kRingRadius - 1) * (2 * kRingRadius - 1);
    const int outer = (2 * kRingRadius + 1) * (2 * kRingRadius + 1);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int dx = x - kCentre;
            const int dy = y - kCentre;
            const int four_d2 = 4 * (dx * dx + dy * dy);
            if (four_d2 >= inner && four_d2 < outer) picture.set(x, y, kRing);
        }
    }
    // Directions of multiples of 30 degrees: the cosines 0, 1/2, sqrt(3)/2 and 1 with their signs.
    const double half_root3 = std::sqrt(3.0) / 2;
    const double cosines[] = {1, half_root3, 0.5, 0, -0.5, -half_root3, -1, -half_root3, -0.5, 0, 0.5, half_root3};
    for (int tick = 0; tick < 12; ++tick) {
        const double c = cosines[tick];
        const double s = cosines[(tick + 9) % 12];  // sin a = cos(a - 90 degrees)
        for (int r = kRingRadius - kTickLength; r < kRingRadius; ++r) {
            const int x = kCentre + static_cast<int>(std::floor(r * c + 0.5));
            const int y = kCentre - static_cast<int>(std::floor(r * s + 0.5));
            picture.set(x, y, kTick);
        }
    }
}

// A 5 x 7 pixel font with the letters the placeholder needs; each row is 5 bits, the leftmost first.
struct Glyph {
    char letter;
    uint8_t rows[7];
};

constexpr Glyph kGlyphs[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
};

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = 6;  // one column between letters

const Glyph* glyph_of(char letter) {
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.letter == letter) return &glyph;
    }
    return nullptr;
}

// Text whose top left corner is (left, top), each font pixel scale x scale pixels; a space is an
// empty advance. Returns false for a letter the font lacks.
bool draw_text(bitmaps::IndexedBitmap& picture, std::string_view text, int left, int top, int scale, uint8_t colour,
               std::string* error) {
    for (size_t i = 0; i < text.size(); ++i) {
        const int x0 = left + static_cast<int>(i) * kGlyphAdvance * scale;
        if (text[i] == ' ') continue;
        const Glyph* glyph = glyph_of(text[i]);
        if (glyph == nullptr) {
            *error = std::string("the pixel font has no letter '") + text[i] + "'";
            return false;
        }
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int column = 0; column < kGlyphWidth; ++column) {
                if ((glyph->rows[row] >> (kGlyphWidth - 1 - column) & 1) == 0) continue;
                for (int dy = 0; dy < scale; ++dy) {
                    for (int dx = 0; dx < scale; ++dx) picture.set(x0 + column * scale + dx, top + row * scale + dy, colour);
                }
            }
        }
    }
    return true;
}

int text_width(std::string_view text, int scale) {
    return (static_cast<int>(text.size()) * kGlyphAdvance - 1) * scale;
}

// The display writes its start-up banner at the top and just below the middle; the placeholder's
// words keep clear of both.
bool draw_placeholder(bitmaps::IndexedBitmap& picture, std::string* error) {
    set_panel_palette(picture);
    for (const PaletteEntry& entry : kPlaceholderColours) picture.palette[entry.index] = entry.colour;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) picture.set(x, y, kScreen);
    }
    draw_ring(picture);
    constexpr std::string_view kMessageText = "NO DATA";
    constexpr int kMessageScale = 2;
    constexpr int kMessageTop = 172;
    return draw_text(picture, "ND", 6, 6, 1, kLabel, error) &&
           draw_text(picture, kMessageText, kCentre - text_width(kMessageText, kMessageScale) / 2, kMessageTop, kMessageScale,
                     kMessage, error);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const bitmaps::IndexedBitmap background = draw_background();
    bitmaps::IndexedBitmap placeholder(kSize, kSize);
    std::string error;
    const bool ok = draw_placeholder(placeholder, &error) &&
                    bitmaps::write_bmp(folder + "/nd_4096.bmp", background, &error) &&
                    bitmaps::write_bmp(folder + "/nd_8192.bmp", placeholder, &error) &&
                    bitmaps::write_bmp(folder + "/nd_8195.bmp", placeholder, &error);
    if (!ok) {
        std::fprintf(stderr, "make_nav_display_bitmaps: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
