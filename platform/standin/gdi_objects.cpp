// The handle table, the objects that GDI creates, selects and deletes, and the attributes of a
// device context.
#include "gdi_objects.h"

#include <stdio.h>
#include <string.h>

#include <unordered_map>

#include "call.h"
#include "counters.h"

namespace standin {

namespace {

class HandleTable {
public:
    HandleTable() {
        stock_pen_ = add(std::make_unique<Pen>(PS_SOLID, 0, RGB(0, 0, 0)), false);
        stock_brush_ = add(std::make_unique<Brush>(RGB(255, 255, 255)), false);
        // The face of the default font is looked for when text is first drawn in it.
        LOGFONTA system_font{};
        system_font.lfWeight = FW_NORMAL;
        stock_font_ = add(std::make_unique<Font>(system_font, nullptr), false);
    }

    // Counted objects are the ones that a gauge creates; the stock objects of a new device context
    // are not.
    HGDIOBJ add(std::unique_ptr<GdiObject> object, bool counted = true) {
        next_ += 4;
        const auto handle = reinterpret_cast<HGDIOBJ>(next_);
        if (counted) count_live(counter_of(object->kind), +1);
        objects_[next_] = Entry{std::move(object), counted};
        return handle;
    }

    GdiObject* find(HGDIOBJ handle) const {
        const auto found = objects_.find(reinterpret_cast<uintptr_t>(handle));
        return found == objects_.end() ? nullptr : found->second.object.get();
    }

    bool is_stock(HGDIOBJ handle) const {
        const auto found = objects_.find(reinterpret_cast<uintptr_t>(handle));
        return found != objects_.end() && !found->second.counted;
    }

    bool selected_anywhere(HGDIOBJ handle) const {
        for (const auto& entry : objects_) {
            if (entry.second.object->kind != GdiKind::DeviceContext) continue;
            const auto* dc = static_cast<const DeviceContext*>(entry.second.object.get());
            if (dc->pen == handle || dc->brush == handle || dc->font == handle) return true;
        }
        return false;
    }

    void remove(HGDIOBJ handle) {
        const auto found = objects_.find(reinterpret_cast<uintptr_t>(handle));
        if (found == objects_.end()) return;
        if (found->second.counted) count_live(counter_of(found->second.object->kind), -1);
        objects_.erase(found);
    }

    HGDIOBJ stock_pen() const { return stock_pen_; }
    HGDIOBJ stock_brush() const { return stock_brush_; }
    HGDIOBJ stock_font() const { return stock_font_; }

private:
    struct Entry {
        std::unique_ptr<GdiObject> object;
        bool counted;
    };

    static Counted counter_of(GdiKind kind) {
        switch (kind) {
            case GdiKind::DeviceContext: return Counted::DeviceContext;
            case GdiKind::Pen: return Counted::Pen;
            case GdiKind::Brush: return Counted::Brush;
            case GdiKind::Font: break;
        }
        return Counted::Font;
    }

    // Handles are never reused; they start well away from null and small integers.
    uintptr_t next_ = 0x10000;
    std::unordered_map<uintptr_t, Entry> objects_;
    HGDIOBJ stock_pen_;
    HGDIOBJ stock_brush_;
    HGDIOBJ stock_font_;
};

HandleTable& table() {
    static HandleTable* handles = new HandleTable;  // alive until the process ends
    return *handles;
}

template <typename T>
T* find_as(HGDIOBJ handle, GdiKind kind) {
    GdiObject* object = table().find(handle);
    return object != nullptr && object->kind == kind ? static_cast<T*>(object) : nullptr;
}

}  // namespace

DeviceContext::DeviceContext(std::shared_ptr<Canvas> canvas)
    : GdiObject(GdiKind::DeviceContext),
      canvas(std::move(canvas)),
      pen(table().stock_pen()),
      brush(table().stock_brush()),
      font(table().stock_font()) {}

const Pen& DeviceContext::selected_pen() const { return *find_as<Pen>(pen, GdiKind::Pen); }
const Brush& DeviceContext::selected_brush() const { return *find_as<Brush>(brush, GdiKind::Brush); }
Font& DeviceContext::selected_font() const { return *find_as<Font>(font, GdiKind::Font); }

DeviceContext* find_dc(HDC dc) { return find_as<DeviceContext>(dc, GdiKind::DeviceContext); }

GdiObject* find_object(HGDIOBJ object) { return table().find(object); }

HDC create_dc(std::shared_ptr<Canvas> canvas) {
    return static_cast<HDC>(table().add(std::make_unique<DeviceContext>(std::move(canvas))));
}

void delete_dc(HDC dc) {
    if (find_dc(dc) != nullptr) table().remove(dc);
}

void describe_gdi_object(HGDIOBJ object, std::string& line) {
    if (object == nullptr) {
        line += "null";
        return;
    }
    const GdiObject* found = table().find(object);
    if (found == nullptr) {
        line += "invalid";
        return;
    }
    char text[64];
    switch (found->kind) {
        case GdiKind::DeviceContext: line += "dc"; break;
        case GdiKind::Pen: {
            const auto* pen = static_cast<const Pen*>(found);
            snprintf(text, sizeof text, "pen %d %d 0x%06X", pen->style, pen->width, pen->colour);
            line += text;
            break;
        }
        case GdiKind::Brush:
            snprintf(text, sizeof text, "brush 0x%06X", static_cast<const Brush*>(found)->colour);
            line += text;
            break;
        case GdiKind::Font: {
            const auto* font = static_cast<const Font*>(found);
            line += "font " + std::to_string(font->logfont.lfHeight);
            Arg(Text{font->logfont.lfFaceName, static_cast<int>(strnlen(font->logfont.lfFaceName, LF_FACESIZE))})
                .append_to(line);
            break;
        }
    }
}

}  // namespace standin

