// DirectDraw as the stand-in offers it: the DirectDraw object (IDirectDraw, IDirectDraw2),
// system-memory surfaces (IDirectDrawSurface, IDirectDrawSurface3) with device contexts and colour
// fills, and palettes (IDirectDrawPalette). Included by win32_standin.h.
//
// The interfaces are C++ structs whose pure virtual methods follow the documented vtable order,
// IUnknown's three first, so that code written against the system's ddraw.h compiles unchanged.
// Methods that the stand-in does not offer return DDERR_UNSUPPORTED.
#ifndef STANDIN_DDRAW_H
#define STANDIN_DDRAW_H

#define STDMETHODCALLTYPE

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
typedef GUID IID;
typedef const IID& REFIID;

inline bool IsEqualGUID(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i]) return false;
    }
    return true;
}
inline bool operator==(const GUID& a, const GUID& b) { return IsEqualGUID(a, b); }
inline bool operator!=(const GUID& a, const GUID& b) { return !IsEqualGUID(a, b); }

STANDIN_API const IID IID_IUnknown;
STANDIN_API const IID IID_IDirectDraw;
STANDIN_API const IID IID_IDirectDraw2;
STANDIN_API const IID IID_IDirectDrawSurface;
STANDIN_API const IID IID_IDirectDrawSurface3;
STANDIN_API const IID IID_IDirectDrawPalette;

// results
#define S_OK ((HRESULT)0)
#define DD_OK ((HRESULT)0)
#define SUCCEEDED(result) (((HRESULT)(result)) >= 0)
#define FAILED(result) (((HRESULT)(result)) < 0)
#define E_NOTIMPL ((HRESULT)0x80004001u)
#define E_NOINTERFACE ((HRESULT)0x80004002u)
#define E_FAIL ((HRESULT)0x80004005u)
#define E_OUTOFMEMORY ((HRESULT)0x8007000Eu)
#define E_INVALIDARG ((HRESULT)0x80070057u)
#define MAKE_DDHRESULT(code) ((HRESULT)(0x88760000u | (DWORD)(code)))
#define DDERR_GENERIC E_FAIL
#define DDERR_UNSUPPORTED E_NOTIMPL
#define DDERR_OUTOFMEMORY E_OUTOFMEMORY
#define DDERR_INVALIDPARAMS E_INVALIDARG
#define DDERR_INVALIDCAPS MAKE_DDHRESULT(100)
#define DDERR_INVALIDOBJECT MAKE_DDHRESULT(130)
#define DDERR_INVALIDPIXELFORMAT MAKE_DDHRESULT(145)
#define DDERR_INVALIDRECT MAKE_DDHRESULT(150)
#define DDERR_SURFACEBUSY MAKE_DDHRESULT(430)
#define DDERR_NOTLOCKED MAKE_DDHRESULT(584)
#define DDERR_DCALREADYCREATED MAKE_DDHRESULT(620)

// DDSURFACEDESC dwFlags
#define DDSD_CAPS 0x00000001u
#define DDSD_HEIGHT 0x00000002u
#define DDSD_WIDTH 0x00000004u
#define DDSD_PITCH 0x00000008u
#define DDSD_LPSURFACE 0x00000800u
#define DDSD_PIXELFORMAT 0x00001000u

// DDSCAPS dwCaps
#define DDSCAPS_OFFSCREENPLAIN 0x00000040u
#define DDSCAPS_PRIMARYSURFACE 0x00000200u
#define DDSCAPS_SYSTEMMEMORY 0x00000800u
#define DDSCAPS_VIDEOMEMORY 0x00004000u
#define DDSCAPS_OWNDC 0x00040000u

// DDPIXELFORMAT dwFlags
#define DDPF_ALPHAPIXELS 0x00000001u
#define DDPF_PALETTEINDEXED8 0x00000020u
#define DDPF_RGB 0x00000040u

// SetCooperativeLevel
#define DDSCL_NORMAL 0x00000008u

// Lock
#define DDLOCK_SURFACEMEMORYPTR 0x00000000u
#define DDLOCK_WAIT 0x00000001u
#define DDLOCK_NOSYSLOCK 0x00000800u

// CreatePalette
#define DDPCAPS_8BIT 0x00000004u
#define DDPCAPS_ALLOW256 0x00000040u

// Blt
#define DDBLT_COLORFILL 0x00000400u
#define DDBLT_WAIT 0x01000000u

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
};
typedef DDCOLORKEY* LPDDCOLORKEY;

