// The pause menu, the game-over overlay and the badge pop-ups through real frames.
#include "tests/game/myapp_fixture.h"

namespace {

const int kEscape = 27, kEnter = 13, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

class Overlays : public Game {
protected:
    void Pause(bool byKey) {
        StartGame(1);
        byKey ? Key(kEscape) : Click(16, 16);
        for (int i = 0; i < 20; ++i) Step();   // the panel slides in
    }
};

}  // namespace

TEST_F(Overlays, PausedByKeyOrButtonResumedByBackResumeButtonOrFireAndOnlyTheFirstFirePressesEnd) {
    enum How { kKey, kButton, kFire };
    for (auto [pause, resume] : {std::pair{kKey, kKey}, {kButton, kButton}, {kKey, kFire}}) {
        SCOPED_TRACE(testing::Message() << "pause " << pause << " resume " << resume);
        Pause(pause == kKey);
        // 24 an update while above the middle; the tune paused with the game
        EXPECT_TRUE(app->m_paused == 1 && app->m_pauseY == 320 && zk_audio_device->MusicState() == 2);
        const int cursor = app->m_channelCursor;
        resume == kButton ? Click(400, 320) : Key(resume == kKey ? kEscape : kEnter);
        EXPECT_EQ(Played(cursor), (Floats{98, 1, 0.5f}));
        for (int i = 1; i <= 13; ++i) Step();
        EXPECT_EQ(app->m_paused, 1);
        Step();   // the 15th update takes the panel above -32
        EXPECT_TRUE(app->m_paused == 0 && app->m_pauseY == -40);
        Step();   // the tune follows the pause an update later
        EXPECT_EQ(zk_audio_device->MusicState(), 1);
    }
    const int padA = kKeyJoyBase, padB = kKeyJoyBase + 1, padY = kKeyJoyBase + 3, shoulder = kKeyJoyBase + 5;
    for (int key : {16, int('X'), padB, padY, shoulder, int('Z'), kEnter, padA}) {
        Pause(true);
        app->m_pauseCursor = -1;
        Key(key);
        const bool ends = key == 'Z' || key == kEnter || key == padA;
        EXPECT_TRUE(app->m_gameOver == ends && app->m_paused == !ends) << "key " << key;
    }
    Pause(false);
    const int cursor = app->m_channelCursor;
    Tap(540, 256), Step();
    EXPECT_EQ(app->m_optionsOpen, 1);
    EXPECT_EQ(Played(cursor), (Floats{99, 1, 1}));
}

// The cursor: -1 the end button, 0 resume in the centre, 1 the options gear.
TEST_F(Overlays, CursorMovesAndSoundsOncePerPressAndCarriesTheHighlight) {
    const int cases[][4] = {{0, kLeft, -1, 8}, {0, kUp, -1, 8},  {0, kRight, 1, 12}, {-1, kRight, 0, 8},
                            {-1, kDown, 0, 8}, {1, kLeft, 0, 8}, {1, kDown, 0, 8},   {-1, kLeft, -1, 0},
                            {1, kRight, 1, 0}, {0, kDown, 0, 0}, {-1, kUp, -1, 0},   {1, kUp, 1, 0}};
    Pause(true);
    for (auto [from, key, to, rate] : cases) {   // the sound's rate in tenths (0: none)
        SCOPED_TRACE(testing::Message() << from << " key " << key);
        app->m_pauseCursor = from;
        const int cursor = app->m_channelCursor;
        Key(key, 2);   // held: no second move
        EXPECT_EQ(app->m_pauseCursor, to);
        EXPECT_EQ(Played(cursor), rate ? (Floats{98, rate / 10.0f, 0.5f}) : Floats{});
        const float x = 400 + 140 * to, y = to ? 256 : 320;
        auto lit = [&](const Cmd& d) { return d.kind == kIconsSlot && d.frame == 6 && d.x == x && d.y == y; };
        EXPECT_EQ(Count(lit), 1);
    }
    app->m_pauseCursor = 1;   // fire on the gear opens the options box; a tap on End ends the game at once
    int cursor = app->m_channelCursor;
    Key(kEnter);
    EXPECT_EQ(app->m_optionsOpen, 1);
    EXPECT_EQ(Played(cursor), (Floats{98, 1, 0.5f}));
    app->m_optionsOpen = app->m_optionsAnim = 0;   // closed at once: a closing box holds the latches
    Step();
    cursor = app->m_channelCursor;
    Tap(260, 256), Step();
    EXPECT_TRUE(app->m_paused == 0 && app->m_gameOver == 1 && app->m_overTimer == 1 && app->m_pauseY == -64);
    EXPECT_EQ(Played(cursor), (Floats{98, 0.5f, 0.5f}));
}

