#include "nd_hosted.h"

#include "host_support.h"

namespace {
// The apex of the aircraft symbol is the compass centre: low on a 256-pixel screen in the arc layout,
// a little below the middle in the rose.
constexpr int kSymbolX = 128;
constexpr int kArcSymbolY = 217;
constexpr int kRoseSymbolY = 136;
}  // namespace

HostedDisplay::HostedDisplay(const std::string& sim_folder, PanelImageFormat format) : caller_{std::filesystem::current_path()} {
    std::filesystem::current_path(sim_folder);
    platform_reset_keyboard();
    panel_.emplace(events_, format);
    module_ = &panel_->load_module(GAUGES_DIR "/Vistrel.NDs.so");
    gauge_ = &panel_->add_gauge(*module_, module_->gauge("Vistrel.ND"));
    gauge_->bring_up();
}

void HostedDisplay::press_tab() {
    platform_set_key_down(VK_TAB, true);
    platform_set_key_down(VK_TAB, false);
}

int HostedDisplay::layout_shown() const {
    host::Canvas canvas(gauge_->width(), gauge_->height());
    gauge_->compose(&canvas);
    const auto green_at = [&](int x, int y) {
        const host::Rgb& pixel = canvas.pixels.at(static_cast<size_t>(y) * canvas.width + x);
        return pixel.r == 0 && pixel.g == 255 && pixel.b == 0;
    };
    const bool arc = green_at(kSymbolX, kArcSymbolY);
    const bool rose = green_at(kSymbolX, kRoseSymbolY);
    return arc == rose ? -1 : arc ? 1 : 0;
}
