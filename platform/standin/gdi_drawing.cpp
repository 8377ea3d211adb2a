// Lines, arcs, flood fills and bit-block transfers on a device context.
#include <algorithm>
#include <cstring>
#include <vector>

#include "call.h"
#include "gdi_objects.h"
#include "raster.h"

using namespace standin;

namespace {

// The pen's pixel, or false when the pen draws nothing.
bool pen_pixel(const DeviceContext& context, uint32_t* pixel) {
    const Pen& pen = context.selected_pen();
    if (pen.style == PS_NULL) return false;
    *pixel = context.canvas->pixel_for(pen.colour);
    return true;
}

bool point_ok(long long x, long long y) { return coordinate_ok(x) && coordinate_ok(y); }

// The two never overlap (a copy onto its own canvas reads from a copy of the source): the compiler
// then ORs 16 bytes at a time without first checking for overlap, four of them a turn, or 32 where
// the processor has AVX2 (chosen when the library is loaded). A 16-bit display ORs its whole
// picture with this every frame.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void or_bytes(uint8_t* __restrict to, const uint8_t* __restrict from, size_t count) {
#pragma GCC unroll 4
    for (size_t i = 0; i < count; ++i) to[i] |= from[i];
}

// Pixel values copied or ORed row by row between canvases of one format and palette; the area lies
// inside both. ORing the bytes ORs the pixels.
void copy_raw(Canvas& target, long long x, long long y, Canvas& origin, long long x_source, long long y_source, size_t columns,
              size_t rows, DWORD rop) {
    const size_t row_bytes = columns * static_cast<size_t>(target.bytes_per_pixel());
    const auto at = [](Canvas& canvas, long long px, long long py) {
        return canvas.row(static_cast<int>(py)) + static_cast<size_t>(px) * static_cast<size_t>(canvas.bytes_per_pixel());
    };
    // From a canvas onto itself the source is read whole first, so that the rows may overlap.
    std::vector<uint8_t> copy;
    if (&target == &origin) {
        copy.resize(row_bytes * rows);
        for (size_t row = 0; row < rows; ++row) {
            std::memcpy(copy.data() + row * row_bytes, at(origin, x_source, y_source + static_cast<long long>(row)), row_bytes);
        }
    }
    for (size_t row = 0; row < rows; ++row) {
        const uint8_t* from =
            copy.empty() ? at(origin, x_source, y_source + static_cast<long long>(row)) : copy.data() + row * row_bytes;
        uint8_t* to = at(target, x, y + static_cast<long long>(row));
        if (rop == SRCPAINT) {
            or_bytes(to, from, row_bytes);
        } else {
            std::memcpy(to, from, row_bytes);
        }
    }
}

}  // namespace

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
    const Call call("MoveToEx", {x, y});
    DeviceContext* context = find_dc(dc);
    if (call.failed() || context == nullptr) return FALSE;
    if (previous != nullptr) *previous = context->position;
    context->position = POINT{x, y};
    return TRUE;
}

// Draws from the current position up to, not including, (x, y), and moves the current position
// there. Coordinates beyond 27 bits fail the call, which then neither draws nor moves.
BOOL LineTo(HDC dc, int x, int y) {
    const Call call("LineTo", {x, y});
    DeviceContext* context = find_dc(dc);
    if (call.failed() || context == nullptr) return FALSE;
    const POINT from = context->position;
    if (!point_ok(from.x, from.y) || !point_ok(x, y)) return FALSE;
    uint32_t pixel = 0;
    if (pen_pixel(*context, &pixel)) draw_segment(*context->canvas, from.x, from.y, x, y, pixel);
    context->position = POINT{x, y};
    return TRUE;
}

// Segments between successive points, each drawn as LineTo draws it; the current position is
// neither used nor changed. At least two points.
BOOL Polyline(HDC dc, const POINT* points, int count) {
    std::vector<Arg> args;
    args.emplace_back(count);
    for (int i = 0; points != nullptr && i < count; ++i) {
        args.emplace_back(points[i].x);
        args.emplace_back(points[i].y);
    }
    const Call call("Polyline", args);
    DeviceContext* context = find_dc(dc);
    if (call.failed() || context == nullptr || points == nullptr || count < 2) return FALSE;
    for (int i = 0; i < count; ++i) {
        if (!point_ok(points[i].x, points[i].y)) return FALSE;
    }
    uint32_t pixel = 0;
    if (!pen_pixel(*context, &pixel)) return TRUE;
    for (int i = 1; i < count; ++i) {
        draw_segment(*context->canvas, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, pixel);
    }
    return TRUE;
}

