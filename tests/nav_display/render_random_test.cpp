// Many passes of the display with random host variables, among them NaNs, infinities, numbers far
// beyond int, null, empty and long identifiers, any integer bits and any layout number that the
// shared block can carry. Under the sanitizers of the linux build, any undefined behaviour, any
// write past a buffer and any leak ends the run with a report.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "nd_panel.h"
#include "nd_var_ids.h"

namespace {

const double kNumbers[] = {
    0.0, -0.0, 1.0, -1.0, 0.5, -0.5, 359.5, 123.4, 270.4, 15.5, 30000, 29999.999, 127, 128, -0.9, 1e-300,
    2147483647.0, 2147483647.5, 2147483648.0, -2147483648.0, -2147483648.5, -2147483649.0, 4294967296.0,
    1e10, -1e10, 1e300, -1e300, std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest(),
    std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::denorm_min(),
};

const char kLong[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
const char* const kTexts[] = {nullptr, "", "A", "BTH", "IBTH", "NDBXY", "NDBXYZ", "ABCDEFGHIJKLMN", "ABCDEFGHIJKLMNO", kLong};

// What the shared block's mode field can hold after "NDMode=" (three bytes, any text), and the
// layout number the display reads from it.
const struct {
    const char* text;
    int mode;
} kModes[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"-1", -1}, {"-99", -99}, {"999", 999}, {"abc", 0}, {"+5", 5}, {" -7", -7}, {"3", 3}};

class RenderRandom : public NdPanelTest {
protected:
    std::mt19937 random{20021};

    template <typename T, size_t N>
    const T& pick(const T (&items)[N]) {
        return items[std::uniform_int_distribution<size_t>(0, N - 1)(random)];
    }

    double number() {
        // Mostly ordinary values, so that the symbols land on the picture too.
        if (random() % 3 == 0) return std::uniform_real_distribution<double>(-720, 720)(random);
        return pick(kNumbers);
    }

    int32_t integer() {
        const int32_t flags[] = {0, 1, 4, 5, 8, 0x80, 0x81, 0x89, 0x1090, -1, std::numeric_limits<int32_t>::min()};
        if (random() % 2 == 0) return static_cast<int32_t>(random());
        return pick(flags);
    }
};

// Most passes go to a small 8-bit picture, whose clearing and copying cost little; some to the
// display's own 16-bit picture of 256 x 256.
struct RandomRun {
    const char* what;
    ImageLayout layout;
    int passes;
};

void PrintTo(const RandomRun& run, std::ostream* out) { *out << run.what << " picture"; }

class RenderRandomRuns : public RenderRandom, public testing::WithParamInterface<RandomRun> {};

TEST_P(RenderRandomRuns, PassesWithAnyValuesCompleteCleanly) {
    background_layout = GetParam().layout;
    for (ImageLayout& layout : screen_layouts) layout = background_layout;
    const int passes = GetParam().passes;
    bring_up();
    frame();  // the first update opens the shared block
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, "NDPassData");
    ASSERT_NE(mapping, nullptr);
    char* block = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(block, nullptr);

    int draws = 0;
    int mode = 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t id : kNdNumberIds) set_number(id, number());
        for (uint32_t id : kNdIntegerIds) set_integer(id, integer());
        for (uint32_t id : kNdTextIds) set_text(id, pick(kTexts));
        // A layout number other than the last one, so that every pass draws.
        const auto* next = &pick(kModes);
        while (next->mode == mode) next = &pick(kModes);
        mode = next->mode;
        char field[10] = "NDMode=";
        std::memcpy(field + 7, next->text, std::strlen(next->text));
        std::memcpy(block, field, sizeof field);

        const double before = readings.back();
        frame();
        draws += readings.back() != before;
        calls.clear();
    }
    EXPECT_EQ(draws, passes - 1) << "the last pass shows at the next update";

    UnmapViewOfFile(block);
    CloseHandle(mapping);
    kill();
}

INSTANTIATE_TEST_SUITE_P(Layouts, RenderRandomRuns,
                         testing::Values(RandomRun{"small", {PANEL_IMAGE_8BIT, 64, 64, 0}, RANDOM_PASSES},
                                         RandomRun{"display", {PANEL_IMAGE_16BIT, 256, 256, 0}, RANDOM_PASSES / 50}),
                         [](const testing::TestParamInfo<RandomRun>& info) { return std::string(info.param.what); });

}  // namespace
