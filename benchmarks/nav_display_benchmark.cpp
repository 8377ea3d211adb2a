// What a simulator frame costs with the navigation display on the panel, run by the gauge host in
// this process (16-bit panel), set against the least work that could show the same picture: the
// surface cleared and copied into the element's two images.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "benchmark_panel.h"

namespace {

constexpr uint32_t kHeading = 0x51;

// The element whose callback decides whether the display draws: the root's one child.
const host::ElementState& screen_of(const host::Gauge& gauge) { return gauge.elements().at(1); }

// A frame with nothing changed: the screen's callback with the variables as the last drawing left
// them, which compares them with what it drew and polls the shared block and the mode key.
void BM_NavDisplayIdleFrame(benchmark::State& state) {
    BenchmarkPanel panel;
    host::Gauge& display = panel.add_gauge("Vistrel.NDs", "", 256, 256);
    for (const auto& settings : settings_by_frame(read_script_file(GOLDEN_DIR "/ils_approach.txt"))) {
        for (const host::ScriptCommand& command : settings) apply_setting(command, panel.variables());
        display.frame();
    }
    display.frame();
    ElementHeader* screen = screen_of(display).element;
    const ElementCallback callback = reinterpret_cast<PictureElement610*>(screen)->value_callback;
    const double shown = screen_of(display).reading;
    for (auto _ : state) benchmark::DoNotOptimize(callback(screen));
    display.frame();
    if (screen_of(display).reading != shown) state.SkipWithError("the display drew in a frame with nothing changed");
}
BENCHMARK(BM_NavDisplayIdleFrame);

// A frame in which the display draws its whole picture, shown at the given size: the variables of
// a localizer approach with the glideslope, the marker and the DME, the heading changing by a
// degree every frame so that every frame draws.
void BM_NavDisplayRedraw(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    BenchmarkPanel panel;
    host::Gauge& display = panel.add_gauge("Vistrel.NDs", "", size, size);
    for (const auto& settings : settings_by_frame(read_script_file(GOLDEN_DIR "/ils_approach.txt"))) {
        for (const host::ScriptCommand& command : settings) apply_setting(command, panel.variables());
        display.frame();
    }
    int64_t drawn = 0;
    double heading = 268.4;
    double shown = screen_of(display).reading;
    for (auto _ : state) {
        heading = heading < 269 ? heading + 1 : heading - 1;
        panel.variables().set_number(kHeading, heading);
        display.frame();
        if (screen_of(display).reading != shown) ++drawn;
        shown = screen_of(display).reading;
    }
    // The first frame still shows the heading of the frame before.
    if (drawn + 1 < static_cast<int64_t>(state.iterations())) state.SkipWithError("a frame did not draw");
    state.SetItemsProcessed(state.iterations() * size * size);
}
BENCHMARK(BM_NavDisplayRedraw)->Arg(256)->Arg(512)->Arg(1024);

// The least a redraw could do at the given size: every 16-bit pixel of the surface set to the
// background, then the surface copied into both images.
void BM_FloorOfRedraw(benchmark::State& state) {
    const size_t pixels = static_cast<size_t>(state.range(0)) * static_cast<size_t>(state.range(0));
    std::vector<uint16_t> surface(pixels);
    std::vector<uint16_t> first(pixels);
    std::vector<uint16_t> second(pixels);
    uint16_t background = 0x0421;
    for (auto _ : state) {
        benchmark::DoNotOptimize(background);
        std::fill(surface.begin(), surface.end(), background);
        benchmark::ClobberMemory();
        std::memcpy(first.data(), surface.data(), pixels * sizeof(uint16_t));
        std::memcpy(second.data(), surface.data(), pixels * sizeof(uint16_t));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pixels));
}
BENCHMARK(BM_FloorOfRedraw)->Arg(256)->Arg(512)->Arg(1024);

// The least a copy of the picture could do: one memcpy of a 256 x 256 16-bit image.
void BM_FloorOfCopy(benchmark::State& state) {
    const size_t bytes = 256 * 256 * sizeof(uint16_t);
    std::vector<uint8_t> from(bytes, 0x21);
    std::vector<uint8_t> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_FloorOfCopy);

}  // namespace
