// The host's panel.cfg reader with any file and any window number: a usage error for a file without
// that window, and otherwise a window whose numbers the panel may use as they are, each line it
// skipped reported.
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "host_error.h"
#include "panel_config.h"

namespace {

bool side(int value) { return value >= 0 && value <= 16384; }

bool place(int value) { return value >= -16384 && value <= 16384; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    enter_scratch_folder();
    return 0;
}

// The first four bytes are the window number, the rest the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputReader input{data, size};
    const int window = input.take<int32_t>();
    std::ofstream("panel.cfg", std::ios::binary | std::ios::trunc) << input.bytes(input.size);

    std::ostringstream problems;
    host::PanelWindow result;
    try {
        result = host::read_panel_window("panel.cfg", window, problems);
    } catch (const host::HostError& error) {
        require(error.status == host::EXIT_BAD_USAGE, "a panel.cfg is refused with another status than 2");
        return 0;
    }
    require(side(result.width) && side(result.height) && (result.width == 0) == (result.height == 0),
            "size_mm out of range");
    for (const host::PanelGaugeLine& gauge : result.gauges) {
        require(!gauge.module.empty(), "a gauge line without a module");
        require(place(gauge.x) && place(gauge.y), "a gauge placed out of range");
        require(side(gauge.width) && side(gauge.height), "a gauge size out of range");
    }
    std::istringstream lines(problems.str());
    for (std::string line; std::getline(lines, line);) {
        require(line.rfind("gauge-host: panel.cfg:", 0) == 0, "a problem line that does not name the file");
    }
    return 0;
}
