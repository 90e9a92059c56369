// framework/math.h: absolute value and maximum for ints and floats.
#pragma once

// x, or -x with 32-bit wrap-around: the most negative int is its own absolute value.
int zk_math_Abs(int x);
// -x when x < 0, else x: -0.0 and NaN come back unchanged.
float zk_math_Abs2(float x);
// a when a >= b, else b.
int zk_math_Max(int a, int b);
// a when a > b, else b: a tie, or a NaN on either side, gives b.
float zk_math_Max2(float a, float b);
