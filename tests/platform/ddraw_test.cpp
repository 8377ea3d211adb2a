// DirectDraw: system-memory surfaces of the size, pitch and format asked for, their memory through
// Lock, their device context through GetDC, colour fills, palettes, interfaces and reference counts.
#include <gtest/gtest.h>

#include <cstring>

#include "platform_testing.h"
#include "standin_control.h"

using namespace platform_testing;

namespace {

// A description with nothing but its size set, as a call that fills one in expects it.
DDSURFACEDESC empty_description() {
    DDSURFACEDESC desc;
    memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    return desc;
}

// The effects of a colour fill of that value.
DDBLTFX colour_fill(DWORD colour) {
    DDBLTFX fx;
    memset(&fx, 0, sizeof fx);
    fx.dwSize = sizeof fx;
    fx.dwFillColor = colour;
    return fx;
}

// The DirectDraw object and its second interface, released at the end.
class PlatformDirectDraw : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DirectDrawCreate(nullptr, &directdraw_, nullptr), DD_OK);
        ASSERT_EQ(directdraw_->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
        ASSERT_EQ(directdraw_->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&directdraw2_)), DD_OK);
    }
    void TearDown() override {
        if (directdraw2_ != nullptr) directdraw2_->Release();
        if (directdraw_ != nullptr) directdraw_->Release();
    }

    IDirectDrawSurface3* create(DDSURFACEDESC desc) {
        LPDIRECTDRAWSURFACE surface = nullptr;
        IDirectDrawSurface3* surface3 = nullptr;
        EXPECT_EQ(directdraw2_->CreateSurface(&desc, &surface, nullptr), DD_OK);
        if (surface == nullptr) return nullptr;
        EXPECT_EQ(surface->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface3)), DD_OK);
        surface->Release();
        return surface3;
    }

    LPDIRECTDRAW directdraw_ = nullptr;
    LPDIRECTDRAW2 directdraw2_ = nullptr;
};

TEST_F(PlatformDirectDraw, ASixteenBitSurfaceHoldsExactlyThePixelsDrawnOnIt) {
    IDirectDrawSurface3* surface = create(display_description(64, 48, 128, true));
    ASSERT_NE(surface, nullptr);
    DDBLTFX fx = colour_fill(0x1CE7);
    ASSERT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    HDC dc = nullptr;
    ASSERT_EQ(surface->GetDC(&dc), DD_OK);
    {
        Selected pen(dc, CreatePen(PS_SOLID, 1, RGB(255, 128, 0)));
        MoveToEx(dc, 3, 40, nullptr);
        LineTo(dc, 60, 2);
    }
    ASSERT_EQ(surface->ReleaseDC(dc), DD_OK);

    DDSURFACEDESC desc = empty_description();
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_NOSYSLOCK, nullptr), DD_OK);
    EXPECT_EQ(desc.lPitch, 128);
    int line_pixels = 0;
    for (int y = 0; y < 48; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(static_cast<const char*>(desc.lpSurface) + y * desc.lPitch);
        for (int x = 0; x < 64; ++x) {
            EXPECT_TRUE(row[x] == 0x1CE7 || row[x] == 0x7E00) << x << "," << y << ": " << std::hex << row[x];
            line_pixels += row[x] == 0x7E00;
        }
    }
    EXPECT_EQ(line_pixels, 57);
    EXPECT_EQ(surface->Unlock(desc.lpSurface), DD_OK);
    surface->Release();
}

TEST_F(PlatformDirectDraw, SurfacesHaveTheSizePitchAndFormatAskedFor) {
    const struct {
        int width, height, pitch;
        bool sixteen_bits;
    } cases[] = {{256, 256, 256, false}, {256, 256, 512, true}, {100, 20, 120, false}, {33, 7, 80, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " pitch " << c.pitch);
        IDirectDrawSurface3* surface = create(display_description(c.width, c.height, c.pitch, c.sixteen_bits));
        ASSERT_NE(surface, nullptr);
        DDSURFACEDESC desc;
        memset(&desc, 0xCD, sizeof desc);
        desc.dwSize = sizeof desc;
        ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_NOSYSLOCK, nullptr), DD_OK);
        EXPECT_EQ(desc.dwWidth, static_cast<DWORD>(c.width));
        EXPECT_EQ(desc.dwHeight, static_cast<DWORD>(c.height));
        EXPECT_EQ(desc.lPitch, c.pitch);
        EXPECT_NE(desc.lpSurface, nullptr);
        EXPECT_EQ(desc.dwFlags & (DDSD_LPSURFACE | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_WIDTH | DDSD_HEIGHT),
                  DDSD_LPSURFACE | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_WIDTH | DDSD_HEIGHT);
        EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, c.sixteen_bits ? 16u : 8u);
        EXPECT_EQ(desc.ddpfPixelFormat.dwRBitMask, c.sixteen_bits ? 0x7C00u : 0u);
        EXPECT_EQ(desc.ddpfPixelFormat.dwRGBAlphaBitMask, c.sixteen_bits ? 0x8000u : 0u);
        EXPECT_NE(desc.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY, 0u);
        // The whole of the memory is there to be written.
        memset(desc.lpSurface, 0x5A, static_cast<size_t>(c.pitch) * c.height);
        EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
        surface->Release();
    }
}

