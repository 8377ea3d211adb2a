// The call journal, the fault switch and the counters of live objects.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <sstream>

#include "platform_testing.h"
#include "standin_control.h"

using namespace platform_testing;

namespace {

// Sets an environment variable for the life of the object.
class Environment {
public:
    Environment(const char* name, const std::string& value) : name_(name) {
        setenv(name, value.c_str(), 1);
        standin_restart_calls();
    }
    ~Environment() {
        unsetenv(name_);
        standin_restart_calls();
    }

private:
    const char* name_;
};

std::string temporary_path(const char* what) {
    return testing::TempDir() + "platform_" + what + "_" + std::to_string(getpid());
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(PlatformJournal, WritesEveryCallAsOneLineOfNameAndArguments) {
    const std::string path = temporary_path("journal");
    unlink(path.c_str());
    {
        Surface surface(256, 256, 8, test_palette());
        const Environment journal("WIN32_STANDIN_JOURNAL", path);
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
        HGDIOBJ old = SelectObject(surface.dc(), pen);
        MoveToEx(surface.dc(), 128, 217, nullptr);
        LineTo(surface.dc(), 131, 225);
        const POINT marker[] = {{125, 14}, {125, 19}, {128, 22}, {131, 19}, {131, 13}};
        Polyline(surface.dc(), marker, 5);
        Arc(surface.dc(), 118, 126, 138, 146, 118, 136, 118, 136);
        ExtFloodFill(surface.dc(), 5, 215, RGB(255, 255, 0), FLOODFILLBORDER);
        SetTextAlign(surface.dc(), TA_BASELINE | TA_CENTER);
        SetTextColor(surface.dc(), RGB(255, 255, 255));
        TextOutA(surface.dc(), 220, 61, "3", 1);
        TextOutA(surface.dc(), 0, 4, "270\xB0 \"/\\\n", 9);
        SelectObject(surface.dc(), old);
        DeleteObject(pen);
        MulDiv(2000, -707, 10000);
        HANDLE none = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, nullptr);
        EXPECT_EQ(none, nullptr);
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        surface.surface3()->Lock(nullptr, &desc, DDLOCK_NOSYSLOCK, nullptr);
        surface.surface3()->Unlock(nullptr);
    }
    const std::vector<std::string> expected = {
        "CreatePen 0 1 0x00FF00",
        "SelectObject pen 0 1 0x00FF00",
        "MoveToEx 128 217",
        "LineTo 131 225",
        "Polyline 5 125 14 125 19 128 22 131 19 131 13",
        "Arc 118 126 138 146 118 136 118 136",
        "ExtFloodFill 5 215 0x00FFFF 0",
        "SetTextAlign 30",
        "SetTextColor 0xFFFFFF",
        "TextOutA 220 61 \"3\"",
        "TextOutA 0 4 \"270\xB0 \\\"/\\\\\\n\"",
        "SelectObject pen 0 0 0x000000",
        "DeleteObject pen 0 1 0x00FF00",
        "MulDiv 2000 -707 10000",
        "OpenFileMappingA 983071 0 null",
        "Lock 2048",
        "Unlock",
    };
    EXPECT_EQ(lines_of(file_text(path)), expected);
    unlink(path.c_str());
}

TEST(PlatformJournal, IsSilentWithoutTheVariable) {
    const std::string path = temporary_path("silent");
    unlink(path.c_str());
    {
        const Environment journal("WIN32_STANDIN_JOURNAL", path);
        MulDiv(1, 2, 3);
    }
    MulDiv(4, 5, 6);
    EXPECT_EQ(file_text(path), "MulDiv 1 2 3\n");
    unlink(path.c_str());
}

struct Surfaces {
    LPDIRECTDRAW directdraw = nullptr;
    IDirectDrawSurface3* surfaces[3] = {};
    ~Surfaces() {
        for (IDirectDrawSurface3* surface : surfaces) {
            if (surface != nullptr) surface->Release();
        }
        if (directdraw != nullptr) directdraw->Release();
    }
};

TEST(PlatformFaultSwitch, FailsTheNumberedCallOfANameAndNoOther) {
    const Environment fail("WIN32_STANDIN_FAIL", "Lock#2");
    Surfaces made;
    ASSERT_EQ(DirectDrawCreate(nullptr, &made.directdraw, nullptr), DD_OK);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = 4;
    desc.dwHeight = 4;
    for (IDirectDrawSurface3*& surface : made.surfaces) {
        LPDIRECTDRAWSURFACE first = nullptr;
        ASSERT_EQ(made.directdraw->CreateSurface(&desc, &first, nullptr), DD_OK);
        first->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface));
        first->Release();
    }
    const HRESULT expected[] = {DD_OK, DDERR_GENERIC, DD_OK};
    for (int i = 0; i < 3; ++i) {
        DDSURFACEDESC locked{};
        locked.dwSize = sizeof locked;
        EXPECT_EQ(made.surfaces[i]->Lock(nullptr, &locked, DDLOCK_NOSYSLOCK, nullptr), expected[i]) << "Lock " << i + 1;
        EXPECT_EQ(made.surfaces[i]->Unlock(nullptr), i == 1 ? DDERR_NOTLOCKED : DD_OK);
    }
    // Numbering starts afresh on request.
    standin_restart_calls();
    DDSURFACEDESC locked{};
    locked.dwSize = sizeof locked;
    EXPECT_EQ(made.surfaces[0]->Lock(nullptr, &locked, 0, nullptr), DD_OK);
    EXPECT_EQ(made.surfaces[0]->Lock(nullptr, &locked, 0, nullptr), DDERR_GENERIC);
}

