// game/creatures.cpp: the three small pools that serve golf play.
//
//   monsters   spawned into the object pool m_objects (records 0..200) by p_AddMonster
//   particles  m_particles, records 0..m_maxParticles: splash droplets and rising score numbers
//   stars      m_stars, records 0..m_maxStars: sparkles drifting through the band of water
//
// A record is ten floats and free when its first float (its kind) is 0; every allocation takes the free
// record with the highest number. Every random value is one draw, in the order written, so a game
// replays exactly from the seed.
//
// The particle and star records are laid out in records.h.
#include <algorithm>

#include "game/gamemath.h"
#include "game/myapp.h"

using namespace game;

namespace {

const float kMonsterSpacing = 64;  // a new monster keeps this far from every one already up
const int kPoolLimit = 499;       // limits of 1..499 are taken; anything else keeps the current one
const float kLifeStep = 0.01f;    // a particle of life 1 lasts 100 frames
const float kGravity = 0.2f;      // particles of kinds 2 and 3 fall

// Red, green and blue multipliers of palette colours 1..9; any other colour is grey.
const float kPalette[10][3] = {
    {0.3f, 0.3f, 0.3f},                                            // grey
    {1, 0.1f, 0.1f}, {1, 0.5f, 0.1f}, {1, 1, 0.1f},                // red, orange, yellow
    {0.1f, 1, 0.1f}, {0.1f, 1, 1},    {0.1f, 0.1f, 1},             // green, cyan, blue
    {0.5f, 0.1f, 1}, {1, 0.1f, 0.5f}, {1, 1, 1},                   // violet, pink, white
};

float channel(float multiplier, int brightness) { return std::clamp(multiplier * brightness * 255, 0.0f, 255.0f); }

// The highest free record among records 0..last of a pool, as the index of its first float, or -1.
int highest_free(Array<float>& pool, int last) {
    for (int r = last; r >= 0; --r)
        if (pool[r * kRecordFloats] == 0) return r * kRecordFloats;
    return -1;
}

// Starts the particle record whose first float is `at`: its kind, place and speed. The caller draws the
// rest.
float* start_particle(Array<float>& pool, int at, int kind, float x, float y, float vx, float vy) {
    float* p = &pool[at];
    p[kPartKind] = static_cast<float>(kind);
    p[kPartX] = x;
    p[kPartY] = y;
    p[kPartVX] = vx;
    p[kPartVY] = vy;
    return p;
}

// Applies a limit rule shared by both pools; returns the last record to reset, or -1 for none.
int take_limit(int n, int* limit) {
    if (n >= 1 && n <= kPoolLimit) *limit = n;
    return *limit;
}

// Puts a star somewhere new in the band of water: y, x, speed and frame, drawn in that order.
void place_in_water(float* star, float W, float H) {
    star[kStarY] = rnd(H - 32, H + 8);
    star[kStarX] = rnd(-8, W + 8);
    star[kStarSpeed] = rnd(0.2f, 0.8f);
    star[kStarFrame] = static_cast<float>(rand_int(0, 255));
}

}  // namespace

int c_MyApp::p_AddMonster() {
    const int f = highest_free(m_objects, kLastObject);                  // 1.
    float x = static_cast<float>(p_Rand(160, zk_Dravo_jscrw - 64));      // 2.
    for (int r = 0; r <= kLastObject; ++r) {                             // 3. too close: none this frame
        const float* other = &m_objects[r * kRecordFloats];
        if (is_monster(other[kObjKind]) && std::abs(other[kObjX] - x) < kMonsterSpacing) x = -1;
    }
    if (x < 0 || f < 0) return -1;                                       // 4.
    float* m = &m_objects[f];
    for (int e = 0; e < kRecordFloats; ++e) m[e] = 0;
    m[kObjKind] = kMonster;
    m[kObjX] = x;
    m[kObjClimb] = 1;   // climbing
    return f;
}

int c_MyApp::p_FreeParticle() { return m_maxParticles < 0 ? -1 : highest_free(m_particles, m_maxParticles); }

int c_MyApp::p_AddParticle(int kind, float x, float y, float vx, float vy, int value, int colour, int life) {
    const int at = p_FreeParticle();
    if (at < 0) return 0;
    float* p = start_particle(m_particles, at, kind, x, y, vx, vy);
    p[kPartAngle] = static_cast<float>(p_Rand(0, 360));
    p[kPartSpin] = rnd(-7, 7);
    p[kPartLife] = static_cast<float>(life + 1);
    p[kPartColour] = static_cast<float>(colour);
    p[kPartValue] = static_cast<float>(value);
    return 0;
}

