// The DirectDraw objects behind the interfaces of standin_ddraw.h.
//
// Reference counts are per object (every interface of an object shares one count) and start at 1.
// A surface holds a reference to the DirectDraw object that made it and to its palette, so that
// releasing in any order never leaves a surface pointing at a freed object. The stand-in's own
// references are taken and given back without journal lines.
#ifndef STANDIN_DDRAW_OBJECTS_H
#define STANDIN_DDRAW_OBJECTS_H

#include <memory>
#include <string>
#include <vector>

#include "canvas.h"
#include "counters.h"
#include "win32_standin.h"

namespace standin {

// IID_IDirectDraw2 and so on, or the GUID in braces.
std::string iid_name(REFIID iid);

HRESULT unsupported(const char* method);

class Palette final : public IDirectDrawPalette {
public:
    Palette(DWORD caps, const PALETTEENTRY* entries);

    std::shared_ptr<const PaletteEntries> entries() const { return entries_; }
    void retain() { ++references_; }
    ULONG drop();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetCaps(LPDWORD caps) override;
    HRESULT STDMETHODCALLTYPE GetEntries(DWORD flags, DWORD first, DWORD count, LPPALETTEENTRY entries) override;
    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTDRAW directdraw, DWORD flags, LPPALETTEENTRY entries) override;
    HRESULT STDMETHODCALLTYPE SetEntries(DWORD flags, DWORD first, DWORD count, LPPALETTEENTRY entries) override;

private:
    ULONG references_ = 1;
    DWORD caps_;
    std::shared_ptr<PaletteEntries> entries_;
    LiveCount<Counted::Palette> live_;
};

class DirectDraw final : public IDirectDraw, public IDirectDraw2 {
public:
    DirectDraw() = default;

    void retain() { ++references_; }
    ULONG drop();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Compact() override;
    HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                                            IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface,
                                            IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE DuplicateSurface(LPDIRECTDRAWSURFACE surface, LPDIRECTDRAWSURFACE* copy) override;
    HRESULT STDMETHODCALLTYPE EnumDisplayModes(DWORD flags, LPDDSURFACEDESC desc, LPVOID context,
                                               LPDDENUMMODESCALLBACK callback) override;
    HRESULT STDMETHODCALLTYPE EnumSurfaces(DWORD flags, LPDDSURFACEDESC desc, LPVOID context,
                                           LPDDENUMSURFACESCALLBACK callback) override;
    HRESULT STDMETHODCALLTYPE FlipToGDISurface() override;
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDCAPS driver_caps, LPDDCAPS emulation_caps) override;
    HRESULT STDMETHODCALLTYPE GetDisplayMode(LPDDSURFACEDESC desc) override;
    HRESULT STDMETHODCALLTYPE GetFourCCCodes(LPDWORD count, LPDWORD codes) override;
    HRESULT STDMETHODCALLTYPE GetGDISurface(LPDIRECTDRAWSURFACE* surface) override;
    HRESULT STDMETHODCALLTYPE GetMonitorFrequency(LPDWORD frequency) override;
    HRESULT STDMETHODCALLTYPE GetScanLine(LPDWORD line) override;
    HRESULT STDMETHODCALLTYPE GetVerticalBlankStatus(LPBOOL in_blank) override;
    HRESULT STDMETHODCALLTYPE Initialize(GUID* guid) override;
    HRESULT STDMETHODCALLTYPE RestoreDisplayMode() override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD width, DWORD height, DWORD bits_per_pixel) override;
    HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD width, DWORD height, DWORD bits_per_pixel, DWORD refresh_rate,
                                             DWORD flags) override;
    HRESULT STDMETHODCALLTYPE WaitForVerticalBlank(DWORD flags, HANDLE event) override;
    HRESULT STDMETHODCALLTYPE GetAvailableVidMem(LPDDSCAPS caps, LPDWORD total, LPDWORD free) override;

private:
    ULONG references_ = 1;
    LiveCount<Counted::DirectDraw> live_;
};

class Surface final : public IDirectDrawSurface, public IDirectDrawSurface3 {
public:
    // Checks the description and makes the surface; DD_OK or the failure to report.
    static HRESULT create(DirectDraw* owner, const DDSURFACEDESC& desc, Surface** surface);
    ~Surface();

