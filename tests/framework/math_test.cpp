// The math module at its edges: the most negative int, and a tie or NaN in the float maximum.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "framework/math.h"

TEST(Math, EdgesOfAbsAndMax) {
    EXPECT_EQ(zk_math_Abs(INT_MIN), INT_MIN) << "the most negative int is its own absolute value";
    EXPECT_TRUE(std::signbit(zk_math_Max2(0.0f, -0.0f))) << "equal values: the second";
    EXPECT_EQ(zk_math_Max2(NAN, 1.0f), 1.0f) << "NaN on either side: the second";
}
