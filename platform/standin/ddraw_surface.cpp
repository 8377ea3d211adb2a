// System-memory surfaces: their memory (Lock), their device context (GetDC), colour fills (Blt)
// and palettes.
#include <algorithm>
#include <new>

#include "call.h"
#include "ddraw_objects.h"
#include "gdi_objects.h"

namespace standin {

namespace {

constexpr DWORD kLargestSide = 16384;
constexpr size_t kLargestSurfaceBytes = size_t{256} << 20;

bool rect_inside(const RECT& rect, const Canvas& canvas) {
    return rect.left >= 0 && rect.top >= 0 && rect.left <= rect.right && rect.top <= rect.bottom &&
           rect.right <= canvas.width() && rect.bottom <= canvas.height();
}

bool rects_overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::vector<Arg> rect_args(const RECT* rect) {
    std::vector<Arg> args;
    if (rect != nullptr) {
        args.emplace_back(rect->left);
        args.emplace_back(rect->top);
        args.emplace_back(rect->right);
        args.emplace_back(rect->bottom);
    }
    return args;
}

// The pixel formats on offer: 8 bits indexing a palette, and 16 bits of 1-5-5-5.
bool pixel_format_bits(const DDPIXELFORMAT& format, int* bits) {
    if (format.dwSize != sizeof(DDPIXELFORMAT)) return false;
    if ((format.dwFlags & DDPF_PALETTEINDEXED8) != 0 && format.dwRGBBitCount == 8) {
        *bits = 8;
        return true;
    }
    if ((format.dwFlags & DDPF_RGB) != 0 && (format.dwFlags & DDPF_PALETTEINDEXED8) == 0 &&
        format.dwRGBBitCount == 16 && format.dwRBitMask == 0x7C00 && format.dwGBitMask == 0x03E0 &&
        format.dwBBitMask == 0x001F && (format.dwRGBAlphaBitMask == 0 || format.dwRGBAlphaBitMask == 0x8000)) {
        *bits = 16;
        return true;
    }
    return false;
}

DDPIXELFORMAT format_of(int bits, bool alpha) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof format;
    if (bits == 8) {
        format.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
        format.dwRGBBitCount = 8;
        return format;
    }
    format.dwFlags = DDPF_RGB | (alpha ? DDPF_ALPHAPIXELS : 0);
    format.dwRGBBitCount = 16;
    format.dwRBitMask = 0x7C00;
    format.dwGBitMask = 0x03E0;
    format.dwBBitMask = 0x001F;
    format.dwRGBAlphaBitMask = alpha ? 0x8000 : 0;
    return format;
}

}  // namespace

// The description needs a width and a height; without a pixel format the surface is 16-bit 1-5-5-5
// (the stand-in's display format); without a pitch, rows are whole 32-bit words. The memory is
// always the surface's own: a surface address in the description (as Lock leaves it) is ignored.
// A primary surface cannot be had without a display.
HRESULT Surface::create(DirectDraw* owner, const DDSURFACEDESC& desc, Surface** surface) {
    const DWORD caps = (desc.dwFlags & DDSD_CAPS) != 0 ? desc.ddsCaps.dwCaps : DDSCAPS_OFFSCREENPLAIN;
    if ((caps & DDSCAPS_PRIMARYSURFACE) != 0) return DDERR_UNSUPPORTED;
    if ((desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) || desc.dwWidth == 0 ||
        desc.dwHeight == 0 || desc.dwWidth > kLargestSide || desc.dwHeight > kLargestSide) {
        return DDERR_INVALIDPARAMS;
    }
    int bits = 16;
    bool alpha = false;
    if ((desc.dwFlags & DDSD_PIXELFORMAT) != 0) {
        if (!pixel_format_bits(desc.ddpfPixelFormat, &bits)) return DDERR_INVALIDPIXELFORMAT;
        alpha = bits == 16 && desc.ddpfPixelFormat.dwRGBAlphaBitMask != 0;
    }
    const long long row_bytes = static_cast<long long>(desc.dwWidth) * (bits / 8);
    long long pitch = (row_bytes + 3) / 4 * 4;
    if ((desc.dwFlags & DDSD_PITCH) != 0) {
        if (desc.lPitch < row_bytes || desc.lPitch > 4 * row_bytes + 4096) return DDERR_INVALIDPARAMS;
        pitch = desc.lPitch;
    }
    if (static_cast<size_t>(pitch) * desc.dwHeight > kLargestSurfaceBytes) return DDERR_OUTOFMEMORY;
    std::shared_ptr<Canvas> canvas =
        Canvas::create(static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight), static_cast<int>(pitch), bits);
    if (!canvas) return DDERR_OUTOFMEMORY;

    DDSURFACEDESC described{};
    described.dwSize = sizeof described;
    described.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    described.dwWidth = desc.dwWidth;
    described.dwHeight = desc.dwHeight;
    described.lPitch = static_cast<LONG>(pitch);
    described.ddpfPixelFormat = format_of(bits, alpha);
    described.ddsCaps.dwCaps = (caps & ~DDSCAPS_VIDEOMEMORY) | DDSCAPS_SYSTEMMEMORY;
    Surface* made = new (std::nothrow) Surface(owner, std::move(canvas), described);
    if (made == nullptr) return DDERR_OUTOFMEMORY;
    *surface = made;
    return DD_OK;
}

