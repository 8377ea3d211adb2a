// The host's script reader with any text: it either refuses with a usage error that names the file
// and line, or gives commands whose values the run may use as they are.
#include <string>

#include "fuzz_support.h"
#include "host_error.h"
#include "script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<host::ScriptCommand> commands;
    try {
        commands = host::parse_script(text, "flight.txt");
    } catch (const host::HostError& error) {
        require(error.status == host::EXIT_BAD_USAGE, "a script line is refused with another status than 2");
        require(std::string(error.what()).rfind("flight.txt:", 0) == 0, "a refusal does not name the file");
        return 0;
    }
    using Kind = host::ScriptCommand::Kind;
    int line = 0;
    for (const host::ScriptCommand& command : commands) {
        require(command.line > line, "commands are not in line order");
        line = command.line;
        switch (command.kind) {
            case Kind::set_number:
            case Kind::set_integer:
            case Kind::set_text:
            case Kind::set_null: require(command.id != 0, "a variable id of 0"); break;
            case Kind::frame: require(command.count <= 100000000, "a frame count beyond 100000000"); break;
            case Kind::key: require(command.virtual_key >= 1 && command.virtual_key <= 255, "a key beyond 1 to 255"); break;
            case Kind::shared:
                // The run copies the text and its NUL into the block without looking again.
                require(command.integer >= 0 && command.integer + command.text.size() + 1 <= host::kSharedBlockBytes,
                        "a shared text that does not fit in the block");
                break;
            case Kind::snapshot: require(!command.text.empty(), "a snapshot without a file name"); break;
            case Kind::click:
            case Kind::reinit:
            case Kind::dump_shared: break;
        }
    }
    return 0;
}
