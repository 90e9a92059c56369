// The game delegate's start and render sequences on the real host, with a real window, renderer and
// audio engine: when the game's OnCreate runs every device exists, and OnRender runs inside the
// graphics module's frame bracket.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include "framework/app.h"
#include "framework/audio.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "media/graphics.h"
#include "tests/common/x_screen.h"

namespace {

struct CheckingApp : c_App {
    int created = 0, rendered = 0;
    bool devicesAtCreate = false, sizeAtCreate = false, modesAtCreate = false, bracketAtRender = false;

    int p_OnCreate() override {
        ++created;
        c_GameDelegate* d = zk_app__delegate;
        devicesAtCreate = d->m__graphics && zk_graphics_device == d->m__graphics && d->m__audio &&
                          zk_audio_device == d->m__audio && d->m__input && zk_input_device == d->m__input;
        sizeAtCreate = zk_app_DeviceWidth() == 640 && zk_app_DeviceHeight() == 480;
        modesAtCreate = zk_app__displayModes.Length() >= 1 && zk_app__desktopMode &&
                        zk_app__desktopMode->m_width == zk_test::XScreenSize().width;
        return 0;
    }
    int p_OnRender() override {
        ++rendered;
        bracketAtRender = zk_graphics_renderDevice == zk_app__delegate->m__graphics;
        return 0;
    }
};

TEST(GameDelegate, StartsEveryDeviceBeforeOnCreateAndRendersInsideTheFrameBracket) {
    if (!std::getenv("DISPLAY") || !glfwInit()) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    ZKGlfwGame* host = new ZKGlfwGame();
    gc_init1();
    zk_app_init();
    zk_graphics_init();
    zk_audio_init();
    zk_input_init();
    zk_asyncevent_init();
    gc_mark();
    CheckingApp* app = new CheckingApp();
    app->m_new();
    ASSERT_EQ(host->Delegate(), zk_app__delegate);

    host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    host->StartGame();
    EXPECT_EQ(app->created, 1);
    EXPECT_TRUE(app->devicesAtCreate);
    EXPECT_TRUE(app->sizeAtCreate);
    EXPECT_TRUE(app->modesAtCreate);

    host->RenderGame();
    EXPECT_EQ(app->rendered, 1);
    EXPECT_TRUE(app->bracketAtRender);
    EXPECT_EQ(zk_graphics_renderDevice, nullptr);   // cleared once the frame is over

    host->SetGlfwWindow(320, 200, 8, 8, 8, 0, 0, 0, false);   // a new window: the renderer draws its size
    host->RenderGame();
    EXPECT_EQ(zk_app__delegate->m__graphics->Width(), 320);
    EXPECT_EQ(zk_app__delegate->m__graphics->Height(), 200);
}

}  // namespace