Surface::Surface(DirectDraw* owner, std::shared_ptr<Canvas> canvas, const DDSURFACEDESC& desc)
    : owner_(owner), canvas_(std::move(canvas)), desc_(desc) {
    owner_->retain();
}

// A device context still out ends with its surface.
Surface::~Surface() {
    if (dc_ != nullptr) delete_dc(dc_);
    if (palette_ != nullptr) palette_->drop();
    owner_->drop();
}

ULONG Surface::drop() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT Surface::QueryInterface(REFIID iid, void** object) {
    const Call call("QueryInterface", {Word{iid_name(iid).c_str()}});
    if (call.failed()) return DDERR_GENERIC;
    if (object == nullptr) return DDERR_INVALIDPARAMS;
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_IDirectDrawSurface)) {
        *object = static_cast<IDirectDrawSurface*>(this);
    } else if (IsEqualGUID(iid, IID_IDirectDrawSurface3)) {
        *object = static_cast<IDirectDrawSurface3*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ++references_;
    return DD_OK;
}

ULONG Surface::AddRef() {
    const Call call = Call::unfailing("AddRef");
    return ++references_;
}

ULONG Surface::Release() {
    const Call call = Call::unfailing("Release");
    return drop();
}

bool Surface::overlaps_lock(const RECT& area) const {
    return std::any_of(locks_.begin(), locks_.end(), [&](const LockedArea& lock) { return rects_overlap(lock.area, area); });
}

// The whole surface or a rectangle of it; areas that overlap an area still locked are busy. The
// description receives the surface's, with the address of the area's first pixel.
HRESULT Surface::Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags, HANDLE) {
    std::vector<Arg> args = rect_args(rect);
    args.emplace_back(flags);
    const Call call("Lock", args);
    if (call.failed()) return DDERR_GENERIC;
    if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    const RECT area = rect != nullptr ? *rect : RECT{0, 0, canvas_->width(), canvas_->height()};
    if (!rect_inside(area, *canvas_)) return DDERR_INVALIDRECT;
    if (overlaps_lock(area)) return DDERR_SURFACEBUSY;
    void* memory = canvas_->row(area.top) + static_cast<size_t>(area.left) * static_cast<size_t>(canvas_->bytes_per_pixel());
    locks_.push_back(LockedArea{area, memory});
    *desc = desc_;
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = memory;
    return DD_OK;
}

// The address that Lock gave, or null for the area locked last.
HRESULT Surface::Unlock(LPVOID memory) {
    const Call call("Unlock");
    if (call.failed()) return DDERR_GENERIC;
    if (locks_.empty()) return DDERR_NOTLOCKED;
    if (memory == nullptr) {
        locks_.pop_back();
        return DD_OK;
    }
    const auto found =
        std::find_if(locks_.rbegin(), locks_.rend(), [&](const LockedArea& lock) { return lock.memory == memory; });
    if (found == locks_.rend()) return DDERR_NOTLOCKED;
    locks_.erase(std::next(found).base());
    return DD_OK;
}

// One device context at a time. It does not lock the surface: colour fills and the memory that Lock
// returned stay usable while GDI draws through it.
HRESULT Surface::GetDC(HDC* dc) {
    const Call call("GetDC");
    if (dc != nullptr) *dc = nullptr;
    if (call.failed()) return DDERR_GENERIC;
    if (dc == nullptr) return DDERR_INVALIDPARAMS;
    if (dc_ != nullptr) return DDERR_DCALREADYCREATED;
    dc_ = create_dc(canvas_);
    *dc = dc_;
    return DD_OK;
}

HRESULT Surface::ReleaseDC(HDC dc) {
    const Call call("ReleaseDC");
    if (call.failed()) return DDERR_GENERIC;
    if (dc == nullptr || dc != dc_) return DDERR_INVALIDPARAMS;
    delete_dc(dc_);
    dc_ = nullptr;
    return DD_OK;
}

