#include "run.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host_support.h"
#include "panel.h"
#include "png_output.h"
#include "script.h"
#include "win32.h"

namespace host {

namespace fs = std::filesystem;

namespace {

std::string read_script(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) fail_usage(path + ": cannot read the script");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The shared block as another module sees it: opened, or created, by name and kept open for the run.
class SharedBlock {
public:
    ~SharedBlock() {
        if (view_ != nullptr) UnmapViewOfFile(view_);
        if (mapping_ != nullptr) CloseHandle(mapping_);
    }

    bool open(bool create) {
        if (view_ != nullptr) return true;
        mapping_ = create ? CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSharedBlockBytes, kSharedBlockName)
                          : OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kSharedBlockName);
        if (mapping_ == nullptr) return false;
        view_ = static_cast<char*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, kSharedBlockBytes));
        return view_ != nullptr;
    }

    char* bytes() const { return view_; }

private:
    HANDLE mapping_ = nullptr;
    char* view_ = nullptr;
};

// Keys pressed by the script stay down through the next frame, then go up.
class Keyboard {
public:
    ~Keyboard() { release(); }

    bool press(int virtual_key) {
        if (!platform_set_key_down(virtual_key, true)) return false;
        held_.push_back(virtual_key);
        return true;
    }

    void release() {
        for (int key : held_) platform_set_key_down(key, false);
        held_.clear();
    }

private:
    std::vector<int> held_;
};

class ScriptRun {
public:
    ScriptRun(const RunOptions& options, std::ostream& out, std::ostream& err)
        : options_(options), out_(out), err_(err), panel_(out, options.format) {}

    void bring_up(const std::string& module_path) {
        LoadedModule& module = panel_.load_module(module_path);
        gauge_ = &panel_.add_gauge(module, module.gauge(options_.gauge));
        gauge_->bring_up();
    }

    void execute(const ScriptCommand& command) {
        using Kind = ScriptCommand::Kind;
        HostVariables& variables = panel_.variables();
        switch (command.kind) {
            case Kind::set_number: variables.set_number(command.id, command.number); break;
            case Kind::set_integer: variables.set_integer(command.id, command.integer); break;
            case Kind::set_text: variables.set_text(command.id, command.text); break;
            case Kind::set_null: variables.set_null_text(command.id); break;
            case Kind::frame:
                for (uint32_t i = 0; i < command.count; ++i) {
                    gauge_->frame();
                    keyboard_.release();
                }
                break;
            case Kind::key: press(command); break;
            case Kind::click: gauge_->click(command.x, command.y); break;
            case Kind::reinit: gauge_->reinitialize(); break;
            case Kind::snapshot: snapshot(command); break;
            case Kind::shared: write_shared(command); break;
            case Kind::dump_shared: dump_shared(); break;
        }
    }

    void close() { panel_.close(); }

private:
    void press(const ScriptCommand& command) {
        const bool pressed = (!command.shift || keyboard_.press(VK_SHIFT)) && (!command.ctrl || keyboard_.press(VK_CONTROL)) &&
                             keyboard_.press(command.virtual_key);
        if (!pressed) fail_usage(where(command) + "this platform's keyboard cannot be driven by the host");
    }

    void snapshot(const ScriptCommand& command) {
        std::vector<Rgb> canvas;
        gauge_->compose(&canvas);
        const fs::path path = fs::path(options_.out_dir) / command.text;
        std::error_code ignored;
        if (path.has_parent_path()) fs::create_directories(path.parent_path(), ignored);
        if (!write_png(path.string(), gauge_->width(), gauge_->height(), canvas)) {
            throw HostError(EXIT_OUTPUT_FAILED, where(command) + "cannot write " + path.string());
        }
    }

    void write_shared(const ScriptCommand& command) {
        if (!shared_.open(true)) fail_usage(where(command) + "cannot open the shared block \"NDPassData\"");
        std::copy(command.text.begin(), command.text.end(), shared_.bytes() + command.integer);
        shared_.bytes()[command.integer + command.text.size()] = '\0';
    }

    void dump_shared() {
        if (!shared_.open(false)) {
            err_ << "gauge-host: dump-shared: no shared block \"NDPassData\" exists yet\n";
            return;
        }
        out_ << "shared ";
        for (int i = 0; i < kSharedBlockBytes; ++i) {
            char pair[3];
            std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(shared_.bytes()[i]));
            out_ << pair;
        }
        out_ << std::endl;
    }

    std::string where(const ScriptCommand& command) const {
        return options_.script + ":" + std::to_string(command.line) + ": ";
    }

    const RunOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    SharedBlock shared_;
    Keyboard keyboard_;
    Panel panel_;
    Gauge* gauge_ = nullptr;
};

}  // namespace

int run_gauge(const RunOptions& options, std::ostream& out, std::ostream& err) {
    const std::vector<ScriptCommand> commands = parse_script(read_script(options.script), options.script);
    // Paths given on the command line are the caller's; the gauge runs in the simulator's folder.
    RunOptions resolved = options;
    resolved.module = fs::absolute(options.module).string();
    resolved.out_dir = fs::absolute(options.out_dir).string();
    std::error_code error;
    if (!fs::is_directory(options.sim_dir, error)) fail_usage(options.sim_dir + ": no such simulator folder");
    const fs::path caller_dir = fs::current_path();
    fs::current_path(options.sim_dir);
    struct ReturnToCaller {
        fs::path dir;
        ~ReturnToCaller() {
            std::error_code ignored;
            fs::current_path(dir, ignored);
        }
    } return_to_caller{caller_dir};

    ScriptRun run(resolved, out, err);
    run.bring_up(resolved.module);
    for (const ScriptCommand& command : commands) run.execute(command);
    run.close();
    return EXIT_DONE;
}

}  // namespace host
