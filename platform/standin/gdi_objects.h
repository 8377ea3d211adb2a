// GDI objects and the table of their handles. A handle is a number that the table hands out once
// and never again, so that a stale or made-up handle is recognised and refused instead of followed.
#ifndef STANDIN_GDI_OBJECTS_H
#define STANDIN_GDI_OBJECTS_H

#include <memory>
#include <string>

#include "canvas.h"
#include "fonts.h"
#include "win32_standin.h"

namespace standin {

enum class GdiKind { DeviceContext, Pen, Brush, Font };

struct GdiObject {
    explicit GdiObject(GdiKind kind) : kind(kind) {}
    virtual ~GdiObject() = default;
    const GdiKind kind;
};

struct Pen : GdiObject {
    Pen(int style, int width, COLORREF colour) : GdiObject(GdiKind::Pen), style(style), width(width), colour(colour) {}
    int style;
    int width;
    COLORREF colour;
};

struct Brush : GdiObject {
    explicit Brush(COLORREF colour) : GdiObject(GdiKind::Brush), colour(colour) {}
    COLORREF colour;
};

// A logical font and the face it came to; a font without a face finds one when text is drawn.
struct Font : GdiObject {
    Font(const LOGFONTA& logfont, std::shared_ptr<FontFace> face)
        : GdiObject(GdiKind::Font), logfont(logfont), face(std::move(face)) {}
    LOGFONTA logfont;
    std::shared_ptr<FontFace> face;
};

// A device context over the pixels of a surface, with the state that GDI keeps per context.
struct DeviceContext : GdiObject {
    explicit DeviceContext(std::shared_ptr<Canvas> canvas);
    std::shared_ptr<Canvas> canvas;
    HGDIOBJ pen;
    HGDIOBJ brush;
    HGDIOBJ font;
    COLORREF text_colour = RGB(0, 0, 0);
    COLORREF background_colour = RGB(255, 255, 255);
    int background_mode = OPAQUE;
    UINT text_align = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    POINT position = {0, 0};

    const Pen& selected_pen() const;
    const Brush& selected_brush() const;
    Font& selected_font() const;
};

// Looks a handle up; null when it is not a live object of that kind.
DeviceContext* find_dc(HDC dc);
GdiObject* find_object(HGDIOBJ object);

// Device contexts of DirectDraw surfaces: made by GetDC, ended by ReleaseDC or with the surface.
HDC create_dc(std::shared_ptr<Canvas> canvas);
void delete_dc(HDC dc);

// Appends the journal's description of a GDI object to a line.
void describe_gdi_object(HGDIOBJ object, std::string& line);

}  // namespace standin

#endif
