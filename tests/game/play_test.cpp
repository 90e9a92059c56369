// Golf play through real updates of the game object: the tee and the swing, monster hits and awards, the
// water, the walls, time-out, a replayed game and a frame on screen. Scenes are records placed in the pool.
#include <AL/al.h>

#include <cmath>
#include <cstring>

#include "media/audio.h"
#include "tests/common/pixels.h"
#include "tests/game/myapp_fixture.h"

namespace {

const int kFire = 32;   // space: fire for player 0
const int kBack = 27;   // escape: pause and resume
const int kPhase = 100, kReady = 99, kTimer = 89, kPower = 3, kPowerSpeed = 4, kBall = 101, kPeg = 102;

struct Sfx {
    int sound;
    float rate;
};

class Play : public Game {
protected:
    // An empty water: no monster, no ball, no peg, the tee idle before its next ball.
    void ClearPool() {
        for (int i = 0; i <= 2010; ++i) app->m_objects[i] = 0;
        app->m_state[kReady] = 0;
        app->m_state[kPhase] = 5;
        app->m_gameType = 5;   // no new monsters: the cap is 5 - 5 = 0
    }
    float* Place(int r, float kind, float x, float h, float vx = 0, float vy = 0, float climb = 0) {
        float* o = Record(r);
        for (int e = 0; e < 10; ++e) o[e] = 0;
        o[0] = kind, o[1] = x, o[2] = h, o[3] = vx, o[4] = vy, o[7] = kind == 10 ? climb : 0;
        return o;
    }
    int Count(float kind) {
        int n = 0;
        for (int r = 0; r <= 200; ++r) n += Record(r)[0] == kind;
        return n;
    }
    // The effects played since the channel cursor stood at `mark`: sound slot and OpenAL pitch.
    std::vector<Sfx> PlayedSince(int mark) {
        std::vector<Sfx> out;
        for (int c = mark; c != app->m_channelCursor;) {
            c = (c + 1) % 24;
            const gxtkChannel& ch = zk_audio_device->channels[app->m_channels[c]];
            int slot = -1;
            for (int n = 0; n < 100; ++n)
                if (app->m_sounds[n] && app->m_sounds[n]->m_sample == ch.sample) slot = n;
            float pitch = 0;
            alGetSourcef(ch.source, AL_PITCH, &pitch);
            out.push_back({slot, pitch});
        }
        return out;
    }
};

TEST_F(Play, TheFirstBallComesInFrame30AndAHeldFireSwingsOnceAfterPhase64) {
    StartGame(1, 77, 29);
    EXPECT_EQ(Count(3), 0);
    Update();   // frame 30
    ASSERT_EQ(Count(3), 1);
    Press(kFire);   // held from phase 30 on; a frame sees the phase the frame before left
    for (int phase = 31; phase <= 65; ++phase) Update();
    EXPECT_EQ(app->m_state[kReady], 1) << "no swing before phase 65";
    Update();
    EXPECT_EQ(Count(1) + Count(2), 2) << "the ball and the peg fly";
    for (int i = 0; i < 100; ++i) Update();   // the next ball waits while fire is still held
    EXPECT_EQ(app->m_state[kReady], 1);
    Release(kFire), Update(), Press(kFire), Update();
    EXPECT_EQ(app->m_state[kReady], 0) << "released and pressed again: a swing";
    Release(kFire);
}

TEST_F(Play, AFirePressWhilePausedLeavesTheBallWaitingAndThePressUnused) {
    StartGame(1, 77, 80);
    ASSERT_EQ(app->m_state[kReady], 1);
    app->m_paused = 1;
    Press(kFire);
    app->p_Game();
    EXPECT_EQ(app->m_state[kReady] + Count(3), 2) << "the ball waits on the tee";
    EXPECT_EQ(app->m_keyHeld, 0);
}

TEST_F(Play, WithNoFreeRecordTheTeeStaysEmptyAndThePoolUntouched) {
    StartGame(1, 77, 20);
    for (int r = 0; r <= 200; ++r) Record(r)[0] = 10, Record(r)[1] = -5000, Record(r)[2] = 60, Record(r)[7] = 0;
    std::vector<float> before(&app->m_objects[0], &app->m_objects[0] + 2010);
    for (int i = 0; i < 60; ++i) Update();   // past phase 30 and the rise
    EXPECT_EQ(app->m_state[kReady], 0);
    for (int i = 0; i < 2010; i += 10)   // the monsters stand still: nothing else may write their records
        for (int e : {0, 1, 2, 3, 4, 5, 6, 7}) ASSERT_EQ(app->m_objects[i + e], before[i + e]) << i + e;
}

// The pitch stops at 2: the fourth bounce is made the tenth.
TEST_F(Play, ThreeBouncesScoreMoreEachTimeWithRisingPitch) {
    struct Case {
        float kind;
        int award;
        std::vector<int> sounds;   // per bounce
    } cases[] = {{1, 25, {3}}, {2, 10, {3, 4}}};
    for (const Case& c : cases) {
        StartGame(1);
        ClearPool();
        for (int m = 0; m < 4; ++m) Place(10 + m, 10, 150 + 150 * m, 60);
        float* o = Place(50, c.kind, 200, 60, 0, 1);
        for (int bounce = 1; bounce <= 4; ++bounce) {
            if (bounce == 4) o[7] = 9;
            o[1] = 150 * bounce, o[2] = 60, o[4] = 1;   // over the next monster, falling
            const int score = app->m_score, mark = app->m_channelCursor, n = bounce == 4 ? 10 : bounce;
            Update();
            EXPECT_EQ(app->m_score - score, c.award * n);
            EXPECT_TRUE(o[4] < -4.4f && Record(10 + bounce - 1)[7] < -0.79f) << "bounced up, knocked down";
            std::vector<int> sounds;
            for (const Sfx& played : PlayedSince(mark)) {
                sounds.push_back(played.sound);
                EXPECT_FLOAT_EQ(played.rate, bounce == 4 ? 2.0f : 0.7f + 0.2f * bounce);
            }
            EXPECT_EQ(sounds, c.sounds);
        }
    }
}

TEST_F(Play, OnlyAFallFasterThanHalfAPixelOntoAStandingMonsterBounces) {
    float exact = 0.42f;   // a peg's speed that gravity brings to exactly 0.5 at the test
    while (exact + 0.08f < 0.5f) exact = std::nextafter(exact, 1.0f);
    ASSERT_EQ(exact + 0.08f, 0.5f);
    float over = exact;
    while (over + 0.08f <= 0.5f) over = std::nextafter(over, 1.0f);
    struct Case {
        float vy, climb;
        bool hit;
    } cases[] = {{exact, 0, false}, {over, 0, true}, {1, -0.99f, true}, {1, -1, false},
                 {1, -1.2f, false}};
    for (const Case& c : cases) {
        StartGame(1);
        ClearPool();
        Place(10, 10, 300, 60, 0, 0, c.climb);
        float* peg = Place(50, 2, 300, 60, 0, c.vy);
        Update();
        EXPECT_EQ(peg[7], c.hit ? 1 : 0) << "vy " << c.vy << " climb " << c.climb;
    }
}

TEST_F(Play, FallingIntoTheWaterSplashesThenTheObjectFloatsLeftSinksAndGoes) {
    struct Case {
        float kind, vy;
        int droplets, sound;
    } cases[] = {{1, 2, 9, 5}, {2, 2, 4, 6}, {2, 0, 0, -1}};
    for (const Case& c : cases) {
        StartGame(1);
        ClearPool();
        app->p_ResetParticles(250);
        float* o = Place(50, c.kind, 300, 31.9f, 1, c.vy);
        const int mark = app->m_channelCursor;
        Update();
        EXPECT_EQ(o[3], -0.15f) << "in the water: drifting left";
        int droplets = 0;
        for (int p = 0; p <= 250; ++p) droplets += app->m_particles[p * 10] == 3;
        EXPECT_EQ(droplets, c.droplets);
        const std::vector<Sfx> played = PlayedSince(mark);
        EXPECT_TRUE(played.size() <= 1 && (played.empty() ? -1 : played[0].sound) == c.sound);
        const float x = o[1];
        float h = 0;
        for (int frame = 0; frame < 500 && o[0] != 0; ++frame) {
            h = o[2];
            Update();
            ASSERT_TRUE(o[0] == 0 || (h >= 12 && o[2] < h)) << "sinking, kept while at 12 or above";
        }
        EXPECT_TRUE(o[0] == 0 && h < 12 && o[1] < x) << "freed once below 12, drifted left";
    }
}

TEST_F(Play, WallsTurnTheBallBack) {
    StartGame(1);
    ClearPool();
    float* left = Place(50, 1, 4.5f, 300, -2, 0);
    float* right = Place(51, 1, zk_Dravo_jscrw - 4.5f, 300, 2, 0);
    Update();
    EXPECT_TRUE(left[3] > 0 && right[3] < 0);
}

// A pause after time-out holds the ball still in the air: the game ends after it, once the ball has sunk.
TEST_F(Play, TimeOutClearsTheTeeAndEndsOnceNothingFliesWithOrWithoutTheHudOrAPause) {
    struct Case {
        int hidden;
        bool paused;
    } const cases[] = {{0, false}, {1, false}, {0, true}};
    int ends[2];
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "hud hidden " << c.hidden << " paused " << c.paused);
        StartGame(1, 99, 50);   // a ball and a peg wait on the tee
        app->m_hideHud = c.hidden;
        float* flying = Place(150, 1, 400, 200, 0, 0);
        app->m_state[kTimer] = 0;
        Update();
        EXPECT_EQ(Count(3) + Count(4), 0);
        EXPECT_EQ(app->m_gameOver, 0) << "a ball still flies";
        if (c.paused) {
            Press(kBack), Update(), Release(kBack);
            const float h = flying[2];
            for (int i = 0; i < 60; ++i) Update();
            EXPECT_TRUE(app->m_paused == 1 && app->m_gameOver == 0 && flying[2] == h)
                << "the ball waits in the air";
            Press(kBack), Update(), Release(kBack);
        }
        int frame = 0, freed = -1;
        while (app->m_gameOver == 0 && frame < 2000) {
            ++frame;
            Update();
            if (flying[0] == 0 && freed < 0) freed = frame;
        }
        EXPECT_TRUE(freed > 0 && frame == freed + 1) << "the game ends in the first frame with nothing in play";
        if (!c.paused) ends[c.hidden] = frame;
    }
    EXPECT_EQ(ends[0], ends[1]);
}

