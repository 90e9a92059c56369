// game/overlays.cpp: the screens drawn over play or over the menu: the pause menu, the game-over overlay
// and the badge pop-ups.
//
// Each runs once per update while its mode or flag is set (p_InGame calls the pause menu, p_OnUpdate the
// other two), handles that update's input and records its drawing; each ends with the draw state reset.
// Presses go through the two latches: a pointer press sets m_touchHeld, a key press m_keyHeld, and nothing
// acts again until they are released.
#include <algorithm>
#include <cmath>

#include "game/gamemath.h"
#include "game/myapp.h"

namespace {

const int kPanelStep = 24;       // the pause panel slides this far per update
const int kPanelHome = -64;      // the pause panel's place off the top of the screen
const int kOverEnd = 90;         // game-over updates before the game ends (mode 2) ...
const int kOverRetract = 73;     // ... and where the overlay then starts retracting over the menu
const int kPopSlots = 13;        // pop-up slots shown: 0..12 of the 15
const int kPopLife = 240;        // a pop-up leaves at this age; it slides 16 pixels a frame
const int kPopWidth = 160;

// The pause panel around its centre (W/2, P): three bars, and the side buttons' offsets from the centre.
struct PanelRect {
    float dx, dy, w, h;
};
struct PauseLayout {
    PanelRect bars[3];   // top bar, body, bottom bar
    float side, lift;    // side buttons stand `side` left and right of the centre and `lift` above it
};
const PauseLayout kPortrait = {{{-96, -92, 192, 8}, {-128, -80, 256, 160}, {-96, 84, 192, 8}}, 96, 96};
const PauseLayout kLandscape = {{{-128, -64, 256, 8}, {-140, -52, 280, 104}, {-128, 56, 256, 8}}, 140, 64};

struct Tint {
    float r, g, b, a;
};
const Tint kBarTints[3] = {{255, 255, 10, 0.6f}, {255, 150, 10, 0.7f}, {10, 150, 255, 0.6f}};

}  // namespace

using game::to_int;

int c_MyApp::p_PauseMenu() {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    const PauseLayout& layout = m_landscape == 1 ? kLandscape : kPortrait;
    p_ResetDraw();
    p_SetCol(0, 0, 0, std::abs(m_pauseY) / (0.8f * H));                  // 1. dimming
    p_Rect(0, 0, W, H);
    if (m_pauseDir == 1) {                                               // 2. slide
        if (m_pauseY < H / 2) m_pauseY += kPanelStep;
    } else if (m_pauseY < kPanelHome + 1) {
        m_paused = 0;
    } else {
        m_pauseY -= kPanelStep;
        if (m_pauseY < -32) m_paused = 0;   // the panel has left: play resumes
    }
    const float P = static_cast<float>(m_pauseY);                        // 3. panel
    for (int bar = 0; bar < 3; ++bar) {
        const PanelRect& r = layout.bars[bar];
        p_SetCol(kBarTints[bar].r, kBarTints[bar].g, kBarTints[bar].b, kBarTints[bar].a);
        p_Rect(W / 2 + r.dx, P + r.dy, r.w, r.h);
    }
    p_PauseButtons(layout.side, layout.lift);                            // 4.
    p_PauseCursor();                                                     // 5.
    if (m_keyHeld == 0 && p_AnyPlayer(kActionBack)) {                    // 6. back: resume
        m_keyHeld = 1;
        m_pauseDir = -1;
        p_PlaySFX(kChimeSound, 1, 0.5f, 0);
    }
    p_ResetDraw();
    return 0;
}

// A pause button is pressed by the pointer (`touched`, taken while m_touchHeld is 0) or by the first fire
// button alone while the cursor stands on it (`at`; a stray second button, shoulder or Shift never ends
// the game). The press is latched; the answer says which it was.
c_MyApp::PausePress c_MyApp::p_PausePress(bool touched, int at) {
    if (touched && m_touchHeld == 0) {
        m_touchHeld = 1;
        return PausePress::kPointer;
    }
    if (m_pauseCursor == at && m_keyHeld == 0 && p_AnyPlayer(kActionFire)) {
        m_keyHeld = 1;
        return PausePress::kFire;
    }
    return PausePress::kNone;
}

// 4. The buttons around the panel's centre: the highlight under the cursor, resume in the centre, end
// the game on the left, options on the right (`side` to either side and `lift` above the centre).
void c_MyApp::p_PauseButtons(float side, float lift) {
    const float W = zk_Dravo_jscrw, P = static_cast<float>(m_pauseY);
    const float leftX = static_cast<float>(to_int(W / 2 - side));
    const float rightX = static_cast<float>(to_int(W / 2 + side));
    const float sideY = P - lift;
    if (m_pauseCursor >= -1 && m_pauseCursor <= 1) {
        const float xs[3] = {leftX, W / 2, rightX};
        p_SetSize(2.5f);
        p_SetCol(255, 255, 100, 1);
        p_DrawImg(kIconsSlot, xs[m_pauseCursor + 1], m_pauseCursor == 0 ? P : sideY, 6);
    }
    p_SetSize(2);
    p_SetCol(50, 50, 250);
    if (p_PausePress(p_Button(kIconsSlot, W / 2, P, 3) != 0, 0) != PausePress::kNone) {   // resume
        m_pauseDir = -1;
        p_PlaySFX(kChimeSound, 1, 0.5f, 0);
    }
    p_SetCol(255, 50, 50);
    if (p_PausePress(p_Button(kIconsSlot, leftX, sideY, 1) != 0, -1) != PausePress::kNone) {   // end the game
        m_paused = 0;
        m_pauseDir = -1;
        m_pauseY = kPanelHome;
        m_gameOver = 1;   // the game-over overlay takes over from the next update
        p_PlaySFX(kChimeSound, 0.5f, 0.5f, 0);
    }
    p_SetSize(1);
    p_SetCol(255, 255, 255);
    if (m_optionsOpen == 0) m_gearAngle += 0.2f;
    const PausePress options = p_PausePress(p_Gear(rightX, sideY) != 0, 1);
    if (options != PausePress::kNone) {
        m_optionsOpen = 1;
        if (options == PausePress::kPointer) p_PlaySFX(kClickSound, 1);
        else p_PlaySFX(kChimeSound, 1, 0.5f, 0);
    }
}

