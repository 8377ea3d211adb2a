#include "faults.h"

#include <stdlib.h>

#include <map>
#include <string>
#include <vector>

namespace standin {

namespace {

struct Rule {
    std::string name;
    long occurrence;  // 0: every call of the name
};

std::string parsed_setting;
std::vector<Rule> rules;
std::map<std::string, long> calls_so_far;

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// "Lock#2, CreatePen" -> {Lock, 2}, {CreatePen, 0}. An entry whose number is not a positive
// integer is ignored.
std::vector<Rule> parse(const std::string& setting) {
    std::vector<Rule> parsed;
    size_t start = 0;
    while (start <= setting.size()) {
        size_t comma = setting.find(',', start);
        if (comma == std::string::npos) comma = setting.size();
        const std::string entry = trimmed(setting.substr(start, comma - start));
        start = comma + 1;
        if (entry.empty()) continue;
        const size_t hash = entry.find('#');
        if (hash == std::string::npos) {
            parsed.push_back({entry, 0});
            continue;
        }
        const std::string number = trimmed(entry.substr(hash + 1));
        char* end = nullptr;
        const long occurrence = strtol(number.c_str(), &end, 10);
        if (number.empty() || *end != '\0' || occurrence <= 0) continue;
        parsed.push_back({trimmed(entry.substr(0, hash)), occurrence});
    }
    return parsed;
}

}  // namespace

bool fault_requested(const char* name, const char* setting) {
    if (setting == nullptr) setting = "";
    // Without the switch, as in every run that is not a test of faults, nothing is parsed or counted.
    if (setting[0] == '\0' && parsed_setting.empty()) return false;
    if (parsed_setting != setting) {
        parsed_setting = setting;
        rules = parse(setting);
        calls_so_far.clear();
    }
    if (rules.empty()) return false;
    bool named = false;
    for (const Rule& rule : rules) named = named || rule.name == name;
    if (!named) return false;
    const long number = ++calls_so_far[name];
    for (const Rule& rule : rules) {
        if (rule.name == name && (rule.occurrence == 0 || rule.occurrence == number)) return true;
    }
    return false;
}

void faults_restart() {
    calls_so_far.clear();
}

}  // namespace standin
