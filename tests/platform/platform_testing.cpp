#include "platform_testing.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace platform_testing {

std::set<std::pair<int, int>> Picture::marked(uint32_t background) const {
    std::set<std::pair<int, int>> places;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (at(x, y) != background) places.insert({x, y});
        }
    }
    return places;
}

std::string Picture::sketch(uint32_t background) const {
    std::string text = "\n";
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) text += at(x, y) == background ? '.' : '#';
        text += '\n';
    }
    return text;
}

DDSURFACEDESC display_description(int width, int height, int pitch, bool sixteen_bits) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | (pitch != 0 ? DDSD_PITCH : 0);
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
    return desc;
}

Surface::Surface(int width, int height, int bits_per_pixel, const PALETTEENTRY* palette, int pitch)
    : bits_(bits_per_pixel) {
    EXPECT_EQ(DirectDrawCreate(nullptr, &directdraw_, nullptr), DD_OK);
    EXPECT_EQ(directdraw_->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(directdraw_->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&directdraw2_)), DD_OK);
    DDSURFACEDESC desc = display_description(width, height, pitch, bits_per_pixel != 8);
    EXPECT_EQ(directdraw2_->CreateSurface(&desc, &surface_, nullptr), DD_OK);
    EXPECT_EQ(surface_->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface3_)), DD_OK);
    if (palette != nullptr) {
        EXPECT_EQ(directdraw2_->CreatePalette(DDPCAPS_8BIT, const_cast<PALETTEENTRY*>(palette), &palette_, nullptr),
                  DD_OK);
        EXPECT_EQ(surface3_->SetPalette(palette_), DD_OK);
    }
    EXPECT_EQ(surface3_->GetDC(&dc_), DD_OK);
    fill(0);
}

Surface::~Surface() {
    if (dc_ != nullptr) surface3_->ReleaseDC(dc_);
    if (palette_ != nullptr) palette_->Release();
    if (surface3_ != nullptr) surface3_->Release();
    if (surface_ != nullptr) surface_->Release();
    if (directdraw2_ != nullptr) directdraw2_->Release();
    if (directdraw_ != nullptr) directdraw_->Release();
}

void Surface::fill(uint32_t pixel) {
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = pixel;
    EXPECT_EQ(surface3_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
}

Picture Surface::picture() const {
    Picture picture;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    if (surface3_->Lock(nullptr, &desc, DDLOCK_NOSYSLOCK, nullptr) != DD_OK) {
        ADD_FAILURE() << "Lock failed";
        return picture;
    }
    picture.width = static_cast<int>(desc.dwWidth);
    picture.height = static_cast<int>(desc.dwHeight);
    const auto* memory = static_cast<const unsigned char*>(desc.lpSurface);
    for (int y = 0; y < picture.height; ++y) {
        const unsigned char* row = memory + static_cast<ptrdiff_t>(y) * desc.lPitch;
        for (int x = 0; x < picture.width; ++x) {
            picture.pixels.push_back(bits_ == 8 ? row[x] : static_cast<uint32_t>(row[2 * x] | row[2 * x + 1] << 8));
        }
    }
    surface3_->Unlock(desc.lpSurface);
    return picture;
}

void Surface::save(const std::string& name) const {
    const char* folder = getenv("PLATFORM_TEST_PICTURES");
    if (folder == nullptr) return;
    const Picture shown = picture();
    std::vector<PALETTEENTRY> colours(256);
    if (palette_ != nullptr) palette_->GetEntries(0, 0, 256, colours.data());
    std::vector<unsigned char> rgb;
    for (uint32_t pixel : shown.pixels) {
        if (bits_ == 8) {
            rgb.insert(rgb.end(), {colours[pixel].peRed, colours[pixel].peGreen, colours[pixel].peBlue});
        } else {
            const auto expand = [](uint32_t five) { return static_cast<unsigned char>(five << 3 | five >> 2); };
            rgb.insert(rgb.end(), {expand(pixel >> 10 & 31), expand(pixel >> 5 & 31), expand(pixel & 31)});
        }
    }
    const std::string path = std::string(folder) + "/" + name + ".png";
    stbi_write_png(path.c_str(), shown.width, shown.height, 3, rgb.data(), shown.width * 3);
}

Selected::Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), previous_(SelectObject(dc, object)) {
    EXPECT_NE(object, nullptr);
    EXPECT_NE(previous_, nullptr);
}

Selected::~Selected() {
    SelectObject(dc_, previous_);
    EXPECT_TRUE(DeleteObject(object_));
}

HFONT arial(int height) {
    LOGFONTA logfont{};
    logfont.lfHeight = height;
    logfont.lfCharSet = DEFAULT_CHARSET;
    logfont.lfPitchAndFamily = 0x31;
    lstrcpyA(logfont.lfFaceName, "Arial");
    return CreateFontIndirectA(&logfont);
}

const PALETTEENTRY* test_palette() {
    static const std::vector<PALETTEENTRY> entries = [] {
        std::vector<PALETTEENTRY> made(256, PALETTEENTRY{0, 0, 0, 0});
        made[1] = {128, 0, 0, 0};
        made[2] = {0, 128, 0, 0};
        made[7] = {192, 192, 192, 0};
        made[110] = {255, 128, 0, 0};
        made[248] = {128, 128, 128, 0};
        made[kRedIndex] = {255, 0, 0, 0};
        made[kGreenIndex] = {0, 255, 0, 0};
        made[kYellowIndex] = {255, 255, 0, 0};
        made[kBlueIndex] = {0, 0, 255, 0};
        made[kMagentaIndex] = {255, 0, 255, 0};
        made[kCyanIndex] = {0, 255, 255, 0};
        made[kWhiteIndex] = {255, 255, 255, 0};
        return made;
    }();
    return entries.data();
}

bool connected(const std::set<std::pair<int, int>>& places) {
    if (places.empty()) return true;
    std::set<std::pair<int, int>> reached{*places.begin()};
    std::vector<std::pair<int, int>> open{*places.begin()};
    while (!open.empty()) {
        const auto [x, y] = open.back();
        open.pop_back();
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const std::pair<int, int> next{x + dx, y + dy};
                if (places.count(next) != 0 && reached.insert(next).second) open.push_back(next);
            }
        }
    }
    return reached.size() == places.size();
}

std::string file_text(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace platform_testing
