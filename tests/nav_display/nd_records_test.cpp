// The navigation display's records as the simulator reads them, and its routines as they call the
// panel services: order of work, the 23 host variables, refreshes on every update.
#include <cstring>

#include "nd_panel.h"

namespace {

using Names = std::vector<std::string>;

uint32_t word_at(const void* record, size_t offset) {
    uint32_t word;
    std::memcpy(&word, static_cast<const char*>(record) + offset, sizeof word);
    return word;
}

uint32_t address_of(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

// Registration order, which is also the order of every refresh.
const uint32_t kVariableIds[] = {0x51, 0x28, 0x2D, 0x29, 0x2C, 0x18, 0x1F, 0x23, 0x20, 0x2E, 0x6B, 0x2A,
                                 0x2F, 0x31, 0x27, 0x13, 0x14, 0x162, 0x37, 0x38, 0x3B, 0x157, 0x158};

using NdRecords = NdPanelTest;

TEST_F(NdRecords, AreTheSimulatorsBytes) {
    if (sizeof(void*) != 4) GTEST_SKIP() << "the simulator's byte layout needs 4-byte pointers";
    const uint32_t linkage_words[] = {0x13, address_of(reinterpret_cast<void*>(linkage->module_init)),
                                      address_of(reinterpret_cast<void*>(linkage->module_deinit)), 0, 0, 0, address_of(header), 0};
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(word_at(linkage, 4 * i), linkage_words[i]) << "Linkage offset " << 4 * i;
    EXPECT_EQ(word_at(imports, 0), 0x0Fu);
    EXPECT_EQ(services_in_file, nullptr);
    EXPECT_EQ(word_at(imports, 8), 0u);
    EXPECT_EQ(word_at(imports, 12), 0u);

    EXPECT_EQ(word_at(header, 0), 0x262u);
    EXPECT_STREQ(header->gauge_name, "Vistrel.ND");
    EXPECT_EQ(header->element_list[1], nullptr);
    for (size_t offset = 12; offset <= 36; offset += 4) EXPECT_NE(word_at(header, offset), 0u) << "routine at " << offset;
    EXPECT_EQ(word_at(header, 40), 0u);
    EXPECT_EQ(word_at(header, 44), 89u);
    for (size_t offset = 48; offset < 88; offset += 4) EXPECT_EQ(word_at(header, offset), 0u) << "header offset " << offset;

    const FailureRecord* failures = background->header.failures;
    const uint32_t background_words[20] = {0,    4096, 0, 0, 0, 0, 0, 0, address_of(header), 0,
                                           address_of(background->header.next_elements), address_of(failures), 0x5, 0, 0,
                                           0,    0,    0, 0, 0};
    for (size_t i = 0; i < 20; ++i) EXPECT_EQ(word_at(background, 4 * i), background_words[i]) << "background offset " << 4 * i;
    EXPECT_EQ(background->header.next_elements[1], nullptr);

    uint32_t screen_words[34] = {4, 8192, 0, 0, 0, 0, 0, 0, address_of(header), 0, 0, address_of(failures), 0x7};
    screen_words[22] = address_of(reinterpret_cast<void*>(screen->value_callback));  // offset 88
    screen_words[28] = 2;                                                             // image_count at 112
    for (size_t i = 0; i < 34; ++i) EXPECT_EQ(word_at(screen, 4 * i), screen_words[i]) << "screen offset " << 4 * i;
    EXPECT_NE(screen->value_callback, nullptr);

    const uint32_t failure_words[6] = {1, 3, 0, 0, 0, 0};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(word_at(failures, 4 * i), failure_words[i]) << "failure list offset " << 4 * i;

    header->query_routine();
    header->install_routine(0);
    const uint32_t none = 0xFFFFFFFF;  // cursor -1
    const uint32_t mouse_kinds[3] = {1, 3, 0};
    for (size_t entry = 0; entry < 3; ++entry) {
        for (size_t i = 0; i < 11; ++i) {
            const uint32_t expected = i == 0 ? mouse_kinds[entry] : i == 5 ? none : 0;
            EXPECT_EQ(word_at(mouse_list + entry, 4 * i), expected) << "mouse entry " << entry + 1 << " offset " << 4 * i;
        }
    }
}

TEST_F(NdRecords, RoutinesCallTheirServicesInOrderWithEveryVariable) {
    ElementHeader* root = &background->header;
    linkage->module_init();
    bring_up();
    frame();
    frame();
    kill();
    linkage->module_deinit();

    std::vector<ServiceCall> expected = {{"elements_query", root}, {"elements_install", root, 0}};
    expected.push_back({"mouse_areas_install", mouse_list});
    expected.push_back({"mouse_areas_register", mouse_list});
    ASSERT_EQ(registered.size(), 23u);
    for (ModuleVar* var : registered) expected.push_back({"var_register", var});
    expected.push_back({"elements_initialize", root});
    for (int frames = 0; frames < 2; ++frames) {
        expected.push_back({"elements_update", root});
        for (ModuleVar* var : registered) expected.push_back({"var_refresh", var});
        expected.push_back({"elements_generate", root, 0});
        expected.push_back({"elements_draw", root});
    }
    expected.push_back({"mouse_areas_unregister", mouse_list});
    expected.push_back({"elements_kill", root});
    EXPECT_EQ(calls, expected);

    std::vector<uint32_t> ids;
    for (ModuleVar* var : registered) ids.push_back(var->var_id);
    EXPECT_EQ(ids, std::vector<uint32_t>(std::begin(kVariableIds), std::end(kVariableIds)));
}

TEST_F(NdRecords, GenerateAndInstallArgumentsArePassedOn) {
    header->query_routine();
    header->install_routine(0xDEADBEEF);
    header->generate_routine(77);
    EXPECT_EQ(calls[1], (ServiceCall{"elements_install", &background->header, 0xDEADBEEF}));
    EXPECT_EQ(calls.back(), (ServiceCall{"elements_generate", &background->header, 77}));
}

}  // namespace
