// The math module at its edges: wrap-around, signed zero, ties and NaN.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "framework/math.h"

namespace {

TEST(Math, AbsoluteValues) {
    EXPECT_EQ(zk_math_Abs(7), 7);
    EXPECT_EQ(zk_math_Abs(-7), 7);
    EXPECT_EQ(zk_math_Abs(0), 0);
    EXPECT_EQ(zk_math_Abs(INT_MAX), INT_MAX);
    EXPECT_EQ(zk_math_Abs(-INT_MAX), INT_MAX);
    EXPECT_EQ(zk_math_Abs(INT_MIN), INT_MIN) << "the most negative int is its own absolute value";

    EXPECT_EQ(zk_math_Abs2(-2.5f), 2.5f);
    EXPECT_EQ(zk_math_Abs2(2.5f), 2.5f);
    EXPECT_TRUE(std::signbit(zk_math_Abs2(-0.0f))) << "negative zero comes back unchanged";
    EXPECT_TRUE(std::isnan(zk_math_Abs2(NAN)));
    EXPECT_EQ(zk_math_Abs2(-INFINITY), INFINITY);
}

TEST(Math, MaximaPreferTheSecondArgumentOnATie) {
    EXPECT_EQ(zk_math_Max(3, 2), 3);
    EXPECT_EQ(zk_math_Max(2, 3), 3);
    EXPECT_EQ(zk_math_Max(INT_MIN, -1), -1);

    EXPECT_EQ(zk_math_Max2(3.0f, 2.0f), 3.0f);
    EXPECT_EQ(zk_math_Max2(2.0f, 3.0f), 3.0f);
    EXPECT_TRUE(std::signbit(zk_math_Max2(0.0f, -0.0f))) << "equal values: the second";
    EXPECT_FALSE(std::signbit(zk_math_Max2(-0.0f, 0.0f)));
    EXPECT_EQ(zk_math_Max2(NAN, 1.0f), 1.0f) << "NaN on either side: the second";
    EXPECT_TRUE(std::isnan(zk_math_Max2(1.0f, NAN)));
}

}  // namespace
