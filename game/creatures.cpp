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
// Particle record: [0] kind (1, 2 image of slot 96, 2 with gravity; 3 droplet of slot 3 with gravity;
// 99 a number drawn as text) [1] [2] x, y on screen [3] [4] vx, vy [5] angle [6] spin [7] life, drawn as
// alpha [8] palette colour [9] image frame, or the number shown.
// Star record: [0] frame of slot 3 [1] [2] x, y on screen [3] speed 0.2..0.8, also its alpha.
#include <algorithm>

#include "game/gamemath.h"
#include "game/myapp.h"

using namespace game;

namespace {

const int kLastObject = 200;      // object records 0..200 are in use
const int kMonsterKind = 10;      // every kind above 9 counts as a monster
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
        if (pool[r * 10] == 0) return r * 10;
    return -1;
}

// Applies a limit rule shared by both pools; returns the last record to reset, or -1 for none.
int take_limit(int n, int* limit) {
    if (n >= 1 && n <= kPoolLimit) *limit = n;
    return *limit;
}

// Puts a star somewhere new in the band of water: y, x, speed and frame, drawn in that order.
void place_in_water(float* star, float W, float H) {
    star[2] = rnd(H - 32, H + 8);
    star[1] = rnd(-8, W + 8);
    star[3] = rnd(0.2f, 0.8f);
    star[0] = static_cast<float>(rand_int(0, 255));
}

}  // namespace

int c_MyApp::p_AddMonster() {
    const int f = highest_free(m_objects, kLastObject);                  // 1.
    float x = static_cast<float>(p_Rand(160, zk_Dravo_jscrw - 64));      // 2.
    for (int r = 0; r <= kLastObject; ++r)                               // 3. too close: none this frame
        if (m_objects[r * 10] > 9 && std::abs(m_objects[r * 10 + 1] - x) < kMonsterSpacing) x = -1;
    if (x < 0 || f < 0) return -1;                                       // 4.
    for (int e = 0; e < 10; ++e) m_objects[f + e] = 0;
    m_objects[f] = kMonsterKind;
    m_objects[f + 1] = x;
    m_objects[f + 7] = 1;   // climbing
    return f;
}

int c_MyApp::p_FreeParticle() { return m_maxParticles < 0 ? -1 : highest_free(m_particles, m_maxParticles); }

int c_MyApp::p_AddParticle(int kind, float x, float y, float vx, float vy, int value, int colour, int life) {
    const int p = p_FreeParticle();
    if (p < 0) return 0;
    m_particles[p] = static_cast<float>(kind);
    m_particles[p + 1] = x;
    m_particles[p + 2] = y;
    m_particles[p + 3] = vx;
    m_particles[p + 4] = vy;
    m_particles[p + 5] = static_cast<float>(p_Rand(0, 360));
    m_particles[p + 6] = rnd(-7, 7);
    m_particles[p + 7] = static_cast<float>(life + 1);
    m_particles[p + 8] = static_cast<float>(colour);
    m_particles[p + 9] = static_cast<float>(value);
    return 0;
}

// An angle or speed of exactly -3717 is not given: the defaults are drawn first, even when the pool
// turns out to be full.
int c_MyApp::p_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) {
    if (angle == kUnset) angle = rnd(0, 360);
    if (speed == kUnset) speed = rnd(3, 8);
    const int p = p_FreeParticle();
    if (p < 0) return 0;
    m_particles[p] = static_cast<float>(kind);
    m_particles[p + 1] = x;
    m_particles[p + 2] = y;
    m_particles[p + 3] = speed * sin_deg(angle);
    m_particles[p + 4] = -speed * cos_deg(angle);   // angle 0 throws straight up
    m_particles[p + 5] = rnd(0, 360);
    m_particles[p + 6] = rnd(-8, 8);
    m_particles[p + 7] = rnd(0.7f, 1.3f);
    m_particles[p + 8] = static_cast<float>(colour);
    m_particles[p + 9] = static_cast<float>(p_Rand(0, 255));
    return 0;
}

int c_MyApp::p_DoParticles() {
    p_ResetDraw();
    for (int r = 0; r <= m_maxParticles; ++r) {
        const int p = r * 10;
        const float kind = m_particles[p];
        if (kind <= 0) continue;
        m_particles[p + 1] += m_particles[p + 3];                        // 1. move and turn
        m_particles[p + 2] += m_particles[p + 4];
        m_particles[p + 5] += m_particles[p + 6];
        p_SetRot(kind == 99 ? 0 : -m_particles[p + 5]);
        if (kind == 2 || kind == 3) {                                    // 2. drag and gravity
            m_particles[p + 3] *= 0.95f;
            m_particles[p + 4] += kGravity;
        }
        p_Alpha(std::min(m_particles[p + 7], 1.0f));                     // 3.
        p_SetSize(1);
        p_Ink(to_int(m_particles[p + 8]), 1);
        const float x = m_particles[p + 1], y = m_particles[p + 2];      // 4.
        const int frame = to_int(m_particles[p + 9]);
        if (kind == 1 || kind == 2) p_DrawImg(kPartsSlot, x, y, frame);
        else if (kind == 3) p_DrawImg(kSpecksSlot, x, y, frame);
        else if (kind == 99) p_Text(x, y, String(frame), 1, 1);
        m_particles[p + 7] -= kLifeStep;                                 // 5. age
        if (m_particles[p + 7] < 0) m_particles[p] = 0;
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_ResetParticles(int n) {
    const int last = take_limit(n, &m_maxParticles);
    for (int r = 0; r <= last; ++r) m_particles[r * 10] = 0;
    return 0;
}

// Scatters stars over the whole screen; their first p_DoStars pulls them into the water band. Each star
// takes six draws, two of which nothing uses.
int c_MyApp::p_ResetStars(int n) {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    const int last = take_limit(n, &m_maxStars);
    for (int r = 0; r <= last; ++r) {
        const int s = r * 10;
        m_stars[s] = static_cast<float>(p_Rand(0, 255));
        m_stars[s + 1] = rnd(-8, W + 8);
        m_stars[s + 2] = rnd(-8, H + 8);
        m_stars[s + 3] = rnd(0.2f, 0.8f);
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
        float* star = &m_stars[r * 10];
        star[1] += dx * star[3];                                         // 1.
        star[2] += dy * star[3];
        if (star[1] < -o || star[1] > W + o) {                           // 2. 3. wrap round, new depth
            star[1] += star[1] < -o ? span : -span;
            star[2] = rnd(H - 32, H + 8);
            star[3] = rnd(0.2f, 0.8f);
            star[0] = static_cast<float>(p_Rand(0, 255));
        }
        if (star[2] < H - 32) place_in_water(star, W, H);                // 4. above the water
        if (star[2] > H + o) place_in_water(star, W, H);                 // 5. below the screen
        p_Alpha(star[3]);                                                // 6.
        p_DrawImg(kSpecksSlot, star[1], star[2], to_int(star[0]));
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_Ink(int colour, int brightness) {
    const float* m = kPalette[colour >= 1 && colour <= 9 ? colour : 0];
    p_SetCol(channel(m[0], brightness), channel(m[1], brightness), channel(m[2], brightness));
    return 0;
}
