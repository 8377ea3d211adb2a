// The simulator's panel.cfg: which gauges a panel window shows, where and how large.
#ifndef HOST_PANEL_CONFIG_H
#define HOST_PANEL_CONFIG_H

#include <ostream>
#include <string>
#include <vector>

namespace host {

struct PanelGaugeLine {
    int line = 0;
    std::string module;
    std::string gauge;  // empty: the module's first
    int x = 0, y = 0;
    int width = 0;   // 0: the gauge's own size
    int height = 0;  // 0: keeps the gauge's aspect ratio
};

struct PanelWindow {
    int width = 0;  // size_mm; 0 when the window does not say
    int height = 0;
    std::string background;  // file=, as a path to read
    std::vector<PanelGaugeLine> gauges;
};

// Reads section [WindowNN] of a panel.cfg as the simulator writes them: keys in any case, `//` and
// `;` comments. A line it cannot use is reported to `problems` with its number and skipped. Throws
// HostError (exit status 2) when the file cannot be read or has no such window.
PanelWindow read_panel_window(const std::string& path, int window, std::ostream& problems);

}  // namespace host

#endif
