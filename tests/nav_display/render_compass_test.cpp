// The compass card, heading box, aircraft symbol and selected-heading marker, read from the call
// journal of a pass on the 256 x 256 display: arc layout centre (128, 217) radius 200, rose layout
// centre (128, 136) radius 119.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "render_pass.h"

namespace {

constexpr int kCardLabels = 30;  // TA_BASELINE | TA_CENTER: only the card's labels

// The card's white lines split into ten-degree marks (10 pixels) and half marks (5 pixels).
struct CardMarks {
    std::vector<Line> tens;
    std::vector<Line> fives;
};

CardMarks card_marks(const DrawPass& pass) {
    CardMarks marks;
    for (const Line& line : pass.lines(kWhite)) {
        const double length = std::hypot(line.to.x - line.from.x, line.to.y - line.from.y);
        (length > 7.5 ? marks.tens : marks.fives).push_back(line);
    }
    return marks;
}

TEST(RenderCompass, ArcLayoutAtHeadingZeroKeepsTheMarksInsideThePicture) {
    const DrawPass pass = draw_pass("set 0x51 0");
    EXPECT_EQ(pass.texts(kCardLabels, kWhite), (std::vector<Text>{{220, 61, "3"}, {128, 36, "0"}, {36, 61, "33"}}));
    // Screen angles 60 to 120 degrees; at 50 degrees trunc(200 cos 50) = 128 is not inside half the width.
    const CardMarks marks = card_marks(pass);
    ASSERT_EQ(marks.tens.size(), 7u);
    EXPECT_EQ(marks.tens.front(), (Line{{227, 44}, {222, 53}}));
    EXPECT_EQ(marks.tens.back(), (Line{{28, 44}, {33, 53}}));
    EXPECT_EQ(marks.fives.size(), 7u);
    for (const Line& mark : marks.tens) EXPECT_LT(std::abs(mark.from.x - 128), 128) << mark;
}

TEST(RenderCompass, ArcLayoutFollowsTheHeading) {
    const DrawPass pass = draw_pass("set 0x51 123.4");
    EXPECT_EQ(pass.texts(kCardLabels, kWhite), (std::vector<Text>{{210, 56, "15"}, {118, 37, "12"}, {27, 67, "9"}}));
    // Screen angles 53.4 to 123.4 degrees.
    EXPECT_EQ(card_marks(pass).tens.size(), 8u);
}

TEST(RenderCompass, RoseLayoutDrawsTheWholeCard) {
    const DrawPass pass = draw_pass("set 0x51 0", "0");
    const std::vector<Text> labels = pass.texts(kCardLabels, kWhite);
    ASSERT_EQ(labels.size(), 12u);
    EXPECT_EQ(labels[0], (Text{232, 140, "9"}));
    EXPECT_EQ(labels[3], (Text{128, 36, "0"}));
    const CardMarks marks = card_marks(pass);
    EXPECT_EQ(marks.tens.size(), 36u);
    EXPECT_EQ(marks.fives.size(), 36u);
    EXPECT_TRUE(pass.arcs(kWhite).empty()) << "the rose has no circle";
}

TEST(RenderCompass, ArcLayoutDrawsTheCompassCircle) {
    const DrawPass pass = draw_pass("set 0x51 0");
    EXPECT_EQ(pass.arcs(kWhite), (std::vector<std::vector<int>>{{-72, 17, 328, 417, -72, 217, -72, 217}}));
}

// Any layout number from the shared block: non-zero is the arc with its circle; the card covers
// (2 - mode) x 180 degrees but never more than one turn, since a second lap repaints the same marks.
TEST(RenderCompass, OtherLayoutNumbersDrawAtMostOneTurnOfTheCard) {
    const struct {
        const char* mode;
        size_t tens;
    } cases[] = {{"2", 0}, {"999", 0}, {"-1", 14}, {"-99", 14}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const DrawPass pass = draw_pass("set 0x51 0", c.mode);
        EXPECT_EQ(pass.arcs(kWhite).size(), 1u);
        const std::vector<Line> tens = card_marks(pass).tens;
        EXPECT_EQ(tens.size(), c.tens);
        std::set<std::pair<int, int>> starts;
        for (const Line& mark : tens) starts.insert({mark.from.x, mark.from.y});
        EXPECT_EQ(starts.size(), tens.size()) << "a mark drawn twice";
    }
}

TEST(RenderCompass, AircraftSymbolIsATriangleUnderTheCentre) {
    const DrawPass pass = draw_pass("set 0x51 0");
    EXPECT_EQ(pass.lines(kGreen), (std::vector<Line>{{{128, 217}, {131, 225}}, {{131, 225}, {125, 225}}, {{125, 225}, {128, 217}}}));
}

TEST(RenderCompass, HeadingBoxLabelsAndDigits) {
    const DrawPass pass = draw_pass("set 0x51 123.4");
    EXPECT_EQ(pass.paths(kGreen),
              (std::vector<Path>{{{118, 2}, {118, 13}, {125, 13}, {128, 16}, {131, 13}, {138, 13}, {138, 1}}}));
    EXPECT_EQ(pass.texts(2, kGreen), (std::vector<Text>{{117, 0, "HDG"}}));
    EXPECT_EQ(pass.texts(0, kGreen), (std::vector<Text>{{141, 0, "MAG"}}));
    EXPECT_EQ(pass.texts(0, kWhite).front(), (Text{120, 0, "123"}));
}

// Whole degrees, halves away from zero.
TEST(RenderCompass, HeadingDigitsAreRounded) {
    const struct {
        const char* heading;
        const char* digits;
    } cases[] = {{"359.6", "360"}, {"0.4", "000"}, {"359.5", "360"}, {"-0.5", "-01"}, {"7", "007"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heading);
        const DrawPass pass = draw_pass(std::string("set 0x51 ") + c.heading);
        EXPECT_EQ(pass.texts(0, kWhite).front(), (Text{120, 0, c.digits}));
    }
}

TEST(RenderCompass, SelectedHeadingMarkerStraddlesTheCircle) {
    const struct {
        const char* selected;
        Path marker;
    } cases[] = {
        {"0", {{125, 14}, {125, 19}, {128, 22}, {131, 19}, {131, 13}}},
        // 90 degrees right of the heading: at the end of the horizontal radius, tip inwards.
        {"90", {{331, 214}, {326, 214}, {323, 217}, {326, 220}, {332, 220}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        const DrawPass pass = draw_pass(std::string("set 0x51 0\nset 0x6B ") + c.selected);
        EXPECT_EQ(pass.paths(kRed), (std::vector<Path>{c.marker}));
    }
}

}  // namespace