TEST_F(Play, MonstersAreCappedByGameType) {
    for (int type = 1; type <= 3; ++type) {
        StartGame(type);
        int most = 0;
        for (int i = 0; i < 600; ++i) {
            Update();
            most = std::max(most, Count(10));
        }
        EXPECT_EQ(most, 5 - type);
    }
}

TEST_F(Play, AScriptedThirtySecondGameEndsWithTheSumOfItsAwardsAndReplaysExactly) {
    auto play = [&](std::vector<float>* snapshot) {
        StartGame(1, 2024);
        int awards = 0, frames = 0;
        for (; app->m_gameOver == 0 && frames < 4000; ++frames) {
            if (app->m_state[kReady] == 1 && app->m_powerBar >= 36 && app->m_keyHeld == 0) Press(kFire);
            else Release(kFire);
            Update();
            for (int p = 0; p <= 250; ++p)   // a number rising from this frame's award
                if (app->m_particles[p * 10] == 99 && app->m_particles[p * 10 + 7] == 1.0f - 0.01f)
                    awards += static_cast<int>(app->m_particles[p * 10 + 9]);
        }
        Release(kFire);
        EXPECT_EQ(app->m_gameOver, 1) << "the game ends";
        EXPECT_EQ(app->m_score, awards);
        for (Array<float>* a : {&app->m_objects, &app->m_state, &app->m_particles, &app->m_stars})
            snapshot->insert(snapshot->end(), &(*a)[0], &(*a)[0] + a->Length());
        return app->m_score;
    };
    std::vector<float> first, second;
    const int score = play(&first);
    EXPECT_GT(score, 0);
    EXPECT_EQ(play(&second), score);
    EXPECT_EQ(std::memcmp(first.data(), second.data(), first.size() * sizeof(float)), 0);
}

