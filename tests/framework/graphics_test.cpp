// tests/framework/graphics_test.cpp: the graphics module over a real renderer and real PNG files: frame
// layouts and their runtime error, the state each frame starts from, images on screen, and drawing
// without allocating.
#include "framework/graphics.h"

#include <gtest/gtest.h>
#include <unistd.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "framework/app.h"
#include "framework/audio.h"
#include "framework/delegate.h"
#include "framework/input.h"
#include "harness/gl_window.h"
#include "harness/scratch.h"
#include "host/game.h"
#include "tests/common/pixels.h"

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

// An opaque PNG of one colour or four quarters (top-left, top-right, bottom-left, bottom-right), 0xRRGGBB
// each, as a String path for the loaders.
String png(const std::string& name, int w, int h, std::vector<unsigned int> q) {
    std::vector<unsigned char> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned int c = q.size() < 4 ? q[0] : q[(y < h / 2 ? 0 : 2) + (x < w / 2 ? 0 : 1)];
            px.insert(px.end(), {(unsigned char)(c >> 16), (unsigned char)(c >> 8), (unsigned char)c, 255});
        }
    EXPECT_NE(stbi_write_png((scratch() / name).c_str(), w, h, 4, px.data(), w * 4), 0);
    return String((scratch() / name).c_str());
}

// The host of every test: its device is `width` x `height` of the 64 x 64 window, with no desktop mode.
struct SizedHost : ZKGlfwGame {
    int width = 48, height = 40;
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
    ZKDisplayMode* GetDesktopMode() override { return nullptr; }
};
SizedHost* host = new SizedHost();

