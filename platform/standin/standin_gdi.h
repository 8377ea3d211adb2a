// GDI as the stand-in offers it: device contexts over the memory of DirectDraw surfaces (8-bit
// palette-indexed or 16-bit 1-5-5-5), solid pens of width 1, solid brushes, TrueType fonts, lines,
// arcs, flood fills, text and bit-block transfers. Included by win32_standin.h.
#ifndef STANDIN_GDI_H
#define STANDIN_GDI_H

// Handles of GDI objects are distinct types, as with STRICT on Windows; HGDIOBJ takes any of them.
typedef struct StandInDeviceContext* HDC;
typedef struct StandInPen* HPEN;
typedef struct StandInBrush* HBRUSH;
typedef struct StandInFont* HFONT;
typedef void* HGDIOBJ;

typedef DWORD COLORREF;
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r)) | ((WORD)((BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(colour) ((BYTE)(colour))
#define GetGValue(colour) ((BYTE)(((WORD)(colour)) >> 8))
#define GetBValue(colour) ((BYTE)((colour) >> 16))
#define PALETTEINDEX(index) ((COLORREF)(0x01000000 | (DWORD)(WORD)(index)))
#define CLR_INVALID 0xFFFFFFFFu
#define GDI_ERROR 0xFFFFFFFFu
#define HGDI_ERROR ((HGDIOBJ)(intptr_t)-1)

struct POINT {
    LONG x;
    LONG y;
};
typedef POINT* LPPOINT;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

#define LF_FACESIZE 32
struct LOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
};
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA");

// pens
#define PS_SOLID 0
#define PS_NULL 5

// fonts
#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30

// background modes
#define TRANSPARENT 1
#define OPAQUE 2

// text alignment: two fields, horizontal (mask 6) and vertical (mask 24), and the update flag
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

// GetDeviceCaps
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define LOGPIXELSX 88
#define LOGPIXELSY 90

// ExtFloodFill
#define FLOODFILLBORDER 0
#define FLOODFILLSURFACE 1

// BitBlt raster operations
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u

// objects
STANDIN_API HPEN CreatePen(int style, int width, COLORREF colour);
STANDIN_API HBRUSH CreateSolidBrush(COLORREF colour);
STANDIN_API HFONT CreateFontIndirectA(const LOGFONTA* font);
STANDIN_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
STANDIN_API BOOL DeleteObject(HGDIOBJ object);

// attributes of a device context
STANDIN_API COLORREF SetTextColor(HDC dc, COLORREF colour);
STANDIN_API COLORREF SetBkColor(HDC dc, COLORREF colour);
STANDIN_API int SetBkMode(HDC dc, int mode);
STANDIN_API UINT SetTextAlign(HDC dc, UINT align);
STANDIN_API int GetDeviceCaps(HDC dc, int index);

// drawing
STANDIN_API BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
STANDIN_API BOOL LineTo(HDC dc, int x, int y);
STANDIN_API BOOL Polyline(HDC dc, const POINT* points, int count);
STANDIN_API BOOL Arc(HDC dc, int left, int top, int right, int bottom, int x_start, int y_start, int x_end,
                     int y_end);
STANDIN_API BOOL ExtFloodFill(HDC dc, int x, int y, COLORREF colour, UINT type);
STANDIN_API BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
STANDIN_API BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int x_source,
                        int y_source, DWORD rop);

#endif