    ULONG drop();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE AddAttachedSurface(LPDIRECTDRAWSURFACE surface) override;
    HRESULT STDMETHODCALLTYPE AddAttachedSurface(LPDIRECTDRAWSURFACE3 surface) override;
    HRESULT STDMETHODCALLTYPE AddOverlayDirtyRect(LPRECT rect) override;
    HRESULT STDMETHODCALLTYPE Blt(LPRECT destination, LPDIRECTDRAWSURFACE source, LPRECT source_rect, DWORD flags,
                                  LPDDBLTFX fx) override;
    HRESULT STDMETHODCALLTYPE Blt(LPRECT destination, LPDIRECTDRAWSURFACE3 source, LPRECT source_rect, DWORD flags,
                                  LPDDBLTFX fx) override;
    HRESULT STDMETHODCALLTYPE BltBatch(LPDDBLTBATCH batch, DWORD count, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE source, LPRECT source_rect,
                                      DWORD flags) override;
    HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE3 source, LPRECT source_rect,
                                      DWORD flags) override;
    HRESULT STDMETHODCALLTYPE DeleteAttachedSurface(DWORD flags, LPDIRECTDRAWSURFACE surface) override;
    HRESULT STDMETHODCALLTYPE DeleteAttachedSurface(DWORD flags, LPDIRECTDRAWSURFACE3 surface) override;
    HRESULT STDMETHODCALLTYPE EnumAttachedSurfaces(LPVOID context, LPDDENUMSURFACESCALLBACK callback) override;
    HRESULT STDMETHODCALLTYPE EnumOverlayZOrders(DWORD flags, LPVOID context,
                                                 LPDDENUMSURFACESCALLBACK callback) override;
    HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE target, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE3 target, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* surface) override;
    HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE3* surface) override;
    HRESULT STDMETHODCALLTYPE GetBltStatus(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS caps) override;
    HRESULT STDMETHODCALLTYPE GetClipper(LPDIRECTDRAWCLIPPER* clipper) override;
    HRESULT STDMETHODCALLTYPE GetColorKey(DWORD flags, LPDDCOLORKEY key) override;
    HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) override;
    HRESULT STDMETHODCALLTYPE GetFlipStatus(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetOverlayPosition(LPLONG x, LPLONG y) override;
    HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE* palette) override;
    HRESULT STDMETHODCALLTYPE GetPixelFormat(LPDDPIXELFORMAT format) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC desc) override;
    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTDRAW directdraw, LPDDSURFACEDESC desc) override;
    HRESULT STDMETHODCALLTYPE IsLost() override;
    HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags, HANDLE event) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;
    HRESULT STDMETHODCALLTYPE Restore() override;
    HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
    HRESULT STDMETHODCALLTYPE SetColorKey(DWORD flags, LPDDCOLORKEY key) override;
    HRESULT STDMETHODCALLTYPE SetOverlayPosition(LONG x, LONG y) override;
    HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE palette) override;
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID memory) override;
    HRESULT STDMETHODCALLTYPE UpdateOverlay(LPRECT source_rect, LPDIRECTDRAWSURFACE destination,
                                            LPRECT destination_rect, DWORD flags, LPDDOVERLAYFX fx) override;
    HRESULT STDMETHODCALLTYPE UpdateOverlay(LPRECT source_rect, LPDIRECTDRAWSURFACE3 destination,
                                            LPRECT destination_rect, DWORD flags, LPDDOVERLAYFX fx) override;
    HRESULT STDMETHODCALLTYPE UpdateOverlayDisplay(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UpdateOverlayZOrder(DWORD flags, LPDIRECTDRAWSURFACE reference) override;
    HRESULT STDMETHODCALLTYPE UpdateOverlayZOrder(DWORD flags, LPDIRECTDRAWSURFACE3 reference) override;
    HRESULT STDMETHODCALLTYPE GetDDInterface(LPVOID* directdraw) override;
    HRESULT STDMETHODCALLTYPE PageLock(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE PageUnlock(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE SetSurfaceDesc(LPDDSURFACEDESC desc, DWORD flags) override;

private:
    Surface(DirectDraw* owner, std::shared_ptr<Canvas> canvas, const DDSURFACEDESC& desc);
    HRESULT blt(LPRECT destination, bool has_source, DWORD flags, LPDDBLTFX fx);
    bool overlaps_lock(const RECT& area) const;

    struct LockedArea {
        RECT area;
        void* memory;
    };

    ULONG references_ = 1;
    DirectDraw* owner_;
    std::shared_ptr<Canvas> canvas_;
    DDSURFACEDESC desc_;  // as GetSurfaceDesc reports it
    Palette* palette_ = nullptr;
    HDC dc_ = nullptr;
    std::vector<LockedArea> locks_;
    LiveCount<Counted::Surface> live_;
};

}  // namespace standin

#endif
