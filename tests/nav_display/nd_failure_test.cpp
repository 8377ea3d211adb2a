// Failures of the drawing surface as the user meets them: one numbered message box per failure and
// the same text with the DirectDraw result in Gauges\Vistrel.ND.err; after a failure the display
// shows no drawing. And the failure log's life: gone after a clean run, absent where it cannot be
// written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "host_test_support.h"
#include "nd_hosted.h"
#include "nd_panel.h"
#include "shared_block_writer.h"

namespace {

namespace fs = std::filesystem;

struct FailureRun {
    HostRun host;
    std::string messages;
    std::string sim;
};

enum class Folder { gauges, gauges_with_old_log, none };

FailureRun run_failing(const std::string& fault, const std::string& format, const std::string& script,
                       Folder folder = Folder::gauges) {
    FailureRun run;
    run.sim = test_folder() + "/sim";
    fs::remove_all(run.sim);
    fs::create_directories(folder == Folder::none ? run.sim : run.sim + "/Gauges");
    if (folder == Folder::gauges_with_old_log) write_file(run.sim + "/Gauges/Vistrel.ND.err", "an earlier run's report\n");
    setenv("WIN32_STANDIN_PREFIX", unique_shared_prefix().c_str(), 1);
    if (!fault.empty()) setenv("WIN32_STANDIN_FAIL", fault.c_str(), 1);
    testing::internal::CaptureStderr();
    run.host = run_host({"run", GAUGES_DIR "/Vistrel.NDs.so", "--script", write_script(script), "--sim-dir", run.sim,
                         "--format", format, "--out", test_folder()});
    run.messages = testing::internal::GetCapturedStderr();
    unsetenv("WIN32_STANDIN_FAIL");
    return run;
}

std::string failure_log(const FailureRun& run) { return file_text(run.sim + "/Gauges/Vistrel.ND.err"); }

// Whether a log holds exactly one report of the message, with the result as eight upper-case
// hexadecimal digits.
bool logs_one_report(const std::string& log, const std::string& message) {
    const std::string head = "Vistrel.ND\n" + message + "\n ddrval = ";
    if (log.size() != head.size() + 10 || log.compare(0, head.size(), head) != 0 || log.compare(head.size() + 8, 2, "\n\n") != 0) {
        return false;
    }
    for (size_t i = head.size(); i < head.size() + 8; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(log[i])) && (log[i] < 'A' || log[i] > 'F')) return false;
    }
    return true;
}

const char* const kDrawScript = "frame\nset 0x51 90\nframe 3\n";

// The display reads 23 of the simulator's variables.
constexpr size_t kDisplayVariables = 23;

enum class Gauges { folder, unwritable };

struct FaultCase {
    std::string what;
    std::string fault;  // WIN32_STANDIN_FAIL
    PanelImageFormat format;
    Gauges gauges;
    std::string messages;  // standard error: the message boxes
    std::string log;       // Gauges/Vistrel.ND.err, HMOD standing for the module's handle; "": none
    bool draws;            // whether the display keeps a device context and so goes on drawing, even when
                           // a failure keeps its drawings from the panel
};

