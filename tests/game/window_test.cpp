// The real executable under Xvfb, driven by real X events.
#include "tests/game/running_game.h"   // first: gtest before the X headers' macros
#include "tests/common/x_screen.h"

namespace {

class GameWindow : public RunningGame {
protected:
    zk_test::ScratchDir scratch{"whole-game"};
};

}  // namespace

TEST_F(GameWindow, OpensCentredF11SwitchesToTheDesktopSizeAndBackAndTheCloseButtonEndsIt) {
    Start(BUILD_DIR, GAME_PATH);
    const std::string info = Shell("xwininfo -id " + window);
    const zk_test::ScreenSize screen = zk_test::XScreenSize();
    for (const std::string& line : {std::string("Width: 640"), std::string("Height: 480"),
                                    "Absolute upper-left X:  " + std::to_string((screen.width - 640) / 2),
                                    "Absolute upper-left Y:  " + std::to_string((screen.height - 480) / 2)})
        EXPECT_NE(info.find(line), std::string::npos) << line << " in " << info;
    const std::string full = "  Geometry: " + std::to_string(screen.width) + "x" + std::to_string(screen.height);
    for (const std::string& want : {full, std::string("  Geometry: 640x480")}) {
        Key("F11");
        EXPECT_TRUE(Poll([&] { return Geometry() == want; })) << want;
    }
    SendCloseRequest(std::stoul(window));
    EXPECT_EQ(game->WaitExit(), 0) << game->Transcript();
}

TEST_F(GameWindow, EscapeOnTheTitleMenuQuitsWithStatusZeroEvenWithoutData) {
    Start(scratch.path(), GAME_PATH);
    ASSERT_FALSE(Menu().empty());
    int status = -1000;
    Hold("Escape", [&] { return (status = game->WaitExit(0.05)) != -1000; });
    EXPECT_EQ(status, 0);
}

TEST_F(GameWindow, ATenSecondGameIsFiledSavedAndShownAfterARestart) {
    ASSERT_EQ(symlink(BUILD_DIR "/data", (scratch / "data").c_str()), 0);
    Start(scratch.path(), GAME_PATH);
    std::vector<unsigned long> emptyPanel;
    ASSERT_TRUE(PlayTenSecondGame(emptyPanel));
    Key("F4");
    ASSERT_EQ(game->WaitExit(), 0);
    const long long score = FiledTenSecondScore(zk_test::ReadFile(scratch / ".zanthstate"));

    Start(scratch.path(), GAME_PATH);
    ExpectScoreShown(score, emptyPanel);
    Key("F4");
    EXPECT_EQ(game->WaitExit(), 0);
}
