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
#include "tests/game/running_game.h"

namespace {

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
