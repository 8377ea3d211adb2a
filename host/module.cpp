#include "module.h"

#include <filesystem>
#include <set>

#include "host_error.h"
#include "needle.h"

namespace host {

namespace {

constexpr size_t kMaxGauges = 64;
constexpr size_t kMaxElements = 256;
constexpr size_t kMaxChildren = 64;
constexpr int kMaxDepth = 16;
constexpr size_t kMaxMouseEntries = 256;

std::string gauge_label(const GaugeHeader* header) {
    return header->gauge_name == nullptr ? std::string("(unnamed gauge)") : '"' + std::string(header->gauge_name) + '"';
}

void check_gauge(const std::string& path, const GaugeHeader* header) {
    const std::string where = path + ": gauge " + gauge_label(header) + ": ";
    if (header->gauge_name == nullptr) fail_module(path + ": a gauge header has no name");
    if (header->header_version != GAUGE_HEADER_VERSION_610 && header->header_version != GAUGE_HEADER_VERSION_800) {
        fail_module(where + "header version " + std::to_string(header->header_version) +
                    " is neither 610 nor 800");
    }
    if (header->element_list == nullptr || header->element_list[0] == nullptr) {
        fail_module(where + "no root element in element_list");
    }
    if (header->header_version == GAUGE_HEADER_VERSION_610) {
        const struct {
            const void* routine;
            const char* name;
        } routines[] = {
            {reinterpret_cast<const void*>(header->query_routine), "query"},
            {reinterpret_cast<const void*>(header->install_routine), "install"},
            {reinterpret_cast<const void*>(header->initialize_routine), "initialize"},
            {reinterpret_cast<const void*>(header->update_routine), "update"},
            {reinterpret_cast<const void*>(header->generate_routine), "generate"},
            {reinterpret_cast<const void*>(header->draw_routine), "draw"},
            {reinterpret_cast<const void*>(header->kill_routine), "kill"},
        };
        for (const auto& routine : routines) {
            if (routine.routine == nullptr) fail_module(where + "version 610 without a " + routine.name + " routine");
        }
    }
    try {
        element_tree(header);
        if (header->header_version == GAUGE_HEADER_VERSION_800 && header->mouse_rect != nullptr) {
            mouse_list(header->mouse_rect, header->gauge_name);
        }
    } catch (const HostError& error) {
        fail_module(path + ": " + error.what());
    }
}

}  // namespace

LoadedModule::LoadedModule(const std::string& path) : path_(path) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) fail_module(path + ": no such module file");
    handle_ = LoadLibraryA(path.c_str());
    if (handle_ == nullptr) fail_module(path + ": cannot be loaded as a gauge module");
    try {
        linkage_ = reinterpret_cast<ModuleLinkage*>(GetProcAddress(handle_, "Linkage"));
        import_table_ = reinterpret_cast<ImportTableRecord*>(GetProcAddress(handle_, "ImportTable"));
        if (linkage_ == nullptr) fail_module(path + ": exports no Linkage record");
        if (import_table_ == nullptr) fail_module(path + ": exports no ImportTable record");
        if (linkage_->module_id != GAUGE_MODULE_ID) fail_module(path + ": Linkage module_id is not 0x13");
        if (import_table_->import_id != GAUGE_IMPORT_PANEL_SERVICES) {
            fail_module(path + ": ImportTable does not begin with the panel services entry 0x0F");
        }
        if (linkage_->module_init == nullptr || linkage_->module_deinit == nullptr) {
            fail_module(path + ": Linkage lacks module_init or module_deinit");
        }
        for (GaugeHeader* const* entry = linkage_->gauges; *entry != nullptr; ++entry) {
            if (gauges_.size() == kMaxGauges) fail_module(path + ": gauge list without its closing null");
            gauges_.push_back(*entry);
        }
        if (gauges_.empty()) fail_module(path + ": Linkage lists no gauge");
        for (const GaugeHeader* header : gauges_) check_gauge(path, header);
    } catch (...) {
        FreeLibrary(handle_);
        throw;
    }
}

