// The radio symbols in the arc layout of the 256 x 256 display (centre (128, 217), radius 200),
// read from the call journal: ADF pointer, second station's pointer, course arrow, deviation bar
// or cross, deviation dots, TO/FROM triangle and glideslope scale.
#include <gtest/gtest.h>

#include "render_pass.h"

namespace {

// A tuned first receiver with its station: the deviation group shows.
const std::string kStation = "set 0x2F text ABC\n";

// Course arrow and bar are the 7- and 5-point paths of their pens; the cyan TO/FROM triangle has 4.
std::vector<Path> paths_of_size(const DrawPass& pass, uint32_t pen, size_t size) {
    std::vector<Path> out;
    for (const Path& p : pass.paths(pen)) {
        if (p.size() == size) out.push_back(p);
    }
    return out;
}

TEST(RenderRadio, AdfPointerShowsOnlyWhileTheAdfIsActive) {
    EXPECT_TRUE(draw_pass("set 0x27 90").paths(kAmber).empty());

    const std::vector<Path> upright = draw_pass("set 0x14 1").paths(kAmber);
    // 2r/(-3) is -133 with r = 200: the shafts end 133 pixels from the centre.
    EXPECT_EQ(upright, (std::vector<Path>{{{125, 22}, {128, 17}, {128, 84}, {128, 17}, {131, 23}},
                                          {{125, 422}, {128, 417}, {128, 350}, {128, 417}, {131, 423}}}));

    const std::vector<Path> right = draw_pass("set 0x14 1\nset 0x27 90").paths(kAmber);
    ASSERT_EQ(right.size(), 2u);
    EXPECT_EQ(right[0][1], (Point{328, 217})) << "the tip on the circle, right of the centre";
    EXPECT_EQ(right[1][1], (Point{-72, 217}));
}

TEST(RenderRadio, SecondStationsPointerNeedsItsStation) {
    const struct {
        const char* settings;
        bool shown;
    } cases[] = {
        {"set 0x38 text XYZ", true},
        {"set 0x38 text XYZ\nset 0x37 int 8", false},
        {"set 0x3B 40\nset 0x37 int 1", false},
        {"set 0x38 null\nset 0x3B 40", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        const std::vector<Path> paths = draw_pass(c.settings).paths(kYellow);
        if (!c.shown) {
            EXPECT_TRUE(paths.empty());
            continue;
        }
        EXPECT_EQ(paths, (std::vector<Path>{{{125, 84}, {125, 22}, {128, 17}, {131, 22}, {131, 85}},
                                            {{125, 417}, {125, 350}, {128, 345}, {131, 350}, {131, 418}}}));
    }
}

TEST(RenderRadio, CourseArrowTurnsWithTheCourseAgainstTheHeading) {
    const std::vector<Path> arrow = paths_of_size(draw_pass("set 0x51 45"), kCyan, 7);
    ASSERT_EQ(arrow.size(), 2u);
    // (cx, cy - 200) turned 45 degrees counterclockwise.
    EXPECT_EQ(arrow[0][0], (Point{128 - 141, 217 - 141}));

    const std::vector<Path> upright = paths_of_size(draw_pass("set 0x51 30\nset 0x2D 30"), kCyan, 7);
    EXPECT_EQ(upright, (std::vector<Path>{{{128, 17}, {128, 187}, {125, 193}, {125, 198}, {131, 198}, {131, 193}, {128, 187}},
                                          {{128, 255}, {128, 245}, {125, 245}, {125, 236}, {131, 236}, {131, 245}, {128, 245}}}));
}

// Deviation units times r / 350: 64 units to the inner dot, 128 to the outer.
TEST(RenderRadio, DeviationBarShiftsByTheTruncatedDeviation) {
    const struct {
        const char* deviation;
        int shift;
    } cases[] = {{"127", 72}, {"128", 73}, {"-0.9", 0}, {"-128", -73}, {"64", 36}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.deviation);
        const std::vector<Path> bar = draw_pass(kStation + "set 0x28 " + c.deviation).paths(kMagenta);
        const int x = 128 + c.shift;
        EXPECT_EQ(bar, (std::vector<Path>{{{x - 3, 199}, {x - 3, 235}, {x + 3, 235}, {x + 3, 199}, {x - 3, 199}}}));
    }
}

TEST(RenderRadio, CrossReplacesTheBarFrom30000) {
    const Path cross = {{125, 199}, {131, 235}, {128, 217}, {125, 235}, {131, 199}};
    EXPECT_EQ(draw_pass(kStation + "set 0x31 30000\nset 0x28 100").paths(kMagenta), (std::vector<Path>{cross}));
    EXPECT_NE(draw_pass(kStation + "set 0x31 29999.9\nset 0x28 100").paths(kMagenta), (std::vector<Path>{cross}));
    EXPECT_NE(draw_pass(kStation + "set 0x31 nan").paths(kMagenta), (std::vector<Path>{cross}));
}

TEST(RenderRadio, DeviationDotsLieAtOneAndTwoDotsEitherSide) {
    const std::vector<std::vector<int>> arcs = draw_pass(kStation).arcs(kWhite);
    // The compass circle, then circles of radius 3 at -73, -36, 36 and 73 pixels.
    ASSERT_EQ(arcs.size(), 5u);
    const int offsets[] = {-73, -36, 36, 73};
    for (int i = 0; i < 4; ++i) {
        const int x = 128 + offsets[i];
        EXPECT_EQ(arcs[i + 1], (std::vector<int>{x - 3, 214, x + 3, 220, x - 3, 217, x - 3, 217}));
    }
}

// The course arrow stays; bar, dots and triangle go with the station.
TEST(RenderRadio, DeviationGroupNeedsTheFirstReceiversStation) {
    const char* hidden[] = {"set 0x2F text ABC\nset 0x2E int 8", "set 0x2F text", "set 0x2F null"};
    for (const char* settings : hidden) {
        SCOPED_TRACE(settings);
        const DrawPass pass = draw_pass(std::string(settings) + "\nset 0x28 20\nset 0x2A int 4");
        EXPECT_EQ(paths_of_size(pass, kCyan, 7).size(), 2u);
        EXPECT_TRUE(pass.paths(kMagenta).empty());
        EXPECT_EQ(pass.arcs(kWhite).size(), 1u);
        EXPECT_TRUE(pass.raw("ExtFloodFill").empty());
    }
}

TEST(RenderRadio, ToFromTrianglePointsDownForTo) {
    // H - 5M = 211.
    const struct {
        int to_from;
        int apex;
        int seed;
    } cases[] = {{4, 219, 215}, {5, 219, 215}, {0, 203, 207}, {1, 203, 207}, {2, 203, 207}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to_from);
        const DrawPass pass = draw_pass(kStation + "set 0x2A int " + std::to_string(c.to_from));
        EXPECT_EQ(paths_of_size(pass, kCyan, 4), (std::vector<Path>{{{2, 211}, {8, 211}, {5, c.apex}, {2, 211}}}));
        EXPECT_EQ(pass.raw("ExtFloodFill"), (std::vector<std::string>{"ExtFloodFill 5 " + std::to_string(c.seed) + " 0xFFFF00 0"}));
    }
}

