// The navigation display's surface routines on their own: the module's sources are built into this
// program, which lays out the two images of the screen element as a 16-bit panel would and calls
// clear_surface and copy_to_panel directly.
#include <benchmark/benchmark.h>

#include <vector>

#include "nd_state.h"

namespace {

constexpr int kSize = 256;

// The display's surfaces over two 256 x 256 16-bit images, its colour table from the built module.
class Surfaces {
public:
    Surfaces() : pixels_{std::vector<uint8_t>(kBytes), std::vector<uint8_t>(kBytes)} {
        resources_ = LoadLibraryA(GAUGES_DIR "/Vistrel.NDs.so");
        nd_header.module_instance = resources_;
        for (int i = 0; i < 2; ++i) {
            images_[i] = PanelImage{PANEL_IMAGE_16BIT, kSize, kSize, kSize * 2, 0, kBytes, pixels_[i].data()};
            sets_[i] = ImageSet{&images_[i], {}};
        }
        nd_screen.image_sets = sets_;
        create_surfaces();
    }
    ~Surfaces() {
        release_surfaces();
        nd_screen.image_sets = nullptr;
        nd_header.module_instance = nullptr;
        if (resources_ != nullptr) FreeLibrary(resources_);
    }
    Surfaces(const Surfaces&) = delete;
    Surfaces& operator=(const Surfaces&) = delete;

    bool usable() const { return nd_dc != nullptr && mask_dc != nullptr && row_copy == 0; }

private:
    static constexpr uint32_t kBytes = kSize * kSize * 2;
    HMODULE resources_ = nullptr;
    std::vector<uint8_t> pixels_[2];
    PanelImage images_[2];
    ImageSet sets_[2];
};

// The bitmask ORed over the picture, then the picture copied into both images.
void BM_CopyToPanel(benchmark::State& state) {
    Surfaces surfaces;
    if (!surfaces.usable()) {
        state.SkipWithError("the display's surfaces could not be made");
        return;
    }
    for (auto _ : state) copy_to_panel();
}
BENCHMARK(BM_CopyToPanel);

// The whole surface filled with the background colour.
void BM_ClearSurface(benchmark::State& state) {
    Surfaces surfaces;
    if (!surfaces.usable()) {
        state.SkipWithError("the display's surfaces could not be made");
        return;
    }
    for (auto _ : state) clear_surface(RECT{0, 0, kSize, kSize});
}
BENCHMARK(BM_ClearSurface);

}  // namespace
