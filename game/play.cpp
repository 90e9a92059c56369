// game/play.cpp: golf play, one frame at a time.
//
// A golfer stands at a tee on the left of a stretch of water. Every tee cycle a ball and a peg rise out
// of the ground while a power meter swings; a fire press swings the club and both fly off to the right.
// Monsters rise out of the water and hover; a falling ball or peg that lands on a monster's head bounces
// up, knocks the monster down and scores, more for every further bounce of the same object. Balls and
// pegs that fall into the water splash, drift left and sink. When the clock has run out and nothing is
// left in the air, the game is over.
//
// p_Game both updates and draws: each drawing call appends to the frame's display list, so the order of
// its steps is also the drawing order. Speeds are game pixels per frame, times are frames at 60 a second.
// Objects keep a height h measured upward from the bottom edge and are drawn at screen y = H - h; the
// water surface lies at h 30..34 and an object below h 32 is in the water. The object and scenery records
// and the slots of m_state are laid out in records.h. The objects, their monster hits, the droplets of a
// splash and the place line run on the shared loop fields (m_n with m_k, m_i, m_m, m_j), which keep their
// last values; a paused game stands still as myapp.h states.
#include <algorithm>
#include <cmath>

#include "game/gamemath.h"
#include "game/myapp.h"

using namespace game;

namespace {

const int kSwingPhase = 64;    // the swing can be taken once the tee phase has passed this
const float kTeeX = 94;
const float kWaterLine = 32;   // below this height an object is in the water
const float kSunk = 12;        // below this height a flying object is gone
const float kBallRest = 57;    // the heights the waiting ball and peg rise to
const float kPegRest = 50;
const float kFriction = 0.005f;   // vx loses this each frame, never passing 0
const float kGravity = 0.08f;     // vy gains this each frame, twice for a ball
const int kBallAward = 25;        // per bounce, times the bounces so far
const int kPegAward = 10;

// Takes the free object record with the highest number for a waiting ball or peg at the tee.
int place_on_tee(Array<float>& objects, float kind) {
    for (int r = kLastObject; r >= 0; --r) {
        float* o = &objects[r * kRecordFloats];
        if (o[kObjKind] != 0) continue;
        for (int e = 0; e < kRecordFloats; ++e) o[e] = 0;
        o[kObjKind] = kind;
        o[kObjX] = kTeeX;
        return r * kRecordFloats;
    }
    return -1;
}

}  // namespace

int c_MyApp::p_Rand(float a, float b) { return rand_int(a, b); }

int c_MyApp::p_ResetPlayers() {
    for (m_n = 0; m_n <= kLastStateEntry; ++m_n) m_state[m_n] = 0;   // leaves m_n at 500
    return 0;
}

int c_MyApp::p_NewBall() {
    const int o = place_on_tee(m_objects, kBallWaiting);
    if (o >= 0) {
        m_state[kStatePower] = 0;
        m_state[kStatePowerSpeed] = 0.1f;
    }
    return o;
}

int c_MyApp::p_NewPin() { return place_on_tee(m_objects, kPegWaiting); }

int c_MyApp::p_Gimme(int points, float x, float y) {
    m_score += points;
    p_AddParticle(static_cast<int>(kNumberParticle), x, y, 0, -0.25f, points, 3, 0);
    return 0;
}

int c_MyApp::p_Game() {
    const float H = zk_Dravo_jscrh;
    p_CLS2D(20, 40, 80, 1);                                              // 1. a new display list
    p_AnalogueControl();                                                 // 2.
    p_Scenery();                                                         // 3.
    p_Golfer();                                                          // 4.
    p_PowerMeter();                                                      // 5.
    p_TeeCycle();                                                        // 6.1
    if (m_state[kStateTimer] < 1) p_ClearTee();                          // 6.2
    m_monsterCount = 0;
    m_state[kStateInPlay] = 0;
    p_ResetDraw();
    for (m_n = 0; m_n <= kLastObject; ++m_n) {                           // 6.3 every object
        m_k = m_n * kRecordFloats;
        float* o = &m_objects[m_k];
        if (o[kObjKind] == kMonster) p_Monster(o);
        else if (is_ball_or_peg(o[kObjKind]) && m_paused == 0) p_BallOrPeg(o);
    }
    if (m_monsterCount < 5 - m_gameType) p_AddMonster();                 // 7. at most 4, 3 or 2 up
    p_ResetDraw();                                                       // 8. the tee marker
    p_DrawImg(kGfxbSlot, kTeeX, H - 64, m_teeFrame);
    p_Ground();                                                          // 9.
    p_DoStars(-0.25f, 0);                                                // 10. sparkles, then particles
    p_ResetDraw();
    p_DoParticles();
    p_ResetDraw();
    p_Clock();                                                           // 11.
    const int d = m_shownScore - m_score;                                // 12. the shown score chases
    m_shownScore -= d / 6;
    if (std::abs(m_shownScore - m_score) < 6) m_shownScore = m_score;
    if (m_hideHud == 1) return 0;                                        // 13.
    p_Hud();                                                             // 14. to 17.
    return 0;
}

