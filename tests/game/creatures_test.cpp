// The pools that serve play: monster spawning and its spacing, particles, stars and their limits.
#include <cmath>

#include "tests/game/myapp_fixture.h"

namespace {

using Creatures = Game;

// A seed whose next Rand(160, W - 64) is `x`, so a spawn lands where a test wants it.
int seed_drawing(int x) {
    for (int seed = 1;; ++seed) {
        zk_random_Seed = seed;
        if (static_cast<int>(std::floor(zk_random_Rnd() * (zk_Dravo_jscrw - 64 + 0.99f - 160) + 160)) == x) return seed;
    }
}

TEST_F(Creatures, ParticlesMonstersPoolLimitsAndStars) {
    for (auto [asked, kept] : {std::pair{1, 1}, {499, 499}, {500, 50}, {0, 50}, {-4, 50}}) {
        app->p_ResetStars(50);
        app->p_ResetStars(asked);
        app->p_ResetParticles(50);
        Particle(kept)[kPartKind] = kNumberParticle;
        app->p_ResetParticles(asked);
        // records up to the limit are freed
        EXPECT_TRUE(app->m_maxStars == kept && app->m_maxParticles == kept && Particle(kept)[kPartKind] == 0);
    }
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    auto Star = [&](int r) { return &app->m_stars[r * kRecordFloats]; };
    app->p_ResetStars(50);
    app->p_DoStars(-0.25f, 0);
    for (int r = 0; r <= 50; ++r) EXPECT_TRUE(Star(r)[kStarY] >= H - 32 && Star(r)[kStarY] <= H + 8);
    float* star = Star(0);
    star[kStarX] = -15.9f, star[kStarY] = H - 10, star[kStarSpeed] = 0.8f;   // just inside the margin of 16
    Star(1)[kStarX] = -10, Star(1)[kStarY] = H + 12;   // inside the margins, 12 below the screen: kept
    app->p_CLS2D();
    app->p_DoStars(-0.25f, 0);
    EXPECT_NEAR(star[kStarX], -16.1f + 32 + W, 1e-3) << "wrapped to the right";
    EXPECT_TRUE(Star(1)[kStarX] < -10 && Star(1)[kStarX] > -11 && Star(1)[kStarY] == H + 12);
    EXPECT_EQ(Commands().at(1).alpha, Star(1)[kStarSpeed]) << "as bright as it is fast";
    app->p_ResetParticles(250);
    app->p_AddParticle(99, 100, 100, 0, -0.25f, 25, 3, 0);   // life 0 given: lives 100 frames
    app->p_ThrowParticle(400, 300, 3, 9, 0, 6);                // straight up at speed 6
    float *number = Particle(250), *drop = Particle(249);
    std::vector<float> y;
    float alive = 0;
    for (int frame = 1; frame <= 101; ++frame) {
        app->p_DoParticles();
        y.push_back(drop[kPartY]);
        if (frame == 99) alive = number[kPartKind];
    }
    EXPECT_TRUE(alive == kNumberParticle && number[kPartKind] == 0) << "alive at 99 frames, not at 101";
    EXPECT_TRUE(y[29] < y[28] && y[31] > y[30]) << "still rising in frame 30, falling from frame 32";
    app->p_CLS2D();
    app->p_ThrowParticle(400, 300, kFallingSparkParticle, 9, 90, 6);   // sideways at 6, into record 250
    app->p_DoParticles(), app->p_DoParticles();
    EXPECT_NEAR(number[kPartX], 400 + 6 + 5.7f, 1e-4) << "slowed by a twentieth a frame";
    const Cmd spark = Commands().back();
    EXPECT_TRUE(spark.kind == kPartsSlot && spark.rot == number[kPartAngle]) << "turned as it spins";
    number[kPartLife] = 0.01f;   // fades with its life below 1, and a life of exactly 0 is still alive
    app->p_DoParticles();
    EXPECT_TRUE(Commands().back().alpha == 0.01f && number[kPartKind] == kFallingSparkParticle);
    for (auto [x, spawns] : {std::pair{350, false}, {236, false}, {463, false}, {464, true}, {600, true}}) {
        for (int i = 0; i < (kLastObject + 1) * kRecordFloats; ++i) app->m_objects[i] = 0;
        for (int m = 0; m < 3; ++m) Record(m)[kObjKind] = kMonster, Record(m)[kObjX] = 200 + 100 * m;
        zk_random_Seed = seed_drawing(x);
        EXPECT_EQ(app->p_AddMonster(), spawns ? kLastObject * kRecordFloats : -1) << x;
        EXPECT_EQ(Record(kLastObject)[kObjX], spawns ? x : 0) << x;
    }
}

}  // namespace
