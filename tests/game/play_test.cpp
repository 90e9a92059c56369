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

struct Sfx {
    int sound;
    float rate;
};

class Play : public Game {
protected:
    // An empty water: no monster, no ball, no peg, the tee idle before its next ball.
    void ClearPool() {
        for (int i = 0; i < (kLastObject + 1) * kRecordFloats; ++i) app->m_objects[i] = 0;
        app->m_state[kStateReady] = 0;
        app->m_state[kStatePhase] = 5;
        app->m_gameType = 5;   // no new monsters: the cap is 5 - 5 = 0
    }
    float* Place(int r, float kind, float x, float h, float vx = 0, float vy = 0, float climb = 0) {
        float* o = Record(r);
        for (int e = 0; e < kRecordFloats; ++e) o[e] = 0;
        o[kObjKind] = kind, o[kObjX] = x, o[kObjH] = h, o[kObjVX] = vx, o[kObjVY] = vy;
        o[kObjClimb] = kind == kMonster ? climb : 0;
        return o;
    }
    float* Particle(int r) { return &app->m_particles[r * kRecordFloats]; }
    int Count(float kind) {
        int n = 0;
        for (int r = 0; r <= kLastObject; ++r) n += Record(r)[kObjKind] == kind;
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
    EXPECT_EQ(Count(kBallWaiting), 0);
    Update();   // frame 30
    ASSERT_EQ(Count(kBallWaiting), 1);
    Press(kFire);   // held from phase 30 on; a frame sees the phase the frame before left
    for (int phase = 31; phase <= 65; ++phase) Update();
    EXPECT_EQ(app->m_state[kStateReady], 1) << "no swing before phase 65";
    Update();
    EXPECT_EQ(Count(kBallFlying) + Count(kPegFlying), 2) << "the ball and the peg fly";
    for (int i = 0; i < 100; ++i) Update();   // the next ball waits while fire is still held
    EXPECT_EQ(app->m_state[kStateReady], 1);
    Release(kFire), Update(), Press(kFire), Update();
    EXPECT_EQ(app->m_state[kStateReady], 0) << "released and pressed again: a swing";
    Release(kFire);
}

TEST_F(Play, AFirePressWhilePausedLeavesTheBallWaitingAndThePressUnused) {
    StartGame(1, 77, 80);
    ASSERT_EQ(app->m_state[kStateReady], 1);
    app->m_paused = 1;
    Press(kFire);
    app->p_Game();
    EXPECT_EQ(app->m_state[kStateReady] + Count(kBallWaiting), 2) << "the ball waits on the tee";
    EXPECT_EQ(app->m_keyHeld, 0);
}

TEST_F(Play, WithNoFreeRecordTheTeeStaysEmptyAndThePoolUntouched) {
    StartGame(1, 77, 20);
    for (int r = 0; r <= kLastObject; ++r) Place(r, kMonster, -5000, 60);
    const int floats = (kLastObject + 1) * kRecordFloats;
    std::vector<float> before(&app->m_objects[0], &app->m_objects[0] + floats);
    for (int i = 0; i < 60; ++i) Update();   // past phase 30 and the rise
    EXPECT_EQ(app->m_state[kStateReady], 0);
    for (int i = 0; i < floats; i += kRecordFloats)   // the monsters stand still: nothing else may write them
        for (int e = kObjKind; e <= kObjClimb; ++e) ASSERT_EQ(app->m_objects[i + e], before[i + e]) << i + e;
}

// The pitch stops at 2: the fourth bounce is made the tenth.
TEST_F(Play, ThreeBouncesScoreMoreEachTimeWithRisingPitch) {
    struct Case {
        float kind;
        int award;
        std::vector<int> sounds;   // per bounce
    } cases[] = {{kBallFlying, 25, {kBoingSound}}, {kPegFlying, 10, {kBoingSound, kKnockSound}}};
    for (const Case& c : cases) {
        StartGame(1);
        ClearPool();
        for (int m = 0; m < 4; ++m) Place(10 + m, kMonster, 150 + 150 * m, 60);
        float* o = Place(50, c.kind, 200, 60, 0, 1);
        for (int bounce = 1; bounce <= 4; ++bounce) {
            if (bounce == 4) o[kObjBounces] = 9;
            o[kObjX] = 150 * bounce, o[kObjH] = 60, o[kObjVY] = 1;   // over the next monster, falling
            const int score = app->m_score, mark = app->m_channelCursor, n = bounce == 4 ? 10 : bounce;
            Update();
            EXPECT_EQ(app->m_score - score, c.award * n);
            EXPECT_TRUE(o[kObjVY] < -4.4f && Record(10 + bounce - 1)[kObjClimb] < -0.79f)
                << "bounced up, knocked down";
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
        Place(10, kMonster, 300, 60, 0, 0, c.climb);
        float* peg = Place(50, kPegFlying, 300, 60, 0, c.vy);
        Update();
        EXPECT_EQ(peg[kObjBounces], c.hit ? 1 : 0) << "vy " << c.vy << " climb " << c.climb;
    }
}

TEST_F(Play, FallingIntoTheWaterSplashesThenTheObjectFloatsLeftSinksAndGoes) {
    struct Case {
        float kind, vy;
        int droplets, sound;
    } cases[] = {
        {kBallFlying, 2, 9, kSplashSound}, {kPegFlying, 2, 4, kPegSplashSound}, {kPegFlying, 0, 0, -1}};
    for (const Case& c : cases) {
        StartGame(1);
        ClearPool();
        app->p_ResetParticles(250);
        float* o = Place(50, c.kind, 300, 31.9f, 1, c.vy);
        const int mark = app->m_channelCursor;
        Update();
        EXPECT_EQ(o[kObjVX], -0.15f) << "in the water: drifting left";
        int droplets = 0;
        for (int p = 0; p <= 250; ++p)
            droplets += app->m_particles[p * kRecordFloats + kPartKind] == kDropletParticle;
        EXPECT_EQ(droplets, c.droplets);
        const std::vector<Sfx> played = PlayedSince(mark);
        EXPECT_TRUE(played.size() <= 1 && (played.empty() ? -1 : played[0].sound) == c.sound);
        const float x = o[kObjX];
        float h = 0;
        for (int frame = 0; frame < 500 && o[kObjKind] != 0; ++frame) {
            h = o[kObjH];
            Update();
            ASSERT_TRUE(o[kObjKind] == 0 || (h >= 12 && o[kObjH] < h))
                << "sinking, kept while at 12 or above";
        }
        EXPECT_TRUE(o[kObjKind] == 0 && h < 12 && o[kObjX] < x) << "freed once below 12, drifted left";
    }
}

TEST_F(Play, WallsTurnTheBallBack) {
    StartGame(1);
    ClearPool();
    float* left = Place(50, kBallFlying, 4.5f, 300, -2, 0);
    float* right = Place(51, kBallFlying, zk_Dravo_jscrw - 4.5f, 300, 2, 0);
    Update();
    EXPECT_TRUE(left[kObjVX] > 0 && right[kObjVX] < 0);
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
        float* flying = Place(150, kBallFlying, 400, 200, 0, 0);
        app->m_state[kStateTimer] = 0;
        Update();
        EXPECT_EQ(Count(kBallWaiting) + Count(kPegWaiting), 0);
        EXPECT_EQ(app->m_gameOver, 0) << "a ball still flies";
        if (c.paused) {
            Press(kBack), Update(), Release(kBack);
            const float h = flying[kObjH];
            for (int i = 0; i < 60; ++i) Update();
            EXPECT_TRUE(app->m_paused == 1 && app->m_gameOver == 0 && flying[kObjH] == h)
                << "the ball waits in the air";
            Press(kBack), Update(), Release(kBack);
        }
        int frame = 0, freed = -1;
        while (app->m_gameOver == 0 && frame < 2000) {
            ++frame;
            Update();
            if (flying[kObjKind] == 0 && freed < 0) freed = frame;
        }
        EXPECT_TRUE(freed > 0 && frame == freed + 1) << "the game ends in the first frame with nothing in play";
        if (!c.paused) ends[c.hidden] = frame;
    }
    EXPECT_EQ(ends[0], ends[1]);
}

// Some steps run their loops on the shared fields m_n, m_k, m_i, m_j and m_m and leave them at their last
// values: the objects (m_n, m_k the last record's first float), a ball's monster hits (m_i), a splash's
// nine droplets (m_m), the place line counting down (m_j), p_rstr (m_n), the replay and p_ResetPlayers.
TEST_F(Play, SharedLoopFieldsKeepTheLastValuesOfTheirSteps) {
    StartGame(1);
    ClearPool();
    app->m_hideHud = 1;
    Place(50, kBallFlying, 300, 31.9f, 1, 2);   // falls into the water
    Update();
    EXPECT_EQ((std::vector<int>{app->m_n, app->m_k, app->m_i, app->m_m}),
              (std::vector<int>{201, 2000, 201, 9}));
    app->m_hideHud = 0, app->m_j = 5;
    Update();
    EXPECT_EQ((std::vector<int>{app->m_n, app->m_j}), (std::vector<int>{3, 0}))
        << "the clock's 2 digits last";
    host->RenderGame();
    EXPECT_EQ(app->m_n, app->m_drawCount) << "the replay, 15 floats a command";
    app->p_ResetPlayers();
    EXPECT_EQ(app->m_n, 500);
    app->m_k = 7;
    app->p_Button(kIconsSlot, 400, 300, 0);
    EXPECT_EQ(app->m_k, 0) << "a button keeps its answer in m_k";
    app->p_StopTune();
}

TEST_F(Play, MonstersAreCappedByGameType) {
    for (int type = 1; type <= 3; ++type) {
        StartGame(type);
        int most = 0;
        for (int i = 0; i < 600; ++i) {
            Update();
            most = std::max(most, Count(kMonster));
        }
        EXPECT_EQ(most, 5 - type);
    }
}

TEST_F(Play, AScriptedThirtySecondGameEndsWithTheSumOfItsAwardsAndReplaysExactly) {
    auto play = [&](std::vector<float>* snapshot) {
        StartGame(1, 2024);
        int awards = 0, frames = 0;
        for (; app->m_gameOver == 0 && frames < 4000; ++frames) {
            if (app->m_state[kStateReady] == 1 && app->m_powerBar >= 36 && app->m_keyHeld == 0) Press(kFire);
            else Release(kFire);
            Update();
            for (int p = 0; p <= 250; ++p)   // a number rising from this frame's award
                if (Particle(p)[kPartKind] == kNumberParticle && Particle(p)[kPartLife] == 1.0f - 0.01f)
                    awards += static_cast<int>(Particle(p)[kPartValue]);
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
        const bool before = app->m_state[kStateReady] == 1;
        Update();
        if (!before && app->m_state[kStateReady] == 1) {
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
        // No piece of scenery wraps this frame.
        for (int r = 0; r <= kLastScenery; ++r) app->m_scenery[r * kRecordFloats + kSceneX] = 400;
        app->m_state[kStatePower] = power, app->m_state[kStatePowerSpeed] = 0;
        float* ball = &app->m_objects[static_cast<int>(app->m_state[kStateBall])];
        float* peg = &app->m_objects[static_cast<int>(app->m_state[kStatePeg])];
        zk_random_Seed = 4242;
        std::vector<float> draws;
        for (int i = 0; i < 3; ++i) draws.push_back(zk_random_Rnd());
        zk_random_Seed = 4242;
        Press(kFire), Update(), Release(kFire);
        // This frame's step is the swing's vx.
        EXPECT_NEAR(ball[kObjX] - 94, power == 0 ? 0.4f : 10.0f, 1e-4);
        EXPECT_NEAR(peg[kObjX] - 94, power == 0 ? 0.2f : 5.0f, 1e-4);
        EXPECT_FLOAT_EQ(ball[kObjSpin], -6 + 12 * draws[0]);   // ball spin, peg rise, peg spin
        EXPECT_NEAR(peg[kObjVY], -(3 + 9 * draws[1]) + 0.08f, 1e-5);
        EXPECT_FLOAT_EQ(peg[kObjSpin], -6 + 12 * draws[2]);
        app->p_StopTune(), Update();
    }
}

// A held pointer draws the stick marks in faint blue first; the scenery after them is white, fully opaque.
TEST_F(Play, TheSceneryIsWhiteWhileThePointerIsHeld) {
    StartGame(1, 77, 10);
    Tap(600, 100), Update(), Update();
    EXPECT_EQ(
        Game::Count([](const Cmd& c) { return c.kind == kOvalCommand && c.blue == 250 && c.alpha == 0.25f; }),
        2);
    std::vector<Cmd> scenery;
    for (const Cmd& c : Commands())
        if (c.kind == kGfxSlot && c.w == 8) scenery.push_back(c);
    ASSERT_EQ(scenery.size(), 11u);
    for (const Cmd& c : scenery)
        EXPECT_TRUE(c.red == 255 && c.green == 255 && c.blue == 255 && c.alpha == 1) << "frame " << c.frame;
    Untap();
    app->p_StopTune();
}

TEST_F(Play, TheTeeMarkerShowsItsPhaseWhileMonstersFlap) {
    StartGame(1, 77, 50);   // phase 50: frame 2; monsters have been up for a while
    ASSERT_GT(Count(kMonster), 0);
    EXPECT_EQ(Game::Count([](const Cmd& c) {
                  return c.kind == kGfxbSlot && c.x == 94 && c.y == zk_Dravo_jscrh - 64 && c.frame == 2;
              }),
              1);
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
