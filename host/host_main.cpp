#include "host_main.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host_error.h"
#include "inspect.h"
#include "run.h"

namespace host {

namespace {

const char* const kUsage =
    "usage:\n"
    "  gauge-host inspect MODULE\n"
    "  gauge-host run MODULE[!GAUGE] --script FILE [--sim-dir DIR] [--format 8|16] [--out DIR]\n";

[[noreturn]] void bad_command_line(const std::string& message) { fail_usage(message + "\n" + kUsage); }

RunOptions parse_run(const std::vector<std::string>& args) {
    RunOptions options;
    if (args.size() < 2 || args[1].empty() || args[1][0] == '-') bad_command_line("run needs a module");
    const std::string& target = args[1];
    const size_t bang = target.rfind('!');
    options.module = target.substr(0, bang);
    if (bang != std::string::npos) {
        options.gauge = target.substr(bang + 1);
        if (options.gauge.empty() || options.module.empty()) bad_command_line("\"" + target + "\" is not MODULE!GAUGE");
    }
    for (size_t i = 2; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) bad_command_line(option + " needs a value");
        const std::string& value = args[i + 1];
        if (option == "--script") {
            options.script = value;
        } else if (option == "--sim-dir") {
            options.sim_dir = value;
        } else if (option == "--out") {
            options.out_dir = value;
        } else if (option == "--format") {
            if (value != "8" && value != "16") bad_command_line("--format takes 8 or 16");
            options.format = value == "8" ? PANEL_IMAGE_8BIT : PANEL_IMAGE_16BIT;
        } else {
            bad_command_line("unknown option \"" + option + "\"");
        }
    }
    if (options.script.empty()) bad_command_line("run needs --script FILE");
    return options;
}

}  // namespace

int host_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
            out << kUsage;
            return EXIT_DONE;
        }
        if (args.empty()) bad_command_line("no command given");
        if (args[0] == "inspect") {
            if (args.size() != 2) bad_command_line("inspect takes one module");
            inspect_module(args[1], out);
            return EXIT_DONE;
        }
        if (args[0] == "run") return run_gauge(parse_run(args), out, err);
        bad_command_line("unknown command \"" + args[0] + "\"");
    } catch (const HostError& error) {
        err << "gauge-host: " << error.what() << '\n';
        return error.status;
    }
}

}  // namespace host