std::vector<FaultCase> fault_cases() {
    const struct {
        const char* fault;
        PanelImageFormat format;
        const char* message;
        bool draws;  // the bitmask surface fails after the drawing surface is complete
    } surface_failures[] = {
        {"DirectDrawCreate", PANEL_IMAGE_16BIT, "Unable to create DirectDraw object.", false},
        {"SetCooperativeLevel", PANEL_IMAGE_16BIT, "Unable to set cooperative level.", false},
        {"QueryInterface", PANEL_IMAGE_16BIT, "Unable to query DD interface.", false},
        {"CreateSurface", PANEL_IMAGE_16BIT, "Unable to create surface.", false},
        {"QueryInterface#2", PANEL_IMAGE_16BIT, "Unable to query DDS interface.", false},
        {"Lock", PANEL_IMAGE_16BIT, "Unable to lock surface.", false},
        {"CreatePalette", PANEL_IMAGE_8BIT, "Unable to create palette.", false},
        {"SetPalette", PANEL_IMAGE_8BIT, "Unable to set palette.", false},
        {"GetDC", PANEL_IMAGE_8BIT, "Unable to get Device Context.", false},
        {"GetDC", PANEL_IMAGE_16BIT, "Unable to get Device Context.", false},
        {"CreateSurface#2", PANEL_IMAGE_16BIT, "Unable to create bitmask surface.", true},
        {"QueryInterface#3", PANEL_IMAGE_16BIT, "Unable to query DDS interface for bitmask.", true},
        {"Lock#2", PANEL_IMAGE_16BIT, "Unable to lock bitmask surface.", true},
        {"GetDC#2", PANEL_IMAGE_16BIT, "Unable to get Device Context for bitmask.", true},
    };
    std::vector<FaultCase> cases;
    for (const auto& failure : surface_failures) {
        cases.push_back({failure.fault, failure.fault, failure.format, Gauges::folder,
                         std::string("message Error: Vistrel.ND\\n") + failure.message + "\n",
                         std::string("Vistrel.ND\n") + failure.message + "\n ddrval = 80004005\n\n", failure.draws});
    }
    // The host looks up the bitmaps of the display's two elements before the display looks up its own.
    const std::string no_colour_table = "FindResourceA#3";
    const std::string warning = "message Warning: Vistrel.ND\\nUnable to get the color table \\nand the palette.\n";
    const std::string warning_log =
        "Vistrel.ND\nUnable to get the color table \nand the palette.\n hMod = HMOD  hRc = 00000000  hGlobal = 00000000\n\n";
    const std::string lock_error = "message Error: Vistrel.ND\\nUnable to lock surface.\n";
    cases.insert(cases.end(), {
        {"no colour table, 16-bit", no_colour_table, PANEL_IMAGE_16BIT, Gauges::folder, warning, warning_log, true},
        {"no colour table, 8-bit", no_colour_table, PANEL_IMAGE_8BIT, Gauges::folder, warning, warning_log, true},
        {"Gauges unwritable", "", PANEL_IMAGE_16BIT, Gauges::unwritable, "", "", true},
        {"Gauges unwritable, no colour table", no_colour_table, PANEL_IMAGE_16BIT, Gauges::unwritable, warning, "", true},
        {"Gauges unwritable, Lock", "Lock", PANEL_IMAGE_16BIT, Gauges::unwritable, lock_error, "", false},
        {"no simulator configuration", "", PANEL_IMAGE_16BIT, Gauges::folder, "", "", true},
    });
    return cases;
}

std::string hex_handle(HMODULE handle) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%08" PRIXPTR, reinterpret_cast<uintptr_t>(handle));
    return digits;
}

