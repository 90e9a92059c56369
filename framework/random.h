// framework/random.h: the one random-number generator.
//
// A linear congruential generator on the 32-bit seed `zk_random_Seed`: each draw first steps the seed
// (seed * 1664525 + 1013904223, modulo 2^32) and then takes its top 24 bits as r / 2^24, a float in
// [0, 1) that is exact (never 1.0). The game also steps the seed in place in some of its own loops; it
// must use zk_random_Step so that every draw walks the same sequence. From the seed 1234 the first two
// draws are 11984094 / 2^24 and 3473103 / 2^24.
#pragma once

#include <cstdint>

extern int zk_random_Seed;   // the generator's state, stored as a two's-complement int

// Sets the seed to its start value, 1234.
void zk_random_init();

// The seed after one step, with unsigned 32-bit wrap-around.
inline int zk_random_Step(int seed) { return int32_t(uint32_t(seed) * 1664525u + 1013904223u); }

float zk_random_Rnd();                          // [0, 1)
float zk_random_Rnd2(float low, float high);    // from low towards high
float zk_random_Rnd3(float range);              // from 0 towards range
