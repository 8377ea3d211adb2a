// How the host refuses what it cannot run: a message for the person and the exit status.
#ifndef HOST_HOST_ERROR_H
#define HOST_HOST_ERROR_H

#include <stdexcept>
#include <string>

namespace host {

enum ExitStatus {
    EXIT_DONE = 0,
    EXIT_OUTPUT_FAILED = 1,  // a snapshot could not be written
    EXIT_BAD_USAGE = 2,      // command line or script line
    EXIT_BAD_MODULE = 3,     // a module that cannot be loaded or whose records are malformed
};

struct HostError : std::runtime_error {
    HostError(ExitStatus status_, const std::string& message) : std::runtime_error(message), status(status_) {}
    ExitStatus status;
};

[[noreturn]] inline void fail_module(const std::string& message) { throw HostError(EXIT_BAD_MODULE, message); }
[[noreturn]] inline void fail_usage(const std::string& message) { throw HostError(EXIT_BAD_USAGE, message); }

}  // namespace host

#endif
