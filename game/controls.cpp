// game/controls.cpp: control actions for four players and the keyboard alone, the iCade letters, the
// analogue control and the pointer tests.
//
// The game never asks for a key code: it asks whether an action is pressed. An action's row lists its
// keys, its joystick button(s), its stick direction (only when asked for analogue input) and its virtual
// key entries. A row is pressed as soon as one of its inputs is down; all tests read the held state, so an
// action stays pressed for as long as its key is held. Every pointer test is one rectangle test
// (p_TouchIn), strict: an edge is outside.
#include <algorithm>
#include <cmath>

#include "framework/input.h"
#include "game/myapp.h"

namespace {

const int kNone = -1;   // no button, no virtual key

// One row of the action table. Keys marked `letter` are left out in the iCade mode (the iCade types
// letters); `stick` is the direction of joystick p's first stick: 1 right, -1 left, 2 up, -2 down.
struct ActionRow {
    Action action;
    int keys[4];
    bool letter[4];
    int buttons[3];
    int stick;
    int vkeys[3];
};

const ActionRow kRows[] = {
    {kActionUp, {kKeyUp, 'W', 0, 0}, {false, true}, {9, kNone, kNone}, 2, {0, -1, -1}},
    {kActionLeft, {kKeyLeft, 'A', 0, 0}, {false, true}, {8, kNone, kNone}, -1, {3, -1, -1}},
    {kActionRight, {kKeyRight, 'D', 0, 0}, {false, true}, {10, kNone, kNone}, 1, {5, -1, -1}},
    {kActionDown, {kKeyDown, 'S', 0, 0}, {false, true}, {11, kNone, kNone}, -2, {8, -1, -1}},
    {kActionFire,
     {'Z', 'J', kKeySpace, kKeyEnter},
     {true, true, false, false},
     {0, kNone, kNone},
     0,
     {10, -1, -1}},
    {kActionFire2, {'X', 'K', kKeyCtrl, 0}, {true, true, false}, {1, kNone, kNone}, 0, {11, -1, -1}},
    {kActionFire3, {'C', 'L', kKeyShift, 0}, {true, true, false}, {2, kNone, kNone}, 0, {12, -1, -1}},
    {kActionButton4, {'V', 'I', 0, 0}, {true, true}, {3, kNone, kNone}, 0, {13, -1, -1}},
    {kActionLeftShoulder, {'B', 'U', 0, 0}, {true, true}, {4, kNone, kNone}, 0, {14, -1, -1}},
    {kActionRightShoulder, {'N', 'O', 0, 0}, {true, true}, {5, kNone, kNone}, 0, {15, -1, -1}},
    {kActionBack,
     {kKeyEscape, kKeyBackquote, kKeyDelete, kKeyBackspace},
     {false, true, false, false},
     {6, 7, 14},
     0,
     {kVKeyICadeO, kVKeyICadeL, kVKeyBackHits}},
};

const float kStickPress = 0.4f;    // a stick counts as a direction beyond this (exclusive)
const float kStickDead = 0.2f;     // the analogue stick is ignored up to this (inclusive)
const float kDragRange = 72;       // pixels of drag from the anchor for a full stick
const float kDragDead = 0.1f;      // a drag below this on both axes is centred
const int kAnchorLag = 64;         // the anchor follows a pointer farther than this ...
const int kAnchorStep = 4;         // ... by this many pixels a frame
const float kRampStep = 0.15f;     // a held direction key moves its ramp this far a frame
const float kRampEase = 0.2f;      // a released one eases back this far a frame

const ActionRow* find_row(int action) {
    for (const ActionRow& row : kRows)
        if (row.action == action) return &row;
    return nullptr;
}

// iCade letters: press letter, release letter, virtual key entry.
struct ICadeLetter {
    char press, release;
    int vkey;
};
const ICadeLetter kICade[] = {
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},           {'D', 'C', 5},
    {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12},          {'Y', 'T', 13},
    {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', kVKeyICadeO}, {'L', 'V', kVKeyICadeL},   // back
};

bool stick_pressed(int stick, int player) {
    switch (stick) {
    case 1: return zk_input_JoyX(0, player) > kStickPress;
    case -1: return zk_input_JoyX(0, player) < -kStickPress;
    case 2: return zk_input_JoyY(0, player) > kStickPress;
    case -2: return zk_input_JoyY(0, player) < -kStickPress;
    }
    return false;
}

// Moves a key ramp toward 0 by `step` without passing it.
float ease_to_zero(float v, float step) {
    if (v > 0) return v - step < 0 ? 0 : v - step;
    if (v < 0) return v + step > 0 ? 0 : v + step;
    return v;
}

// One axis of held direction keys: a held key moves the ramp its way, a released one eases the ramp on
// its side back toward 0; whenever the ramp moves, the stick takes it.
void ramp_axis(float& ramp, float& stick, bool lessHeld, bool moreHeld) {
    if (lessHeld) ramp -= kRampStep, stick = ramp;
    else if (ramp < 0) ramp = ease_to_zero(ramp, kRampEase), stick = ramp;
    if (moreHeld) ramp += kRampStep, stick = ramp;
    else if (ramp > 0) ramp = ease_to_zero(ramp, kRampEase), stick = ramp;
}

// An anchor coordinate follows a pointer that has moved far away.
void follow(int& anchor, int pointer) {
    if (std::abs(pointer - anchor) > kAnchorLag) anchor += pointer > anchor ? kAnchorStep : -kAnchorStep;
}

}  // namespace