// The switch is looked at on every call, however the environment changed since the last one:
// entries replaced, added, removed before it, and a putenv text edited in place.
TEST(PlatformFaultSwitch, FollowsEveryChangeOfTheEnvironmentBetweenCalls) {
    const auto mul_div_fails = [] { return MulDiv(6, 7, 1) == -1; };
    unsetenv("WIN32_STANDIN_FAIL");
    EXPECT_FALSE(mul_div_fails());
    setenv("WIN32_STANDIN_EARLIER", "1", 1);
    setenv("WIN32_STANDIN_FAIL", "MulDiv", 1);
    EXPECT_TRUE(mul_div_fails()) << "set";
    setenv("WIN32_STANDIN_LATER", "1", 1);
    EXPECT_TRUE(mul_div_fails()) << "another variable added";
    unsetenv("WIN32_STANDIN_EARLIER");
    EXPECT_TRUE(mul_div_fails()) << "a variable before it removed";
    setenv("WIN32_STANDIN_FAIL", "LineTo", 1);
    EXPECT_FALSE(mul_div_fails()) << "replaced";
    static char in_place[] = "WIN32_STANDIN_FAIL=MulDiv";
    putenv(in_place);
    EXPECT_TRUE(mul_div_fails()) << "put";
    std::memcpy(in_place + std::strlen("WIN32_STANDIN_FAIL="), "LineTo", 6);
    EXPECT_FALSE(mul_div_fails()) << "edited in place";
    unsetenv("WIN32_STANDIN_FAIL");
    unsetenv("WIN32_STANDIN_LATER");
    EXPECT_FALSE(mul_div_fails()) << "removed";
}

TEST(PlatformFaultSwitch, MakesEachKindOfCallReturnItsFailureValue) {
    const Environment fail("WIN32_STANDIN_FAIL", " CreatePen, CreateSolidBrush,CreateFontIndirectA , DirectDrawCreate,"
                                                  "LineTo,SetTextColor,MulDiv,FindResourceA,CreateFileMappingA,Bogus#x");
    EXPECT_EQ(CreatePen(PS_SOLID, 1, 0), nullptr);
    EXPECT_EQ(CreateSolidBrush(0), nullptr);
    LOGFONTA font{};
    EXPECT_EQ(CreateFontIndirectA(&font), nullptr);
    LPDIRECTDRAW directdraw = reinterpret_cast<LPDIRECTDRAW>(1);
    EXPECT_EQ(DirectDrawCreate(nullptr, &directdraw, nullptr), DDERR_GENERIC);
    EXPECT_EQ(directdraw, nullptr);
    EXPECT_EQ(MulDiv(6, 7, 1), -1);
    EXPECT_EQ(FindResourceA(nullptr, "#4096", RT_BITMAP), nullptr);
    EXPECT_EQ(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, "NDPassData"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
    EXPECT_EQ(MoveToEx(nullptr, 0, 0, nullptr), FALSE) << "not named, fails for its own reason";
}

TEST(PlatformFaultSwitch, FailsTheDisplaysSurfaceStepsOneByOne) {
    // The steps of building the display's drawing surface, each made to fail in turn.
    const struct {
        const char* setting;
        int failing_step;
    } cases[] = {{"SetCooperativeLevel", 1}, {"QueryInterface#1", 2}, {"CreateSurface", 3},
                 {"QueryInterface#2", 4},    {"GetDC", 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        const Environment fail("WIN32_STANDIN_FAIL", c.setting);
        LPDIRECTDRAW directdraw = nullptr;
        LPDIRECTDRAW2 directdraw2 = nullptr;
        LPDIRECTDRAWSURFACE surface = nullptr;
        IDirectDrawSurface3* surface3 = nullptr;
        HDC dc = nullptr;
        ASSERT_EQ(DirectDrawCreate(nullptr, &directdraw, nullptr), DD_OK);
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = desc.dwHeight = 8;
        const HRESULT results[] = {
            directdraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL),
            directdraw->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&directdraw2)),
            directdraw2 == nullptr ? E_FAIL : directdraw2->CreateSurface(&desc, &surface, nullptr),
            surface == nullptr ? E_FAIL : surface->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface3)),
            surface3 == nullptr ? E_FAIL : surface3->GetDC(&dc),
        };
        for (int step = 0; step < c.failing_step - 1; ++step) EXPECT_EQ(results[step], DD_OK) << "step " << step + 1;
        EXPECT_EQ(results[c.failing_step - 1], DDERR_GENERIC);
        if (dc != nullptr) surface3->ReleaseDC(dc);
        if (surface3 != nullptr) surface3->Release();
        if (surface != nullptr) surface->Release();
        if (directdraw2 != nullptr) directdraw2->Release();
        directdraw->Release();
    }
}

