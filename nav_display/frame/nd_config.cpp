// The display-mode key follows the simulator's own key assignment PANEL_9, read from the first
// simulator configuration file in the current folder (the simulator's) that opens.
#include <limits.h>
#include <string.h>

#include "nd_state.h"

#define CONFIG_LINE_BYTES 260
#define CONFIG_KEY_CHARACTERS 8

static const char* const config_files[] = {"FS2002.cfg", "FS2000.cfg", "Fltsim98.cfg"};

static bool is_blank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int read_decimal(const char* text, size_t length) {
    size_t at = 0;
    while (at < length && is_blank(static_cast<unsigned char>(text[at]))) ++at;
    bool negative = false;
    if (at < length && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; at < length && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > limit) value = limit;
    }
    return static_cast<int>(negative ? -value : value);
}

// The next line of the file into line (CONFIG_LINE_BYTES bytes): white space before it is skipped,
// so blank lines and indentation belong to no line; the line runs to its line break, of which only
// the first CONFIG_LINE_BYTES - 1 characters are kept. Returns the length kept, or -1 at the end.
static int next_line(FILE* file, char* line) {
    int c = fgetc(file);
    while (c != EOF && is_blank(c)) c = fgetc(file);
    if (c == EOF) return -1;
    int length = 0;
    for (; c != EOF && c != '\n'; c = fgetc(file)) {
        if (length < CONFIG_LINE_BYTES - 1) line[length++] = static_cast<char>(c);
    }
    line[length] = '\0';
    return length;
}

// A matching line is the key, the code, a comma and the modifiers ("PANEL_9=9,8"). The first one
// in the file counts, in whatever section it stands; without a comma the modifiers are 0.
void read_sim_config_key(const char* key, int* code, int* modifiers) {
    FILE* file = nullptr;
    for (const char* name : config_files) {
        file = fopen(name, "r");
        if (file != nullptr) break;
    }
    if (file == nullptr) return;
    size_t key_length = 0;
    while (key_length < CONFIG_KEY_CHARACTERS && key[key_length] != '\0') ++key_length;
    char line[CONFIG_LINE_BYTES];
    for (int length = next_line(file, line); length >= 0; length = next_line(file, line)) {
        const size_t size = static_cast<size_t>(length);
        if (size < key_length || memcmp(line, key, key_length) != 0) continue;
        const char* value = line + key_length;
        const char* end = line + size;
        *code = read_decimal(value, static_cast<size_t>(end - value));
        const char* comma = static_cast<const char*>(memchr(value, ',', static_cast<size_t>(end - value)));
        *modifiers = comma != nullptr ? read_decimal(comma + 1, static_cast<size_t>(end - comma - 1)) : 0;
        break;
    }
    fclose(file);
}
