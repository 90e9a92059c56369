// tests/media/graphics_test.cpp: the renderer drawing into a real OpenGL context, checked by reading the
// pixels back, and its batching rules counted in draw calls.
#include "media/graphics.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/common/gl_window.h"
#include "tests/common/pixels.h"

namespace {

using namespace zk_test;

const int kSize = 64;   // window width and height

class Renderer : public ::testing::Test {
protected:
    void SetUp() override {
        g = BeginTestFrame();
    }
    TestGLWindow window{kSize, kSize};
    gxtkGraphics* g = nullptr;
};

TEST_F(Renderer, ReadsItsSizeFromTheFramebuffer) {
    EXPECT_EQ(g->Width(), kSize);
    EXPECT_EQ(g->Height(), kSize);
    EXPECT_EQ(g->quadIndices[0], 0);
    EXPECT_EQ(g->quadIndices[5], 3);
    EXPECT_EQ(g->quadIndices[6 * 255 + 4], 4 * 255 + 2);   // the last quad
}

TEST_F(Renderer, ColourIsPremultipliedAndBlendedOverThePicture) {
    g->SetColor(255, 128, 0);
    g->SetAlpha(0.5f);
    g->DrawRect(0, 0, 32, 64);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&g->vertices[0].color);
    EXPECT_EQ(bytes[0], 127);   // R
    EXPECT_EQ(bytes[1], 64);    // G
    EXPECT_EQ(bytes[2], 0);     // B
    EXPECT_EQ(bytes[3], 127);   // A

    // Half-transparent orange over white on the right half: src + dst * (1 - 127/255).
    g->SetColor(255, 255, 255);
    g->SetAlpha(1);
    g->DrawRect(32, 0, 32, 64);
    g->SetColor(255, 128, 0);
    g->SetAlpha(0.5f);
    g->DrawRect(32, 0, 32, 64);
    g->EndRender();
    ExpectPixels({{10, 10, 0x7f4000}, {40, 10, 0xffc080}}, 1);   // blending rounds either way
}

TEST_F(Renderer, AdditiveBlendingAddsAndModeZeroCovers) {
    g->Cls(0, 0, 100);
    g->SetBlend(1);
    g->SetColor(100, 50, 0);
    g->DrawRect(0, 0, 32, 64);
    g->SetBlend(0);
    g->DrawRect(32, 0, 32, 64);
    g->EndRender();
    ExpectPixels({
        {10, 10, 0x643264},   // (100, 50, 0) + (0, 0, 100)
        {40, 10, 0x643200},   // opaque: covers the blue
    });
}

TEST_F(Renderer, EveryBlendOtherThanOneIsAlphaBlending) {
    g->Cls(0, 0, 100);
    g->SetBlend(1);
    g->SetBlend(2);   // not additive: opaque colour covers
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_DST_RGB, &dst);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    g->SetColor(100, 50, 0);
    g->DrawRect(0, 0, kSize, kSize);
    g->SetBlend(-1);
    g->DrawRect(0, 0, 1, 1);
    g->EndRender();
    ExpectPixels({{10, 10, 0x643200}, {0, 0, 0x643200}});
}

TEST_F(Renderer, PointsLinesAndFansReachTheScreen) {
    g->SetColor(255, 0, 0);
    g->DrawPoint(20.5f, 30.5f);
    g->SetColor(0, 255, 0);
    g->DrawLine(0, 10.5f, kSize, 10.5f);   // along row 10
    g->SetColor(0, 0, 255);
    const float pent[] = {40, 40, 60, 40, 62, 50, 50, 60, 38, 50};
    g->DrawPoly(Array<float>(pent, 10));
    g->EndRender();
    ExpectPixels({
        {20, 30, 0xff0000}, {21, 30, 0x000000}, {5, 10, 0x00ff00}, {50, 10, 0x00ff00}, {5, 12, 0x000000},
        {50, 50, 0x0000ff},   // inside the pentagon
        {40, 58, 0x000000},   // beside its lower point
    });
}

