// The graphics module over a real renderer and real PNG files, and the game delegate's start-up and frames.
#include "framework/graphics.h"

#include <gtest/gtest.h>
#include <unistd.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "framework/app.h"
#include "framework/audio.h"
#include "framework/delegate.h"
#include "framework/input.h"
#include "harness/gl_window.h"
#include "harness/scratch.h"
#include "host/game.h"
#include "tests/common/pixels.h"

namespace {

using namespace zk_test;

// An opaque PNG of one 0xRRGGBB colour or four quarters (top-left, top-right, bottom-left, bottom-right).
String png(const std::string& name, int w, int h, std::vector<unsigned int> q) {
    std::vector<unsigned char> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned int c = q.size() < 4 ? q[0] : q[(y < h / 2 ? 0 : 2) + (x < w / 2 ? 0 : 1)];
            px.insert(px.end(), {(unsigned char)(c >> 16), (unsigned char)(c >> 8), (unsigned char)c, 255});
        }
    static ScratchDir dir("zk_graphics");
    EXPECT_NE(stbi_write_png((dir / name).c_str(), w, h, 4, px.data(), w * 4), 0);
    return String((dir / name).c_str());
}

// The device is `width` x `height` of the 64 x 64 window, with no desktop mode.
struct SizedHost : ZKGlfwGame {
    int width = 48, height = 40;
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
    ZKDisplayMode* GetDesktopMode() override { return nullptr; }
};
SizedHost* host = new SizedHost();

class Graphics : public ::testing::Test {
protected:
    void SetUp() override {
        zk_graphics_init(), zk_graphics_SetGraphicsDevice(device = new gxtkGraphics());
        BeginFrame();
    }
    void BeginFrame() { device->BeginRender(), zk_graphics_BeginRender(), device->Cls(0, 0, 0); }
    void EndFrame() { zk_graphics_EndRender(), device->EndRender(); }

    TestGLWindow window{64, 64};
    gxtkGraphics* device = nullptr;
};

// An image's frames (x and y of each), then its frame size, its handle and whether it is the whole surface.
std::vector<int> layout(c_Image* i) {
    std::vector<int> v;
    for (int f = 0; f < i->m_frames.Length(); ++f)
        v.insert(v.end(), {i->m_frames[f]->m_x, i->m_frames[f]->m_y});
    v.insert(v.end(), {i->m_width, i->m_height, int(i->m_handleX), int(i->m_handleY),
                       (i->m_flags & c_Image::WholeSurface) ? 1 : 0});
    return v;
}

// zkError reports on standard output, then waits for a debugger on standard input: the child gets an empty
// input (no debugger: exit -1) and its output on standard error, where the death test reads.
TEST_F(Graphics, FramesAreCutRowByRowAndAFrameOutsideTheSurfaceIsARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const int padded = c_Image::PadX | c_Image::PadY | c_Image::CentreHandle;
    c_Image* sheet = zk_graphics_LoadImage2(png("sheet.png", 40, 40, {0xff0000}), 20, 20, 4, 0);
    const std::pair<c_Image*, std::vector<int>> cases[] = {
        {sheet, {0, 0, 20, 0, 0, 20, 20, 20, 20, 20, 0, 0, 0}},
        {zk_graphics_LoadImage(png("strip.png", 30, 10, {0xff0000}), 3, padded),
         {1, 1, 11, 1, 21, 1, 8, 8, 4, 4, 0}},
        {zk_graphics_LoadImage(png("one.png", 30, 10, {0xff0000}), 0, 0), {0, 0, 30, 10, 0, 0, 1}},
        {zk_graphics_LoadImage2(png("tall.png", 40, 40, {0xff0000}), 40, 20, 2, 0),
         {0, 0, 0, 20, 40, 20, 0, 0, 0}}};
    for (const auto& [image, want] : cases) EXPECT_EQ(layout(image), want);
    EXPECT_EQ(zk_graphics_LoadImage(String("/nonexistent/missing.png"), 1, 0), nullptr);
    // One frame too many; a frame wider than the surface, low enough to fit the next row.
    for (int w : {20, 41}) {
        EXPECT_EXIT(
            {
                if (dup2(2, 1) < 0 || !std::freopen("/dev/null", "r", stdin)) std::_Exit(3);
                sheet->p_Init2(sheet->m_surface, 0, 0, w, w == 20 ? 20 : 10, w == 20 ? 5 : 1, 0, nullptr, 0, 0, 40, 40);
            },
            ::testing::ExitedWithCode(255), "Zanth Runtime Error : Image frame outside surface");
    }
}

