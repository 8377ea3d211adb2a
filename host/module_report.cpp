#include "module_report.h"

#include <cstdio>
#include <sstream>

#include "panel.h"

namespace host {

namespace {

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

const char* set_or_none(const void* pointer) { return pointer == nullptr ? "none" : "set"; }

const char* kind_name(uint32_t kind) {
    switch (kind) {
        case ELEMENT_STATIC_IMAGE: return "static image";
        case ELEMENT_NEEDLE: return "needle";
        case ELEMENT_PICTURE: return "picture";
        default: return "unknown";
    }
}

const char* mouse_kind_name(uint32_t kind) {
    switch (kind) {
        case MOUSE_RECT_PARENT: return "parent";
        case MOUSE_RECT_CHILD: return "child";
        case MOUSE_RECT_END_OF_PARENT: return "end of parent";
        default: return "end of list";
    }
}

int depth_of(const ElementHeader* element, const std::vector<ElementHeader*>& tree) {
    for (const ElementHeader* parent : tree) {
        if (parent->next_elements == nullptr) continue;
        for (size_t i = 0; parent->next_elements[i] != nullptr; ++i) {
            if (parent->next_elements[i] == element) return depth_of(parent, tree) + 1;
        }
    }
    return 0;
}

template <typename Picture>
void print_picture(std::ostream& out, const std::string& indent, const Picture* picture) {
    out << indent << "  variable " << picture->source_var.var_id << " (" << hex(picture->source_var.var_id) << "), picture_mode " << picture->picture_mode
        << ", image_count " << picture->image_count << ", value callback "
        << set_or_none(reinterpret_cast<const void*>(picture->value_callback)) << '\n';
}

void print_element(std::ostream& out, const GaugeHeader* header, ElementHeader* element, int depth) {
    const std::string indent(4 + 2 * static_cast<size_t>(depth), ' ');
    out << indent << kind_name(element->element_kind) << ": resource " << element->resource_id << ", position ("
        << element->position_x << ", " << element->position_y << "), origin (" << element->origin_x << ", "
        << element->origin_y << "), flags " << hex(element->image_flags) << '\n';
    out << indent << "  failures:";
    if (element->failures == nullptr) {
        out << " none";
    } else {
        for (const FailureRecord* failure = element->failures; failure->failure_key != 0; ++failure) {
            out << " (key " << failure->failure_key << ", action " << failure->failure_action << ")";
        }
        out << " end";
    }
    out << '\n';
    if (element->element_kind == ELEMENT_PICTURE) {
        if (header->header_version == GAUGE_HEADER_VERSION_800) {
            print_picture(out, indent, reinterpret_cast<const PictureElement800*>(element));
        } else {
            print_picture(out, indent, reinterpret_cast<const PictureElement610*>(element));
        }
    } else if (element->element_kind == ELEMENT_NEEDLE) {
        const auto* needle = reinterpret_cast<const NeedleElement*>(element);
        out << indent << "  variable " << needle->source_var.var_id << " (" << hex(needle->source_var.var_id)
            << "), value callback " << set_or_none(reinterpret_cast<const void*>(needle->value_callback)) << ", scale "
            << needle->scale_count << " rows\n";
        for (uint32_t i = 0; needle->scale_table != nullptr && i < needle->scale_count && i < 256; ++i) {
            const ScalePoint& point = needle->scale_table[i];
            out << indent << "    (" << point.x << ", " << point.y << ") " << point.value << '\n';
        }
    }
}

void print_mouse(std::ostream& out, const std::vector<MouseRect*>& entries) {
    out << "  mouse areas: " << entries.size() << " entries\n";
    int number = 1;
    for (const MouseRect* entry : entries) {
        out << "    " << number++ << ' ' << mouse_kind_name(entry->kind) << ": box (" << entry->box_x << ", "
            << entry->box_y << ", " << entry->box_width << ", " << entry->box_height << "), cursor " << entry->cursor
            << ", help " << entry->help_id << " (" << hex(entry->help_id) << "), events " << hex(entry->event_flags)
            << ", callback " << set_or_none(reinterpret_cast<const void*>(entry->callback)) << '\n';
    }
}

}  // namespace

void inspect_module(const std::string& path, std::ostream& out) {
    std::ostringstream stream;  // all or nothing: a malformed module prints no half report
    Panel panel(stream, PANEL_IMAGE_16BIT);
    LoadedModule& module = panel.load_module(path);
    const ModuleLinkage* linkage = module.linkage();
    stream << "module " << path << '\n';
    stream << "linkage: module_id " << hex(linkage->module_id) << ", module_version " << hex(linkage->module_version)
           << ", " << module.gauges().size() << (module.gauges().size() == 1 ? " gauge" : " gauges") << '\n';
    for (GaugeHeader* header : module.gauges()) {
        stream << "gauge \"" << header->gauge_name << "\"\n";
        stream << "  header_version " << header->header_version << " (" << hex(header->header_version) << "), size_x "
               << header->size_x << '\n';
        std::vector<MouseRect*> mouse;
        if (header->header_version == GAUGE_HEADER_VERSION_610) {
            stream << "  routines: query install initialize update generate draw kill\n";
            Gauge& gauge = panel.add_gauge(module, header);
            gauge.install_for_inspection();
            if (const MouseAreas* areas = gauge.mouse_areas()) mouse = areas->entries;
        } else {
            stream << "  gauge_callback " << set_or_none(reinterpret_cast<const void*>(header->gauge_callback)) << '\n';
            if (header->mouse_rect != nullptr) mouse = mouse_list(header->mouse_rect, header->gauge_name);
        }
        stream << "  elements:\n";
        const std::vector<ElementHeader*> tree = element_tree(header);
        for (ElementHeader* element : tree) print_element(stream, header, element, depth_of(element, tree));
        if (mouse.empty()) {
            stream << "  mouse areas: none\n";
        } else {
            print_mouse(stream, mouse);
        }
    }
    panel.close();
    out << stream.str();
}

}  // namespace host
