// The game delegate on the real host, with a real window, renderer and audio engine: when the game's
// OnCreate runs every device, the size and the modes exist, and OnRender runs inside the frame bracket.
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
    bool ready = false, bracketed = false;
    int p_OnCreate() override {
        c_GameDelegate* d = zk_app__delegate;
        ready = d->m__graphics && zk_graphics_device == d->m__graphics && d->m__audio && zk_audio_device == d->m__audio &&
                d->m__input && zk_input_device == d->m__input && zk_app_DeviceWidth() == 640 &&
                zk_app__desktopMode && zk_app__desktopMode->m_width == zk_test::XScreenSize().width;
        return 0;
    }
    int p_OnRender() override {
        bracketed = zk_graphics_renderDevice == zk_app__delegate->m__graphics;
        return 0;
    }
};

TEST(GameDelegate, StartsEveryDeviceBeforeOnCreateAndRendersInsideTheFrameBracket) {
    if (!std::getenv("DISPLAY") || !glfwInit()) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    ZKGlfwGame* host = new ZKGlfwGame();
    gc_init1();
    zk_app_init(), zk_graphics_init(), zk_audio_init(), zk_input_init(), zk_asyncevent_init();
    gc_mark();
    CheckingApp* app = new CheckingApp();
    app->m_new();
    host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    host->StartGame();
    EXPECT_TRUE(app->ready);
    host->RenderGame();
    EXPECT_TRUE(app->bracketed);
    EXPECT_EQ(zk_graphics_renderDevice, nullptr);   // cleared once the frame is over

    host->SetGlfwWindow(320, 200, 8, 8, 8, 0, 0, 0, false);   // a new window: the renderer draws its size
    host->RenderGame();
    EXPECT_EQ(zk_app__delegate->m__graphics->Width(), 320);
    EXPECT_EQ(zk_app__delegate->m__graphics->Height(), 200);
}

}  // namespace
