// Golf play through real updates of the game object; scenes are records placed in the pool.
#include <malloc.h>

#include <cmath>

#include "tests/common/pixels.h"
#include "tests/game/myapp_fixture.h"

namespace {

const int kFire = 32, kBack = 27;   // space and escape

class Play : public Game {
protected:
    // A game in an empty water: no object, the tee idle before its next ball, no new monsters (cap 5 - 5).
    void EmptyGame() {
        StartGame(1);
        std::fill_n(Record(0), (kLastObject + 1) * kRecordFloats, 0.0f);
        app->m_state[kStateReady] = 0, app->m_state[kStatePhase] = 5, app->m_gameType = 5;
    }
    float* Place(int r, float kind, float x, float h, float vx = 0, float vy = 0, float climb = 0) {
        float* o = std::fill_n(Record(r), kRecordFloats, 0.0f) - kRecordFloats;
        o[kObjKind] = kind, o[kObjX] = x, o[kObjH] = h, o[kObjVX] = vx, o[kObjVY] = vy, o[kObjClimb] = climb;
        return o;
    }
    int Objects(float kind, int n = 0) {
        for (int r = 0; r <= kLastObject; ++r) n += Record(r)[kObjKind] == kind;
        return n;
    }
};

}   // namespace

TEST_F(Play, TheFirstBallComesInFrame30AHeldFireSwingsOnceAndWithNoFreeRecordTheTeeStaysEmpty) {
    StartGame(1, 77, 29);
    EXPECT_EQ(Objects(kBallWaiting), 0);
    Update();   // frame 30
    ASSERT_EQ(Objects(kBallWaiting) + Objects(kPegWaiting), 2);
    Press(kFire);   // held from phase 30 on; a frame sees the phase the frame before left
    for (int phase = 31; phase <= 65; ++phase) Update();
    EXPECT_EQ(app->m_state[kStateReady], 1) << "no swing before phase 65";
    Update();
    EXPECT_EQ(Objects(kBallFlying) + Objects(kPegFlying), 2) << "the ball and the peg fly";
    for (int i = 0; i < 100; ++i) Update();   // the next ball waits while fire is still held
    EXPECT_EQ(app->m_state[kStateReady], 1);
    Release(kFire), Update(), Press(kFire), Update();
    EXPECT_EQ(app->m_state[kStateReady], 0) << "released and pressed again: a swing";
    StartGame(1, 77, 20);
    for (int r = 0; r <= kLastObject; ++r) Place(r, kMonster, -5000, 60);
    const Floats before(Record(0), Record(kLastObject) + kRecordFloats);
    for (int i = 0; i < 60; ++i) Update();   // past phase 30 and the rise
    EXPECT_EQ(app->m_state[kStateReady], 0);
    for (size_t i = 0; i < before.size(); i += kRecordFloats)   // the monsters stand still
        for (int e = kObjKind; e <= kObjClimb; ++e) ASSERT_EQ(app->m_objects[i + e], before[i + e]) << i + e;
}

// Each bounce awards 25 (a peg 10) times the bounces so far, pitched up a fifth each, at most 2.
TEST_F(Play, BouncesScoreMoreEachTimeWithRisingPitchAndAFallIntoTheWaterSplashesFloatsLeftAndSinks) {
    for (float kind : {kBallFlying, kPegFlying}) {
        EmptyGame();
        for (int m = 0; m < 4; ++m) Place(10 + m, kMonster, 150 + 150 * m, 60);
        float* o = Place(50, kind, 200, 60, 0, 1);
        for (int bounce = 1; bounce <= 4; ++bounce) {
            if (bounce == 4) o[kObjBounces] = 9;
            o[kObjX] = 150 * bounce, o[kObjH] = 60, o[kObjVY] = 1;   // over the next monster, falling
            const int score = app->m_score, mark = app->m_channelCursor, n = bounce == 4 ? 10 : bounce;
            Update();
            EXPECT_EQ(app->m_score - score, (kind == kBallFlying ? 25 : 10) * n);
            EXPECT_TRUE(o[kObjVY] < -4.4f && Record(9 + bounce)[kObjClimb] < -0.79f) << "bounced, knocked";
            const float pitch = bounce == 4 ? 2.0f : 0.7f + 0.2f * bounce;
            Floats want = {kBoingSound, pitch, 1};
            if (kind == kPegFlying) want.insert(want.end(), {kKnockSound, pitch, 1});
            EXPECT_EQ(Played(mark), want);
        }
    }
    const float cases[][4] = {{kBallFlying, 2, 9, kSplashSound},
                              {kPegFlying, 0.22f, 4, kPegSplashSound},
                              {kPegFlying, 0.1f, 0, -1}};   // kind, fall, droplets, sound
    for (const auto& c : cases) {
        EmptyGame();
        app->p_ResetParticles(250);
        float* o = Place(50, c[0], 300, 31.9f, 1, c[1]);
        const int mark = app->m_channelCursor;
        Update();
        int droplets = 0;
        for (int p = 0; p <= 250; ++p) droplets += Particle(p)[kPartKind] == kDropletParticle;
        const Floats played = Played(mark);
        EXPECT_TRUE(o[kObjVX] == -0.15f && droplets == c[2]) << "drifting left; droplets " << droplets;
        EXPECT_EQ(played.empty() ? -1 : played[0], c[3]);
        const float x = o[kObjX];
        float h = 0;
        for (int frame = 0; frame < 500 && o[kObjKind] != 0; ++frame) {
            h = o[kObjH];
            Update();
            ASSERT_TRUE(o[kObjKind] == 0 || (h >= 12 && o[kObjH] < h)) << "sinking, kept while 12 up";
        }
        EXPECT_TRUE(o[kObjKind] == 0 && h < 12 && o[kObjX] < x) << "freed once below 12, drifted left";
    }
}

