// framework/random.cpp: the generator's draws (see random.h for the sequence).
#include "framework/random.h"

int zk_random_Seed = 0;

void zk_random_init() { zk_random_Seed = 1234; }

// One step: the new seed's top 24 bits as r / 2^24 (exact in every floating type, the float included).
static long double draw() {
    zk_random_Seed = zk_random_Step(zk_random_Seed);
    return (long double)(uint32_t(zk_random_Seed) >> 8) / 16777216.0L;
}

float zk_random_Rnd() { return float(draw()); }

// Scaled in extended precision and rounded to float once, so Rnd2(a, a) is exactly a. Double is not
// enough: when low and high lie far apart in magnitude, high - low and the sum each round in double and
// the float can come out one step off.
float zk_random_Rnd2(float low, float high) { return float(draw() * ((long double)high - low) + low); }

float zk_random_Rnd3(float range) { return float(draw() * range); }
