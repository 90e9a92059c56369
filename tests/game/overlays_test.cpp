// The pause menu, the game-over overlay and the badge pop-ups through real frames: keys and taps in, the
// display list and the sounds on the audio channels out.
#include <AL/al.h>

#include "tests/game/myapp_fixture.h"

namespace {

const int kEscape = 27, kEnter = 13, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

class Overlays : public Game {
protected:
    void StartPlay() {
        StartGame(1);
        ASSERT_EQ(app->m_mode, 10);
    }
    void Pause(bool byKey) {
        if (byKey) Key(kEscape);
        else Click(16, 16);
        for (int i = 0; i < 20; ++i) Step();   // the panel slides in
    }
    // The last effect since the channel cursor stood at `cursor`: its sound, rate and volume (sound -1: none).
    void ExpectSound(int cursor, int sound, float rate = 0, float volume = 0.5f) const {
        if (sound < 0) {
            EXPECT_EQ(app->m_channelCursor, cursor);
            return;
        }
        const gxtkChannel& ch = gxtkAudio::audio->channels[app->m_channels[app->m_channelCursor]];
        float pitch = 0, gain = 0;
        alGetSourcef(ch.source, AL_PITCH, &pitch);
        alGetSourcef(ch.source, AL_GAIN, &gain);
        EXPECT_TRUE(app->m_channelCursor != cursor && ch.sample == app->m_sounds[sound]->m_sample);
        EXPECT_FLOAT_EQ(pitch, rate);
        EXPECT_FLOAT_EQ(gain, volume);
    }
};

TEST_F(Overlays, NewHighscoreLineNamesThePlaceOfAPlacingScore) {
    struct Case {
        std::vector<int> best;   // the best ten of the game type, the rest 0
        int score;
        const char* line;
    };
    const Case cases[] = {{{}, 0, "NewHighscore1st!"},
                          {{900, 800, 500, 400}, 500, "NewHighscore3rd"},
                          {std::vector<int>(10, 1000), 500, ""}};
    for (const Case& c : cases) {
        app->m_gameType = 2;
        for (int j = 0; j < 10; ++j) app->m_highscores[10 + j] = j < int(c.best.size()) ? c.best[j] : 0;
        app->m_score = c.score;
        app->m_mode = 10, app->m_gameOver = 1, app->m_overTimer = 30;
        Step();
        std::string text;   // the glyphs drawn, spaces left out
        for (const Cmd& d : Commands())
            if (d.kind == app->m_fontSlot) text += static_cast<char>(d.frame + 32);
        EXPECT_NE(text.find(std::string("GAMEOVER") + c.line), std::string::npos) << text;
        EXPECT_EQ(text.find("New") == std::string::npos, !*c.line) << text;
    }
}

}  // namespace

TEST_F(Overlays, PausedByKeyOrButtonResumedByBackResumeButtonOrFire) {
    enum How { kKey, kButton, kFire };
    for (auto [pause, resume] : {std::pair{kKey, kKey}, {kButton, kButton}, {kKey, kFire}}) {
        SCOPED_TRACE(testing::Message() << "pause " << pause << " resume " << resume);
        StartPlay();
        Pause(pause == kKey);
        ASSERT_EQ(app->m_paused, 1);
        EXPECT_EQ(app->m_pauseY, 320);   // rises by 24 while above the middle of a 600-high screen
        const int cursor = app->m_channelCursor;
        if (resume == kButton) Click(400, 320);
        else Key(resume == kKey ? kEscape : kEnter);
        ExpectSound(cursor, 98, 1);
        for (int i = 1; i <= 13; ++i) Step();
        EXPECT_EQ(app->m_paused, 1);
        Step();   // the 15th update takes the panel above -32
        EXPECT_EQ(app->m_paused, 0);
        EXPECT_EQ(app->m_pauseY, -40);
    }
}

TEST_F(Overlays, CursorMovesAndSoundsOncePerPressAndCarriesTheHighlight) {
    struct Case {
        int from, key, to;
        float rate;   // 0: no sound
    };
    const Case cases[] = {{0, kLeft, -1, 0.8f}, {0, kUp, -1, 0.8f}, {0, kRight, 1, 1.2f}, {-1, kRight, 0, 0.8f},
                          {-1, kDown, 0, 0.8f}, {1, kLeft, 0, 0.8f},  {1, kDown, 0, 0.8f},   {-1, kLeft, -1, 0},
                          {1, kRight, 1, 0},    {0, kDown, 0, 0}};
    StartPlay();
    Pause(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " key " << c.key);
        app->m_pauseCursor = c.from;
        const int cursor = app->m_channelCursor;
        Key(c.key, 2);   // held: no second move
        EXPECT_EQ(app->m_pauseCursor, c.to);
        ExpectSound(cursor, c.rate > 0 ? 98 : -1, c.rate);
        EXPECT_EQ(Count([&](const Cmd& d) {
                      return d.kind == kIconsSlot && d.frame == 6 && d.x == 400 + 140 * c.to &&
                             d.y == (c.to ? 256 : 320);
                  }),
                  1);
    }
    app->m_pauseCursor = 1;   // fire on the gear opens the options box; a tap on End ends the game at once
    int cursor = app->m_channelCursor;
    Key(kEnter);
    EXPECT_EQ(app->m_optionsOpen, 1);
    ExpectSound(cursor, 98, 1);
    app->m_optionsOpen = app->m_optionsAnim = 0;   // closed at once: a closing box holds the latches
    Step();
    cursor = app->m_channelCursor;
    Tap(260, 256), Step();
    EXPECT_TRUE(app->m_paused == 0 && app->m_gameOver == 1 && app->m_overTimer == 1);
    ExpectSound(cursor, 98, 0.5f);
}

