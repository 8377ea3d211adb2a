// Draws the three bitmaps of the airspeed indicator DRAVETS:
//   4352  the gauge's background, 181 x 181, all transparent;
//   4608  the dial face, 181 x 181: a near-black disc with a rim, ticks, the scale's numbers and
//         the words KNOTS and AIRSPEED;
//   4864  the needle, 97 x 15, pointing towards increasing x about its pivot pixel (32, 9).
//
// The committed pictures airspeed/airspeed_*.bmp are this program's output. After changing the
// drawing, regenerate them from a native build folder:
//     BUILD/bin/make_airspeed_bitmaps airspeed
// The test bitmaps.airspeed_matches_generator fails while they differ.
//
// Every pixel is decided by integers or by +, -, *, / and sqrt, which IEEE arithmetic rounds
// exactly, so the bytes are the same on every run and every machine. The directions of the ticks
// come from the needle's scale points themselves, never from an angle put through sin or cos.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "bmp_writer.h"

namespace {

// ---------------------------------------------------------------------------------------------
// Colours. All three pictures share one colour table of greys; entries not listed stay black.

enum Colour : uint8_t {
    kTransparent = 0,  // black, which the panel does not draw
    kDisc = 1,
    kDiscStep = 2,   // a blend on the smoothed edges of ticks and rim
    kDarkGrey = 3,   // rim, needle tail and pivot cap
    kGrey = 4,       // needle hub
    kLightGrey = 5,  // minor ticks
    kWhiteStep = 6,  // a blend on the smoothed edges of ticks
    kWhite = 7,      // major ticks, text, needle blade
};

struct Grey {
    Colour index;
    uint8_t level;
};

// In increasing level, for the nearest-grey search of the smoothed edges.
constexpr Grey kGreys[] = {
    {kTransparent, 0}, {kDisc, 18}, {kDiscStep, 52}, {kDarkGrey, 92},
    {kGrey, 138}, {kLightGrey, 178}, {kWhiteStep, 212}, {kWhite, 246},
};

constexpr bool greys_in_index_order() {
    for (size_t i = 0; i < std::size(kGreys); ++i)
        if (kGreys[i].index != i || (i > 0 && kGreys[i].level <= kGreys[i - 1].level)) return false;
    return true;
}
static_assert(greys_in_index_order());

constexpr int level(Colour colour) { return kGreys[colour].level; }

void set_palette(bitmaps::IndexedBitmap& picture) {
    for (const Grey& grey : kGreys) picture.palette[grey.index] = {grey.level, grey.level, grey.level};
}

// The nearest grey of the table to the mean of `count` samples adding up to `sum`.
Colour nearest_grey(int sum, int count) {
    Colour best = kTransparent;
    int best_distance = -1;
    for (const Grey& grey : kGreys) {
        const int distance = std::abs(sum - grey.level * count);
        if (best_distance < 0 || distance < best_distance) {
            best = grey.index;
            best_distance = distance;
        }
    }
    return best;
}

// ---------------------------------------------------------------------------------------------
// Pixel fonts. '#' is ink. Every row of a glyph has the glyph's width.

template <size_t Rows>
struct Glyph {
    char symbol;
    std::array<std::string_view, Rows> rows;
};

template <size_t Rows, size_t Count>
struct Font {
    int spacing;  // blank columns between neighbouring glyphs
    std::array<Glyph<Rows>, Count> glyphs;
};

template <size_t Rows, size_t Count>
constexpr bool rows_even(const Font<Rows, Count>& font) {
    for (const Glyph<Rows>& glyph : font.glyphs)
        for (std::string_view row : glyph.rows)
            if (row.size() != glyph.rows[0].size()) return false;
    return true;
}

// The scale's numbers: 11 rows, strokes two pixels wide, the one narrower than the other digits.
constexpr Font<11, 10> kNumberFont{
    2,
    {{
        {'0', {".#####.",
               "##...##",
               "##...##",
               "##...##",
               "##...##",
               "##...##",
               "##...##",
               "##...##",
               "##...##",
               "##...##",
               ".#####."}},
        {'1', {"..##",
               ".###",
               "####",
               "..##",
               "..##",
               "..##",
               "..##",
               "..##",
               "..##",
               "..##",
               "..##"}},
        {'2', {".#####.",
               "##...##",
               ".....##",
               ".....##",
               "....##.",
               "...##..",
               "..##...",
               ".##....",
               "##.....",
               "##.....",
               "#######"}},
        {'3', {".#####.",
               "##...##",
               ".....##",
               ".....##",
               "..####.",
               ".....##",
               ".....##",
               ".....##",
               ".....##",
               "##...##",
               ".#####."}},
        {'4', {"....##.",
               "...###.",
               "..####.",
               ".##.##.",
               "##..##.",
               "##..##.",
               "#######",
               "....##.",
               "....##.",
               "....##.",
               "....##."}},
        {'5', {"#######",
               "##.....",
               "##.....",
               "##.....",
               "######.",
               ".....##",
               ".....##",
               ".....##",
               ".....##",
               "##...##",
               ".#####."}},
        {'6', {"..####.",
               ".##....",
               "##.....",
               "##.....",
               "######.",
               "##...##",
               "##...##",
               "##...##",
               "##...##",
               "##...##",
               ".#####."}},
        {'7', {"#######",
               ".....##",
               ".....##",
               "....##.",
               "....##.",
               "...##..",
               "...##..",
               "..##...",
               "..##...",
               "..##...",
               "..##..."}},
        {'8', {".#####.",
               "##...##",
               "##...##",
               "##...##",
               ".#####.",
               "##...##",
               "##...##",
               "##...##",
               "##...##",
               "##...##",
               ".#####."}},
        {'9', {".#####.",
               "##...##",
               "##...##",
               "##...##",
               "##...##",
               "##...##",
               ".######",
               ".....##",
               ".....##",
               "....##.",
               ".####.."}},
    }},
};
static_assert(rows_even(kNumberFont));

// The words: 7 rows, strokes one pixel wide.
constexpr Font<7, 11> kWordFont{
    1,
    {{
        {'A', {".###.",
               "#...#",
               "#...#",
               "#####",
               "#...#",
               "#...#",
               "#...#"}},
        {'D', {"####.",
               "#...#",
               "#...#",
               "#...#",
               "#...#",
               "#...#",
               "####."}},
        {'E', {"#####",
               "#....",
               "#....",
               "####.",
               "#....",
               "#....",
               "#####"}},
        {'I', {"###",
               ".#.",
               ".#.",
               ".#.",
               ".#.",
               ".#.",
               "###"}},
        {'K', {"#...#",
               "#..#.",
               "#.#..",
               "##...",
               "#.#..",
               "#..#.",
               "#...#"}},
        {'N', {"#...#",
               "#...#",
               "##..#",
               "#.#.#",
               "#..##",
               "#...#",
               "#...#"}},
        {'O', {".###.",
               "#...#",
               "#...#",
               "#...#",
               "#...#",
               "#...#",
               ".###."}},
        {'P', {"####.",
               "#...#",
               "#...#",
               "####.",
               "#....",
               "#....",
               "#...."}},
        {'R', {"####.",
               "#...#",
               "#...#",
               "####.",
               "#.#..",
               "#..#.",
               "#...#"}},
        {'S', {".####",
               "#....",
               "#....",
               ".###.",
               "....#",
               "....#",
               "####."}},
        {'T', {"#####",
               "..#..",
               "..#..",
               "..#..",
               "..#..",
               "..#..",
               "..#.."}},
    }},
};
static_assert(rows_even(kWordFont));

template <size_t Rows, size_t Count>
constexpr int text_height(const Font<Rows, Count>&) {
    return static_cast<int>(Rows);
}

template <size_t Rows, size_t Count>
const Glyph<Rows>& glyph_for(const Font<Rows, Count>& font, char symbol) {
    for (const Glyph<Rows>& glyph : font.glyphs)
        if (glyph.symbol == symbol) return glyph;
    std::fprintf(stderr, "make_airspeed_bitmaps: no glyph for '%c'\n", symbol);
    std::exit(1);
}

template <size_t Rows, size_t Count>
int text_width(const Font<Rows, Count>& font, std::string_view text) {
    int width = 0;
    for (char symbol : text) width += static_cast<int>(glyph_for(font, symbol).rows[0].size()) + font.spacing;
    return width - font.spacing;
}

// A piece of text's place on the face: its top-left pixel and size.
struct Box {
    int left, top, width, height;
    int right() const { return left + width; }  // one past the last column
    int bottom() const { return top + height; }
};

template <size_t Rows, size_t Count>
void draw_text(bitmaps::IndexedBitmap& picture, const Font<Rows, Count>& font, std::string_view text,
               const Box& box, Colour ink) {
    int x = box.left;
    for (char symbol : text) {
        const Glyph<Rows>& glyph = glyph_for(font, symbol);
        for (size_t row = 0; row < Rows; ++row)
            for (size_t column = 0; column < glyph.rows[row].size(); ++column)
                if (glyph.rows[row][column] == '#')
                    picture.set(x + static_cast<int>(column), box.top + static_cast<int>(row), ink);
        x += static_cast<int>(glyph.rows[0].size()) + font.spacing;
    }
}

// ---------------------------------------------------------------------------------------------
// The dial face.

constexpr int kFaceSize = 181;
constexpr int kPivot = 90;  // pixel (90, 90); geometry is measured from its centre
constexpr double kCentre = kPivot + 0.5;

// The needle's scale: the point it aims at for each marked speed.
struct ScalePoint {
    int knots;
    int x, y;
};
constexpr ScalePoint kScale[] = {
    {40, 106, 23},  {60, 140, 40},  {80, 163, 75},  {100, 159, 117}, {120, 132, 155}, {140, 88, 162},
    {160, 57, 152}, {180, 35, 130}, {200, 24, 103}, {250, 36, 52},   {300, 74, 25},
};
// Minor ticks every this many knots between marks.
constexpr int kMinorStep = 10;

constexpr double kDiscRadius = 82.5;  // pixels up to 82 from the pivot are fully covered
constexpr double kRimInner = 80.75;
constexpr double kTickOuter = 81.0;   // ticks run from the rim inwards
constexpr double kMajorLength = 11.0;
constexpr double kMajorHalfWidth = 1.0;
constexpr double kMinorLength = 5.0;
constexpr double kMinorHalfWidth = 0.55;
constexpr double kHubClearRadius = 8.0;  // left bare for the needle's hub

// Numbers stay within this distance of the pivot, 3 pixels short of the major ticks' inner ends.
constexpr double kLabelRadius = kTickOuter - kMajorLength - 3.0;
// Space between two pieces of text, at least.
constexpr int kTextGap = 3;
// The words' distance from the pivot to their nearer edge.
constexpr int kWordOffset = 22;

struct Vec {
    double x, y;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
Vec unit(Vec v) {
    const double length = std::sqrt(dot(v, v));
    return {v.x / length, v.y / length};
}

Vec scale_direction(const ScalePoint& point) {
    return unit({double(point.x - kPivot), double(point.y - kPivot)});
}

// The direction a fraction of the way from `from` to `to` by angle (the shorter way round), found
// by halving the angle: the half-way direction of two unit vectors is their normalized sum.
Vec direction_between(Vec from, Vec to, double fraction) {
    Vec low = from, high = to;
    double low_fraction = 0.0, high_fraction = 1.0;
    for (int step = 0; step < 48; ++step) {
        const Vec middle = unit(low + high);
        const double middle_fraction = (low_fraction + high_fraction) / 2.0;
        if (middle_fraction == fraction) return middle;
        if (middle_fraction < fraction) {
            low = middle;
            low_fraction = middle_fraction;
        } else {
            high = middle;
            high_fraction = middle_fraction;
        }
    }
    return unit(low + high);
}

struct Tick {
    Vec direction;
    double length, half_width;
    Colour colour;
};

std::vector<Tick> ticks() {
    std::vector<Tick> result;
    const size_t count = std::size(kScale);
    for (size_t i = 0; i < count; ++i) {
        const Vec mark = scale_direction(kScale[i]);
        result.push_back({mark, kMajorLength, kMajorHalfWidth, kWhite});
        if (i + 1 == count) break;
        const Vec next = scale_direction(kScale[i + 1]);
        const int span = kScale[i + 1].knots - kScale[i].knots;
        for (int knots = kMinorStep; knots < span; knots += kMinorStep)
            result.push_back({direction_between(mark, next, double(knots) / span), kMinorLength, kMinorHalfWidth,
                              kLightGrey});
    }
    return result;
}

// The grey of the face at a point (measured in pixels from the pivot's centre).
int face_level(Vec point, const std::vector<Tick>& all_ticks) {
    const double squared = dot(point, point);
    if (squared > kDiscRadius * kDiscRadius) return 0;
    if (squared >= kRimInner * kRimInner) return level(kDarkGrey);
    for (const Tick& tick : all_ticks) {
        const double along = dot(point, tick.direction);
        const double across = point.x * tick.direction.y - point.y * tick.direction.x;
        if (along <= kTickOuter && along >= kTickOuter - tick.length && std::abs(across) <= tick.half_width)
            return level(tick.colour);
    }
    return level(kDisc);
}

// Disc, rim and ticks, their edges smoothed over 4 x 4 samples a pixel.
void draw_disc_and_ticks(bitmaps::IndexedBitmap& face) {
    constexpr int kSamples = 4;
    const std::vector<Tick> all_ticks = ticks();
    for (int y = 0; y < kFaceSize; ++y) {
        for (int x = 0; x < kFaceSize; ++x) {
            int sum = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Vec point{x + (sx + 0.5) / kSamples - kCentre, y + (sy + 0.5) / kSamples - kCentre};
                    sum += face_level(point, all_ticks);
                }
            face.set(x, y, nearest_grey(sum, kSamples * kSamples));
        }
    }
}

// The box of a number centred as far out along `direction` as keeps all its corners within
// kLabelRadius of the pivot: the centre c = r u, corner offset h, |r u + h| = R, solved for r.
Box number_box(Vec direction, int width, int height) {
    const Vec corner{direction.x < 0 ? -width / 2.0 : width / 2.0, direction.y < 0 ? -height / 2.0 : height / 2.0};
    const double uh = dot(direction, corner);
    const double r = -uh + std::sqrt(uh * uh - dot(corner, corner) + kLabelRadius * kLabelRadius);
    const double left = kCentre + r * direction.x - width / 2.0;
    const double top = kCentre + r * direction.y - height / 2.0;
    return {int(std::floor(left + 0.5)), int(std::floor(top + 0.5)), width, height};
}

bool apart(const Box& a, const Box& b) {
    return a.right() + kTextGap <= b.left || b.right() + kTextGap <= a.left || a.bottom() + kTextGap <= b.top ||
           b.bottom() + kTextGap <= a.top;
}

// Farthest and nearest distance of a box's pixel centres from the pivot's centre, squared.
double farthest_squared(const Box& box) {
    const double dx = std::max(std::abs(box.left + 0.5 - kCentre), std::abs(box.right() - 0.5 - kCentre));
    const double dy = std::max(std::abs(box.top + 0.5 - kCentre), std::abs(box.bottom() - 0.5 - kCentre));
    return dx * dx + dy * dy;
}
double nearest_squared(const Box& box) {
    const double dx = std::max({0.0, box.left + 0.5 - kCentre, kCentre - (box.right() - 0.5)});
    const double dy = std::max({0.0, box.top + 0.5 - kCentre, kCentre - (box.bottom() - 0.5)});
    return dx * dx + dy * dy;
}

struct Text {
    std::string words;
    Box box;
};

bool draw_face(bitmaps::IndexedBitmap& face, std::string* error) {
    set_palette(face);
    draw_disc_and_ticks(face);

    std::vector<Text> numbers;
    for (const ScalePoint& point : kScale) {
        const std::string digits = std::to_string(point.knots);
        numbers.push_back({digits, number_box(scale_direction(point), text_width(kNumberFont, digits),
                                               text_height(kNumberFont))});
    }
    const auto centred = [](std::string_view words, int top) {
        const int width = text_width(kWordFont, words);
        return Text{std::string(words), Box{kPivot - (width - 1) / 2, top, width, text_height(kWordFont)}};
    };
    const std::vector<Text> words = {centred("KNOTS", kPivot - kWordOffset - text_height(kWordFont) + 1),
                                     centred("AIRSPEED", kPivot + kWordOffset)};

    // The text must stay clear of itself, of the ticks and of the hub.
    std::vector<Text> all = numbers;
    all.insert(all.end(), words.begin(), words.end());
    for (size_t i = 0; i < all.size(); ++i) {
        for (size_t j = i + 1; j < all.size(); ++j)
            if (!apart(all[i].box, all[j].box)) {
                *error = "\"" + all[i].words + "\" runs into \"" + all[j].words + "\"";
                return false;
            }
        if (farthest_squared(all[i].box) > kLabelRadius * kLabelRadius ||
            nearest_squared(all[i].box) < kHubClearRadius * kHubClearRadius) {
            *error = "\"" + all[i].words + "\" reaches the ticks or the hub";
            return false;
        }
    }
    for (const Text& number : numbers) draw_text(face, kNumberFont, number.words, number.box, kWhite);
    for (const Text& word : words) draw_text(face, kWordFont, word.words, word.box, kWhite);
    return true;
}

// ---------------------------------------------------------------------------------------------
// The needle.

constexpr int kNeedleWidth = 97;
constexpr int kNeedleHeight = 15;
constexpr int kNeedlePivotX = 32;
constexpr int kNeedlePivotY = 9;
constexpr int kTailEnd = 8;
constexpr int kTip = 95;
constexpr int kTipStart = 87;  // the blade's last pixels, one row thick
constexpr int kHubRadiusSquared = 27;  // radius about 5.2 pixels

void draw_needle(bitmaps::IndexedBitmap& needle) {
    set_palette(needle);
    // Tail and blade, three rows thick up to the blade's tip.
    for (int x = kTailEnd; x <= kTip; ++x) {
        const bool tail = x < kNeedlePivotX;
        const int half = x >= kTipStart ? 0 : 1;
        for (int y = kNeedlePivotY - half; y <= kNeedlePivotY + half; ++y) needle.set(x, y, tail ? kDarkGrey : kWhite);
    }
    // Counterweight at the end of the tail.
    for (int x = kTailEnd; x < kTailEnd + 6; ++x)
        for (int y = kNeedlePivotY - 2; y <= kNeedlePivotY + 2; ++y) needle.set(x, y, kDarkGrey);
    // Hub, with the pivot's cap in its middle.
    for (int y = 0; y < kNeedleHeight; ++y)
        for (int x = 0; x < kNeedleWidth; ++x) {
            const int dx = x - kNeedlePivotX, dy = y - kNeedlePivotY;
            const int squared = dx * dx + dy * dy;
            if (squared <= 2) needle.set(x, y, kDarkGrey);
            else if (squared <= kHubRadiusSquared) needle.set(x, y, kGrey);
        }
}

// ---------------------------------------------------------------------------------------------

// The panel leaves index 0 transparent: the disc, out to 82 pixels from the pivot, must be all
// visible, and the corners beyond the rim not at all.
bool check_face(const bitmaps::IndexedBitmap& face, std::string* error) {
    for (int y = 0; y < kFaceSize; ++y)
        for (int x = 0; x < kFaceSize; ++x) {
            const int dx = x - kPivot, dy = y - kPivot;
            const int squared = dx * dx + dy * dy;
            const uint8_t index = face.at(x, y);
            const bool visible = index != 0 && face.palette[index] != bitmaps::Rgb{0, 0, 0};
            if (squared <= 82 * 82 && !visible) {
                *error = "face pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is transparent";
                return false;
            }
            if (squared >= 84 * 84 && index != 0) {
                *error = "face pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is not transparent";
                return false;
            }
        }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];

    bitmaps::IndexedBitmap background(kFaceSize, kFaceSize);
    set_palette(background);
    bitmaps::IndexedBitmap face(kFaceSize, kFaceSize);
    bitmaps::IndexedBitmap needle(kNeedleWidth, kNeedleHeight);
    draw_needle(needle);

    std::string error;
    const bool ok = draw_face(face, &error) && check_face(face, &error) &&
                    bitmaps::write_bmp(folder + "/airspeed_4352.bmp", background, &error) &&
                    bitmaps::write_bmp(folder + "/airspeed_4608.bmp", face, &error) &&
                    bitmaps::write_bmp(folder + "/airspeed_4864.bmp", needle, &error);
    if (!ok) {
        std::fprintf(stderr, "make_airspeed_bitmaps: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
