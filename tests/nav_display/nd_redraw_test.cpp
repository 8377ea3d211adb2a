// When the display draws: each shown value against the value last drawn, by its own comparison;
// what a drawing records; and a display without a drawing surface, which never draws yet keeps
// refreshing its variables and opens the shared block.
#include <cstring>

#include "host_support.h"
#include "nd_panel.h"

namespace {

struct Raw {
    uint32_t low = 0;
    uint32_t high = 0;
};

Raw number(double value) {
    uint32_t words[2];
    std::memcpy(words, &value, sizeof value);
    return Raw{words[0], words[1]};
}

Raw integer(int32_t value) { return Raw{static_cast<uint32_t>(value), 0}; }

struct Change {
    uint32_t id;
    Raw from;
    Raw to;
    bool redraws;
};

using NdRedraw = NdPanelTest;

TEST_F(NdRedraw, EachShownValueRedrawsByItsOwnComparison) {
    const Change changes[] = {
        // heading: truncated to tenths of a degree
        {0x51, number(123.41), number(123.48), false},
        {0x51, number(123.41), number(123.51), true},
        {0x51, number(-0.05), number(0.05), false},
        // integers: the low 32 bits only
        {0x2E, integer(0x80), integer(0x81), true},
        {0x2E, Raw{0x80, 0}, Raw{0x80, 0x12345}, false},
        {0x37, integer(8), integer(9), true},
        {0x2A, integer(0), integer(4), true},
        // truncated to whole numbers, toward zero
        {0x28, number(10.2), number(10.9), false},
        {0x28, number(10.9), number(11.0), true},
        {0x28, number(-0.9), number(0.9), false},
        {0x2D, number(359.1), number(359.9), false},
        {0x29, number(-3.5), number(-4.0), true},
        {0x2C, number(0.0), number(0.5), false},
        {0x2C, number(0.0), number(1.0), true},
        {0x3B, number(45.1), number(45.8), false},
        // exact
        {0x14, number(1.0), number(1.0000000001), true},
        {0x1F, number(12.3), number(12.30001), true},
        {0x23, number(5.0), number(5.5), true},
        {0x20, number(140.0), number(140.25), true},
        {0x6B, number(90.0), number(90.01), true},
        {0x27, number(200.0), number(200.5), true},
        {0x162, number(0.0), number(1.0), true},
        {0x157, number(10.0), number(10.1), true},
        {0x158, number(270.0), number(271.0), true},
        // shown whenever the display draws, but no reason to draw by themselves
        {0x18, integer(0x1090), integer(0x1175), false},
        {0x31, number(0.0), number(40000.0), false},
    };
    bring_up();
    for (const Change& change : changes) {
        set_raw(change.id, change.from.low, change.from.high);
        for (int i = 0; i < 3; ++i) frame();  // refreshed, drawn, settled
        set_raw(change.id, change.to.low, change.to.high);
        frame();  // refreshed
        EXPECT_EQ(frame_draws(), change.redraws) << "variable 0x" << std::hex << change.id;
    }
    for (uint32_t id : {0x2Fu, 0x13u, 0x38u}) {
        set_text(id, "ABC");
        for (int i = 0; i < 3; ++i) frame();
        set_text(id, "XYZW");
        frame();
        EXPECT_FALSE(frame_draws()) << "text variable 0x" << std::hex << id;
    }
}

TEST_F(NdRedraw, SlowDriftRedrawsOnceItCrossesATenth) {
    bring_up();
    set_number(0x51, 123.41);
    for (int i = 0; i < 3; ++i) frame();
    const double drift[] = {123.43, 123.45, 123.48};
    for (double heading : drift) {
        set_number(0x51, heading);
        frame();
        EXPECT_FALSE(frame_draws()) << heading;
    }
    set_number(0x51, 123.51);
    frame();
    EXPECT_TRUE(frame_draws());
    EXPECT_FALSE(frame_draws());
}

TEST_F(NdRedraw, ImageAlternatesWithEveryDrawing) {
    bring_up();
    for (int i = 1; i <= 4; ++i) {
        set_number(0x51, i);
        frame();
        frame();
    }
    frame();
    // Each change is refreshed in one frame and drawn in the next, whose callback still reports the
    // image from before the drawing.
    const std::vector<double> expected = {0, 0, 1, 1, 0, 0, 1, 1, 0};
    EXPECT_EQ(readings, expected);
}

TEST_F(NdRedraw, DrawingRecordsTheValuesItShows) {
    bring_up();
    const uint32_t compared_numbers[] = {0x51, 0x14, 0x28, 0x2D, 0x29, 0x2C, 0x1F, 0x23, 0x20, 0x6B, 0x27, 0x162, 0x3B, 0x157, 0x158};
    const uint32_t compared_integers[] = {0x2E, 0x37, 0x2A};
    for (uint32_t id : compared_numbers) set_number(id, id + 0.25);
    // Integers with something in the upper half that the drawing must not take over.
    for (uint32_t id : compared_integers) set_raw(id, id, 0xFFFF);
    set_integer(0x18, 0x1234);
    set_number(0x31, 5.5);
    frame();
    frame();
    for (uint32_t id : compared_numbers) EXPECT_EQ(var(id)->previous_value.number, id + 0.25) << id;
    for (uint32_t id : compared_integers) {
        uint32_t words[2];
        std::memcpy(words, &var(id)->previous_value, sizeof words);
        EXPECT_EQ(words[0], id) << id;
        EXPECT_EQ(words[1], 0u) << id;
    }
    for (uint32_t id : {0x18u, 0x31u, 0x2Fu, 0x13u, 0x38u}) {
        const ModuleVarValue zero{};
        EXPECT_EQ(std::memcmp(&var(id)->previous_value, &zero, sizeof zero), 0) << "not recorded: " << id;
    }
}

TEST_F(NdRedraw, AnotherModulesModeIsFollowedWithADrawing) {
    bring_up();
    frame();  // opens the block
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "NDPassData");
    ASSERT_NE(mapping, nullptr);
    char* block = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 60));
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "NDMode=0", 9);
    EXPECT_TRUE(frame_draws());
    EXPECT_FALSE(frame_draws()) << "once";
    std::memcpy(block, "NDMode=7", 9);
    EXPECT_TRUE(frame_draws()) << "any number is a layout";
    UnmapViewOfFile(block);
    CloseHandle(mapping);
}

TEST_F(NdRedraw, WithoutASurfaceNothingIsDrawnYetEverythingElseRuns) {
    setenv("WIN32_STANDIN_FAIL", "DirectDrawCreate", 1);
    bring_up();
    unsetenv("WIN32_STANDIN_FAIL");
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "NDPassData"), nullptr) << "no block before the first update";
    set_number(0x51, 42);
    calls.clear();
    for (int i = 0; i < 5; ++i) frame();
    EXPECT_EQ(readings, std::vector<double>(5, 0.0));
    EXPECT_EQ(var(0x51)->previous_value.number, 0.0);
    size_t refreshes = 0;
    for (const ServiceCall& call : calls) refreshes += call.service == "var_refresh";
    EXPECT_EQ(refreshes, 5u * 23u);

    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "NDPassData");
    ASSERT_NE(mapping, nullptr) << "the first update opened the block";
    char* block = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 60));
    ASSERT_NE(block, nullptr);
    // A drawing is pending for good, so the key is never polled.
    ASSERT_TRUE(platform_set_key_down(VK_TAB, true));
    frame();
    platform_set_key_down(VK_TAB, false);
    EXPECT_STREQ(block, "NDMode=1");
    UnmapViewOfFile(block);
    CloseHandle(mapping);
}

}  // namespace
