// Every Win32 call, structure and constant that the stand-in declares, used the way the gauges and
// the host use them. This file is compiled (never run) in every build: against the stand-in on
// Linux and against the system's headers on Windows, so that code written on one compiles on the
// other, and the values below hold on both.
#include <stddef.h>
#include <string.h>

#include "win32.h"

// Values and layouts that the gauges rely on.
static_assert(TA_LEFT == 0 && TA_RIGHT == 2 && TA_CENTER == 6, "horizontal text alignment");
static_assert(TA_TOP == 0 && TA_BOTTOM == 8 && TA_BASELINE == 24 && TA_UPDATECP == 1, "vertical text alignment");
static_assert(TRANSPARENT == 1 && OPAQUE == 2, "background modes");
static_assert(PS_SOLID == 0 && PS_NULL == 5, "pen styles");
static_assert(LOGPIXELSY == 90 && LOGPIXELSX == 88 && HORZRES == 8 && VERTRES == 10 && BITSPIXEL == 12 && PLANES == 14,
              "device capabilities");
static_assert(FLOODFILLBORDER == 0 && FLOODFILLSURFACE == 1, "flood fill types");
static_assert(SRCCOPY == 0x00CC0020 && SRCPAINT == 0x00EE0086, "raster operations");
static_assert(FW_NORMAL == 400 && FW_BOLD == 700 && DEFAULT_CHARSET == 1 && LF_FACESIZE == 32, "fonts");
static_assert(FF_SWISS == 0x20 && FF_MODERN == 0x30 && FIXED_PITCH == 1 && VARIABLE_PITCH == 2, "font families");
static_assert(RGB(1, 2, 3) == 0x030201 && GetRValue(0x030201) == 1 && GetGValue(0x030201) == 2 &&
                  GetBValue(0x030201) == 3 && PALETTEINDEX(7) == 0x01000007,
              "colours");
static_assert(CLR_INVALID == 0xFFFFFFFF && GDI_ERROR == 0xFFFFFFFF, "GDI failure values");
static_assert(MB_OK == 0 && MB_ICONERROR == 0x10 && MB_ICONWARNING == 0x30 && IDOK == 1, "message boxes");
static_assert(VK_TAB == 9 && VK_SHIFT == 0x10 && VK_CONTROL == 0x11, "virtual keys");
static_assert(PAGE_READWRITE == 4 && FILE_MAP_ALL_ACCESS == 0xF001F && FILE_MAP_WRITE == 2 && FILE_MAP_READ == 4,
              "file mappings");
static_assert(ERROR_ALREADY_EXISTS == 183 && ERROR_FILE_NOT_FOUND == 2 && ERROR_INVALID_HANDLE == 6 &&
                  ERROR_GEN_FAILURE == 31 && ERROR_INVALID_PARAMETER == 87,
              "error codes");

static_assert(DDSD_CAPS == 1 && DDSD_HEIGHT == 2 && DDSD_WIDTH == 4 && DDSD_PITCH == 8 && DDSD_LPSURFACE == 0x800 &&
                  DDSD_PIXELFORMAT == 0x1000,
              "surface description flags");
static_assert((DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT) == 0x100F, "the display's flags");
static_assert(DDSCAPS_OFFSCREENPLAIN == 0x40 && DDSCAPS_SYSTEMMEMORY == 0x800 && DDSCAPS_OWNDC == 0x40000 &&
                  DDSCAPS_PRIMARYSURFACE == 0x200 && DDSCAPS_VIDEOMEMORY == 0x4000,
              "surface capabilities");
static_assert(DDPF_RGB == 0x40 && DDPF_PALETTEINDEXED8 == 0x20 && DDPF_ALPHAPIXELS == 1, "pixel format flags");
static_assert(DDSCL_NORMAL == 8 && DDLOCK_NOSYSLOCK == 0x800 && DDLOCK_WAIT == 1 && DDLOCK_SURFACEMEMORYPTR == 0,
              "cooperative level and lock flags");
static_assert(DDPCAPS_8BIT == 4 && DDPCAPS_ALLOW256 == 0x40, "palette capabilities");
static_assert(DDBLT_COLORFILL == 0x400 && DDBLT_WAIT == 0x1000000, "blit flags");
static_assert(DD_OK == 0 && S_OK == 0, "success");
static_assert(DDERR_GENERIC == static_cast<HRESULT>(0x80004005) && DDERR_UNSUPPORTED == static_cast<HRESULT>(0x80004001) &&
                  DDERR_INVALIDPARAMS == static_cast<HRESULT>(0x80070057) &&
                  DDERR_OUTOFMEMORY == static_cast<HRESULT>(0x8007000E) &&
                  E_NOINTERFACE == static_cast<HRESULT>(0x80004002),
              "common results");
