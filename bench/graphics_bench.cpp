// bench/graphics_bench.cpp: cost of a rendered frame through the graphics module and the renderer.
//
// Needs a display (run under xvfb-run; Mesa llvmpipe does the drawing on the CPU). Each benchmark draws
// whole frames, BeginRender to EndRender and glFinish, and reports the OpenGL draw calls per frame, which
// the batching keeps low: the game's worst frame is its display list full (2500 commands) of one sheet.
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>

#include "framework/graphics.h"
#include "harness/gl_window.h"
#include "host/game.h"

namespace {

const int kWindow = 800;          // the game's design screen is 800 x 600; a square window is enough
const int kDisplayList = 2500;    // the most commands the game records per frame

// One window, one device and one 16-frame sprite sheet for every benchmark.
struct Scene {
    GLFWwindow* window = nullptr;
    gxtkGraphics* device = nullptr;
    c_Image* sheet = nullptr;

    Scene() {
        window = zk_test::OpenTestWindow(kWindow, kWindow, "graphics bench");
        zk_graphics_init();
        device = new gxtkGraphics();
        zk_graphics_SetGraphicsDevice(device);
        gxtkSurface* surface = device->CreateSurface(128, 32);
        Array<int> pixels(128 * 32);
        for (int i = 0; i < pixels.Length(); ++i)   // half-transparent noise
            pixels[i] = static_cast<int>(0x80000000u | (i * 2654435761u >> 8));
        device->WritePixels2(surface, pixels, 0, 0, 128, 32, 0, 128);
        sheet = (new c_Image())->m_new()->p_Init2(surface, 0, 0, 16, 16, 16, c_Image::CentreHandle,
                                                  nullptr, 0, 0, 128, 32);
        gc_assign(zk_graphics_context->m_font, sheet);   // keep it reachable
    }
    void Begin() {
        device->BeginRender();
        zk_graphics_BeginRender();
        device->Cls(0, 0, 0);
    }
    void End() {
        zk_graphics_EndRender();
        device->EndRender();
        glFinish();
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

// The replay of a full display list: rotated, scaled frames of one sheet with changing colour and alpha.
void BM_FrameOfSheetImages(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        s.Begin();
        for (int i = 0; i < kDisplayList; ++i) {
            zk_graphics_SetAlpha(0.5f + (i & 1) * 0.5f);
            zk_graphics_SetColor(255, static_cast<float>(i & 255), 128);
            zk_graphics_SetBlend(0);
            float x = static_cast<float>(i % kWindow), y = static_cast<float>(i / 4 % kWindow);
            zk_graphics_DrawImage2(s.sheet, x, y, static_cast<float>(i), 1.5f, 1.5f, i & 15);
        }
        s.End();
    }
    state.counters["draw_calls"] = s.device->drawCalls;
    state.SetItemsProcessed(state.iterations() * kDisplayList);
}
BENCHMARK(BM_FrameOfSheetImages)->Unit(benchmark::kMillisecond);

// The worst case for batching: every command changes kind (image, rectangle, oval in turn).
void BM_FrameOfMixedCommands(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        s.Begin();
        for (int i = 0; i < kDisplayList; ++i) {
            float x = static_cast<float>(i % kWindow), y = static_cast<float>(i / 4 % kWindow);
            switch (i % 3) {
            case 0: zk_graphics_DrawImage2(s.sheet, x, y, 0, 1, 1, i & 15); break;
            case 1: zk_graphics_DrawRect(x, y, 8, 8); break;
            default: zk_graphics_DrawEllipse(x, y, 6, 4); break;
            }
        }
        s.End();
    }
    state.counters["draw_calls"] = s.device->drawCalls;
    state.SetItemsProcessed(state.iterations() * kDisplayList);
}
BENCHMARK(BM_FrameOfMixedCommands)->Unit(benchmark::kMillisecond);

// Vertex writing alone: rectangles of one kind, batched 256 to a draw call.
void BM_FrameOfRectangles(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        s.Begin();
        for (int i = 0; i < kDisplayList; ++i)
            zk_graphics_DrawRect(static_cast<float>(i % kWindow), static_cast<float>(i / 4 % kWindow), 4, 4);
        s.End();
    }
    state.counters["draw_calls"] = s.device->drawCalls;
    state.SetItemsProcessed(state.iterations() * kDisplayList);
}
BENCHMARK(BM_FrameOfRectangles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
