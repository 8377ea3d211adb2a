// Whole panels from a panel.cfg, and gauges shown at sizes other than their own.
#include <gtest/gtest.h>


#include <fstream>

#include "host_test_support.h"

namespace {

using Events = std::vector<std::string>;

std::string write_panel(const std::string& text) {
    const std::string path = test_folder() + "/panel.cfg";
    std::ofstream(path) << text;
    return path;
}

HostRun run_panel(const std::string& panel, const std::string& script) {
    return run_host({"panel", write_panel(panel), "--script", write_script(script), "--gauges", GAUGES_DIR, "--out",
                     test_folder()});
}

const char* const kPanel =
    "// the three gauges' panel\n"
    "[Window Titles]\n"
    "window00=Main\n"
    "\n"
    "[WINDOW00]\n"
    "SIZE_MM=300,200\n"
    "Gauge00=DRAVETS!DRAVETS, 10, 10, 90 ; a smaller dial\n"
    "gauge01=Corvanex_apvspeed!Corvanex_apvspeed, 200, 20, 80, 150\n"
    "\n"
    "[Window01]\n"
    "gauge00=Corvanex_apvspeed, 0, 0\n";

TEST(HostPanel, GaugesSitAtTheirPlacesAndSizes) {
    const HostRun run = run_panel(kPanel, "frame\nsnapshot panel.png\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const Picture png = read_png(test_folder() + "/panel.png");
    ASSERT_EQ(png.width, 300);
    ASSERT_EQ(png.height, 200);
    // The dial is 90 x 90 from (10, 10): its face is lit, what lies beyond it is not.
    EXPECT_TRUE(png.lit(55, 20));
    EXPECT_FALSE(png.lit(55, 8));
    EXPECT_FALSE(png.lit(55, 102));
    // The wheel fills 80 x 150 from (200, 20), its own 40 x 75 doubled.
    EXPECT_TRUE(png.lit(200, 20));
    EXPECT_TRUE(png.lit(260, 169));
    EXPECT_FALSE(png.lit(199, 100));
    EXPECT_FALSE(png.lit(260, 170));
}

TEST(HostPanel, ClicksInPanelPixelsReachTheGaugeUnderThem) {
    const struct {
        int x, y;
        Events expected;
    } cases[] = {
        {220, 30, {"event 65894 1"}}, {220, 160, {"event 65895 1"}},
        {205, 30, {}},                {50, 50, {}},                 {290, 30, {}},
    };
    for (const auto& c : cases) {
        const HostRun run = run_panel(kPanel, "click " + std::to_string(c.x) + " " + std::to_string(c.y) + "\n");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(events(run), c.expected) << c.x << ", " << c.y;
    }
}

TEST(HostPanel, ChoosesTheWindowAndKeepsAnOwnSize) {
    const std::string panel = write_panel(kPanel);
    const HostRun run = run_host({"panel", panel, "--window", "1", "--script", write_script("snapshot one.png\nclick 10 5\n"),
                                  "--gauges", GAUGES_DIR, "--out", test_folder()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(events(run), Events{"event 65894 1"});
    const Picture png = read_png(test_folder() + "/one.png");
    EXPECT_EQ(png.width, 40);
    EXPECT_EQ(png.height, 75);
}

TEST(HostPanel, ReportsBadLinesAndRunsTheRest) {
    const HostRun run = run_panel(
        "[Window00]\n"
        "gauge00=Corvanex_apvspeed!Corvanex_apvspeed, 0, 0\n"
        "gauge01=no position\n"
        "gauge02=Nowhere!Gauge, 50, 0\n"
        "gauge03=Corvanex_apvspeed!Other, 50, 0\n"
        "gauge04=Corvanex_apvspeed!Corvanex_apvspeed, 100, 0, 0\n"
        "stray words\n",
        "click 10 5\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(events(run), Events{"event 65894 1"});
    for (const char* problem : {"panel.cfg:3: not module!gauge, x, y[, width[, height]]",
                                "panel.cfg:4: no module Nowhere.gau or Nowhere.so",
                                "panel.cfg:5: ", "no gauge named \"Other\"",
                                "panel.cfg:6: not module!gauge", "panel.cfg:7: not a key=value line"}) {
        EXPECT_NE(run.err.find(problem), std::string::npos) << problem << " in\n" << run.err;
    }
}

TEST(HostPanel, LoadsAModuleNamedTwiceOnce) {
    const HostRun run = run_host({"panel",
                                  write_panel("[Window00]\n"
                                              "gauge00=probe_610!probe_610, 0, 0\n"
                                              "gauge01=probe_610!probe_610, 50, 0\n"),
                                  "--script", write_script(""), "--gauges", FIXTURE_MODULES_DIR});
    ASSERT_EQ(run.status, 0) << run.err;
    size_t module_inits = 0;
    for (const std::string& event : events(run)) module_inits += event == "event 9000 0";
    EXPECT_EQ(module_inits, 1u);
}

TEST(HostPanel, RefusesAPanelItCannotRead) {
    EXPECT_EQ(run_host({"panel", test_folder() + "/none.cfg", "--script", write_script("")}).status, 2);
    const HostRun run = run_host({"panel", write_panel("[Window00]\n"), "--window", "3", "--script", write_script("")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("no section [Window03]"), std::string::npos) << run.err;
}

TEST(GaugeSize, ScaledThumbwheelKeepsItsClickAreas) {
    const struct {
        int x, y;
        Events expected;
    } cases[] = {{10, 0, {"event 65894 1"}}, {69, 75, {"event 65894 1"}}, {20, 120, {"event 65895 1"}},
                 {9, 10, {}},                {70, 10, {}},                {20, 148, {}}};
    for (const auto& c : cases) {
        const HostRun run = run_host({"run", thumbwheel_module(), "--size", "80x150", "--script",
                                      write_script("click " + std::to_string(c.x) + " " + std::to_string(c.y) + "\n")});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(events(run), c.expected) << c.x << ", " << c.y;
    }
    const HostRun run = run_host({"run", thumbwheel_module(), "--size", "80x150", "--script", write_script("snapshot big.png\n"),
                                  "--out", test_folder()});
    ASSERT_EQ(run.status, 0) << run.err;
    const Picture png = read_png(test_folder() + "/big.png");
    EXPECT_EQ(png.width, 80);
    EXPECT_EQ(png.height, 150);
}

}  // namespace