static_assert(DDERR_INVALIDCAPS == static_cast<HRESULT>(0x88760064) &&
                  DDERR_INVALIDOBJECT == static_cast<HRESULT>(0x88760082) &&
                  DDERR_INVALIDPIXELFORMAT == static_cast<HRESULT>(0x88760091) &&
                  DDERR_INVALIDRECT == static_cast<HRESULT>(0x88760096) &&
                  DDERR_SURFACEBUSY == static_cast<HRESULT>(0x887601AE) &&
                  DDERR_NOTLOCKED == static_cast<HRESULT>(0x88760248) &&
                  DDERR_DCALREADYCREATED == static_cast<HRESULT>(0x8876026C),
              "DirectDraw results");

static_assert(sizeof(POINT) == 8 && sizeof(RECT) == 16 && sizeof(PALETTEENTRY) == 4, "small structures");
static_assert(sizeof(LOGFONTA) == 60 && offsetof(LOGFONTA, lfCharSet) == 23 && offsetof(LOGFONTA, lfFaceName) == 28,
              "LOGFONTA");
static_assert(sizeof(BITMAPINFOHEADER) == 40 && sizeof(RGBQUAD) == 4, "bitmaps");
static_assert(sizeof(DDPIXELFORMAT) == 32 && offsetof(DDPIXELFORMAT, dwRGBBitCount) == 12 &&
                  offsetof(DDPIXELFORMAT, dwRGBAlphaBitMask) == 28,
              "DDPIXELFORMAT");
static_assert(offsetof(DDSURFACEDESC, lPitch) == 16 && offsetof(DDSURFACEDESC, dwReserved) == 32, "DDSURFACEDESC");
#if defined(_WIN32) || UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(DDSURFACEDESC) == 108 && offsetof(DDSURFACEDESC, lpSurface) == 36 &&
                  offsetof(DDSURFACEDESC, ddpfPixelFormat) == 72 &&
                  offsetof(DDSURFACEDESC, ddsCaps) == 104,
              "DDSURFACEDESC on 32-bit");
static_assert(sizeof(DDBLTFX) == 100 && offsetof(DDBLTFX, dwFillColor) == 80, "DDBLTFX on 32-bit");
#endif

// kernel and user, as the navigation display, the airspeed indicator and the host call them
int usage_kernel_and_user(HMODULE module, char* buffer) {
    int score = 0;
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, "NDPassData");
    if (mapping != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) ++score;
    HANDLE opened = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "NDPassData");
    char* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (view != nullptr) view[0] = 'A';
    UnmapViewOfFile(view);
    CloseHandle(opened);
    CloseHandle(mapping);

    HRSRC resource = FindResourceA(module, "#4096", RT_BITMAP);
    HGLOBAL loaded = LoadResource(module, resource);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(loaded));
    if (header != nullptr && header->biBitCount == 8) score += static_cast<int>(SizeofResource(module, resource));
    FindResourceA(module, MAKEINTRESOURCEA(8192), RT_BITMAP);

    HMODULE sound = LoadLibraryA("GaugeSound");
    typedef void (*Terminate)(void);
    Terminate terminate = reinterpret_cast<Terminate>(GetProcAddress(sound, "TerminateSounds"));
    if (terminate != nullptr) terminate();
    if (GetModuleHandleA("GaugeSound") == sound) ++score;
    FreeLibrary(sound);

    score += MulDiv(2000, -707, 10000);
    lstrcpyA(buffer, "Gauges" PATH_SEPARATOR);
    lstrcatA(buffer, "Vistrel.ND.err");
    SetLastError(ERROR_SUCCESS);

    MessageBoxA(nullptr, "Vistrel.ND\nUnable to lock surface.", "Error", MB_ICONERROR);
    MessageBoxA(nullptr, "Vistrel.ND\nUnable to get the color table \nand the palette.", "Warning", MB_ICONWARNING);
    if (GetAsyncKeyState(VK_TAB) & 0x8000) ++score;
    if (GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) < 0) ++score;
    return score;
}

