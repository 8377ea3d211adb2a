// The one registry of live objects: every kind of object that a gauge creates and must give back is
// counted here, so that a test can prove that a gauge's life leaves nothing behind.
#ifndef STANDIN_COUNTERS_H
#define STANDIN_COUNTERS_H

namespace standin {

enum class Counted {
    Pen,
    Brush,
    Font,
    DeviceContext,
    DirectDraw,
    Surface,
    Palette,
    FileMapping,
    FileView,
    LibraryReference,
};

void count_live(Counted kind, int delta);

// Counts one object of its kind for exactly as long as it lives: a member of the counted object.
template <Counted kind>
class LiveCount {
public:
    LiveCount() { count_live(kind, +1); }
    ~LiveCount() { count_live(kind, -1); }
    LiveCount(const LiveCount&) = delete;
    LiveCount& operator=(const LiveCount&) = delete;
};

}  // namespace standin

#endif