// 5. Cursor moves, once per press: from the centre left or up to the end button and right to options;
// from either side back to the centre.
void c_MyApp::p_PauseCursor() {
    if (m_keyHeld != 0) return;
    int to = m_pauseCursor;
    float rate = 0.8f;
    if (m_pauseCursor == 0 && p_AnyPlayer(kPrevious)) {
        to = -1;
    } else if (m_pauseCursor == 0 && p_AnyPlayer(kActionRight)) {
        to = 1;
        rate = 1.2f;
    } else if ((m_pauseCursor == -1 && p_AnyPlayer(kFromEndButton)) ||
               (m_pauseCursor == 1 && p_AnyPlayer(kFromOptionsButton))) {
        to = 0;
    }
    if (to == m_pauseCursor) return;
    m_keyHeld = 1;
    m_pauseCursor = to;
    p_PlaySFX(kChimeSound, rate, 0.5f, 0);
}

int c_MyApp::p_GameOver() {
    if (m_overTimer >= 1) {                                              // 1. the overlay
        m_keyHeld = 1;
        m_touchHeld = 1;
        p_DrawGameOver(m_overTimer);
    }
    if (m_mode == 10) {                                                  // 2. the game ends at 90
        ++m_overTimer;
        if (m_overTimer >= kOverEnd) {
            m_mode = 2;
            m_overTimer = kOverRetract;
            if (zk_Dravo_HasMusicStream == 1) p_StopTune();
        }
    } else if (m_mode < 10) {                                            // 3. retract over the menu
        m_overTimer = std::max(0, m_overTimer - 2);
    }
    p_ResetDraw();
    return 0;
}

// The game-over overlay at counter T: the screen darkens, two bands grow from the sides, "GAME" and
// "OVER" slide in, and a score with a place in the best ten is announced with its place.
void c_MyApp::p_DrawGameOver(int T) {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    p_ResetDraw();
    p_SetCol(0, 0, 0, std::min(0.7f, T / 40.0f));
    p_Rect(-1, -1, W + 2, H + 2);
    const float Y = static_cast<float>(to_int(std::min(12.0f * T, 0.45f * H)));
    p_SetCol(255, 255, 0, 0.5f);                                         // bands growing from both sides
    p_Rect(-1, 0.45f * H - 8, 2 * Y, 16);
    p_SetCol(255, 128, 0, 0.5f);
    p_Rect(W - 2 * Y, 0.55f * H - 8, 2 * Y + 1, 16);
    p_SetSize(4);
    p_SetCol(255, 180, 180, 1);
    p_Text(0.35f * W, Y, String("GAME"), 1, 1);
    p_Text(0.65f * W, H - Y, String("OVER"), 1, 1);
    const String place = p_MyNth();
    if (place.Length() == 0) return;   // no place in the best ten
    p_SetSize(1);
    p_SetCol(0, 125, 255, 0.5f);
    p_Rect(0.35f * W, H - Y / 1.5f - 16, 0.3f * W, 32);
    p_SetSize(2);
    p_SetCol(100, 255, 100, 1);
    // The two characters backslash and n break the line; the spaces put the place under the title.
    p_Text(W / 2, H - Y / 1.5f, String("New Highscore\\n           ") + place, 0.5f, 2);
}

int c_MyApp::p_ShowBadges() {
    const float H = zk_Dravo_jscrh;
    for (int s = 0; s < kPopSlots; ++s) {   // a local: p_BadgeName may use the shared loop fields
        if (m_badgePopTime[s] < 1) continue;
        const int age = ++m_badgePopTime[s];                             // 1. age and slide
        float x = 16.0f * age - kPopWidth;
        if (age > kPopLife - kPopWidth / 16) x = (kPopLife - age) * 16.0f - kPopWidth;
        x = std::min(x, 0.0f);
        if (age > kPopLife) m_badgePopTime[s] = 0;
        const int id = m_badgePopId[s];
        const float y = H - 34.0f * (s + 1);
        p_ResetDraw();                                                   // 2. box and name
        p_SetCol(0, 0, 80, 0.8f);
        p_Rect(x, y, kPopWidth, 32);
        p_SetCol(255, 255, 255, 1);
        p_Text(x + 16, y + 4, p_BadgeName(id), 0, 0);
        if (id < 64) {                                                   // 3. the badge's picture
            p_SetSize(0.5f);
            p_DrawImg(kBadgesSlot, x + 144, y + 16, id);
        }
    }
    p_ResetDraw();
    return 0;
}
