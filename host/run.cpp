#include "run.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>

#include "host_support.h"
#include "panel.h"
#include "panel_config.h"
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
        if (view_ == nullptr) {
            CloseHandle(mapping_);
            mapping_ = nullptr;
        }
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
    // A run starts with every key up and no press pending: a press that an earlier run in this
    // process left unread would otherwise reach this run's gauges.
    Keyboard() { platform_reset_keyboard(); }
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

// A gauge at its place on the panel, in panel pixels.
struct PlacedGauge {
    Gauge* gauge;
    int x, y;
};

// The gauges of one panel window on one timeline, driven by a script.
class ScriptRun {
public:
    ScriptRun(const RunOptions& options, std::ostream& out, std::ostream& err)
        : options_(options), out_(out), err_(err), panel_(out, options.format) {}

    LoadedModule& load(const std::string& path) { return panel_.load_module(path); }

    void place(LoadedModule& module, GaugeHeader* header, int x, int y, int width, int height) {
        Gauge& gauge = panel_.add_gauge(module, header, width, height);
        gauge.bring_up();
        placed_.push_back({&gauge, x, y});
    }

    // The panel is as large as the window says, or else as its background, or else as its gauges.
    void set_size(int width, int height, const IndexedBitmap* background) {
        if (background != nullptr) background_ = *background;
        width_ = width > 0 ? width : background != nullptr ? background->width : 0;
        height_ = height > 0 ? height : background != nullptr ? background->height : 0;
        for (const PlacedGauge& placed : placed_) {
            if (width <= 0 && background == nullptr) width_ = std::max(width_, placed.x + placed.gauge->width());
            if (height <= 0 && background == nullptr) height_ = std::max(height_, placed.y + placed.gauge->height());
        }
    }

    void execute(const ScriptCommand& command) {
        using Kind = ScriptCommand::Kind;
        switch (command.kind) {
            case Kind::set_number:
            case Kind::set_integer:
            case Kind::set_text:
            case Kind::set_null: apply_setting(command, panel_.variables()); break;
            case Kind::frame:
                for (uint32_t i = 0; i < command.count; ++i) {
                    for (const PlacedGauge& placed : placed_) placed.gauge->frame();
                    keyboard_.release();
                }
                break;
            case Kind::key: press(command); break;
            case Kind::click: click(command.x, command.y); break;
            case Kind::reinit:
                for (const PlacedGauge& placed : placed_) placed.gauge->reinitialize();
                break;
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

    // The click goes to the topmost gauge under it: the last one placed.
    void click(int x, int y) {
        for (auto placed = placed_.rbegin(); placed != placed_.rend(); ++placed) {
            const int gauge_x = x - placed->x;
            const int gauge_y = y - placed->y;
            if (gauge_x >= 0 && gauge_y >= 0 && gauge_x < placed->gauge->width() && gauge_y < placed->gauge->height()) {
                placed->gauge->click(gauge_x, gauge_y);
                return;
            }
        }
    }

    void snapshot(const ScriptCommand& command) {
        Canvas canvas(width_, height_);
        if (background_) {
            const IndexedBitmap scaled = scale_bitmap(*background_, width_, height_);
            for (size_t i = 0; i < canvas.pixels.size(); ++i) canvas.pixels[i] = scaled.palette[scaled.indices[i]];
        }
        for (const PlacedGauge& placed : placed_) placed.gauge->compose(&canvas, placed.x, placed.y);
        const fs::path path = fs::path(options_.out_dir) / command.text;
        std::error_code ignored;
        if (path.has_parent_path()) fs::create_directories(path.parent_path(), ignored);
        if (!write_png(path.string(), canvas.width, canvas.height, canvas.pixels)) {
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
    std::vector<PlacedGauge> placed_;
    std::optional<IndexedBitmap> background_;
    int width_ = 0;
    int height_ = 0;
};

// Runs the script in the simulator's folder, from which the gauges read their files; paths given on
// the command line are the caller's and are resolved first.
template <typename BringUp>
int run_script(const RunOptions& options, std::ostream& out, std::ostream& err, BringUp bring_up) {
    const std::vector<ScriptCommand> commands = parse_script(read_script(options.script), options.script);
    RunOptions resolved = options;
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
    bring_up(run, caller_dir);
    for (const ScriptCommand& command : commands) run.execute(command);
    run.close();
    return EXIT_DONE;
}

// An 8-bit BMP file, for a panel's background.
std::optional<IndexedBitmap> read_bmp_file(const std::string& path, std::string* reason) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file.good() && !file.eof()) {
        *reason = "cannot be read";
        return std::nullopt;
    }
    if (bytes.size() < 14 || bytes[0] != 'B' || bytes[1] != 'M') {
        *reason = "not a BMP file";
        return std::nullopt;
    }
    IndexedBitmap bitmap;
    if (!decode_bitmap(bytes.data() + 14, bytes.size() - 14, &bitmap, reason)) return std::nullopt;
    return bitmap;
}

// A module of a panel: NAME.gau, or the Linux build's NAME.so, whichever loads.
LoadedModule& load_panel_module(ScriptRun& run, const fs::path& folder, const std::string& name) {
    std::optional<HostError> first_error;
    for (const char* extension : {".gau", ".so"}) {
        const fs::path file = folder / (name + extension);
        std::error_code ignored;
        if (!fs::exists(file, ignored)) continue;
        try {
            return run.load(file.string());
        } catch (const HostError& error) {
            if (!first_error) first_error = error;
        }
    }
    if (first_error) throw *first_error;
    fail_module("no module " + name + ".gau or " + name + ".so in " + folder.string());
}

}  // namespace

int run_gauge(const RunOptions& options, std::ostream& out, std::ostream& err) {
    return run_script(options, out, err, [&](ScriptRun& run, const fs::path& caller_dir) {
        LoadedModule& module = run.load((caller_dir / options.module).string());
        run.place(module, module.gauge(options.gauge), 0, 0, options.width, options.height);
        run.set_size(0, 0, nullptr);
    });
}

int run_panel(const RunOptions& options, std::ostream& out, std::ostream& err) {
    const PanelWindow window = read_panel_window(options.panel_cfg, options.window, err);
    const fs::path gauges_dir = fs::absolute(options.gauges_dir);
    std::optional<IndexedBitmap> background;
    if (!window.background.empty()) {
        std::string reason;
        background = read_bmp_file(fs::absolute(window.background).string(), &reason);
        if (!background) err << "gauge-host: " << options.panel_cfg << ": background " << window.background << ": " << reason << '\n';
    }
    return run_script(options, out, err, [&](ScriptRun& run, const fs::path&) {
        std::map<std::string, LoadedModule*> modules;
        for (const PanelGaugeLine& line : window.gauges) {
            const std::string where = options.panel_cfg + ":" + std::to_string(line.line) + ": ";
            try {
                LoadedModule*& module = modules[line.module];
                if (module == nullptr) module = &load_panel_module(run, gauges_dir, line.module);
                run.place(*module, module->gauge(line.gauge), line.x, line.y, line.width, line.height);
            } catch (const HostError& error) {
                if (error.status != EXIT_BAD_MODULE) throw;
                modules.erase(line.module);
                err << "gauge-host: " << where << error.what() << " (the rest of the panel runs)\n";
            }
        }
        run.set_size(window.width, window.height, background ? &*background : nullptr);
    });
}

}  // namespace host
