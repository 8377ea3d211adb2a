// The airspeed module loaded on its own, with a panel-services table that records var_refresh; and
// the airspeed indicator brought up on a panel of the gauge host.
#ifndef TESTS_AIRSPEED_AIRSPEED_MODULE_H
#define TESTS_AIRSPEED_AIRSPEED_MODULE_H

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <vector>

#include "gauge_records.h"
#include "panel.h"
#include "win32.h"

inline std::vector<ModuleVar*> refreshed_vars;

inline void GAUGE_CALL record_refresh(ModuleVar* var) { refreshed_vars.push_back(var); }

inline const PanelServices refresh_recorder = {.var_refresh = record_refresh};

class AirspeedModule : public testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryA(GAUGES_DIR "/DRAVETS.so");
        ASSERT_NE(module, nullptr);
        linkage = reinterpret_cast<ModuleLinkage*>(GetProcAddress(module, "Linkage"));
        ASSERT_NE(linkage, nullptr);
        reinterpret_cast<ImportTableRecord*>(GetProcAddress(module, "ImportTable"))->services = &refresh_recorder;
        header = linkage->gauges[0];
        background = header->element_list[0];
        dial = reinterpret_cast<PictureElement800*>(background->next_elements[0]);
        needle = reinterpret_cast<NeedleElement*>(dial->header.next_elements[0]);
        refreshed_vars.clear();
    }
    void TearDown() override { FreeLibrary(module); }

    void callback(uint32_t code) { header->gauge_callback(header, code, 0); }

    HMODULE module = nullptr;
    ModuleLinkage* linkage = nullptr;
    GaugeHeader* header = nullptr;
    ElementHeader* background = nullptr;
    PictureElement800* dial = nullptr;
    NeedleElement* needle = nullptr;
};

struct AirspeedPanel {
    std::ostringstream events;
    host::Panel panel{events, PANEL_IMAGE_16BIT};
    host::Gauge* gauge = nullptr;

    AirspeedPanel() {
        host::LoadedModule& module = panel.load_module(GAUGES_DIR "/DRAVETS.so");
        gauge = &panel.add_gauge(module, module.gauge("DRAVETS"));
        gauge->bring_up();
    }

    const NeedleElement& needle() const {
        return *reinterpret_cast<const NeedleElement*>(gauge->elements().back().element);
    }
};

inline uint32_t word_at(const void* record, size_t offset) {
    uint32_t word;
    std::memcpy(&word, static_cast<const char*>(record) + offset, sizeof word);
    return word;
}

#endif
