// Failures of the drawing surface as the user meets them: one numbered message box per failure and
// the same text with the DirectDraw result in Gauges\Vistrel.ND.err; after a failure the display
// shows no drawing. And the failure log's life: gone after a clean run, absent where it cannot be
// written.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "host_test_support.h"
#include "nd_panel.h"

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

TEST(NdFailures, EachFailingStepShowsItsMessageOnceAndLogsIt) {
    const struct {
        const char* fault;
        const char* format;
        const char* message;
    } cases[] = {
        {"DirectDrawCreate", "16", "Unable to create DirectDraw object."},
        {"SetCooperativeLevel", "16", "Unable to set cooperative level."},
        {"QueryInterface", "16", "Unable to query DD interface."},
        {"CreateSurface", "16", "Unable to create surface."},
        {"QueryInterface#2", "16", "Unable to query DDS interface."},
        {"Lock", "16", "Unable to lock surface."},
        {"CreatePalette", "8", "Unable to create palette."},
        {"SetPalette", "8", "Unable to set palette."},
        {"GetDC", "8", "Unable to get Device Context."},
        {"GetDC", "16", "Unable to get Device Context."},
        {"CreateSurface#2", "16", "Unable to create bitmask surface."},
        {"QueryInterface#3", "16", "Unable to query DDS interface for bitmask."},
        {"Lock#2", "16", "Unable to lock bitmask surface."},
        {"GetDC#2", "16", "Unable to get Device Context for bitmask."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fault) + " on a " + c.format + "-bit panel");
        const FailureRun run = run_failing(c.fault, c.format, kDrawScript);
        ASSERT_EQ(run.host.status, 0) << run.host.err;
        EXPECT_EQ(run.messages, std::string("message Error: Vistrel.ND\\n") + c.message + "\n");
        EXPECT_TRUE(logs_one_report(failure_log(run), c.message)) << failure_log(run);
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
