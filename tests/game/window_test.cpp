// The real executable as a process under Xvfb: it opens its titled 640 x 480 window centred on the
// desktop, and the window's close button ends it with status 0. Without a display it reports that GLFW
// could not start and ends with status -1.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <memory>
#include <string>

#include "tests/host/process.h"

namespace {

const std::string kTitle = "Grubnik in Tolvane Golf";

// Sends the window manager's close request (what the title bar's close button sends).
void SendCloseRequest(unsigned long window) {
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &e);
    XFlush(display);
    XCloseDisplay(display);
}

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

}  // namespace
