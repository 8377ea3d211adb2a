// Whole pictures of the display as the host shows them, compared pixel for pixel with golden
// pictures that were looked at by eye once (tests/nav_display/golden; regenerate_golden.sh makes
// them afresh on purpose).
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "host_test_support.h"

namespace {

// Runs a script that ends with `snapshot picture.png` and reads the picture.
Picture run_script(const std::string& script, const std::string& format) {
    const std::string folder = test_folder();
    setenv("WIN32_STANDIN_PREFIX", ("golden" + std::to_string(getpid()) + "_").c_str(), 1);
    const HostRun run = run_host(
        {"run", GAUGES_DIR "/Vistrel.NDs.so", "--script", script, "--format", format, "--out", folder, "--sim-dir", folder});
    EXPECT_EQ(run.status, 0) << run.err;
    return read_png(folder + "/picture.png");
}

void expect_same_picture(const Picture& picture, const Picture& golden) {
    ASSERT_FALSE(golden.rgb.empty()) << "no golden picture";
    ASSERT_EQ(picture.width, golden.width);
    ASSERT_EQ(picture.height, golden.height);
    int differing = 0;
    std::string first;
    for (size_t i = 0; i < golden.rgb.size(); i += 3) {
        if (std::equal(golden.rgb.begin() + i, golden.rgb.begin() + i + 3, picture.rgb.begin() + i)) continue;
        if (differing++ == 0) {
            const size_t pixel = i / 3;
            first = "(" + std::to_string(pixel % golden.width) + ", " + std::to_string(pixel / golden.width) + ")";
        }
    }
    EXPECT_EQ(differing, 0) << "pixels differ, the first at " << first;
}

struct GoldenCase {
    const char* name;
    const char* format;
};

void PrintTo(const GoldenCase& c, std::ostream* out) { *out << c.name << ", " << c.format << "-bit panel"; }

class RenderGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(RenderGolden, PictureMatchesItsGoldenOne) {
    const GoldenCase& c = GetParam();
    const std::string golden = std::string(GOLDEN_DIR "/") + c.name;
    expect_same_picture(run_script(golden + ".txt", c.format), read_png(golden + "-" + c.format + ".png"));
}

std::vector<GoldenCase> golden_cases() {
    std::vector<GoldenCase> cases;
    for (const char* name : {"quiet_arc", "quiet_rose", "ils_approach", "vor_adf_cruise", "nav_flags_hidden"}) {
        for (const char* format : {"8", "16"}) cases.push_back({name, format});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Pictures, RenderGolden, testing::ValuesIn(golden_cases()),
                         [](const testing::TestParamInfo<GoldenCase>& info) {
                             return std::string(info.param.name) + "_" + info.param.format + "bit";
                         });

// A pass keeps nothing from the one before: forced again with the same values it draws the same.
TEST(RenderGoldenRepeat, PassesWithTheSameValuesDrawTheSamePicture) {
    const std::string script = write_script(
        "set 0x51 268.4\nset 0x2E int 0x81\nset 0x18 int 0x1090\nset 0x2F text IBTH\nset 0x2C 1\nset 0x162 2\nframe 2\n"
        "shared 0 NDMode=0\nframe 2\nset 0x51 12\nframe 2\nset 0x51 268.4\nshared 0 NDMode=1\nframe 2\n"
        "snapshot picture.png\n");
    const Picture again = run_script(script, "16");
    const std::string first_script = write_script(
        "set 0x51 268.4\nset 0x2E int 0x81\nset 0x18 int 0x1090\nset 0x2F text IBTH\nset 0x2C 1\nset 0x162 2\nframe 2\n"
        "snapshot picture.png\n");
    expect_same_picture(again, run_script(first_script, "16"));
}

}  // namespace
