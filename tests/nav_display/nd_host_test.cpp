// The navigation display run by the gauge host from scripts: the display-mode key and the
// simulator's configuration, the shared block, the mode file, the failure reports and their log,
// and the pictures the host shows.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>

#include "host_test_support.h"
#include "nd_panel.h"

namespace {

namespace fs = std::filesystem;

struct NdRun {
    HostRun host;
    std::string messages;  // message boxes, as the stand-in shows them on standard error
    std::string sim;       // the simulator's folder of the run
};

struct RunSetup {
    std::map<std::string, std::string> files;  // relative to the simulator's folder
    bool gauges_folder = true;
    std::string format = "16";
    std::string fault;  // WIN32_STANDIN_FAIL
};

NdRun run_nd(const std::string& script, const RunSetup& setup = {}) {
    NdRun run;
    run.sim = test_folder() + "/sim";
    fs::remove_all(run.sim);
    fs::create_directories(run.sim);
    if (setup.gauges_folder) fs::create_directories(run.sim + "/Gauges");
    for (const auto& [name, text] : setup.files) write_file(run.sim + "/" + name, text);
    setenv("WIN32_STANDIN_PREFIX", unique_shared_prefix().c_str(), 1);
    if (!setup.fault.empty()) setenv("WIN32_STANDIN_FAIL", setup.fault.c_str(), 1);
    testing::internal::CaptureStderr();
    run.host = run_host({"run", GAUGES_DIR "/Vistrel.NDs.so", "--script", write_script(script), "--sim-dir", run.sim,
                         "--format", setup.format, "--out", test_folder()});
    run.messages = testing::internal::GetCapturedStderr();
    unsetenv("WIN32_STANDIN_FAIL");
    return run;
}

// The bytes of every `shared HEX` line of a run.
std::vector<std::string> shared_dumps(const HostRun& run) {
    std::vector<std::string> dumps;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("shared ", 0) != 0) continue;
        std::string bytes;
        for (size_t i = 7; i + 1 < line.size(); i += 2) bytes += static_cast<char>(std::stoi(line.substr(i, 2), nullptr, 16));
        dumps.push_back(bytes);
    }
    return dumps;
}

// The display-mode field as a text (up to its first NUL).
std::vector<std::string> shared_modes(const HostRun& run) {
    std::vector<std::string> modes;
    for (const std::string& dump : shared_dumps(run)) modes.push_back(dump.substr(0, 10).c_str());
    return modes;
}

std::string mode_file(const NdRun& run) { return file_text(run.sim + "/Gauges/NDmode.tmp"); }

using Modes = std::vector<std::string>;

TEST(NdModeKey, TabWithoutModifiersSwitchesTheLayoutAndPublishesIt) {
    const NdRun run = run_nd(
        "frame\ndump-shared\n"
        "key tab shift\nframe\ndump-shared\n"
        "key tab ctrl\nframe\ndump-shared\n"
        "key tab\nframe\ndump-shared\n"
        "key tab\nframe\ndump-shared\n");
    ASSERT_EQ(run.host.status, 0) << run.host.err;
    EXPECT_EQ(shared_modes(run.host), (Modes{"NDMode=1", "NDMode=1", "NDMode=1", "NDMode=0", "NDMode=1"}));
    // One press writes the digit and a NUL; the byte after them keeps what it held.
    const std::string once = shared_dumps(run_nd("frame\nkey tab\nframe\ndump-shared\n").host).at(0);
    EXPECT_EQ(once.substr(0, 10), std::string("NDMode=0\0\0", 10));
}