struct DDSCAPS {
    DWORD dwCaps;
};
typedef DDSCAPS* LPDDSCAPS;

struct DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    union {
        DWORD dwRGBBitCount;
        DWORD dwYUVBitCount;
        DWORD dwZBufferBitDepth;
        DWORD dwAlphaBitDepth;
    };
    union {
        DWORD dwRBitMask;
        DWORD dwYBitMask;
    };
    union {
        DWORD dwGBitMask;
        DWORD dwUBitMask;
    };
    union {
        DWORD dwBBitMask;
        DWORD dwVBitMask;
    };
    union {
        DWORD dwRGBAlphaBitMask;
        DWORD dwYUVAlphaBitMask;
    };
};
typedef DDPIXELFORMAT* LPDDPIXELFORMAT;
static_assert(sizeof(DDPIXELFORMAT) == 32, "DDPIXELFORMAT");

struct DDSURFACEDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    union {
        LONG lPitch;
        DWORD dwLinearSize;
    };
    DWORD dwBackBufferCount;
    union {
        DWORD dwMipMapCount;
        DWORD dwZBufferBitDepth;
        DWORD dwRefreshRate;
    };
    DWORD dwAlphaBitDepth;
    DWORD dwReserved;
    LPVOID lpSurface;
    DDCOLORKEY ddckCKDestOverlay;
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS ddsCaps;
};
typedef DDSURFACEDESC* LPDDSURFACEDESC;

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};
typedef PALETTEENTRY* LPPALETTEENTRY;

struct IUnknown;
struct IDirectDraw;
struct IDirectDraw2;
struct IDirectDrawSurface;
struct IDirectDrawSurface3;
struct IDirectDrawPalette;
struct IDirectDrawClipper;
typedef IDirectDraw* LPDIRECTDRAW;
typedef IDirectDraw2* LPDIRECTDRAW2;
typedef IDirectDrawSurface* LPDIRECTDRAWSURFACE;
typedef IDirectDrawSurface3* LPDIRECTDRAWSURFACE3;
typedef IDirectDrawPalette* LPDIRECTDRAWPALETTE;
typedef IDirectDrawClipper* LPDIRECTDRAWCLIPPER;
typedef IUnknown* LPUNKNOWN;

struct DDBLTFX {
    DWORD dwSize;
    DWORD dwDDFX;
    DWORD dwROP;
    DWORD dwDDROP;
    DWORD dwRotationAngle;
    DWORD dwZBufferOpCode;
    DWORD dwZBufferLow;
    DWORD dwZBufferHigh;
    DWORD dwZBufferBaseDest;
    DWORD dwZDestConstBitDepth;
    union {
        DWORD dwZDestConst;
        LPDIRECTDRAWSURFACE lpDDSZBufferDest;
    };
    DWORD dwZSrcConstBitDepth;
    union {
        DWORD dwZSrcConst;
        LPDIRECTDRAWSURFACE lpDDSZBufferSrc;
    };
    DWORD dwAlphaEdgeBlendBitDepth;
    DWORD dwAlphaEdgeBlend;
    DWORD dwReserved;
    DWORD dwAlphaDestConstBitDepth;
    union {
        DWORD dwAlphaDestConst;
        LPDIRECTDRAWSURFACE lpDDSAlphaDest;
    };
    DWORD dwAlphaSrcConstBitDepth;
    union {
        DWORD dwAlphaSrcConst;
        LPDIRECTDRAWSURFACE lpDDSAlphaSrc;
    };
    union {
        DWORD dwFillColor;
        DWORD dwFillDepth;
        DWORD dwFillPixel;
        LPDIRECTDRAWSURFACE lpDDSPattern;
    };
    DDCOLORKEY ddckDestColorkey;
    DDCOLORKEY ddckSrcColorkey;
};
typedef DDBLTFX* LPDDBLTFX;

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(DDSURFACEDESC) == 108, "DDSURFACEDESC");
static_assert(sizeof(DDBLTFX) == 100, "DDBLTFX");
#endif