// "GAME" comes down 12 a frame to 0.45 H; at 90 the game ends (mode 2) and the overlay retracts by 2 an
// update, holding the latches until it is gone.
TEST_F(Overlays, BadgePopUpsSlideInAndLeaveWithAgeAndGameOverGrowsEndsTheGameAt90AndRetracts) {
    // A pop-up slides in 16 pixels a frame, out from age 230, freed past 240; only badges below 64 have a
    // picture; slots 13 and 14 are never shown.
    const int pops[][5] = {{0, 5, 1, -128, 1}, {1, 63, 9, 0, 1},    {2, 64, 10, 0, 0},
                           {3, 1, 229, 0, 1},  {4, 1, 230, -16, 1}, {12, 1, 239, -160, 1}};
    for (int s = 0; s < 15; ++s) app->m_badgePopTime[s] = 0;
    for (auto [slot, id, age, x, picture] : pops)
        app->m_badgePopId[slot] = id, app->m_badgePopTime[slot] = age;
    app->m_badgePopTime[13] = 1;
    Frame();
    for (auto [slot, id, age, x, picture] : pops) {   // x: the box's left edge after the update
        EXPECT_EQ(app->m_badgePopTime[slot], age + 1) << slot;
        Ints drawn = {0, 0};   // the box, the badge's picture
        for (const Cmd& d : Commands()) {
            drawn[0] += d.kind == kRectCommand && d.x == x && d.y == 600 - 34.0f * (slot + 1) && d.w == 160;
            drawn[1] += d.kind == kBadgesSlot && d.x == x + 144 && d.frame == id;
        }
        EXPECT_EQ(drawn, (Ints{1, picture})) << slot;
    }
    EXPECT_EQ(app->m_badgePopTime[13], 1);
    Frame();
    EXPECT_EQ((Ints{app->m_badgePopTime[12], app->m_badgePopTime[4]}), (Ints{0, 232}));   // 12 past 240: free
    StartGame(1);
    ASSERT_EQ(app->m_musicPlaying, 1);
    app->m_gameOver = 1;
    const std::pair<int, float> titleY[] = {{1, 12}, {22, 264}, {23, 270}, {60, 270}};
    int frames = 0;
    for (; app->m_mode == 10 && frames < 200; ++frames) {
        const int T = app->m_overTimer;
        Step();
        for (auto [t, y] : titleY) {   // the four glyphs of "GAME", at scale 4
            if (T != t) continue;
            EXPECT_EQ(Count([&](const Cmd& c) { return c.kind == kFontSlot && c.w == 4 && c.y == y; }), 4);
        }
    }
    EXPECT_TRUE(frames == 90 && app->m_mode == 2 && app->m_musicPlaying == 0);
    EXPECT_EQ(app->m_overTimer, 71);   // 73, less the first retraction of the same update
    Step();
    EXPECT_EQ(app->m_mode, 1);   // retracted twice more by now: 69
    for (frames = 0; app->m_overTimer > 0 && frames < 100; ++frames) {
        EXPECT_EQ(app->m_keyHeld, 1);   // the menu sees no press while the overlay is up
        Step();
    }
    EXPECT_EQ(frames, 35);   // 37 retractions from 73 in all
    Step();
    EXPECT_EQ(app->m_keyHeld, 0);
    const std::tuple<Ints, int, std::string> cases[] = {{{}, 0, "NewHighscore1st!"},
                                                        {{900, 800, 500, 400}, 500, "NewHighscore3rd"},
                                                        {Ints(10, 1000), 500, ""}};
    for (const auto& [best, score, line] : cases) {   // best: game type 2's best ten
        app->m_gameType = 2;
        for (int j = 0; j < 10; ++j) app->m_highscores[10 + j] = j < int(best.size()) ? best[j] : 0;
        app->m_score = score;
        app->m_mode = 10, app->m_gameOver = 1, app->m_overTimer = 30;
        Step();
        std::string text;   // the glyphs drawn, spaces left out
        for (const Line& l : Text()) text += l.text;
        EXPECT_NE(text.find("GAMEOVER" + line), std::string::npos) << text;
        EXPECT_EQ(text.find("New") == std::string::npos, line.empty()) << text;
    }
}
