#include "panel_config.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "host_error.h"

namespace host {

namespace {

std::string trim(const std::string& text) {
    const size_t start = text.find_first_not_of(" \t\r");
    const size_t end = text.find_last_not_of(" \t\r");
    return start == std::string::npos ? "" : text.substr(start, end - start + 1);
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::vector<std::string> split_commas(const std::string& text) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1) {
        fields.push_back(trim(text.substr(start, comma - start)));
    }
    fields.push_back(trim(text.substr(start)));
    return fields;
}

bool parse_int(const std::string& text, int low, int high, int* value) {
    if (text.empty() || text.size() > 9) return false;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    *value = std::stoi(text);
    return *value >= low && *value <= high;
}

constexpr int kMaxPanelSide = 16384;

}  // namespace

PanelWindow read_panel_window(const std::string& path, int window, std::ostream& problems) {
    std::ifstream file(path);
    if (!file) fail_usage(path + ": cannot read the panel configuration");
    char section_title[32];
    std::snprintf(section_title, sizeof section_title, "[Window%02d]", window);
    const std::string section_name = lower(section_title);

    PanelWindow result;
    bool found = false;
    bool inside = false;
    std::string raw;
    for (int number = 1; std::getline(file, raw); ++number) {
        std::string line = raw.substr(0, std::min(raw.find("//"), raw.find(';')));
        line = trim(line);
        if (line.empty()) continue;
        if (line.front() == '[') {
            inside = lower(line) == section_name;
            found = found || inside;
            continue;
        }
        if (!inside) continue;
        const size_t equals = line.find('=');
        const auto problem = [&](const std::string& what) {
            problems << "gauge-host: " << path << ":" << number << ": " << what << ": " << trim(raw) << '\n';
        };
        if (equals == std::string::npos) {
            problem("not a key=value line");
            continue;
        }
        const std::string key = lower(trim(line.substr(0, equals)));
        const std::string value = trim(line.substr(equals + 1));
        const std::vector<std::string> fields = split_commas(value);
        if (key == "size_mm") {
            if (fields.size() != 2 || !parse_int(fields[0], 1, kMaxPanelSide, &result.width) ||
                !parse_int(fields[1], 1, kMaxPanelSide, &result.height)) {
                problem("size_mm needs two sizes from 1 to 16384");
                result.width = result.height = 0;
            }
        } else if (key == "file") {
            result.background = (std::filesystem::path(path).parent_path() / value).string();
        } else if (key.rfind("gauge", 0) == 0) {
            PanelGaugeLine gauge;
            gauge.line = number;
            const size_t bang = fields[0].find('!');
            gauge.module = trim(fields[0].substr(0, bang));
            if (bang != std::string::npos) gauge.gauge = trim(fields[0].substr(bang + 1));
            const bool sized = fields.size() < 4 || parse_int(fields[3], 1, kMaxPanelSide, &gauge.width);
            const bool tall = fields.size() < 5 || parse_int(fields[4], 1, kMaxPanelSide, &gauge.height);
            if (gauge.module.empty() || (bang != std::string::npos && gauge.gauge.empty()) || fields.size() < 3 ||
                fields.size() > 5 || !parse_int(fields[1], -kMaxPanelSide, kMaxPanelSide, &gauge.x) ||
                !parse_int(fields[2], -kMaxPanelSide, kMaxPanelSide, &gauge.y) || !sized || !tall) {
                problem("not module!gauge, x, y[, width[, height]]");
                continue;
            }
            result.gauges.push_back(gauge);
        }
    }
    if (!found) fail_usage(path + ": no section " + section_title);
    return result;
}

}  // namespace host
