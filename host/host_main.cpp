#include "host_main.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host_error.h"
#include "module_report.h"
#include "run.h"

namespace host {

namespace {

const char* const kUsage =
    "usage:\n"
    "  gauge-host inspect MODULE\n"
    "  gauge-host run MODULE[!GAUGE] --script FILE [--size WxH] [--sim-dir DIR] [--format 8|16] [--out DIR]\n"
    "  gauge-host panel PANEL.CFG [--window N] --script FILE [--gauges DIR] [--sim-dir DIR] [--format 8|16] [--out DIR]\n";

[[noreturn]] void bad_command_line(const std::string& message) { fail_usage(message + "\n" + kUsage); }

bool parse_size(const std::string& text, int* width, int* height) {
    int w = 0, h = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &rest) != 2 || w < 1 || h < 1 || w > 16384 || h > 16384) return false;
    *width = w;
    *height = h;
    return true;
}

// The options after `run MODULE[!GAUGE]` or `panel PANEL.CFG`; each command takes its own.
RunOptions parse_options(const std::vector<std::string>& args) {
    RunOptions options;
    const bool panel = args[0] == "panel";
    if (args.size() < 2 || args[1].empty() || args[1][0] == '-') bad_command_line(args[0] + (panel ? " needs a panel.cfg" : " needs a module"));
    if (panel) {
        options.panel_cfg = args[1];
    } else {
        const std::string& target = args[1];
        const size_t bang = target.rfind('!');
        options.module = target.substr(0, bang);
        if (bang != std::string::npos) {
            options.gauge = target.substr(bang + 1);
            if (options.gauge.empty() || options.module.empty()) bad_command_line("\"" + target + "\" is not MODULE!GAUGE");
        }
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
        } else if (option == "--size" && !panel) {
            if (!parse_size(value, &options.width, &options.height)) bad_command_line("--size takes WIDTHxHEIGHT, each from 1 to 16384");
        } else if (option == "--window" && panel) {
            if (value.empty() || value.size() > 2 || value.find_first_not_of("0123456789") != std::string::npos) {
                bad_command_line("--window takes a window number from 0 to 99");
            }
            options.window = std::stoi(value);
        } else if (option == "--gauges" && panel) {
            options.gauges_dir = value;
        } else {
            bad_command_line("unknown option \"" + option + "\" for " + args[0]);
        }
    }
    if (options.script.empty()) bad_command_line(args[0] + " needs --script FILE");
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
        if (args[0] == "run") return run_gauge(parse_options(args), out, err);
        if (args[0] == "panel") return run_panel(parse_options(args), out, err);
        bad_command_line("unknown command \"" + args[0] + "\"");
    } catch (const HostError& error) {
        err << "gauge-host: " << error.what() << '\n';
        return error.status;
    }
}

}  // namespace host