// A hit: within 40 across and 20 up or down of 4 below the monster, falling faster than 0.5 after gravity,
// the monster's climb above -1. Each row: the peg's fall, the climb, the peg's offset across and up, a hit.
// Two balls meet the walls in each row; they turn back.
TEST_F(Play, OnlyAFallFasterThanHalfAPixelOntoAStandingMonsterBouncesWallsTurnTheBallAndLoopFieldsKeep) {
    float exact = 0.42f;   // a peg's speed that gravity brings to exactly 0.5 at the test
    while (exact + 0.08f < 0.5f) exact = std::nextafter(exact, 1.0f);
    float over = std::nextafter(exact, 1.0f);
    while (over + 0.08f <= 0.5f) over = std::nextafter(over, 1.0f);
    const float cases[][5] = {{exact, 0, 0, -4, 0}, {over, 0, 0, -4, 1}, {1, -0.99f, 0, -4, 1},
                              {1, -1, 0, -4, 0},    {1, 0, 39, -4, 1},   {1, 0, 40.5f, -4, 0},
                              {1, 0, 0, -22.5f, 1}, {1, 0, 0, 17.5f, 0}};
    for (const auto& c : cases) {
        EmptyGame();
        Place(10, kMonster, 300, 60, 0, 0, c[1]);
        float* peg = Place(50, kPegFlying, 300 + c[2], 60 + c[3], 0, c[0]);
        float *left = Place(51, kBallFlying, 4.5f, 300, -0.6f),
              *right = Place(52, kBallFlying, zk_Dravo_jscrw - 4.5f, 300, 0.6f);
        Update();
        EXPECT_EQ(peg[kObjBounces], c[4]) << c[0] << " " << c[1] << " " << c[2] << " " << c[3];
        EXPECT_TRUE(left[kObjVX] > 0 && right[kObjVX] < 0);
    }
    // m_n, m_k: the objects' loop (m_k the last record's first float); m_i the monster hits, m_m the droplets.
    EmptyGame();
    app->m_hideHud = 1;
    Place(50, kBallFlying, 300, 31.9f, 1, 2);   // falls into the water
    Update();
    EXPECT_EQ((Ints{app->m_n, app->m_k, app->m_i, app->m_m}), (Ints{201, 2000, 201, 9}));
    app->m_hideHud = 0, app->m_j = 5;
    Update();
    EXPECT_EQ((Ints{app->m_n, app->m_j}), (Ints{3, 0})) << "the clock's 2 digits last";
    host->RenderGame();
    EXPECT_EQ(app->m_n, app->m_drawCount) << "the replay, 15 floats a command";
    app->p_ResetPlayers();
    app->m_k = 7;
    app->p_Button(kIconsSlot, 400, 300, 0);
    EXPECT_TRUE(app->m_n == 500 && app->m_k == 0);
}