TEST_F(Play, ATapEveryOtherFrameGetsAtMostOneBallPer100Frames) {
    StartGame(3);
    int last = -1000, balls = 0;
    for (int frame = 1; frame <= 600; ++frame) {
        if (frame % 2) Press(kFire);
        else Release(kFire);
        const bool before = app->m_state[kReady] == 1;
        Update();
        if (!before && app->m_state[kReady] == 1) {
            EXPECT_GE(frame - last, 100);
            last = frame, ++balls;
        }
    }
    EXPECT_GE(balls, 5);
    Release(kFire);
    app->p_StopTune();
}

TEST_F(Play, SwingSpeedsComeFromThePowerAndTheDrawsInOrder) {
    for (float power : {0.0f, 2.0f}) {
        StartGame(1, 5, 80);
        for (int r = 0; r <= 10; ++r) app->m_scenery[r * 10 + 1] = 400;   // no piece wraps this frame
        app->m_state[kPower] = power, app->m_state[kPowerSpeed] = 0;
        float* ball = Record(static_cast<int>(app->m_state[kBall]) / 10);
        float* peg = Record(static_cast<int>(app->m_state[kPeg]) / 10);
        zk_random_Seed = 4242;
        std::vector<float> draws;
        for (int i = 0; i < 3; ++i) draws.push_back(zk_random_Rnd());
        zk_random_Seed = 4242;
        Press(kFire), Update(), Release(kFire);
        EXPECT_NEAR(ball[1] - 94, power == 0 ? 0.4f : 10.0f, 1e-4);   // this frame's step is the swing's vx
        EXPECT_NEAR(peg[1] - 94, power == 0 ? 0.2f : 5.0f, 1e-4);
        EXPECT_FLOAT_EQ(ball[6], -6 + 12 * draws[0]);   // ball spin, peg rise, peg spin
        EXPECT_NEAR(peg[4], -(3 + 9 * draws[1]) + 0.08f, 1e-5);
        EXPECT_FLOAT_EQ(peg[6], -6 + 12 * draws[2]);
        app->p_StopTune(), Update();
    }
}

