// The display shown at sizes other than its own: it reads its size from its picture, so its layout
// and its scaled font follow the size at which the panel shows it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "host_test_support.h"

namespace {

std::vector<std::string> journal_lines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(DisplaySize, LayoutAndScaledFontFollowTheShownSize) {
    const struct {
        const char* size;
        const char* surface;
        const char* scaled_font;
        const char* compass;  // the arc layout's circle: centre (W / 2, H * 85 / 100), radius centre - 17
    } cases[] = {
        {"256x256", "CreateSurface 4111 256 256 512", "CreateFontIndirectA -9 \"Arial\"", "Arc -72 17 328 417 -72 217 -72 217"},
        {"200x200", "CreateSurface 4111 200 200 400", "CreateFontIndirectA -9 \"Arial\"", "Arc -53 17 253 323 -53 170 -53 170"},
        {"150x150", "CreateSurface 4111 150 150 300", "CreateFontIndirectA -9 \"Arial\"", "Arc -35 17 185 237 -35 127 -35 127"},
        {"149x149", "CreateSurface 4111 149 149 298", "CreateFontIndirectA -8 \"Arial\"", "Arc -35 17 183 235 -35 126 -35 126"},
    };
    for (const auto& c : cases) {
        const std::string folder = test_folder() + "/" + c.size;
        std::filesystem::create_directories(folder + "/Gauges");
        const std::string journal = folder + "/journal.txt";
        setenv("WIN32_STANDIN_PREFIX", ("nd-size-" + std::to_string(getpid()) + "-" + c.size + "-").c_str(), 1);
        setenv("WIN32_STANDIN_JOURNAL", journal.c_str(), 1);
        const HostRun run = run_host({"run", GAUGES_DIR "/Vistrel.NDs.so", "--size", c.size, "--sim-dir", folder, "--script",
                                      write_script("frame\nset 0x51 10\nframe 2\n")});
        unsetenv("WIN32_STANDIN_JOURNAL");
        ASSERT_EQ(run.status, 0) << run.err;
        const std::vector<std::string> lines = journal_lines(journal);
        const auto surface = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(c.surface, 0) == 0; });
        EXPECT_NE(surface, lines.end()) << c.size;
        // The large and medium fonts keep their sizes; the third is the scaled one.
        std::vector<std::string> fonts;
        std::copy_if(lines.begin(), lines.end(), std::back_inserter(fonts),
                     [](const std::string& line) { return line.rfind("CreateFontIndirectA", 0) == 0; });
        ASSERT_EQ(fonts.size(), 3u) << c.size;
        EXPECT_EQ(fonts[0], "CreateFontIndirectA -11 \"Arial\"");
        EXPECT_EQ(fonts[1], "CreateFontIndirectA -9 \"Arial\"");
        EXPECT_EQ(fonts[2], c.scaled_font) << c.size;
        EXPECT_TRUE(has(lines, c.compass)) << c.size;
    }
}

}  // namespace