// 3. Scenery, eight times its size and white (whatever colour the stick marks left), drifting left; one
// exchange a frame draws the slow, far pieces first, and a piece gone off the left comes back new.
void c_MyApp::p_Scenery() {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    p_SetSize(8, 8);
    p_SetCol(255, 255, 255, 1);
    for (int r = 0; r <= kLastScenery; ++r) {
        float* piece = &m_scenery[r * kRecordFloats];
        float* next = piece + kRecordFloats;
        if (r < kLastScenery && piece[kSceneSpeed] > next[kSceneSpeed])      // 3.1
            std::swap_ranges(piece, piece + kRecordFloats, next);
        if (piece[kSceneX] < -256) {                                         // 3.2
            piece[kSceneX] = W + 256;
            piece[kSceneSpeed] = rnd(0.2f, 0.75f);
            piece[kSceneKind] = static_cast<float>(rand_int(0, 3));
        }
        piece[kSceneX] -= piece[kSceneSpeed] * 0.25f;                        // 3.3
        p_DrawImg(kGfxSlot, piece[kSceneX], H - 256, 8 + to_int(piece[kSceneKind]));
    }
}

// 4. The golfer's pose: swinging while fire is held past the swing phase, and after the swing; ready at
// the start of the cycle; resting once time is up, which also holds the tee phase at 100. m_teeFrame
// says for step 5 whether fire is held.
void c_MyApp::p_Golfer() {
    float* state = &m_state[0];
    p_ResetDraw();
    m_teeFrame = 0;
    m_golferPose = 0;
    const bool fire = m_mouseDown > 0 || p_ActionDown(kSwing, 0);
    if (state[kStatePhase] > kSwingPhase && fire) m_teeFrame = m_golferPose = 1;   // 4.1
    if (state[kStatePhase] > kSwingPhase && state[kStateReady] == 0) m_golferPose = 1;
    if (state[kStatePhase] < 2) m_golferPose = 1;                        // 4.2
    if (state[kStateTimer] < 1) {                                        // 4.3
        m_golferPose = 3;
        state[kStatePhase] = 100;
    }
    p_DrawImg(kGfxSlot, 64, zk_Dravo_jscrh - 80, m_golferPose);          // 4.4
}

// 5. The power meter swings while a ball waits and the phase allows a swing.
void c_MyApp::p_PowerMeter() {
    const float H = zk_Dravo_jscrh;
    float* state = &m_state[0];
    p_SetCol(0, 255, 0, 0.4f);
    p_Rect(15, H - 129, 18, 42);
    p_SetCol(0, 0, 0, 0.6f);
    p_Rect(16, H - 128, 16, 40);
    if (!(state[kStatePhase] > kSwingPhase && m_golferPose != 3 && state[kStateReady] == 1)) return;
    state[kStatePower] += state[kStatePowerSpeed] * 0.5f;                // 5.1 turn at either end
    if (state[kStatePower] < 0) {
        state[kStatePowerSpeed] = rnd(0.09f, 0.11f);
        p_PlaySFX(kMeterLowSound, 1, 0.35f, 0);
    }
    if (state[kStatePower] > 2) {
        state[kStatePowerSpeed] = -rnd(0.09f, 0.11f);
        p_PlaySFX(kMeterHighSound, 1, 0.35f, 0);
    }
    p_SetCol(100, 255, 100, 0.6f);                                       // 5.2 the bar
    const int b = to_int(state[kStatePower] * 20);
    if (b < 0) {   // a sliver below the empty meter
        m_powerBar = 1;
        p_Rect(16, H - 89, 16, 1);
    } else {
        m_powerBar = std::min(b, 40);
        p_Rect(16, H - (m_powerBar + 88), 16, static_cast<float>(m_powerBar));
    }
    if (m_teeFrame == 1 && m_keyHeld == 0 && m_touchHeld == 0 && m_paused == 0) p_Swing();   // 5.3
    p_ResetDraw();                                                       // 5.4
}