TEST(NdModeKey, FollowsTheFirstConfigurationFileThatOpens) {
    const std::string press_65 = "frame\nkey 65 shift ctrl\nframe\ndump-shared\n";
    const std::string press_tab = "frame\nkey tab\nframe\ndump-shared\n";
    const struct {
        const char* what;
        std::map<std::string, std::string> files;
        std::string script;
        const char* mode;
    } cases[] = {
        {"no configuration: Tab", {}, press_tab, "NDMode=0"},
        {"65 with Shift and Ctrl", {{"FS2002.cfg", "[KEYBOARD]\nPANEL_9=65,3\n"}}, press_65, "NDMode=0"},
        {"65 without Ctrl", {{"FS2002.cfg", "PANEL_9=65,3\n"}}, "frame\nkey 65 shift\nframe\ndump-shared\n", "NDMode=1"},
        {"Tab no longer", {{"FS2002.cfg", "PANEL_9=65,3\n"}}, press_tab, "NDMode=1"},
        {"only Fltsim98.cfg", {{"Fltsim98.cfg", "PANEL_9=65,3\n"}}, press_65, "NDMode=0"},
        {"FS2000.cfg before Fltsim98.cfg", {{"FS2000.cfg", "PANEL_9=65,3\n"}, {"Fltsim98.cfg", "PANEL_9=9,8\n"}}, press_65,
         "NDMode=0"},
        {"FS2002.cfg without the key hides FS2000.cfg",
         {{"FS2002.cfg", "[MAIN]\nX=1\n"}, {"FS2000.cfg", "PANEL_9=65,3\n"}}, press_65, "NDMode=1"},
        {"the key is case-sensitive", {{"FS2002.cfg", "panel_9=65,3\n"}}, press_tab, "NDMode=0"},
        {"the first of two lines", {{"FS2002.cfg", "PANEL_9=65,3\n[OTHER]\nPANEL_9=66,0\n"}}, press_65, "NDMode=0"},
        {"indented, after blank lines, CR LF", {{"FS2002.cfg", "\r\n\r\n   \tPANEL_9=65,3\r\n"}}, press_65, "NDMode=0"},
        {"no comma: no modifiers", {{"FS2002.cfg", "PANEL_9=65\n"}}, "frame\nkey 65\nframe\ndump-shared\n", "NDMode=0"},
        {"a value without digits reads 0", {{"FS2002.cfg", "PANEL_9=,8\n"}}, press_tab, "NDMode=1"},
        {"a line far longer than the buffer", {{"FS2002.cfg", "REM=" + std::string(5000, 'x') + "\nPANEL_9=65,3\n"}}, press_65,
         "NDMode=0"},
        // What follows the 259th character of a line belongs to that line, not to a new one.
        {"the end of a long line is no line", {{"FS2002.cfg", "REM=" + std::string(255, 'x') + "PANEL_9=9,8\nPANEL_9=65,3\n"}},
         press_65, "NDMode=0"},
        {"NUL bytes are characters", {{"FS2002.cfg", std::string("X=\0\0\nPANEL_9=65\0,3\n", 19)}}, press_65, "NDMode=0"},
        {"an empty file", {{"FS2002.cfg", ""}}, press_tab, "NDMode=0"},
    };
    for (const auto& c : cases) {
        RunSetup setup;
        setup.files = c.files;
        const NdRun run = run_nd(c.script, setup);
        ASSERT_EQ(run.host.status, 0) << c.what << ": " << run.host.err;
        EXPECT_EQ(shared_modes(run.host), Modes{c.mode}) << c.what;
    }
}

TEST(NdModeKey, APressThatAnEarlierRunLeftUnreadIsForgotten) {
    RunSetup other_key;
    other_key.files = {{"FS2002.cfg", "PANEL_9=65,3\n"}};
    ASSERT_EQ(shared_modes(run_nd("frame\nkey tab\nframe\ndump-shared\n", other_key).host), Modes{"NDMode=1"});
    EXPECT_EQ(shared_modes(run_nd("frame 2\ndump-shared\n").host), Modes{"NDMode=1"});
}

TEST(NdSharedBlock, CreatedAtTheFirstUpdateWithTheSettings) {
    const NdRun run = run_nd("dump-shared\nframe\ndump-shared\nframe 3\ndump-shared\n");
    ASSERT_EQ(run.host.status, 0) << run.host.err;
    EXPECT_NE(run.host.err.find("no shared block \"NDPassData\" exists yet"), std::string::npos);
    const std::string fields = std::string("NDMode=1\0\0MapMode=0\0Item=0x1E\0Range=320\0", 40) + std::string(20, '\0');
    EXPECT_EQ(shared_dumps(run.host), (std::vector<std::string>{fields, fields}));
}

TEST(NdSharedBlock, AnotherModulesBlockIsKeptAndItsModeFollowed) {
    const struct {
        const char* what;
        std::string script;
        std::string first_field;  // as the block holds it at the end
        const char* mode_line;    // of the mode file
    } cases[] = {
        {"created by another module with the rose layout", "shared 0 NDMode=0\nframe 2\ndump-shared\n",
         std::string("NDMode=0\0\0", 10), "0\n"},
        {"switched to the rose layout while running", "frame\nshared 0 NDMode=0\nframe 2\ndump-shared\n",
         std::string("NDMode=0\0\0", 10), "0\n"},
        {"no number: rose", "frame\nshared 0 NDMode=x1\nframe\ndump-shared\n", std::string("NDMode=x1\0", 10), "0\n"},
        {"blanks and a sign", "frame\nshared 0 NDMode= -2\nframe\ndump-shared\n", std::string("NDMode= -2", 10), "-2\n"},
        // Ten bytes of text and no NUL: the number ends with the field.
        {"digits running into the next field", "frame\nshared 0 NDMode=123\nshared 10 4567\nframe\ndump-shared\n",
         "NDMode=123", "123\n"},
    };
    for (const auto& c : cases) {
        const NdRun run = run_nd(c.script);
        ASSERT_EQ(run.host.status, 0) << c.what << ": " << run.host.err;
        const std::vector<std::string> dumps = shared_dumps(run.host);
        ASSERT_EQ(dumps.size(), 1u) << c.what;
        EXPECT_EQ(dumps[0].substr(0, 10), c.first_field) << c.what;
        EXPECT_EQ(mode_file(run).substr(0, mode_file(run).find('\n') + 1), c.mode_line) << c.what;
    }
    // A block that another module created stays as that module wrote it.
    const NdRun kept = run_nd("shared 20 theirs\nframe 2\ndump-shared\n");
    EXPECT_EQ(shared_dumps(kept.host).at(0), std::string(20, '\0') + "theirs" + std::string(34, '\0'));
}

