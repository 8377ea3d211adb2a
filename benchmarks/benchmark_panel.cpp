#include "benchmark_panel.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The folder is made before the panel, whose gauges write their files into it.
fs::path make_sim_folder() {
    const fs::path folder = fs::temp_directory_path() / ("gauge-benchmark-" + std::to_string(getpid()));
    fs::create_directories(folder / "Gauges");
    // Named objects (the display's shared block) of this process meet no other process's.
    setenv("WIN32_STANDIN_PREFIX", ("benchmark" + std::to_string(getpid()) + "_").c_str(), 1);
    return folder;
}

}  // namespace

BenchmarkPanel::BenchmarkPanel()
    : caller_folder_(fs::current_path()), folder_(make_sim_folder()), panel_(output_, PANEL_IMAGE_16BIT) {
    fs::current_path(folder_);
}

BenchmarkPanel::~BenchmarkPanel() {
    panel_.close();
    fs::current_path(caller_folder_);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

host::Gauge& BenchmarkPanel::add_gauge(const std::string& module, const std::string& gauge, int width, int height) {
    host::LoadedModule*& loaded = modules_[module];
    if (loaded == nullptr) loaded = &panel_.load_module(GAUGES_DIR "/" + module + ".so");
    host::Gauge& added = panel_.add_gauge(*loaded, loaded->gauge(gauge), width, height);
    added.bring_up();
    return added;
}

std::vector<host::ScriptCommand> read_script_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return host::parse_script(text.str(), path);
}

std::vector<std::vector<host::ScriptCommand>> settings_by_frame(const std::vector<host::ScriptCommand>& script) {
    using Kind = host::ScriptCommand::Kind;
    std::vector<std::vector<host::ScriptCommand>> frames(1);
    for (const host::ScriptCommand& command : script) {
        if (command.kind == Kind::frame) {
            for (uint32_t i = 0; i < command.count; ++i) frames.emplace_back();
        } else if (command.kind == Kind::set_number || command.kind == Kind::set_integer || command.kind == Kind::set_text ||
                   command.kind == Kind::set_null) {
            frames.back().push_back(command);
        }
    }
    frames.pop_back();  // what follows the last frame is never shown
    return frames;
}