// A held pointer draws the stick marks in faint blue first; the scenery after them is white, fully opaque.
TEST_F(Play, TheSceneryIsWhiteWhileThePointerIsHeld) {
    StartGame(1, 77, 10);
    Tap(600, 100), Update(), Update();
    EXPECT_EQ(Game::Count([](const Cmd& c) { return c.kind == -3716 && c.blue == 250 && c.alpha == 0.25f; }),
              2);
    std::vector<Cmd> scenery;
    for (const Cmd& c : Commands())
        if (c.kind == 1 && c.w == 8) scenery.push_back(c);
    ASSERT_EQ(scenery.size(), 11u);
    for (const Cmd& c : scenery)
        EXPECT_TRUE(c.red == 255 && c.green == 255 && c.blue == 255 && c.alpha == 1) << "frame " << c.frame;
    Untap();
    app->p_StopTune();
}

TEST_F(Play, TheTeeMarkerShowsItsPhaseWhileMonstersFlap) {
    StartGame(1, 77, 50);   // phase 50: frame 2; monsters have been up for a while
    ASSERT_GT(Count(10), 0);
    EXPECT_EQ(Game::Count([](const Cmd& c) { return c.kind == 2 && c.x == 94 && c.y == zk_Dravo_jscrh - 64 && c.frame == 2; }), 1);
    app->p_StopTune();
}

TEST_F(Play, ThePlaceLineNamesThePlaceAheadAndTheScoreToBeat) {
    struct Case {
        std::vector<int> best;
        int score;
        const char* line;
    } cases[] = {{{}, 0, "1st00000000"}, {{900, 800, 500}, 600, "2nd00000800"},
                 {{900, 800, 500}, 950, "1st00000900"}, {{9, 8, 7, 6, 5, 4, 3, 2, 1, 1}, 1, "00000001"}};
    for (const Case& c : cases) {
        StartGame(2);
        for (int i = 0; i < 10; ++i) app->m_highscores[10 + i] = i < (int)c.best.size() ? c.best[i] : 0;
        app->m_score = app->m_shownScore = c.score;
        Update();
        std::string line;   // the glyphs drawn at the place line's height
        for (const Line& l : Text([](const Cmd& g) { return std::abs(g.y - 10) < 2; })) line += l.text;
        EXPECT_EQ(line, c.line) << c.score;
        app->p_StopTune();
    }
    for (int i = 0; i < 10; ++i) app->m_highscores[10 + i] = 0;
}

TEST_F(Play, APlayFrameShowsTheWaterTheTeeGroundAndTheHud) {
    StartGame(1, 77, 10);
    app->m_score = app->m_shownScore = 88888888;
    Update();
    host->RenderGame();
    zk_test::Screenshot shot;
    auto count = [&](int x0, int y0, int x1, int y1, auto pred) { return shot.Count(x0, y0, x1, y1, pred); };
    auto brown = [](const unsigned char* p) { return std::abs(p[0] - 100) < 15 && std::abs(p[1] - 60) < 15 && p[2] < 25; };
    EXPECT_GT(count(0, 575, 800, 600, brown), 800 * 25 * 8 / 10) << "the water band along the bottom";
    auto green = [](const unsigned char* p) { return p[0] < 20 && p[1] > 160 && p[2] < 20; };
    EXPECT_GT(count(33, 553, 111, 558, green), 78 * 5 * 8 / 10) << "the tee's patch of ground";
    auto green_text = [](const unsigned char* p) { return p[1] > 150 && p[0] < 140 && p[2] < 140; };
    EXPECT_GT(count(300, 15, 500, 45, green_text), 200) << "the score at the top centre";
    auto white = [](const unsigned char* p) { return p[0] > 200 && p[1] > 200 && p[2] > 200; };
    EXPECT_GT(count(700, 30, 760, 70, white), 50) << "the seconds at the top right";
    app->p_StopTune();
}

}  // namespace
