#include "gauge.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "host_error.h"
#include "needle.h"
#include "panel.h"

namespace host {

namespace {

template <typename Record>
Record* as(ElementHeader* element) {
    return reinterpret_cast<Record*>(element);
}

constexpr uint32_t kMaxPictureImages = 64;

// Stands in for a bitmap the module lacks, so that its routines still find an image.
IndexedBitmap placeholder_bitmap() {
    IndexedBitmap bitmap;
    bitmap.width = 1;
    bitmap.height = 1;
    bitmap.indices = {0};
    return bitmap;
}

// A length of the gauge's own pixels in pixels as shown; never less than one.
int scaled(int length, double scale) { return std::max(1, static_cast<int>(std::lround(length * scale))); }

// The image a picture element shows for a reading: its whole part, held within the images it has.
size_t picture_index(double reading, size_t count) {
    if (!(reading > 0)) return 0;  // NaN included
    if (reading >= static_cast<double>(count - 1)) return count - 1;
    return static_cast<size_t>(reading);
}

}  // namespace

Gauge::Gauge(Panel& panel, const LoadedModule& module, GaugeHeader* header, int shown_width, int shown_height)
    : panel_(panel), module_(module), header_(header), shown_width_(shown_width), shown_height_(shown_height) {}

Gauge::~Gauge() { kill_elements(); }

template <typename Call>
void Gauge::call_module(Call call) {
    call();
    panel_.raise_pending_error();
}

void Gauge::bring_up() {
    header_->module_instance = module_.handle();
    if (is_version_800()) {
        install_elements();
        if (header_->mouse_rect != nullptr) {
            install_mouse(header_->mouse_rect, &elements_.front().images.front()->image.width);
            mouse_.registered = true;
        }
        if (header_->gauge_callback != nullptr) {
            call_module([&] { header_->gauge_callback(header_, GAUGE_SERVICE_INITIALIZE, 0); });
        }
    } else {
        call_module([&] { header_->query_routine(); });
        call_module([&] { header_->install_routine(0); });
        if (elements_.empty()) fail_module(std::string("gauge \"") + header_->gauge_name + "\": install did not install its elements");
        call_module([&] { header_->initialize_routine(); });
    }
    up_ = true;
}

void Gauge::install_for_inspection() {
    header_->module_instance = module_.handle();
    call_module([&] { header_->query_routine(); });
    call_module([&] { header_->install_routine(0); });
}

void Gauge::frame() {
    if (is_version_800()) {
        if (header_->gauge_callback != nullptr) {
            call_module([&] { header_->gauge_callback(header_, GAUGE_SERVICE_UPDATE, 0); });
        }
        update_elements();
    } else {
        call_module([&] { header_->update_routine(); });
        call_module([&] { header_->generate_routine(0); });
        call_module([&] { header_->draw_routine(); });
    }
}

void Gauge::reinitialize() {
    if (is_version_800()) {
        if (header_->gauge_callback != nullptr) {
            call_module([&] { header_->gauge_callback(header_, GAUGE_SERVICE_INITIALIZE, 0); });
        }
    } else {
        call_module([&] { header_->initialize_routine(); });
    }
}

void Gauge::take_down() {
    if (!up_) return;
    up_ = false;
    if (is_version_800()) {
        if (header_->gauge_callback != nullptr) {
            call_module([&] { header_->gauge_callback(header_, GAUGE_SERVICE_KILL, 0); });
        }
        mouse_.registered = false;
        kill_elements();
    } else {
        call_module([&] { header_->kill_routine(); });
    }
}

ElementCallback Gauge::value_callback(const ElementHeader* element) const {
    switch (element->element_kind) {
        case ELEMENT_NEEDLE: return reinterpret_cast<const NeedleElement*>(element)->value_callback;
        case ELEMENT_PICTURE:
            return is_version_800() ? reinterpret_cast<const PictureElement800*>(element)->value_callback
                                    : reinterpret_cast<const PictureElement610*>(element)->value_callback;
        default: return nullptr;
    }
}

ModuleVar* Gauge::source_var(ElementHeader* element) const {
    switch (element->element_kind) {
        case ELEMENT_NEEDLE: return &as<NeedleElement>(element)->source_var;
        case ELEMENT_PICTURE:
            return is_version_800() ? &as<PictureElement800>(element)->source_var : &as<PictureElement610>(element)->source_var;
        default: return nullptr;
    }
}

uint32_t Gauge::image_count(ElementHeader* element) const {
    return is_version_800() ? as<PictureElement800>(element)->image_count : as<PictureElement610>(element)->image_count;
}

// Records are packed to 4: their pointers are written in place, never through a pointer to them.
void Gauge::set_image_sets(ElementHeader* element, ImageSet* sets) const {
    if (is_version_800()) {
        as<PictureElement800>(element)->image_sets = sets;
    } else {
        as<PictureElement610>(element)->image_sets = sets;
    }
}

// Every element gets its images even when one is faulty, so that the module's routines never meet
// a missing image; the first fault is raised once all are in place.
void Gauge::install_elements() {
    kill_elements();
    std::optional<HostError> fault;
    const std::vector<ElementHeader*> tree = element_tree(header_);
    for (ElementHeader* element : tree) {
        ElementState state;
        state.element = element;
        size_t count = 1;
        if (element->element_kind == ELEMENT_PICTURE) {
            const uint32_t wanted = image_count(element);
            if (wanted == 0 || wanted > kMaxPictureImages) {
                if (!fault) fault = HostError(EXIT_BAD_MODULE, std::string("gauge \"") + header_->gauge_name + "\": picture element " +
                                                                   std::to_string(element->resource_id) + " holds " +
                                                                   std::to_string(wanted) + " images");
            } else {
                count = wanted;
            }
        }
        IndexedBitmap bitmap;
        try {
            bitmap = module_.bitmap(element->resource_id);
        } catch (const HostError& error) {
            if (!fault) fault = error;
            bitmap = placeholder_bitmap();
        }
        if (element == tree.front()) {
            own_width_ = bitmap.width;
            own_height_ = bitmap.height;
            scale_x_ = shown_width_ > 0 ? static_cast<double>(shown_width_) / own_width_ : 1.0;
            scale_y_ = shown_height_ > 0 ? static_cast<double>(shown_height_) / own_height_ : scale_x_;
        }
        const IndexedBitmap shown = scale_bitmap(bitmap, scaled(bitmap.width, scale_x_), scaled(bitmap.height, scale_y_));
        for (size_t i = 0; i < count; ++i) {
            auto image = std::make_unique<HostImage>();
            make_panel_image(shown, panel_.format(), image.get());
            state.images.push_back(std::move(image));
        }
        elements_.push_back(std::move(state));
    }
    // Hand each element its images only once all of them exist.
    for (ElementState& state : elements_) {
        ElementHeader* element = state.element;
        if (element->element_kind == ELEMENT_STATIC_IMAGE) {
            as<StaticImageElement>(element)->image_data.image = &state.images.front()->image;
        } else if (element->element_kind == ELEMENT_PICTURE) {
            for (auto& image : state.images) state.image_sets.push_back(ImageSet{&image->image, {}});
            set_image_sets(element, state.image_sets.data());
        }
    }
    if (fault) throw *fault;
}

void Gauge::update_elements() {
    for (ElementState& state : elements_) {
        ModuleVar* var = source_var(state.element);
        if (var == nullptr) continue;
        if (var->var_id == 0) {
            std::memset(&var->value, 0, sizeof var->value);
        } else {
            panel_.variables().refresh(var);
        }
        state.reading = var->value.number;
        if (ElementCallback callback = value_callback(state.element)) {
            ElementHeader* element = state.element;
            call_module([&] { state.reading = callback(element); });
        }
        if (state.element->element_kind == ELEMENT_PICTURE) state.shown = picture_index(state.reading, state.images.size());
    }
}

void Gauge::kill_elements() {
    for (ElementState& state : elements_) {
        if (state.element->element_kind == ELEMENT_STATIC_IMAGE) {
            as<StaticImageElement>(state.element)->image_data.image = nullptr;
        } else if (state.element->element_kind == ELEMENT_PICTURE) {
            set_image_sets(state.element, nullptr);
        }
    }
    elements_.clear();
}

void Gauge::install_mouse(MouseRect* list, const int32_t* size_pair) {
    const std::string where = std::string("gauge \"") + header_->gauge_name + "\": mouse_areas_install: ";
    if (size_pair == nullptr || size_pair[0] <= 0 || size_pair[1] <= 0) fail_module(where + "no image size");
    mouse_.entries = mouse_list(list, header_->gauge_name);
    mouse_.list = list;
    mouse_.shown_width = size_pair[0];
    mouse_.shown_height = size_pair[1];
    mouse_.registered = false;
}

void Gauge::set_mouse_registered(MouseRect* list, bool registered) {
    if (list != mouse_.list) {
        fail_module(std::string("gauge \"") + header_->gauge_name + "\": " +
                    (registered ? "mouse_areas_register" : "mouse_areas_unregister") +
                    " of a list that was not installed");
    }
    mouse_.registered = registered;
}

int Gauge::width() const { return elements_.empty() ? 0 : elements_.front().images.front()->image.width; }

int Gauge::height() const { return elements_.empty() ? 0 : elements_.front().images.front()->image.height; }

void Gauge::click(int x, int y) {
    if (!up_ || !mouse_.registered || x < 0 || y < 0 || x >= width() || y >= height()) return;
    // Boxes are pixels of the gauge's own root bitmap; the size pair says how large it is shown.
    const int64_t box_x = static_cast<int64_t>(x) * own_width_ / mouse_.shown_width;
    const int64_t box_y = static_cast<int64_t>(y) * own_height_ / mouse_.shown_height;
    for (MouseRect* entry : mouse_.entries) {
        if (entry->kind != MOUSE_RECT_CHILD || entry->callback == nullptr) continue;
        if ((entry->event_flags & kMouseLeftPress) == 0) continue;
        if (box_x < entry->box_x || box_x >= static_cast<int64_t>(entry->box_x) + entry->box_width) continue;
        if (box_y < entry->box_y || box_y >= static_cast<int64_t>(entry->box_y) + entry->box_height) continue;
        const MouseCallback callback = entry->callback;
        const uint32_t where = static_cast<uint32_t>(box_y) << 16 | static_cast<uint32_t>(box_x);
        call_module([&] { callback(where, kMouseLeftPress); });
        return;
    }
}

void Gauge::compose(Canvas* canvas, int left, int top) const {
    for (const ElementState& state : elements_) {
        const HostImage& image = *state.images[state.shown];
        const ElementHeader* element = state.element;
        if (element->element_kind == ELEMENT_NEEDLE) {
            const auto& needle = *reinterpret_cast<const NeedleElement*>(element);
            const NeedlePlacement placement = {left + needle.header.position_x * scale_x_, top + needle.header.position_y * scale_y_,
                                               needle.header.origin_x * scale_x_, needle.header.origin_y * scale_y_};
            draw_turned(image, placement, needle_direction(needle, state.reading, scale_x_, scale_y_), canvas);
            continue;
        }
        const int image_left = left + static_cast<int>(std::lround((element->position_x - element->origin_x) * scale_x_));
        const int image_top = top + static_cast<int>(std::lround((element->position_y - element->origin_y) * scale_y_));
        for (int y = 0; y < image.image.height; ++y) {
            for (int x = 0; x < image.image.width; ++x) {
                Rgb colour;
                if (pixel_colour(image, x, y, &colour)) canvas->put(image_left + x, image_top + y, colour);
            }
        }
    }
}

}  // namespace host