TEST_F(Renderer, TexturedPolygonsAddressTexelsFromTheSourceCorner) {
    // A 4 x 4 surface: 2 x 2 blocks of red (top left), green, blue and white (bottom right).
    gxtkSurface* s = g->CreateSurface(4, 4);
    Array<int> px(16);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            px[y * 4 + x] = static_cast<int>(y < 2 ? (x < 2 ? 0xffff0000u : 0xff00ff00u)
                                                   : (x < 2 ? 0xff0000ffu : 0xffffffffu));
    g->WritePixels2(s, px, 0, 0, 4, 4, 0, 4);
    // A 32 x 32 quad showing texels 0..2 of u and v from source corner (2, 2): the white block only.
    const float quad[] = {0, 0, 0, 0, 32, 0, 2, 0, 32, 32, 2, 2, 0, 32, 0, 2};
    g->DrawPoly2(Array<float>(quad, 16), s, 2, 2);
    EXPECT_EQ(g->primType, 4);
    EXPECT_FLOAT_EQ(g->vertices[0].u, 2 * s->uscale);
    EXPECT_FLOAT_EQ(g->vertices[2].v, 4 * s->vscale);
    // The same from source corner (0, 2), shifted right: the blue block.
    const float right[] = {32, 0, 0, 0, 64, 0, 2, 0, 64, 32, 2, 2, 32, 32, 0, 2};
    g->DrawPoly2(Array<float>(right, 16), s, 0, 2);
    g->DrawPoly2(Array<float>(right, 16), nullptr, 0, 0);   // no surface: nothing
    EXPECT_EQ(g->primCount, 8);
    g->EndRender();
    ExpectPixels({{2, 2, 0xffffff}, {29, 29, 0xffffff}, {34, 2, 0x0000ff}, {61, 29, 0x0000ff}});
}

TEST_F(Renderer, TexturesAreNotSmoothed) {
    gxtkSurface* s = g->CreateSurface(2, 1);
    Array<int> px(2);
    px[0] = static_cast<int>(0xffff0000u);
    px[1] = static_cast<int>(0xff00ff00u);
    g->WritePixels2(s, px, 0, 0, 2, 1, 0, 2);
    g->SetMatrix(16, 0, 0, 16, 0, 0);   // each texel 16 pixels wide
    g->DrawSurface(s, 0, 0);
    g->EndRender();
    // Smoothing would mix the two texels near their border at x = 16.
    ExpectPixels({{1, 8, 0xff0000}, {14, 8, 0xff0000}, {17, 8, 0x00ff00}, {30, 8, 0x00ff00}});
}

TEST_F(Renderer, WritePixelsTakesRowsAtOffsetAndPitch) {
    gxtkSurface* s = g->CreateSurface(2, 2);
    Array<int> px(8);
    for (int i = 0; i < 8; ++i) px[i] = static_cast<int>(0xff000000u | static_cast<unsigned int>(i));
    g->WritePixels2(s, px, 0, 0, 2, 2, 1, 3);   // rows from elements 1..2 and 4..5
    ASSERT_NE(s->data, nullptr);
    EXPECT_EQ(s->data[2], 1);         // blue byte of (0, 0)
    EXPECT_EQ(s->data[4 + 2], 2);     // (1, 0)
    EXPECT_EQ(s->data[8 + 2], 4);     // (0, 1)
    EXPECT_EQ(s->data[12 + 2], 5);    // (1, 1)

    g->WritePixels2(s, px, 0, 0, 2, 2, 4, 3);   // would need element 8: writes nothing
    EXPECT_EQ(s->data[12 + 2], 5);
}

TEST_F(Renderer, MatrixMovesEveryCornerOnItsOwn) {
    // A quarter turn counter-clockwise on screen (y down): (x, y) -> (y + 30, 40 - x).
    g->SetMatrix(0, -1, 1, 0, 30, 40);
    EXPECT_TRUE(g->tformed);
    g->SetColor(255, 0, 0);
    g->DrawRect(0, 0, 20, 10);
    EXPECT_FLOAT_EQ(g->vertices[1].x, 30);   // top-right corner (20, 0)
    EXPECT_FLOAT_EQ(g->vertices[1].y, 20);
    EXPECT_FLOAT_EQ(g->vertices[3].x, 40);   // bottom-left corner (0, 10)
    EXPECT_FLOAT_EQ(g->vertices[3].y, 40);
    g->SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_FALSE(g->tformed);
    g->EndRender();
    ExpectPixels({
        {35, 30, 0xff0000},   // inside the turned rectangle, 10 wide and 20 high
        {45, 30, 0x000000}, {35, 15, 0x000000},
    });
}

