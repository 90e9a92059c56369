// tests/framework/graphics_test.cpp: the graphics module over a real renderer and real PNG files: frame
// layouts and their runtime error, image flags, the matrix and when it reaches the device, images and
// colours on screen, what a collection keeps, drawing without allocating, and the default font.
#include "framework/graphics.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <unistd.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "host/game.h"
#include "tests/common/collector.h"
#include "tests/common/gl_window.h"
#include "tests/common/pixels.h"
#include "tests/common/scratch.h"

// Every C++ heap allocation of this test program is counted, to show that drawing makes none. The
// replacement pair is malloc/free underneath, which g++ cannot see when it inlines a delete.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
long g_heapAllocations = 0;

void* operator new(std::size_t size) {
    ++g_heapAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace zk_test;

ScratchDir& scratch() {
    static ScratchDir dir("zk_graphics");
    return dir;
}

// An opaque PNG of one colour, two halves (left, right) or four quarters (top-left, top-right,
// bottom-left, bottom-right), 0xRRGGBB each, as a String path for the loaders.
String png(const std::string& name, int w, int h, std::vector<unsigned int> q) {
    if (q.size() < 4) q = q.size() == 1 ? std::vector<unsigned int>(4, q[0]) : std::vector<unsigned int>{q[0], q[1], q[0], q[1]};
    std::vector<unsigned char> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned int c = q[(y < h / 2 ? 0 : 2) + (x < w / 2 ? 0 : 1)];
            px.insert(px.end(), {(unsigned char)(c >> 16), (unsigned char)(c >> 8), (unsigned char)c, 255});
        }
    EXPECT_NE(stbi_write_png((scratch() / name).c_str(), w, h, 4, px.data(), w * 4), 0);
    return String((scratch() / name).c_str());
}

// The renderer with a tap on the matrix: every SetMatrix that reaches it is counted.
struct CountingDevice : gxtkGraphics {
    int matrices = 0;
    int SetMatrix(float a, float b, float c, float d, float e, float f) override {
        ++matrices;
        return gxtkGraphics::SetMatrix(a, b, c, d, e, f);
    }
};

// A window, the module started afresh, a device and an open frame, as the game delegate leaves them.
class Graphics : public ::testing::Test {
protected:
    void SetUp() override {
        static ZKGlfwGame* host = new ZKGlfwGame();
        (void)host;
        zk_graphics_init();
        device = new CountingDevice();
        zk_graphics_SetGraphicsDevice(device);
        BeginFrame();
    }
    void BeginFrame() {
        device->BeginRender();
        zk_graphics_BeginRender();
        device->Cls(0, 0, 0);
    }
    void EndFrame() {
        zk_graphics_EndRender();
        device->EndRender();
    }

    TestGLWindow window{64, 64};
    CountingDevice* device = nullptr;
};

std::vector<int> frame_xy(c_Image* image) {
    std::vector<int> xy;
    for (int i = 0; i < image->m_frames.Length(); ++i)
        xy.insert(xy.end(), {image->m_frames[i]->m_x, image->m_frames[i]->m_y});
    return xy;
}

TEST_F(Graphics, FramesAreCutRowByRowAndFlagsPadAndCentre) {
    EXPECT_EQ(frame_xy(zk_graphics_LoadImage2(png("strip.png", 100, 20, {0xff0000}), 20, 20, 5, 0)),
              (std::vector<int>{0, 0, 20, 0, 40, 0, 60, 0, 80, 0}));
    c_Image* sheet = zk_graphics_LoadImage2(png("sheet.png", 40, 40, {0xff0000}), 20, 20, 4, 0);
    EXPECT_EQ(frame_xy(sheet), (std::vector<int>{0, 0, 20, 0, 0, 20, 20, 20}));
    c_Image* part = (new c_Image())->m_new()->p_Init2(sheet->m_surface, 0, 0, 10, 10, 2, 0, sheet, 20, 5, 20, 10);
    EXPECT_EQ(frame_xy(part), (std::vector<int>{20, 5, 30, 5}));   // offset by the source rectangle

    c_Image* padded = zk_graphics_LoadImage(png("square.png", 64, 64, {0xff0000}), 1,
                                            c_Image::PadX | c_Image::PadY | c_Image::CentreHandle);
    EXPECT_EQ(frame_xy(padded), (std::vector<int>{1, 1}));
    EXPECT_EQ(padded->m_width * 100 + padded->m_height, 6262);
    EXPECT_FLOAT_EQ(padded->m_handleX, 31);
    EXPECT_EQ(padded->m_flags, c_Image::PadX | c_Image::PadY);
}

