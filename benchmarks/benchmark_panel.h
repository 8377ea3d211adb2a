// The gauge host's panel in this process, for the benchmarks: the modules of this build, a
// simulator folder of its own, and the variables that host scripts set.
#ifndef BENCHMARKS_BENCHMARK_PANEL_H
#define BENCHMARKS_BENCHMARK_PANEL_H

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "panel.h"
#include "script.h"

class BenchmarkPanel {
public:
    BenchmarkPanel();
    ~BenchmarkPanel();
    BenchmarkPanel(const BenchmarkPanel&) = delete;
    BenchmarkPanel& operator=(const BenchmarkPanel&) = delete;

    // A gauge of module NAME.so of this build, brought up and shown at width x height (0: its own).
    host::Gauge& add_gauge(const std::string& module, const std::string& gauge, int width = 0, int height = 0);

    host::HostVariables& variables() { return panel_.variables(); }

private:
    std::filesystem::path caller_folder_;
    std::filesystem::path folder_;
    std::ostringstream output_;  // events the gauges send
    host::Panel panel_;
    std::map<std::string, host::LoadedModule*> modules_;
};

// The commands of a host script file.
std::vector<host::ScriptCommand> read_script_file(const std::string& path);

// The script's settings, one list for each frame it runs: what is set before the first frame
// command, before the second, and so on. Keys, clicks and snapshots are left out.
std::vector<std::vector<host::ScriptCommand>> settings_by_frame(const std::vector<host::ScriptCommand>& script);

#endif
