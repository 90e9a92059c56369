// tests/game/running_game.h: a real executable of the game as a process under Xvfb, driven by real X events:
// its window found by title, focus, keys held until the game has seen them, its pixels read back.
#pragma once

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "harness/saved_state.h"
#include "harness/scratch.h"
#include "tests/host/process.h"

inline const std::string kTitle = "Grubnik in Tolvane Golf";

// Polls `done` until it holds; the deadline only keeps a broken build from hanging the suite.
inline bool Poll(const std::function<bool()>& done, int seconds = 20) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end)
        if (done()) return true;
    return false;
}

class RunningGame : public ::testing::Test {
protected:
    std::unique_ptr<ChildProcess> game;
    std::string window;

    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    }
    // Starts `program` with `folder` as its working folder and finds its window.
    void Start(const std::string& folder, const std::string& program) {
        game.reset(new ChildProcess(program, folder));
        ASSERT_TRUE(game->started());
        window = Shell("xdotool search --sync --onlyvisible --name '" + kTitle + "' | head -1");
        ASSERT_FALSE(window.empty());
    }
    // Xvfb has no window manager: focus follows the pointer, so move it in and then focus. `Key` sends a
    // press and a release; `Hold` keeps the key down until `done` says the game has seen it (a press and
    // release sent together could slip between two updates).
    std::string Focus() {
        return "xdotool mousemove --window " + window + " 100 100 windowfocus --sync " + window;
    }
    void Key(const std::string& key) { Shell(Focus() + " key " + key); }
    bool Hold(const std::string& key, const std::function<bool()>& done) {
        Shell(Focus() + " keydown " + key);
        const bool seen = Poll(done);
        Shell("xdotool keyup " + key);
        return seen;
    }
    // The window's pixels in a rectangle as 0xRRGGBB values.
    std::vector<unsigned long> Pixels(int x, int y, int w, int h) {
        std::vector<unsigned long> out;
        Display* display = XOpenDisplay(nullptr);
        if (!display) return out;
        if (XImage* image = XGetImage(display, std::stoul(window), x, y, w, h, AllPlanes, ZPixmap)) {
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i) out.push_back(XGetPixel(image, i, j) & 0xFFFFFF);
            XDestroyImage(image);
        }
        XCloseDisplay(display);
        return out;
    }
    // The picture once it has not changed for a quarter of a second (60 frames a second are drawn).
    std::vector<unsigned long> Settled() {
        std::vector<unsigned long> last = Pixels(0, 0, 640, 480);
        auto since = std::chrono::steady_clock::now();
        Poll([&] {
            std::vector<unsigned long> now = Pixels(0, 0, 640, 480);
            if (now != last) last = now, since = std::chrono::steady_clock::now();
            return std::chrono::steady_clock::now() - since > std::chrono::milliseconds(250);
        });
        return last;
    }
    // The title menu at rest (empty if it never comes): a settled picture whose corner is neither the
    // empty window nor the loading screen's plain background (a slow loading step can hold still).
    std::vector<unsigned long> Menu() {
        std::vector<unsigned long> picture;
        const bool menu = Poll([&] {
            picture = Settled();
            return !picture.empty() && picture[5 * 640 + 5] != 0x282850 && picture[5 * 640 + 5] != 0;
        });
        return menu ? picture : std::vector<unsigned long>{};
    }
};
