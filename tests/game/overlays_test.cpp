// The pause menu, the game-over overlay and the badge pop-ups through real frames.
#include "tests/game/myapp_fixture.h"

namespace {

const int kEscape = 27, kEnter = 13, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

class Overlays : public Game {
protected:
    void Pause(bool byKey) {
        StartGame(1);
        if (byKey) Key(kEscape);
        else Click(16, 16);
        for (int i = 0; i < 20; ++i) Step();   // the panel slides in
    }
    // The effects played since `mark`: sound, rate and volume of each.
    std::vector<float> Sound(int mark) const {
        std::vector<float> out;
        for (const Sfx& s : Played(mark)) out.insert(out.end(), {float(s.sound), s.rate, s.volume});
        return out;
    }
};

}  // namespace

TEST_F(Overlays, PausedByKeyOrButtonResumedByBackResumeButtonOrFire) {
    enum How { kKey, kButton, kFire };
    for (auto [pause, resume] : {std::pair{kKey, kKey}, {kButton, kButton}, {kKey, kFire}}) {
        SCOPED_TRACE(testing::Message() << "pause " << pause << " resume " << resume);
        Pause(pause == kKey);
        EXPECT_TRUE(app->m_paused == 1 && app->m_pauseY == 320);   // 24 an update while above the middle
        const int cursor = app->m_channelCursor;
        if (resume == kButton) Click(400, 320);
        else Key(resume == kKey ? kEscape : kEnter);
        EXPECT_EQ(Sound(cursor), (std::vector<float>{98, 1, 0.5f}));
        for (int i = 1; i <= 13; ++i) Step();
        EXPECT_EQ(app->m_paused, 1);
        Step();   // the 15th update takes the panel above -32
        EXPECT_TRUE(app->m_paused == 0 && app->m_pauseY == -40);
    }
}

// The cursor: -1 the end button, 0 resume in the centre, 1 the options gear.
TEST_F(Overlays, CursorMovesAndSoundsOncePerPressAndCarriesTheHighlight) {
    const struct {
        int from, key, to;
        float rate;   // 0: no sound
    } cases[] = {{0, kLeft, -1, 0.8f}, {0, kUp, -1, 0.8f},  {0, kRight, 1, 1.2f}, {-1, kRight, 0, 0.8f},
                 {-1, kDown, 0, 0.8f}, {1, kLeft, 0, 0.8f}, {1, kDown, 0, 0.8f},  {-1, kLeft, -1, 0},
                 {1, kRight, 1, 0},    {0, kDown, 0, 0},    {-1, kUp, -1, 0},     {1, kUp, 1, 0}};
    Pause(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " key " << c.key);
        app->m_pauseCursor = c.from;
        const int cursor = app->m_channelCursor;
        Key(c.key, 2);   // held: no second move
        EXPECT_EQ(app->m_pauseCursor, c.to);
        EXPECT_EQ(Sound(cursor), c.rate ? (std::vector<float>{98, c.rate, 0.5f}) : std::vector<float>{});
        auto lit = [&](const Cmd& d) {
            return d.kind == kIconsSlot && d.frame == 6 && d.x == 400 + 140 * c.to &&
                   d.y == (c.to ? 256 : 320);
        };
        EXPECT_EQ(Count(lit), 1);
    }
    app->m_pauseCursor = 1;   // fire on the gear opens the options box; a tap on End ends the game at once
    int cursor = app->m_channelCursor;
    Key(kEnter);
    EXPECT_EQ(app->m_optionsOpen, 1);
    EXPECT_EQ(Sound(cursor), (std::vector<float>{98, 1, 0.5f}));
    app->m_optionsOpen = app->m_optionsAnim = 0;   // closed at once: a closing box holds the latches
    Step();
    cursor = app->m_channelCursor;
    Tap(260, 256), Step();
    EXPECT_TRUE(app->m_paused == 0 && app->m_gameOver == 1 && app->m_overTimer == 1 && app->m_pauseY == -64);
    EXPECT_EQ(Sound(cursor), (std::vector<float>{98, 0.5f, 0.5f}));
}

TEST_F(Overlays, OnlyTheFirstFireButtonPressesTheEndButtonAndATapOpensTheOptions) {
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
    EXPECT_EQ(Sound(cursor), (std::vector<float>{99, 1, 1}));
}

// "GAME" comes down 12 a frame to 0.45 H; at 90 the game ends (mode 2) and the overlay retracts by 2 an
// update, holding the latches until it is gone.
TEST_F(Overlays, GameOverGrowsEndsTheGameAt90AndRetractsOverTheMenu) {
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
    const struct {
        std::vector<int> best;   // the best ten of game type 2, the rest 0
        int score;
        const char* line;
    } cases[] = {{{}, 0, "NewHighscore1st!"},
                 {{900, 800, 500, 400}, 500, "NewHighscore3rd"},
                 {std::vector<int>(10, 1000), 500, ""}};
    for (const auto& c : cases) {
        app->m_gameType = 2;
        for (int j = 0; j < 10; ++j) app->m_highscores[10 + j] = j < int(c.best.size()) ? c.best[j] : 0;
        app->m_score = c.score;
        app->m_mode = 10, app->m_gameOver = 1, app->m_overTimer = 30;
        Step();
        std::string text;   // the glyphs drawn, spaces left out
        for (const Line& l : Text()) text += l.text;
        EXPECT_NE(text.find("GAMEOVER" + std::string(c.line)), std::string::npos) << text;
        EXPECT_EQ(text.find("New") == std::string::npos, !*c.line) << text;
    }
}

// A pop-up slides in 16 pixels a frame, out from age 230, freed past 240; only badges below 64 have a
// picture; slots 13 and 14 are never shown.
TEST_F(Overlays, BadgePopUpsSlideInStayAndLeaveWithAge) {
    const struct {
        int slot, id, age;   // age before the update
        float x;             // the box's left edge after it
        bool picture;
    } cases[] = {{0, 5, 1, -128, true}, {1, 63, 9, 0, true},    {2, 64, 10, 0, false},
                 {3, 1, 229, 0, true},  {4, 1, 230, -16, true}, {12, 1, 239, -160, true}};
    for (int s = 0; s < 15; ++s) app->m_badgePopTime[s] = 0;
    for (const auto& c : cases) app->m_badgePopId[c.slot] = c.id, app->m_badgePopTime[c.slot] = c.age;
    app->m_badgePopTime[13] = 1;
    Frame();
    for (const auto& c : cases) {
        const float y = 600 - 34.0f * (c.slot + 1);
        EXPECT_EQ(app->m_badgePopTime[c.slot], c.age + 1) << c.slot;
        EXPECT_EQ(Count([&](const Cmd& d) {
                      return d.kind == kRectCommand && d.x == c.x && d.y == y && d.w == 160;
                  }),
                  1);
        EXPECT_EQ(
            Count([&](const Cmd& d) { return d.kind == kBadgesSlot && d.x == c.x + 144 && d.frame == c.id; }),
            c.picture ? 1 : 0)
            << c.slot;
    }
    EXPECT_EQ(app->m_badgePopTime[13], 1);
    Frame();
    EXPECT_EQ(app->m_badgePopTime[12], 0);   // past 240: the slot is free again
    EXPECT_EQ(app->m_badgePopTime[4], 232);
}
