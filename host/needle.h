// How the host turns a needle: the direction of a reading along the needle's scale table, and the
// needle's bitmap drawn turned about its pivot.
#ifndef HOST_NEEDLE_H
#define HOST_NEEDLE_H

#include <string>
#include <vector>

#include "bitmap.h"
#include "gauge_records.h"
#include "gauge.h"

namespace host {

// Checks what the direction needs of a scale table: rows, increasing values, and points apart from
// the pivot. Returns an empty text when it is sound, else what is wrong.
std::string scale_table_fault(const NeedleElement& needle);

// Degrees clockwise from straight up in which the needle points for a reading: the direction from
// the pivot to each row's point, interpolated linearly in value between neighbouring rows (the
// shorter way round) and held at the first and last rows. A reading that is no number holds at the
// first row. The dial may be shown stretched by scale_x and scale_y, which bends the directions.
double needle_direction(const NeedleElement& needle, double reading, double scale_x = 1, double scale_y = 1);

// Where a needle's image goes: its pivot on the canvas and the pivot within the image.
struct NeedlePlacement {
    double pivot_x, pivot_y;
    double origin_x, origin_y;
};

// Draws image, whose needle points from its origin towards increasing x, turned so that it points in
// `direction` with its origin on the pivot. Black is transparent.
void draw_turned(const HostImage& image, const NeedlePlacement& placement, double direction, Canvas* canvas);

}  // namespace host

#endif
