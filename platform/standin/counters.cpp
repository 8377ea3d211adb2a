#include "counters.h"

#include <atomic>

#include "standin_control.h"

namespace standin {

namespace {

constexpr int kKinds = static_cast<int>(Counted::LibraryReference) + 1;
std::atomic<int> live[kKinds];

int value(Counted kind) { return live[static_cast<int>(kind)].load(); }

}  // namespace

void count_live(Counted kind, int delta) { live[static_cast<int>(kind)].fetch_add(delta); }

}  // namespace standin

void standin_live_objects(StandInLiveObjects* counts) {
    using standin::Counted;
    using standin::value;
    if (counts == nullptr) return;
    counts->pens = value(Counted::Pen);
    counts->brushes = value(Counted::Brush);
    counts->fonts = value(Counted::Font);
    counts->device_contexts = value(Counted::DeviceContext);
    counts->directdraw_objects = value(Counted::DirectDraw);
    counts->surfaces = value(Counted::Surface);
    counts->palettes = value(Counted::Palette);
    counts->file_mappings = value(Counted::FileMapping);
    counts->file_views = value(Counted::FileView);
    counts->library_references = value(Counted::LibraryReference);
}
