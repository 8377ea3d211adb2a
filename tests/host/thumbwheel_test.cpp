// The thumbwheel module on its own: its records as the simulator reads them, byte for byte where
// pointers are 4 bytes, and its routines and callbacks as they call the panel services.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gauge_records.h"
#include "host_test_support.h"
#include "win32.h"

namespace {

struct ServiceCall {
    std::string service;
    const void* first = nullptr;
    const void* second = nullptr;
    const void* third = nullptr;
    uint32_t word = 0;
    uint32_t value = 0;
};

std::vector<ServiceCall> service_calls;
PanelImage wheel_image = {PANEL_IMAGE_16BIT, 40, 75, 80, 0, 6000, nullptr};

void GAUGE_CALL record_query(ElementHeader* root) { service_calls.push_back({"elements_query", root}); }
void GAUGE_CALL record_install(ElementHeader* root, uint32_t argument) {
    reinterpret_cast<StaticImageElement*>(root)->image_data.image = &wheel_image;
    service_calls.push_back({"elements_install", root, nullptr, nullptr, argument});
}
void GAUGE_CALL record_initialize(ElementHeader* root) { service_calls.push_back({"elements_initialize", root}); }
void GAUGE_CALL record_update(ElementHeader* root) { service_calls.push_back({"elements_update", root}); }
void GAUGE_CALL record_generate(ElementHeader* root, uint32_t argument) {
    service_calls.push_back({"elements_generate", root, nullptr, nullptr, argument});
}
void GAUGE_CALL record_draw(ElementHeader* root) { service_calls.push_back({"elements_draw", root}); }
void GAUGE_CALL record_kill(ElementHeader* root) { service_calls.push_back({"elements_kill", root}); }
void GAUGE_CALL record_mouse_install(MouseRect* list, GaugeHeader* header, int32_t* size) {
    service_calls.push_back({"mouse_areas_install", list, header, size});
}
void GAUGE_CALL record_register(MouseRect* list, GaugeHeader* header) {
    service_calls.push_back({"mouse_areas_register", list, header});
}
void GAUGE_CALL record_unregister(MouseRect* list, GaugeHeader* header) {
    service_calls.push_back({"mouse_areas_unregister", list, header});
}
void GAUGE_CALL record_key_event(uint32_t id, uint32_t value) {
    service_calls.push_back({"send_key_event", nullptr, nullptr, nullptr, id, value});
}

const PanelServices recording_services = {
    .elements_query = record_query,
    .elements_install = record_install,
    .elements_initialize = record_initialize,
    .elements_update = record_update,
    .elements_generate = record_generate,
    .elements_draw = record_draw,
    .elements_kill = record_kill,
    .mouse_areas_install = record_mouse_install,
    .mouse_areas_register = record_register,
    .mouse_areas_unregister = record_unregister,
    .send_key_event = record_key_event,
};

uint32_t word_at(const void* record, size_t offset) {
    uint32_t word;
    std::memcpy(&word, static_cast<const char*>(record) + offset, sizeof word);
    return word;
}

uint32_t address_of(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

class ThumbwheelModule : public testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryA(thumbwheel_module().c_str());
        ASSERT_NE(module, nullptr);
        linkage = reinterpret_cast<ModuleLinkage*>(GetProcAddress(module, "Linkage"));
        imports = reinterpret_cast<ImportTableRecord*>(GetProcAddress(module, "ImportTable"));
        ASSERT_NE(linkage, nullptr);
        ASSERT_NE(imports, nullptr);
        header = linkage->gauges[0];
        service_calls.clear();
    }
    void TearDown() override { FreeLibrary(module); }

    // Install through the recording table and hand back the mouse list the routine passed on.
    MouseRect* install() {
        imports->services = &recording_services;
        header->install_routine(7);
        return static_cast<MouseRect*>(const_cast<void*>(service_calls.at(1).first));
    }

    HMODULE module = nullptr;
    ModuleLinkage* linkage = nullptr;
    ImportTableRecord* imports = nullptr;
    GaugeHeader* header = nullptr;
};

