#include "host_test_support.h"

#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host_main.h"

HostRun run_host(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    HostRun run;
    run.status = host::host_main(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string test_folder() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "gauge-host-tests" / name;
    static std::string made;
    if (made != folder.string()) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        made = folder.string();
    }
    return folder.string();
}

std::string write_script(const std::string& text) {
    const std::string path = test_folder() + "/script.txt";
    std::ofstream(path) << text;
    return path;
}

std::string thumbwheel_module() { return GAUGES_DIR "/Corvanex_apvspeed.so"; }

std::string fixture_module(const std::string& name) { return FIXTURE_MODULES_DIR "/" + name + ".so"; }

std::vector<std::string> events(const HostRun& run) {
    std::vector<std::string> lines;
    std::istringstream stream(run.out);
    for (std::string line; std::getline(stream, line);) {
        if (line.rfind("event ", 0) == 0) lines.push_back(line);
    }
    return lines;
}

std::array<int, 3> Picture::at(int x, int y) const {
    const size_t i = 3 * (static_cast<size_t>(y) * width + x);
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

bool Picture::lit(int x, int y) const { return at(x, y) != std::array<int, 3>{0, 0, 0}; }

bool Picture::shows(std::array<int, 3> colour, int x0, int y0, int x1, int y1) const {
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (at(x, y) == colour) return true;
        }
    }
    return false;
}

Picture read_png(const std::string& path) {
    Picture picture;
    int channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 3);
    if (pixels != nullptr) {
        picture.rgb.assign(pixels, pixels + 3 * static_cast<size_t>(picture.width) * picture.height);
        stbi_image_free(pixels);
    }
    return picture;
}

StandInLiveObjects live_objects() {
    StandInLiveObjects counts{};
    standin_live_objects(&counts);
    return counts;
}

bool operator==(const StandInLiveObjects& a, const StandInLiveObjects& b) {
    return a.pens == b.pens && a.brushes == b.brushes && a.fonts == b.fonts && a.device_contexts == b.device_contexts &&
           a.directdraw_objects == b.directdraw_objects && a.surfaces == b.surfaces && a.palettes == b.palettes &&
           a.file_mappings == b.file_mappings && a.file_views == b.file_views &&
           a.library_references == b.library_references;
}

std::ostream& operator<<(std::ostream& out, const StandInLiveObjects& c) {
    return out << "pens " << c.pens << ", brushes " << c.brushes << ", fonts " << c.fonts << ", DCs " << c.device_contexts
               << ", DirectDraw " << c.directdraw_objects << ", surfaces " << c.surfaces << ", palettes " << c.palettes
               << ", mappings " << c.file_mappings << ", views " << c.file_views << ", libraries " << c.library_references;
}
