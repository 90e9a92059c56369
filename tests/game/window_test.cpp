// The real executable under Xvfb, driven by real X events: its titled 640 x 480 window centred on the
// desktop, the close button, F4, F11 to the desktop's size and back, Escape on the title menu, no display,
// and a whole game played with real keys, filed, saved and shown after a restart.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <X11/Xutil.h>

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/common/scratch.h"
#include "tests/common/x_screen.h"
#include "tests/game/saved_state.h"
#include "tests/host/process.h"

namespace {

const std::string kTitle = "Grubnik in Tolvane Golf";

TEST(GameWindow, OpensTitledAndCentredAndItsCloseButtonEndsTheGameWithStatusZero) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    ChildProcess game(GAME_PATH, BUILD_DIR);
    ASSERT_TRUE(game.started());
    std::string window = Shell("xdotool search --sync --onlyvisible --name '" + kTitle + "' | head -1");
    ASSERT_FALSE(window.empty());

    const std::string info = Shell("xwininfo -id " + window);
    const zk_test::ScreenSize screen = zk_test::XScreenSize();
    for (const std::string& line : {std::string("Width: 640"), std::string("Height: 480"),
                                    "Absolute upper-left X:  " + std::to_string((screen.width - 640) / 2),
                                    "Absolute upper-left Y:  " + std::to_string((screen.height - 480) / 2)})
        EXPECT_NE(info.find(line), std::string::npos) << line << " in " << info;

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
        const std::string pid = Shell("pgrep -n -x tolvane-golf");
        if (pid.empty()) return "";
        return Shell("xdotool search --onlyvisible --pid " + pid + " 2>/dev/null | head -1");
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

}  // namespace

// F11 swaps the window for a fullscreen one and back; F4 then quits with status 0.
TEST_F(RunningGame, F11SwitchesToTheDesktopSizeAndBackAndF4Quits) {
    const zk_test::ScreenSize screen = zk_test::XScreenSize();
    const std::string full = "  Geometry: " + std::to_string(screen.width) + "x" + std::to_string(screen.height);
    EXPECT_EQ(Geometry(), "  Geometry: 640x480");
    for (const std::string& want : {full, std::string("  Geometry: 640x480")}) {
        Key("F11");
        EXPECT_TRUE(Poll([&] { return Geometry() == want; })) << want;   // the swap takes a while
    }
    Key("F4");
    EXPECT_EQ(game->WaitExit(), 0);
}

TEST_F(RunningGame, EscapeOnTheTitleMenuQuitsWithStatusZero) {
    ASSERT_FALSE(Menu().empty());
    int status = -1000;
    Hold("Escape", [&] { return (status = game->WaitExit(0.05)) != -1000; });
    EXPECT_EQ(status, 0);
}

// A whole game as a player plays it, in a folder of its own (its data/ is the build's): the 10-second game
// is picked on the title menu, played with the space bar until the menu comes back, and the program quits
// with F4. The saved state then holds the score in that game type's tables with valid checksums, and a
// second start loads all five blocks and shows the score in the menu's panel.
class WholeGame : public RunningGame {
protected:
    zk_test::ScratchDir scratch{"whole-game"};
    std::string folder = scratch.path();

    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        ASSERT_EQ(symlink(BUILD_DIR "/data", (folder + "/data").c_str()), 0);
        Start(folder);
    }
    std::string SavedText() {
        std::ifstream in(folder + "/.zanthstate");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The title menu with the 10-second game (the third item) chosen.
    std::vector<unsigned long> ThirdItem() {
        std::vector<unsigned long> menu = Menu();
        for (int i = 0; i < 2 && !menu.empty(); ++i) {
            if (!Hold("Right", [&] { return Picture() != menu; })) return {};
            menu = Settled();
        }
        return menu;
    }
    std::vector<unsigned long> Panel() { return Pixels(530, 40, 110, 440); }   // best ten and last ten
};

TEST_F(WholeGame, ATenSecondGameIsFiledSavedAndShownAfterARestart) {
    ASSERT_FALSE(ThirdItem().empty());
    const std::vector<unsigned long> emptyPanel = Panel(), corner = Pixels(2, 2, 20, 20);
    ASSERT_TRUE(Hold("Return", [&] { return Pixels(2, 2, 20, 20) != corner; })) << "the game starts";
    Shell("xdotool windowfocus --sync " + window);
    for (int swing = 0; swing < 5; ++swing) {   // a ball comes every 100 frames; a held space swings once
        Shell("xdotool keydown space");
        usleep(1200 * 1000);
        Shell("xdotool keyup space");
        usleep(200 * 1000);
    }
    ASSERT_TRUE(Poll([&] { return Pixels(2, 2, 20, 20) == corner; }, 40)) << "back on the title menu";
    Key("F4");
    ASSERT_EQ(game->WaitExit(), 0);

    const std::string text = SavedText();
    ASSERT_TRUE(saved_state::ChecksumsHold(text)) << text;
    std::vector<long long> v;
    for (const std::string& piece : saved_state::Split(text, '|'))
        if (!piece.empty()) v.push_back(std::stoll(piece));
    const long long best = v[35 + 21 * 2], last = v[35 + 21 * 2 + 1];   // entries 20 and 50: the 10-second tables
    EXPECT_EQ(best, last > 0 ? last : 0) << "a score above 0 tops the empty best ten";
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 20; ++j) EXPECT_EQ(v[35 + 21 * k + j], 0) << "the other game types' tables";

    Start(folder);
    for (const std::string& line : saved_state::kLoaded) EXPECT_TRUE(game->WaitFor(line)) << line;
    ASSERT_FALSE(ThirdItem().empty());
    if (last > 0) EXPECT_NE(Panel(), emptyPanel) << "the score " << last << " in the panel";
    else EXPECT_EQ(Panel(), emptyPanel);
    Key("F4");
    EXPECT_EQ(game->WaitExit(), 0);
}