// 5.3 The swing: the press is used up until every control is released; the ball and the peg fly by the
// power. No swing is taken while the game is paused: the press belongs to the pause menu then.
void c_MyApp::p_Swing() {
    float* state = &m_state[0];
    state[kStateReady] = 0;
    m_keyHeld = 1;
    m_touchHeld = 1;
    const float power = 0.6f * state[kStatePower] * state[kStatePower] + 0.1f;
    state[kStatePower] = power;
    float* ball = &m_objects[to_int(state[kStateBall])];
    float* peg = &m_objects[to_int(state[kStatePeg])];
    ball[kObjVX] = power * 4;
    ball[kObjVY] = -8;
    ball[kObjSpin] = rnd(-6, 6);
    ball[kObjKind] = kBallFlying;
    peg[kObjVX] = power * 2;
    peg[kObjVY] = -rnd(3, 12);
    peg[kObjSpin] = rnd(-6, 6);
    peg[kObjKind] = kPegFlying;
    p_PlaySFX(kSwingSound, rnd(0.8f, 1.2f));
}

// 6.1 The tee cycle: the phase runs to 100 and waits there for the swing; a ball and a peg are placed at
// phase 30 and rise out of the ground until phase 64. When either cannot get a record, neither is placed
// and the tee stays empty until the next cycle.
void c_MyApp::p_TeeCycle() {
    float* state = &m_state[0];
    if (state[kStatePhase] < 100 && m_paused == 0) state[kStatePhase] += 1;
    if (state[kStatePhase] > 99 && state[kStateReady] == 0 && state[kStateTimer] > 0) state[kStatePhase] = 0;
    if (m_paused != 0) return;
    const float phase = state[kStatePhase];
    m_teeFrame = phase > 10 && phase < 90 ? 1 : 0;
    if (phase > 20 && phase < 80) m_teeFrame = 2;
    if (phase == 30) {
        state[kStateBall] = static_cast<float>(p_NewBall());
        state[kStatePeg] = static_cast<float>(p_NewPin());
        const int ball = to_int(state[kStateBall]), peg = to_int(state[kStatePeg]);
        if (ball < 0 || peg < 0) {   // the pool is full: give back what was taken
            if (ball >= 0) m_objects[ball + kObjKind] = 0;
            if (peg >= 0) m_objects[peg + kObjKind] = 0;
            state[kStateBall] = state[kStatePeg] = -1;
        } else {
            state[kStateReady] = 1;
        }
        state[kStatePower] = 0;
    }
    if (phase > 30 && phase < kSwingPhase && state[kStateReady] == 1) {   // they rise, the ball above the peg
        m_objects[to_int(state[kStateBall]) + kObjH] = kBallRest - (kSwingPhase - phase);
        m_objects[to_int(state[kStatePeg]) + kObjH] = kPegRest - (kSwingPhase - phase);
    }
}

// 6.2 Time is up: a ball and a peg still waiting on the tee vanish, and none waits any more.
void c_MyApp::p_ClearTee() {
    const std::pair<int, float> waiting[] = {{kStateBall, kBallWaiting}, {kStatePeg, kPegWaiting}};
    for (const auto& [slot, kind] : waiting) {
        const int o = to_int(m_state[slot]);
        if (o >= 0 && m_objects[o + kObjKind] == kind) m_objects[o + kObjKind] = 0;
    }
    m_state[kStateReady] = 0;
}

