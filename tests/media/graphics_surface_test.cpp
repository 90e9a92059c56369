// Surfaces loaded from real PNG files through the host's decoder, drawn and read back.
#include "media/surface.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "harness/gl_window.h"
#include "harness/scratch.h"
#include "host/game.h"
#include "tests/common/pixels.h"

using namespace zk_test;
using Bytes = std::vector<unsigned char>;

std::string write_png(const std::string& name, int w, int h, int comp, const Bytes& px) {
    static ScratchDir dir("zk_surface");
    EXPECT_NE(stbi_write_png((dir / name).c_str(), w, h, comp, px.data(), w * comp), 0);
    return dir / name;
}

Bytes bytes_of(gxtkSurface* s) { return Bytes(s->data, s->data + s->width * s->height * s->depth); }

class Surface : public ::testing::Test {
protected:
    void SetUp() override {
        [[maybe_unused]] static ZKGlfwGame* host = new ZKGlfwGame();   // its LoadImageData decodes PNGs
        g = BeginTestFrame();
    }
    gxtkSurface* load(const std::string& path) { return g->LoadSurface(String(path.c_str())); }
    gxtkSurface* solid(const char* name, const Bytes& rgba) { return load(write_png(name, 1, 1, 4, rgba)); }
    void draw(gxtkSurface* s) {
        g->BeginRender(), g->Cls(0, 0, 0);
        g->SetMatrix(8, 0, 0, 8, 0, 0), g->DrawSurface(s, 0, 0), g->EndRender();
    }

    std::unique_ptr<TestGLWindow> window = std::make_unique<TestGLWindow>(32, 32);
    gxtkGraphics* g = nullptr;
};

TEST_F(Surface, AlphaChannelsArePremultipliedAtLoadAndEachFormatDraws) {
    // clang-format off
    struct { int comp; Bytes in, out; unsigned int drawn; } cases[] = {
        {4, {200, 100, 50, 128, 255, 255, 255, 0}, {100, 50, 25, 128, 0, 0, 0, 0}, 0x643219},
        {2, {100, 128, 255, 255}, {50, 128, 255, 255}, 0x323232},
        {3, {10, 20, 30, 40, 50, 60}, {10, 20, 30, 40, 50, 60}, 0x0a141e},
        {1, {77, 255}, {77, 255}, 0x4d4d4d}};
    // clang-format on
    for (auto& c : cases) {
        const int before = gc_ext_new_bytes;
        gxtkSurface* s = load(write_png("p" + std::to_string(c.comp) + ".png", 2, 1, c.comp, c.in));
        ASSERT_NE(s, nullptr) << c.comp;
        EXPECT_EQ(gc_ext_new_bytes - before, 2 * c.comp);
        EXPECT_EQ(bytes_of(s), c.out) << c.comp << " channels";
        draw(s);
        ExpectPixels({{4, 4, c.drawn}});
    }
    EXPECT_EQ(load("/nonexistent/missing.png"), nullptr);
}

TEST_F(Surface, ATexturedPolygonTakesItsTexelsFromTheSourceOffset) {
    gxtkSurface* s = load(write_png("rg.png", 2, 1, 3, {255, 0, 0, 0, 255, 0}));   // red, green
    const float quad[] = {0, 0, 0, 0, 1, 0, 1, 0, 1, 1, 1, 1, 0, 1, 0, 1};         // x, y, u, v
    g->SetMatrix(8, 0, 0, 8, 0, 0), g->DrawPoly2(Array<float>(quad, 16), s, 1, 0), g->EndRender();
    ExpectPixels({{4, 4, 0x00ff00}});
}

// Rectangles running off a surface are clipped, also where x + w or y + h would pass INT_MAX.
TEST_F(Surface, WrittenPixelsShowReadBackTopRowFirstAndAreClippedWhereTheSumsWouldOverflow) {
    gxtkSurface* s = g->CreateSurface(2, 2);
    const int rows[] = {int(0xffff0000), int(0xffff0000), int(0x800000ff), int(0x800000ff)},
              green = int(0xff00ff00);
    g->WritePixels2(s, Array<int>(rows, 4), 0, 0, 2, 2, 0, 2);
    g->WritePixels2(s, Array<int>(&green, 1), 1, 1, 1, 1, 0, 1);
    draw(s);
    Array<int> out(1 + 8 * 10 + 9);   // exactly the rows asked for
    out[0] = 7;
    g->ReadPixels(out, 4, 4, 9, 9, 1, 10);
    EXPECT_EQ(std::vector<int>({out[0], out[1], out[1 + 80], out[1 + 88]}),
              std::vector<int>({7, int(0xffff0000), int(0xff000080), int(0xff00ff00)}));
    gxtkSurface* wide = g->CreateSurface(4, 2);
    const int src[] = {-1, -1, -1, -1};
    const int corners[][2] = {{INT_MAX, 0}, {0, INT_MAX - 1}, {INT_MIN, INT_MIN}};
    for (auto& c : corners) wide->SetSubData(c[0], c[1], 2, 2, src, 2);
    EXPECT_TRUE(wide->data == nullptr || bytes_of(wide) == Bytes(32, 0));
}

// Texture names are per context: the new context hands out the name an old surface still remembers.
TEST_F(Surface, ANewContextRecreatesTexturesOnceAndDiscardLeavesANameItGaveToAnotherSurface) {
    int current = glfwGraphicsSeq;
    glfwGraphicsSeq = 0;   // as before the host opened its first window: nothing is made
    EXPECT_EQ(g->CreateSurface(2, 2)->seq, -1);
    glfwGraphicsSeq = current;
    gxtkSurface* old = solid("old.png", {255, 0, 0, 255});
    gxtkSurface* kept = solid("kept.png", {0, 0, 255, 255});
    window.reset();   // as the host replaces a window: the old one and its context go first
    window = std::make_unique<TestGLWindow>(32, 32);
    gxtkSurface* green = solid("green.png", {0, 255, 0, 255});
    ASSERT_EQ(green->texture, old->texture) << "the new context reuses the name";
    old->Discard();
    EXPECT_EQ(old->data, nullptr);
    int made = gxtkSurface::texturesCreated;
    for (gxtkSurface* s : {green, kept, kept}) draw(s);
    ExpectPixels({{4, 4, 0x0000ff}});
    EXPECT_EQ(gxtkSurface::texturesCreated - made, 1);
    draw(green);
    ExpectPixels({{4, 4, 0x00ff00}});

    GLuint texture = green->texture;   // a texture of the current context goes with its surface
    green->Discard(), green->Discard();   // the second does nothing
    EXPECT_FALSE(glIsTexture(texture));
}
