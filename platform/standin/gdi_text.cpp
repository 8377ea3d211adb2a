// TextOutA: Windows-1252 text in the selected font, placed by the text alignment, over a cell of
// the background colour in OPAQUE mode.
#include <algorithm>

#include "call.h"
#include "gdi_objects.h"

using namespace standin;

namespace {

constexpr int kLongestText = 8192;  // characters in one call

}  // namespace

// The reference point (x, y), or the current position with TA_UPDATECP, is the left, right or
// centre of the text's advance width (align & 6) and the top, bottom or baseline of its cell
// (align & 24). With TA_UPDATECP the current position moves along by the advance width for
// TA_LEFT and back for TA_RIGHT.
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    const bool length_ok = length >= 0 && length <= kLongestText;
    const Call call("TextOutA", {x, y, Text{text, length_ok ? length : 0}});
    DeviceContext* context = find_dc(dc);
    if (call.failed() || context == nullptr || !length_ok || (text == nullptr && length > 0)) {
        return FALSE;
    }
    Font& font = context->selected_font();
    if (!font.face) font.face = FontFace::for_logfont(font.logfont);
    const std::shared_ptr<FontFace>& face = font.face;
    if (!face) return FALSE;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const long long width = face->text_width(bytes, length);

    const bool update = (context->text_align & TA_UPDATECP) != 0;
    const long long ref_x = update ? context->position.x : x;
    const long long ref_y = update ? context->position.y : y;
    long long left = ref_x;
    switch (context->text_align & 6) {
        case TA_RIGHT: left = ref_x - width; break;
        case TA_CENTER: left = ref_x - width / 2; break;
        default: break;
    }
    long long baseline = ref_y + face->ascent();
    switch (context->text_align & 24) {
        case TA_BASELINE: baseline = ref_y; break;
        case TA_BOTTOM: baseline = ref_y - face->descent(); break;
        default: break;
    }

    Canvas& canvas = *context->canvas;
    if (context->background_mode == OPAQUE) {
        const uint32_t background = canvas.pixel_for(context->background_colour);
        const long long top = std::max(baseline - face->ascent(), 0LL);
        const long long bottom = std::min(baseline + face->descent(), static_cast<long long>(canvas.height()));
        const long long first = std::max(left, 0LL);
        const long long last = std::min(left + width, static_cast<long long>(canvas.width()));
        for (long long py = top; py < bottom && first < last; ++py) {
            canvas.fill_span(static_cast<int>(py), static_cast<int>(first), static_cast<int>(last), background);
        }
    }
    const uint32_t ink = canvas.pixel_for(context->text_colour);
    const PixelView view = canvas.view();
    long long pen_x = left;
    for (int i = 0; i < length; ++i) {
        const Glyph& glyph = face->glyph(bytes[i]);
        const long long gx = pen_x + glyph.left;
        const long long gy = baseline - glyph.top;
        for (int row = 0; row < glyph.rows; ++row) {
            for (int col = 0; col < glyph.width; ++col) {
                if (glyph.ink[static_cast<size_t>(row) * static_cast<size_t>(glyph.width) + static_cast<size_t>(col)]) {
                    view.put_clipped(gx + col, gy + row, ink);
                }
            }
        }
        pen_x += glyph.advance;
    }

    if (update && (context->text_align & 6) != TA_CENTER) {
        const long long moved = (context->text_align & 6) == TA_RIGHT ? ref_x - width : ref_x + width;
        context->position.x = static_cast<LONG>(std::clamp(moved, static_cast<long long>(INT32_MIN),
                                                           static_cast<long long>(INT32_MAX)));
    }
    return TRUE;
}
