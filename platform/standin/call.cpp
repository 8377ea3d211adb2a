#include "call.h"

#include <unistd.h>

#include <cstring>
#include <string>

#include "faults.h"
#include "standin_control.h"

namespace standin {

namespace {

// WIN32_STANDIN_JOURNAL and WIN32_STANDIN_FAIL, found in one pass over the environment: every call
// reads both, and two getenv calls would pass over it twice.
struct Settings {
    const char* journal = nullptr;
    const char* fail = nullptr;
};

Settings read_settings() {
    static constexpr char kPrefix[] = "WIN32_STANDIN_";
    Settings settings;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const char* text = *entry;
        if (text[0] != 'W' || strncmp(text, kPrefix, sizeof kPrefix - 1) != 0) continue;
        const char* name = text + sizeof kPrefix - 1;
        if (name[0] == 'J' && settings.journal == nullptr && strncmp(name, "JOURNAL=", 8) == 0) settings.journal = name + 8;
        if (name[0] == 'F' && settings.fail == nullptr && strncmp(name, "FAIL=", 5) == 0) settings.fail = name + 5;
    }
    return settings;
}

std::recursive_mutex& api_mutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

}  // namespace

std::unique_lock<std::recursive_mutex> lock_standin() { return std::unique_lock<std::recursive_mutex>(api_mutex()); }

Call::Call(const char* name, const Arg* first, size_t count, bool may_fail) : lock_(api_mutex()) {
    const Settings settings = read_settings();
    if (settings.journal != nullptr && settings.journal[0] != '\0') {
        std::string line = name;
        for (size_t i = 0; i < count; ++i) first[i].append_to(line);
        journal_write(settings.journal, line);
    }
    failed_ = may_fail && fault_requested(name, settings.fail);
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
