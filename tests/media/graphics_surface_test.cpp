// tests/media/graphics_surface_test.cpp: surfaces loaded from real PNG files through the host's decoder:
// premultiplication, pixel writes, and textures across a change of OpenGL context.
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

namespace {

using namespace zk_test;
using Bytes = std::vector<unsigned char>;

// Writes a PNG of `comp` channels in a scratch folder; returns its path.
std::string write_png(const std::string& name, int w, int h, int comp, const Bytes& px) {
    static ScratchDir dir("zk_surface");
    EXPECT_NE(stbi_write_png((dir / name).c_str(), w, h, comp, px.data(), w * comp), 0);
    return dir / name;
}

Bytes bytes_of(gxtkSurface* s) { return Bytes(s->data, s->data + s->width * s->height * s->depth); }

class Surface : public ::testing::Test {
protected:
    void SetUp() override {
        static ZKGlfwGame* host = new ZKGlfwGame();   // its LoadImageData decodes with stb_image
        (void)host;
        g = BeginTestFrame();
    }
    gxtkSurface* load(const std::string& path) { return g->LoadSurface(String(path.c_str())); }
    gxtkSurface* solid(const char* name, unsigned char r, unsigned char gr, unsigned char b) {
        return load(write_png(name, 1, 1, 4, {r, gr, b, 255}));
    }
    void new_context() {   // the old window and its context go first, as when the host replaces it
        window.reset();
        window = std::make_unique<TestGLWindow>(32, 32);
    }
    // Draws `s` scaled 8 times at the top left of a cleared frame.
    void draw(gxtkSurface* s) {
        g->BeginRender();
        g->Cls(0, 0, 0);
        g->SetMatrix(8, 0, 0, 8, 0, 0);
        g->DrawSurface(s, 0, 0);
        g->EndRender();
    }

    std::unique_ptr<TestGLWindow> window = std::make_unique<TestGLWindow>(32, 32);
    gxtkGraphics* g = nullptr;
};

TEST_F(Surface, AlphaChannelsArePremultipliedAtLoad) {
    struct { int comp; Bytes in, out; } cases[] = {
        {4, {200, 100, 50, 128, 255, 255, 255, 0}, {100, 50, 25, 128, 0, 0, 0, 0}},
        {2, {100, 128, 255, 255}, {50, 128, 255, 255}},
        {3, {10, 20, 30, 40, 50, 60}, {10, 20, 30, 40, 50, 60}},
        {1, {77, 255}, {77, 255}},
    };
    for (auto& c : cases) {
        gxtkSurface* s = load(write_png("p" + std::to_string(c.comp) + ".png", 2, 1, c.comp, c.in));
        ASSERT_NE(s, nullptr) << c.comp;
        EXPECT_EQ(bytes_of(s), c.out) << c.comp << " channels";
    }
    EXPECT_EQ(load("/nonexistent/missing.png"), nullptr);
}

// Rectangles running off the surface are clipped, also where x + w or y + h would pass INT_MAX.
TEST_F(Surface, SetSubDataClipsWhereTheSumsWouldOverflow) {
    gxtkSurface* s = g->CreateSurface(4, 2);
    const int src[] = {-1, -1, -1, -1};
    const int corners[][2] = {{INT_MAX, 0}, {0, INT_MAX - 1}, {INT_MIN, INT_MIN}};
    for (auto& c : corners) s->SetSubData(c[0], c[1], 2, 2, src, 2);
    EXPECT_TRUE(s->data == nullptr || bytes_of(s) == Bytes(32, 0));
}

// Texture names are per context: after a window replacement the new context hands out the name an old
// surface still remembers. Discarding the old surface must not delete the new owner's texture, and a
// surface from before is made again, once, from the pixels it kept.
TEST_F(Surface, ANewContextRecreatesTexturesOnceAndDiscardLeavesANameItGaveToAnotherSurface) {
    int current = glfwGraphicsSeq;
    glfwGraphicsSeq = 0;   // as before the host opened its first window: nothing is made
    EXPECT_EQ(g->CreateSurface(2, 2)->seq, -1);
    glfwGraphicsSeq = current;
    gxtkSurface* old = solid("old.png", 255, 0, 0);
    gxtkSurface* kept = solid("kept.png", 0, 0, 255);
    new_context();
    gxtkSurface* green = solid("green.png", 0, 255, 0);
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
    green->Discard();
    green->Discard();
    EXPECT_FALSE(glIsTexture(texture));
}

}  // namespace