TEST_F(PlatformDirectDraw, ADescriptionAsLockLeftItMakesASurfaceOfItsOwn) {
    // The 16-bit panel's bitmask surface is created from the drawing surface's locked description.
    IDirectDrawSurface3* drawing = create(display_description(16, 8, 32, true));
    ASSERT_NE(drawing, nullptr);
    DDSURFACEDESC desc = empty_description();
    ASSERT_EQ(drawing->Lock(nullptr, &desc, DDLOCK_NOSYSLOCK, nullptr), DD_OK);
    ASSERT_EQ(drawing->Unlock(nullptr), DD_OK);
    IDirectDrawSurface3* mask = create(desc);
    ASSERT_NE(mask, nullptr);
    DDSURFACEDESC mask_desc = desc;
    ASSERT_EQ(mask->Lock(nullptr, &mask_desc, DDLOCK_NOSYSLOCK, nullptr), DD_OK);
    EXPECT_NE(mask_desc.lpSurface, desc.lpSurface);
    EXPECT_EQ(mask_desc.lPitch, 32);
    for (int y = 0; y < 8; ++y) {
        auto* row = static_cast<unsigned char*>(mask_desc.lpSurface) + y * mask_desc.lPitch;
        for (int x = 1; x < 32; x += 2) row[x] |= 0x80;
    }
    ASSERT_EQ(mask->Unlock(nullptr), DD_OK);
    HDC drawing_dc = nullptr;
    HDC mask_dc = nullptr;
    ASSERT_EQ(drawing->GetDC(&drawing_dc), DD_OK);
    ASSERT_EQ(mask->GetDC(&mask_dc), DD_OK);
    ASSERT_TRUE(BitBlt(drawing_dc, 0, 0, 16, 8, mask_dc, 0, 0, SRCPAINT));
    const auto* pixels = static_cast<const uint16_t*>(desc.lpSurface);  // still the drawing's memory
    for (int i = 0; i < 16 * 8; ++i) EXPECT_EQ(pixels[i], 0x8000) << i;
    mask->ReleaseDC(mask_dc);
    drawing->ReleaseDC(drawing_dc);
    mask->Release();
    drawing->Release();
}

