// How the host turns a needle: the direction of a reading along the needle's scale table, and the
// needle's bitmap drawn turned about its pivot.
#ifndef HOST_NEEDLE_H
#define HOST_NEEDLE_H

#include <string>
#include <vector>

#include "bitmap.h"
#include "gauge_records.h"

namespace host {

// Checks what the direction needs of a scale table: rows, increasing values, and points apart from
// the pivot. Returns an empty text when it is sound, else what is wrong.
std::string scale_table_fault(const NeedleElement& needle);

// Degrees clockwise from straight up in which the needle points for a reading: the direction from
// the pivot to each row's point, interpolated linearly in value between neighbouring rows (the
// shorter way round) and held at the first and last rows. A reading that is no number holds at the
// first row.
double needle_direction(const NeedleElement& needle, double reading);

// Draws image, whose needle points from (origin_x, origin_y) towards increasing x, turned so that it
// points in `direction` with its origin on (pivot_x, pivot_y) of the canvas. Black is transparent.
void draw_turned(const HostImage& image, int origin_x, int origin_y, int pivot_x, int pivot_y, double direction,
                 int canvas_width, int canvas_height, std::vector<Rgb>* canvas);

}  // namespace host

#endif
