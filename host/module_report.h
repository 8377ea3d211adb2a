#ifndef HOST_MODULE_REPORT_H
#define HOST_MODULE_REPORT_H

#include <ostream>
#include <string>

namespace host {

// Prints a module's records in a readable form: linkage, each gauge's header, element tree, mouse
// list and scale tables. A version-610 gauge hands its mouse list over only in its install
// routine, so that routine runs (after query); nothing is initialized or drawn.
void inspect_module(const std::string& path, std::ostream& out);

}  // namespace host

#endif
