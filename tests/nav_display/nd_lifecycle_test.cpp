// What the display creates and gives back over its life: fonts sized by the screen, the banner once
// per load, settings kept by a second initialize, and every GDI and DirectDraw object, mapping and
// view returned by kill, however often the gauge is brought up.
#include <filesystem>
#include <sstream>

#include "host_test_support.h"
#include "nd_panel.h"
#include "host_support.h"
#include "standin_control.h"

namespace {

namespace fs = std::filesystem;

// The journal's lines that start with one of the call names.
std::vector<std::string> journal_lines(const std::string& path, std::initializer_list<const char*> calls) {
    std::vector<std::string> lines;
    std::istringstream journal(file_text(path));
    for (std::string line; std::getline(journal, line);) {
        for (const char* call : calls) {
            if (line.rfind(std::string(call) + " ", 0) == 0 || line == call) lines.push_back(line);
        }
    }
    return lines;
}

class NdLifecycle : public NdPanelTest {
protected:
    void SetUp() override {
        NdPanelTest::SetUp();
        journal = folder + "/journal.txt";
        setenv("WIN32_STANDIN_JOURNAL", journal.c_str(), 1);
        standin_restart_calls();
    }
    void TearDown() override {
        NdPanelTest::TearDown();
        unsetenv("WIN32_STANDIN_JOURNAL");
        standin_restart_calls();
    }
    std::string journal;
};

using Lines = std::vector<std::string>;

TEST_F(NdLifecycle, ScaledFontFollowsTheScreenHeight) {
    // At 96 dots per inch: 96 / 12 = 8 below 150 pixels, 96 / 11 = 8.7, rounded 9, from 150 on.
    const struct {
        int32_t height;
        const char* scaled;
    } cases[] = {{149, "CreateFontIndirectA -8 \"Arial\""}, {150, "CreateFontIndirectA -9 \"Arial\""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        for (ImageLayout& layout : screen_layouts) layout.height = c.height;
        fs::remove(journal);
        standin_restart_calls();
        bring_up();
        EXPECT_EQ(journal_lines(journal, {"CreateFontIndirectA", "GetDeviceCaps"}),
                  (Lines{"CreateFontIndirectA -11 \"Arial\"", "CreateFontIndirectA -9 \"Arial\"", "GetDeviceCaps 90", c.scaled}));
        kill();
    }
}

TEST_F(NdLifecycle, SecondInitializeReplacesTheFontsAndShowsNoBanner) {
    bring_up();
    header->initialize_routine();
    kill();
    EXPECT_EQ(journal_lines(journal, {"CreateFontIndirectA", "DeleteObject font", "TextOutA"}),
              (Lines{
                  "CreateFontIndirectA -11 \"Arial\"",
                  "CreateFontIndirectA -9 \"Arial\"",
                  "CreateFontIndirectA -9 \"Arial\"",
                  "TextOutA 128 8 \"VISTREL ND\"",
                  "TextOutA 128 128 \"NAVIGATION DISPLAY\"",
                  "TextOutA 128 140 \"AWAITING DATA\"",
                  "DeleteObject font -9 \"Arial\"",
                  "DeleteObject font -11 \"Arial\"",
                  "DeleteObject font -9 \"Arial\"",
                  "CreateFontIndirectA -11 \"Arial\"",
                  "CreateFontIndirectA -9 \"Arial\"",
                  "CreateFontIndirectA -9 \"Arial\"",
                  "DeleteObject font -9 \"Arial\"",
                  "DeleteObject font -11 \"Arial\"",
                  "DeleteObject font -9 \"Arial\"",
              }));
}

TEST_F(NdLifecycle, SecondInitializeKeepsTheLayout) {
    bring_up();
    frame();
    ASSERT_TRUE(platform_set_key_down(VK_TAB, true));
    frame();
    platform_set_key_down(VK_TAB, false);
    header->initialize_routine();
    frame();
    kill();
    EXPECT_EQ(file_text("Gauges/NDmode.tmp"), "0\n0\n30\n320\n");
}

TEST_F(NdLifecycle, ObjectsLiveFromInitializeToKill) {
    const StandInLiveObjects before = live_objects();
    screen_layouts[0].format = screen_layouts[1].format = PANEL_IMAGE_8BIT;
    bring_up();
    frame();
    const StandInLiveObjects up = live_objects();
    EXPECT_EQ(up.pens - before.pens, 16);
    EXPECT_EQ(up.brushes - before.brushes, 16);
    EXPECT_EQ(up.fonts - before.fonts, 3);
    EXPECT_EQ(up.device_contexts - before.device_contexts, 1);
    EXPECT_EQ(up.directdraw_objects - before.directdraw_objects, 1);
    EXPECT_EQ(up.surfaces - before.surfaces, 1);
    EXPECT_EQ(up.palettes - before.palettes, 1) << "held by the surface alone";
    EXPECT_EQ(up.file_mappings - before.file_mappings, 1);
    EXPECT_EQ(up.file_views - before.file_views, 1);
    header->initialize_routine();
    EXPECT_EQ(live_objects(), up) << "a second initialize replaces what the first made";
    kill();
    EXPECT_EQ(live_objects(), before);
}

TEST(NdLifecycleInTheHost, FiftyRunsLeaveEveryCounterWhereItStarted) {
    const std::string sim = test_folder() + "/sim";
    fs::create_directories(sim + "/Gauges");
    const std::string script = write_script("frame\nset 0x51 10\nframe 2\nreinit\nkey tab\nframe 2\nreinit\nframe\n");
    setenv("WIN32_STANDIN_PREFIX", unique_shared_prefix().c_str(), 1);
    StandInLiveObjects before{};
    standin_live_objects(&before);
    for (int run = 0; run < 50; ++run) {
        const HostRun host = run_host({"run", GAUGES_DIR "/Vistrel.NDs.so", "--script", script, "--sim-dir", sim, "--format",
                                       run % 2 == 0 ? "16" : "8"});
        ASSERT_EQ(host.status, 0) << host.err;
    }
    StandInLiveObjects after{};
    standin_live_objects(&after);
    EXPECT_EQ(after, before);
}

}  // namespace
