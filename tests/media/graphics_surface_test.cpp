// tests/media/graphics_surface_test.cpp: surfaces loaded from real PNG files through the host's decoder:
// premultiplication by format, pixel writes, bad files, and textures re-made for a new context.
#include "media/surface.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/game.h"
#include "media/graphics.h"
#include "tests/common/gl_window.h"
#include "tests/common/pixels.h"
#include "tests/common/scratch.h"

namespace {

using namespace zk_test;

// A temporary folder for the test's PNG files.
std::string temp_dir() {
    static ScratchDir dir("zk_surface");
    return dir.path();
}

// Writes a PNG of `comp` channels and returns its path.
std::string write_png(const char* name, int w, int h, int comp, const std::vector<unsigned char>& px) {
    std::string path = temp_dir() + "/" + name;
    EXPECT_NE(stbi_write_png(path.c_str(), w, h, comp, px.data(), w * comp), 0);
    return path;
}

std::string write_bytes(const char* name, const std::vector<unsigned char>& bytes) {
    std::string path = temp_dir() + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

std::vector<unsigned char> read_bytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(f);
    return bytes;
}

std::vector<unsigned char> bytes_of(gxtkSurface* s) {
    return std::vector<unsigned char>(s->data, s->data + s->width * s->height * s->depth);
}

// The real GLFW host: its LoadImageData opens the file and decodes it with stb_image.
ZKGlfwGame* host() {
    static ZKGlfwGame* game = new ZKGlfwGame();
    return game;
}

class Surface : public ::testing::Test {
protected:
    void SetUp() override {
        host();
        window = std::make_unique<TestGLWindow>(32, 32);
        g = BeginTestFrame();
    }
    gxtkSurface* load(const std::string& path) { return g->LoadSurface(String(path.c_str())); }

