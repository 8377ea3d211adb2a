// The texts of the 256 x 256 display (M = S = 9) and the pass's order, read from the call journal:
// wind, frequency and DME lines, station blocks, marker letter.
#include <gtest/gtest.h>

#include "render_pass.h"

namespace {

constexpr int kLeftTop = 0;
constexpr int kRightTop = 2;
constexpr int kBaselineLeft = 24;
constexpr int kBaselineRight = 26;

TEST(RenderTexts, WindTextInWholeNumbersWithADegreeSign) {
    const struct {
        const char* settings;
        const char* text;
    } cases[] = {
        {"set 0x158 270.4\nset 0x157 15.5", "270\xB0 / 16"},
        {"set 0x158 5\nset 0x157 0", "005\xB0 / 0"},
        {"set 0x158 359.5\nset 0x157 -0.5", "360\xB0 / -1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        const DrawPass pass = draw_pass(c.settings);
        EXPECT_EQ(pass.texts(kLeftTop, kWhite).at(1), (Text{0, 4, c.text}));
    }
}

TEST(RenderTexts, WindArrowShowsWhereTheAirMovesTo) {
    // Upright it points down: wind from ahead. From 270 at heading 0 it turns a quarter turn
    // counterclockwise and points to the right.
    EXPECT_EQ(draw_pass("set 0x158 270\nset 0x157 10").paths(kWhite), (std::vector<Path>{{{0, 25}, {20, 25}, {17, 28}}}));
    EXPECT_EQ(draw_pass("set 0x51 90\nset 0x158 90\nset 0x157 10").paths(kWhite),
              (std::vector<Path>{{{10, 15}, {10, 35}, {7, 32}}}));
    EXPECT_TRUE(draw_pass("set 0x158 270\nset 0x157 0").paths(kWhite).empty()) << "no arrow in still air";
}

TEST(RenderTexts, FirstReceiversFrequencyAndDmeLines) {
    const std::string values = "set 0x18 int 0x1090\nset 0x1F 12.34\nset 0x20 140.6\n";
    const DrawPass shown = draw_pass(values + "set 0x2E int 0x81");
    EXPECT_EQ(shown.texts(kRightTop, kMagenta), (std::vector<Text>{{256, 4, "ILS 110.90"}}));
    EXPECT_EQ(shown.texts(kLeftTop, kCyan), (std::vector<Text>{{216, 13, "DME 12.3"}, {225, 22, "KT 141"}}));

    const DrawPass hidden = draw_pass(values + "set 0x2E int 0x89");
    EXPECT_TRUE(hidden.texts(kRightTop, kMagenta).empty());
    EXPECT_TRUE(hidden.texts(kLeftTop, kCyan).empty());

    const DrawPass frequency_only = draw_pass(values + "set 0x2E int 0x80");
    EXPECT_EQ(frequency_only.texts(kRightTop, kMagenta).size(), 1u);
    EXPECT_TRUE(frequency_only.texts(kLeftTop, kCyan).empty());
}

// Without a station identifier the frequency and DME lines still show, the VOR1 block does not.
TEST(RenderTexts, Vor1BlockNeedsTheStation) {
    const DrawPass none = draw_pass("set 0x2E int 0x81\nset 0x18 int 0x1090");
    EXPECT_EQ(none.texts(kRightTop, kMagenta).size(), 1u);
    EXPECT_TRUE(none.texts(kBaselineLeft, kCyan).empty());

    EXPECT_EQ(draw_pass("set 0x2F text ABC").texts(kBaselineLeft, kCyan), (std::vector<Text>{{0, 229, "VOR1"}, {0, 238, "ABC"}}));
    EXPECT_TRUE(draw_pass("set 0x2F text ABC\nset 0x2E int 8").texts(kBaselineLeft, kCyan).empty());
}

TEST(RenderTexts, Vor2BlockWithItsDmeLines) {
    EXPECT_EQ(draw_pass("set 0x38 text XYZ\nset 0x37 int 1\nset 0x23 33.33").texts(kBaselineRight, kYellow),
              (std::vector<Text>{{256, 229, "VOR2"}, {256, 238, "XYZ"}, {256, 247, "DME2"}, {256, 256, "33.3"}}));
    EXPECT_EQ(draw_pass("set 0x38 text XYZ\nset 0x23 33.33").texts(kBaselineRight, kYellow),
              (std::vector<Text>{{256, 229, "VOR2"}, {256, 238, "XYZ"}}));
    EXPECT_TRUE(draw_pass("set 0x37 int 1\nset 0x23 33.33").texts(kBaselineRight, kYellow).empty());
    EXPECT_TRUE(draw_pass("set 0x38 text XYZ\nset 0x37 int 9").texts(kBaselineRight, kYellow).empty());
}

TEST(RenderTexts, AdfBlockShowsFiveCharactersOfTheIdentifier) {
    const struct {
        const char* ident;
        const char* shown;
    } cases[] = {{"text ABCDEFG", "ABCDE"}, {"text AB", "AB"}, {"text", ""}, {"null", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ident);
        const DrawPass pass = draw_pass(std::string("set 0x14 1\nset 0x13 ") + c.ident);
        EXPECT_EQ(pass.texts(kBaselineLeft, kAmber), (std::vector<Text>{{0, 247, "ADF"}, {0, 256, c.shown}}));
    }
    EXPECT_TRUE(draw_pass("set 0x13 text ABC").texts(kBaselineLeft, kAmber).empty());
}

// Fixed colours, not the colour table's; any other state draws an empty text.
TEST(RenderTexts, MarkerLetter) {
    const struct {
        const char* marker;
        uint32_t colour;
        const char* letter;
    } cases[] = {{"1", kBlue, "O"}, {"2.7", kYellow, "M"}, {"3", kWhite, "I"}, {"4", kWhite, ""}, {"nan", kWhite, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.marker);
        const DrawPass pass = draw_pass(std::string("set 0x162 ") + c.marker);
        const std::vector<Text> texts = pass.texts(kLeftTop, c.colour);
        EXPECT_EQ(texts.back(), (Text{0, 128, c.letter}));
    }
    for (const Text& text : draw_pass("set 0x51 10").all_texts()) EXPECT_NE(text.y, 128) << text;
}

// The pass's buffer holds 14 characters and a NUL: longer identifiers and numbers are cut to it.
TEST(RenderTexts, LongTextsAreCutToTheBuffer) {
    const DrawPass pass = draw_pass(
        "set 0x2F text ABCDEFGHIJKLMNOPQRSTUVWXYZ\n"
        "set 0x2E int 1\nset 0x1F 1e300\nset 0x20 -1e300\n"
        "set 0x38 text 0123456789012345\nset 0x37 int 1\nset 0x23 1e300\n"
        "set 0x158 nan\nset 0x157 inf\nset 0x51 -inf");
    EXPECT_EQ(pass.texts(kBaselineLeft, kCyan).at(1).text, "ABCDEFGHIJKLMN");
    EXPECT_EQ(pass.texts(kLeftTop, kCyan), (std::vector<Text>{{216, 13, "DME 1000000000"}, {225, 22, "KT -1000000000"}}));
    EXPECT_EQ(pass.texts(kBaselineRight, kYellow).at(1).text, "01234567890123");
    EXPECT_EQ(pass.texts(kBaselineRight, kYellow).at(3).text, "10000000000000");
    // Numbers beyond int are shown as INT_MIN.
    EXPECT_EQ(pass.texts(kLeftTop, kWhite).at(0).text, "-2147483648");
    EXPECT_EQ(pass.texts(kLeftTop, kWhite).at(1).text, "-2147483648\xB0 /");
}

// Station texts and the marker letter blank what lies under them; everything else is transparent.
TEST(RenderTexts, OnlyTheStationBlocksAreOpaque) {
    const DrawPass pass = draw_pass("set 0x2F text ABC\nset 0x162 1\nset 0x14 1\nset 0x157 5\nset 0x2E int 0x81");
    for (const JournalCall& call : pass.calls) {
        if (call.name != "TextOutA") continue;
        const bool block = call.args.at(1) == "128" || call.integer(1) >= 229;
        EXPECT_EQ(call.bk_mode, block ? 2 : 1) << call.args.at(2);
    }
    EXPECT_EQ(pass.raw("SetBkColor"), (std::vector<std::string>{"SetBkColor 0x000000"}));
    EXPECT_EQ(pass.calls.back().bk_mode, 1) << "transparent again at the end of the pass";
}

// Later steps draw over earlier ones, so the order is part of the picture.
TEST(RenderTexts, PassDrawsItsStepsInOrder) {
    const DrawPass pass = draw_pass(
        "set 0x51 10\nset 0x14 1\nset 0x2E int 0x81\nset 0x2F text ABC\nset 0x38 text XYZ\nset 0x162 2\nset 0x2C 1\n"
        "set 0x157 5");
    std::vector<std::string> steps;
    for (const JournalCall& c : pass.calls) {
        std::string step;
        if (c.name == "Blt") step = c.args.at(0) == "0" ? "clear" : "glideslope";
        if (c.name == "Arc" && c.args.at(0) == "-72") step = "circle";
        if (c.name == "LineTo" && c.pen == kGreen) step = "aircraft";
        if (c.name == "TextOutA" && c.align == 30) step = "card";
        if (c.name == "Polyline" && c.pen == kGreen) step = "heading box";
        if (c.name == "TextOutA" && c.args.at(2).find('\xB0') != std::string::npos) step = "wind";
        if (c.name == "Polyline" && c.pen == kAmber) step = "adf";
        if (c.name == "TextOutA" && c.args.at(2).rfind("ILS", 0) == 0) step = "ils";
        if (c.name == "Polyline" && c.pen == kYellow) step = "nav2";
        if (c.name == "Polyline" && c.pen == kCyan && c.integer(0) == 7) step = "course";
        if (c.name == "TextOutA" && c.args.at(2) == "VOR1") step = "stations";
        if (c.name == "TextOutA" && c.args.at(2) == "M") step = "marker";
        if (c.name == "Polyline" && c.pen == kRed) step = "selected heading";
        if (c.name == "SetBkMode") step = c.args.at(0) == "2" ? "opaque" : "transparent";
        if (!step.empty() && (steps.empty() || steps.back() != step)) steps.push_back(step);
    }
    EXPECT_EQ(steps, (std::vector<std::string>{"clear", "circle", "aircraft", "card", "heading box", "wind", "adf", "ils", "nav2",
                                               "course", "opaque", "stations", "marker", "glideslope", "transparent",
                                               "selected heading"}));
}

}  // namespace