// The current position stays where it is.
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int x_start, int y_start, int x_end, int y_end) {
    const Call call("Arc", {left, top, right, bottom, x_start, y_start, x_end, y_end});
    DeviceContext* context = find_dc(dc);
    if (call.failed() || context == nullptr) return FALSE;
    uint32_t pixel = 0;
    if (!pen_pixel(*context, &pixel)) {
        return right - left != 0 && bottom - top != 0;
    }
    return draw_arc(*context->canvas, left, top, right, bottom, x_start, y_start, x_end, y_end, pixel) ? TRUE : FALSE;
}

// Fills with the selected brush: FLOODFILLBORDER up to the colour given, FLOODFILLSURFACE the area
// of that colour. Fails, filling nothing, when the seed lies outside the surface or does not
// qualify (on the border colour, or not of the surface colour).
BOOL ExtFloodFill(HDC dc, int x, int y, COLORREF colour, UINT type) {
    const Call call("ExtFloodFill", {x, y, Colour{colour}, type});
    DeviceContext* context = find_dc(dc);
    if (call.failed() || context == nullptr || (type != FLOODFILLBORDER && type != FLOODFILLSURFACE)) return FALSE;
    Canvas& canvas = *context->canvas;
    const uint32_t fill = canvas.pixel_for(context->selected_brush().colour);
    return flood_fill(canvas, x, y, canvas.pixel_for(colour), type == FLOODFILLBORDER, fill) ? TRUE : FALSE;
}

// SRCCOPY and SRCPAINT. Between surfaces of the same format and colours the pixel values themselves
// are copied or ORed (on 16-bit surfaces bit 15 too); otherwise each source pixel is first turned
// into the destination's nearest colour. Only pixels that lie inside both surfaces are touched.
BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int x_source, int y_source, DWORD rop) {
    const Call call("BitBlt", {x, y, width, height, x_source, y_source, rop});
    DeviceContext* to = find_dc(destination);
    DeviceContext* from = find_dc(source);
    if (call.failed() || to == nullptr || from == nullptr || (rop != SRCCOPY && rop != SRCPAINT)) return FALSE;
    if (width <= 0 || height <= 0) return TRUE;
    Canvas& target = *to->canvas;
    Canvas& origin = *from->canvas;
    const long long first_col = std::max({0LL, -static_cast<long long>(x), -static_cast<long long>(x_source)});
    const long long last_col = std::min({static_cast<long long>(width), static_cast<long long>(target.width()) - x,
                                         static_cast<long long>(origin.width()) - x_source});
    const long long first_row = std::max({0LL, -static_cast<long long>(y), -static_cast<long long>(y_source)});
    const long long last_row = std::min({static_cast<long long>(height), static_cast<long long>(target.height()) - y,
                                         static_cast<long long>(origin.height()) - y_source});
    if (first_col >= last_col || first_row >= last_row) return TRUE;

    const auto columns = static_cast<size_t>(last_col - first_col);
    const auto rows = static_cast<size_t>(last_row - first_row);
    if (target.same_colours_as(origin)) {
        copy_raw(target, x + first_col, y + first_row, origin, x_source + first_col, y_source + first_row, columns, rows, rop);
        return TRUE;
    }
    // Different colours mean different canvases: nothing read has been written.
    for (long long row = first_row; row < last_row; ++row) {
        for (long long col = first_col; col < last_col; ++col) {
            const int tx = static_cast<int>(x + col);
            const int ty = static_cast<int>(y + row);
            const uint32_t source = origin.get(static_cast<int>(x_source + col), static_cast<int>(y_source + row));
            uint32_t value = target.pixel_for(origin.colour_of(source));
            if (rop == SRCPAINT) value |= target.get(tx, ty);
            target.put(tx, ty, value);
        }
    }
    return TRUE;
}
