// tests/media/graphics_test.cpp: the renderer drawing into a real OpenGL context, checked by reading the
// pixels back, and its batching rules counted in draw calls.
#include "media/graphics.h"

#include <gtest/gtest.h>

#include <functional>

#include "harness/gl_window.h"
#include "tests/common/pixels.h"

namespace {

using namespace zk_test;

const int kSize = 64;   // window width and height

class Renderer : public ::testing::Test {
protected:
    void SetUp() override { g = BeginTestFrame(); }
    TestGLWindow window{kSize, kSize};
    gxtkGraphics* g = nullptr;
};

// Colour is premultiplied by alpha and blended over the picture; alpha above 1 or a component above 255
// is held at full strength instead of spilling into the neighbouring byte of the packed colour. Blend
// mode 1 adds; every other mode covers.
TEST_F(Renderer, ColourIsPremultipliedClampedAndBlendedOverThePicture) {
    struct { float r, gr, b, alpha; int blend; unsigned int over_black, over_white; } cases[] = {
        {255, 128, 0, 0.5f, 0, 0x7f4000, 0xffc080},
        {255, 128, 0, 2.0f, 0, 0xffff00, 0xffff00},
        {300, 0, 255, 1.0f, 0, 0xff00ff, 0xff00ff},
        {100, 50, 0, 1.0f, 1, 0x643200, 0xffffff},
        {100, 50, 0, 1.0f, -1, 0x643200, 0x643200},
    };
    for (auto& c : cases) {
        g->BeginRender();
        g->Cls(0, 0, 0);
        g->DrawRect(32, 0, 32, 64);   // white on the right half
        g->SetColor(c.r, c.gr, c.b);
        g->SetAlpha(c.alpha);
        g->SetBlend(c.blend);
        g->DrawRect(0, 0, 64, 64);
        g->EndRender();
        ExpectPixels({{10, 10, c.over_black}, {40, 10, c.over_white}}, 1);   // blending rounds either way
        g->SetColor(255, 255, 255);
        g->SetAlpha(1);
        g->SetBlend(0);
    }
}

TEST_F(Renderer, LinesAndOvalsReachTheScreen) {
    g->SetColor(255, 0, 0);
    g->DrawLine(0, 10.5f, kSize, 10.5f);   // along row 10
    g->DrawOval(0, 34, 30, 30);
    g->EndRender();
    ExpectPixels({{50, 10, 0xff0000}, {5, 12, 0x000000}, {15, 49, 0xff0000}, {28, 49, 0xff0000},
                  {2, 36, 0x000000}});   // the oval, not its box
}

TEST_F(Renderer, ScissorIsMeasuredFromTheTopAndFullWindowTurnsItOff) {
    g->SetScissor(10, 5, 20, 10);   // rows 5..14 from the top
    g->SetColor(255, 0, 0);
    g->DrawRect(0, 0, kSize, kSize);
    g->EndRender();
    ExpectPixels({{15, 7, 0xff0000}, {15, 20, 0x000000}, {5, 7, 0x000000}, {15, 55, 0x000000}});
    g->BeginRender();
    g->SetScissor(0, 0, kSize, kSize);
    g->SetColor(0, 0, 255);
    g->DrawRect(0, 0, kSize, kSize);
    g->EndRender();
    ExpectPixels({{5, 60, 0x0000ff}});
}

// Each step of the script is followed by the draw calls made so far this frame.
TEST_F(Renderer, BatchesBreakOnKindTextureBlendAndPixelAccessOnly) {
    gxtkSurface* a = g->CreateSurface(4, 4);
    gxtkSurface* b = g->CreateSurface(4, 4);
    Array<int> px(1);
    const float pent[] = {10, 10, 30, 10, 40, 30, 20, 40, 5, 30};
    struct { const char* what; std::function<void()> step; int calls; } script[] = {
        {"300 rectangles", [&] { for (int i = 0; i < 300; ++i) g->DrawRect(i % 60, 0, 1, 1); }, 1},
        {"colour, alpha, matrix", [&] { g->SetColor(0, 9, 0), g->SetAlpha(1), g->SetMatrix(1, 0, 0, 1, 2, 0); }, 1},
        {"same blend mode", [&] { g->SetBlend(0), g->DrawRect(0, 0, 1, 1); }, 1},
        {"a point", [&] { g->DrawPoint(1, 1); }, 2},
        {"surface a twice", [&] { g->DrawSurface(a, 0, 0), g->DrawSurface(a, 8, 0); }, 3},
        {"surface b", [&] { g->DrawSurface(b, 0, 0); }, 4},
        {"additive", [&] { g->SetBlend(1); }, 5},
        {"alpha, empty batch", [&] { g->SetBlend(0); }, 5},
        {"read", [&] { g->DrawRect(0, 0, 1, 1), g->ReadPixels(px, 0, 0, 1, 1, 0, 1); }, 6},
        {"scissor", [&] { g->DrawRect(0, 0, 1, 1), g->SetScissor(1, 1, 2, 2); }, 7},
        {"two pentagons", [&] { g->DrawPoly(Array<float>(pent, 10)), g->DrawPoly(Array<float>(pent, 10)); }, 7},
        {"too many vertices", [&] { g->DrawPoly(Array<float>(2 * (gxtkGraphics::kBatchVertices + 1))); }, 7},
        {"end", [&] { g->EndRender(); }, 9},   // one fan each
    };
    for (auto& s : script) {
        s.step();
        EXPECT_EQ(g->drawCalls, s.calls) << s.what;
    }
}

}  // namespace