TEST_F(Renderer, RotatedImageKeepsItsCornersInPlace) {
    // A 20 x 10 image: top-left quarter red, top-right green, bottom-left blue, bottom-right white.
    gxtkSurface* s = g->CreateSurface(20, 10);
    Array<int> px(200);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            px[y * 20 + x] = static_cast<int>(y < 5 ? (x < 10 ? 0xffff0000u : 0xff00ff00u)
                                                    : (x < 10 ? 0xff0000ffu : 0xffffffffu));
    g->WritePixels2(s, px, 0, 0, 20, 10, 0, 20);
    g->SetMatrix(0, -1, 1, 0, 30, 40);   // turned a quarter counter-clockwise, top-left corner at (30, 40)
    g->DrawSurface(s, 0, 0);
    g->EndRender();
    // On screen the image covers x 30..40, y 20..40; its top edge now runs up the left side.
    ExpectPixels({
        {32, 22, 0x00ff00},   // image top-right: screen top-left
        {37, 22, 0xffffff},   // image bottom-right: screen top-right
        {32, 37, 0xff0000},   // image top-left: screen bottom-left
        {37, 37, 0x0000ff},   // image bottom-left: screen bottom-right
        {42, 30, 0x000000}, {35, 17, 0x000000},
    });
}

TEST_F(Renderer, ScissorIsMeasuredFromTheTopAndFullWindowTurnsItOff) {
    g->SetScissor(10, 5, 20, 10);   // rows 5..14 from the top
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    g->SetColor(255, 0, 0);
    g->DrawRect(0, 0, kSize, kSize);
    g->EndRender();
    ExpectPixels({
        {15, 7, 0xff0000}, {15, 20, 0x000000}, {5, 7, 0x000000},
        {15, 55, 0x000000},   // the mirrored rows stay untouched
    });

    g->BeginRender();
    g->SetScissor(0, 0, kSize, kSize);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
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
    EXPECT_EQ(g->primCount, 0);
    g->EndRender();
    EXPECT_EQ(g->drawCalls, 0);
    ExpectPixels({
        {15, 15, 0x0000ff},   // cleared inside the scissor
        {5, 5, 0x000000},   // outside: neither clear nor rectangle
    });
}

TEST_F(Renderer, OvalSegmentsFollowTheRadii) {
    struct Case { float w, h; int segs; };
    const Case cases[] = {{10, 10, 12}, {300, 100, 200}, {3000, 3000, 1024}, {30, 31, 28}, {0, 0, 12}};
    for (const Case& c : cases) {
        g->DrawOval(0, 0, c.w, c.h);
        EXPECT_EQ(g->primType, c.segs) << c.w << " x " << c.h;
    }
    g->SetMatrix(2, 0, 0, 2, 0, 0);   // on screen 20 x 20: radius vectors 10 + 10
    g->DrawOval(0, 0, 10, 10);
    EXPECT_EQ(g->primType, 20);
    g->SetMatrix(1, 0, 0, 1, 0, 0);

    g->Cls(0, 0, 0);
    g->SetColor(0, 255, 0);
    g->DrawOval(10, 10, 40, 40);
    g->EndRender();
    ExpectPixels({
        {30, 30, 0x00ff00},   // centre
        {48, 30, 0x00ff00},   // near the right edge
        {12, 12, 0x000000},   // corner of the box, outside the oval
    });
}

TEST_F(Renderer, ThreeHundredRectanglesTakeTwoDrawCalls) {
    for (int i = 0; i < 300; ++i) g->DrawRect(static_cast<float>(i % 60), 0, 1, 1);
    EXPECT_EQ(g->drawCalls, 1);   // 256 quads, drawn when the 257th arrived
    EXPECT_EQ(g->primCount, 44 * 4);
    g->EndRender();
    EXPECT_EQ(g->drawCalls, 2);
    EXPECT_EQ(g->primCount, 0);
}

TEST_F(Renderer, ChangeOfKindBreaksTheBatch) {
    g->DrawRect(0, 0, 4, 4);
    g->DrawPoint(10, 10);
    g->DrawRect(20, 0, 4, 4);
    g->EndRender();
    EXPECT_EQ(g->drawCalls, 3);
}

