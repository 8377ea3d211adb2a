#include "nd_panel.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host_test_support.h"

namespace fs = std::filesystem;

namespace {
NdPanelTest* running = nullptr;
}

// The service table: each entry records its call and acts on the running test's panel.
struct PanelServiceEntries {
    static void record(const char* service, const void* record = nullptr, uint32_t word = 0) {
        running->calls.push_back({service, record, word});
    }
    static void GAUGE_CALL query(ElementHeader* root) { record("elements_query", root); }
    static void GAUGE_CALL install(ElementHeader* root, uint32_t argument) {
        record("elements_install", root, argument);
        running->install_images();
    }
    static void GAUGE_CALL initialize(ElementHeader* root) { record("elements_initialize", root); }
    static void GAUGE_CALL update(ElementHeader* root) {
        record("elements_update", root);
        PictureElement610* screen = running->screen;
        running->readings.push_back(screen->value_callback(&screen->header));
    }
    static void GAUGE_CALL generate(ElementHeader* root, uint32_t argument) { record("elements_generate", root, argument); }
    static void GAUGE_CALL draw(ElementHeader* root) { record("elements_draw", root); }
    static void GAUGE_CALL kill(ElementHeader* root) {
        record("elements_kill", root);
        running->remove_images();
    }
    static void GAUGE_CALL mouse_install(MouseRect* list, GaugeHeader*, int32_t* size) {
        record("mouse_areas_install", list);
        running->mouse_list = list;
        EXPECT_EQ(size, &running->background_image.image.width) << "size pair of the background image";
    }
    static void GAUGE_CALL mouse_register(MouseRect* list, GaugeHeader*) { record("mouse_areas_register", list); }
    static void GAUGE_CALL mouse_unregister(MouseRect* list, GaugeHeader*) { record("mouse_areas_unregister", list); }
    static void GAUGE_CALL var_register(ModuleVar* var) {
        record("var_register", var);
        running->registered.push_back(var);
    }
    static void GAUGE_CALL var_refresh(ModuleVar* var) {
        record("var_refresh", var);
        std::memset(&var->value, 0, sizeof var->value);
        const auto found = running->values.find(var->var_id);
        if (found != running->values.end()) {
            var->value = found->second;
        } else if (var->var_id == 0x13 || var->var_id == 0x2F || var->var_id == 0x38) {
            var->value.text = "";  // the station identifiers, as the simulator gives them
        }
    }
};

namespace {

const PanelServices recording_services = {
    .elements_query = PanelServiceEntries::query,
    .elements_install = PanelServiceEntries::install,
    .elements_initialize = PanelServiceEntries::initialize,
    .elements_update = PanelServiceEntries::update,
    .elements_generate = PanelServiceEntries::generate,
    .elements_draw = PanelServiceEntries::draw,
    .elements_kill = PanelServiceEntries::kill,
    .mouse_areas_install = PanelServiceEntries::mouse_install,
    .mouse_areas_register = PanelServiceEntries::mouse_register,
    .mouse_areas_unregister = PanelServiceEntries::mouse_unregister,
    .var_register = PanelServiceEntries::var_register,
    .var_refresh = PanelServiceEntries::var_refresh,
};

void make_image(const ImageLayout& layout, TestImage* out) {
    const int32_t pitch = layout.pitch != 0 ? layout.pitch : layout.width * static_cast<int32_t>(layout.format);
    out->pixels.assign(static_cast<size_t>(pitch) * static_cast<size_t>(layout.height), kUntouched);
    out->image = PanelImage{layout.format, layout.width, layout.height, pitch, 0, static_cast<uint32_t>(out->pixels.size()),
                            out->pixels.data()};
}

}  // namespace

