// DirectDrawCreate, the DirectDraw object and palettes.
#include <stdio.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "call.h"
#include "ddraw_objects.h"

extern "C" {
const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IDirectDraw = {0x6C14DB80, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
const IID IID_IDirectDraw2 = {0xB3A6F3E0, 0x2B43, 0x11CF, {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};
const IID IID_IDirectDrawSurface = {0x6C14DB81, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
const IID IID_IDirectDrawSurface3 = {0xDA044E00, 0x69B2, 0x11D0, {0xA1, 0xD5, 0x00, 0xAA, 0x00, 0xB8, 0xDF, 0xBB}};
const IID IID_IDirectDrawPalette = {0x6C14DB84, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
}

namespace standin {

std::string iid_name(REFIID iid) {
    const struct {
        const IID* iid;
        const char* name;
    } known[] = {
        {&IID_IUnknown, "IID_IUnknown"},
        {&IID_IDirectDraw, "IID_IDirectDraw"},
        {&IID_IDirectDraw2, "IID_IDirectDraw2"},
        {&IID_IDirectDrawSurface, "IID_IDirectDrawSurface"},
        {&IID_IDirectDrawSurface3, "IID_IDirectDrawSurface3"},
        {&IID_IDirectDrawPalette, "IID_IDirectDrawPalette"},
    };
    for (const auto& entry : known) {
        if (IsEqualGUID(iid, *entry.iid)) return entry.name;
    }
    char text[48];
    snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", iid.Data1, iid.Data2, iid.Data3,
             iid.Data4[0], iid.Data4[1], iid.Data4[2], iid.Data4[3], iid.Data4[4], iid.Data4[5], iid.Data4[6],
             iid.Data4[7]);
    return text;
}

HRESULT unsupported(const char* method) {
    const Call call(method);
    return DDERR_UNSUPPORTED;
}

// palettes

Palette::Palette(DWORD caps, const PALETTEENTRY* entries) : caps_(caps), entries_(std::make_shared<PaletteEntries>()) {
    std::copy(entries, entries + entries_->size(), entries_->begin());
}

ULONG Palette::drop() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT Palette::QueryInterface(REFIID iid, void** object) {
    const Call call("QueryInterface", {Word{iid_name(iid).c_str()}});
    if (call.failed()) return DDERR_GENERIC;
    if (object == nullptr) return DDERR_INVALIDPARAMS;
    if (!IsEqualGUID(iid, IID_IUnknown) && !IsEqualGUID(iid, IID_IDirectDrawPalette)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    retain();
    *object = static_cast<IDirectDrawPalette*>(this);
    return DD_OK;
}

ULONG Palette::AddRef() {
    const Call call = Call::unfailing("AddRef");
    return ++references_;
}

ULONG Palette::Release() {
    const Call call = Call::unfailing("Release");
    return drop();
}

HRESULT Palette::GetCaps(LPDWORD caps) {
    const Call call("GetCaps");
    if (call.failed()) return DDERR_GENERIC;
    if (caps == nullptr) return DDERR_INVALIDPARAMS;
    *caps = caps_;
    return DD_OK;
}

HRESULT Palette::GetEntries(DWORD flags, DWORD first, DWORD count, LPPALETTEENTRY entries) {
    const Call call("GetEntries", {flags, first, count});
    if (call.failed()) return DDERR_GENERIC;
    if (entries == nullptr || first > entries_->size() || count > entries_->size() - first) return DDERR_INVALIDPARAMS;
    std::copy(entries_->begin() + first, entries_->begin() + first + count, entries);
    return DD_OK;
}

HRESULT Palette::Initialize(LPDIRECTDRAW, DWORD, LPPALETTEENTRY) { return unsupported("Initialize"); }

// New entries show at once on every surface that uses the palette.
HRESULT Palette::SetEntries(DWORD flags, DWORD first, DWORD count, LPPALETTEENTRY entries) {
    const Call call("SetEntries", {flags, first, count});
    if (call.failed()) return DDERR_GENERIC;
    if (entries == nullptr || first > entries_->size() || count > entries_->size() - first) return DDERR_INVALIDPARAMS;
    std::copy(entries, entries + count, entries_->begin() + first);
    return DD_OK;
}

// the DirectDraw object

ULONG DirectDraw::drop() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT DirectDraw::QueryInterface(REFIID iid, void** object) {
    const Call call("QueryInterface", {Word{iid_name(iid).c_str()}});
    if (call.failed()) return DDERR_GENERIC;
    if (object == nullptr) return DDERR_INVALIDPARAMS;
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_IDirectDraw)) {
        *object = static_cast<IDirectDraw*>(this);
    } else if (IsEqualGUID(iid, IID_IDirectDraw2)) {
        *object = static_cast<IDirectDraw2*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    retain();
    return DD_OK;
}

ULONG DirectDraw::AddRef() {
    const Call call = Call::unfailing("AddRef");
    return ++references_;
}

ULONG DirectDraw::Release() {
    const Call call = Call::unfailing("Release");
    return drop();
}

// Without a display the normal level is the only one.
HRESULT DirectDraw::SetCooperativeLevel(HWND, DWORD flags) {
    const Call call("SetCooperativeLevel", {flags});
    if (call.failed()) return DDERR_GENERIC;
    return (flags & DDSCL_NORMAL) != 0 ? DD_OK : DDERR_INVALIDPARAMS;
}

// 256 entries (DDPCAPS_8BIT) only.
HRESULT DirectDraw::CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette, IUnknown* outer) {
    const Call call("CreatePalette", {flags});
    if (palette != nullptr) *palette = nullptr;
    if (call.failed()) return DDERR_GENERIC;
    if (palette == nullptr || entries == nullptr || outer != nullptr || (flags & DDPCAPS_8BIT) == 0) {
        return DDERR_INVALIDPARAMS;
    }
    Palette* made = new (std::nothrow) Palette(flags, entries);
    if (made == nullptr) return DDERR_OUTOFMEMORY;
    *palette = made;
    return DD_OK;
}

HRESULT DirectDraw::CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface, IUnknown* outer) {
    const Call call = desc == nullptr
                          ? Call("CreateSurface", {Word{"null"}})
                          : Call("CreateSurface", {desc->dwFlags, desc->dwWidth, desc->dwHeight, desc->lPitch,
                                                   desc->ddsCaps.dwCaps, desc->ddpfPixelFormat.dwFlags,
                                                   desc->ddpfPixelFormat.dwRGBBitCount});
    if (surface != nullptr) *surface = nullptr;
    if (call.failed()) return DDERR_GENERIC;
    if (desc == nullptr || surface == nullptr || outer != nullptr || desc->dwSize != sizeof(DDSURFACEDESC)) {
        return DDERR_INVALIDPARAMS;
    }
    Surface* made = nullptr;
    const HRESULT result = Surface::create(this, *desc, &made);
    if (result == DD_OK) *surface = made;
    return result;
}

HRESULT DirectDraw::Compact() { return unsupported("Compact"); }
HRESULT DirectDraw::CreateClipper(DWORD, LPDIRECTDRAWCLIPPER* clipper, IUnknown*) {
    if (clipper != nullptr) *clipper = nullptr;
    return unsupported("CreateClipper");
}
HRESULT DirectDraw::DuplicateSurface(LPDIRECTDRAWSURFACE, LPDIRECTDRAWSURFACE* copy) {
    if (copy != nullptr) *copy = nullptr;
    return unsupported("DuplicateSurface");
}
HRESULT DirectDraw::EnumDisplayModes(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMMODESCALLBACK) {
    return unsupported("EnumDisplayModes");
}
HRESULT DirectDraw::EnumSurfaces(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMSURFACESCALLBACK) {
    return unsupported("EnumSurfaces");
}
HRESULT DirectDraw::FlipToGDISurface() { return unsupported("FlipToGDISurface"); }
HRESULT DirectDraw::GetCaps(LPDDCAPS, LPDDCAPS) { return unsupported("GetCaps"); }
HRESULT DirectDraw::GetDisplayMode(LPDDSURFACEDESC) { return unsupported("GetDisplayMode"); }
HRESULT DirectDraw::GetFourCCCodes(LPDWORD, LPDWORD) { return unsupported("GetFourCCCodes"); }
HRESULT DirectDraw::GetGDISurface(LPDIRECTDRAWSURFACE* surface) {
    if (surface != nullptr) *surface = nullptr;
    return unsupported("GetGDISurface");
}
HRESULT DirectDraw::GetMonitorFrequency(LPDWORD) { return unsupported("GetMonitorFrequency"); }
HRESULT DirectDraw::GetScanLine(LPDWORD) { return unsupported("GetScanLine"); }
HRESULT DirectDraw::GetVerticalBlankStatus(LPBOOL) { return unsupported("GetVerticalBlankStatus"); }
HRESULT DirectDraw::Initialize(GUID*) { return unsupported("Initialize"); }
HRESULT DirectDraw::RestoreDisplayMode() { return unsupported("RestoreDisplayMode"); }
HRESULT DirectDraw::SetDisplayMode(DWORD, DWORD, DWORD) { return unsupported("SetDisplayMode"); }
HRESULT DirectDraw::SetDisplayMode(DWORD, DWORD, DWORD, DWORD, DWORD) { return unsupported("SetDisplayMode"); }
HRESULT DirectDraw::WaitForVerticalBlank(DWORD, HANDLE) { return unsupported("WaitForVerticalBlank"); }
HRESULT DirectDraw::GetAvailableVidMem(LPDDSCAPS, LPDWORD, LPDWORD) { return unsupported("GetAvailableVidMem"); }

}  // namespace standin

using namespace standin;

// The one device is the emulated one in system memory: guid must be null (or DDCREATE_EMULATIONONLY,
// the value 2, which means the same here).
HRESULT DirectDrawCreate(GUID* guid, LPDIRECTDRAW* directdraw, IUnknown* outer) {
    const Call call("DirectDrawCreate");
    if (directdraw != nullptr) *directdraw = nullptr;
    if (call.failed()) return DDERR_GENERIC;
    const auto device = reinterpret_cast<uintptr_t>(guid);
    if (directdraw == nullptr || outer != nullptr || (device != 0 && device != 2)) return DDERR_INVALIDPARAMS;
    DirectDraw* made = new (std::nothrow) DirectDraw;
    if (made == nullptr) return DDERR_OUTOFMEMORY;
    *directdraw = made;
    return DD_OK;
}