// An angle or speed of exactly -3717 is not given: the defaults are drawn first, even when the pool
// turns out to be full.
int c_MyApp::p_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) {
    if (angle == kUnset) angle = rnd(0, 360);
    if (speed == kUnset) speed = rnd(3, 8);
    const int at = p_FreeParticle();
    if (at < 0) return 0;
    // Angle 0 throws straight up.
    float* p = start_particle(m_particles, at, kind, x, y, speed * sin_deg(angle), -speed * cos_deg(angle));
    p[kPartAngle] = rnd(0, 360);
    p[kPartSpin] = rnd(-8, 8);
    p[kPartLife] = rnd(0.7f, 1.3f);
    p[kPartColour] = static_cast<float>(colour);
    p[kPartValue] = static_cast<float>(p_Rand(0, 255));
    return 0;
}

int c_MyApp::p_DoParticles() {
    p_ResetDraw();
    for (int r = 0; r <= m_maxParticles; ++r) {
        float* p = &m_particles[r * kRecordFloats];
        const float kind = p[kPartKind];
        if (kind <= 0) continue;
        p[kPartX] += p[kPartVX];                                         // 1. move and turn
        p[kPartY] += p[kPartVY];
        p[kPartAngle] += p[kPartSpin];
        p_SetRot(kind == kNumberParticle ? 0 : -p[kPartAngle]);
        if (kind == kFallingSparkParticle || kind == kDropletParticle) {   // 2. drag and gravity
            p[kPartVX] *= 0.95f;
            p[kPartVY] += kGravity;
        }
        p_Alpha(std::min(p[kPartLife], 1.0f));                           // 3.
        p_SetSize(1);
        p_Ink(to_int(p[kPartColour]), 1);
        const float x = p[kPartX], y = p[kPartY];                        // 4.
        const int frame = to_int(p[kPartValue]);
        if (kind == kSparkParticle || kind == kFallingSparkParticle) p_DrawImg(kPartsSlot, x, y, frame);
        else if (kind == kDropletParticle) p_DrawImg(kSpecksSlot, x, y, frame);
        else if (kind == kNumberParticle) p_Text(x, y, String(frame), 1, 1);
        p[kPartLife] -= kLifeStep;                                       // 5. age
        if (p[kPartLife] < 0) p[kPartKind] = 0;
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_ResetParticles(int n) {
    const int last = take_limit(n, &m_maxParticles);
    for (int r = 0; r <= last; ++r) m_particles[r * kRecordFloats + kPartKind] = 0;
    return 0;
}

// Scatters stars over the whole screen; their first p_DoStars pulls them into the water band. Each star
// takes six draws, two of which nothing uses.
int c_MyApp::p_ResetStars(int n) {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    const int last = take_limit(n, &m_maxStars);
    for (int r = 0; r <= last; ++r) {
        float* star = &m_stars[r * kRecordFloats];
        star[kStarFrame] = static_cast<float>(p_Rand(0, 255));
        star[kStarX] = rnd(-8, W + 8);
        star[kStarY] = rnd(-8, H + 8);
        star[kStarSpeed] = rnd(0.2f, 0.8f);
        zk_random_Rnd();
        zk_random_Rnd();
    }
    return 0;
}

int c_MyApp::p_DoStars(float dx, float dy) {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    const float o = zk_Dravo_overscan + 16, span = 2 * zk_Dravo_overscan + 32 + W;
    p_ResetDraw();
    for (int r = 0; r <= m_maxStars; ++r) {
        float* star = &m_stars[r * kRecordFloats];
        star[kStarX] += dx * star[kStarSpeed];                           // 1.
        star[kStarY] += dy * star[kStarSpeed];
        if (star[kStarX] < -o || star[kStarX] > W + o) {                 // 2. 3. wrap round, new depth
            star[kStarX] += star[kStarX] < -o ? span : -span;
            star[kStarY] = rnd(H - 32, H + 8);
            star[kStarSpeed] = rnd(0.2f, 0.8f);
            star[kStarFrame] = static_cast<float>(p_Rand(0, 255));
        }
        if (star[kStarY] < H - 32) place_in_water(star, W, H);           // 4. above the water
        if (star[kStarY] > H + o) place_in_water(star, W, H);            // 5. below the screen
        p_Alpha(star[kStarSpeed]);                                       // 6.
        p_DrawImg(kSpecksSlot, star[kStarX], star[kStarY], to_int(star[kStarFrame]));
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_Ink(int colour, int brightness) {
    const float* m = kPalette[colour >= 1 && colour <= 9 ? colour : 0];
    p_SetCol(channel(m[0], brightness), channel(m[1], brightness), channel(m[2], brightness));
    return 0;
}
