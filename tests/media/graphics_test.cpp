// tests/media/graphics_test.cpp: the renderer drawing into a real OpenGL context, checked by reading the
// pixels back, and its batching rules counted in draw calls.
#include "media/graphics.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/common/gl_window.h"
#include "tests/common/pixels.h"

namespace {

using namespace zk_test;

const int kSize = 64;   // window width and height

class Renderer : public ::testing::Test {
protected:
    void SetUp() override { g = BeginTestFrame(); }
    // A w x h RGBA surface from 0xAARRGGBB pixels, row by row.
    gxtkSurface* surface(int w, int h, std::initializer_list<unsigned int> argb) {
        gxtkSurface* s = g->CreateSurface(w, h);
        Array<int> px(w * h);
        int i = 0;
        for (unsigned int c : argb) px[i++] = static_cast<int>(c);
        g->WritePixels2(s, px, 0, 0, w, h, 0, w);
        return s;
    }
    TestGLWindow window{kSize, kSize};
    gxtkGraphics* g = nullptr;
};

// Colour is premultiplied by alpha and blended over the picture; alpha above 1 or a component above 255
// is held at full strength instead of spilling into the neighbouring byte of the packed colour.
TEST_F(Renderer, ColourIsPremultipliedClampedAndBlendedOverThePicture) {
    struct { float r, gr, b, alpha; unsigned int over_black, over_white; } cases[] = {
        {255, 128, 0, 0.5f, 0x7f4000, 0xffc080},
        {255, 128, 0, 2.0f, 0xffff00, 0xffff00},
        {300, 0, 255, 1.0f, 0xff00ff, 0xff00ff},
    };
    for (auto& c : cases) {
        g->BeginRender();
        g->Cls(0, 0, 0);
        g->DrawRect(32, 0, 32, 64);   // white on the right half
        g->SetColor(c.r, c.gr, c.b);
        g->SetAlpha(c.alpha);
        g->DrawRect(0, 0, 64, 64);
        g->EndRender();
        ExpectPixels({{10, 10, c.over_black}, {40, 10, c.over_white}}, 1);   // blending rounds either way
        g->SetColor(255, 255, 255);
        g->SetAlpha(1);
    }
}

TEST_F(Renderer, BlendOneAddsAndEveryOtherModeCovers) {
    g->Cls(0, 0, 100);
    g->SetColor(100, 50, 0);
    g->SetBlend(1);
    g->DrawRect(0, 0, 32, 64);
    g->SetBlend(2);
    g->DrawRect(32, 0, 16, 64);
    g->SetBlend(1);
    g->SetBlend(-1);
    g->DrawRect(48, 0, 16, 64);
    g->EndRender();
    ExpectPixels({{10, 10, 0x643264}, {40, 10, 0x643200}, {50, 10, 0x643200}});
}

TEST_F(Renderer, PointsLinesFansAndOvalsReachTheScreen) {
    g->SetColor(255, 0, 0);
    g->DrawPoint(20.5f, 30.5f);
    g->SetColor(0, 255, 0);
    g->DrawLine(0, 10.5f, kSize, 10.5f);   // along row 10
    g->SetColor(0, 0, 255);
    const float pent[] = {40, 40, 60, 40, 62, 50, 50, 60, 38, 50};
    g->DrawPoly(Array<float>(pent, 10));
    g->DrawOval(0, 34, 30, 30);
    g->EndRender();
    ExpectPixels({{20, 30, 0xff0000}, {21, 30, 0x000000}, {50, 10, 0x00ff00}, {5, 12, 0x000000},
                  {50, 50, 0x0000ff}, {40, 58, 0x000000},    // inside the pentagon, beside its lower point
                  {15, 49, 0x0000ff}, {28, 49, 0x0000ff}, {2, 36, 0x000000}});   // the oval, not its box
}

TEST_F(Renderer, OvalSegmentsFollowTheRadiiOnScreen) {
    struct { float w, h; int segs; } cases[] = {{10, 10, 12}, {300, 100, 200}, {3000, 3000, 1024}, {30, 31, 28}};
    for (auto& c : cases) {
        g->DrawOval(0, 0, c.w, c.h);
        EXPECT_EQ(g->primType, c.segs) << c.w << " x " << c.h;
    }
    g->SetMatrix(2, 0, 0, 2, 0, 0);   // on screen 20 x 20: radius vectors 10 + 10
    g->DrawOval(0, 0, 10, 10);
    EXPECT_EQ(g->primType, 20);
}

// A 2 x 2 surface drawn through a quarter turn and large: texels from the source corner, unsmoothed.
TEST_F(Renderer, TexturesAreAddressedFromTheSourceCornerTurnedAndUnsmoothed) {
    gxtkSurface* s = surface(2, 2, {0xffff0000u, 0xff00ff00u, 0xff0000ffu, 0xffffffffu});
    const float quad[] = {0, 0, 0, 0, 32, 0, 1, 0, 32, 32, 1, 1, 0, 32, 0, 1};
    g->DrawPoly2(Array<float>(quad, 16), s, 1, 1);   // the white texel only
    g->DrawPoly2(Array<float>(quad, 16), nullptr, 0, 0);   // no surface: nothing
    g->SetMatrix(0, -16, 16, 0, 32, 64);   // (x, y) -> (32 + 16 y, 64 - 16 x)
    g->DrawSurface(s, 0, 0);
    g->EndRender();
    ExpectPixels({{2, 2, 0xffffff}, {29, 29, 0xffffff},
                  {34, 62, 0xff0000}, {46, 50, 0xff0000}, {50, 62, 0x0000ff},   // image top-left: bottom-left
                  {34, 46, 0x00ff00}, {62, 34, 0xffffff}});
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

TEST_F(Renderer, ClsThrowsAwayWhatIsBatched) {
    g->SetScissor(10, 10, 20, 20);
    g->SetColor(255, 0, 0);
    g->DrawRect(0, 0, kSize, kSize);
    g->Cls(0, 0, 255);
    g->EndRender();
    EXPECT_EQ(g->drawCalls, 0);
    ExpectPixels({{15, 15, 0x0000ff}, {5, 5, 0x000000}});
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

TEST_F(Renderer, PixelsAreReadAndWrittenAtOffsetAndPitchTopDown) {
    gxtkSurface* s = g->CreateSurface(2, 2);
    Array<int> in(8);
    for (int i = 0; i < 8; ++i) in[i] = static_cast<int>(0xff000000u | static_cast<unsigned int>(i));
    g->WritePixels2(s, in, 0, 0, 2, 2, 1, 3);   // rows from elements 1..2 and 4..5
    ASSERT_NE(s->data, nullptr);
    EXPECT_EQ((std::vector<int>{s->data[2], s->data[6], s->data[10], s->data[14]}), (std::vector<int>{1, 2, 4, 5}));
    g->WritePixels2(s, in, 0, 0, 2, 2, 4, 3);   // would need element 8: writes nothing
    EXPECT_EQ(s->data[14], 5);

    g->SetColor(255, 0, 0);
    g->DrawRect(0, 0, kSize, 1);   // only the top row is red
    Array<int> out(10);
    g->ReadPixels(out, 0, 0, 2, 2, 3, 4);
    EXPECT_EQ((std::vector<int>{out[0], out[3] & 0xffffff, out[4] & 0xffffff, out[7] & 0xffffff}),
              (std::vector<int>{0, 0xff0000, 0xff0000, 0}));
    Array<int> small(3);
    g->ReadPixels(small, 0, 0, 2, 2, 0, 2);   // needs 4 ints: reads nothing
    EXPECT_EQ(small[0], 0);
}

}  // namespace