TEST_F(Play, TimeOutEndsOnceNothingFliesAndTheSceneryIsWhiteWhileThePointerIsHeld) {
    int ends[3];
    for (int c = 0; c < 3; ++c) {   // HUD shown, hidden, a pause
        StartGame(1, 99, 50);   // a ball and a peg wait on the tee
        app->m_hideHud = c == 1;
        float* flying = Place(150, kBallFlying, 400, 200, 0, 0);
        app->m_state[kStateTimer] = 0;
        Update();
        EXPECT_EQ(Objects(kBallWaiting) + Objects(kPegWaiting) + app->m_gameOver, 0) << c << ": a ball flies";
        if (c == 2) {
            Press(kBack), Update(), Release(kBack);
            const float h = flying[kObjH];
            for (int i = 0; i < 60; ++i) Update();
            EXPECT_TRUE(app->m_paused == 1 && app->m_gameOver == 0 && flying[kObjH] == h) << "in the air";
            Press(kBack), Update(), Release(kBack);
        }
        int frame = 0, freed = -1;
        for (; app->m_gameOver == 0 && frame < 2000; ++frame) {
            Update();
            if (flying[kObjKind] == 0 && freed < 0) freed = frame;
        }
        EXPECT_EQ(frame, freed + 2) << c << ": the game ends in the first frame with nothing in play";
        ends[c] = frame;
    }
    EXPECT_EQ(ends[0], ends[1]);
    // The stick marks are faint blue; the tee marker shows frame 2 at phase 50.
    StartGame(1, 77, 49);
    Tap(600, 100), Update();
    ASSERT_GT(Objects(kMonster), 0);
    auto marks = [](const Cmd& c) { return c.kind == kOvalCommand && c.blue == 250 && c.alpha == 0.25f; };
    auto scenery = [](const Cmd& c) { return c.kind == kGfxSlot && c.w == 8; };
    auto opaque = [&](const Cmd& c) { return scenery(c) && c.alpha == 1; };
    auto white = [&](const Cmd& c) { return scenery(c) && c.red + c.green + c.blue == 765; };
    auto tee = [](const Cmd& c) { return c.kind == kGfxbSlot && c.x == 94 && c.y == 536 && c.frame == 2; };
    EXPECT_EQ((Ints{Count(marks), Count(opaque), Count(white), Count(tee)}), (Ints{2, 11, 11, 1}));
}

// Swings at a full meter. Live bytes vary by 10 KiB between screens, malloc's by 2 to 3 MiB with the
// driver's buffers (and under AddressSanitizer malloc has no figures).
TEST_F(Play, AScriptedThirtySecondGameEndsWithTheSumOfItsAwardsReplaysExactlyAndLeaksNothing) {
    auto play = [&] {
        StartGame(1, 2024);
        int awards = 0, frames = 0;
        for (; app->m_gameOver == 0 && frames < 4000; ++frames) {
            const bool fire = app->m_state[kStateReady] == 1 && app->m_powerBar >= 36 && app->m_keyHeld == 0;
            fire ? Press(kFire) : Release(kFire);
            Update();
            for (int p = 0; p <= 250; ++p)   // a number rising from this frame's award
                if (Particle(p)[kPartKind] == kNumberParticle && Particle(p)[kPartLife] == 1.0f - 0.01f)
                    awards += static_cast<int>(Particle(p)[kPartValue]);
        }
        EXPECT_TRUE(app->m_gameOver == 1 && app->m_score == awards) << frames << " frames";
        gc_collect_all();
        return std::vector<long long>{app->m_score, gc_alloced_bytes, (long long)mallinfo2().uordblks};
    };
    const std::vector<long long> first = play(), second = play();
    EXPECT_TRUE(first[0] > 0 && second[0] == first[0]);
    EXPECT_LE(second[1], first[1] + (16 << 10));
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LE(second[2], first[2] + (4 << 20));
#endif
}

TEST_F(Play, MonstersAreCappedByGameTypeAndATapEveryOtherFrameGetsAtMostOneBallPer100Frames) {
    for (int type = 1; type <= 3; ++type) {
        StartGame(type);
        int most = 0;
        for (int i = 0; i < 600; ++i) Update(), most = std::max(most, Objects(kMonster));
        EXPECT_EQ(most, 5 - type);
    }
    StartGame(3);
    int last = -1000, balls = 0;
    for (int frame = 1; frame <= 600; ++frame) {
        frame % 2 ? Press(kFire) : Release(kFire);
        const bool before = app->m_state[kStateReady] == 1;
        Update();
        if (before || app->m_state[kStateReady] != 1) continue;
        EXPECT_GE(frame - last, 100);
        last = frame, ++balls;
    }
    EXPECT_GE(balls, 5);
}