// 6.3 A monster climbs, hovers or falls, bobs and flaps; it is drawn in every frame, paused or not.
void c_MyApp::p_Monster(float* m) {
    const float H = zk_Dravo_jscrh;
    p_ResetDraw();
    ++m_monsterCount;
    m[kObjH] += 2 * m[kObjClimb];
    m[kObjBob] += rnd(1, 1.5f);
    m[kObjWing] += rnd(1, 2.5f);
    if (m[kObjH] > 60) m[kObjH] = 60, m[kObjClimb] = 0;
    if (m[kObjH] < -32) m[kObjKind] = 0;   // gone, drawn one last time
    const float x = m[kObjX], bob = m[kObjBob], wing = m[kObjWing];
    const float y0 = H - (m[kObjH] + sin_deg(bob * 4));
    p_DrawImg(kGfxSlot, x, y0, 12);
    p_DrawImg(kGfxSlot, x, y0 + 26 + 2 * sin_deg(bob * 5), 13);
    m_wingFrame = m[kObjClimb] >= 0 ? 14 : 15;
    p_DrawImg(kGfxSlot, x - (17 - 2 * sin_deg(wing * 1.25f)), y0 - (22 - 2 * cos_deg(wing * 0.75f)), m_wingFrame);
    p_DrawImg(kGfxSlot, x + (13 - 2 * sin_deg(wing * 1.47f)), y0 - (22 - 2 * cos_deg(wing * 0.9f)), m_wingFrame);
}

// 6.3 A ball or peg: flight, monster hits and their awards (the hits run on m_i), walls, the water,
// drawing.
void c_MyApp::p_BallOrPeg(float* o) {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    m_state[kStateInPlay] += 1;
    const float kind = o[kObjKind];
    const bool flying = kind == kBallFlying || kind == kPegFlying;
    if (o[kObjH] < kSunk && flying) o[kObjKind] = 0;                     // 1. sunk: freed, moves once more
    if (flying) {                                                        // 2. flight
        o[kObjX] += o[kObjVX];
        o[kObjH] -= o[kObjVY];
        o[kObjAngle] += o[kObjSpin];
        o[kObjVY] += kGravity;
        if (kind == kBallFlying) o[kObjVY] += kGravity;   // balls fall twice as fast
        const float vx = o[kObjVX];
        o[kObjVX] = vx > 0 ? std::max(vx - kFriction, 0.0f) : std::min(vx + kFriction, 0.0f);
    }
    for (m_i = 0; m_i <= kLastObject; ++m_i) p_HitMonster(o, &m_objects[m_i * kRecordFloats]);   // 3. 4.
    if (o[kObjX] < 4) o[kObjVX] = std::abs(o[kObjVX]);                   // 5. walls
    if (o[kObjX] > W - 4) o[kObjVX] = -std::abs(o[kObjVX]);
    if (o[kObjH] < kWaterLine) p_Splash(o);                              // 6.
    p_SetRot(-o[kObjAngle]);                                             // 7.
    const float now = o[kObjKind];
    if (now == kBallFlying || now == kBallWaiting) p_DrawImg(kGfxbSlot, o[kObjX], H - o[kObjH], 4);
    if (is_peg(now)) p_DrawImg(kGfxbSlot, o[kObjX], H - o[kObjH], 3);
}

// 6.3.3 A falling object landing on the head of a monster that is not knocked down bounces up and knocks
// it down; 6.3.4 the award grows with each bounce of the same object and rises from it as a number.
void c_MyApp::p_HitMonster(float* o, float* m) {
    if (!is_monster(m[kObjKind])) return;
    const bool over = std::abs(m[kObjX] - o[kObjX]) < 40 && std::abs((m[kObjH] - 4) - o[kObjH]) < 20;
    if (!(over && o[kObjVY] > 0.5f && m[kObjClimb] > -1)) return;   // on its head, falling, not knocked down
    o[kObjVY] = -(4.5f + 2 * zk_random_Rnd());
    m[kObjClimb] = -rnd(0.8f, 1.3f);
    o[kObjBounces] += 1;
    const float pitch = std::clamp(o[kObjBounces] / 5 + 0.7f, 0.7f, 2.0f);
    m_hitPoints = kBallAward;
    p_PlaySFX(kBoingSound, pitch);
    if (is_peg(o[kObjKind])) {
        m_hitPoints = kPegAward;
        p_PlaySFX(kKnockSound, pitch);
    }
    p_Gimme(to_int(m_hitPoints * o[kObjBounces]), o[kObjX], zk_Dravo_jscrh - o[kObjH] - 32);
}

