// The navigation display on a panel of the gauge host, as the simulator runs it: brought up in a
// simulator folder of the test's making, which is the current folder while the panel lives, then
// driven frame by frame; the picture it shows is at hand. Its end takes the gauge down (which writes
// the mode file into the simulator folder) and returns to the caller's folder.
#ifndef TESTS_NAV_DISPLAY_ND_HOSTED_H
#define TESTS_NAV_DISPLAY_ND_HOSTED_H

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>

#include "panel.h"

class HostedDisplay {
public:
    HostedDisplay(const std::string& sim_folder, PanelImageFormat format);
    HostedDisplay(const HostedDisplay&) = delete;
    HostedDisplay& operator=(const HostedDisplay&) = delete;

    host::HostVariables& variables() { return panel_->variables(); }
    HMODULE module_handle() const { return module_->handle(); }

    void frame(int count = 1) {
        for (int i = 0; i < count; ++i) gauge_->frame();
    }
    // The display-mode key (Tab, no Shift or Ctrl) pressed and let go: the press waits for the
    // display's next look at the key.
    void press_tab();
    // The image of the screen element that the panel shows.
    size_t shown_image() const { return gauge_->elements().at(1).shown; }

    // The layout of the picture on the panel, told by the aircraft symbol at the compass centre: 1 for
    // the arc, 0 for the rose, -1 when the picture shows neither or both (the banner, before the first
    // drawing). Shown at its own size.
    int layout_shown() const;

private:
    // Declared first, so that it is left last, after the panel.
    struct ReturnTo {
        std::filesystem::path folder;
        ~ReturnTo() {
            std::error_code ignored;
            std::filesystem::current_path(folder, ignored);
        }
    } caller_;
    std::ostringstream events_;
    std::optional<host::Panel> panel_;
    host::LoadedModule* module_ = nullptr;
    host::Gauge* gauge_ = nullptr;
};

#endif
