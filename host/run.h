// `gauge-host run`: one gauge through its whole life, driven by a script.
#ifndef HOST_RUN_H
#define HOST_RUN_H

#include <ostream>
#include <string>

#include "gauge_records.h"

namespace host {

struct RunOptions {
    std::string module;
    std::string gauge;  // empty: the module's first
    std::string script;
    std::string sim_dir = ".";
    std::string out_dir = ".";
    PanelImageFormat format = PANEL_IMAGE_16BIT;
};

int run_gauge(const RunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace host

#endif