// Speeds 0.6 p² + 0.1 times 4 for the ball, 2 for the peg; then the ball's spin, the peg's rise and spin.
// A fire press while paused leaves the ball waiting and the press unused.
TEST_F(Play, SwingSpeedsComeFromThePowerAndTheDrawsInOrderAndNotWhilePaused) {
    for (float power : {0.0f, 2.0f}) {
        StartGame(1, 5, 80);
        app->m_paused = 1, Press(kFire), app->p_Game();
        EXPECT_TRUE(app->m_state[kStateReady] == 1 && Objects(kBallWaiting) == 1 && app->m_keyHeld == 0);
        app->m_paused = 0, Release(kFire);
        for (int r = 0; r <= kLastScenery; ++r)
            app->m_scenery[r * kRecordFloats + kSceneX] = 400;   // no wrap
        app->m_state[kStatePower] = power, app->m_state[kStatePowerSpeed] = 0;
        float* ball = &app->m_objects[static_cast<int>(app->m_state[kStateBall])];
        float* peg = &app->m_objects[static_cast<int>(app->m_state[kStatePeg])];
        zk_random_Seed = 4242;
        const float draws[] = {zk_random_Rnd(), zk_random_Rnd(), zk_random_Rnd()};
        zk_random_Seed = 4242;
        const int mark = app->m_channelCursor;
        Press(kFire), Update(), Release(kFire);
        const float want[] = {power == 0 ? 0.4f : 10.0f,   power == 0 ? 0.2f : 5.0f, -8 + 0.16f,
                              -(3 + 9 * draws[1]) + 0.08f,   // this frame's step is the swing's vx
                              -6 + 12 * draws[0],          -6 + 12 * draws[2]};
        const float got[] = {ball[kObjX] - 94, peg[kObjX] - 94, ball[kObjVY],
                             peg[kObjVY],      ball[kObjSpin],  peg[kObjSpin]};
        for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], want[i], 1e-4) << power << " " << i;
        EXPECT_EQ(Played(mark).at(0), kSwingSound);
    }
}

TEST_F(Play, ThePlaceLineNamesThePlaceAheadAndTheScoreToBeatAndAPlayFrameShowsTheWaterGroundAndHud) {
    const std::tuple<Ints, int, const char*> cases[] = {{{}, 0, "1st00000000"},
                                                        {{900, 800, 500}, 600, "2nd00000800"},
                                                        {{900, 800, 500}, 950, "1st00000900"},
                                                        {{9, 8, 7, 6, 5, 4, 3, 2, 1, 1}, 1, "00000001"}};
    for (const auto& [best, score, want] : cases) {   // best: game type 2's best ten
        StartGame(2);
        for (int i = 0; i < 10; ++i) app->m_highscores[10 + i] = i < int(best.size()) ? best[i] : 0;
        app->m_score = app->m_shownScore = score;
        Update();
        std::string line;   // the glyphs drawn at the place line's height
        for (const Line& l : Text([](const Cmd& g) { return std::abs(g.y - 10) < 2; })) line += l.text;
        EXPECT_EQ(line, want) << score;
    }
    StartGame(1, 77, 10);
    app->m_score = app->m_shownScore = 88888888;
    Update();
    host->RenderGame();
    const zk_test::Screenshot shot;
    using Px = const unsigned char*;
    auto brown = [](Px p) { return std::abs(p[0] - 100) < 2 && std::abs(p[1] - 60) < 2 && p[2] < 2; };
    auto green = [](Px p) { return p[0] < 20 && p[1] > 160 && p[2] < 20; };
    auto green_text = [](Px p) { return p[1] > 150 && p[0] < 140 && p[2] < 140; };
    auto white = [](Px p) { return p[0] > 200 && p[1] > 200 && p[2] > 200; };
    EXPECT_GT(shot.Count(0, 575, 800, 600, brown), 800 * 25 * 8 / 10) << "the water band along the bottom";
    EXPECT_GT(shot.Count(33, 553, 111, 558, green), 78 * 5 * 8 / 10) << "the tee's patch of ground";
    EXPECT_GT(shot.Count(300, 15, 500, 45, green_text), 200) << "the score at the top centre";
    EXPECT_GT(shot.Count(700, 30, 760, 70, white), 50) << "the seconds at the top right";
    // Nothing of either above or below the rows they take.
    EXPECT_EQ(shot.Count(300, 0, 500, 19, green_text) + shot.Count(300, 36, 500, 99, green_text), 0);
    EXPECT_EQ(shot.Count(690, 0, 770, 35, white) + shot.Count(690, 60, 770, 99, white), 0);
}
