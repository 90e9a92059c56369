// assets/rng.h: the generator's own random numbers.
// A fixed-seed xorshift generator, so that every run draws the same art and the same sounds; nothing here
// reads the clock. Each sheet or sound makes its own Rng with its own seed, so changing one asset never
// shifts the random choices of another.
#pragma once
#include <cstdint>

struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    // Uniform in [0, 1).
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double a, double b) { return a + unit() * (b - a); }
    int below(int n) { return int(unit() * n); }
};
