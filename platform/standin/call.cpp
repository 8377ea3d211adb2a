#include "call.h"

#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

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

Settings find_settings() {
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

// The environment's entries as the last pass over their texts found them, closing null included.
// setenv, putenv and unsetenv each change this array (an entry replaced, added or moved), so while
// it holds the same pointers the settings are where that pass found them; their values are read
// where they stand, so a value edited in place is seen as well. Comparing a few hundred bytes of
// pointers costs far less than visiting every entry's text, which the drawing calls of a frame
// would otherwise do a few hundred times.
std::vector<char*> seen_entries;
Settings seen_settings;

bool environment_as_seen() {
    if (seen_entries.empty() || environ == nullptr) return false;
    for (size_t i = 0; i < seen_entries.size(); ++i) {
        if (environ[i] != seen_entries[i]) return false;
        if (seen_entries[i] == nullptr) return true;
    }
    return false;
}

// Called with the stand-in's lock held.
Settings read_settings() {
    if (environment_as_seen()) return seen_settings;
    seen_entries.clear();
    if (environ != nullptr) {
        char** entry = environ;
        while (*entry != nullptr) seen_entries.push_back(*entry++);
        seen_entries.push_back(nullptr);
    }
    seen_settings = find_settings();
    return seen_settings;
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
