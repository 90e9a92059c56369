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
// water surface lies at h 30..34 and an object below h 32 is in the water.
//
// Object record (m_objects, records 0..200, ten floats each):
//   ball or peg  [0] kind: 1 ball flying, 2 peg flying, 3 ball waiting, 4 peg waiting  [1] x  [2] h
//                [3] vx  [4] vy (downward positive)  [5] angle  [6] spin  [7] bounces so far
//   monster      [0] kind 10  [1] x  [2] h  [7] climb: 1 rising, 0 hovering, negative knocked down
//                [8] bob phase  [9] wing phase
// Scenery record (m_scenery, records 0..10): [0] kind 0..3  [1] x  [3] speed.
#include <algorithm>
#include <cmath>

#include "game/gamemath.h"
#include "game/myapp.h"

using namespace game;

namespace {

// Slots of m_state, the state of the current game.
const int kPower = 3;        // the power meter, swinging between about 0 and 2
const int kPowerSpeed = 4;   // the meter moves by half of this each frame
const int kInPlay = 88;      // balls and pegs seen this frame
const int kTimer = 89;       // frames left in the game
const int kReady = 99;       // 1 while a ball waits on the tee and may be hit
const int kPhase = 100;      // the tee cycle, 0..100
const int kBallIndex = 101;  // first float of the waiting ball's record, or -1
const int kPegIndex = 102;   // first float of the waiting peg's record, or -1

// Record entries.
const int kKind = 0, kX = 1, kH = 2, kVX = 3, kVY = 4, kAngle = 5, kSpin = 6, kBounces = 7;
const int kClimb = 7, kBob = 8, kWing = 9;

// Object kinds.
const int kBallFlying = 1, kPegFlying = 2, kBallWaiting = 3, kPegWaiting = 4, kMonster = 10;

const int kLastObject = 200;   // object records 0..200 are in use
const int kLastScenery = 10;   // scenery records 0..10
const int kSwingPhase = 64;    // the swing can be taken once the tee phase has passed this
const float kTeeX = 94;
const float kWaterLine = 32;   // below this height an object is in the water
const float kSunk = 12;        // below this height a flying object is gone

bool is_peg(float kind) { return kind == kPegFlying || kind == kPegWaiting; }

}  // namespace

int c_MyApp::p_Rand(float a, float b) { return rand_int(a, b); }

int c_MyApp::p_ResetPlayers() {
    for (m_n = 0; m_n <= 499; ++m_n) m_state[m_n] = 0;
    return 0;
}

// Takes the free object record with the highest number for a waiting ball or peg at the tee.
static int place_on_tee(Array<float>& objects, int kind) {
    for (int r = kLastObject; r >= 0; --r) {
        const int o = r * 10;
        if (objects[o] != 0) continue;
        for (int e = 0; e < 10; ++e) objects[o + e] = 0;
        objects[o + kKind] = static_cast<float>(kind);
        objects[o + kX] = kTeeX;
        return o;
    }
    return -1;
}

int c_MyApp::p_NewBall() {
    const int o = place_on_tee(m_objects, kBallWaiting);
    if (o >= 0) {
        m_state[kPower] = 0;
        m_state[kPowerSpeed] = 0.1f;
    }
    return o;
}

int c_MyApp::p_NewPin() { return place_on_tee(m_objects, kPegWaiting); }

int c_MyApp::p_Gimme(int points, float x, float y) {
    m_score += points;
    p_AddParticle(99, x, y, 0, -0.25f, points, 3, 0);
    return 0;
}