TEST(PlatformFaultSwitch, NeverFailsAddRefAndRelease) {
    const Environment fail("WIN32_STANDIN_FAIL", "AddRef,Release");
    LPDIRECTDRAW directdraw = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &directdraw, nullptr), DD_OK);
    EXPECT_EQ(directdraw->AddRef(), 2u);
    EXPECT_EQ(directdraw->Release(), 1u);
    EXPECT_EQ(directdraw->Release(), 0u);
}

TEST(PlatformLiveObjects, CreatingAndReleasingEveryKindOfObjectReturnsAllCountersToZero) {
    const auto all_zero = [] {
        StandInLiveObjects live{};
        standin_live_objects(&live);
        return live.pens == 0 && live.brushes == 0 && live.fonts == 0 && live.device_contexts == 0 &&
               live.directdraw_objects == 0 && live.surfaces == 0 && live.palettes == 0 && live.file_mappings == 0 &&
               live.file_views == 0 && live.library_references == 0;
    };
    ASSERT_TRUE(all_zero());
    StandInLiveObjects live{};
    {
        Surface indexed(16, 16, 8, test_palette());
        Surface rgb(16, 16, 16);
        Selected pen(indexed.dc(), CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
        Selected brush(indexed.dc(), CreateSolidBrush(RGB(1, 2, 3)));
        Selected font(indexed.dc(), arial(-9));
        const Environment prefix("WIN32_STANDIN_PREFIX", "counters_" + std::to_string(getpid()) + "_");
        HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, "NDPassData");
        void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
        HMODULE library = LoadLibraryA(TEST_MODULE_PATH);
        standin_live_objects(&live);
        EXPECT_EQ(live.pens, 1);
        EXPECT_EQ(live.brushes, 1);
        EXPECT_EQ(live.fonts, 1);
        EXPECT_EQ(live.device_contexts, 2);
        EXPECT_EQ(live.directdraw_objects, 2);
        EXPECT_EQ(live.surfaces, 2);
        EXPECT_EQ(live.palettes, 1);
        EXPECT_EQ(live.file_mappings, 1);
        EXPECT_EQ(live.file_views, 1);
        EXPECT_EQ(live.library_references, 1);
        EXPECT_TRUE(FreeLibrary(library));
        EXPECT_TRUE(UnmapViewOfFile(view));
        EXPECT_TRUE(CloseHandle(mapping));
    }
    EXPECT_TRUE(all_zero());
    // Something not given back shows.
    HPEN kept = CreatePen(PS_SOLID, 1, 0);
    standin_live_objects(&live);
    EXPECT_EQ(live.pens, 1);
    DeleteObject(kept);
    EXPECT_TRUE(all_zero());
}

TEST(PlatformGdiObjects, AreDeletedOnlyWhenNoDeviceContextHoldsThem) {
    Surface surface(4, 4, 16);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
    HGDIOBJ stock = SelectObject(surface.dc(), pen);
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(SelectObject(surface.dc(), stock), pen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen)) << "a handle is good once";
    EXPECT_EQ(SelectObject(surface.dc(), pen), nullptr);
    EXPECT_TRUE(DeleteObject(stock)) << "stock objects stay and deleting them does nothing";
    EXPECT_EQ(SelectObject(surface.dc(), stock), stock);
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_FALSE(DeleteObject(surface.dc())) << "device contexts go back to their surface";
    EXPECT_EQ(SelectObject(surface.dc(), surface.dc()), nullptr);
    EXPECT_EQ(CreatePen(PS_SOLID, 3, 0), nullptr) << "one pixel wide only";
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
}

}  // namespace
