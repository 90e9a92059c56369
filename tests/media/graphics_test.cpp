// The renderer in a real OpenGL context, its pixels read back, and its batches counted in draw calls.
#include "media/graphics.h"

#include <gtest/gtest.h>

#include <functional>

#include "harness/gl_window.h"
#include "tests/common/pixels.h"

using namespace zk_test;

const int kSize = 64;

class Renderer : public ::testing::Test {
protected:
    void SetUp() override { g = BeginTestFrame(); }
    TestGLWindow window{kSize, kSize};
    gxtkGraphics* g = nullptr;
};

// Alpha above 1 or a component above 255 must not spill into the packed colour's next byte. Blend mode 1
// adds, every other covers; each frame begins alpha-blended.
TEST_F(Renderer, ColourIsPremultipliedClampedAndBlendedOverThePicture) {
    // clang-format off
    struct { float r, gr, b, alpha; int blend; unsigned int over_black, over_white; } cases[] = {
        {255, 128, 0, 0.5f, 0, 0x7f4000, 0xffc080}, {255, 128, 0, 2.0f, 0, 0xffff00, 0xffff00},
        {300, 0, 255, 1.0f, 0, 0xff00ff, 0xff00ff}, {100, 50, 0, 1.0f, 1, 0x643200, 0xffffff},
        {0, 50, 100, 1.0f, 1, 0x003264, 0xffffff},   // additive again: the frame's own mode is set
        {100, 50, 0, 1.0f, -1, 0x643200, 0x643200}};
    // clang-format on
    for (auto& c : cases) {
        g->BeginRender(), g->Cls(0, 0, 0);
        g->SetColor(255, 255, 255), g->SetAlpha(1), g->DrawRect(32, 0, 32, 64);   // white on the right half
        g->SetColor(c.r, c.gr, c.b), g->SetAlpha(c.alpha), g->SetBlend(c.blend), g->DrawRect(0, 0, 64, 64);
        g->EndRender();
        ExpectPixels({{10, 10, c.over_black}, {40, 10, c.over_white}}, 1);   // blending rounds either way
    }
}

TEST_F(Renderer, EveryKindIsDrawnWhereTheMatrixPutsIt) {
    const float triangle[] = {40, 2, 60, 2, 60, 22}, pentagon[] = {4, 20, 16, 20, 18, 30, 10, 36, 2, 30};
    g->SetColor(255, 0, 0), g->DrawPoint(3.5f, 3.5f);
    g->DrawLine(0, 10.5f, 30, 10.5f);   // along row 10
    g->DrawPoly(Array<float>(triangle, 6)), g->DrawPoly(Array<float>(pentagon, 10));
    g->DrawOval(34, 44, 30, 20);
    g->SetMatrix(0, 1, -1, 0, 30, 40), g->DrawRect(0, 0, 20, 8);   // a quarter turn: to (30 - y, 40 + x)
    g->SetMatrix(1, 0, 0, 1, 0, 54), g->DrawRect(2, 0, 8, 8);
    g->SetMatrix(1, 0, 0, 1, 24, 0), g->DrawRect(0, 24, 6, 6), g->EndRender();
    // clang-format off
    ExpectPixels({{3, 3, 0xff0000}, {5, 5, 0}, {20, 10, 0xff0000}, {20, 12, 0}, {57, 5, 0xff0000}, {43, 19, 0},
                  {10, 27, 0xff0000}, {49, 46, 0xff0000}, {62, 54, 0xff0000}, {36, 45, 0}, {26, 50, 0xff0000},
                  {26, 38, 0}, {31, 45, 0}, {6, 58, 0xff0000}, {1, 52, 0}, {27, 27, 0xff0000}});
    // clang-format on
}

