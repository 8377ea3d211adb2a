// The airspeed module's records as the simulator reads them, and its two value callbacks.
#include <cmath>
#include <limits>

#include "airspeed_module.h"

namespace {

uint32_t address_of(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

// Offsets within a record that hold the given words; every other word of [0, size) must be 0.
struct Words {
    size_t size;
    std::vector<std::pair<size_t, uint32_t>> set;
};

void expect_words(const char* name, const void* record, const Words& words) {
    for (size_t offset = 0; offset < words.size; offset += 4) {
        uint32_t expected = 0;
        for (const auto& [at, value] : words.set) {
            if (at == offset) expected = value;
        }
        EXPECT_EQ(word_at(record, offset), expected) << name << " offset " << offset;
    }
}

TEST_F(AirspeedModule, RecordsAreTheSimulatorsBytes) {
    if (sizeof(void*) != 4) GTEST_SKIP() << "the simulator's byte layout needs 4-byte pointers";
    const uint32_t h = address_of(header);
    const uint32_t callback_word = address_of(reinterpret_cast<void*>(header->gauge_callback));
    expect_words("Linkage", linkage,
                 {32, {{0, 0x13}, {4, address_of(reinterpret_cast<void*>(linkage->module_init))},
                       {8, address_of(reinterpret_cast<void*>(linkage->module_deinit))}, {20, 0x800}, {24, h}}});
    // The header and the 108 zero bytes after it.
    expect_words("header", header,
                 {88 + 108, {{0, 0x320}, {4, word_at(header, 4)}, {8, word_at(header, 8)}, {44, 100},
                             {80, address_of(header->mouse_rect)}, {84, callback_word}}});
    EXPECT_STREQ(header->gauge_name, "DRAVETS");
    EXPECT_EQ(word_at(header, 8), address_of(header->element_list));
    EXPECT_EQ(header->element_list[0], background);

    // Background, then its 16 zero bytes.
    expect_words("background", background,
                 {80 + 16, {{4, 4352}, {32, h}, {40, address_of(background->next_elements)},
                            {44, address_of(background->failures)}, {48, 0x83}}});
    expect_words("dial", dial,
                 {140, {{0, 4}, {4, 4608}, {32, h}, {40, address_of(dial->header.next_elements)},
                        {44, address_of(dial->header.failures)}, {48, 0x83}, {92, 3}, {112, 2},
                        {132, address_of(reinterpret_cast<void*>(dial->value_callback))}}});
    expect_words("needle", needle,
                 {236, {{0, 1}, {4, 4864}, {8, 90}, {12, 90}, {24, 32}, {28, 9}, {32, h},
                        {44, address_of(needle->header.failures)}, {48, 0x83}, {60, 61},
                        {112, address_of(needle->scale_table)}, {116, 11},
                        {224, address_of(reinterpret_cast<void*>(needle->value_callback))}}});
    for (const ElementHeader* element : {background, &dial->header, &needle->header}) {
        expect_words("failure list", element->failures, {12, {}});
    }
    EXPECT_NE(background->failures, dial->header.failures);
    EXPECT_NE(dial->header.failures, needle->header.failures);

    const int rows[11][3] = {{106, 23, 40},  {140, 40, 60},  {163, 75, 80},  {159, 117, 100}, {132, 155, 120}, {88, 162, 140},
                             {57, 152, 160}, {35, 130, 180}, {24, 103, 200}, {36, 52, 250},   {74, 25, 300}};
    for (int row = 0; row < 11; ++row) {
        const void* point = reinterpret_cast<const char*>(needle->scale_table) + 24 * row;
        double value;
        std::memcpy(&value, static_cast<const char*>(point) + 8, sizeof value);
        EXPECT_EQ(static_cast<int32_t>(word_at(point, 0)), rows[row][0]) << "row " << row;
        EXPECT_EQ(static_cast<int32_t>(word_at(point, 4)), rows[row][1]) << "row " << row;
        EXPECT_EQ(value, rows[row][2]) << "row " << row;
        EXPECT_EQ(word_at(point, 16), 0u);
        EXPECT_EQ(word_at(point, 20), 0u);
    }

    const uint32_t mouse_words[3][11] = {{1, 0, 0, 0, 0, 0xFFFFFFFF}, {3, 0, 0, 0, 0, 0xFFFFFFFF}, {0, 0, 0, 0, 0, 0xFFFFFFFF}};
    for (int entry = 0; entry < 3; ++entry) {
        for (int i = 0; i < 11; ++i) {
            EXPECT_EQ(word_at(reinterpret_cast<const char*>(header->mouse_rect) + 44 * entry, 4 * i), mouse_words[entry][i])
                << "mouse entry " << entry << " offset " << 4 * i;
        }
    }
}

TEST_F(AirspeedModule, ExtraVariablesAreRefreshedInOrderOneAfterAnother) {
    callback(GAUGE_SERVICE_UPDATE);
    ASSERT_EQ(refreshed_vars.size(), 3u);
    const uint32_t ids[] = {333, 332, 334};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(refreshed_vars[i]->var_id, ids[i]);
        EXPECT_EQ(reinterpret_cast<char*>(refreshed_vars[i]) - reinterpret_cast<char*>(refreshed_vars[0]),
                  static_cast<ptrdiff_t>(i * sizeof(ModuleVar)));
    }
    callback(GAUGE_SERVICE_KILL);
}

TEST_F(AirspeedModule, NeedleReadingIsHeldWithinTheScale) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        double reading, expected;
    } cases[] = {{0, 40},       {40, 40},   {300, 300},        {39.9, 40},      {300.1, 300},
                 {1000, 300},   {-5, 40},   {140, 140},        {infinity, 300}, {-infinity, 40}};
    for (const auto& c : cases) {
        needle->header.image_flags = 0x83;
        needle->source_var.value.number = c.reading;
        EXPECT_EQ(needle->value_callback(&needle->header), c.expected) << c.reading;
        EXPECT_EQ(needle->header.image_flags, 0x87u);
    }
    needle->source_var.value.number = nan;
    EXPECT_TRUE(std::isnan(needle->value_callback(&needle->header)));
}

TEST_F(AirspeedModule, DialCallbackReturnsItsVariableAndMarksItself) {
    for (int call = 0; call < 3; ++call) {
        EXPECT_EQ(dial->value_callback(&dial->header), 0.0);
        EXPECT_EQ(dial->header.image_flags, 0x87u);
    }
    EXPECT_EQ(background->image_flags, 0x83u);
}

}  // namespace
