#include "script.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <sstream>

#include "host_error.h"
#include "variables.h"

namespace host {

namespace {

constexpr uint32_t kMaxFrames = 100000000;

struct LineReader {
    std::string rest;  // what is left of the line after the words read so far

    // The next word, or "" at the end of the line.
    std::string word() {
        const size_t start = rest.find_first_not_of(" \t");
        if (start == std::string::npos) {
            rest.clear();
            return "";
        }
        const size_t end = rest.find_first_of(" \t", start);
        std::string result = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
        rest = end == std::string::npos ? "" : rest.substr(end);
        return result;
    }

    // Everything left on the line, without the space around it.
    std::string remainder() {
        const size_t start = rest.find_first_not_of(" \t");
        const size_t end = rest.find_last_not_of(" \t");
        return start == std::string::npos ? "" : rest.substr(start, end - start + 1);
    }
};

// Whole numbers in decimal or 0x hex, within [low, high].
bool parse_integer(const std::string& text, int64_t low, int64_t high, int64_t* value) {
    if (text.empty()) return false;
    const bool negative = text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    const bool hex = digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    const std::string body = hex ? digits.substr(2) : digits;
    if (body.empty() || body.size() > 16) return false;
    for (char c : body) {
        if (!(hex ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c)))) return false;
    }
    const uint64_t magnitude = std::strtoull(body.c_str(), nullptr, hex ? 16 : 10);
    if (magnitude > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return false;
    *value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return *value >= low && *value <= high;
}

bool parse_number(const std::string& text, double* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    *value = std::strtod(text.c_str(), &end);
    return *end == '\0' && errno != ERANGE;
}

// A snapshot file stays inside the output folder.
bool safe_relative_path(const std::string& text) {
    const std::filesystem::path path(text);
    if (text.empty() || path.has_root_path() || path.has_root_name()) return false;
    for (const auto& part : path) {
        if (part == "..") return false;
    }
    return true;
}

ScriptCommand parse_line(LineReader& line) {
    ScriptCommand command;
    const std::string verb = line.word();
    int64_t value = 0;
    if (verb == "set") {
        const std::string id = line.word();
        if (!parse_integer(id, 1, 0xFFFFFFFF, &value)) throw std::invalid_argument("variable id \"" + id + "\" is not a number from 1 to 0xFFFFFFFF");
        command.id = static_cast<uint32_t>(value);
        const std::string what = line.word();
        if (what != "text" && what != "null" && is_text_variable(command.id)) {
            throw std::invalid_argument("variable " + id + " holds a text: set it with text or null");
        }
        if (what == "int") {
            const std::string n = line.word();
            if (!parse_integer(n, std::numeric_limits<int32_t>::min(), 0xFFFFFFFF, &value)) {
                throw std::invalid_argument("\"" + n + "\" is not a 32-bit integer");
            }
            command.kind = ScriptCommand::Kind::set_integer;
            command.integer = static_cast<int32_t>(static_cast<uint32_t>(value));
        } else if (what == "text") {
            command.kind = ScriptCommand::Kind::set_text;
            command.text = line.remainder();
            line.rest.clear();
        } else if (what == "null") {
            command.kind = ScriptCommand::Kind::set_null;
        } else {
            if (!parse_number(what, &command.number)) throw std::invalid_argument("\"" + what + "\" is not a number, int, text or null");
            command.kind = ScriptCommand::Kind::set_number;
        }
    } else if (verb == "frame") {
        const std::string n = line.word();
        if (!n.empty()) {
            if (!parse_integer(n, 0, kMaxFrames, &value)) throw std::invalid_argument("frame count \"" + n + "\" is not from 0 to 100000000");
            command.count = static_cast<uint32_t>(value);
        }
        command.kind = ScriptCommand::Kind::frame;
    } else if (verb == "key") {
        const std::string key = line.word();
        if (key == "tab") {
            command.virtual_key = 0x09;
        } else if (parse_integer(key, 1, 255, &value)) {
            command.virtual_key = static_cast<int>(value);
        } else {
            throw std::invalid_argument("key \"" + key + "\" is neither tab nor a virtual-key code from 1 to 255");
        }
        for (std::string modifier = line.word(); !modifier.empty(); modifier = line.word()) {
            bool& held = modifier == "shift" ? command.shift : command.ctrl;
            if ((modifier != "shift" && modifier != "ctrl") || held) throw std::invalid_argument("unexpected \"" + modifier + "\" after the key");
            held = true;
        }
        command.kind = ScriptCommand::Kind::key;
    } else if (verb == "click") {
        const std::string x = line.word();
        const std::string y = line.word();
        int64_t vx = 0, vy = 0;
        if (!parse_integer(x, -1000000, 1000000, &vx) || !parse_integer(y, -1000000, 1000000, &vy)) {
            throw std::invalid_argument("click needs two pixel coordinates");
        }
        command.kind = ScriptCommand::Kind::click;
        command.x = static_cast<int>(vx);
        command.y = static_cast<int>(vy);
    } else if (verb == "reinit") {
        command.kind = ScriptCommand::Kind::reinit;
    } else if (verb == "snapshot") {
        command.text = line.remainder();
        line.rest.clear();
        if (!safe_relative_path(command.text)) throw std::invalid_argument("snapshot needs a file name inside the output folder");
        command.kind = ScriptCommand::Kind::snapshot;
    } else if (verb == "shared") {
        const std::string offset = line.word();
        if (!parse_integer(offset, 0, kSharedBlockBytes - 1, &value)) throw std::invalid_argument("offset \"" + offset + "\" is not from 0 to 59");
        command.integer = static_cast<int32_t>(value);
        command.text = line.remainder();
        line.rest.clear();
        if (command.integer + command.text.size() + 1 > kSharedBlockBytes) {
            throw std::invalid_argument("the text and its NUL do not fit in the 60-byte block at that offset");
        }
        command.kind = ScriptCommand::Kind::shared;
    } else if (verb == "dump-shared") {
        command.kind = ScriptCommand::Kind::dump_shared;
    } else {
        throw std::invalid_argument("unknown command \"" + verb + "\"");
    }
    const std::string extra = line.word();
    if (!extra.empty()) throw std::invalid_argument("unexpected \"" + extra + "\" at the end of the line");
    return command;
}

}  // namespace

std::vector<ScriptCommand> parse_script(const std::string& text, const std::string& file_name) {
    std::vector<ScriptCommand> commands;
    std::istringstream lines(text);
    std::string raw;
    for (int number = 1; std::getline(lines, raw); ++number) {
        std::string content = raw.substr(0, raw.find('#'));
        if (!content.empty() && content.back() == '\r') content.pop_back();
        LineReader line{content};
        if (line.remainder().empty()) continue;
        try {
            ScriptCommand command = parse_line(line);
            command.line = number;
            commands.push_back(std::move(command));
        } catch (const std::invalid_argument& error) {
            fail_usage(file_name + ":" + std::to_string(number) + ": " + error.what() + ": " + raw);
        }
    }
    return commands;
}

void apply_setting(const ScriptCommand& command, HostVariables& variables) {
    using Kind = ScriptCommand::Kind;
    switch (command.kind) {
        case Kind::set_number: variables.set_number(command.id, command.number); break;
        case Kind::set_integer: variables.set_integer(command.id, command.integer); break;
        case Kind::set_text: variables.set_text(command.id, command.text); break;
        case Kind::set_null: variables.set_null_text(command.id); break;
        default: break;
    }
}

}  // namespace host
