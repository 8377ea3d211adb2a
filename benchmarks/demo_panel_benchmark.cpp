// One frame of the demo panel: the three gauges of demo/panel.cfg at their sizes, flying the demo's
// approach. Every iteration is the next frame of demo/flight.txt with its settings (after the last
// frame the flight starts again), so the display draws whenever the flight moves it.
#include <benchmark/benchmark.h>

#include <iostream>

#include "benchmark_panel.h"
#include "panel_config.h"

namespace {

void BM_DemoPanelFrame(benchmark::State& state) {
    BenchmarkPanel panel;
    std::vector<host::Gauge*> gauges;
    for (const host::PanelGaugeLine& line : host::read_panel_window(DEMO_DIR "/panel.cfg", 0, std::cerr).gauges) {
        gauges.push_back(&panel.add_gauge(line.module, line.gauge, line.width, line.height));
    }
    const auto flight = settings_by_frame(read_script_file(DEMO_DIR "/flight.txt"));
    if (flight.empty()) {
        state.SkipWithError("the demo flight runs no frame");
        return;
    }
    size_t next = 0;
    for (auto _ : state) {
        for (const host::ScriptCommand& command : flight[next]) apply_setting(command, panel.variables());
        for (host::Gauge* gauge : gauges) gauge->frame();
        next = (next + 1) % flight.size();
    }
}
BENCHMARK(BM_DemoPanelFrame);

}  // namespace
