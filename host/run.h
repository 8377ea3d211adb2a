// `gauge-host run` and `gauge-host panel`: gauges brought up, driven by a script, taken down.
#ifndef HOST_RUN_H
#define HOST_RUN_H

#include <ostream>
#include <string>

#include "gauge_records.h"

namespace host {

struct RunOptions {
    std::string module;      // run: the module file
    std::string gauge;       // run: empty for the module's first gauge
    std::string panel_cfg;   // panel: the panel.cfg
    int window = 0;          // panel: [WindowNN]
    std::string gauges_dir = ".";  // panel: where the modules are
    int width = 0, height = 0;     // run: the gauge shown at this size; 0: its own
    std::string script;
    std::string sim_dir = ".";
    std::string out_dir = ".";
    PanelImageFormat format = PANEL_IMAGE_16BIT;
};

int run_gauge(const RunOptions& options, std::ostream& out, std::ostream& err);
int run_panel(const RunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace host

#endif
