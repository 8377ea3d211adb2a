// The navigation display loaded on its own and run by a panel of the test's making: images laid out
// as the test wants them (formats, pitches, memory), host variables it sets, and a record of every
// panel service the module calls. The module runs in a fresh folder of the test, with a Gauges
// folder, as the simulator's folder.
#ifndef TESTS_NAV_DISPLAY_ND_PANEL_H
#define TESTS_NAV_DISPLAY_ND_PANEL_H

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gauge_records.h"
#include "win32.h"

// The shape of one PanelImage; pitch 0 means width * format.
struct ImageLayout {
    uint32_t format = PANEL_IMAGE_16BIT;
    int32_t width = 256;
    int32_t height = 256;
    int32_t pitch = 0;
};

struct TestImage {
    PanelImage image{};
    std::vector<uint8_t> pixels;
};

struct ServiceCall {
    std::string service;
    const void* record = nullptr;  // element, mouse list or ModuleVar
    uint32_t word = 0;             // install or generate argument
    bool operator==(const ServiceCall&) const = default;
};

// Bytes the panel fills its images with, so that a test sees which bytes the module wrote.
constexpr uint8_t kUntouched = 0xA5;

class NdPanelTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Layouts of the background and of the screen's two images, used by the next install.
    ImageLayout background_layout;
    ImageLayout screen_layouts[2];
    // When set, screen image 0 uses these pixels instead of its own.
    uint8_t* screen_bits_override = nullptr;

    // The gauge's life.
    void bring_up();  // query, install, initialize
    void frame();     // update, generate, draw
    void kill();

    // Runs a frame and says whether the display drew in it: a drawing flips the image that the
    // element callback reports at the next update, which runs one more frame.
    bool frame_draws();

    // Host variables as the next refresh writes them; unset ones read 0.
    void set_number(uint32_t id, double value);
    void set_integer(uint32_t id, int32_t value);
    void set_raw(uint32_t id, uint32_t low, uint32_t high);
    void set_text(uint32_t id, const char* text);

    // The record the module registered for a variable.
    ModuleVar* var(uint32_t id) const;

    // Service names in call order, and the calls themselves.
    std::vector<std::string> services() const;

    std::string folder;  // the simulator's folder of this test
    HMODULE module = nullptr;
    ModuleLinkage* linkage = nullptr;
    ImportTableRecord* imports = nullptr;
    const PanelServices* services_in_file = nullptr;  // ImportTable's services before the panel wrote it
    GaugeHeader* header = nullptr;
    StaticImageElement* background = nullptr;
    PictureElement610* screen = nullptr;
    MouseRect* mouse_list = nullptr;  // as handed to mouse_areas_install

    TestImage background_image;
    TestImage screen_images[2];
    ImageSet screen_sets[2]{};

    std::vector<ServiceCall> calls;
    std::vector<ModuleVar*> registered;
    std::vector<double> readings;  // what the element callback returned, update by update
    std::map<uint32_t, ModuleVarValue> values;

private:
    void install_images();
    void remove_images();
    friend struct PanelServiceEntries;
    std::string caller_folder_;
    bool installed_ = false;  // killed at the end of the test unless the test did
};

// Reads a file's whole text; empty when it does not exist.
std::string file_text(const std::string& path);
bool file_exists(const std::string& path);
void write_file(const std::string& path, const std::string& text);

// A name prefix for the stand-in's shared objects that no other test process uses.
std::string unique_shared_prefix();

#endif
