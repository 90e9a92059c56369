// ZKGlfwGame's window on a real X server (Xvfb): a new centred context for every window, odd sizes, and
// a minimised window. Fullscreen at the desktop's size: tests/game/window_test.cpp.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <utility>

#include "host/game.h"
#include "tests/common/collector.h"
#include "tests/common/x_screen.h"

// GLFW's X11 accessors, declared here: their header needs the XRandR headers, which the build lacks.
extern "C" Display* glfwGetX11Display(void);
extern "C" Window glfwGetX11Window(GLFWwindow* window);

namespace {

struct Host : ZKGlfwGame {
    bool Active() { return WindowActive(); }
};

class GlfwWindow : public ::testing::Test {
protected:
    // GLFW stays initialised for the whole program: terminating it would unload the OpenGL driver, whose
    // process-lifetime allocations would then read as leaks under the sanitizers.
    void SetUp() override {
        zk_test::StartCollectorOnce();
        static bool glfw = std::getenv("DISPLAY") && glfwInit();
        if (!glfw) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        host = new Host();
        screen = zk_test::XScreenSize();
        ASSERT_GT(screen.width, 0);
    }
    void TearDown() override {
        if (host && host->Window()) glfwDestroyWindow(host->Window());
        delete host;
    }
    Host* host = nullptr;
    zk_test::ScreenSize screen;   // the desktop, as the X server has it
};

TEST_F(GlfwWindow, EveryWindowIsANewCentredContextAndOddSizesNeverCrash) {
    const int sizes[][2] = {{0, 0}, {-7, 300}, {40000, 70000}, {2500, 2000}, {640, 480}};
    for (auto& s : sizes) {
        host->SetGlfwWindow(s[0], s[1], 8, 8, 8, 0, 0, 0, false);
        ASSERT_NE(host->Window(), nullptr) << s[0] << "x" << s[1];
        EXPECT_GE(host->GetDeviceWidth() * host->GetDeviceHeight(), 1);
    }
    int seq = glfwGraphicsSeq, x = 0, y = 0;
    host->SetDeviceWindow(2500, 2000, 0);   // larger than the desktop: centred all the same, not clamped
    glfwGetWindowPos(host->Window(), &x, &y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair((screen.width - 2500) / 2, (screen.height - 2000) / 2));
    host->SetDeviceWindow(640, 480, 0);   // the same size as before is still a new window
    EXPECT_EQ(glfwGraphicsSeq, seq + 2);
    EXPECT_EQ(glfwGetCurrentContext(), host->Window());
    EXPECT_EQ(std::make_pair(host->GetDeviceWidth(), host->GetDeviceHeight()), std::make_pair(640, 480));
}

// Sizes come from GLFW's size callbacks, not from asking the X server each frame: a window resized from
// outside (the player dragging its edge) has its new size once the pump ran.
TEST_F(GlfwWindow, AWindowResizedFromOutsideHasItsNewSizeAfterTheEventPump) {
    host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    glfwSetWindowSize(host->Window(), 800, 500);
    for (int wait = 0; wait < 200 && host->GetDeviceHeight() != 500; ++wait) glfwWaitEventsTimeout(0.05);
    EXPECT_EQ(std::make_pair(host->GetDeviceWidth(), host->GetDeviceHeight()), std::make_pair(800, 500));
}

// Minimised, a window is not active even with the focus; WM_STATE is set as a window manager would.
TEST_F(GlfwWindow, AMinimisedWindowIsNotActiveEvenWithTheFocus) {
    host->SetGlfwWindow(64, 48, 8, 8, 8, 0, 0, 0, false);
    glfwFocusWindow(host->Window());
    for (int i = 0; i < 500 && !host->Active(); ++i) glfwWaitEventsTimeout(0.01);
    ASSERT_TRUE(host->Active()) << "the window took the focus";
    Display* display = glfwGetX11Display();
    Atom state = XInternAtom(display, "WM_STATE", False);
    long iconic[2] = {IconicState, None};
    XChangeProperty(display, glfwGetX11Window(host->Window()), state, state, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(iconic), 2);
    XSync(display, False);
    EXPECT_FALSE(host->Active());
}

}  // namespace