// Segments: the radii's whole pixels on screen, at least 12, at most a batch, else a multiple of 4.
TEST_F(Renderer, OvalsHaveSegmentsByTheirSizeOnScreen) {
    // clang-format off
    struct { float w, h, ix, iy, jx, jy; int segs; } ovals[] = {
        {10, 10, 1, 0, 0, 1, 12}, {13, 13, 1, 0, 0, 1, 12}, {17, 17, 1, 0, 0, 1, 16}, {300, 100, 1, 0, 0, 1, 200},
        {3000, 3000, 1, 0, 0, 1, 1024}, {30, 31, 1, 0, 0, 1, 28}, {-30, -31, 1, 0, 0, 1, 28},
        {30, 30, 2, 0, 0, 2, 60}, {300, 100, 0, 1, -1, 0, 200}, {40, 40, 0.6f, 0.8f, 0, 1, 40}, {15, 17, 1, 0, 0, 1, 12}};
    // clang-format on
    for (auto& o : ovals) {
        g->SetMatrix(o.ix, o.iy, o.jx, o.jy, 0, 0);
        g->DrawOval(0, 0, o.w, o.h);
        EXPECT_EQ(g->primType, o.segs) << o.w << " x " << o.h;
    }
}

TEST_F(Renderer, ScissorIsMeasuredFromTheTopAndOnlyTheFullWindowTurnsItOff) {
    // A rectangle, a pixel it keeps and one it clips.
    // clang-format off
    const int rects[][8] = {{10, 5, 20, 10, 15, 7, 15, 20}, {1, 0, kSize, kSize, 5, 5, 0, 5},
                            {0, 1, kSize, kSize, 5, 5, 5, 0}, {0, 0, kSize - 1, kSize, 5, 5, 63, 5},
                            {0, 0, kSize, kSize - 1, 5, 5, 5, 63}};
    // clang-format on
    for (auto& r : rects) {
        g->BeginRender(), g->Cls(0, 0, 0);
        g->SetScissor(r[0], r[1], r[2], r[3]), g->SetColor(255, 0, 0), g->DrawRect(0, 0, kSize, kSize);
        g->EndRender();
        ExpectPixels({{r[4], r[5], 0xff0000}, {r[6], r[7], 0}});
    }
    g->BeginRender(), g->SetScissor(0, 0, kSize, kSize);
    g->SetColor(0, 0, 255), g->DrawRect(0, 0, kSize, kSize), g->EndRender();
    ExpectPixels({{5, 60, 0x0000ff}, {63, 0, 0x0000ff}});
    // A clear throws away what was drawn before it, even where the scissor keeps the clear away.
    g->BeginRender(), g->SetScissor(0, 0, 8, 8);
    g->SetColor(0, 255, 0), g->DrawRect(0, 0, kSize, kSize);
    g->Cls(255, 0, 0), g->EndRender();
    ExpectPixels({{4, 4, 0xff0000}, {30, 30, 0x0000ff}});
}

// Each step, then the draw calls made so far this frame.
TEST_F(Renderer, BatchesBreakOnKindTextureBlendAndPixelAccessOnly) {
    gxtkSurface* a = g->CreateSurface(4, 4);
    gxtkSurface* b = g->CreateSurface(4, 4);
    Array<int> px(1);
    const float pent[] = {10, 10, 30, 10, 40, 30, 20, 40, 5, 30};
    // clang-format off
    struct { const char* what; std::function<void()> step; int calls; } script[] = {
        {"256 rectangles", [&] { for (int i = 0; i < 256; ++i) g->DrawRect(i % 60, 0, 1, 1); }, 0},
        {"the 257th", [&] { g->DrawRect(0, 0, 1, 1); }, 1},
        {"43 more, no polygon", [&] { for (int i = 0; i < 43; ++i) g->DrawRect(0, 0, 1, 1), g->DrawPoly({}); }, 1},
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
        {"a whole batch's", [&] { g->DrawPoly(Array<float>(2 * gxtkGraphics::kBatchVertices)); }, 9},
        {"end", [&] { g->EndRender(); }, 10},   // one fan each
    };
    // clang-format on
    for (auto& s : script) {
        s.step();
        EXPECT_EQ(g->drawCalls, s.calls) << s.what;
    }
}
