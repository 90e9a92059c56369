// tests/game/running_game.h: the real executable as a process under Xvfb, driven by real X events: its
// window found by title, focus, keys held until the game has seen them, and the window's pixels read
// back to tell the loading screen from the title menu at rest.
#pragma once

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/host/process.h"

inline const std::string kTitle = "Grubnik in Tolvane Golf";

class RunningGame : public ::testing::Test {
protected:
    std::unique_ptr<ChildProcess> game;
    std::string window;

    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        Start(BUILD_DIR);
    }

    // Starts the game with `folder` as its working folder and finds its window.
    void Start(const std::string& folder) {
        game.reset(new ChildProcess(GAME_PATH, folder));
        ASSERT_TRUE(game->started());
        window = FindWindow();
        ASSERT_FALSE(window.empty());
    }

    std::string FindWindow() { return Shell("xdotool search --sync --onlyvisible --name '" + kTitle + "' | head -1"); }

    // The game's visible window, titled or not (a fullscreen window has no title), found by its process.
    std::string AnyWindow() {
        if (!game || !game->started()) return "";   // this test's own game, not another test's
        return Shell("xdotool search --onlyvisible --pid " + std::to_string(game->pid()) + " 2>/dev/null | head -1");
    }

    // Xvfb has no window manager: focus follows the pointer, so move it in and then focus.
    void Focus() {
        Shell("xdotool mousemove --window " + window + " 100 100");
        Shell("xdotool windowfocus --sync " + window);
    }
    void Key(const std::string& key) {
        Focus();
        Shell("xdotool key " + key);
    }

    // Holds a key down until `done` says the game has seen it: the menu reads keys that are down during
    // an update, which a press and release sent together could slip between.
    bool Hold(const std::string& key, const std::function<bool()>& done) {
        Focus();
        Shell("xdotool keydown " + key);
        const bool seen = Poll(done);
        Shell("xdotool keyup " + key);
        return seen;
    }

    // Polls `done` until it holds; the deadline only keeps a broken build from hanging the suite.
    static bool Poll(const std::function<bool()>& done, int seconds = 20) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end)
            if (done()) return true;
        return false;
    }

    // The window's pixels in a rectangle, read back from the X server as 0xRRGGBB values.
    std::vector<unsigned long> Pixels(int x, int y, int w, int h) {
        std::vector<unsigned long> out;
        Display* display = XOpenDisplay(nullptr);
        if (!display) return out;
        XImage* image = XGetImage(display, std::stoul(window), x, y, w, h, AllPlanes, ZPixmap);
        if (image) {
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i) out.push_back(XGetPixel(image, i, j) & 0xFFFFFF);
            XDestroyImage(image);
        }
        XCloseDisplay(display);
        return out;
    }
    std::vector<unsigned long> Picture() { return Pixels(0, 0, 640, 480); }

    // Waits until the picture has stopped changing (loading done, menu slid in, carousel at rest) and
    // returns it. The screen is drawn 60 times a second, so a quarter of a second unchanged is at rest.
    std::vector<unsigned long> Settled() {
        std::vector<unsigned long> last = Picture();
        auto since = std::chrono::steady_clock::now();
        Poll([&] {
            std::vector<unsigned long> now = Picture();
            if (now != last) {
                last = now;
                since = std::chrono::steady_clock::now();
            }
            return std::chrono::steady_clock::now() - since > std::chrono::milliseconds(250);
        });
        return last;
    }

    // The title menu at rest: a settled picture that is neither the empty window nor a loading screen
    // held still by a slow step (its corner shows the loading screen's plain background).
    std::vector<unsigned long> Menu() {
        std::vector<unsigned long> picture;
        Poll([&] {
            picture = Settled();
            return !picture.empty() && picture[5 * 640 + 5] != 0x282850 && picture[5 * 640 + 5] != 0;
        });
        return picture;
    }

    // The window's size, once a visible window is there (a replaced window is a new one).
    std::string Geometry() {
        window = AnyWindow();
        if (window.empty()) return "";
        return Shell("xdotool getwindowgeometry " + window + " 2>/dev/null | grep Geometry");
    }
};