// Each fault as the user meets it: its reports at the start, or silence; then a hundred frames in
// which the heading and the wind change. Every variable is refreshed once a frame, the display draws
// in every frame while it has a device context and never without, and its mode key (Tab, the default
// without a configuration) switches the layout only when it draws. Nothing is left alive, and the
// mode file goes where it can be written.
TEST(NdFailures, EachFaultReportsExactlyAndTheDisplayRunsOn) {
    for (const FaultCase& c : fault_cases()) {
        SCOPED_TRACE(c.what);
        const std::string sim = test_folder() + "/sim";
        fs::remove_all(sim);
        fs::create_directories(sim);
        if (c.gauges == Gauges::folder) fs::create_directories(sim + "/Gauges");
        // A file where the folder should be: no one, root included, can write into it.
        if (c.gauges == Gauges::unwritable) write_file(sim + "/Gauges", "not a folder\n");
        setenv("WIN32_STANDIN_PREFIX", unique_shared_prefix().c_str(), 1);
        setenv("WIN32_STANDIN_FAIL", c.fault.c_str(), 1);
        standin_restart_calls();
        const StandInLiveObjects before = live_objects();
        testing::internal::CaptureStderr();
        std::string log = c.log;
        {
            HostedDisplay display(sim, c.format);
            if (const size_t at = log.find("HMOD"); at != std::string::npos) log.replace(at, 4, hex_handle(display.module_handle()));
            size_t last_image = display.shown_image();
            int frames_without_each_refresh = 0;
            int frames_drawn = 0;
            for (int frame = 1; frame <= 100; ++frame) {
                display.variables().set_number(0x51, std::fmod(frame * 3.7, 360));
                display.variables().set_number(0x157, frame % 40);
                display.variables().set_number(0x158, frame * 11 % 360);
                if (frame == 50) display.press_tab();
                display.frame();
                const auto& counts = display.variables().refresh_counts();
                frames_without_each_refresh += counts.size() != kDisplayVariables ||
                                               std::any_of(counts.begin(), counts.end(), [&](const auto& entry) {
                                                   return entry.second != static_cast<uint64_t>(frame);
                                               });
                // The first frame has no earlier drawing to differ from; a drawing shows at the next.
                frames_drawn += frame > 2 && display.shown_image() != last_image;
                last_image = display.shown_image();
            }
            EXPECT_EQ(frames_without_each_refresh, 0);
            EXPECT_EQ(frames_drawn, c.draws ? 98 : 0);
            const shared_block::View block;
            EXPECT_TRUE(block.is_open() && block.mode_digit() == (c.draws ? '0' : '1')) << "the layout in the shared block";
        }
        unsetenv("WIN32_STANDIN_FAIL");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.messages);
        EXPECT_EQ(live_objects(), before);
        if (c.gauges == Gauges::unwritable) {
            EXPECT_EQ(file_text(sim + "/Gauges"), "not a folder\n");
        } else {
            EXPECT_EQ(file_exists(sim + "/Gauges/Vistrel.ND.err"), !log.empty());
            EXPECT_EQ(file_text(sim + "/Gauges/Vistrel.ND.err"), log);
            EXPECT_EQ(file_text(sim + "/Gauges/NDmode.tmp"), c.draws ? "0\n0\n30\n320\n" : "1\n0\n30\n320\n");
        }
    }
}

TEST(NdFailures, LockFailureNamesTheResult) {
    const FailureRun run = run_failing("Lock", "16", kDrawScript);
    const std::string log = failure_log(run);
    EXPECT_EQ(log.substr(0, log.find(" ddrval")), "Vistrel.ND\nUnable to lock surface.\n");
    EXPECT_NE(log.find(" ddrval = 80004005\n\n"), std::string::npos) << log;
}

TEST(NdFailures, ARepeatedInitializeReportsDirectDrawCreateAgainButNoOtherStep) {
    const FailureRun create = run_failing("DirectDrawCreate", "16", "frame\nreinit\nframe\n");
    EXPECT_EQ(create.messages, "message Error: Vistrel.ND\\nUnable to create DirectDraw object.\n"
                                   "message Error: Vistrel.ND\\nUnable to create DirectDraw object.\n");
    // The first Lock fails; the second initialize runs no step after DirectDrawCreate, reports
    // nothing and leaves no log.
    const FailureRun lock = run_failing("Lock", "16", "frame\nreinit\nframe\n");
    EXPECT_EQ(lock.messages, "message Error: Vistrel.ND\\nUnable to lock surface.\n");
    EXPECT_FALSE(file_exists(lock.sim + "/Gauges/Vistrel.ND.err"));
}

TEST(NdFailures, CleanRunLeavesNoLogAndRemovesAnOldOne) {
    for (Folder folder : {Folder::gauges, Folder::gauges_with_old_log}) {
        const FailureRun clean = run_failing("", "16", kDrawScript, folder);
        EXPECT_EQ(clean.messages, "");
        EXPECT_FALSE(file_exists(clean.sim + "/Gauges/Vistrel.ND.err"));
    }
    // A failing run replaces the old report with its own.
    const FailureRun failed = run_failing("Lock", "16", kDrawScript, Folder::gauges_with_old_log);
    EXPECT_TRUE(logs_one_report(failure_log(failed), "Unable to lock surface.")) << failure_log(failed);
}

TEST(NdFailures, WithoutAGaugesFolderTheMessagesStillAppear) {
    const FailureRun run = run_failing("Lock", "16", kDrawScript, Folder::none);
    ASSERT_EQ(run.host.status, 0) << run.host.err;
    EXPECT_EQ(run.messages, "message Error: Vistrel.ND\\nUnable to lock surface.\n");
    EXPECT_FALSE(file_exists(run.sim + "/Gauges"));
}

}  // namespace
