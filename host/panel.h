// The panel system as the gauges see it: the loaded modules, their gauges, the simulator's
// variables and key events, and the service table every module calls.
#ifndef HOST_PANEL_H
#define HOST_PANEL_H

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "gauge.h"
#include "host_error.h"
#include "module.h"
#include "variables.h"

namespace host {

class Panel {
public:
    Panel(std::ostream& out, PanelImageFormat format);
    ~Panel();
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // The panel whose gauges run now: the services, which carry no context, act on it.
    static Panel* active();

    // Loads a module, hands it the services and calls its module_init.
    LoadedModule& load_module(const std::string& path);
    // A gauge of a loaded module, shown at width x height (0 x 0: its own size; a height of 0: its
    // own aspect ratio).
    Gauge& add_gauge(LoadedModule& module, GaugeHeader* header, int width = 0, int height = 0);

    // Takes every gauge down, then calls each module's module_deinit and unloads it. Also run by
    // the destructor; errors there are reported, not thrown.
    void close();

    PanelImageFormat format() const { return format_; }
    HostVariables& variables() { return variables_; }
    const std::vector<std::unique_ptr<Gauge>>& gauges() const { return gauges_; }

    void send_key_event(uint32_t event_id, uint32_t value);

    Gauge* gauge_of_root(const ElementHeader* root) const;
    Gauge* gauge_of_header(const GaugeHeader* header) const;

    // A service cannot throw through the module that called it: it records what went wrong, and
    // the host raises it once the module's routine has returned.
    void record_error(const HostError& error);
    void raise_pending_error();

private:
    std::ostream& out_;
    PanelImageFormat format_;
    HostVariables variables_;
    std::vector<std::unique_ptr<LoadedModule>> modules_;
    std::vector<std::unique_ptr<Gauge>> gauges_;
    std::optional<HostError> pending_error_;
};

// The table written into every module's ImportTable.
const PanelServices* panel_services_table();

}  // namespace host

#endif
