// What a simulator frame costs with the navigation display on the panel, run by the gauge host in
// this process (16-bit panel), set against the least work that could show the same picture: the
// surface cleared and copied into the element's two images.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "benchmark_panel.h"

namespace {

constexpr uint32_t kHeading = 0x51;

// The element whose callback decides whether the display draws: the root's one child.
const host::ElementState& screen_of(const host::Gauge& gauge) { return gauge.elements().at(1); }

// The display shown at size x size, drawn once with the variables of a localizer approach with the
// glideslope, the marker and the DME.
host::Gauge& draw_approach(BenchmarkPanel& panel, int size) {
    host::Gauge& display = panel.add_gauge("Vistrel.NDs", "", size, size);
    for (const auto& settings : settings_by_frame(read_script_file(GOLDEN_DIR "/ils_approach.txt"))) {
        for (const host::ScriptCommand& command : settings) apply_setting(command, panel.variables());
        display.frame();
    }
    return display;
}

// A frame with nothing changed: the screen's callback with the variables as the last drawing left
// them, which compares them with what it drew and polls the shared block and the mode key.
void BM_NavDisplayIdleFrame(benchmark::State& state) {
    BenchmarkPanel panel;
    host::Gauge& display = draw_approach(panel, 256);
    display.frame();
    ElementHeader* screen = screen_of(display).element;
    const ElementCallback callback = reinterpret_cast<PictureElement610*>(screen)->value_callback;
    const double shown = screen_of(display).reading;
    for (auto _ : state) benchmark::DoNotOptimize(callback(screen));
    display.frame();
    if (screen_of(display).reading != shown) state.SkipWithError("the display drew in a frame with nothing changed");
}
BENCHMARK(BM_NavDisplayIdleFrame);

// A frame in which the display draws its whole picture, shown at the given size, the heading
// changing by a degree every frame so that every frame draws.
void BM_NavDisplayRedraw(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    BenchmarkPanel panel;
    host::Gauge& display = draw_approach(panel, size);
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
class FloorOfRedraw {
public:
    explicit FloorOfRedraw(int size)
        : pixels_(static_cast<size_t>(size) * static_cast<size_t>(size)), surface_(pixels_), first_(pixels_), second_(pixels_) {}

    void run() {
        benchmark::DoNotOptimize(background_);
        std::fill(surface_.begin(), surface_.end(), background_);
        benchmark::ClobberMemory();
        std::memcpy(first_.data(), surface_.data(), pixels_ * sizeof(uint16_t));
        std::memcpy(second_.data(), surface_.data(), pixels_ * sizeof(uint16_t));
        benchmark::ClobberMemory();
    }

    size_t pixels() const { return pixels_; }

private:
    size_t pixels_;
    std::vector<uint16_t> surface_, first_, second_;
    uint16_t background_ = 0x0421;
};

void BM_FloorOfRedraw(benchmark::State& state) {
    FloorOfRedraw floor(static_cast<int>(state.range(0)));
    for (auto _ : state) floor.run();
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(floor.pixels()));
}
BENCHMARK(BM_FloorOfRedraw)->Arg(256)->Arg(512)->Arg(1024);

double thread_seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A redraw and its floor in turn, each timed by the thread's CPU clock: the counter `floors` is the
// redraw's time over the floor's, measured under the same conditions. On a shared machine whose
// speed drifts between benchmarks this ratio holds still where the two separate ones do not. The
// time reported is the redraws' alone.
void BM_RedrawInFloors(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    BenchmarkPanel panel;
    host::Gauge& display = draw_approach(panel, size);
    FloorOfRedraw floor(size);
    double heading = 268.4;
    double redraws = 0;
    double floors = 0;
    for (auto _ : state) {
        heading = heading < 269 ? heading + 1 : heading - 1;
        const double start = thread_seconds();
        panel.variables().set_number(kHeading, heading);
        display.frame();
        const double drawn = thread_seconds();
        floor.run();
        const double done = thread_seconds();
        redraws += drawn - start;
        floors += done - drawn;
        state.SetIterationTime(drawn - start);
    }
    state.counters["floors"] = floors > 0 ? redraws / floors : 0;
}
BENCHMARK(BM_RedrawInFloors)->Arg(256)->Arg(512)->Arg(1024)->UseManualTime();

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
