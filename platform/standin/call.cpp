#include "call.h"

#include <unistd.h>

#include <cstring>
#include <cstdint>
#include <string>

#include "faults.h"
#include "standin_control.h"

namespace standin {

namespace {

// WIN32_STANDIN_JOURNAL and WIN32_STANDIN_FAIL as the last pass over the environment found them:
// every call reads both, a few hundred calls a frame. setenv, putenv and unsetenv change the array
// of entries in one of three ways: an entry replaced where it stands, one added at the end, or the
// entries after a removed one moved down, which changes the last place. So while the array, its
// last entry and the entries of the two settings are as the pass found them, so are the settings;
// their values are read where they stand, so a value edited in place is seen as well.
constexpr size_t kAbsent = SIZE_MAX;

struct Settings {
    const char* journal = nullptr;
    const char* fail = nullptr;
};

struct SeenEnvironment {
    char** array = nullptr;
    size_t count = 0;
    size_t journal_at = kAbsent;
    size_t fail_at = kAbsent;
    char* journal_entry = nullptr;
    char* fail_entry = nullptr;
    char* last_entry = nullptr;
    Settings settings;
    bool valid = false;
};

SeenEnvironment seen;  // guarded by the stand-in's lock

bool environment_as_seen() {
    if (!seen.valid || environ != seen.array) return false;
    if (environ == nullptr) return true;
    if (environ[seen.count] != nullptr || (seen.count > 0 && environ[seen.count - 1] != seen.last_entry)) return false;
    return (seen.journal_at == kAbsent || environ[seen.journal_at] == seen.journal_entry) &&
           (seen.fail_at == kAbsent || environ[seen.fail_at] == seen.fail_entry);
}

void look_at_environment() {
    static constexpr char kPrefix[] = "WIN32_STANDIN_";
    seen = SeenEnvironment{};
    seen.array = environ;
    seen.valid = true;
    if (environ == nullptr) return;
    for (; environ[seen.count] != nullptr; ++seen.count) {
        char* text = environ[seen.count];
        if (text[0] != 'W' || strncmp(text, kPrefix, sizeof kPrefix - 1) != 0) continue;
        const char* name = text + sizeof kPrefix - 1;
        if (seen.journal_at == kAbsent && strncmp(name, "JOURNAL=", 8) == 0) {
            seen.journal_at = seen.count;
            seen.journal_entry = text;
            seen.settings.journal = name + 8;
        }
        if (seen.fail_at == kAbsent && strncmp(name, "FAIL=", 5) == 0) {
            seen.fail_at = seen.count;
            seen.fail_entry = text;
            seen.settings.fail = name + 5;
        }
    }
    if (seen.count > 0) seen.last_entry = environ[seen.count - 1];
}

Settings read_settings() {
    if (!environment_as_seen()) look_at_environment();
    return seen.settings;
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
    const auto lock = standin::lock_standin();
    standin::faults_restart();
    standin::journal_reopen();
}
