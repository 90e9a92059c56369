// game/records.h: the layouts of the game's records, of the state of the current game and of the saved
// settings and score tables, named once for every game file and the tests.
//
// NOTES
// A record is ten floats in one of the game's float arrays: record r occupies entries 10r .. 10r + 9 and
// is free when entry 0, its kind, is 0. Allocation takes the free record with the highest number.
//
//   object    m_objects, records 0..kLastObject. Golf play (play.cpp) places, moves, hits and draws
//             them; creatures.cpp spawns the monsters.
//               ball or peg  [0] kind 1..4  [1] x  [2] h, upward from the bottom edge  [3] vx
//                            [4] vy, downward positive  [5] angle  [6] spin  [7] bounces so far
//               monster      [0] kind 10  [1] x  [2] h  [7] climb: 1 rising, 0 hovering, negative
//                            knocked down  [8] bob phase  [9] wing phase
//   particle  m_particles, records 0..m_maxParticles (creatures.cpp): [0] kind  [1] [2] x, y on screen
//             [3] [4] vx, vy  [5] angle  [6] spin  [7] life, drawn as alpha  [8] palette colour
//             [9] image frame, or the number a kNumberParticle shows
//   star      m_stars, records 0..m_maxStars (creatures.cpp): [0] frame of slot 3  [1] [2] x, y on
//             screen  [3] speed 0.2..0.8, also its alpha. Entry 0 is no kind: stars never die, they wrap.
//   scenery   m_scenery, records 0..kLastScenery (play.cpp): [0] kind 0..3  [1] x  [3] speed
//   command   m_drawList, 15 floats each (draw.cpp): [0] image slot, kRectCommand or kOvalCommand
//             [1] [2] x, y  [3] rotation  [4] [5] image scale, rectangle size or oval radii  [6] frame
//             [7] alpha  [10] [11] [12] colour 0..255  [13] blend flag, recorded and never read
//
// m_state, the current game: the slots below; entries 0..kLastStateEntry are cleared by every start.
// m_options, the saved settings: entry kOptionSound is the sound mode (the others: progress.cpp).
// m_highscores: game type t's best ten, highest first, from best_ten(t); its last ten, newest first,
// kLastTen entries further on.
#pragma once

const int kRecordFloats = 10;

// ---- Object records ----
const int kObjKind = 0, kObjX = 1, kObjH = 2, kObjVX = 3, kObjVY = 4, kObjAngle = 5, kObjSpin = 6,
          kObjBounces = 7;
const int kObjClimb = 7, kObjBob = 8, kObjWing = 9;   // monsters
const int kLastObject = 200;                          // object records 0..200 are used

// Object kinds: 0 free; a ball or peg flies after the swing and waits on the tee before it.
const float kBallFlying = 1, kPegFlying = 2, kBallWaiting = 3, kPegWaiting = 4;
const float kMonster = 10;   // every kind above 9 counts as a monster

inline bool is_peg(float kind) { return kind == kPegFlying || kind == kPegWaiting; }
inline bool is_ball_or_peg(float kind) { return kind > 0 && kind < 5; }
inline bool is_monster(float kind) { return kind > 9; }

// ---- Particle records ----
const int kPartKind = 0, kPartX = 1, kPartY = 2, kPartVX = 3, kPartVY = 4, kPartAngle = 5, kPartSpin = 6,
          kPartLife = 7, kPartColour = 8, kPartValue = 9;
// Particle kinds: images of the parts sheet (the second falls), droplets of the specks sheet (falling),
// and numbers drawn as text.
const float kSparkParticle = 1, kFallingSparkParticle = 2, kDropletParticle = 3, kNumberParticle = 99;

// ---- Star and scenery records ----
const int kStarFrame = 0, kStarX = 1, kStarY = 2, kStarSpeed = 3;
const int kSceneKind = 0, kSceneX = 1, kSceneSpeed = 3;
const int kLastScenery = 10;   // scenery records 0..10

// ---- Display list commands ----
const int kCommandFloats = 15;
const int kCmdKind = 0, kCmdX = 1, kCmdY = 2, kCmdRot = 3, kCmdW = 4, kCmdH = 5, kCmdFrame = 6, kCmdAlpha = 7,
          kCmdRed = 10, kCmdGreen = 11, kCmdBlue = 12, kCmdBlend = 13;
const float kRectCommand = -3717.0f, kOvalCommand = -3716.0f;   // any other kind is an image slot

// ---- Slots of m_state ----
const int kStatePower = 3;        // the power meter, swinging between about 0 and 2
const int kStatePowerSpeed = 4;   // the meter moves by half of this each frame
const int kStateInPlay = 88;      // balls and pegs seen this frame
const int kStateTimer = 89;       // frames left in the game
const int kStateReady = 99;       // 1 while a ball waits on the tee and may be hit
const int kStatePhase = 100;      // the tee cycle, 0..100
const int kStateBall = 101;       // first float of the waiting ball's record, or -1
const int kStatePeg = 102;        // first float of the waiting peg's record, or -1
const int kLastStateEntry = 499;

// ---- Saved settings and score tables ----
const int kOptionSound = 5;   // 0 off, 1 effects and music, 2 effects only, 3 music only
const int kTableSize = 10;    // a best ten and a last ten per game type
const int kLastTen = 30;      // the last ten lie this far after the best ten

// The first entry of game type t's best ten (t 1..3).
inline int best_ten(int gameType) { return kTableSize * (gameType - 1); }