// 8-bit surfaces only; null takes the palette away again.
HRESULT Surface::SetPalette(LPDIRECTDRAWPALETTE palette) {
    const Call call = palette == nullptr ? Call("SetPalette", {Word{"null"}}) : Call("SetPalette");
    if (call.failed()) return DDERR_GENERIC;
    if (canvas_->bits_per_pixel() != 8) return DDERR_INVALIDPIXELFORMAT;
    auto* attached = static_cast<Palette*>(palette);
    if (attached != nullptr) attached->retain();
    if (palette_ != nullptr) palette_->drop();
    palette_ = attached;
    canvas_->set_palette(attached != nullptr ? attached->entries() : nullptr);
    return DD_OK;
}

HRESULT Surface::GetPalette(LPDIRECTDRAWPALETTE* palette) {
    const Call call("GetPalette");
    if (palette != nullptr) *palette = nullptr;
    if (call.failed()) return DDERR_GENERIC;
    if (palette == nullptr || palette_ == nullptr) return DDERR_INVALIDPARAMS;
    palette_->retain();
    *palette = palette_;
    return DD_OK;
}

HRESULT Surface::Blt(LPRECT destination, LPDIRECTDRAWSURFACE source, LPRECT, DWORD flags, LPDDBLTFX fx) {
    return blt(destination, source != nullptr, flags, fx);
}

HRESULT Surface::Blt(LPRECT destination, LPDIRECTDRAWSURFACE3 source, LPRECT, DWORD flags, LPDDBLTFX fx) {
    return blt(destination, source != nullptr, flags, fx);
}

// Colour fills only: the rectangle (or the whole surface) takes dwFillColor as its pixel value.
HRESULT Surface::blt(LPRECT destination, bool has_source, DWORD flags, LPDDBLTFX fx) {
    std::vector<Arg> args = rect_args(destination);
    args.emplace_back(flags);
    if (fx != nullptr) args.emplace_back(fx->dwFillColor);
    const Call call("Blt", args);
    if (call.failed()) return DDERR_GENERIC;
    if ((flags & DDBLT_COLORFILL) == 0 || has_source) return DDERR_UNSUPPORTED;
    if (fx == nullptr || fx->dwSize != sizeof(DDBLTFX)) return DDERR_INVALIDPARAMS;
    const RECT area = destination != nullptr ? *destination : RECT{0, 0, canvas_->width(), canvas_->height()};
    if (!rect_inside(area, *canvas_)) return DDERR_INVALIDRECT;
    if (overlaps_lock(area)) return DDERR_SURFACEBUSY;
    const uint32_t value = canvas_->bits_per_pixel() == 8 ? fx->dwFillColor & 0xFFu : fx->dwFillColor & 0xFFFFu;
    for (LONG y = area.top; y < area.bottom; ++y) canvas_->fill_span(y, area.left, area.right, value);
    return DD_OK;
}

HRESULT Surface::GetSurfaceDesc(LPDDSURFACEDESC desc) {
    const Call call("GetSurfaceDesc");
    if (call.failed()) return DDERR_GENERIC;
    if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    *desc = desc_;
    return DD_OK;
}

HRESULT Surface::GetPixelFormat(LPDDPIXELFORMAT format) {
    const Call call("GetPixelFormat");
    if (call.failed()) return DDERR_GENERIC;
    if (format == nullptr) return DDERR_INVALIDPARAMS;
    *format = desc_.ddpfPixelFormat;
    return DD_OK;
}

HRESULT Surface::GetCaps(LPDDSCAPS caps) {
    const Call call("GetCaps");
    if (call.failed()) return DDERR_GENERIC;
    if (caps == nullptr) return DDERR_INVALIDPARAMS;
    *caps = desc_.ddsCaps;
    return DD_OK;
}

HRESULT Surface::GetDDInterface(LPVOID* directdraw) {
    const Call call("GetDDInterface");
    if (directdraw != nullptr) *directdraw = nullptr;
    if (call.failed()) return DDERR_GENERIC;
    if (directdraw == nullptr) return DDERR_INVALIDPARAMS;
    owner_->retain();
    *directdraw = static_cast<IDirectDraw*>(owner_);
    return DD_OK;
}

// System memory is never lost.
HRESULT Surface::IsLost() {
    const Call call("IsLost");
    return call.failed() ? DDERR_GENERIC : DD_OK;
}

HRESULT Surface::Restore() {
    const Call call("Restore");
    return call.failed() ? DDERR_GENERIC : DD_OK;
}

HRESULT Surface::PageLock(DWORD flags) {
    const Call call("PageLock", {flags});
    return call.failed() ? DDERR_GENERIC : DD_OK;
}

