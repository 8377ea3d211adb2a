#include "needle.h"

#include <cmath>

namespace host {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kMaxScaleRows = 256;

double row_direction(const NeedleElement& needle, uint32_t row, double scale_x, double scale_y) {
    const double dx = (needle.scale_table[row].x - needle.header.position_x) * scale_x;
    const double dy = (needle.scale_table[row].y - needle.header.position_y) * scale_y;
    return std::atan2(dx, -dy) * 180.0 / kPi;
}

// The turn from one direction to the next, the shorter way round.
double turn(double from, double to) { return std::remainder(to - from, 360.0); }

}  // namespace

std::string scale_table_fault(const NeedleElement& needle) {
    if (needle.scale_table == nullptr || needle.scale_count == 0) return "needle without a scale table";
    if (needle.scale_count > kMaxScaleRows) return "needle scale of more than 256 rows";
    for (uint32_t row = 0; row < needle.scale_count; ++row) {
        const ScalePoint& point = needle.scale_table[row];
        if (point.x == needle.header.position_x && point.y == needle.header.position_y) {
            return "needle scale row " + std::to_string(row) + " lies on the pivot";
        }
        if (!std::isfinite(point.value) || (row > 0 && !(point.value > needle.scale_table[row - 1].value))) {
            return "needle scale values do not increase at row " + std::to_string(row);
        }
    }
    return "";
}

double needle_direction(const NeedleElement& needle, double reading, double scale_x, double scale_y) {
    const ScalePoint* rows = needle.scale_table;
    const uint32_t last = needle.scale_count - 1;
    double direction = row_direction(needle, 0, scale_x, scale_y);
    if (!(reading > rows[0].value)) return direction;  // NaN included
    for (uint32_t row = 1; row <= last; ++row) {
        const double next = direction + turn(direction, row_direction(needle, row, scale_x, scale_y));
        if (reading <= rows[row].value) {
            const double share = (reading - rows[row - 1].value) / (rows[row].value - rows[row - 1].value);
            return direction + share * (next - direction);
        }
        direction = next;
    }
    return direction;
}

void draw_turned(const HostImage& image, const NeedlePlacement& placement, double direction, Canvas* canvas) {
    // The bitmap points along +x, which is 90 degrees clockwise from straight up.
    const double angle = (direction - 90.0) * kPi / 180.0;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    // Every canvas pixel within the needle's reach takes the bitmap pixel that turns onto its centre.
    const double reach = std::hypot(std::max(placement.origin_x, image.image.width - placement.origin_x),
                                    std::max(placement.origin_y, image.image.height - placement.origin_y)) + 1;
    const int left = std::max(0, static_cast<int>(std::floor(placement.pivot_x - reach)));
    const int right = std::min(canvas->width - 1, static_cast<int>(std::ceil(placement.pivot_x + reach)));
    const int top = std::max(0, static_cast<int>(std::floor(placement.pivot_y - reach)));
    const int bottom = std::min(canvas->height - 1, static_cast<int>(std::ceil(placement.pivot_y + reach)));
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const double dx = x + 0.5 - placement.pivot_x;
            const double dy = y + 0.5 - placement.pivot_y;
            const double source_x = std::floor(c * dx + s * dy + placement.origin_x);
            const double source_y = std::floor(-s * dx + c * dy + placement.origin_y);
            Rgb colour;
            if (pixel_colour(image, static_cast<int>(source_x), static_cast<int>(source_y), &colour)) canvas->put(x, y, colour);
        }
    }
}

}  // namespace host
