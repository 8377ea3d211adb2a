#include "call.h"

#include <string>

#include "faults.h"
#include "standin_control.h"

namespace standin {

namespace {

std::recursive_mutex& api_mutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

}  // namespace

std::unique_lock<std::recursive_mutex> lock_standin() { return std::unique_lock<std::recursive_mutex>(api_mutex()); }

Call::Call(const char* name, const Arg* first, size_t count, bool may_fail) : lock_(api_mutex()) {
    if (journal_wanted()) {
        std::string line = name;
        for (size_t i = 0; i < count; ++i) first[i].append_to(line);
        journal_write(line);
    }
    failed_ = may_fail && fault_requested(name);
    if (failed_) SetLastError(ERROR_GEN_FAILURE);
}

Call::Call(const char* name, std::initializer_list<Arg> args) : Call(name, args.begin(), args.size(), true) {}

Call::Call(const char* name, const std::vector<Arg>& args) : Call(name, args.data(), args.size(), true) {}

Call Call::unfailing(const char* name) { return Call(name, nullptr, 0, false); }

}  // namespace standin

void standin_restart_calls(void) {
    standin::faults_restart();
    standin::journal_reopen();
}
