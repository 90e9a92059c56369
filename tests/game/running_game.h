// tests/game/running_game.h: the real game as a process under Xvfb, driven by real X events, its window's
// pixels read back.
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
#include "tests/common/process.h"

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
    // Starts `program` in `folder` (through `launcher`, if any) and finds its window.
    void Start(const std::string& folder, const std::string& program, const std::string& launcher = "") {
        game.reset(new ChildProcess(program, folder, launcher));
        ASSERT_TRUE(game->started());
        window = Shell("xdotool search --sync --onlyvisible --name '" + kTitle + "' | head -1");
        ASSERT_FALSE(window.empty());
    }
    // Xvfb has no window manager: the pointer moves in, then the focus. `Hold` keeps the key down until the
    // game has seen it (a press and release sent together could slip between two updates).
    void Key(const std::string& key) { Shell(Focus() + " key " + key); }
    bool Hold(const std::string& key, const std::function<bool()>& done) {
        Shell(Focus() + " keydown " + key);
        const bool seen = Poll(done);
        Shell("xdotool keyup " + key);
        return seen;
    }
    std::string Focus() {
        return "xdotool mousemove --window " + window + " 100 100 windowfocus --sync " + window;
    }
    std::vector<unsigned long> Pixels(int x, int y, int w, int h) {   // as 0xRRGGBB
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
    // The picture once it has not changed for a quarter of a second (15 frames).
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
    // The title menu at rest, or empty: a settled picture whose corner is neither the empty window nor the
    // loading screen's background (a slow loading step can hold still).
    std::vector<unsigned long> Menu() {
        std::vector<unsigned long> picture;
        const bool menu = Poll([&] {
            picture = Settled();
            return !picture.empty() && picture[5 * 640 + 5] != 0x282850 && picture[5 * 640 + 5] != 0;
        });
        return menu ? picture : std::vector<unsigned long>{};
    }
    bool ThirdItem() {   // the title menu with the 10-second game chosen
        std::vector<unsigned long> menu = Menu();
        for (int i = 0; i < 2 && !menu.empty(); ++i) {
            if (!Hold("Right", [&] { return Pixels(0, 0, 640, 480) != menu; })) return false;
            menu = Settled();
        }
        return !menu.empty();
    }
    std::vector<unsigned long> Panel() { return Pixels(530, 40, 110, 440); }   // the best and last ten
    // The 10-second game chosen, started, five swings (a ball every 100 frames; a held space swings once),
    // until the title menu is back; `emptyPanel` gets the panel as it was before.
    bool PlayTenSecondGame(std::vector<unsigned long>& emptyPanel) {
        if (!ThirdItem()) return false;
        emptyPanel = Panel();
        const std::vector<unsigned long> corner = Pixels(2, 2, 20, 20);
        if (!Hold("Return", [&] { return Pixels(2, 2, 20, 20) != corner; })) return false;
        Shell("xdotool windowfocus --sync " + window);
        for (int swing = 0; swing < 5; ++swing) {
            Shell("xdotool keydown space");
            usleep(1200 * 1000);
            Shell("xdotool keyup space");
            usleep(200 * 1000);
        }
        return Poll([&] { return Pixels(2, 2, 20, 20) == corner; }, 40);
    }
    // The last 10-second score in a saved text (-1 if its checksums fail): at the top of the best ten when
    // above 0, the other game types' tables empty.
    static long long FiledTenSecondScore(const std::string& text) {
        if (!saved_state::ChecksumsHold(text)) return ADD_FAILURE() << text, -1;
        const std::vector<std::string> v = saved_state::Split(text, '|');
        const long long best = std::stoll(v[35 + 21 * 2]), last = std::stoll(v[35 + 21 * 2 + 1]);
        EXPECT_EQ(best, last > 0 ? last : 0) << "a score above 0 tops the empty best ten";
        for (int j = 0; j < 42; ++j) EXPECT_EQ(v[35 + j], "0") << "the other game types' tables";
        return last;
    }
    // A game started again loads every block and shows `score` in the panel (0 leaves it empty).
    void ExpectScoreShown(long long score, const std::vector<unsigned long>& emptyPanel) {
        for (const std::string& line : saved_state::kLoaded) EXPECT_TRUE(game->WaitFor(line)) << line;
        ASSERT_TRUE(ThirdItem());
        EXPECT_EQ(Panel() != emptyPanel, score > 0) << score;
    }
    // The size of the process's visible window (the fullscreen one is a new window without a title).
    std::string Geometry() {
        window = Shell("xdotool search --onlyvisible --pid " + std::to_string(game->pid()) +
                       " 2>/dev/null | head -1");
        return window.empty() ? ""
                              : Shell("xdotool getwindowgeometry " + window + " 2>/dev/null | grep Geometry");
    }
};
