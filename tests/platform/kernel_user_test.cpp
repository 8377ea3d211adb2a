// The kernel and user calls: MulDiv and the string calls, named file mappings shared between
// processes, resources of a loaded module, library references, message boxes and the keyboard.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "host_support.h"
#include "standin_control.h"
#include "win32.h"

namespace {

TEST(PlatformMulDiv, RoundsTheExactQuotientHalfAwayFromZero) {
    const struct {
        int a, b, c, expected;
    } cases[] = {
        {2000, -707, 10000, -141}, {2000, 707, 10000, 141},  {1, 1, 2, 1},   {-1, 1, 2, -1},   {1, -1, 2, -1},
        {-1, -1, 2, 1},            {3, 1, 2, 2},             {5, 1, 4, 1},   {7, 1, 4, 2},     {-7, 1, 4, -2},
        {1, 1, 3, 0},              {2, 1, 3, 1},             {96, 1, 11, 9}, {96, 1, 12, 8},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // the 64-bit product does not overflow
        {INT_MIN, 1, 1, INT_MIN},  {INT_MIN, -1, 1, -1},     // 2^31 does not fit: failure
        {65536, 65536, 1, -1},     {5, 6, 0, -1},            {0, 0, 0, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

TEST(PlatformStrings, CopyAndAppendLikeTheirCounterpartsAndRefuseNull) {
    char buffer[32] = "junk";
    EXPECT_EQ(lstrcpyA(buffer, "Gauges" PATH_SEPARATOR), buffer);
    EXPECT_EQ(lstrcatA(buffer, "Vistrel.ND.err"), buffer);
    EXPECT_STREQ(buffer, "Gauges/Vistrel.ND.err");
    EXPECT_EQ(lstrcpyA(nullptr, "x"), nullptr);
    EXPECT_EQ(lstrcpyA(buffer, nullptr), nullptr);
    EXPECT_EQ(lstrcatA(buffer, nullptr), nullptr);
    EXPECT_STREQ(buffer, "Gauges/Vistrel.ND.err");
}

// A prefix of this test's own, so that parallel runs never meet.
class PlatformFileMappings : public testing::Test {
protected:
    void SetUp() override {
        setenv("WIN32_STANDIN_PREFIX", ("platform_test_" + std::to_string(getpid()) + "_").c_str(), 1);
    }
    void TearDown() override { unsetenv("WIN32_STANDIN_PREFIX"); }
};

TEST_F(PlatformFileMappings, TwoProcessesOpeningOneNameSeeEachOthersWrites) {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, "NDPassData");
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    auto* block = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(block, nullptr);
    strcpy(block, "from the first");

    const pid_t child = fork();
    if (child == 0) {
        // Another process opens the name for itself.
        int failures = 0;
        HANDLE own = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, "NDPassData");
        if (own == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) failures |= 1;
        auto* seen = static_cast<char*>(MapViewOfFile(own, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        if (seen == nullptr || seen == block || strcmp(seen, "from the first") != 0) failures |= 2;
        if (seen != nullptr) strcpy(seen + 30, "from the second");
        if (!UnmapViewOfFile(seen) || !CloseHandle(own)) failures |= 4;
        _exit(failures);
    }
    ASSERT_GT(child, 0);
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_STREQ(block + 30, "from the second");
    EXPECT_TRUE(UnmapViewOfFile(block));
    EXPECT_TRUE(CloseHandle(mapping));
}

TEST_F(PlatformFileMappings, LastsUntilItsLastHandleAndViewAreGone) {
    HANDLE first = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, "NDPassData");
    HANDLE second = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, "NDPassData");
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    auto* view = static_cast<char*>(MapViewOfFile(second, FILE_MAP_ALL_ACCESS, 0, 0, 60));
    ASSERT_NE(view, nullptr);
    strcpy(view, "kept");
    EXPECT_TRUE(CloseHandle(first));
    EXPECT_TRUE(CloseHandle(second));
    HANDLE third = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "NDPassData");
    EXPECT_NE(third, nullptr) << "the view keeps it";
    EXPECT_TRUE(CloseHandle(third));
    EXPECT_TRUE(UnmapViewOfFile(view));
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "NDPassData"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    HANDLE fresh = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, "NDPassData");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    auto* zeroed = static_cast<char*>(MapViewOfFile(fresh, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    EXPECT_EQ(zeroed[0], 0);
    UnmapViewOfFile(zeroed);
    CloseHandle(fresh);
}

TEST_F(PlatformFileMappings, APrefixKeepsNamesApart) {
    HANDLE mine = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, "NDPassData");
    setenv("WIN32_STANDIN_PREFIX", ("platform_other_" + std::to_string(getpid()) + "_").c_str(), 1);
    HANDLE theirs = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, "NDPassData");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_TRUE(CloseHandle(theirs));
    EXPECT_TRUE(CloseHandle(mine));
}