int c_MyApp::p_Game() {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    float* state = &m_state[0];

    p_CLS2D(20, 40, 80, 1);                                              // 1. a new display list
    p_AnalogueControl();                                                 // 2.

    p_SetSize(8, 8);                                                     // 3. scenery, eight times its size
    p_SetCol(255, 255, 255, 1);   // and white, whatever colour the stick marks left
    for (m_n = 0; m_n <= kLastScenery; ++m_n) {
        float* piece = &m_scenery[m_n * 10];
        if (m_n < kLastScenery && piece[3] > piece[13])                  // 3.1 one exchange per frame:
            std::swap_ranges(piece, piece + 10, piece + 10);             //     the slow, far pieces first
        if (piece[1] < -256) {                                           // 3.2 off the left: a new piece
            piece[1] = W + 256;
            piece[3] = rnd(0.2f, 0.75f);
            piece[0] = static_cast<float>(rand_int(0, 3));
        }
        piece[1] -= piece[3] * 0.25f;                                    // 3.3
        p_DrawImg(kGfxSlot, piece[1], H - 256, 8 + to_int(piece[0]));
    }

    p_ResetDraw();                                                       // 4. the golfer
    m_teeFrame = 0;
    m_golferPose = 0;
    const bool fire = m_mouseDown > 0 || p_PlayKey(10, 1, 0) != 0 || p_PlayKey(11, 1, 0) != 0 ||
                      p_PlayKey(12, 1, 0) != 0;
    if (state[kPhase] > kSwingPhase && fire) m_teeFrame = m_golferPose = 1;   // 4.1 swinging
    if (state[kPhase] > kSwingPhase && state[kReady] == 0) m_golferPose = 1;
    if (state[kPhase] < 2) m_golferPose = 1;                                  // 4.2
    if (state[kTimer] < 1) {                                                  // 4.3 time is up
        m_golferPose = 3;
        state[kPhase] = 100;
    }
    p_DrawImg(kGfxSlot, 64, H - 80, m_golferPose);                                   // 4.4

    p_PowerMeter();                                                      // 5.
    p_TeeCycle();                                                        // 6.1
    if (state[kTimer] < 1) {                                             // 6.2 a waiting ball and peg vanish
        for (int slot : {kBallIndex, kPegIndex}) {
            const int o = to_int(state[slot]);
            const float waiting = slot == kBallIndex ? kBallWaiting : kPegWaiting;
            if (o >= 0 && m_objects[o + kKind] == waiting) m_objects[o + kKind] = 0;
        }
        state[kReady] = 0;
    }
    m_monsterCount = 0;
    state[kInPlay] = 0;
    p_ResetDraw();
    for (m_n = 0; m_n <= kLastObject; ++m_n) {                           // 6.3 every object
        m_k = m_n * 10;
        const float kind = m_objects[m_k + kKind];
        if (kind == kMonster) p_Monster();
        else if (kind > 0 && kind < 5 && m_paused == 0) p_BallOrPeg();
    }

    if (m_monsterCount < 5 - m_gameType) p_AddMonster();                 // 7. at most 4, 3 or 2 up

    p_ResetDraw();                                                       // 8. the tee marker
    p_DrawImg(kGfxbSlot, kTeeX, H - 64, m_teeFrame);

    p_SetCol(0, 180, 0, 1);                                              // 9. the tee's ground, the water
    p_Rect(32, H - 48, 80, 128);
    p_SetCol(100, 60, 0, 0.5f);
    p_Rect(0, H - 34, W, 128);
    p_Rect(0, H - 33, W, 128);
    p_Rect(0, H - 32, W, 128);
    p_Alpha(1);
    p_Rect(0, H - 30, W, 128);

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

// 5. The power meter swings while a ball waits and the phase allows a swing; the swing uses the press up
// until every control is released. No swing is taken while the game is paused: the press belongs to the
// pause menu then.
void c_MyApp::p_PowerMeter() {
    const float H = zk_Dravo_jscrh;
    float* state = &m_state[0];
    p_SetCol(0, 255, 0, 0.4f);
    p_Rect(15, H - 129, 18, 42);
    p_SetCol(0, 0, 0, 0.6f);
    p_Rect(16, H - 128, 16, 40);
    if (!(state[kPhase] > kSwingPhase && m_golferPose != 3 && state[kReady] == 1)) return;

    state[kPower] += state[kPowerSpeed] * 0.5f;                          // 5.1 turn at either end
    if (state[kPower] < 0) {
        state[kPowerSpeed] = rnd(0.09f, 0.11f);
        p_PlaySFX(kMeterLowSound, 1, 0.35f, 0);
    }
    if (state[kPower] > 2) {
        state[kPowerSpeed] = -rnd(0.09f, 0.11f);
        p_PlaySFX(kMeterHighSound, 1, 0.35f, 0);
    }
    p_SetCol(100, 255, 100, 0.6f);                                       // 5.2 the bar
    const int b = to_int(state[kPower] * 20);
    if (b < 0) {
        m_powerBar = 1;
        p_Rect(16, H - 89, 16, 1);
    } else if (b <= 40) {
        m_powerBar = b;
        p_Rect(16, H - (b + 88), 16, static_cast<float>(b));
    } else {
        m_powerBar = 40;
        p_Rect(16, H - 128, 16, 40);
    }

    if (m_teeFrame == 1 && m_keyHeld == 0 && m_touchHeld == 0 && m_paused == 0) {   // 5.3 the swing
        state[kReady] = 0;
        m_keyHeld = 1;
        m_touchHeld = 1;
        const float power = 0.6f * state[kPower] * state[kPower] + 0.1f;
        state[kPower] = power;
        const int ball = to_int(state[kBallIndex]), peg = to_int(state[kPegIndex]);
        m_objects[ball + kVX] = power * 4;
        m_objects[ball + kVY] = -8;
        m_objects[ball + kSpin] = rnd(-6, 6);
        m_objects[ball + kKind] = kBallFlying;
        m_objects[peg + kVX] = power * 2;
        m_objects[peg + kVY] = -rnd(3, 12);
        m_objects[peg + kSpin] = rnd(-6, 6);
        m_objects[peg + kKind] = kPegFlying;
        p_PlaySFX(kSwingSound, rnd(0.8f, 1.2f));
    }
    p_ResetDraw();                                                       // 5.4
}

// 6.1 The tee cycle: the phase runs to 100 and waits there for the swing; a ball and a peg are placed at
// phase 30 and rise out of the ground until phase 64. When either cannot get a record, neither is placed
// and the tee stays empty until the next cycle.
void c_MyApp::p_TeeCycle() {
    float* state = &m_state[0];
    if (state[kPhase] < 100 && m_paused == 0) state[kPhase] += 1;
    if (state[kPhase] > 99 && state[kReady] == 0 && state[kTimer] > 0) state[kPhase] = 0;
    if (m_paused != 0) return;
    const float phase = state[kPhase];
    m_teeFrame = phase > 10 && phase < 90 ? 1 : 0;
    if (phase > 20 && phase < 80) m_teeFrame = 2;
    if (phase == 30) {
        state[kBallIndex] = static_cast<float>(p_NewBall());
        state[kPegIndex] = static_cast<float>(p_NewPin());
        const int ball = to_int(state[kBallIndex]), peg = to_int(state[kPegIndex]);
        if (ball < 0 || peg < 0) {   // the pool is full: give back what was taken
            if (ball >= 0) m_objects[ball] = 0;
            if (peg >= 0) m_objects[peg] = 0;
            state[kBallIndex] = state[kPegIndex] = -1;
        } else {
            state[kReady] = 1;
        }
        state[kPower] = 0;
    }
    if (phase > 30 && phase < kSwingPhase && state[kReady] == 1) {       // they rise, the ball above the peg
        m_objects[to_int(state[kBallIndex]) + kH] = 57 - (kSwingPhase - phase);
        m_objects[to_int(state[kPegIndex]) + kH] = 50 - (kSwingPhase - phase);
    }
}

// 6.3 A monster climbs, hovers or falls, bobs and flaps; it is drawn in every frame, paused or not.
void c_MyApp::p_Monster() {
    const float H = zk_Dravo_jscrh;
    float* m = &m_objects[m_k];
    p_ResetDraw();
    ++m_monsterCount;
    m[kH] += 2 * m[kClimb];
    m[kBob] += rnd(1, 1.5f);
    m[kWing] += rnd(1, 2.5f);
    if (m[kH] > 60) m[kH] = 60, m[kClimb] = 0;
    if (m[kH] < -32) m[kKind] = 0;   // gone, drawn one last time
    const float x = m[kX], bob = m[kBob], wing = m[kWing];
    const float y0 = H - (m[kH] + sin_deg(bob * 4));
    p_DrawImg(kGfxSlot, x, y0, 12);
    p_DrawImg(kGfxSlot, x, y0 + 26 + 2 * sin_deg(bob * 5), 13);
    m_wingFrame = m[kClimb] >= 0 ? 14 : 15;
    p_DrawImg(kGfxSlot, x - (17 - 2 * sin_deg(wing * 1.25f)), y0 - (22 - 2 * cos_deg(wing * 0.75f)), m_wingFrame);
    p_DrawImg(kGfxSlot, x + (13 - 2 * sin_deg(wing * 1.47f)), y0 - (22 - 2 * cos_deg(wing * 0.9f)), m_wingFrame);
}

// 6.3 A ball or peg: flight, monster hits and their awards, walls, the water, drawing.
void c_MyApp::p_BallOrPeg() {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    float* o = &m_objects[m_k];
    m_state[kInPlay] += 1;
    const float kind = o[kKind];
    const bool flying = kind == kBallFlying || kind == kPegFlying;
    if (o[kH] < kSunk && flying) o[kKind] = 0;                           // 1. sunk: freed, moves once more
    if (flying) {                                                        // 2. flight
        o[kX] += o[kVX];
        o[kH] -= o[kVY];
        o[kAngle] += o[kSpin];
        o[kVY] += 0.08f;
        if (kind == kBallFlying) o[kVY] += 0.08f;   // balls fall twice as fast
        o[kVX] = o[kVX] > 0 ? std::max(o[kVX] - 0.005f, 0.0f) : std::min(o[kVX] + 0.005f, 0.0f);
    }
    for (m_i = 0; m_i <= kLastObject; ++m_i) p_HitMonster(o);            // 3. 4.
    if (o[kX] < 4) o[kVX] = std::abs(o[kVX]);                            // 5. walls
    if (o[kX] > W - 4) o[kVX] = -std::abs(o[kVX]);
    if (o[kH] < kWaterLine) p_Splash(o);                                 // 6.
    p_SetRot(-o[kAngle]);                                                // 7.
    if (o[kKind] == kBallFlying || o[kKind] == kBallWaiting) p_DrawImg(kGfxbSlot, o[kX], H - o[kH], 4);
    if (is_peg(o[kKind])) p_DrawImg(kGfxbSlot, o[kX], H - o[kH], 3);
}

// 6.3.3 A falling object landing on the head of a monster that is not knocked down bounces up and knocks
// it down; 6.3.4 the award grows with each bounce of the same object and rises from it as a number.
void c_MyApp::p_HitMonster(float* o) {
    const float H = zk_Dravo_jscrh;
    float* m = &m_objects[m_i * 10];
    if (m[kKind] <= 9) return;
    if (!(std::abs(m[kX] - o[kX]) < 40 && std::abs((m[kH] - 4) - o[kH]) < 20 && o[kVY] > 0.5f && m[kClimb] > -1))
        return;
    o[kVY] = -(4.5f + 2 * zk_random_Rnd());
    m[kClimb] = -rnd(0.8f, 1.3f);
    o[kBounces] += 1;
    const float pitch = std::clamp(o[kBounces] / 5 + 0.7f, 0.7f, 2.0f);
    m_hitPoints = 25;
    p_PlaySFX(kBoingSound, pitch);
    if (is_peg(o[kKind])) {
        m_hitPoints = 10;
        p_PlaySFX(kKnockSound, pitch);
    }
    const int points = to_int(m_hitPoints * o[kBounces]);
    m_score += points;
    p_AddParticle(99, o[kX], H - o[kH] - 32, 0, -0.25f, points, 3, 0);
}

// 6.3.6 An object falling into the water splashes droplets up; in the water it floats left and sinks.
void c_MyApp::p_Splash(float* o) {
    const float H = zk_Dravo_jscrh;
    if (o[kVY] > 0.2f) {
        const bool peg = o[kKind] == kPegFlying;
        const int count = peg ? 3 : 8;
        m_splashSpeed = peg ? 4 : 6;
        p_PlaySFX(peg ? kPegSplashSound : kSplashSound, rnd(0.8f, 1.2f));
        for (m_m = 0; m_m <= count; ++m_m) {
            const float speed = rnd(2, static_cast<float>(m_splashSpeed));
            const float angle = rnd(-35, 35);
            p_ThrowParticle(o[kX], H - o[kH], 3, 9, angle, speed);
        }
    }
    o[kVX] = -0.15f;
    o[kVY] = 0;
    o[kSpin] = 0;
    o[kH] -= 0.15f;
}

// 11. The clock runs while the game is not paused. The game is over once time is up, the tee is empty
// and nothing is left in play. A paused frame counts nothing in play (balls and pegs stand still unseen),
// so it never ends the game: the bounces still to come are played out after the pause.
void c_MyApp::p_Clock() {
    float* state = &m_state[0];
    if (m_paused == 0) state[kTimer] -= 1;
    int secs = 0;
    if (state[kTimer] < 0) state[kTimer] = 0;
    else secs = to_int(state[kTimer] / 60);
    if (state[kPhase] > 99 && state[kReady] == 0 && state[kTimer] < 1 && state[kInPlay] < 1 && m_paused == 0)
        m_gameOver = 1;
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
    const int base = 10 * (std::clamp(m_gameType, 1, 3) - 1);
    m_rank = 10;
    m_monsterCount = m_highscores[base + 9];
    for (m_j = 9; m_j >= 1; --m_j) {
        const int entry = m_highscores[base + m_j];
        if (entry < m_score || entry == 0) {
            m_rank = m_j - 1;
            m_monsterCount = m_highscores[base + m_j - 1];
        }
    }
    p_Text(W * 0.5f, 10, p_Nth(m_rank + 1) + String(" ") + p_rstr(m_monsterCount, 8, String("0")), 1, 1);

    p_ResetDraw();                                                       // 16. the ticking dot
    const float timer = m_state[kTimer];
    m_tick = to_int(std::fmod(timer, 60.0f));
    if (m_tick == 0 && m_paused == 0 && timer > 0) p_PlaySFX(kTickSound, 1, 0.15f, 0);
    const float e = (m_tick - 40) * 0.5f;   // swells as each second starts, shrinks over a third of it
    const float z = e < 2 ? 4 : (e > 8 ? 16 : 2 * e), off = z / 2;
    p_SetCol(100, 180, 255, 1);
    const float a = 6.0f * m_tick;
    p_Oval(W - 72 + 32 * sin_deg(a) - off, 48 - 32 * cos_deg(a) - off, z, z);

    const float size = m_tick >= 50 ? 3 + (m_tick - 50) / 10.0f : 3;   // 17. the seconds left
    p_SetSize(size, size);
    p_SetCol(255, 255, 255, 1);
    p_Text(W - 72, 48, p_rstr(m_seconds, 2, String("0")), 1, 1);
}
