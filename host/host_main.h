// The gauge host's command line, as a function so that tests can run it in-process.
#ifndef HOST_HOST_MAIN_H
#define HOST_HOST_MAIN_H

#include <ostream>
#include <string>
#include <vector>

namespace host {

// Runs `gauge-host ARGS...` (without the program name); returns the exit status. Simulator output
// (events, shared-block dumps) goes to out, messages for the person to err.
int host_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace host

#endif
