// The random generator: the fixed sequence from the start seed, the range of a draw, and the scaled
// draws, which advance the seed exactly like a plain draw.
#include <gtest/gtest.h>

#include <cstdint>

#include "framework/random.h"

namespace {

// The seed whose next step gives `next`: the step is a bijection modulo 2^32.
int seed_before(uint32_t next) {
    uint32_t inverse = 1;   // of 1664525 modulo 2^32, by Newton's iteration
    for (int i = 0; i < 5; ++i) inverse *= 2 - 1664525u * inverse;
    return int32_t((next - 1013904223u) * inverse);
}

TEST(Random, TheSequenceFromTheStartSeedIsFixed) {
    zk_random_init();
    EXPECT_EQ(zk_random_Seed, 1234);
    EXPECT_EQ(zk_random_Rnd(), 11984094.0f / 16777216.0f);
    EXPECT_EQ(uint32_t(zk_random_Seed), 3067928073u);
    EXPECT_EQ(zk_random_Seed, -1227039223);
    EXPECT_EQ(zk_random_Rnd(), 3473103.0f / 16777216.0f);
    EXPECT_EQ(zk_random_Seed, 889114580);
    zk_random_Rnd2(0.0f, 1.0f);   // a scaled draw moves the seed on by one step too
    EXPECT_EQ(zk_random_Seed, zk_random_Step(889114580));

    // The game's inlined steps walk the same sequence as the draws.
    zk_random_init();
    int seed = 1234;
    for (int i = 0; i < 1000; ++i) {
        seed = zk_random_Step(seed);
        ASSERT_EQ(zk_random_Rnd(), float(uint32_t(seed) >> 8) / 16777216.0f);
        ASSERT_EQ(zk_random_Seed, seed);
    }
}

TEST(Random, ADrawIsNeverOne) {
    zk_random_Seed = seed_before(0xFFFFFFFFu);
    float top = zk_random_Rnd();
    EXPECT_EQ(top, 16777215.0f / 16777216.0f);
    EXPECT_LT(top, 1.0f);
    zk_random_Seed = seed_before(0x000000FFu);
    EXPECT_EQ(zk_random_Rnd(), 0.0f);
}

TEST(Random, ScaledDrawsUseOneStepEach) {
    zk_random_init();
    float unit = zk_random_Rnd();
    zk_random_init();
    EXPECT_FLOAT_EQ(zk_random_Rnd3(10.0f), unit * 10.0f);
    zk_random_init();
    EXPECT_FLOAT_EQ(zk_random_Rnd2(-2.0f, 6.0f), -2.0f + unit * 8.0f);
    zk_random_init();
    EXPECT_EQ(zk_random_Rnd2(5.0f, 5.0f), 5.0f);
    EXPECT_EQ(zk_random_Seed, zk_random_Step(1234)) << "an empty range still advances the seed";
    // A draw from a range stays inside it, low inclusive.
    for (int i = 0; i < 10000; ++i) {
        float v = zk_random_Rnd2(100.0f, 101.0f);
        ASSERT_GE(v, 100.0f);
        ASSERT_LE(v, 101.0f);
    }
    zk_random_Seed = seed_before(0x000000FFu);
    EXPECT_EQ(zk_random_Rnd2(3.5f, 9.0f), 3.5f);
}

// The scaled draw is rounded to float once, from extended precision. With ends 2^58 apart in magnitude
// the true value r / 2^24 * (high - low) + low lies just above 0x1.57e0edp+23, the midpoint between two
// floats; double arithmetic rounds it onto the midpoint, and the float then comes out one step low.
TEST(Random, AScaledDrawIsRoundedOnceFromExtendedPrecision) {
    zk_random_Seed = seed_before(16504512u << 8);
    EXPECT_EQ(zk_random_Rnd2(0x1.4a9p+29f, 0x1.4595e6p-29f), 0x1.57e0eep+23f);
    zk_random_Seed = seed_before(16775840u << 8);
    EXPECT_EQ(zk_random_Rnd2(0x1.9f79cp+5f, 0x1.28d2b2p-53f), 0x1.1725cep-8f);
}

}  // namespace