// The frame before leaves a pushed matrix, a colour, alpha, blend and scissor: the next starts afresh.
TEST_F(Graphics, EachFrameStartsAfreshAndImagesTurnCounterClockwiseAboutTheirHandleAndScale) {
    zk_graphics_Translate(5, 5), zk_graphics_PushMatrix(), zk_graphics_SetColor(255, 0, 0);
    zk_graphics_SetAlpha(0.5f), zk_graphics_SetBlend(1), zk_graphics_SetScissor(1, 2, 3, 4);
    EndFrame(), BeginFrame();
    EXPECT_EQ(zk_graphics_context->m_stackTop, 0);
    // 20 x 10: top-left red, top-right green, bottom-left blue, bottom-right white; handle at the centre.
    c_Image* image = zk_graphics_LoadImage(png("quarters.png", 20, 10, {0xff0000, 0x00ff00, 0x0000ff, 0xffffff}),
                                           1, c_Image::CentreHandle);
    zk_graphics_DrawImage2(image, 32, 32, 90, 1, 1, 0);   // covers x 27..37, y 22..42
    c_Image* frames = zk_graphics_LoadImage(png("frames.png", 16, 8, {0xff0000, 0x00ff00, 0xff0000, 0x00ff00}), 2, 0);
    frames->p_SetHandle(4, 4);
    zk_graphics_DrawImage(frames, 10, 10, 1);              // green over 6..14
    zk_graphics_DrawImage(frames, 20, 4, 2);               // no such frame: nothing
    zk_graphics_DrawEllipse(50, 50, 12, 4);                // white over 38..62 x 46..54, then under
    zk_graphics_DrawImage2(frames, 50, 50, 0, 2, 2, 0);    // red, doubled, over 42..58, blended over it
    EndFrame();
    ExpectPixels({{29, 24, 0x00ff00}, {35, 24, 0xffffff}, {29, 40, 0xff0000}, {35, 40, 0x0000ff}, {39, 32, 0},
                  {7, 7, 0x00ff00}, {15, 15, 0}, {43, 43, 0xff0000}, {57, 57, 0xff0000}, {59, 59, 0},
                  {50, 50, 0xff0000}, {60, 50, 0xffffff}, {20, 4, 0}});
}

// The default font is the 768 x 12 strip of characters 32 to 127, padded.
struct SeeingApp : c_App {
    char seen[128] = "";
    int p_OnCreate() override {
        c_GameDelegate* d = zk_app__delegate;
        c_Image* font = zk_graphics_context->m_font;
        std::snprintf(seen, sizeof seen, "%dx%d desktop %dx%d modes %d font %d %d from %d devices %d",
                      zk_app_DeviceWidth(), zk_app_DeviceHeight(), zk_app__desktopMode->m_width,
                      zk_app__desktopMode->m_height,
                      zk_app__displayModes.Length(), font ? font->m_frames.Length() : 0,
                      font ? font->m_width : 0, zk_graphics_context->m_firstChar,
                      d->m__graphics && zk_graphics_device == d->m__graphics && d->m__audio &&
                          zk_audio_device == d->m__audio && d->m__input && zk_input_device == d->m__input);
        return 0;
    }
    int p_OnRender() override {   // white over the whole device, within a cleared window
        zk_graphics_device->Cls(0, 0, 0);
        return zk_graphics_DrawRect(0, 0, float(zk_app_DeviceWidth()), float(zk_app_DeviceHeight())), 0;
    }
};

TEST_F(Graphics, StartUpHandsTheGameEverythingAndEachFrameIsDrawnAtTheHostsSize) {
    EndFrame(), zk_app_init(), zk_audio_init(), zk_input_init();
    SeeingApp* app = new SeeingApp();
    app->m_new();
    host->StartGame();
    EXPECT_STREQ(app->seen, "48x40 desktop 48x40 modes 1 font 96 6 from 32 devices 1");
    host->width = 40, host->height = 24;   // resized since the last update
    host->RenderGame();
    ExpectPixels({{39, 63, 0xffffff}, {40, 63, 0x000000}, {0, 40, 0xffffff}, {0, 39, 0x000000}});
}

}  // namespace
