// The gauge host running whole gauges from scripts: the thumbwheel end to end, and probe gauges that
// report what the host hands them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "bitmap.h"
#include "host_test_support.h"

namespace {

using Events = std::vector<std::string>;

HostRun run_script(const std::string& module, const std::string& script, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> args = {"run", module, "--script", write_script(script), "--out", test_folder()};
    args.insert(args.end(), extra.begin(), extra.end());
    return run_host(args);
}

Events lifecycle_events(const HostRun& run) {
    Events lifecycle;
    for (const std::string& event : events(run)) {
        if (event.compare(6, 2, "90") == 0 || event.compare(6, 2, "91") == 0) lifecycle.push_back(event.substr(6, 4));
    }
    return lifecycle;
}

TEST(ThumbwheelRun, ClicksSendTheEventOfTheirHalf) {
    const struct {
        int x, y;
        Events expected;
    } cases[] = {
        {10, 5, {"event 65894 1"}},   {20, 60, {"event 65895 1"}}, {5, 0, {"event 65894 1"}},
        {34, 36, {"event 65894 1"}},  {34, 73, {"event 65895 1"}}, {10, 37, {"event 65894 1"}},
        {2, 5, {}},                   {36, 5, {}},                 {4, 20, {}},
        {35, 20, {}},                 {10, 74, {}},                {-1, 5, {}},
        {10, 75, {}},                 {500, 500, {}},
    };
    for (const auto& c : cases) {
        const HostRun run = run_script(thumbwheel_module(), "click " + std::to_string(c.x) + " " + std::to_string(c.y) + "\n");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(events(run), c.expected) << "click " << c.x << " " << c.y;
    }
}

TEST(ThumbwheelRun, RepeatedClicksSendOneEventEach) {
    const HostRun run = run_script(thumbwheel_module(), "click 10 5\nclick 10 5\nframe\nclick 10 60\nclick 10 5\n");
    EXPECT_EQ(events(run), (Events{"event 65894 1", "event 65894 1", "event 65895 1", "event 65894 1"}));
}

TEST(ThumbwheelRun, SnapshotShowsTheWheelInBothFormats) {
    std::ifstream file(std::string(FIXTURES_DIR) + "/../../vs_thumbwheel/thumbwheel_4096.bmp", std::ios::binary);
    const std::vector<uint8_t> bmp((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    host::IndexedBitmap wheel;
    std::string reason;
    ASSERT_TRUE(host::decode_bitmap(bmp.data() + 14, bmp.size() - 14, &wheel, &reason)) << reason;

    for (const char* format : {"8", "16"}) {
        const HostRun run = run_script(thumbwheel_module(), "frame\nsnapshot wheel.png\n", {"--format", format});
        ASSERT_EQ(run.status, 0) << run.err;
        const Picture png = read_png(test_folder() + "/wheel.png");
        ASSERT_EQ(png.width, 40);
        ASSERT_EQ(png.height, 75);
        int differences = 0;
        for (int i = 0; i < 40 * 75; ++i) {
            host::Rgb expected = wheel.palette[wheel.indices[i]];
            if (std::string(format) == "16" && wheel.indices[i] != 0) {
                const auto through_1555 = [](uint8_t c) { return static_cast<uint8_t>((c >> 3) << 3 | (c >> 3) >> 2); };
                expected = {through_1555(expected.r), through_1555(expected.g), through_1555(expected.b)};
            }
            if (wheel.indices[i] == 0) expected = {0, 0, 0};
            differences += expected != host::Rgb{png.rgb[3 * i], png.rgb[3 * i + 1], png.rgb[3 * i + 2]};
        }
        EXPECT_EQ(differences, 0) << "format " << format;
    }
}

TEST(ThumbwheelRun, InspectShowsItsRecords) {
    const HostRun run = run_host({"inspect", thumbwheel_module()});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* line : {
             "linkage: module_id 0x13, module_version 0x0, 1 gauge\n",
             "gauge \"Corvanex_apvspeed\"\n",
             "  header_version 610 (0x262), size_x 40\n",
             "    static image: resource 4096, position (0, 0), origin (0, 0), flags 0x1\n",
             "  mouse areas: 5 entries\n",
             "    1 parent: box (0, 0, 0, 0), cursor -1, help 42049 (0xA441), events 0x0, callback none\n",
             "    2 child: box (5, 0, 30, 38), cursor 1, help 0 (0x0), events 0x20200000, callback set\n",
             "    3 child: box (5, 37, 30, 37), cursor 2, help 0 (0x0), events 0x20200000, callback set\n",
             "    4 end of parent: box (0, 0, 0, 0), cursor -1, help 0 (0x0), events 0x0, callback none\n",
             "    5 end of list: box (0, 0, 0, 0), cursor -1, help 0 (0x0), events 0x0, callback none\n",
         }) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\nin:\n" << run.out;
    }
}

TEST(GaugeLifecycle, Version610RoutinesRunInTheirOrder) {
    const HostRun run = run_script(fixture_module("probe_610"), "frame 2\nreinit\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lifecycle_events(run), (Events{"9000", "9001", "9002", "9003", "9004", "9005", "9006", "9004", "9005",
                                              "9006", "9003", "9007", "9008"}));
}