int c_MyApp::p_PlayKey(int action, int analogue, int player) {
    if (player < -1) return 0;
    const ActionRow* row = find_row(action);
    if (!row) return 0;
    const bool icade = zk_Dravo_iCadeControls == 1;
    for (int i = 0; i < 4; ++i) {                                        // keys
        if (!row->keys[i] || (icade && row->letter[i])) continue;
        if (zk_input_KeyDown(row->keys[i])) return 1;
    }
    if (player >= 0) {
        for (int b : row->buttons)                                       // joystick buttons
            if (b != kNone && zk_input_KeyDown(kKeyJoyBase + kJoyButtonCount * player + b)) return 1;
        if (analogue == 1 && !icade && stick_pressed(row->stick, player)) return 1;   // stick
    } else if (icade && action >= kActionButton4 && action <= kActionRightShoulder) {
        return m_vkeys[row->vkeys[0]];   // the keyboard alone reads the virtual key's own value
    }
    for (int v : row->vkeys)                                             // virtual keys
        if (v >= 0 && m_vkeys[v] != 0) return 1;
    return 0;
}

int c_MyApp::p_PlayKeyAll(int action, int analogue) {
    int sum = 0;
    for (int p = 0; p <= 3; ++p) sum += p_PlayKey(action, analogue, p);
    return sum;
}

bool c_MyApp::p_ActionDown(ActionList actions, int player) {
    for (Action action : actions)
        if (p_PlayKey(action, 1, player)) return true;
    return false;
}

bool c_MyApp::p_AnyPlayer(ActionList actions) {
    for (int p = 0; p <= 3; ++p)
        if (p_ActionDown(actions, p)) return true;
    return false;
}

float c_MyApp::p_StickX(int axis, int player) { return player < 0 ? 0 : zk_input_JoyX(axis, player); }

float c_MyApp::p_StickY(int axis, int player) {
    if (player < 0) return 0;
    return axis == 0 ? -zk_input_JoyY(0, player) : zk_input_JoyY(axis, player);   // first stick: down > 0
}

int c_MyApp::p_iCade(int on) {
    if (on == 1) {
        zk_input_EnableKeyboard();
        zk_Dravo_iCadeControls = 1;
        while (zk_input_GetChar() != 0) {}   // discard what was typed before
    } else if (on == 0) {
        zk_input_DisableKeyboard();
        zk_Dravo_iCadeControls = 0;
        for (int v = 0; v < kVirtualKeys; ++v) m_vkeys[v] = 0;
    }
    return 0;
}

// Reads every queued character into m_rank, its scratch; a press letter holds its virtual key (2), a
// release letter frees it.
int c_MyApp::p_ReadICade() {
    while ((m_rank = zk_input_GetChar()) != 0) {
        if (m_rank < 0) continue;
        const int upper = (m_rank >= 'a' && m_rank <= 'z') ? m_rank - 32 : m_rank;
        for (const ICadeLetter& l : kICade) {
            if (upper == l.press) m_vkeys[l.vkey] = 2;
            else if (upper == l.release) m_vkeys[l.vkey] = 0;
        }
    }
    return 0;
}