void NdPanelTest::SetUp() {
    setenv("WIN32_STANDIN_PREFIX", unique_shared_prefix().c_str(), 1);
    folder = test_folder();
    fs::create_directories(fs::path(folder) / "Gauges");
    caller_folder_ = fs::current_path().string();
    fs::current_path(folder);
    module = LoadLibraryA(GAUGES_DIR "/Vistrel.NDs.so");
    ASSERT_NE(module, nullptr);
    linkage = reinterpret_cast<ModuleLinkage*>(GetProcAddress(module, "Linkage"));
    imports = reinterpret_cast<ImportTableRecord*>(GetProcAddress(module, "ImportTable"));
    ASSERT_NE(linkage, nullptr);
    ASSERT_NE(imports, nullptr);
    header = linkage->gauges[0];
    background = reinterpret_cast<StaticImageElement*>(header->element_list[0]);
    screen = reinterpret_cast<PictureElement610*>(background->header.next_elements[0]);
    services_in_file = imports->services;
    imports->services = &recording_services;
    running = this;
}

void NdPanelTest::TearDown() {
    if (installed_) kill();
    running = nullptr;
    if (module != nullptr) FreeLibrary(module);
    fs::current_path(caller_folder_);
}

void NdPanelTest::install_images() {
    make_image(background_layout, &background_image);
    // The background as a bitmap would give it: rows of their own, so that a copied row shows.
    for (int32_t y = 0; y < background_image.image.height; ++y) {
        uint8_t* row = background_image.image.bits + static_cast<size_t>(y) * background_image.image.pitch;
        for (int32_t x = 0; x < background_image.image.pitch; ++x) row[x] = static_cast<uint8_t>(y * 7 + x);
    }
    for (int i = 0; i < 2; ++i) {
        make_image(screen_layouts[i], &screen_images[i]);
        screen_sets[i] = ImageSet{&screen_images[i].image, {}};
    }
    if (screen_bits_override != nullptr) screen_images[0].image.bits = screen_bits_override;
    background->image_data.image = &background_image.image;
    screen->image_sets = screen_sets;
    installed_ = true;
}

void NdPanelTest::remove_images() {
    background->image_data.image = nullptr;
    screen->image_sets = nullptr;
    installed_ = false;
}

void NdPanelTest::bring_up() {
    header->module_instance = module;
    header->query_routine();
    header->install_routine(0);
    header->initialize_routine();
}

void NdPanelTest::frame() {
    header->update_routine();
    header->generate_routine(0);
    header->draw_routine();
}

void NdPanelTest::kill() { header->kill_routine(); }

bool NdPanelTest::frame_draws() {
    frame();
    const double before = readings.back();
    frame();
    return readings.back() != before;
}

void NdPanelTest::set_number(uint32_t id, double value) {
    ModuleVarValue stored{};
    stored.number = value;
    values[id] = stored;
}

void NdPanelTest::set_integer(uint32_t id, int32_t value) { set_raw(id, static_cast<uint32_t>(value), 0); }

void NdPanelTest::set_raw(uint32_t id, uint32_t low, uint32_t high) {
    ModuleVarValue stored{};
    const uint32_t words[2] = {low, high};
    std::memcpy(&stored, words, sizeof words);
    values[id] = stored;
}

void NdPanelTest::set_text(uint32_t id, const char* text) {
    ModuleVarValue stored{};
    stored.text = text;
    values[id] = stored;
}

ModuleVar* NdPanelTest::var(uint32_t id) const {
    for (ModuleVar* record : registered) {
        if (record->var_id == id) return record;
    }
    ADD_FAILURE() << "variable " << id << " was not registered";
    return nullptr;
}

std::vector<std::string> NdPanelTest::services() const {
    std::vector<std::string> names;
    for (const ServiceCall& call : calls) names.push_back(call.service);
    return names;
}

std::string file_text(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool file_exists(const std::string& path) { return fs::exists(path); }

void write_file(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string unique_shared_prefix() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    return "nd-" + std::to_string(getpid()) + "-" + test->name() + "-";
}