TEST(GaugeLifecycle, Version800CallbackGetsItsCodesAndElementsUpdateAfterIt) {
    const HostRun run = run_script(fixture_module("probe_800"), "set 3 1\nframe 2\nreinit\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(events(run), (Events{"event 9104 0", "event 9106 0", "event 1010 1", "event 9106 0", "event 1010 1",
                                   "event 9104 0", "event 9112 0"}));
}

TEST(GaugeVariables, RefreshWritesWhatTheScriptSet) {
    const struct {
        std::string script;
        Events expected;
    } cases[] = {
        {"", {"event 1001 0", "event 1002 0", "event 1003 0"}},
        {"set 1 12.7\nset 2 int -5\nset 0x2F text A B C  \n",
         {"event 1001 12", "event 1002 4294967291", "event 1003 5"}},
        {"set 1 -3.9\nset 2 int 0xFFFFFFFF\nset 0x2f text\n", {"event 1001 4294967293", "event 1002 4294967295", "event 1003 0"}},
        {"set 0x2F null\nset 2 int 0x7FFFFFFF\n", {"event 1001 0", "event 1002 2147483647", "event 1003 4294967295"}},
    };
    for (const auto& c : cases) {
        const HostRun run = run_script(fixture_module("probe_610"), c.script + "frame\n");
        ASSERT_EQ(run.status, 0) << run.err;
        Events seen;
        for (const std::string& event : events(run)) {
            if (event.rfind("event 1009", 0) != 0 && event.rfind("event 100", 0) == 0) seen.push_back(event);
        }
        EXPECT_EQ(seen, c.expected) << c.script;
    }
}

TEST(GaugeVariables, PictureElementReadsItsSourceVariable) {
    const HostRun run = run_script(fixture_module("probe_610"), "set 3 1\nframe\nset 3 0\nframe\n");
    Events readings;
    for (const std::string& event : events(run)) {
        if (event.rfind("event 1010", 0) == 0) readings.push_back(event);
    }
    EXPECT_EQ(readings, (Events{"event 1010 1", "event 1010 0"}));
}

TEST(GaugeKeyboard, KeyIsDownForTheNextFrameOnly) {
    const HostRun run = run_script(fixture_module("probe_610"), "frame\nkey tab shift\nframe 2\nkey 9\nframe\n");
    ASSERT_EQ(run.status, 0) << run.err;
    Events tab;
    for (const std::string& event : events(run)) {
        if (event.rfind("event 1009", 0) == 0) tab.push_back(event.substr(11));
    }
    EXPECT_EQ(tab, (Events{"0", "1", "0", "1"}));
}

TEST(SharedBlock, ScriptWritesAndDumpsTheNamedBlock) {
    setenv("WIN32_STANDIN_PREFIX", ("host-test-" + std::to_string(getpid()) + "-").c_str(), 1);
    const HostRun run = run_script(thumbwheel_module(), "dump-shared\nshared 10 ABC\ndump-shared\nshared 0 Z\ndump-shared\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string zeros(120, '0');
    std::string first = zeros;
    first.replace(20, 8, "41424300");
    std::string second = first;
    second.replace(0, 4, "5a00");
    EXPECT_EQ(run.out, "shared " + first + "\nshared " + second + "\n");
    EXPECT_NE(run.err.find("no shared block \"NDPassData\" exists yet"), std::string::npos);
}

}  // namespace
