// framework/math.cpp: the math module.
#include "framework/math.h"

int zk_math_Abs(int x) { return x >= 0 ? x : int(0u - unsigned(x)); }

float zk_math_Abs2(float x) { return x < 0 ? -x : x; }

int zk_math_Max(int a, int b) { return a >= b ? a : b; }

float zk_math_Max2(float a, float b) { return a > b ? a : b; }