using namespace standin;

// Pens are solid and one pixel wide: width 0 and 1 both mean one pixel. PS_NULL draws nothing.
// Other styles and widths are not offered: the call fails.
HPEN CreatePen(int style, int width, COLORREF colour) {
    const Call call("CreatePen", {style, width, Colour{colour}});
    if (call.failed()) return nullptr;
    if ((style != PS_SOLID && style != PS_NULL) || width < 0 || width > 1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HPEN>(table().add(std::make_unique<Pen>(style, width, colour)));
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    const Call call("CreateSolidBrush", {Colour{colour}});
    if (call.failed()) return nullptr;
    return static_cast<HBRUSH>(table().add(std::make_unique<Brush>(colour)));
}

// Width, escapement, orientation, underline and strike-out are not drawn; weight (from 600 on,
// bold) and italic choose the face.
HFONT CreateFontIndirectA(const LOGFONTA* font) {
    const Call call("CreateFontIndirectA",
                    {font == nullptr ? 0 : font->lfHeight,
                     Text{font == nullptr ? nullptr : font->lfFaceName,
                          font == nullptr ? 0 : static_cast<int>(strnlen(font->lfFaceName, LF_FACESIZE))}});
    if (call.failed()) return nullptr;
    if (font == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::shared_ptr<FontFace> face = FontFace::for_logfont(*font);
    if (!face) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return static_cast<HFONT>(table().add(std::make_unique<Font>(*font, std::move(face))));
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    const Call call("SelectObject", {GdiHandle{object}});
    if (call.failed()) return nullptr;
    DeviceContext* context = find_dc(dc);
    GdiObject* found = table().find(object);
    if (context == nullptr || found == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HGDIOBJ* slot = nullptr;
    switch (found->kind) {
        case GdiKind::Pen: slot = &context->pen; break;
        case GdiKind::Brush: slot = &context->brush; break;
        case GdiKind::Font: slot = &context->font; break;
        case GdiKind::DeviceContext: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
    const HGDIOBJ previous = *slot;
    *slot = object;
    return previous;
}

// An object still selected into a device context is not deleted (FALSE); deleting a stock object
// does nothing and succeeds. Device contexts of surfaces go back through ReleaseDC.
BOOL DeleteObject(HGDIOBJ object) {
    const Call call("DeleteObject", {GdiHandle{object}});
    if (call.failed()) return FALSE;
    GdiObject* found = table().find(object);
    if (found != nullptr && table().is_stock(object)) return TRUE;
    if (found == nullptr || found->kind == GdiKind::DeviceContext || table().selected_anywhere(object)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    table().remove(object);
    return TRUE;
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
    const Call call("SetTextColor", {Colour{colour}});
    DeviceContext* context = find_dc(dc);
    if (call.failed() || context == nullptr) return CLR_INVALID;
    const COLORREF previous = context->text_colour;
    context->text_colour = colour;
    return previous;
}

COLORREF SetBkColor(HDC dc, COLORREF colour) {
    const Call call("SetBkColor", {Colour{colour}});
    DeviceContext* context = find_dc(dc);
    if (call.failed() || context == nullptr) return CLR_INVALID;
    const COLORREF previous = context->background_colour;
    context->background_colour = colour;
    return previous;
}

int SetBkMode(HDC dc, int mode) {
    const Call call("SetBkMode", {mode});
    DeviceContext* context = find_dc(dc);
    if (call.failed() || context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int previous = context->background_mode;
    context->background_mode = mode;
    return previous;
}

// Alignment is three fields: TA_UPDATECP (bit 0), horizontal (mask 6: TA_LEFT, TA_RIGHT, TA_CENTER)
// and vertical (mask 24: TA_TOP, TA_BOTTOM, TA_BASELINE). Other bits are kept but do nothing.
UINT SetTextAlign(HDC dc, UINT align) {
    const Call call("SetTextAlign", {align});
    DeviceContext* context = find_dc(dc);
    if (call.failed() || context == nullptr) return GDI_ERROR;
    const UINT previous = context->text_align;
    context->text_align = align;
    return previous;
}

// A surface's device context: 96 dots per inch, the surface's size and depth, one plane.
int GetDeviceCaps(HDC dc, int index) {
    const Call call("GetDeviceCaps", {index});
    DeviceContext* context = find_dc(dc);
    if (call.failed() || context == nullptr) return 0;
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        case HORZRES: return context->canvas->width();
        case VERTRES: return context->canvas->height();
        case BITSPIXEL: return context->canvas->bits_per_pixel();
        case PLANES: return 1;
        default: return 0;
    }
}
