// The host's script language: one command a line, '#' starts a comment.
#ifndef HOST_SCRIPT_H
#define HOST_SCRIPT_H

#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct ScriptCommand {
    enum class Kind { set_number, set_integer, set_text, set_null, frame, key, click, reinit, snapshot, shared, dump_shared };
    Kind kind = Kind::frame;
    int line = 0;
    uint32_t id = 0;        // set
    double number = 0;      // set ID NUMBER
    int32_t integer = 0;    // set ID int N; shared OFFSET
    std::string text;       // set ID text; snapshot FILE; shared TEXT
    uint32_t count = 1;     // frame
    int virtual_key = 0;    // key
    bool shift = false;
    bool ctrl = false;
    int x = 0, y = 0;       // click
};

// Size of the named block that the navigation display shares with other modules.
constexpr int kSharedBlockBytes = 60;
constexpr const char* kSharedBlockName = "NDPassData";

// Parses a whole script; throws HostError (exit status 2) naming the file and line of the first
// line it does not understand.
std::vector<ScriptCommand> parse_script(const std::string& text, const std::string& file_name);

class HostVariables;

// A `set` command: the variable it names takes its value. Any other command changes nothing.
void apply_setting(const ScriptCommand& command, HostVariables& variables);

}  // namespace host

#endif