// Fire on a pause button is the first fire button alone: Shift, the second button, pad B or a shoulder on
// the end button leave the game paused.
TEST_F(Overlays, OnlyTheFirstFireButtonPressesTheEndButton) {
    const int padA = kKeyJoyBase, padB = kKeyJoyBase + 1, padY = kKeyJoyBase + 3, shoulder = kKeyJoyBase + 5;
    const struct {
        int key;
        bool ends;
    } cases[] = {{16, false},       {'X', false}, {padB, false},  {padY, false},
                 {shoulder, false}, {'Z', true},  {kEnter, true}, {padA, true}};
    for (const auto& c : cases) {
        StartPlay();
        Pause(true);
        app->m_pauseCursor = -1;
        Key(c.key);
        EXPECT_EQ(app->m_gameOver, c.ends ? 1 : 0) << "key " << c.key;
        EXPECT_EQ(app->m_paused, c.ends ? 0 : 1) << "key " << c.key;
    }
}

TEST_F(Overlays, GameOverGrowsEndsTheGameAt90AndRetractsOverTheMenu) {
    StartPlay();
    ASSERT_EQ(app->m_musicPlaying, 1);
    app->m_gameOver = 1;
    const std::pair<int, float> titleY[] = {{1, 12}, {22, 264}, {23, 270}, {60, 270}};   // "GAME" at 12 T, to 0.45 H
    int frames = 0;
    while (app->m_mode == 10 && frames < 200) {
        const int T = app->m_overTimer;
        Step();
        ++frames;
        for (auto [t, y] : titleY)   // the first glyph drawn at scale 4
            if (T == t) {
                EXPECT_EQ(Count([&](const Cmd& c) { return c.kind == app->m_fontSlot && c.w == 4 && c.y == y; }), 4);
            }
    }
    EXPECT_EQ(frames, 90);
    EXPECT_EQ(app->m_mode, 2);
    EXPECT_EQ(app->m_overTimer, 71);   // 73, less the first retraction of the same update
    EXPECT_EQ(app->m_musicPlaying, 0);
    Step();
    EXPECT_EQ(app->m_mode, 1);   // retracted twice more by now: 69
    for (frames = 0; app->m_overTimer > 0 && frames < 100; ++frames) {
        EXPECT_EQ(app->m_keyHeld, 1);   // the menu sees no press while the overlay is up
        Step();
    }
    EXPECT_EQ(frames, 35);   // 37 retractions from 73 in all
    Step();
    EXPECT_EQ(app->m_keyHeld, 0);
}

TEST_F(Overlays, BadgePopUpsSlideInStayAndLeaveWithAge) {
    struct Case {
        int slot, id, age;   // age before the update
        float x;             // the box's left edge after it
        bool picture;
    };
    const Case cases[] = {{0, 5, 1, -128, true},   {1, 63, 9, 0, true},    {2, 64, 10, 0, false},
                          {3, 1, 229, 0, true},    {4, 1, 230, -16, true}, {12, 1, 239, -160, true}};
    for (int s = 0; s < 15; ++s) app->m_badgePopTime[s] = 0;
    for (const Case& c : cases) app->m_badgePopId[c.slot] = c.id, app->m_badgePopTime[c.slot] = c.age;
    app->m_badgePopTime[13] = 1;   // beyond the slots shown: never ages
    Frame();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot);
        EXPECT_EQ(app->m_badgePopTime[c.slot], c.age + 1);
        const float y = 600 - 34.0f * (c.slot + 1);
        auto box = [&](const Cmd& d) {
            return d.kind == kRectCommand && d.x == c.x && d.y == y && d.w == 160;
        };
        auto picture = [&](const Cmd& d) {
            return d.kind == kBadgesSlot && d.x == c.x + 144 && d.frame == c.id;
        };
        EXPECT_EQ(Count(box), 1);
        EXPECT_EQ(Count(picture), c.picture ? 1 : 0);
    }
    EXPECT_EQ(app->m_badgePopTime[13], 1);
    Frame();
    EXPECT_EQ(app->m_badgePopTime[12], 0);   // past 240: the slot is free again
    EXPECT_EQ(app->m_badgePopTime[4], 232);
}