TEST(NdModeFile, HoldsTheSettingsWhenTheGaugeIsTakenDown) {
    EXPECT_EQ(mode_file(run_nd("frame\n")), "1\n0\n30\n320\n");
    EXPECT_EQ(mode_file(run_nd("frame\nkey tab\nframe\n")), "0\n0\n30\n320\n");
    // Before the first update there is no block; the key still works, and the block then
    // publishes the layout the display has.
    EXPECT_EQ(mode_file(run_nd("key tab\nframe 3\n")), "0\n0\n30\n320\n");
    RunSetup no_gauges_folder;
    no_gauges_folder.gauges_folder = false;
    const NdRun run = run_nd("frame\nkey tab\nframe\n", no_gauges_folder);
    EXPECT_EQ(run.host.status, 0) << run.host.err;
    EXPECT_FALSE(file_exists(run.sim + "/Gauges"));
}

TEST(NdPicture, BannerOverThePlaceholderUntilTheFirstDrawing) {
    for (const char* format : {"8", "16"}) {
        SCOPED_TRACE(std::string(format) + "-bit panel");
        RunSetup setup;
        setup.format = format;
        const NdRun run = run_nd("frame 2\nsnapshot start.png\nset 0x51 90\nframe 2\nsnapshot drawn.png\n", setup);
        ASSERT_EQ(run.host.status, 0) << run.host.err;
        const Picture start = read_png(test_folder() + "/start.png");
        ASSERT_EQ(start.width, 256);
        ASSERT_EQ(start.height, 256);
        const std::array<int, 3> cyan = {0, 255, 255};
        const std::array<int, 3> green = {0, 255, 0};
        EXPECT_TRUE(start.shows(cyan, 90, 8, 166, 20)) << "first banner line, centred at the top";
        EXPECT_TRUE(start.shows(green, 60, 128, 196, 152)) << "second and third lines, from the middle down";
        EXPECT_FALSE(start.shows(cyan, 0, 40, 255, 255)) << "nothing cyan below the first line";
        EXPECT_NE(start.at(128, 28), (std::array<int, 3>{0, 0, 0})) << "the placeholder's compass ring";
        // The first drawing replaces the banner.
        const Picture drawn = read_png(test_folder() + "/drawn.png");
        EXPECT_FALSE(drawn.shows(cyan, 90, 8, 166, 20));
        EXPECT_FALSE(drawn.shows(green, 60, 128, 196, 152));
    }
}

TEST(NdPicture, InspectShowsTheRecords) {
    setenv("WIN32_STANDIN_PREFIX", unique_shared_prefix().c_str(), 1);
    const HostRun run = run_host({"inspect", GAUGES_DIR "/Vistrel.NDs.so"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* line : {
             "linkage: module_id 0x13, module_version 0x0, 1 gauge\n",
             "gauge \"Vistrel.ND\"\n",
             "  header_version 610 (0x262), size_x 89\n",
             "    static image: resource 4096, position (0, 0), origin (0, 0), flags 0x5\n",
             "      failures: (key 1, action 3) end\n",
             "      picture: resource 8192, position (0, 0), origin (0, 0), flags 0x7\n",
             "        variable 0 (0x0), picture_mode 0, image_count 2, value callback set\n",
             "  mouse areas: 3 entries\n",
             "    1 parent: box (0, 0, 0, 0), cursor -1, help 0 (0x0), events 0x0, callback none\n",
             "    2 end of parent: box (0, 0, 0, 0), cursor -1, help 0 (0x0), events 0x0, callback none\n",
             "    3 end of list: box (0, 0, 0, 0), cursor -1, help 0 (0x0), events 0x0, callback none\n",
         }) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\nin:\n" << run.out;
    }
}

}  // namespace
