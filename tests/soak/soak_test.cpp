// Long runs: the demo panel flown for a hundred thousand frames, and every module loaded, brought up,
// taken down and unloaded a hundred times. What the gauges hold of the platform (GDI objects,
// DirectDraw objects and surfaces, file mappings and views, library references, open files) must
// end where it started, and the memory the process keeps must stop growing once the panel is up.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host_support.h"
#include "host_test_support.h"
#include "panel.h"
#include "panel_config.h"
#include "win32.h"

// AddressSanitizer keeps freed memory in a quarantine of 256 MB to catch late uses of it, which
// would show here as growth until it is full. These runs measure growth, so they go without it; the
// other suites keep it.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=0:thread_local_quarantine_size_kb=0"; }

namespace {

namespace fs = std::filesystem;

struct Footprint {
    StandInLiveObjects live{};
    int open_files = 0;
};

std::ostream& operator<<(std::ostream& out, const Footprint& f) {
    return out << f.live << ", open files " << f.open_files;
}

bool operator==(const Footprint& a, const Footprint& b) { return a.live == b.live && a.open_files == b.open_files; }

Footprint footprint() {
    Footprint f;
    f.live = live_objects();
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++f.open_files;
    }
    return f;
}

// Resident memory of the process in kilobytes.
long resident_kb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Growth of resident memory allowed between a panel that has settled and the end of the run: room
// for the allocator's own bookkeeping, far below what a leak of a few bytes a frame would take.
constexpr long kAllowedGrowthKb = 2048;

// The simulator's folder of a run, with a Gauges folder and the outside sound library that the
// airspeed gauge binds, and the gauges of the demo panel.
class Soak : public testing::Test {
protected:
    void SetUp() override {
        sim = test_folder() + "/sim";
        fs::create_directories(sim + "/Gauges");
        fs::copy_file(FIXTURE_MODULES_DIR "/sound/GaugeSound.so", sim + "/GaugeSound.so");
        setenv("WIN32_STANDIN_PREFIX", ("soak-" + std::to_string(getpid()) + "-").c_str(), 1);
        caller = fs::current_path();
        fs::current_path(sim);
        platform_reset_keyboard();
    }

    void TearDown() override { fs::current_path(caller); }

    std::string sim;
    fs::path caller;
};

// Places every gauge of the demo panel's window on the panel and brings it up.
struct PlacedGauge {
    host::Gauge* gauge;
    int x, y;
};

// The image the navigation display's screen shows: it changes with every drawing.
size_t screen_shown(const host::Gauge& display) {
    for (const host::ElementState& state : display.elements()) {
        if (state.element->element_kind == ELEMENT_PICTURE) return state.shown;
    }
    return 0;
}

std::vector<PlacedGauge> place_demo_panel(host::Panel& panel) {
    std::ostringstream problems;
    const host::PanelWindow window = host::read_panel_window(DEMO_PANEL, 0, problems);
    EXPECT_EQ(problems.str(), "");
    std::vector<PlacedGauge> placed;
    for (const host::PanelGaugeLine& line : window.gauges) {
        host::LoadedModule& module = panel.load_module(GAUGES_DIR "/" + line.module + ".so");
        host::Gauge& gauge = panel.add_gauge(module, module.gauge(line.gauge), line.width, line.height);
        gauge.bring_up();
        placed.push_back({&gauge, line.x, line.y});
    }
    return placed;
}

// A flight that never stops moving, at the simulator's 18 frames a second: a slow circle with the
// needles and distances swinging, the stations retuned now and then.
void fly(host::HostVariables& v, int f) {
    const double t = f / 18.0;  // seconds
    v.set_number(0x51, std::fmod(t * 3, 360.0));                  // heading, a standard-rate turn
    v.set_number(61, 170 + 135 * std::sin(t * 0.05));             // airspeed, beyond both ends of the scale
    v.set_number(0x6B, std::fmod(t * 3 + 30, 360.0));             // selected heading
    v.set_number(0x2D, std::fmod(t, 360.0));                      // course
    v.set_number(0x28, 127 * std::sin(t * 0.05));                 // localizer deviation
    v.set_number(0x29, 127 * std::cos(t * 0.04));                 // glideslope deviation
    v.set_number(0x1F, 30 + 29.9 * std::sin(t * 0.01));           // DME 1
    v.set_number(0x23, 60 + 50 * std::cos(t * 0.02));             // DME 2
    v.set_number(0x20, 140 + 110 * std::sin(t * 0.03));           // DME speed
    v.set_number(0x27, std::fmod(t * 4, 360.0));                  // ADF bearing
    v.set_number(0x3B, std::fmod(360 - t * 2, 360.0));            // NAV 2 bearing
    v.set_number(0x157, 20 + 20 * std::sin(t * 0.1));             // wind speed
    v.set_number(0x158, std::fmod(t * 0.5, 360.0));               // wind direction
    v.set_number(0x2C, (f / 700) % 2);                              // glideslope alive
    v.set_number(0x14, (f / 1100) % 2);                             // ADF on
    v.set_number(0x162, (f / 500) % 4);                             // markers
    v.set_integer(0x18, (f / 3000) % 2 ? 0x1090 : 0x1130);          // NAV 1: localizer or VOR
    v.set_integer(0x2E, (f / 900) % 3 == 0 ? 0 : 0x81);             // NAV 1 flags
    v.set_integer(0x2A, (f / 400) % 3);                             // to / from
    v.set_integer(0x37, (f / 1300) % 2);                            // NAV 2 flags
    const char* const idents[] = {"SEA", "ISEA", "", "PAE"};
    v.set_text(0x2F, idents[(f / 2500) % 4]);
    v.set_text(0x13, idents[3 - (f / 1700) % 4]);
    v.set_text(0x38, idents[(f / 3100) % 4]);
}