// zkError reports on standard output and then waits for a debugger on standard input; the child gets an
// empty input (no debugger: exit -1) and its output on standard error, where the death test reads.
TEST_F(Graphics, FramesOutsideTheSurfaceRaiseARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    c_Image* image = zk_graphics_LoadImage2(png("strip6.png", 100, 20, {0xff0000}), 20, 20, 5, 0);
    for (int frames : {6, 1}) {   // one frame too many; a frame wider than the surface
        EXPECT_EXIT(
            {
                if (!std::freopen("/dev/null", "r", stdin)) std::_Exit(3);
                dup2(2, 1);
                image->p_Init2(image->m_surface, 0, 0, frames == 1 ? 101 : 20, 20, frames, 0, nullptr, 0, 0, 100, 20);
            },
            ::testing::ExitedWithCode(255), "Zanth Runtime Error : Image frame outside surface");
    }
}

TEST_F(Graphics, TransformsComposeOnTheRightAndReachTheDeviceOncePerChange) {
    zk_graphics_Translate(10, 20);
    zk_graphics_Scale(2, 3);
    zk_graphics_Rotate(90);   // (1, 0) -> (0, -1) before scaling
    zk_graphics_Translate(1, 1);
    c_GraphicsContext* c = zk_graphics_context;
    const float want[] = {0, -3, 2, 0, 12, 17};
    const float got[] = {c->m_ix, c->m_iy, c->m_jx, c->m_jy, c->m_tx, c->m_ty};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], want[i], 1e-5) << i;
    EXPECT_EQ(device->matrices, 0);   // sent with the first drawing call, once for several
    zk_graphics_DrawRect(0, 0, 4, 4);
    zk_graphics_DrawEllipse(20, 20, 4, 4);
    EXPECT_EQ(device->matrices, 1);
}

TEST_F(Graphics, EachFrameStartsFromTheSameStateWhateverTheLastOneLeft) {
    zk_graphics_Translate(5, 5);
    zk_graphics_PushMatrix();
    zk_graphics_SetColor(255, 0, 0);
    zk_graphics_SetAlpha(0.5f);
    zk_graphics_SetBlend(1);
    zk_graphics_SetScissor(1, 2, 3, 4);
    EndFrame();
    BeginFrame();
    EXPECT_EQ(zk_graphics_context->m_stackTop, 0);
    zk_graphics_DrawRect(8, 8, 4, 4);   // white and opaque at the identity, unclipped
    EndFrame();
    ExpectPixels({{9, 9, 0xffffff}, {14, 14, 0x000000}});
}

// A colour with an alpha above 1 saturates each channel instead of spilling into its neighbour.
TEST_F(Graphics, ColoursSaturateWhenAlphaIsAboveOne) {
    zk_graphics_SetColor(200, 100, 50);
    zk_graphics_SetAlpha(2);
    zk_graphics_DrawRect(0, 0, 8, 8);
    EndFrame();
    ExpectPixels({{4, 4, 0xffc864}}, 1);
}

TEST_F(Graphics, ImagesTurnCounterClockwiseAboutTheirHandleAndScale) {
    // 20 x 10: top-left red, top-right green, bottom-left blue, bottom-right white; handle at the centre.
    c_Image* image = zk_graphics_LoadImage(png("quarters.png", 20, 10, {0xff0000, 0x00ff00, 0x0000ff, 0xffffff}),
                                           1, c_Image::CentreHandle);
    zk_graphics_DrawImage2(image, 32, 32, 90, 1, 1, 0);   // covers x 27..37, y 22..42
    c_Image* frames = zk_graphics_LoadImage(png("frames.png", 16, 8, {0xff0000, 0x00ff00}), 2, 0);
    frames->p_SetHandle(4, 4);
    zk_graphics_DrawImage(frames, 10, 10, 1);              // green over 6..14
    zk_graphics_DrawImage2(frames, 50, 50, 0, 2, 2, 0);    // red, doubled, over 42..58
    EndFrame();
    ExpectPixels({{29, 24, 0x00ff00}, {35, 24, 0xffffff}, {29, 40, 0xff0000}, {35, 40, 0x0000ff},
                  {39, 32, 0x000000}, {7, 7, 0x00ff00}, {15, 15, 0x000000}, {43, 43, 0xff0000},
                  {57, 57, 0xff0000}, {59, 59, 0x000000}});
}

