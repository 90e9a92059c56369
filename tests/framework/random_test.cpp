// The random generator, the math module at its edges, and asset names as data paths.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>

#include "framework/data.h"
#include "framework/math.h"
#include "framework/random.h"

namespace {

// The seed whose next step gives `next`: the step is a bijection modulo 2^32.
int seed_before(uint32_t next) {
    uint32_t inverse = 1;   // of 1664525 modulo 2^32, by Newton's iteration
    for (int i = 0; i < 5; ++i) inverse *= 2 - 1664525u * inverse;
    return int32_t((next - 1013904223u) * inverse);
}

TEST(Random, DrawsFollowTheFixedSequenceStayBelowOneAndScaleInExtendedPrecision) {
    zk_random_init();
    EXPECT_EQ(zk_random_Rnd(), 11984094.0f / 16777216.0f);
    EXPECT_EQ(zk_random_Rnd(), 3473103.0f / 16777216.0f);
    EXPECT_EQ(zk_random_Seed, 889114580);
    zk_random_Seed = seed_before(0xFFFFFFFFu);
    EXPECT_EQ(zk_random_Rnd(), 16777215.0f / 16777216.0f);
    zk_random_Seed = seed_before(0x80000000u);
    EXPECT_EQ(zk_random_Rnd3(3), 1.5f);
    // The true value lies just above a midpoint between two floats, onto which double would round it.
    zk_random_Seed = seed_before(16504512u << 8);
    EXPECT_EQ(zk_random_Rnd2(0x1.4a9p+29f, 0x1.4595e6p-29f), 0x1.57e0eep+23f);
}

TEST(Math, TheFloatMaximumOfNaNAndANumberIsTheNumberAndAbsoluteValuesWrapAtTheEdge) {
    EXPECT_TRUE(zk_math_Max2(NAN, 1.0f) == 1.0f && zk_math_Abs(-3) == 3 && zk_math_Abs(INT_MIN) == INT_MIN &&
                zk_math_Abs2(-2.5f) == 2.5f && zk_math_Max(-1, -2) == -1);
}

TEST(Data, BareNamesGoToTheDataFolderAndNamesThatSayWhereTheyArePass) {   // a scheme's ":/" is its first "/"
    const std::pair<const char*, const char*> paths[] = {{"a.png", "zanth://data/a.png"}, {"./a.png", "./a.png"},
        {"/a", "/a"}, {"zanth://a", "zanth://a"}, {"a:b/c:/d", "zanth://data/a:b/c:/d"}};
    for (auto [name, path] : paths) EXPECT_EQ(zk_data_FixDataPath(String(name)), String(path)) << name;
}

}  // namespace
