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
    int image_width = 0;  // the image whose pixels the boxes are in
    int image_height = 0;
    bool registered = false;
};

class Gauge {
public:
    Gauge(Panel& panel, const LoadedModule& module, GaugeHeader* header);
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

    // Size of the gauge as shown: its root image.
    int width() const;
    int height() const;

    // A left click at a pixel of the gauge as shown; calls the first live child area under it.
    void click(int x, int y);

    // Draws the shown images of every element, root first, black (0) transparent, onto an RGB
    // canvas of width() x height().
    void compose(std::vector<Rgb>* canvas) const;

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
    bool up_ = false;
};

}  // namespace host

#endif
