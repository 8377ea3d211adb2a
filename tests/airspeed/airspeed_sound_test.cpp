// The airspeed gauge's binding of the outside sound library "GaugeSound": which library calls each
// service code makes, and that the gauge gives back exactly the reference it took. The library is
// looked for in the current folder, as Windows looks in the simulator's own folder first.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "airspeed_module.h"
#include "host_test_support.h"
#include "standin_control.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines read_lines(const fs::path& path) {
    Lines lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

int library_references() { return live_objects().library_references; }

class SoundBinding : public AirspeedModule {
protected:
    void SetUp() override {
        AirspeedModule::SetUp();
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::path(testing::TempDir()) / "airspeed-sound" / test->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
        caller = fs::current_path();
        fs::current_path(folder);
        setenv("GAUGESOUND_LOG", (folder / "sound.log").c_str(), 1);
        setenv("WIN32_STANDIN_JOURNAL", (folder / "journal.txt").c_str(), 1);
        standin_restart_calls();
        references_before = library_references();
    }

    void TearDown() override {
        unsetenv("WIN32_STANDIN_JOURNAL");
        unsetenv("GAUGESOUND_LOG");
        fs::current_path(caller);
        AirspeedModule::TearDown();
    }

    // Puts a GaugeSound library in the simulator's folder.
    void install_library(const char* from_folder) {
        fs::copy_file(fs::path(from_folder) / "GaugeSound.so", folder / "GaugeSound.so");
    }

    Lines sound_log() const { return read_lines(folder / "sound.log"); }

    // How often the module called a library function since the last look.
    int library_calls(const std::string& name) {
        const Lines journal = read_lines(folder / "journal.txt");
        int count = 0;
        for (size_t i = journal_seen; i < journal.size(); ++i) {
            count += journal[i] == name || journal[i].rfind(name + " ", 0) == 0;
        }
        return count;
    }
    void look_at_journal() { journal_seen = read_lines(folder / "journal.txt").size(); }

    fs::path folder;
    fs::path caller;
    int references_before = 0;
    size_t journal_seen = 0;
};

TEST_F(SoundBinding, WithoutTheLibraryTheGaugeRunsSilently) {
    callback(GAUGE_SERVICE_INITIALIZE);
    for (int frame = 0; frame < 3; ++frame) callback(GAUGE_SERVICE_UPDATE);
    callback(GAUGE_SERVICE_KILL);
    EXPECT_EQ(sound_log(), Lines{});
    EXPECT_EQ(library_calls("FreeLibrary"), 0);
    EXPECT_EQ(library_calls("LoadLibraryA"), 5);  // initialize, each update, kill: each tries once
    EXPECT_EQ(library_references(), references_before);
    const uint32_t order[] = {333, 332, 334};
    ASSERT_EQ(refreshed_vars.size(), 9u);
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(refreshed_vars[i]->var_id, order[i % 3]);
}

TEST_F(SoundBinding, TakesOneReferenceAtInitializeAndGivesItBackAtKill) {
    install_library(SOUND_LIBRARY_DIR);
    callback(GAUGE_SERVICE_INITIALIZE);
    EXPECT_EQ(library_calls("LoadLibraryA"), 1);
    EXPECT_EQ(library_references(), references_before + 1);
    look_at_journal();
    for (int frame = 0; frame < 3; ++frame) callback(GAUGE_SERVICE_UPDATE);
    EXPECT_EQ(library_calls("LoadLibraryA"), 0);
    EXPECT_EQ(library_calls("GetModuleHandleA"), 3);
    EXPECT_EQ(library_references(), references_before + 1);
    EXPECT_EQ(refreshed_vars.size(), 9u);
    look_at_journal();
    callback(GAUGE_SERVICE_KILL);
    EXPECT_EQ(sound_log(), (Lines{"load", "TerminateSounds", "unload"}));
    EXPECT_EQ(library_calls("LoadLibraryA"), 0);
    EXPECT_EQ(library_calls("FreeLibrary"), 1);
    EXPECT_EQ(library_references(), references_before);
}

TEST_F(SoundBinding, WithoutTerminateSoundsKillOnlyLetsTheLibraryGo) {
    install_library(SOUND_LIBRARY_WITHOUT_TERMINATE_DIR);
    callback(GAUGE_SERVICE_INITIALIZE);
    callback(GAUGE_SERVICE_UPDATE);
    callback(GAUGE_SERVICE_KILL);
    EXPECT_EQ(sound_log(), (Lines{"load", "unload"}));
    EXPECT_EQ(library_references(), references_before);
}

