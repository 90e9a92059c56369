// ZKGlfwGame's window on Xvfb, driven by real X events (xdotool), each as the game's delegate receives it.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include "tests/common/collector.h"
#include "tests/common/process.h"
#include "tests/common/x_screen.h"
#include "tests/host/recorder.h"

// GLFW's X11 accessors, declared here: their header needs the XRandR headers, which the build lacks.
extern "C" Display* glfwGetX11Display(void);
extern "C" Window glfwGetX11Window(GLFWwindow* window);

// Xvfb's OpenGL has no swap control to read back: the calls are seen on their way (--wrap).
static std::vector<int> swaps;
extern "C" void __real_glfwSwapInterval(int interval);
extern "C" void __wrap_glfwSwapInterval(int interval) {
    swaps.push_back(interval);
    __real_glfwSwapInterval(interval);
}

using Size = std::pair<int, int>;

struct Host : ZKGlfwGame {
    using ZKGlfwGame::PumpEvents;
    bool Active() { return WindowActive(); }
};

class HostWindow : public ::testing::Test {
protected:
    // GLFW is never terminated: unloading the OpenGL driver would show its allocations as leaks.
    void SetUp() override {
        zk_test::StartCollectorOnce();
        static bool glfw = std::getenv("DISPLAY") && glfwInit();
        if (!glfw) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        screen = zk_test::XScreenSize();
        host = new Host();
        host->SetDelegate(new Recorder(&log));   // the host marks its delegate
        host->StartGame();
        swaps.clear();
    }
    void TearDown() override {
        if (host && host->Window()) glfwDestroyWindow(host->Window());
        delete host;
    }
    std::string Id() { return std::to_string(glfwGetX11Window(host->Window())); }
    Size Device() { return Size(host->GetDeviceWidth(), host->GetDeviceHeight()); }
    Size WindowSize() { return Size(host->WindowWidth(), host->WindowHeight()); }
    Size Position() {
        Size at;
        glfwGetWindowPos(host->Window(), &at.first, &at.second);
        return at;
    }
    // Xvfb has no window manager: the pointer goes in, then the focus, and the host sees it active.
    void Open(int width, int height) {
        host->SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, false);
        ASSERT_NE(host->Window(), nullptr);
        Shell("xdotool mousemove --window " + Id() + " 1 1 windowfocus --sync " + Id());
        ASSERT_TRUE(PumpUntil([&] { return host->Active(); })) << "the window took the focus";
        log.clear();
    }
    template <class Done>
    bool PumpUntil(Done done) {
        for (int i = 0; i < 1000 && !done(); ++i) glfwWaitEventsTimeout(0.01);
        return done();
    }
    bool PumpUntilLogged(const std::string& s) {
        return PumpUntil([&] { return Count(log, s) > 0; });
    }
    Log Lines(const std::string& prefix, const std::string& except = "-") {
        Log out;
        for (const std::string& l : log)
            if (l.rfind(prefix, 0) == 0 && l.rfind(except, 0) != 0) out.push_back(l);
        return out;
    }

    Host* host = nullptr;
    Log log;
    zk_test::ScreenSize screen;   // the desktop, as the X server has it
};