// DirectDraw, as the navigation display builds and releases its drawing surface
HDC usage_directdraw(int width, int height, int pitch, bool sixteen_bits, const PALETTEENTRY* colours,
                     DWORD fill) {
    LPDIRECTDRAW directdraw = nullptr;
    LPDIRECTDRAW2 directdraw2 = nullptr;
    LPDIRECTDRAWSURFACE surface = nullptr;
    LPDIRECTDRAWSURFACE3 surface3 = nullptr;
    LPDIRECTDRAWPALETTE palette = nullptr;
    HDC dc = nullptr;
    HRESULT result = DirectDrawCreate(nullptr, &directdraw, nullptr);
    if (FAILED(result)) return nullptr;
    result = directdraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    result = directdraw->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&directdraw2));

    DDSURFACEDESC desc;
    memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.lPitch = pitch;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY | DDSCAPS_OWNDC;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    if (sixteen_bits) {
        desc.ddpfPixelFormat.dwFlags = DDPF_RGB | DDPF_ALPHAPIXELS;
        desc.ddpfPixelFormat.dwRGBBitCount = 16;
        desc.ddpfPixelFormat.dwRBitMask = 0x7C00;
        desc.ddpfPixelFormat.dwGBitMask = 0x03E0;
        desc.ddpfPixelFormat.dwBBitMask = 0x001F;
        desc.ddpfPixelFormat.dwRGBAlphaBitMask = 0x8000;
    } else {
        desc.ddpfPixelFormat.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
        desc.ddpfPixelFormat.dwRGBBitCount = 8;
    }
    result = directdraw2->CreateSurface(&desc, &surface, nullptr);
    result = surface->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface3));
    result = surface3->Lock(nullptr, &desc, DDLOCK_NOSYSLOCK, nullptr);
    unsigned char* memory = static_cast<unsigned char*>(desc.lpSurface);
    if (memory != nullptr) memory[desc.lPitch - 1] = 0;
    result = surface3->Unlock(nullptr);
    if (!sixteen_bits) {
        result = directdraw2->CreatePalette(DDPCAPS_8BIT, const_cast<LPPALETTEENTRY>(colours), &palette, nullptr);
        result = surface3->SetPalette(palette);
        palette->Release();
    }
    result = surface3->GetDC(&dc);

    DDBLTFX fx;
    memset(&fx, 0, sizeof fx);
    fx.dwSize = sizeof fx;
    fx.dwFillColor = fill;
    RECT area = {248, 94, 256, 162};
    result = surface3->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    result = surface3->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    if (FAILED(result)) return nullptr;

    surface3->ReleaseDC(dc);
    surface3->AddRef();
    surface3->Release();
    surface3->Release();
    surface->Release();
    directdraw2->Release();
    directdraw->Release();
    return dc;
}

// GDI, as the drawing pass uses it
BOOL usage_gdi(HDC dc, HDC mask, int width, int height) {
    LOGFONTA logfont;
    memset(&logfont, 0, sizeof logfont);
    logfont.lfHeight = -11;
    logfont.lfCharSet = DEFAULT_CHARSET;
    logfont.lfPitchAndFamily = 0x31;
    lstrcpyA(logfont.lfFaceName, "Arial");
    HFONT font = CreateFontIndirectA(&logfont);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
    const int scaled = MulDiv(GetDeviceCaps(dc, LOGPIXELSY), 1, 11);

    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    HFONT old_font = static_cast<HFONT>(SelectObject(dc, font));
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_CENTER);
    POINT previous;
    MoveToEx(dc, 128, 217, &previous);
    MoveToEx(dc, 128, 217, nullptr);
    LineTo(dc, 131, 225);
    const POINT marker[] = {{125, 14}, {125, 19}, {128, 22}, {131, 19}, {131, 13}};
    Polyline(dc, marker, 5);
    Arc(dc, 118, 126, 138, 146, 118, 136, 118, 136);
    ExtFloodFill(dc, 5, 215, RGB(0, 255, 255), FLOODFILLBORDER);
    char text[15] = "270\xB0 / 16";
    TextOutA(dc, 0, 4, text, static_cast<int>(strlen(text)));
    SetBkMode(dc, OPAQUE);
    TextOutA(dc, 220, 61, "3", 1);
    BitBlt(dc, 0, 0, width, height, mask, 0, 0, SRCPAINT);
    BitBlt(dc, 0, 0, width, height, mask, 0, 0, SRCCOPY);

    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_font);
    DeleteObject(pen);
    DeleteObject(brush);
    return DeleteObject(font) && scaled == 9;
}
