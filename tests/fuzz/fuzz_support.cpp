#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "script.h"
#include "win32.h"

namespace fs = std::filesystem;

namespace {

std::string scratch_folder;

void remove_scratch_folder() {
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path(), ignored);
    fs::remove_all(scratch_folder, ignored);
}

// Key events and other output of the display go nowhere.
std::ostream no_output(nullptr);

}  // namespace

void enter_scratch_folder() {
    std::string pattern = (fs::temp_directory_path() / "gauge-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("gauge fuzz: cannot make a scratch folder");
        std::abort();
    }
    scratch_folder = pattern;
    fs::create_directory(fs::path(scratch_folder) / "Gauges");
    fs::current_path(scratch_folder);
    std::atexit(remove_scratch_folder);
    setenv("WIN32_STANDIN_PREFIX", ("fuzz-" + std::to_string(getpid()) + "-").c_str(), 1);
}

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "gauge fuzz: %s\n", what);
    std::abort();
}

NdRun::NdRun(PanelImageFormat format) : panel_(no_output, format) {
    host::LoadedModule& module = panel_.load_module(GAUGES_DIR "/Vistrel.NDs.so");
    gauge_ = &panel_.add_gauge(module, module.gauge("Vistrel.ND"));
    gauge_->bring_up();
    frame();  // the first update opens the shared block
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, host::kSharedBlockBytes,
                                  host::kSharedBlockName);
    require(mapping_ != nullptr, "cannot open the shared block");
    block_ = static_cast<char*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0));
    require(block_ != nullptr, "cannot map the shared block");
}

NdRun::~NdRun() {
    UnmapViewOfFile(block_);
    CloseHandle(mapping_);
}

double NdRun::frame() {
    gauge_->frame();
    const double reading = gauge_->elements()[1].reading;
    require(reading == 0 || reading == 1, "the screen's reading is neither of its two images");
    return reading;
}

void set_full_picture(host::HostVariables& variables) {
    variables.set_number(0x51, 268.4);   // heading
    variables.set_number(0x6B, 270);     // selected heading
    variables.set_number(0x2D, 270);     // NAV 1 course
    variables.set_number(0x28, -20);     // NAV 1 deviation
    variables.set_integer(0x2E, 0x81);   // NAV 1 flags
    variables.set_integer(0x18, 0x1090);  // NAV 1 frequency
    variables.set_integer(0x2A, 4);      // to/from
    variables.set_text(0x2F, "IBTH");
    variables.set_number(0x1F, 4.83);    // DME 1
    variables.set_number(0x20, 142.4);
    variables.set_number(0x23, 12.5);    // DME 2
    variables.set_number(0x2C, 1);       // glideslope
    variables.set_number(0x29, -35);
    variables.set_number(0x162, 2);      // middle marker
    variables.set_number(0x14, 1);       // ADF
    variables.set_number(0x27, 40);
    variables.set_text(0x13, "PAE");
    variables.set_integer(0x37, 1);      // NAV 2
    variables.set_text(0x38, "OLM");
    variables.set_number(0x3B, 200);
    variables.set_number(0x158, 240);    // wind
    variables.set_number(0x157, 12);
}