LoadedModule::~LoadedModule() { FreeLibrary(handle_); }

GaugeHeader* LoadedModule::gauge(const std::string& name) const {
    if (name.empty()) return gauges_.front();
    std::string names;
    for (GaugeHeader* header : gauges_) {
        if (name == header->gauge_name) return header;
        names += std::string(names.empty() ? "" : ", ") + header->gauge_name;
    }
    fail_module(path_ + ": no gauge named \"" + name + "\" (it holds " + names + ")");
}

IndexedBitmap LoadedModule::bitmap(uint32_t id) const {
    const std::string what = path_ + ": bitmap " + std::to_string(id) + ": ";
    HRSRC resource = FindResourceA(handle_, MAKEINTRESOURCEA(id), RT_BITMAP);
    HGLOBAL loaded = resource == nullptr ? nullptr : LoadResource(handle_, resource);
    const auto* data = static_cast<const uint8_t*>(loaded == nullptr ? nullptr : LockResource(loaded));
    if (data == nullptr) fail_module(what + "no such resource");
    IndexedBitmap bitmap;
    std::string reason;
    if (!decode_bitmap(data, SizeofResource(handle_, resource), &bitmap, &reason)) fail_module(what + reason);
    return bitmap;
}

std::vector<ElementHeader*> element_tree(const GaugeHeader* header) {
    std::vector<ElementHeader*> elements;
    std::set<const ElementHeader*> seen;
    const std::string where = "gauge " + gauge_label(header) + ": ";
    auto visit = [&](auto& self, ElementHeader* element, int depth) -> void {
        if (depth > kMaxDepth) fail_module(where + "element tree deeper than " + std::to_string(kMaxDepth));
        if (!seen.insert(element).second) fail_module(where + "element tree loops back on itself");
        if (elements.size() == kMaxElements) fail_module(where + "more than " + std::to_string(kMaxElements) + " elements");
        const uint32_t kind = element->element_kind;
        if (kind != ELEMENT_STATIC_IMAGE && kind != ELEMENT_NEEDLE && kind != ELEMENT_PICTURE) {
            fail_module(where + "unknown element kind " + std::to_string(kind) + " (resource " +
                        std::to_string(element->resource_id) + ")");
        }
        if (kind == ELEMENT_NEEDLE) {
            if (header->header_version != GAUGE_HEADER_VERSION_800) fail_module(where + "needles exist only in version-800 gauges");
            const std::string fault = scale_table_fault(*reinterpret_cast<const NeedleElement*>(element));
            if (!fault.empty()) fail_module(where + fault + " (resource " + std::to_string(element->resource_id) + ")");
        }
        elements.push_back(element);
        if (element->next_elements == nullptr) return;
        for (size_t i = 0; element->next_elements[i] != nullptr; ++i) {
            if (i == kMaxChildren) fail_module(where + "child list without its closing null");
            self(self, element->next_elements[i], depth + 1);
        }
    };
    visit(visit, header->element_list[0], 0);
    return elements;
}

std::vector<MouseRect*> mouse_list(MouseRect* list, const char* gauge_name) {
    const std::string where = std::string("gauge \"") + (gauge_name ? gauge_name : "") + "\": mouse list: ";
    if (list == nullptr) fail_module(where + "null list");
    std::vector<MouseRect*> entries;
    for (size_t i = 0; i < kMaxMouseEntries; ++i) {
        MouseRect* entry = &list[i];
        if (entry->kind > MOUSE_RECT_END_OF_PARENT) {
            fail_module(where + "entry " + std::to_string(i + 1) + " has unknown kind " + std::to_string(entry->kind));
        }
        entries.push_back(entry);
        if (entry->kind == MOUSE_RECT_END_OF_LIST) return entries;
    }
    fail_module(where + "no closing entry within " + std::to_string(kMaxMouseEntries) + " entries");
}

}  // namespace host