TEST_F(Graphics, CollectionKeepsWhatTheModuleReachesAndFreesTheRest) {
    String path = png("kept.png", 16, 8, {0xff0000, 0x00ff00});
    gc_collect_all();          // a fresh cycle: roots queued ...
    gc_mark_queued(INT_MAX);   // ... and everything reachable marked, so every later store needs the barrier
    c_Image* kept = zk_graphics_LoadImage2(path, 8, 8, 2, 0);
    c_Image* cut = (new c_Image())->m_new()->p_Init2(kept->m_surface, 0, 0, 4, 4, 1, 0, kept, 8, 0, 8, 8);
    zk_graphics_SetFont(cut, 32);                                  // context -> cut -> kept -> surface
    for (int i = 0; i < 40; ++i) zk_graphics_PushMatrix();         // a grown stack array
    for (int i = 0; i < 40; ++i) zk_graphics_PopMatrix();
    c_Image* dropped = zk_graphics_LoadImage(png("dropped.png", 4, 4, {0xffffff}), 1, 0);
    EXPECT_EQ(gc_verify(), 0);                                     // no marked object hides a white one
    EndFrame();
    CollectEverything();
    EXPECT_TRUE(gc_holds(kept) && gc_holds(kept->m_surface) && gc_holds(kept->m_frames[1]));
    EXPECT_FALSE(gc_holds(dropped));
    BeginFrame();
    zk_graphics_DrawImage(kept, 0, 0, 1);
    EndFrame();
    ExpectPixels({{4, 4, 0x00ff00}});
}

// Within a batch nothing reaches OpenGL, whose driver allocates as it likes; our own drawing path must not.
TEST_F(Graphics, DrawingAllocatesNothing) {
    c_Image* image = zk_graphics_LoadImage2(png("alloc.png", 32, 8, {0xff0000}), 8, 8, 4, 0);
    zk_graphics_PushMatrix();   // the stack already holds what the loops need
    zk_graphics_PopMatrix();
    int collected = gc_new_bytes;
    long heap = g_heapAllocations;
    for (int i = 0; i < 120; ++i) {   // 240 quads of one surface: one batch
        zk_graphics_SetColor(float(i), 0, 0);
        zk_graphics_DrawImage2(image, float(i % 64), 10, float(i), 1.5f, 1.5f, i % 4);
        zk_graphics_DrawImage(image, 5, 5, i % 4);
    }
    EXPECT_EQ(device->drawCalls, 0);
    EXPECT_EQ(g_heapAllocations, heap);
    zk_graphics_DrawRect(0, 0, 2, 2);   // draws the images
    heap = g_heapAllocations;
    for (int i = 0; i < 200; ++i) zk_graphics_DrawRect(float(i % 64), 0, 2, 2);
    EXPECT_EQ(g_heapAllocations, heap);
    zk_graphics_DrawEllipse(30, 30, 5, 5);   // draws the rectangles
    heap = g_heapAllocations;
    for (int i = 0; i < 60; ++i) zk_graphics_DrawEllipse(30, 30, 5, 5);
    EXPECT_EQ(g_heapAllocations, heap);
    EndFrame();
    EXPECT_EQ(gc_new_bytes, collected);   // nothing from the collector, batches drawn or not
}

TEST_F(Graphics, TheDefaultFontComesFromTheDataFolderWhenPresent) {
    mkdir((scratch() / "data").c_str(), 0755);
    ASSERT_TRUE(scratch().Enter());
    zk_graphics_SetFont(nullptr, 0);
    EXPECT_EQ(zk_graphics_context->m_font, nullptr);   // no file: no font, no error
    png("data/zeto_font.png", 96 * 8, 12, {0xffffff});
    zk_graphics_SetFont(nullptr, 0);
    ASSERT_NE(zk_graphics_context->m_font, nullptr);
    EXPECT_EQ(frame_xy(zk_graphics_context->m_font)[2], 9);   // 8 wide, one-pixel border skipped
    EXPECT_EQ(zk_graphics_context->m_firstChar, 32);
    scratch().Leave();
}

}  // namespace