// Structures of methods that the stand-in does not offer: named so that the vtables are complete.
struct DDCAPS;
struct DDOVERLAYFX;
struct DDBLTBATCH;
typedef DDCAPS* LPDDCAPS;
typedef DDOVERLAYFX* LPDDOVERLAYFX;
typedef DDBLTBATCH* LPDDBLTBATCH;
typedef HRESULT (*LPDDENUMMODESCALLBACK)(LPDDSURFACEDESC, LPVOID);
typedef HRESULT (*LPDDENUMSURFACESCALLBACK)(LPDIRECTDRAWSURFACE, LPDDSURFACEDESC, LPVOID);

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};

struct IDirectDraw : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Compact() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                                                    IUnknown* outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface,
                                                    IUnknown* outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE DuplicateSurface(LPDIRECTDRAWSURFACE surface, LPDIRECTDRAWSURFACE* copy) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumDisplayModes(DWORD flags, LPDDSURFACEDESC desc, LPVOID context,
                                                       LPDDENUMMODESCALLBACK callback) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumSurfaces(DWORD flags, LPDDSURFACEDESC desc, LPVOID context,
                                                   LPDDENUMSURFACESCALLBACK callback) = 0;
    virtual HRESULT STDMETHODCALLTYPE FlipToGDISurface() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDDCAPS driver_caps, LPDDCAPS emulation_caps) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDisplayMode(LPDDSURFACEDESC desc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFourCCCodes(LPDWORD count, LPDWORD codes) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGDISurface(LPDIRECTDRAWSURFACE* surface) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMonitorFrequency(LPDWORD frequency) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetScanLine(LPDWORD line) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVerticalBlankStatus(LPBOOL in_blank) = 0;
    virtual HRESULT STDMETHODCALLTYPE Initialize(GUID* guid) = 0;
    virtual HRESULT STDMETHODCALLTYPE RestoreDisplayMode() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD width, DWORD height, DWORD bits_per_pixel) = 0;
    virtual HRESULT STDMETHODCALLTYPE WaitForVerticalBlank(DWORD flags, HANDLE event) = 0;
};

struct IDirectDraw2 : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Compact() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                                                    IUnknown* outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface,
                                                    IUnknown* outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE DuplicateSurface(LPDIRECTDRAWSURFACE surface, LPDIRECTDRAWSURFACE* copy) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumDisplayModes(DWORD flags, LPDDSURFACEDESC desc, LPVOID context,
                                                       LPDDENUMMODESCALLBACK callback) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumSurfaces(DWORD flags, LPDDSURFACEDESC desc, LPVOID context,
                                                   LPDDENUMSURFACESCALLBACK callback) = 0;
    virtual HRESULT STDMETHODCALLTYPE FlipToGDISurface() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDDCAPS driver_caps, LPDDCAPS emulation_caps) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDisplayMode(LPDDSURFACEDESC desc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFourCCCodes(LPDWORD count, LPDWORD codes) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGDISurface(LPDIRECTDRAWSURFACE* surface) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMonitorFrequency(LPDWORD frequency) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetScanLine(LPDWORD line) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVerticalBlankStatus(LPBOOL in_blank) = 0;
    virtual HRESULT STDMETHODCALLTYPE Initialize(GUID* guid) = 0;
    virtual HRESULT STDMETHODCALLTYPE RestoreDisplayMode() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD width, DWORD height, DWORD bits_per_pixel,
                                                     DWORD refresh_rate, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE WaitForVerticalBlank(DWORD flags, HANDLE event) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAvailableVidMem(LPDDSCAPS caps, LPDWORD total, LPDWORD free) = 0;
};