// A window, the module started afresh, a device and an open frame, as the game delegate leaves them.
class Graphics : public ::testing::Test {
protected:
    void SetUp() override {
        zk_graphics_init();
        device = new gxtkGraphics();
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
    gxtkGraphics* device = nullptr;
};

std::vector<int> frame_xy(c_Image* image) {
    std::vector<int> xy;
    for (int i = 0; i < image->m_frames.Length(); ++i)
        xy.insert(xy.end(), {image->m_frames[i]->m_x, image->m_frames[i]->m_y});
    return xy;
}

// zkError reports on standard output and then waits for a debugger on standard input; the child gets an
// empty input (no debugger: exit -1) and its output on standard error, where the death test reads.
TEST_F(Graphics, FramesAreCutRowByRowAndAFrameOutsideTheSurfaceIsARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    c_Image* sheet = zk_graphics_LoadImage2(png("sheet.png", 40, 40, {0xff0000}), 20, 20, 4, 0);
    EXPECT_EQ(frame_xy(sheet), (std::vector<int>{0, 0, 20, 0, 0, 20, 20, 20}));
    // One frame too many; a frame wider than the surface, low enough to fit the next row.
    for (int w : {20, 41}) {
        EXPECT_EXIT(
            {
                if (!std::freopen("/dev/null", "r", stdin)) std::_Exit(3);
                dup2(2, 1);
                sheet->p_Init2(sheet->m_surface, 0, 0, w, w == 20 ? 20 : 10, w == 20 ? 5 : 1, 0, nullptr, 0, 0, 40, 40);
            },
            ::testing::ExitedWithCode(255), "Zanth Runtime Error : Image frame outside surface");
    }
}

// The frame before leaves a pushed matrix, a colour, alpha, blend and scissor: the next starts afresh.
TEST_F(Graphics, EachFrameStartsAfreshAndImagesTurnCounterClockwiseAboutTheirHandleAndScale) {
    zk_graphics_Translate(5, 5);
    zk_graphics_PushMatrix();
    zk_graphics_SetColor(255, 0, 0);
    zk_graphics_SetAlpha(0.5f);
    zk_graphics_SetBlend(1);
    zk_graphics_SetScissor(1, 2, 3, 4);
    EndFrame();
    BeginFrame();
    EXPECT_EQ(zk_graphics_context->m_stackTop, 0);
    // 20 x 10: top-left red, top-right green, bottom-left blue, bottom-right white; handle at the centre.
    c_Image* image = zk_graphics_LoadImage(png("quarters.png", 20, 10, {0xff0000, 0x00ff00, 0x0000ff, 0xffffff}),
                                           1, c_Image::CentreHandle);
    zk_graphics_DrawImage2(image, 32, 32, 90, 1, 1, 0);   // covers x 27..37, y 22..42
    c_Image* frames = zk_graphics_LoadImage(png("frames.png", 16, 8, {0xff0000, 0x00ff00, 0xff0000, 0x00ff00}), 2, 0);
    frames->p_SetHandle(4, 4);
    zk_graphics_DrawImage(frames, 10, 10, 1);              // green over 6..14
    zk_graphics_DrawImage2(frames, 50, 50, 0, 2, 2, 0);    // red, doubled, over 42..58
    zk_graphics_DrawEllipse(50, 12, 8, 4);                 // white over 42..58 x 8..16
    EndFrame();
    ExpectPixels({{29, 24, 0x00ff00},
                  {35, 24, 0xffffff},
                  {29, 40, 0xff0000},
                  {35, 40, 0x0000ff},
                  {39, 32, 0x000000},
                  {7, 7, 0x00ff00},
                  {15, 15, 0x000000},
                  {43, 43, 0xff0000},
                  {57, 57, 0xff0000},
                  {59, 59, 0x000000},
                  {56, 12, 0xffffff},
                  {50, 18, 0x000000}});
}

// Frames cut from a strip or a sheet, padded, centred, or the whole surface; a missing file is no image.
TEST_F(Graphics, FramesArePaddedCentredAndCutToFit) {
    const struct {
        c_Image* image;
        std::vector<int> xy, rest;   // rest: width, height, handle x, handle y, whole surface
    } cases[] = {
        {zk_graphics_LoadImage(png("strip.png", 30, 10, {0xff0000}), 3,
                               c_Image::PadX | c_Image::PadY | c_Image::CentreHandle),
         {1, 1, 11, 1, 21, 1},
         {8, 8, 4, 4, 0}},
        {zk_graphics_LoadImage(png("one.png", 30, 10, {0xff0000}), 0, 0), {0, 0}, {30, 10, 0, 0, 1}},
        {zk_graphics_LoadImage2(png("tall.png", 40, 40, {0xff0000}), 40, 20, 2, 0),
         {0, 0, 0, 20},
         {40, 20, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        c_Image* i = c.image;
        EXPECT_EQ(frame_xy(i), c.xy);
        EXPECT_EQ((std::vector<int>{i->m_width, i->m_height, int(i->m_handleX), int(i->m_handleY),
                                    (i->m_flags & c_Image::WholeSurface) ? 1 : 0}),
                  c.rest)
            << &c - cases;
    }
    EXPECT_EQ(zk_graphics_LoadImage(String((scratch() / "missing.png").c_str()), 1, 0), nullptr);
}

// Within a batch nothing reaches OpenGL, whose driver allocates as it likes; our own drawing path must
// not. The first call of each kind may end the batch before it; the calls after it must allocate nothing.
TEST_F(Graphics, DrawingAllocatesNothing) {
    c_Image* image = zk_graphics_LoadImage2(png("alloc.png", 32, 8, {0xff0000}), 8, 8, 4, 0);
    const std::function<void(int)> kinds[] = {
        [&](int i) { zk_graphics_SetColor(float(i), 0, 0), zk_graphics_DrawImage2(image, 5, 10, i, 1.5f, 1.5f, i % 4); },
        [&](int i) { zk_graphics_DrawRect(float(i % 64), 0, 2, 2); },
        [&](int) { zk_graphics_DrawEllipse(30, 30, 5, 5); },
    };
    int collected = gc_new_bytes;
    for (auto& draw : kinds) {
        draw(0);
        long heap = g_heapAllocations;
        for (int i = 1; i < 60; ++i) draw(i);
        EXPECT_EQ(g_heapAllocations, heap) << &draw - kinds;
    }
    EndFrame();
    EXPECT_EQ(gc_new_bytes, collected);   // nothing from the collector, batches drawn or not
}

// What start-up has given the game when its OnCreate runs, and the size each frame it renders is drawn at.
struct SeeingApp : c_App {
    std::vector<std::string> seen;
    int p_OnCreate() override {
        c_GameDelegate* d = zk_app__delegate;
        seen.push_back(std::to_string(zk_app_DeviceWidth()) + "x" + std::to_string(zk_app_DeviceHeight()) +
                       " desktop " + std::to_string(zk_app__desktopMode->m_width) + " modes " +
                       std::to_string(zk_app__displayModes.Length()));
        seen.push_back(std::to_string(
            d->m__graphics && zk_graphics_device == d->m__graphics && zk_graphics_context->m_font &&
            d->m__audio && zk_audio_device == d->m__audio && d->m__input && zk_input_device == d->m__input));
        return 0;
    }
    int p_OnRender() override {   // white over the whole device, within a cleared window
        zk_graphics_device->Cls(0, 0, 0);
        zk_graphics_DrawRect(0, 0, float(zk_app_DeviceWidth()), float(zk_app_DeviceHeight()));
        return 0;
    }
};

// The renderer draws each frame at the host's size of the moment, in the window's bottom-left corner.
TEST_F(Graphics, StartUpHandsTheGameEverythingAndEachFrameIsDrawnAtTheHostsSize) {
    EndFrame();
    zk_app_init(), zk_audio_init(), zk_input_init();
    SeeingApp* app = new SeeingApp();
    app->m_new();
    host->StartGame();
    EXPECT_EQ(app->seen, (std::vector<std::string>{"48x40 desktop 48 modes 1", "1"}));
    host->width = 40, host->height = 24;   // resized since the last update
    host->RenderGame();
    ExpectPixels({{39, 63, 0xffffff}, {40, 63, 0x000000}, {0, 40, 0xffffff}, {0, 39, 0x000000}});
}

}  // namespace
