// The display-mode key from the simulator's configuration: any bytes as FS2002.cfg. The code and
// the modifiers stay as they were when no line starts with PANEL_9=, and otherwise hold the numbers
// of the first such line.
#include <climits>
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "nd_state.h"

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The number at the start of a field: blanks, a sign, digits; held at the ends of int.
int64_t field_number(const std::string& field) {
    size_t at = 0;
    while (at < field.size() && blank(field[at])) ++at;
    const bool negative = at < field.size() && field[at] == '-';
    if (at < field.size() && (field[at] == '-' || field[at] == '+')) ++at;
    int64_t value = 0;
    for (; at < field.size() && field[at] >= '0' && field[at] <= '9'; ++at) {
        value = std::min<int64_t>(value * 10 + (field[at] - '0'), int64_t{INT_MAX} + 1);
    }
    return negative ? -value : std::min<int64_t>(value, INT_MAX);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    enter_scratch_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::ofstream("FS2002.cfg", std::ios::binary | std::ios::trunc) << text;

    constexpr int kUntouched = -12345;
    int code = kUntouched;
    int modifiers = kUntouched;
    read_sim_config_key("PANEL_9=", &code, &modifiers);

    // Lines as the simulator's file has them: blanks before a line belong to no line, and a line
    // keeps at most 259 characters.
    size_t at = 0;
    for (;;) {
        while (at < text.size() && blank(text[at])) ++at;
        if (at == text.size()) break;
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = text.substr(at, std::min<size_t>(end - at, 259));
        at = end;
        if (line.rfind("PANEL_9=", 0) != 0) continue;
        const std::string value = line.substr(8);
        const size_t comma = value.find(',');
        require(code == field_number(value), "the key code is not the line's number");
        require(modifiers == (comma == std::string::npos ? 0 : field_number(value.substr(comma + 1))),
                "the modifiers are not the number after the line's comma");
        return 0;
    }
    require(code == kUntouched && modifiers == kUntouched, "a file without PANEL_9= changed the key");
    return 0;
}