TEST_F(PlatformFileMappings, RefusesWhatItCannotDo) {
    EXPECT_EQ(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, nullptr), nullptr);
    EXPECT_EQ(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 0, "NDPassData"), nullptr);
    EXPECT_EQ(MapViewOfFile(nullptr, FILE_MAP_ALL_ACCESS, 0, 0, 0), nullptr);
    EXPECT_FALSE(UnmapViewOfFile(nullptr));
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 60, "NDPassData");
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 61), nullptr);
    EXPECT_TRUE(CloseHandle(mapping));
    EXPECT_FALSE(CloseHandle(mapping)) << "a handle closes once";
}

TEST(PlatformResources, AreFoundByNumberInTheLoadedModule) {
    HMODULE module = LoadLibraryA(TEST_MODULE_PATH);
    ASSERT_NE(module, nullptr);
    for (LPCSTR name : {static_cast<LPCSTR>("#4096"), MAKEINTRESOURCEA(4096)}) {
        HRSRC resource = FindResourceA(module, name, RT_BITMAP);
        ASSERT_NE(resource, nullptr);
        const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, resource)));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->biSize, 40u);
        EXPECT_EQ(header->biBitCount, 8);
        const auto* colours = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const char*>(header) + header->biSize);
        const auto* pixels = reinterpret_cast<const unsigned char*>(colours + 256);
        EXPECT_EQ(colours[pixels[0]].rgbGreen, 255);
        EXPECT_EQ(colours[pixels[0]].rgbRed, 0);
        EXPECT_EQ(SizeofResource(module, resource), 40u + 1024u + 8u);
    }
    EXPECT_EQ(FindResourceA(module, "#8192", RT_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(FindResourceA(module, "4096", RT_BITMAP), nullptr);
    EXPECT_EQ(FindResourceA(module, "#4096", MAKEINTRESOURCEA(3)), nullptr);
    EXPECT_EQ(FindResourceA(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x1000)), "#4096", RT_BITMAP), nullptr);
    EXPECT_EQ(LoadResource(module, nullptr), nullptr);
    int made_up = 0;
    EXPECT_EQ(LoadResource(module, &made_up), nullptr);
    EXPECT_EQ(SizeofResource(module, &made_up), 0u);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST(PlatformLibraries, CountTheirReferencesAsWindowsDoes) {
    StandInLiveObjects live{};
    HMODULE first = LoadLibraryA(TEST_MODULE_PATH);
    HMODULE second = LoadLibraryA(TEST_MODULE_PATH);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(GetModuleHandleA(TEST_MODULE_PATH), first);
    standin_live_objects(&live);
    EXPECT_EQ(live.library_references, 2);
    typedef int (*Answer)();
    const auto answer = reinterpret_cast<Answer>(GetProcAddress(first, "test_module_answer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(GetProcAddress(first, "no_such_entry"), nullptr);
    EXPECT_EQ(GetProcAddress(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x1000)), "x"), nullptr);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_TRUE(FreeLibrary(second));
    standin_live_objects(&live);
    EXPECT_EQ(live.library_references, 0);
    EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x1000))));
    EXPECT_EQ(LoadLibraryA("NoSuchGaugeLibrary"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST(PlatformMessageBoxA, PrintsOneLineOnStandardErrorAndReturnsAtOnce) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "Vistrel.ND\nUnable to lock surface.", "Error", MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Vistrel.ND\nUnable to get the color table \nand the palette.", "Warning",
                          MB_ICONWARNING),
              IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "message Error: Vistrel.ND\\nUnable to lock surface.\n"
              "message Warning: Vistrel.ND\\nUnable to get the color table \\nand the palette.\n");
}

TEST(PlatformKeyboard, ReportsWhatTheHostSets) {
    EXPECT_EQ(GetAsyncKeyState(VK_TAB), 0);
    ASSERT_TRUE(platform_set_key_down(VK_TAB, true));
    EXPECT_EQ(static_cast<unsigned short>(GetAsyncKeyState(VK_TAB)), 0x8001u) << "down, and pressed since last asked";
    EXPECT_EQ(static_cast<unsigned short>(GetAsyncKeyState(VK_TAB)), 0x8000u) << "still down";
    EXPECT_LT(GetKeyState(VK_TAB), 0);
    ASSERT_TRUE(platform_set_key_down(VK_TAB, false));
    EXPECT_EQ(GetAsyncKeyState(VK_TAB), 0);
    EXPECT_EQ(GetKeyState(VK_TAB), 0);
    // Pressed and released between two questions: not down, but pressed.
    platform_set_key_down(VK_SHIFT, true);
    platform_set_key_down(VK_SHIFT, false);
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 1);
    EXPECT_EQ(GetAsyncKeyState(-1), 0);
    EXPECT_EQ(GetAsyncKeyState(100000), 0);
    EXPECT_FALSE(platform_set_key_down(256, true));
}

}  // namespace
