// framework/random.cpp: the generator's draws (see random.h for the sequence).
#include "framework/random.h"

int zk_random_Seed = 0;

void zk_random_init() { zk_random_Seed = 1234; }

// One step: the new seed's top 24 bits as r / 2^24 (the float holds it exactly).
static double draw() {
    zk_random_Seed = zk_random_Step(zk_random_Seed);
    return double(uint32_t(zk_random_Seed) >> 8) / 16777216.0;
}

float zk_random_Rnd() { return float(draw()); }

// Scaled in double and rounded to float once, so Rnd2(a, a) is exactly a.
float zk_random_Rnd2(float low, float high) { return float(draw() * (double(high) - low) + low); }

float zk_random_Rnd3(float range) { return float(draw() * range); }