TEST_F(PlatformDirectDraw, ColourFillsCoverExactlyTheirRectangle) {
    IDirectDrawSurface3* surface = create(display_description(20, 10, 20, false));
    ASSERT_NE(surface, nullptr);
    DDBLTFX fx = colour_fill(0x1FE);  // an 8-bit surface takes the low byte
    RECT side = {12, 2, 20, 9};
    ASSERT_EQ(surface->Blt(&side, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    DDSURFACEDESC desc = empty_description();
    ASSERT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 12 && y >= 2 && y < 9;
            EXPECT_EQ(static_cast<const unsigned char*>(desc.lpSurface)[y * 20 + x], inside ? 0xFE : 0) << x << "," << y;
        }
    }
    // While locked the surface cannot be filled.
    EXPECT_EQ(surface->Blt(&side, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_SURFACEBUSY);
    ASSERT_EQ(surface->Unlock(nullptr), DD_OK);

    RECT outside = {12, 2, 21, 9};
    EXPECT_EQ(surface->Blt(&outside, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
    RECT backwards = {12, 9, 20, 2};
    EXPECT_EQ(surface->Blt(&backwards, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
    fx.dwSize = 96;
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr), DDERR_INVALIDPARAMS);
    fx.dwSize = sizeof fx;
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT, &fx), DDERR_UNSUPPORTED);
    surface->Release();
}

// An odd pitch puts every other row of 16-bit pixels at an odd address.
TEST_F(PlatformDirectDraw, SixteenBitColourFillsStoreEachPixelLowByteFirstWhateverThePitch) {
    for (const int pitch : {40, 41}) {
        SCOPED_TRACE(testing::Message() << "pitch " << pitch);
        IDirectDrawSurface3* surface = create(display_description(20, 4, pitch, true));
        ASSERT_NE(surface, nullptr);
        DDBLTFX fx = colour_fill(0x9234);
        RECT middle = {3, 1, 17, 4};
        ASSERT_EQ(surface->Blt(&middle, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
        DDSURFACEDESC desc = empty_description();
        ASSERT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
        for (int y = 0; y < 4; ++y) {
            const auto* row = static_cast<const unsigned char*>(desc.lpSurface) + y * pitch;
            for (int x = 0; x < 20; ++x) {
                const bool inside = x >= 3 && x < 17 && y >= 1;
                EXPECT_EQ(row[2 * x], inside ? 0x34 : 0) << x << "," << y;
                EXPECT_EQ(row[2 * x + 1], inside ? 0x92 : 0) << x << "," << y;
            }
        }
        ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
        surface->Release();
    }
}

TEST_F(PlatformDirectDraw, LocksAndDeviceContextsAreGivenOutOnceUntilReturned) {
    IDirectDrawSurface3* surface = create(display_description(8, 8, 8, false));
    ASSERT_NE(surface, nullptr);
    DDSURFACEDESC desc = empty_description();
    EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
    ASSERT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    DDSURFACEDESC again = desc;
    EXPECT_EQ(surface->Lock(nullptr, &again, 0, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(surface->Unlock(desc.lpSurface), DD_OK);
    // Rectangles that do not overlap may be locked together; the address is the rectangle's.
    RECT top = {0, 0, 8, 4};
    RECT bottom = {2, 4, 8, 8};
    DDSURFACEDESC top_desc = desc;
    DDSURFACEDESC bottom_desc = desc;
    ASSERT_EQ(surface->Lock(&top, &top_desc, 0, nullptr), DD_OK);
    ASSERT_EQ(surface->Lock(&bottom, &bottom_desc, 0, nullptr), DD_OK);
    EXPECT_EQ(static_cast<char*>(bottom_desc.lpSurface) - static_cast<char*>(top_desc.lpSurface), 4 * 8 + 2);
    EXPECT_EQ(surface->Unlock(top_desc.lpSurface), DD_OK);
    EXPECT_EQ(surface->Unlock(bottom_desc.lpSurface), DD_OK);
    RECT beyond = {0, 0, 9, 8};
    EXPECT_EQ(surface->Lock(&beyond, &desc, 0, nullptr), DDERR_INVALIDRECT);
    desc.dwSize = 100;
    EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Lock(nullptr, nullptr, 0, nullptr), DDERR_INVALIDPARAMS);

    HDC dc = nullptr;
    HDC second = nullptr;
    ASSERT_EQ(surface->GetDC(&dc), DD_OK);
    EXPECT_EQ(surface->GetDC(&second), DDERR_DCALREADYCREATED);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(surface->ReleaseDC(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->ReleaseDC(dc), DD_OK);
    EXPECT_FALSE(LineTo(dc, 1, 1)) << "a released device context is gone";
    EXPECT_EQ(surface->GetDC(nullptr), DDERR_INVALIDPARAMS);
    surface->Release();
}

TEST_F(PlatformDirectDraw, RefusesDescriptionsItCannotMake) {
    const auto refused = [&](DDSURFACEDESC desc) {
        LPDIRECTDRAWSURFACE surface = reinterpret_cast<LPDIRECTDRAWSURFACE>(&desc);
        const HRESULT result = directdraw2_->CreateSurface(&desc, &surface, nullptr);
        EXPECT_EQ(surface, nullptr);
        return result;
    };
    DDSURFACEDESC desc = display_description(16, 16, 16, false);
    desc.dwSize = 100;
    EXPECT_EQ(refused(desc), DDERR_INVALIDPARAMS);
    desc = display_description(16, 16, 8, false);
    EXPECT_EQ(refused(desc), DDERR_INVALIDPARAMS) << "a pitch shorter than a row";
    desc = display_description(0, 16, 16, false);
    EXPECT_EQ(refused(desc), DDERR_INVALIDPARAMS);
    desc = display_description(0x7FFFFFFF, 0x7FFFFFFF, 16, false);
    EXPECT_EQ(refused(desc), DDERR_INVALIDPARAMS);
    desc = display_description(16, 16, 32, true);
    desc.ddpfPixelFormat.dwGBitMask = 0x07E0;  // 5-6-5
    EXPECT_EQ(refused(desc), DDERR_INVALIDPIXELFORMAT);
    desc = display_description(16, 16, 64, false);
    desc.ddpfPixelFormat.dwRGBBitCount = 32;
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    EXPECT_EQ(refused(desc), DDERR_INVALIDPIXELFORMAT);
    desc = display_description(16, 16, 16, false);
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    EXPECT_EQ(refused(desc), DDERR_UNSUPPORTED);
    EXPECT_EQ(directdraw2_->CreateSurface(nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(PlatformDirectDraw, EightBitSurfacesTakeTheirPaletteAndSixteenBitOnesNone) {
    LPDIRECTDRAWPALETTE palette = nullptr;
    ASSERT_EQ(directdraw2_->CreatePalette(DDPCAPS_8BIT, const_cast<PALETTEENTRY*>(test_palette()), &palette, nullptr),
              DD_OK);
    IDirectDrawSurface3* indexed = create(display_description(8, 8, 8, false));
    IDirectDrawSurface3* rgb = create(display_description(8, 8, 16, true));
    ASSERT_EQ(indexed->SetPalette(palette), DD_OK);
    EXPECT_EQ(rgb->SetPalette(palette), DDERR_INVALIDPIXELFORMAT);
    palette->Release();  // the surface holds its own reference
    LPDIRECTDRAWPALETTE attached = nullptr;
    ASSERT_EQ(indexed->GetPalette(&attached), DD_OK);
    PALETTEENTRY entry{};
    ASSERT_EQ(attached->GetEntries(0, 110, 1, &entry), DD_OK);
    EXPECT_EQ(entry.peRed, 255);
    EXPECT_EQ(entry.peGreen, 128);
    EXPECT_EQ(attached->GetEntries(0, 250, 7, &entry), DDERR_INVALIDPARAMS);
    attached->Release();
    EXPECT_EQ(directdraw2_->CreatePalette(DDPCAPS_8BIT, nullptr, &attached, nullptr), DDERR_INVALIDPARAMS);
    rgb->Release();
    indexed->Release();
}

TEST_F(PlatformDirectDraw, QueryInterfaceGivesTheInterfacesOfTheObjectAndNoOthers) {
    IDirectDrawSurface3* surface3 = create(display_description(4, 4, 4, false));
    ASSERT_NE(surface3, nullptr);
    LPDIRECTDRAWSURFACE surface = nullptr;
    ASSERT_EQ(surface3->QueryInterface(IID_IDirectDrawSurface, reinterpret_cast<void**>(&surface)), DD_OK);
    void* unknown = reinterpret_cast<void*>(1);
    EXPECT_EQ(surface3->QueryInterface(IID_IDirectDraw2, &unknown), E_NOINTERFACE);
    EXPECT_EQ(unknown, nullptr);
    EXPECT_EQ(directdraw_->QueryInterface(IID_IDirectDrawSurface3, &unknown), E_NOINTERFACE);
    EXPECT_EQ(surface3->QueryInterface(IID_IDirectDrawSurface3, nullptr), DDERR_INVALIDPARAMS);
    LPDIRECTDRAW first = nullptr;
    ASSERT_EQ(directdraw2_->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&first)), DD_OK);
    EXPECT_EQ(first, directdraw_);
    first->Release();
    surface->Release();
    surface3->Release();
}

TEST_F(PlatformDirectDraw, ObjectsLiveUntilTheirLastReferenceIsReleased) {
    StandInLiveObjects live{};
    standin_live_objects(&live);
    const int surfaces = live.surfaces;
    IDirectDrawSurface3* surface = create(display_description(4, 4, 4, false));
    EXPECT_EQ(surface->AddRef(), 2u);
    EXPECT_EQ(surface->Release(), 1u);
    standin_live_objects(&live);
    EXPECT_EQ(live.surfaces, surfaces + 1);
    // A surface keeps its DirectDraw object: released first, the object stays until the surface goes.
    directdraw2_->Release();
    directdraw2_ = nullptr;
    EXPECT_EQ(directdraw_->Release(), 1u) << "the surface's reference";
    directdraw_ = nullptr;
    standin_live_objects(&live);
    EXPECT_EQ(live.directdraw_objects, 1);
    EXPECT_EQ(surface->Release(), 0u);
    standin_live_objects(&live);
    EXPECT_EQ(live.surfaces, surfaces);
    EXPECT_EQ(live.directdraw_objects, 0);
}

TEST(PlatformDirectDrawCreate, OffersOnlyTheEmulatedDevice) {
    LPDIRECTDRAW directdraw = reinterpret_cast<LPDIRECTDRAW>(1);
    GUID device = IID_IDirectDraw;
    EXPECT_EQ(DirectDrawCreate(&device, &directdraw, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(directdraw, nullptr);
    EXPECT_EQ(DirectDrawCreate(nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
}

}  // namespace
