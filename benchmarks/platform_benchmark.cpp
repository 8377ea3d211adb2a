// How long the stand-in takes over the work of one picture of the navigation display: a surface
// cleared, a compass card of lines and labels, circles, fills and the data blocks' texts.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "win32.h"

namespace {

struct Display {
    LPDIRECTDRAW directdraw = nullptr;
    LPDIRECTDRAWSURFACE surface = nullptr;
    IDirectDrawSurface3* surface3 = nullptr;
    HDC dc = nullptr;
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;

    Display() {
        DirectDrawCreate(nullptr, &directdraw, nullptr);
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = 256;
        desc.dwHeight = 256;
        directdraw->CreateSurface(&desc, &surface, nullptr);
        surface->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface3));
        surface3->GetDC(&dc);
        pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
        brush = CreateSolidBrush(RGB(0, 255, 255));
        LOGFONTA logfont{};
        logfont.lfHeight = -9;
        lstrcpyA(logfont.lfFaceName, "Arial");
        font = CreateFontIndirectA(&logfont);
        SelectObject(dc, pen);
        SelectObject(dc, brush);
        SelectObject(dc, font);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkMode(dc, TRANSPARENT);
    }
    ~Display() {
        surface3->ReleaseDC(dc);
        surface3->Release();
        surface->Release();
        directdraw->Release();
        DeleteObject(pen);
        DeleteObject(brush);
        DeleteObject(font);
    }
};

void clear(Display& display) {
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    display.surface3->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

void BM_CompassCard(benchmark::State& state) {
    Display display;
    for (auto _ : state) {
        clear(display);
        Arc(display.dc, 128 - 200, 217 - 200, 128 + 200, 217 + 200, 128 - 200, 217, 128 - 200, 217);
        SetTextAlign(display.dc, TA_BASELINE | TA_CENTER);
        for (int degrees = 0; degrees < 360; degrees += 10) {
            const double angle = degrees * 3.14159265359 / 180;
            const int x = static_cast<int>(119 * std::cos(angle));
            const int y = static_cast<int>(119 * std::sin(angle));
            MoveToEx(display.dc, 128 + x, 136 - y, nullptr);
            LineTo(display.dc, 128 + x * 109 / 119, 136 - y * 109 / 119);
            char label[4];
            const int length = snprintf(label, sizeof label, "%d", degrees / 10);
            TextOutA(display.dc, 128 + x * 104 / 119, 136 - y * 104 / 119 + 4, label, length);
        }
        benchmark::DoNotOptimize(display.surface3);
    }
}
BENCHMARK(BM_CompassCard);

void BM_DataBlocks(benchmark::State& state) {
    Display display;
    SetBkMode(display.dc, OPAQUE);
    SetTextAlign(display.dc, TA_BASELINE | TA_LEFT);
    const char* lines[] = {"VOR1", "ABC", "ADF", "JQPXY", "270\xB0 / 16", "ILS 110.90", "DME 12.3", "KT 141"};
    for (auto _ : state) {
        int y = 20;
        for (const char* line : lines) {
            TextOutA(display.dc, 0, y, line, static_cast<int>(strlen(line)));
            y += 9;
        }
        benchmark::DoNotOptimize(display.surface3);
    }
}
BENCHMARK(BM_DataBlocks);

void BM_FloodFillOfTheWholeSurface(benchmark::State& state) {
    Display display;
    for (auto _ : state) {
        clear(display);
        ExtFloodFill(display.dc, 128, 128, RGB(255, 255, 255), FLOODFILLBORDER);
        benchmark::DoNotOptimize(display.surface3);
    }
}
BENCHMARK(BM_FloodFillOfTheWholeSurface);

}  // namespace
