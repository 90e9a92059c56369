// The real executable as a process under Xvfb, driven by real X events: it opens its titled 640 x 480
// window centred on the desktop; the window's close button and F4 end it with status 0; F11 switches to a
// fullscreen window at the desktop's size and back. Without a display it reports that GLFW could not
// start and ends with status -1.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <memory>
#include <string>

#include "tests/host/process.h"

namespace {

const std::string kTitle = "Grubnik in Tolvane Golf";

TEST(GameWindow, OpensTitledAndCentredAndItsCloseButtonEndsTheGameWithStatusZero) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    ChildProcess game(GAME_PATH, BUILD_DIR);
    ASSERT_TRUE(game.started());
    std::string window = Shell("xdotool search --sync --onlyvisible --name '" + kTitle + "' | head -1");
    ASSERT_FALSE(window.empty());

    std::string info = Shell("xwininfo -id " + window);
    std::string screen = Shell("xdpyinfo | awk '/dimensions/ {print $2}'");
    int sw = 0, sh = 0;
    ASSERT_EQ(std::sscanf(screen.c_str(), "%dx%d", &sw, &sh), 2);
    EXPECT_NE(info.find("Width: 640"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 480"), std::string::npos) << info;
    EXPECT_NE(info.find("Absolute upper-left X:  " + std::to_string((sw - 640) / 2)), std::string::npos) << info;
    EXPECT_NE(info.find("Absolute upper-left Y:  " + std::to_string((sh - 480) / 2)), std::string::npos) << info;

    SendCloseRequest(std::stoul(window));
    EXPECT_EQ(game.WaitExit(), 0) << game.Transcript();
}

TEST(GameWindow, WithoutADisplayItSaysGlfwInitFailedAndEndsWithStatusMinusOne) {
    std::string out = Shell(std::string("cd '") + BUILD_DIR + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" +
                            GAME_PATH + "' 2>/dev/null; echo status $?");
    EXPECT_EQ(out, "glfwInit failed\nstatus 255");
}

class RunningGame : public ::testing::Test {
protected:
    std::unique_ptr<ChildProcess> game;
    std::string window;

    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        game.reset(new ChildProcess(GAME_PATH, BUILD_DIR));
        ASSERT_TRUE(game->started());
        window = FindWindow();
        ASSERT_FALSE(window.empty());
    }

    std::string FindWindow() { return Shell("xdotool search --sync --onlyvisible --name '" + kTitle + "' | head -1"); }

    // The game's visible window, titled or not (a fullscreen window has no title), found by its process.
    std::string AnyWindow() {
        const std::string pid = Shell("pgrep -n -x tolvane-golf");
        if (pid.empty()) return "";
        return Shell("xdotool search --onlyvisible --pid " + pid + " 2>/dev/null | head -1");
    }

    // Xvfb has no window manager: focus follows the pointer, so move it in and then focus.
    void Key(const std::string& key) {
        Shell("xdotool mousemove --window " + window + " 100 100");
        Shell("xdotool windowfocus --sync " + window);
        Shell("xdotool key " + key);
    }

    // The window's size, once a visible window is there (a replaced window is a new one).
    std::string Geometry() {
        window = AnyWindow();
        if (window.empty()) return "";
        return Shell("xdotool getwindowgeometry " + window + " 2>/dev/null | grep Geometry");
    }
};

}  // namespace

TEST_F(RunningGame, F4QuitsWithStatusZero) {
    Key("F4");
    EXPECT_EQ(game->WaitExit(), 0);
}

TEST_F(RunningGame, F11SwitchesToTheDesktopSizeAndBack) {
    const std::string screen = Shell("xdpyinfo | awk '/dimensions/ {print $2}'");
    EXPECT_EQ(Geometry(), "  Geometry: 640x480");
    Key("F11");
    std::string full;
    for (int i = 0; i < 100 && full != "  Geometry: " + screen; ++i) full = Geometry();   // poll the swap
    EXPECT_EQ(full, "  Geometry: " + screen);
    Key("F11");
    std::string back;
    for (int i = 0; i < 100 && back != "  Geometry: 640x480"; ++i) back = Geometry();
    EXPECT_EQ(back, "  Geometry: 640x480");
    Key("F4");
    EXPECT_EQ(game->WaitExit(), 0);
}