// 6.3.6 An object falling into the water splashes droplets up (they run on m_m); in the water it floats
// left and sinks.
void c_MyApp::p_Splash(float* o) {
    const float H = zk_Dravo_jscrh;
    if (o[kObjVY] > 0.2f) {
        const bool peg = o[kObjKind] == kPegFlying;
        const int count = peg ? 3 : 8;
        m_splashSpeed = peg ? 4 : 6;
        p_PlaySFX(peg ? kPegSplashSound : kSplashSound, rnd(0.8f, 1.2f));
        for (m_m = 0; m_m <= count; ++m_m) {
            const float speed = rnd(2, static_cast<float>(m_splashSpeed));
            const float angle = rnd(-35, 35);
            p_ThrowParticle(o[kObjX], H - o[kObjH], static_cast<int>(kDropletParticle), 9, angle, speed);
        }
    }
    o[kObjVX] = -0.15f;
    o[kObjVY] = 0;
    o[kObjSpin] = 0;
    o[kObjH] -= 0.15f;
}

// 9. The tee's patch of ground, then the water: three faint bands and the opaque water below them.
void c_MyApp::p_Ground() {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    p_SetCol(0, 180, 0, 1);
    p_Rect(32, H - 48, 80, 128);
    p_SetCol(100, 60, 0, 0.5f);
    p_Rect(0, H - 34, W, 128);
    p_Rect(0, H - 33, W, 128);
    p_Rect(0, H - 32, W, 128);
    p_Alpha(1);
    p_Rect(0, H - 30, W, 128);
}

// 11. The clock runs while the game is not paused. The game is over once time is up, the tee is empty
// and nothing is left in play. A paused frame counts nothing in play (balls and pegs stand still unseen),
// so it never ends the game: the bounces still to come are played out after the pause.
void c_MyApp::p_Clock() {
    float* state = &m_state[0];
    if (m_paused == 0) state[kStateTimer] -= 1;
    int secs = 0;
    if (state[kStateTimer] < 0) state[kStateTimer] = 0;
    else secs = to_int(state[kStateTimer] / 60);
    const bool teeEmpty = state[kStatePhase] > 99 && state[kStateReady] == 0;
    if (teeEmpty && state[kStateTimer] < 1 && state[kStateInPlay] < 1 && m_paused == 0) m_gameOver = 1;
    m_seconds = std::clamp(secs, 0, 60);
}

// 14. to 17. The score, the place it is heading for with the score to beat, and the clock.
void c_MyApp::p_Hud() {
    const float W = zk_Dravo_jscrw;
    p_SetRot(0);                                                         // 14. the score
    p_SetCol(100, 255, 100, 0.8f);
    p_SetSize(2, 2);
    p_Text(W * 0.5f, 28, p_rstr(m_shownScore, 8, String("0")), 1, 1);
    p_SetSize(1);                                                        // 15. the place and score to beat
    p_SetCol(255, 255, 100, 0.8f);
    p_PlaceToBeat();
    p_Text(W * 0.5f, 10, p_Nth(m_rank + 1) + String(" ") + p_rstr(m_monsterCount, 8, String("0")), 1, 1);
    p_ResetDraw();                                                       // 16. the ticking dot
    const float timer = m_state[kStateTimer];
    m_tick = to_int(std::fmod(timer, 60.0f));
    if (m_tick == 0 && m_paused == 0 && timer > 0) p_PlaySFX(kTickSound, 1, 0.15f, 0);
    const float e = (m_tick - 40) * 0.5f;   // swells as each second starts, shrinks over a third of it
    const float z = e < 2 ? 4 : (e > 8 ? 16 : 2 * e), off = z / 2;
    p_SetCol(100, 180, 255, 1);
    const float a = 6.0f * m_tick;
    p_Oval(W - 72 + 32 * sin_deg(a) - off, 48 - 32 * cos_deg(a) - off, z, z);
    const float size = m_tick >= 50 ? 3 + (m_tick - 50) / 10.0f : 3;     // 17. the seconds left
    p_SetSize(size, size);
    p_SetCol(255, 255, 255, 1);
    p_Text(W - 72, 48, p_rstr(m_seconds, 2, String("0")), 1, 1);
}

// 15. m_rank and m_monsterCount: the place in the best ten the score is heading for (10: none) and the
// score that stands there, found from the bottom of the table up on the loop field m_j.
void c_MyApp::p_PlaceToBeat() {
    const int base = best_ten(std::clamp(m_gameType, 1, 3));
    m_rank = 10;
    m_monsterCount = m_highscores[base + 9];
    for (m_j = 9; m_j >= 1; --m_j) {
        const int entry = m_highscores[base + m_j];
        if (entry < m_score || entry == 0) {
            m_rank = m_j - 1;
            m_monsterCount = m_highscores[base + m_j - 1];
        }
    }
}