int c_MyApp::p_AnalogueControl() {
    m_analogX = m_analogY = 0;                                           // 1.
    if (m_mouseDown == 0) m_stickAnchorX = -1;                           // 2. dragged pointer
    if (m_mouseDown > 0) p_DragStick();
    const float jx = zk_input_JoyX(0, 0), jy = zk_input_JoyY(0, 0);      // 3. first stick
    if (std::fabs(jx) > kStickDead || std::fabs(jy) > kStickDead) {
        m_analogX = jx;
        m_analogY = -jy;
    }
    const bool up = p_PlayKey(kActionUp, 0, 0) != 0, down = p_PlayKey(kActionDown, 0, 0) != 0;
    ramp_axis(m_keyRampY, m_analogY, up, down);                          // 4. keys, vertical
    const bool left = p_PlayKey(kActionLeft, 0, 0) != 0, right = p_PlayKey(kActionRight, 0, 0) != 0;
    ramp_axis(m_keyRampX, m_analogX, left, right);                       // 5. keys, horizontal
    m_analogX = std::clamp(m_analogX, -1.0f, 1.0f);                      // 6.
    m_analogY = std::clamp(m_analogY, -1.0f, 1.0f);
    m_keyRampX = std::clamp(m_keyRampX, -1.0f, 1.0f);
    m_keyRampY = std::clamp(m_keyRampY, -1.0f, 1.0f);
    if ((std::fabs(m_analogX) > 0.05f || std::fabs(m_analogY) > 0.05f) && zk_Dravo_DebugMode == 1) {   // 7.
        const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
        p_SetCol(0, 180, 250, 0.5f);
        p_Oval(W - 64, H - 64, 12, 12);
        p_Oval(W - 64 + 52 * m_analogX, H - 64 + 52 * m_analogY, 8, 8);
    }
    return 0;
}

// Step 2 of the analogue control while the pointer is down: the press sets the anchor; later the drag
// from it is the stick, and the anchor follows a pointer that moved far away. The marks show both.
void c_MyApp::p_DragStick() {
    if (m_stickAnchorX < 0) {
        m_stickAnchorX = m_mouseX;
        m_stickAnchorY = m_mouseY;
    } else {
        m_analogX = (m_mouseX - m_stickAnchorX) / kDragRange;
        m_analogY = (m_mouseY - m_stickAnchorY) / kDragRange;
        if (std::fabs(m_analogX) < kDragDead && std::fabs(m_analogY) < kDragDead) m_analogX = m_analogY = 0;
        follow(m_stickAnchorX, m_mouseX);
        follow(m_stickAnchorY, m_mouseY);
    }
    p_SetCol(0, 100, 250, 0.25f);
    p_Oval(static_cast<float>(m_stickAnchorX), static_cast<float>(m_stickAnchorY), 12, 12);
    p_Oval(static_cast<float>(m_mouseX), static_cast<float>(m_mouseY), 8, 8);
}

bool c_MyApp::p_TouchIn(float left, float top, float right, float bottom, int first, int last) const {
    for (int i = first; i <= last; ++i)
        if (m_touchDown[i] && left < m_touchX[i] && m_touchX[i] < right && top < m_touchY[i] &&
            m_touchY[i] < bottom)
            return true;
    return false;
}

bool c_MyApp::p_OnImage(int image, float x, float y, int first, int last) const {
    const float hw = m_imageInfo[image * 3] * m_drawScale * m_sizeX * 0.5f;
    const float hh = m_imageInfo[image * 3 + 1] * m_drawScale * m_sizeY * 0.5f;
    return m_mouseDown > 0 && p_TouchIn(x - hw, y - hh, x + hw, y + hh, first, last);
}

int c_MyApp::p_Button(int image, float x, float y, int frame) {
    p_DrawImg(image, x, y, frame);
    m_k = p_OnImage(image, x, y) ? 1 : 0;   // the result is kept in m_k as well
    return m_k;
}

// The options gear: three wheels of the button sheet (frames 8, 9 and 10) turning against each other by
// m_gearAngle; the front wheel is the button. Rotation 0 afterwards.
int c_MyApp::p_Gear(float x, float y) {
    p_SetRot(0.66f * m_gearAngle);
    p_DrawImg(kButtonsSlot, x, y, 8);
    p_SetRot(-0.33f * m_gearAngle);
    p_DrawImg(kButtonsSlot, x, y, 9);
    p_SetRot(-m_gearAngle);
    const int hit = p_Button(kButtonsSlot, x, y, 10);
    p_SetRot(0);
    return hit;
}

bool c_MyApp::p_Button0(int image, float x, float y, int frame) {
    p_DrawImg(image, x, y, frame);
    return p_OnImage(image, x, y, 0, 0);
}

int c_MyApp::p_MouseIn_Centered(float x, float y, float w, float h) {
    return p_TouchIn(x - w / 2, y - h / 2, x + w / 2, y + h / 2) ? 1 : 0;
}

int c_MyApp::p_Touch(float x, float y, float w, float h) {
    p_Rect(x, y, w, h);
    return p_TouchIn(x - 6, y - 6, x + w + 12, y + h + 12) ? 1 : 0;   // margins of 6 before and 12 after
}