// The diamond moves 0.2333 pixels a unit from the middle (128), past the outer dots if need be.
TEST(RenderRadio, GlideslopeDiamondFollowsTheDeviation) {
    const struct {
        const char* deviation;
        int y;
    } cases[] = {{"120", 156}, {"119", 155}, {"-60", 114}, {"0", 128}, {"300", 198}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.deviation);
        const DrawPass pass = draw_pass(std::string("set 0x2C 1\nset 0x29 ") + c.deviation);
        const int y = c.y;
        EXPECT_EQ(pass.paths(kMagenta), (std::vector<Path>{{{256, y}, {253, y + 6}, {250, y}, {253, y - 6}, {256, y}}}));
        EXPECT_EQ(pass.raw("ExtFloodFill"), (std::vector<std::string>{"ExtFloodFill 253 " + std::to_string(y) + " 0xFF00FF 0"}));
    }
}

// Drawn whatever the receivers say, on a strip cleared first.
TEST(RenderRadio, GlideslopeScaleAtTheRightEdge) {
    const DrawPass pass = draw_pass("set 0x2C 1\nset 0x2E int 8");
    EXPECT_EQ(pass.raw("Blt").back(), "Blt 248 94 256 162 16778240 0");
    EXPECT_EQ(pass.lines(kWhite).back(), (Line{{256, 128}, {250, 128}}));
    const std::vector<std::vector<int>> arcs = pass.arcs(kWhite);
    ASSERT_EQ(arcs.size(), 5u);
    const int dots[] = {100, 114, 142, 156};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(arcs[i + 1], (std::vector<int>{250, dots[i] - 3, 256, dots[i] + 3, 256, dots[i], 256, dots[i]}));
    }

    const DrawPass off = draw_pass("set 0x29 50");
    EXPECT_EQ(off.raw("Blt").size(), 1u) << "only the clearing of the whole picture";
    EXPECT_TRUE(off.paths(kMagenta).empty());
}

}  // namespace