    std::unique_ptr<TestGLWindow> window;
    gxtkGraphics* g = nullptr;
};

TEST_F(Surface, AlphaChannelsArePremultipliedAtLoad) {
    gxtkSurface* rgba = load(write_png("rgba.png", 2, 1, 4, {200, 100, 50, 128, 255, 255, 255, 0}));
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(rgba->format, GL_RGBA);
    EXPECT_EQ(bytes_of(rgba), (std::vector<unsigned char>{100, 50, 25, 128, 0, 0, 0, 0}));

    gxtkSurface* ga = load(write_png("ga.png", 2, 1, 2, {100, 128, 255, 255}));
    ASSERT_NE(ga, nullptr);
    EXPECT_EQ(ga->format, GL_LUMINANCE_ALPHA);
    EXPECT_EQ(bytes_of(ga), (std::vector<unsigned char>{50, 128, 255, 255}));

    gxtkSurface* rgb = load(write_png("rgb.png", 1, 1, 3, {10, 20, 30}));
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(rgb->format, GL_RGB);
    EXPECT_EQ(bytes_of(rgb), (std::vector<unsigned char>{10, 20, 30}));

    gxtkSurface* grey = load(write_png("grey.png", 1, 1, 1, {77}));
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(grey->format, GL_LUMINANCE);
    EXPECT_EQ(bytes_of(grey), (std::vector<unsigned char>{77}));

    // Drawn over black, the premultiplied pixel shows as its stored colour.
    g->DrawSurface2(rgba, 0, 0, 0, 0, 1, 1);
    g->SetMatrix(16, 0, 0, 16, 0, 0);   // one texel over 16 x 16 pixels
    g->DrawSurface2(rgba, 0, 0, 0, 0, 1, 1);
    g->EndRender();
    ExpectPixels({{8, 8, 0x643219}});   // (100, 50, 25)
}

TEST_F(Surface, DecodedSizeIsReportedAsOutsideMemory) {
    std::string path = write_png("size.png", 5, 3, 4, std::vector<unsigned char>(60, 9));
    int before = gc_ext_new_bytes.load();
    int w = 0, h = 0, d = 0;
    unsigned char* px = host()->LoadImageData(String(path.c_str()), &w, &h, &d);
    ASSERT_NE(px, nullptr);
    EXPECT_EQ(w * 100 + h * 10 + d, 534);
    EXPECT_EQ(gc_ext_new_bytes.load() - before, 60);
    std::free(px);
}

TEST_F(Surface, BadFilesGiveNoSurface) {
    std::string good = write_png("good.png", 4, 4, 4, std::vector<unsigned char>(64, 200));
    std::vector<unsigned char> bytes = read_bytes(good);
    std::vector<unsigned char> corrupt = bytes;
    for (size_t i = 16; i < corrupt.size(); ++i) corrupt[i] = static_cast<unsigned char>(i * 37);

    EXPECT_EQ(load(temp_dir() + "/missing.png"), nullptr);
    EXPECT_EQ(load(write_bytes("empty.png", {})), nullptr);
    std::vector<unsigned char> truncated(bytes.begin(), bytes.begin() + 30);
    EXPECT_EQ(load(write_bytes("truncated.png", truncated)), nullptr);
    EXPECT_EQ(load(write_bytes("corrupt.png", corrupt)), nullptr);
    EXPECT_EQ(load(write_bytes("text.png", {'h', 'e', 'l', 'l', 'o'})), nullptr);
    EXPECT_NE(load(good), nullptr);
}

TEST_F(Surface, SetSubDataPremultipliesRgbaAndIgnoresOtherFormats) {
    gxtkSurface* created = g->CreateSurface(4, 2);
    EXPECT_EQ(created->data, nullptr);
    EXPECT_EQ(created->seq, glfwGraphicsSeq);   // bound once at creation
    const int src[] = {static_cast<int>(0x80c86432u), static_cast<int>(0xff0000ffu)};
    created->SetSubData(1, 1, 2, 1, src, 2);
    ASSERT_NE(created->data, nullptr);
    const unsigned char* p = created->data + (1 * 4 + 1) * 4;
    EXPECT_EQ(std::vector<unsigned char>(p, p + 8),
              (std::vector<unsigned char>{100, 50, 25, 128, 0, 0, 255, 255}));
    EXPECT_EQ(created->data[0], 0);   // the rest stays empty

    // The upload reached the texture: draw the opaque blue texel large.
    g->SetMatrix(16, 0, 0, 16, 0, 0);
    g->DrawSurface2(created, 0, 0, 2, 1, 1, 1);
    g->EndRender();
    ExpectPixels({{8, 8, 0x0000ff}});

    gxtkSurface* rgb = load(write_png("rgb2.png", 2, 2, 3, std::vector<unsigned char>(12, 7)));
    ASSERT_NE(rgb, nullptr);
    rgb->SetSubData(0, 0, 2, 1, src, 2);
    EXPECT_EQ(bytes_of(rgb), std::vector<unsigned char>(12, 7));

    created->SetSubData(3, 1, 5, 5, src, 2);   // runs off the surface: clipped, no stray writes
    EXPECT_EQ(created->data[(1 * 4 + 3) * 4 + 3], 128);
    created->SetSubData(-1, 0, 2, 1, src, 2);   // off the left edge: the second source pixel lands at x 0
    EXPECT_EQ(created->data[2], 255);

    // Corners so far out that x + w and y + h pass INT_MAX: still off the surface, nothing written.
    std::vector<unsigned char> before = bytes_of(created);
    created->SetSubData(INT_MAX, 0, 2, 1, src, 2);
    created->SetSubData(0, INT_MAX - 1, 2, 2, src, 2);
    created->SetSubData(INT_MIN, INT_MIN, 2, 1, src, 2);
    EXPECT_EQ(bytes_of(created), before);
}

TEST_F(Surface, NewContextRecreatesTheTextureOnceFromKeptPixels) {
    gxtkSurface* s = load(write_png("red.png", 2, 2, 4,
                                    {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255}));
    ASSERT_NE(s, nullptr);
    int oldSeq = s->seq;
    EXPECT_EQ(oldSeq, glfwGraphicsSeq);

    window.reset();   // the old context goes, a new one comes
    window = std::make_unique<TestGLWindow>(32, 32);
    EXPECT_NE(glfwGraphicsSeq, oldSeq);

    int made = gxtkSurface::texturesCreated;
    for (int frame = 0; frame < 2; ++frame) {
        g->BeginRender();
        g->Cls(0, 0, 0);
        g->SetMatrix(8, 0, 0, 8, 0, 0);
        g->DrawSurface(s, 0, 0);
        g->EndRender();
        SCOPED_TRACE("frame " + std::to_string(frame));
        ExpectPixels({{8, 8, 0xff0000}});
    }
    EXPECT_EQ(gxtkSurface::texturesCreated - made, 1);
    EXPECT_EQ(s->seq, glfwGraphicsSeq);
}

TEST_F(Surface, WithoutAContextNothingIsMadeUntilTheFirstDrawAfterOne) {
    std::vector<unsigned char> px;
    for (int i = 0; i < 32 * 32; ++i) px.insert(px.end(), {255, 255, 255, 128});
    std::string path = write_png("half.png", 32, 32, 4, px);

    int made = gxtkSurface::texturesCreated;
    int current = glfwGraphicsSeq;
    glfwGraphicsSeq = 0;   // as before the host opened its first window
    gxtkSurface* loaded = load(path);
    gxtkSurface* created = g->CreateSurface(8, 8);
    glfwGraphicsSeq = current;
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(bytes_of(loaded), (std::vector<unsigned char>(32 * 32 * 4, 128)));
    for (gxtkSurface* s : {loaded, created}) {
        EXPECT_EQ(s->seq, -1);
        EXPECT_EQ(s->uscale, 0);
        EXPECT_EQ(s->vscale, 0);
    }
    EXPECT_EQ(gxtkSurface::texturesCreated, made);

    g->DrawSurface(loaded, 0, 0);
    g->EndRender();
    EXPECT_EQ(gxtkSurface::texturesCreated - made, 1);
    EXPECT_EQ(loaded->seq, glfwGraphicsSeq);
    EXPECT_FLOAT_EQ(loaded->uscale, 1.0f / 32);
    EXPECT_FLOAT_EQ(loaded->vscale, 1.0f / 32);
    EXPECT_EQ(created->seq, -1);   // not drawn: still no texture
}

TEST_F(Surface, DiscardReleasesPixelsAndTexture) {
    gxtkSurface* s = load(write_png("discard.png", 3, 3, 4, std::vector<unsigned char>(36, 255)));
    ASSERT_NE(s, nullptr);
    GLuint texture = s->texture;
    EXPECT_TRUE(glIsTexture(texture));
    s->Discard();
    EXPECT_EQ(s->data, nullptr);
    EXPECT_EQ(s->seq, -1);
    EXPECT_FALSE(glIsTexture(texture));
    s->Discard();   // twice is harmless
}

}  // namespace
