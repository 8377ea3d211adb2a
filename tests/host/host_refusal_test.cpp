// What the host refuses: modules it cannot drive (exit status 3), command lines and script lines it
// does not understand (exit status 2). Each refusal names its cause and crashes nothing.
#include <gtest/gtest.h>

#include <fstream>

#include "host_test_support.h"

namespace {

TEST(HostRefusal, ModulesThatCannotBeDriven) {
    const std::string text_file = test_folder() + "/notes.gau";
    std::ofstream(text_file) << "not a module\n";
    const struct {
        std::string module;
        std::string reason;
    } cases[] = {
        {test_folder() + "/missing.gau", "no such module file"},
        {text_file, "cannot be loaded as a gauge module"},
        {fixture_module("malformed_no_linkage"), "exports no Linkage record"},
        {fixture_module("malformed_no_import_table"), "exports no ImportTable record"},
        {fixture_module("malformed_version"), "header version 700 is neither 610 nor 800"},
        {fixture_module("malformed_element_kind"), "unknown element kind 7"},
        {fixture_module("malformed_tree_loop"), "element tree loops back on itself"},
        {fixture_module("malformed_open_mouse_list"), "no closing entry within 256 entries"},
        {fixture_module("malformed_missing_bitmap"), "bitmap 1234: no such resource"},
    };
    const std::string script = write_script("frame\n");
    for (const auto& c : cases) {
        for (const std::vector<std::string>& args : {std::vector<std::string>{"inspect", c.module},
                                                     std::vector<std::string>{"run", c.module, "--script", script}}) {
            const HostRun run = run_host(args);
            EXPECT_EQ(run.status, 3) << args[0] << ' ' << c.module;
            EXPECT_EQ(run.out, "") << args[0] << ' ' << c.module;
            EXPECT_NE(run.err.find(c.reason), std::string::npos) << args[0] << ' ' << c.module << ": " << run.err;
        }
    }
}

TEST(HostRefusal, UnknownGaugeName) {
    const HostRun run = run_host({"run", thumbwheel_module() + "!Nope", "--script", write_script("")});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("no gauge named \"Nope\" (it holds Corvanex_apvspeed)"), std::string::npos) << run.err;
}

TEST(HostRefusal, ScriptLinesItDoesNotUnderstand) {
    const char* const lines[] = {
        "frobnicate",        "set 0 1",          "set 1",           "set 1 abc",       "set 0x1FFFFFFFF 1",
        "set 1 int",         "set 1 int 1.5",    "set 1 int 0x100000000", "set 1 1e999",  "set 1 null extra",
        "frame -1",          "frame 1 2",        "frame 100000001", "key",             "key 0",
        "key 256",           "key tab alt",      "key tab shift shift", "click 1",     "click a b",
        "snapshot",          "snapshot ../x.png", "snapshot /tmp/x.png", "shared 60 A", "shared 57 ABC",
        "shared -1 A",       "reinit now",       "dump-shared 1",
        "set 0x2F 7",        "set 0x13 int 5",
    };
    for (const char* line : lines) {
        const std::string script = write_script(std::string("# a comment\n\nframe\n") + line + "\nframe\n");
        const HostRun run = run_host({"run", thumbwheel_module(), "--script", script});
        EXPECT_EQ(run.status, 2) << line;
        EXPECT_EQ(run.out, "") << line;
        EXPECT_NE(run.err.find(script + ":4: "), std::string::npos) << line << ": " << run.err;
    }
}

TEST(HostRefusal, CommandLinesItDoesNotUnderstand) {
    const std::string script = write_script("");
    const std::vector<std::vector<std::string>> command_lines = {
        {},
        {"draw"},
        {"inspect"},
        {"inspect", "a", "b"},
        {"run"},
        {"run", thumbwheel_module()},
        {"run", thumbwheel_module(), "--script"},
        {"run", thumbwheel_module(), "--script", script, "--format", "12"},
        {"run", thumbwheel_module(), "--script", script, "--speed", "2"},
        {"run", thumbwheel_module() + "!", "--script", script},
        {"run", thumbwheel_module(), "--script", test_folder() + "/missing.txt"},
        {"run", thumbwheel_module(), "--script", script, "--sim-dir", test_folder() + "/missing"},
        {"run", thumbwheel_module(), "--script", script, "--size", "80"},
        {"run", thumbwheel_module(), "--script", script, "--size", "0x10"},
        {"run", thumbwheel_module(), "--script", script, "--window", "1"},
        {"panel"},
        {"panel", "panel.cfg", "--script", script, "--size", "80x80"},
        {"panel", "panel.cfg", "--script", script, "--window", "x"},
    };
    for (const auto& args : command_lines) {
        const HostRun run = run_host(args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("gauge-host: "), std::string::npos) << testing::PrintToString(args);
    }
}

}  // namespace
