// One gauge of a module as the panel runs it: its element images, its mouse areas and its life.
#ifndef HOST_GAUGE_H
#define HOST_GAUGE_H

#include <memory>
#include <vector>

#include "bitmap.h"
#include "gauge_records.h"
#include "module.h"
#include "variables.h"

namespace host {

class Panel;

// The mouse action that a script's click makes: the left button pressed. Areas whose event flags
// do not hold it are not called by a click.
constexpr uint32_t kMouseLeftPress = 0x20000000u;

struct ElementState {
    ElementHeader* element = nullptr;
    std::vector<std::unique_ptr<HostImage>> images;
    std::vector<ImageSet> image_sets;  // picture elements: the array the module reads through image_sets
    double reading = 0;
    size_t shown = 0;  // index of the image on the panel
};

struct MouseAreas {
    MouseRect* list = nullptr;
    std::vector<MouseRect*> entries;
    int shown_width = 0;  // the size pair handed over: the root image as shown
    int shown_height = 0;
    bool registered = false;
};

// A picture on which gauges are composed: RGB pixels, row after row.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Canvas(int width_, int height_) : width(width_), height(height_), pixels(static_cast<size_t>(width_) * height_) {}
    void put(int x, int y, Rgb colour) {
        if (x >= 0 && y >= 0 && x < width && y < height) pixels[static_cast<size_t>(y) * width + x] = colour;
    }
};

class Gauge {
public:
    // A gauge shown at shown_width x shown_height pixels; 0 x 0 shows it at its own size, that of
    // its root bitmap, and a height of 0 keeps its aspect ratio. Every element's images are built at
    // the same scale.
    Gauge(Panel& panel, const LoadedModule& module, GaugeHeader* header, int shown_width = 0, int shown_height = 0);
    ~Gauge();
    Gauge(const Gauge&) = delete;
    Gauge& operator=(const Gauge&) = delete;

    GaugeHeader* header() const { return header_; }
    ElementHeader* root() const { return header_->element_list[0]; }
    bool is_version_800() const { return header_->header_version == GAUGE_HEADER_VERSION_800; }

    // The gauge's life as the panel system drives it.
    void bring_up();
    void frame();
    void reinitialize();
    void take_down();
    // Only query and install: what reveals a version-610 gauge's mouse list without running it.
    void install_for_inspection();

    // What the panel services do for this gauge.
    void install_elements();
    void update_elements();
    void kill_elements();
    void install_mouse(MouseRect* list, const int32_t* size_pair);
    void set_mouse_registered(MouseRect* list, bool registered);

    // Size of the gauge as shown (its root image), and its own size (its root bitmap's). Known once
    // its elements are installed.
    int width() const;
    int height() const;
    int own_width() const { return own_width_; }
    int own_height() const { return own_height_; }

    // A left click at a pixel of the gauge as shown; calls the first live child area under it.
    void click(int x, int y);

    // Draws the shown images of every element, root first, with black (0) transparent, onto the
    // canvas with the gauge's top left corner at (left, top).
    void compose(Canvas* canvas, int left = 0, int top = 0) const;

    const std::vector<ElementState>& elements() const { return elements_; }
    const MouseAreas* mouse_areas() const { return mouse_.list == nullptr ? nullptr : &mouse_; }

private:
    template <typename Call>
    void call_module(Call call);
    ElementCallback value_callback(const ElementHeader* element) const;
    ModuleVar* source_var(ElementHeader* element) const;
    uint32_t image_count(ElementHeader* element) const;
    void set_image_sets(ElementHeader* element, ImageSet* sets) const;

    Panel& panel_;
    const LoadedModule& module_;
    GaugeHeader* header_;
    std::vector<ElementState> elements_;
    MouseAreas mouse_;
    int shown_width_;
    int shown_height_;
    int own_width_ = 0;
    int own_height_ = 0;
    double scale_x_ = 1;  // shown size over own size
    double scale_y_ = 1;
    bool up_ = false;
};

}  // namespace host

#endif