TEST_F(ThumbwheelModule, RecordsAreTheSimulatorsBytes) {
    if (sizeof(void*) != 4) GTEST_SKIP() << "the simulator's byte layout needs 4-byte pointers";
    const uint32_t linkage_words[] = {0x13, address_of(reinterpret_cast<void*>(linkage->module_init)),
                                      address_of(reinterpret_cast<void*>(linkage->module_deinit)), 0, 0, 0,
                                      address_of(header), 0};
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(word_at(linkage, 4 * i), linkage_words[i]) << "Linkage offset " << 4 * i;
    const uint32_t import_words[] = {0x0F, 0, 0, 0};
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(word_at(imports, 4 * i), import_words[i]) << "ImportTable offset " << 4 * i;

    EXPECT_EQ(word_at(header, 0), 0x262u);
    EXPECT_STREQ(reinterpret_cast<const char*>(static_cast<uintptr_t>(word_at(header, 4))), "Corvanex_apvspeed");
    for (size_t offset = 12; offset <= 36; offset += 4) EXPECT_NE(word_at(header, offset), 0u) << "routine at " << offset;
    EXPECT_EQ(word_at(header, 40), 0u);
    EXPECT_EQ(word_at(header, 44), 40u);
    for (size_t offset = 48; offset < 88; offset += 4) EXPECT_EQ(word_at(header, offset), 0u) << "header offset " << offset;

    const auto* list = reinterpret_cast<void* const*>(static_cast<uintptr_t>(word_at(header, 8)));
    EXPECT_EQ(list[1], nullptr);
    const void* image = list[0];
    const uint32_t image_words[20] = {0, 4096, 0, 0, 0, 0, 0, 0, address_of(header), 0, 0, 0, 0x1, 0, 0, 0, 0, 0, 0, 0};
    for (size_t i = 0; i < 20; ++i) EXPECT_EQ(word_at(image, 4 * i), image_words[i]) << "image offset " << 4 * i;

    const void* mouse = install();
    const uint32_t flags = 0x20200000;
    const uint32_t none = 0xFFFFFFFF;  // cursor -1
    const uint32_t mouse_words[5][11] = {
        {1, 0, 0, 0, 0, none, 42049, 0, 0, 0, 0},
        {2, 5, 0, 30, 38, 1, 0, flags, 0, 1, 0},
        {2, 5, 37, 30, 37, 2, 0, flags, 0, 1, 0},
        {3, 0, 0, 0, 0, none, 0, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, none, 0, 0, 0, 0, 0},
    };
    for (size_t entry = 0; entry < 5; ++entry) {
        for (size_t i = 0; i < 11; ++i) {
            const uint32_t word = word_at(static_cast<const char*>(mouse) + 44 * entry, 4 * i);
            // The callback word: set or not.
            const uint32_t seen = i == 9 ? (word != 0) : word;
            EXPECT_EQ(seen, mouse_words[entry][i]) << "mouse entry " << entry + 1 << " offset " << 4 * i;
        }
    }
}

TEST_F(ThumbwheelModule, RoutinesCallTheirServicesInOrder) {
    imports->services = &recording_services;
    ElementHeader* root = header->element_list[0];
    linkage->module_init();
    header->query_routine();
    header->install_routine(7);
    header->initialize_routine();
    header->update_routine();
    header->generate_routine(9);
    header->draw_routine();
    header->kill_routine();
    linkage->module_deinit();

    MouseRect* mouse = static_cast<MouseRect*>(const_cast<void*>(service_calls.at(2).first));
    const std::vector<ServiceCall> expected = {
        {"elements_query", root},
        {"elements_install", root, nullptr, nullptr, 7},
        {"mouse_areas_install", mouse, header, &wheel_image.width},
        {"mouse_areas_register", mouse, header},
        {"elements_initialize", root},
        {"elements_update", root},
        {"elements_generate", root, nullptr, nullptr, 9},
        {"elements_draw", root},
        {"mouse_areas_unregister", mouse, header},
        {"elements_kill", root},
    };
    ASSERT_EQ(service_calls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(service_calls[i].service, expected[i].service) << "call " << i;
        EXPECT_EQ(service_calls[i].first, expected[i].first) << expected[i].service;
        EXPECT_EQ(service_calls[i].second, expected[i].second) << expected[i].service;
        EXPECT_EQ(service_calls[i].third, expected[i].third) << expected[i].service;
        EXPECT_EQ(service_calls[i].word, expected[i].word) << expected[i].service;
    }
}

TEST_F(ThumbwheelModule, EachCallbackCallSendsOneEvent) {
    MouseRect* mouse = install();
    service_calls.clear();
    const struct {
        MouseCallback callback;
        uint32_t event;
    } areas[] = {{mouse[1].callback, 65894}, {mouse[2].callback, 65895}};
    for (const auto& area : areas) {
        for (uint32_t words : {0u, 0xFFFFFFFFu, 0x20000000u}) {
            service_calls.clear();
            EXPECT_EQ(area.callback(words, words), 0u);
            EXPECT_EQ(area.callback(words, ~words), 0u);
            ASSERT_EQ(service_calls.size(), 2u);
            for (const ServiceCall& call : service_calls) {
                EXPECT_EQ(call.service, "send_key_event");
                EXPECT_EQ(call.word, area.event);
                EXPECT_EQ(call.value, 1u);
            }
        }
    }
}

}  // namespace