HRESULT Surface::PageUnlock(DWORD flags) {
    const Call call("PageUnlock", {flags});
    return call.failed() ? DDERR_GENERIC : DD_OK;
}

HRESULT Surface::AddAttachedSurface(LPDIRECTDRAWSURFACE) { return unsupported("AddAttachedSurface"); }
HRESULT Surface::AddAttachedSurface(LPDIRECTDRAWSURFACE3) { return unsupported("AddAttachedSurface"); }
HRESULT Surface::AddOverlayDirtyRect(LPRECT) { return unsupported("AddOverlayDirtyRect"); }
HRESULT Surface::BltBatch(LPDDBLTBATCH, DWORD, DWORD) { return unsupported("BltBatch"); }
HRESULT Surface::BltFast(DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT, DWORD) { return unsupported("BltFast"); }
HRESULT Surface::BltFast(DWORD, DWORD, LPDIRECTDRAWSURFACE3, LPRECT, DWORD) { return unsupported("BltFast"); }
HRESULT Surface::DeleteAttachedSurface(DWORD, LPDIRECTDRAWSURFACE) { return unsupported("DeleteAttachedSurface"); }
HRESULT Surface::DeleteAttachedSurface(DWORD, LPDIRECTDRAWSURFACE3) { return unsupported("DeleteAttachedSurface"); }
HRESULT Surface::EnumAttachedSurfaces(LPVOID, LPDDENUMSURFACESCALLBACK) { return unsupported("EnumAttachedSurfaces"); }
HRESULT Surface::EnumOverlayZOrders(DWORD, LPVOID, LPDDENUMSURFACESCALLBACK) {
    return unsupported("EnumOverlayZOrders");
}
HRESULT Surface::Flip(LPDIRECTDRAWSURFACE, DWORD) { return unsupported("Flip"); }
HRESULT Surface::Flip(LPDIRECTDRAWSURFACE3, DWORD) { return unsupported("Flip"); }
HRESULT Surface::GetAttachedSurface(LPDDSCAPS, LPDIRECTDRAWSURFACE* surface) {
    if (surface != nullptr) *surface = nullptr;
    return unsupported("GetAttachedSurface");
}
HRESULT Surface::GetAttachedSurface(LPDDSCAPS, LPDIRECTDRAWSURFACE3* surface) {
    if (surface != nullptr) *surface = nullptr;
    return unsupported("GetAttachedSurface");
}
HRESULT Surface::GetBltStatus(DWORD) { return unsupported("GetBltStatus"); }
HRESULT Surface::GetClipper(LPDIRECTDRAWCLIPPER* clipper) {
    if (clipper != nullptr) *clipper = nullptr;
    return unsupported("GetClipper");
}
HRESULT Surface::GetColorKey(DWORD, LPDDCOLORKEY) { return unsupported("GetColorKey"); }
HRESULT Surface::GetFlipStatus(DWORD) { return unsupported("GetFlipStatus"); }
HRESULT Surface::GetOverlayPosition(LPLONG, LPLONG) { return unsupported("GetOverlayPosition"); }
HRESULT Surface::Initialize(LPDIRECTDRAW, LPDDSURFACEDESC) { return unsupported("Initialize"); }
HRESULT Surface::SetClipper(LPDIRECTDRAWCLIPPER) { return unsupported("SetClipper"); }
HRESULT Surface::SetColorKey(DWORD, LPDDCOLORKEY) { return unsupported("SetColorKey"); }
HRESULT Surface::SetOverlayPosition(LONG, LONG) { return unsupported("SetOverlayPosition"); }
HRESULT Surface::UpdateOverlay(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDOVERLAYFX) {
    return unsupported("UpdateOverlay");
}
HRESULT Surface::UpdateOverlay(LPRECT, LPDIRECTDRAWSURFACE3, LPRECT, DWORD, LPDDOVERLAYFX) {
    return unsupported("UpdateOverlay");
}
HRESULT Surface::UpdateOverlayDisplay(DWORD) { return unsupported("UpdateOverlayDisplay"); }
HRESULT Surface::UpdateOverlayZOrder(DWORD, LPDIRECTDRAWSURFACE) { return unsupported("UpdateOverlayZOrder"); }
HRESULT Surface::UpdateOverlayZOrder(DWORD, LPDIRECTDRAWSURFACE3) { return unsupported("UpdateOverlayZOrder"); }
HRESULT Surface::SetSurfaceDesc(LPDDSURFACEDESC, DWORD) { return unsupported("SetSurfaceDesc"); }

}  // namespace standin