TEST_F(Renderer, ColourAndMatrixChangesKeepTheBatch) {
    g->SetColor(255, 0, 0);
    g->DrawRect(0, 0, 10, 10);
    g->SetColor(0, 255, 0);
    g->SetAlpha(1);
    g->SetMatrix(1, 0, 0, 1, 20, 0);
    g->DrawRect(0, 0, 10, 10);
    g->EndRender();
    EXPECT_EQ(g->drawCalls, 1);
    ExpectPixels({
        {5, 5, 0xff0000},   // the first keeps its colour
        {25, 5, 0x00ff00},
    });
}

TEST_F(Renderer, BlendChangeTextureAndPixelAccessBreakTheBatch) {
    gxtkSurface* a = g->CreateSurface(4, 4);
    gxtkSurface* b = g->CreateSurface(4, 4);
    g->DrawSurface(a, 0, 0);
    g->DrawSurface(a, 8, 0);   // same texture: joins
    g->DrawSurface(b, 16, 0);  // other texture: draws the first two
    EXPECT_EQ(g->drawCalls, 1);
    g->SetBlend(1);            // draws b
    EXPECT_EQ(g->drawCalls, 2);
    g->SetBlend(0);            // empty batch: nothing to draw
    EXPECT_EQ(g->drawCalls, 2);
    g->DrawRect(0, 0, 1, 1);
    g->SetBlend(0);            // the mode in force: the batch stays
    g->DrawRect(2, 0, 1, 1);
    EXPECT_EQ(g->primCount, 8);
    g->SetBlend(1);
    EXPECT_EQ(g->drawCalls, 3);
    g->SetBlend(0);
    g->DrawRect(0, 0, 1, 1);
    Array<int> px(1);
    g->ReadPixels(px, 0, 0, 1, 1, 0, 1);
    EXPECT_EQ(g->drawCalls, 4);
    g->DrawRect(0, 0, 1, 1);
    g->SetScissor(1, 1, 2, 2);
    EXPECT_EQ(g->drawCalls, 5);
}

TEST_F(Renderer, PolygonKindIsItsVertexCount) {
    const float tri[] = {0, 0, 10, 0, 0, 10};
    g->DrawPoly(Array<float>(tri, 6));
    EXPECT_EQ(g->primType, 3);
    g->DrawPoly(Array<float>(tri, 4));
    EXPECT_EQ(g->primType, 2);
    g->DrawPoly(Array<float>(tri, 2));
    EXPECT_EQ(g->primType, 1);

    const float pent[] = {10, 10, 30, 10, 40, 30, 20, 40, 5, 30};
    g->DrawPoly(Array<float>(pent, 10));
    g->DrawPoly(Array<float>(pent, 10));
    EXPECT_EQ(g->primType, 5);
    EXPECT_EQ(g->primCount, 10);   // two pentagons in one batch ...
    int before = g->drawCalls;
    g->EndRender();
    EXPECT_EQ(g->drawCalls - before, 2);   // ... drawn as one fan each

    int count = g->primCount;
    g->DrawPoly(Array<float>());                              // no vertex
    g->DrawPoly(Array<float>(2 * (gxtkGraphics::kBatchVertices + 1)));   // too many
    EXPECT_EQ(g->primCount, count);
}

TEST_F(Renderer, ReadPixelsPutsRowsTopDownAtOffsetAndPitch) {
    g->SetColor(255, 0, 0);
    g->DrawRect(0, 0, kSize, 1);   // only the top row is red
    g->EndRender();
    Array<int> px(10);
    g->ReadPixels(px, 0, 0, 2, 2, 3, 4);
    EXPECT_EQ(static_cast<unsigned int>(px[3]) & 0xffffff, 0xff0000u);   // row 0
    EXPECT_EQ(static_cast<unsigned int>(px[4]) & 0xffffff, 0xff0000u);
    EXPECT_EQ(px[7] & 0xffffff, 0);                                      // row 1
    EXPECT_EQ(px[0], 0);                                                  // before the offset: untouched

    Array<int> small(3);
    g->ReadPixels(small, 0, 0, 2, 2, 0, 2);   // needs 4 ints: reads nothing
    EXPECT_EQ(small[0], 0);
}

}  // namespace
