#include "panel.h"

#include <iostream>

namespace host {

namespace {
Panel* active_panel = nullptr;
}

Panel::Panel(std::ostream& out, PanelImageFormat format) : out_(out), format_(format) { active_panel = this; }

Panel::~Panel() {
    try {
        close();
    } catch (const HostError& error) {
        std::cerr << "gauge-host: " << error.what() << '\n';
    }
    if (active_panel == this) active_panel = nullptr;
}

Panel* Panel::active() { return active_panel; }

LoadedModule& Panel::load_module(const std::string& path) {
    modules_.push_back(std::make_unique<LoadedModule>(path));
    LoadedModule& module = *modules_.back();
    module.import_table()->services = panel_services_table();
    module.linkage()->module_init();
    return module;
}

Gauge& Panel::add_gauge(LoadedModule& module, GaugeHeader* header, int width, int height) {
    gauges_.push_back(std::make_unique<Gauge>(*this, module, header, width, height));
    return *gauges_.back();
}

void Panel::close() {
    std::optional<HostError> first_error;
    for (auto& gauge : gauges_) {
        try {
            gauge->take_down();
        } catch (const HostError& error) {
            if (!first_error) first_error = error;
        }
    }
    gauges_.clear();
    for (auto& module : modules_) module->linkage()->module_deinit();
    modules_.clear();
    if (first_error) throw *first_error;
}

void Panel::send_key_event(uint32_t event_id, uint32_t value) {
    out_ << "event " << event_id << ' ' << value << std::endl;
}

Gauge* Panel::gauge_of_root(const ElementHeader* root) const {
    for (const auto& gauge : gauges_) {
        if (gauge->root() == root) return gauge.get();
    }
    return nullptr;
}

Gauge* Panel::gauge_of_header(const GaugeHeader* header) const {
    for (const auto& gauge : gauges_) {
        if (gauge->header() == header) return gauge.get();
    }
    return nullptr;
}

void Panel::record_error(const HostError& error) {
    if (!pending_error_) pending_error_ = error;
}

void Panel::raise_pending_error() {
    if (!pending_error_) return;
    const HostError error = *pending_error_;
    pending_error_.reset();
    throw error;
}

}  // namespace host
