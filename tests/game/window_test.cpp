// The real executable as a process under Xvfb, driven by real X events: it opens its titled 640 x 480
// window centred on the desktop; the window's close button and F4 end it with status 0; F11 switches to a
// fullscreen window at the desktop's size and back. Without a display it reports that GLFW could not
// start and ends with status -1. On the title menu the back key (Escape) ends the program with status 0,
// and a whole game played with real keys is filed, saved and shown after a restart.
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

#include "tests/game/saved_state.h"
#include "tests/game/running_game.h"

namespace {

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
    std::string folder;

    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        char dir[] = "/tmp/whole-game-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        folder = dir;
        ASSERT_EQ(symlink(BUILD_DIR "/data", (folder + "/data").c_str()), 0);
        Start(folder);
    }
    void TearDown() override {
        if (!folder.empty()) Shell("rm -rf '" + folder + "'");
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