// The methods of IDirectDrawSurface and IDirectDrawSurface3, which differ only in the surface type
// that some of them take.
#define STANDIN_SURFACE_METHODS(SURFACE)                                                                              \
    virtual HRESULT STDMETHODCALLTYPE AddAttachedSurface(SURFACE surface) = 0;                                        \
    virtual HRESULT STDMETHODCALLTYPE AddOverlayDirtyRect(LPRECT rect) = 0;                                           \
    virtual HRESULT STDMETHODCALLTYPE Blt(LPRECT destination, SURFACE source, LPRECT source_rect, DWORD flags,       \
                                          LPDDBLTFX fx) = 0;                                                          \
    virtual HRESULT STDMETHODCALLTYPE BltBatch(LPDDBLTBATCH batch, DWORD count, DWORD flags) = 0;                     \
    virtual HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, SURFACE source, LPRECT source_rect, DWORD flags) = 0; \
    virtual HRESULT STDMETHODCALLTYPE DeleteAttachedSurface(DWORD flags, SURFACE surface) = 0;                        \
    virtual HRESULT STDMETHODCALLTYPE EnumAttachedSurfaces(LPVOID context, LPDDENUMSURFACESCALLBACK callback) = 0;    \
    virtual HRESULT STDMETHODCALLTYPE EnumOverlayZOrders(DWORD flags, LPVOID context,                                \
                                                         LPDDENUMSURFACESCALLBACK callback) = 0;                      \
    virtual HRESULT STDMETHODCALLTYPE Flip(SURFACE target, DWORD flags) = 0;                                          \
    virtual HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS caps, SURFACE* surface) = 0;                       \
    virtual HRESULT STDMETHODCALLTYPE GetBltStatus(DWORD flags) = 0;                                                  \
    virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS caps) = 0;                                                    \
    virtual HRESULT STDMETHODCALLTYPE GetClipper(LPDIRECTDRAWCLIPPER* clipper) = 0;                                   \
    virtual HRESULT STDMETHODCALLTYPE GetColorKey(DWORD flags, LPDDCOLORKEY key) = 0;                                 \
    virtual HRESULT STDMETHODCALLTYPE GetDC(HDC * dc) = 0;                                                            \
    virtual HRESULT STDMETHODCALLTYPE GetFlipStatus(DWORD flags) = 0;                                                 \
    virtual HRESULT STDMETHODCALLTYPE GetOverlayPosition(LPLONG x, LPLONG y) = 0;                                     \
    virtual HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE* palette) = 0;                                   \
    virtual HRESULT STDMETHODCALLTYPE GetPixelFormat(LPDDPIXELFORMAT format) = 0;                                     \
    virtual HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC desc) = 0;                                       \
    virtual HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTDRAW directdraw, LPDDSURFACEDESC desc) = 0;                  \
    virtual HRESULT STDMETHODCALLTYPE IsLost() = 0;                                                                   \
    virtual HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags, HANDLE event) = 0;         \
    virtual HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) = 0;                                                          \
    virtual HRESULT STDMETHODCALLTYPE Restore() = 0;                                                                  \
    virtual HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) = 0;                                    \
    virtual HRESULT STDMETHODCALLTYPE SetColorKey(DWORD flags, LPDDCOLORKEY key) = 0;                                 \
    virtual HRESULT STDMETHODCALLTYPE SetOverlayPosition(LONG x, LONG y) = 0;                                         \
    virtual HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE palette) = 0;                                    \
    virtual HRESULT STDMETHODCALLTYPE Unlock(LPVOID memory) = 0;                                                      \
    virtual HRESULT STDMETHODCALLTYPE UpdateOverlay(LPRECT source_rect, SURFACE destination, LPRECT destination_rect, \
                                                    DWORD flags, LPDDOVERLAYFX fx) = 0;                               \
    virtual HRESULT STDMETHODCALLTYPE UpdateOverlayDisplay(DWORD flags) = 0;                                          \
    virtual HRESULT STDMETHODCALLTYPE UpdateOverlayZOrder(DWORD flags, SURFACE reference) = 0;

struct IDirectDrawSurface : IUnknown {
    STANDIN_SURFACE_METHODS(LPDIRECTDRAWSURFACE)
};

struct IDirectDrawSurface3 : IUnknown {
    STANDIN_SURFACE_METHODS(LPDIRECTDRAWSURFACE3)
    // added by IDirectDrawSurface2
    virtual HRESULT STDMETHODCALLTYPE GetDDInterface(LPVOID* directdraw) = 0;
    virtual HRESULT STDMETHODCALLTYPE PageLock(DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE PageUnlock(DWORD flags) = 0;
    // added by IDirectDrawSurface3
    virtual HRESULT STDMETHODCALLTYPE SetSurfaceDesc(LPDDSURFACEDESC desc, DWORD flags) = 0;
};

#undef STANDIN_SURFACE_METHODS

struct IDirectDrawPalette : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDWORD caps) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEntries(DWORD flags, DWORD first, DWORD count, LPPALETTEENTRY entries) = 0;
    virtual HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTDRAW directdraw, DWORD flags, LPPALETTEENTRY entries) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetEntries(DWORD flags, DWORD first, DWORD count, LPPALETTEENTRY entries) = 0;
};

// DirectDrawCreate: the only device is the one emulated in system memory (guid null).
STANDIN_API HRESULT DirectDrawCreate(GUID* guid, LPDIRECTDRAW* directdraw, IUnknown* outer);

#endif
