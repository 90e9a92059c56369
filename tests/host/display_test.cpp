// ZKGlfwGame's window and display modes on a real X server (Xvfb): every replacement is a new context,
// odd sizes never crash, the desktop and its modes come from the primary monitor, and the window
// settings stick to later windows.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <thread>

#include "host/game.h"
#include "host/input.h"
#include "tests/common/collector.h"
#include "tests/common/x_screen.h"

// GLFW's X11 accessors, declared here: their header needs the XRandR headers, which the build lacks.
extern "C" Display* glfwGetX11Display(void);
extern "C" Window glfwGetX11Window(GLFWwindow* window);

namespace {

// The host with its focus test in reach.
struct Host : ZKGlfwGame {
    bool Active() { return WindowActive(); }
};

class GlfwWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        zk_test::StartCollectorOnce();
    }
    // GLFW stays initialised for the whole program: terminating it would unload the OpenGL driver, whose
    // process-lifetime allocations would then read as leaks under the sanitizers.
    void SetUp() override {
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

TEST_F(GlfwWindow, EveryWindowIsANewContextCountedInTheGraphicsSequence) {
    int seq = glfwGraphicsSeq;
    host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    GLFWwindow* first = host->Window();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(glfwGetCurrentContext(), first);
    host->SetDeviceWindow(640, 480, 0);   // the same size is still a new window
    EXPECT_EQ(glfwGraphicsSeq, seq + 2);
    EXPECT_EQ(glfwGetCurrentContext(), host->Window());
    EXPECT_EQ(host->GetDeviceWidth(), 640);
    EXPECT_EQ(host->GetDeviceHeight(), 480);
    int x = 0, y = 0;
    glfwGetWindowPos(host->Window(), &x, &y);
    EXPECT_EQ(x, (screen.width - 640) / 2);
    EXPECT_EQ(y, (screen.height - 480) / 2);
}

// Sizes come from what GLFW's size callbacks reported, not from asking the X server each time: a
// window resized from outside (the player dragging its edge) has its new size once the pump ran.
TEST_F(GlfwWindow, AWindowResizedFromOutsideReportsItsNewSizeAfterTheEventPump) {
    host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    glfwSetWindowSize(host->Window(), 800, 500);
    for (int wait = 0; wait < 200 && host->GetDeviceHeight() != 500; ++wait) glfwWaitEventsTimeout(0.05);
    EXPECT_EQ(host->GetDeviceWidth(), 800);
    EXPECT_EQ(host->GetDeviceHeight(), 500);
    EXPECT_EQ(host->WindowWidth(), 800);
    EXPECT_EQ(host->WindowHeight(), 500);
}

TEST_F(GlfwWindow, OddSizesGiveAWindowAndNeverACrash) {
    const int sizes[][2] = {{0, 0}, {-7, 300}, {1, 1}, {3001, 17}, {1920, 1080}, {40000, 70000}, {2500, 2000}};
    for (auto& s : sizes) {
        host->SetGlfwWindow(s[0], s[1], 8, 8, 8, 0, 0, 0, false);
        ASSERT_NE(host->Window(), nullptr) << s[0] << "x" << s[1];
        EXPECT_GE(host->GetDeviceWidth(), 1);
        EXPECT_GE(host->GetDeviceHeight(), 1);
    }
    int x = 0, y = 0;
    glfwGetWindowPos(host->Window(), &x, &y);
    EXPECT_EQ(x, (screen.width - 2500) / 2);   // larger than the desktop: centred, not clamped
    EXPECT_EQ(y, (screen.height - 2000) / 2);
}

// Fullscreen asks the primary monitor for the size: a size the monitor offers is taken as it is, any other
// gets the monitor's closest mode (Xvfb offers only its own screen size).
TEST_F(GlfwWindow, FullscreenTakesTheMonitorsModeForTheAskedSize) {
    Array<ZKGlfwVideoMode*> modes = host->GetGlfwVideoModes();
    ASSERT_GE(modes.Length(), 1);
    auto offered = [&](int w, int h) {
        for (int i = 0; i < modes.Length(); ++i)
            if (modes[i]->width == w && modes[i]->height == h) return true;
        return false;
    };
    for (int i = 0; i < modes.Length(); ++i) {
        host->SetDeviceWindow(modes[i]->width, modes[i]->height, 1);
        ASSERT_NE(host->Window(), nullptr);
        EXPECT_EQ(host->GetDeviceWidth(), modes[i]->width);
        EXPECT_EQ(host->GetDeviceHeight(), modes[i]->height);
    }
    host->SetDeviceWindow(801, 599, 1);
    ASSERT_NE(host->Window(), nullptr);
    EXPECT_TRUE(offered(host->GetDeviceWidth(), host->GetDeviceHeight()))
        << host->GetDeviceWidth() << "x" << host->GetDeviceHeight();
    host->SetDeviceWindow(640, 480, 0);
    EXPECT_EQ(host->GetDeviceWidth(), 640);
}

TEST_F(GlfwWindow, DesktopAndModesComeFromThePrimaryMonitor) {
    ZKDisplayMode* desktop = host->GetDesktopMode();
    ZKGlfwVideoMode* glfwDesktop = host->GetGlfwDesktopMode();
    ASSERT_TRUE(desktop && glfwDesktop);
    EXPECT_EQ(std::vector<int>({desktop->width, desktop->height, glfwDesktop->width, glfwDesktop->red}),
              std::vector<int>({screen.width, screen.height, screen.width, 8}));
    Array<ZKDisplayMode*> modes = host->GetDisplayModes();
    bool listed = false;
    for (int i = 0; i < modes.Length(); ++i)
        listed = listed || (modes[i]->width == screen.width && modes[i]->height == screen.height);
    EXPECT_TRUE(listed);
}

// Minimised, a window is not active even while it holds the focus: the loop suspends the game. The test
// sets the window's WM_STATE to iconic itself, as a window manager does (Xvfb runs none).
TEST_F(GlfwWindow, AMinimisedWindowIsNotActiveEvenWithTheFocus) {
    host->SetGlfwWindow(64, 48, 8, 8, 8, 0, 0, 0, false);
    glfwFocusWindow(host->Window());
    for (int i = 0; i < 500 && !host->Active(); ++i) {
        glfwPollEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(host->Active()) << "the window took the focus";
    Display* display = glfwGetX11Display();
    Atom state = XInternAtom(display, "WM_STATE", False);
    long iconic[2] = {IconicState, None};
    XChangeProperty(display, glfwGetX11Window(host->Window()), state, state, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(iconic), 2);
    XSync(display, False);
    EXPECT_FALSE(host->Active());
}

TEST_F(GlfwWindow, TheHiddenCursorAndTheSwapIntervalCarryOverToLaterWindows) {
    host->SetMouseVisible(false);   // before any window: stored
    host->SetSwapInterval(1);
    host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    EXPECT_EQ(glfwGetInputMode(host->Window(), GLFW_CURSOR), GLFW_CURSOR_HIDDEN);
    host->SetMouseVisible(true);
    host->SetGlfwWindow(320, 240, 8, 8, 8, 0, 0, 0, false);
    EXPECT_EQ(glfwGetInputMode(host->Window(), GLFW_CURSOR), GLFW_CURSOR_NORMAL);
}

TEST_F(GlfwWindow, WithoutAWindowTheDeviceIsEmptyAndNoJoystickIsPresent) {
    EXPECT_EQ(host->GetDeviceWidth(), 0);
    EXPECT_EQ(host->GetDeviceHeight(), 0);
    Array<float> x(2), y(2), z(2);
    Array<bool> b(32);
    for (int port : {-1, 0, 3, 4, 1000}) EXPECT_FALSE(host->PollJoystick(port, x, y, z, b)) << port;
}

// The test server has a US layout, where every printable key types the character GLFW 3 numbers it by:
// its number as the old host gave it (the upper-case character it types) is the same.
TEST_F(GlfwWindow, OnAUsLayoutEveryPrintableKeyIsNumberedByTheCharacterItTypes) {
    for (int key = GLFW_KEY_A; key <= GLFW_KEY_Z; ++key) EXPECT_EQ(LayoutKey(key), key) << "GLFW key " << key;
    for (int key = GLFW_KEY_0; key <= GLFW_KEY_9; ++key) EXPECT_EQ(LayoutKey(key), key) << "GLFW key " << key;
    for (int key : {GLFW_KEY_APOSTROPHE, GLFW_KEY_COMMA, GLFW_KEY_MINUS, GLFW_KEY_PERIOD, GLFW_KEY_SLASH,
                    GLFW_KEY_SEMICOLON, GLFW_KEY_EQUAL, GLFW_KEY_LEFT_BRACKET, GLFW_KEY_BACKSLASH,
                    GLFW_KEY_RIGHT_BRACKET, GLFW_KEY_GRAVE_ACCENT, GLFW_KEY_SPACE, GLFW_KEY_ENTER,
                    GLFW_KEY_KP_5})
        EXPECT_EQ(LayoutKey(key), key) << "GLFW key " << key;
    EXPECT_EQ(TransLayoutKey(GLFW_KEY_A), 65);
    EXPECT_EQ(TransLayoutKey(GLFW_KEY_APOSTROPHE), 222);
}

}  // namespace