TEST_F(SoundBinding, LeavesTheReferenceOfAnotherModuleAlone) {
    install_library(SOUND_LIBRARY_DIR);
    HMODULE other = LoadLibraryA("GaugeSound");
    ASSERT_NE(other, nullptr);
    callback(GAUGE_SERVICE_INITIALIZE);
    callback(GAUGE_SERVICE_UPDATE);
    callback(GAUGE_SERVICE_KILL);
    EXPECT_EQ(sound_log(), (Lines{"load", "TerminateSounds"}));
    EXPECT_EQ(library_references(), references_before + 1);
    FreeLibrary(other);
    EXPECT_EQ(sound_log(), (Lines{"load", "TerminateSounds", "unload"}));
}

TEST_F(SoundBinding, FindsALibraryThatAnotherModuleLoadedLaterWithoutTakingAReference) {
    callback(GAUGE_SERVICE_INITIALIZE);
    install_library(SOUND_LIBRARY_DIR);
    HMODULE other = LoadLibraryA("GaugeSound");
    ASSERT_NE(other, nullptr);
    look_at_journal();
    callback(GAUGE_SERVICE_UPDATE);
    EXPECT_EQ(library_calls("LoadLibraryA"), 0);
    callback(GAUGE_SERVICE_KILL);
    EXPECT_EQ(library_calls("FreeLibrary"), 0);
    EXPECT_EQ(sound_log(), (Lines{"load", "TerminateSounds"}));
    FreeLibrary(other);
    EXPECT_EQ(library_references(), references_before);
}

TEST_F(SoundBinding, BindsALibraryThatAppearsWhileTheGaugeRuns) {
    callback(GAUGE_SERVICE_INITIALIZE);
    callback(GAUGE_SERVICE_UPDATE);
    install_library(SOUND_LIBRARY_DIR);
    callback(GAUGE_SERVICE_UPDATE);
    EXPECT_EQ(sound_log(), Lines{"load"});
    callback(GAUGE_SERVICE_UPDATE);
    callback(GAUGE_SERVICE_KILL);
    EXPECT_EQ(sound_log(), (Lines{"load", "TerminateSounds", "unload"}));
    EXPECT_EQ(library_references(), references_before);
}

TEST_F(SoundBinding, OtherCodesDoNothing) {
    install_library(SOUND_LIBRARY_DIR);
    for (uint32_t code : {0u, 1u, 2u, 3u, 5u, 7u, 8u, 9u, 10u, 11u, 13u, 14u, 100u, 0xFFFFFFFFu}) callback(code);
    EXPECT_EQ(read_lines(folder / "journal.txt"), Lines{});
    EXPECT_EQ(refreshed_vars.size(), 0u);
    EXPECT_EQ(sound_log(), Lines{});
    // A kill without an initialize still finds nothing of its own to give back.
    callback(GAUGE_SERVICE_KILL);
    EXPECT_EQ(sound_log(), (Lines{"load", "TerminateSounds", "unload"}));
    EXPECT_EQ(library_references(), references_before);
}

// Without the library, or with one that lacks TerminateSounds, the gauge on a host panel says
// nothing; through a hundred frames its needle follows the airspeed, from below the scale to beyond
// it, every variable it reads is refreshed once a frame, and nothing stays bound or alive.
TEST_F(SoundBinding, OnAPanelRunsOnSilentlyWithoutAWholeLibrary) {
    const struct {
        const char* what;
        const char* library_folder;
        Lines sound_log;
    } cases[] = {
        {"no library", nullptr, {}},
        {"no TerminateSounds", SOUND_LIBRARY_WITHOUT_TERMINATE_DIR, {"load", "unload"}},
    };
    // The needle's airspeed, the three variables of the sound binding.
    const std::vector<uint32_t> variables = {61, 332, 333, 334};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(folder / "GaugeSound.so");
        fs::remove(folder / "sound.log");
        if (c.library_folder != nullptr) install_library(c.library_folder);
        const StandInLiveObjects before = live_objects();
        testing::internal::CaptureStderr();
        int frames_off_the_airspeed = 0;
        int frames_without_each_refresh = 0;
        {
            AirspeedPanel airspeed;
            for (int frame = 1; frame <= 100; ++frame) {
                const double knots = 20 + frame * 3.1;
                airspeed.panel.variables().set_number(61, knots);
                airspeed.gauge->frame();
                frames_off_the_airspeed += airspeed.gauge->elements().back().reading != std::clamp(knots, 40.0, 300.0);
                const auto& counts = airspeed.panel.variables().refresh_counts();
                frames_without_each_refresh += counts.size() != variables.size() ||
                                               std::any_of(variables.begin(), variables.end(), [&](uint32_t id) {
                                                   return !counts.contains(id) || counts.at(id) != static_cast<uint64_t>(frame);
                                               });
            }
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(frames_off_the_airspeed, 0);
        EXPECT_EQ(frames_without_each_refresh, 0);
        EXPECT_EQ(sound_log(), c.sound_log);
        EXPECT_EQ(live_objects(), before);
    }
}

}  // namespace
