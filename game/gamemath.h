// game/gamemath.h: the small numeric helpers every game file shares: degrees, truncation, random draws and
// the smoothed update and render rates.
//
// Angles are in degrees. Every random value is one draw of the framework's generator, so a game is
// reproducible from the seed and the inputs: Rnd(a, b) = a + draw * (b - a) and
// Rand(a, b) = floor(draw * (b + 0.99 - a) + a), a whole number from a to b inclusive.
#pragma once

#include <cmath>

#include "framework/random.h"

namespace game {

inline float sin_deg(float a) { return std::sin(a * 3.14159265f / 180.0f); }
inline float cos_deg(float a) { return std::cos(a * 3.14159265f / 180.0f); }

// Truncates toward zero; values outside the int range (or NaN) give 0 instead of undefined behaviour.
inline int to_int(float x) { return (x > -2147483520.0f && x < 2147483520.0f) ? static_cast<int>(x) : 0; }

// A rate smoothed over about ten samples: `now` is the clock in milliseconds and `last` the clock at the
// previous sample. A sample in which the clock did not advance keeps the previous rate (no division by 0).
inline void measure_rate(int now, int& last, int& rateNow, int& smoothed) {
    if (now > last) rateNow = 1000 / (now - last);
    smoothed = (smoothed * 9 + rateNow) / 10;
    last = now;
}

inline float rnd(float a, float b) { return a + zk_random_Rnd() * (b - a); }
inline int rand_int(float a, float b) { return to_int(std::floor(zk_random_Rnd() * (b + 0.99f - a) + a)); }

}  // namespace game