// A hundred thousand frames: an hour and a half in the simulator.
TEST_F(Soak, DemoPanelFliesAHundredThousandFramesWithoutGrowing) {
    constexpr int kFrames = 100000;
    constexpr int kSettled = 10000;
    const Footprint before = footprint();
    long settled_kb = 0;
    long end_kb = 0;
    int drawings = 0;
    {
        std::ostringstream events;
        host::Panel panel(events, PANEL_IMAGE_16BIT);
        const std::vector<PlacedGauge> placed = place_demo_panel(panel);
        ASSERT_EQ(placed.size(), 3u);
        const PlacedGauge& display = placed[0];
        const PlacedGauge& wheel = placed[2];
        for (int f = 0; f < kFrames; ++f) {
            fly(panel.variables(), f);
            if (f % 1000 == 500) platform_set_key_down(VK_TAB, true);
            if (f % 300 == 100) wheel.gauge->click(20, f % 600 < 300 ? 15 : wheel.gauge->height() - 15);
            const size_t shown = screen_shown(*display.gauge);
            for (const PlacedGauge& p : placed) p.gauge->frame();
            drawings += screen_shown(*display.gauge) != shown;
            platform_set_key_down(VK_TAB, false);
            if (f % 10000 == 0) events.str("");
            if (f == kSettled) settled_kb = resident_kb();
        }
        end_kb = resident_kb();
        // Every frame read the simulator afresh: the heading for the display, the airspeed for the
        // needle.
        EXPECT_GE(panel.variables().refresh_counts().at(0x51), static_cast<uint64_t>(kFrames));
        EXPECT_GE(panel.variables().refresh_counts().at(61), static_cast<uint64_t>(kFrames));
        panel.close();
    }
    RecordProperty("drawings", drawings);
    EXPECT_GT(drawings, kFrames / 10) << "the display kept drawing the moving flight";
    EXPECT_EQ(footprint(), before);
    EXPECT_LE(end_kb - settled_kb, kAllowedGrowthKb) << "resident " << settled_kb << " kB after " << kSettled
                                                      << " frames, " << end_kb << " kB after " << kFrames;
}

TEST_F(Soak, EveryModuleLoadsAndUnloadsAHundredTimesWithoutLeaking) {
    constexpr int kCycles = 100;
    constexpr int kSettled = 10;
    for (const char* name : {"Vistrel.NDs", "DRAVETS", "Corvanex_apvspeed"}) {
        SCOPED_TRACE(name);
        const Footprint before = footprint();
        long settled_kb = 0;
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            {
                std::ostringstream events;
                host::Panel panel(events, PANEL_IMAGE_16BIT);
                host::LoadedModule& module = panel.load_module(std::string(GAUGES_DIR "/") + name + ".so");
                host::Gauge& gauge = panel.add_gauge(module, module.gauge(""));
                gauge.bring_up();
                for (int f = 0; f < 3; ++f) {
                    fly(panel.variables(), cycle * 100 + f * 50);
                    gauge.frame();
                }
                panel.close();
            }
            const Footprint after = footprint();
            ASSERT_EQ(after, before) << "after cycle " << cycle;
            if (cycle == kSettled) settled_kb = resident_kb();
        }
        EXPECT_LE(resident_kb() - settled_kb, kAllowedGrowthKb) << "resident " << settled_kb << " kB after " << kSettled
                                                                 << " cycles";
    }
}

}  // namespace