// Keys, repeats and buttons on the replaced window. Alt translates to nothing; X's button 8 is not the game's.
TEST_F(HostWindow, AReplacedWindowReleasesHeldKeysKeepsEveryWindowSettingAndTakesKeysRepeatsAndButtons) {
    Open(640, 480);
    EXPECT_EQ(swaps, std::vector<int>{}) << "never set: the driver's default";
    host->SetSwapInterval(1), host->SetSwapInterval(0), host->SetMouseVisible(false);
    Shell("xdotool keydown space keydown b keydown KP_Add");
    ASSERT_TRUE(PumpUntilLogged("key down 107"));
    log.clear();
    const int seq = glfwGraphicsSeq;
    host->SetGlfwWindow(300, 200, 8, 8, 8, 0, 0, 0, false);
    EXPECT_EQ(log, (Log{"key up 32", "key up 66", "key up 107"}));
    Shell("xdotool keyup space keyup b keyup KP_Add");   // into the new window, which never saw them down
    ASSERT_NE(host->Window(), nullptr);
    EXPECT_EQ(glfwGraphicsSeq, seq + 1);
    EXPECT_EQ(glfwGetCurrentContext(), host->Window());
    EXPECT_EQ(swaps, (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(glfwGetInputMode(host->Window(), GLFW_CURSOR), GLFW_CURSOR_HIDDEN);
    char* title = nullptr;
    XFetchName(glfwGetX11Display(), glfwGetX11Window(host->Window()), &title);
    EXPECT_STREQ(title, "Grubnik in Tolvane Golf");
    XFree(title);
    EXPECT_EQ(Position(), Size((screen.width - 300) / 2, (screen.height - 200) / 2));

    // The held keys' releases (and any repeats of them) reach the new window before F5 does.
    Shell("xdotool mousemove --window " + Id() + " 1 1 windowfocus --sync " + Id() + " key F5");
    ASSERT_TRUE(PumpUntilLogged("key up 116"));
    log.clear();
    Shell("xdotool key a shift+apostrophe Delete Alt_L BackSpace");
    ASSERT_TRUE(PumpUntilLogged("key up 8"));
    EXPECT_EQ(Lines("key", "key up"),
              (Log{"key down 65", "key char 97", "key down 16", "key down 222", "key char 34", "key down 46",
                   "key char 127", "key down 8", "key char 8"}));
    log.clear();
    Shell("xdotool keydown Left");
    const bool repeated = PumpUntil([&] { return Count(log, "key down 37") >= 3; });
    Shell("xdotool keyup Left");
    ASSERT_TRUE(repeated && PumpUntilLogged("key up 37")) << "the X server did not repeat the held key";
    EXPECT_EQ(Count(log, "key char 65573"), Count(log, "key down 37"));
    EXPECT_EQ(Count(log, "key up 37"), 1);
    log.clear();
    Shell("xdotool mousemove --window " + Id() + " --sync 60 40 click 1 click 3 click 2 click 8 click 1");
    SendCloseRequest(glfwGetX11Window(host->Window()));
    ASSERT_TRUE(PumpUntilLogged("key up 432"));
    EXPECT_EQ(Lines("mouse down"),
              (Log{"mouse down 0 60 40", "mouse down 1 60 40", "mouse down 2 60 40", "mouse down 0 60 40"}));
    EXPECT_EQ(Lines("key"), (Log{"key down 432", "key up 432"}));
    EXPECT_EQ(Count(log, "mouse move 60 40"), 1);
}

// A window larger than the desktop is centred all the same; bit 0 of the flags asks for fullscreen.
TEST_F(HostWindow, EverySizeOpensANewCentredWindowAndTheFlagsPickFullscreen) {
    const int sizes[][2] = {{0, 0}, {-7, 300}, {40000, 70000}, {640, 480}};
    for (auto& s : sizes) {
        host->SetGlfwWindow(s[0], s[1], 8, 8, 8, 0, 0, 0, false);
        ASSERT_NE(host->Window(), nullptr) << s[0] << "x" << s[1];
        EXPECT_GE(Device().first * Device().second, 1);
    }
    const int seq = glfwGraphicsSeq;
    host->SetDeviceWindow(2500, 2000, 2);
    const Size size = Device();
    EXPECT_EQ(Position(), Size((screen.width - 2500) / 2, (screen.height - 2000) / 2));
    EXPECT_EQ(glfwGetWindowMonitor(host->Window()), nullptr);
    host->SetDeviceWindow(screen.width, screen.height, 1);
    EXPECT_NE(glfwGetWindowMonitor(host->Window()), nullptr);
    host->SetDeviceWindow(2500, 2000, 0);
    EXPECT_EQ(Device(), size) << "the same size again";
    EXPECT_EQ(glfwGraphicsSeq, seq + 3);

    ASSERT_EQ(host->GetDisplayModes().Length() * 10 + host->GetGlfwVideoModes().Length(), 11) << "one mode";
    const std::vector<int> desktop{screen.width, screen.height, 8, 8, 8};
    for (ZKGlfwVideoMode* m : {host->GetGlfwDesktopMode(), host->GetGlfwVideoModes()[0]})
        EXPECT_EQ(std::vector<int>({m->width, m->height, m->red, m->green, m->blue}), desktop);
    for (ZKDisplayMode* m : {host->GetDesktopMode(), host->GetDisplayModes()[0]})
        EXPECT_EQ(Size(m->width, m->height), Size(screen.width, screen.height));
}

// Pointer positions are in framebuffer pixels, and whole numbers when a minimised window has no size.
TEST_F(HostWindow, SizesFollowEachAxisAndPointersScaleEvenToNothing) {
    Open(640, 480);
    for (const Size& s : {Size(640, 300), Size(500, 300), Size(500, 420)}) {
        glfwSetWindowSize(host->Window(), s.first, s.second);
        EXPECT_TRUE(PumpUntil([&] { return Device() == s && WindowSize() == s; })) << s.first;
    }
    // The host's own size callbacks, told what a HiDPI screen and a minimised window report.
    GLFWwindow* w = host->Window();
    GLFWwindowsizefun windowSize = glfwSetWindowSizeCallback(w, nullptr);
    GLFWframebuffersizefun framebufferSize = glfwSetFramebufferSizeCallback(w, nullptr);
    // clang-format off
    const struct { Size window, framebuffer; const char *to, *move; } reports[] = {
        {{500, 420}, {1000, 840}, "10 20", "mouse move 20 40"}, {{0, 0}, {0, 0}, "11 21", "mouse move 11 21"}};
    // clang-format on
    for (auto& r : reports) {
        windowSize(w, r.window.first, r.window.second);
        framebufferSize(w, r.framebuffer.first, r.framebuffer.second);
        EXPECT_EQ(Device(), r.framebuffer);
        log.clear();
        Shell("xdotool mousemove --window " + Id() + " --sync " + r.to);
        EXPECT_TRUE(PumpUntilLogged("mouse move")) << r.move;
        EXPECT_EQ(Lines("mouse move"), Log{r.move});
    }
}

// A minimised window keeps the focus: WM_STATE is set as a window manager would.
TEST_F(HostWindow, ThePumpWaitsOnlyWhenAskedPassesSleepUntilAnUpdateIsDueAndTheFocusSuspends) {
    Open(64, 48);
    glfwPollEvents();
    std::atomic<bool> posted{false};
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        posted = true;
        glfwPostEmptyEvent();
    });
    host->PumpEvents(false);
    EXPECT_FALSE(posted) << "polling does not wait";
    int pumps = 0;   // a few stray events may end a wait early; a poll would run thousands of times
    for (; !posted && pumps < 1000000; ++pumps) host->PumpEvents(true);
    EXPECT_LT(pumps, 10);
    poster.join();

    host->SetUpdateRate(60);
    const int start = host->Millisecs();
    while (Count(log, "update") < 20) host->RunPass();
    const int elapsed = host->Millisecs() - start;
    EXPECT_LE(Count(log, "update"), elapsed * 60 / 1000 + 2) << "in " << elapsed << " ms";
    EXPECT_NEAR(host->Millisecs(), glfwGetTime() * 1000, 2);

    log.clear();
    Shell("xdotool windowfocus --sync $(xwininfo -root | awk '/Window id/{print $4}')");
    EXPECT_TRUE(PumpUntil([&] { return !host->FollowFocus(); }));
    Shell("xdotool windowfocus --sync " + Id());
    EXPECT_TRUE(PumpUntil([&] { return host->FollowFocus(); }));
    Display* display = glfwGetX11Display();
    Atom state = XInternAtom(display, "WM_STATE", False);
    long iconic[2] = {IconicState, None};
    XChangeProperty(display, glfwGetX11Window(host->Window()), state, state, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(iconic), 2);
    XSync(display, False);
    EXPECT_TRUE(host->Active() == false && host->FollowFocus() == false) << "minimised with the focus";
    EXPECT_EQ(log, (Log{"suspend", "resume", "suspend"}));
}