// game/controls.cpp: control actions for four players and the keyboard alone, the iCade letters, the
// analogue control and the pointer tests.
//
// The game never asks for a key code: it asks whether an action is pressed. An action's row lists its
// keys, its joystick button(s), its stick direction (only when asked for analogue input) and its virtual
// key entries. A row is pressed as soon as one of its inputs is down; all tests read the held state, so an
// action stays pressed for as long as its key is held. Pointer tests are strict: an edge is outside.
#include <cmath>

#include "framework/input.h"
#include "game/myapp.h"

namespace {

const int kNoButton = -1;

// One row of the action table. Keys marked `letter` are left out in the iCade mode (the iCade types
// letters); `stick` is the direction of joystick p's first stick: 1 right, -1 left, 2 up, -2 down.
struct ActionRow {
    int action;
    int keys[4];
    bool letter[4];
    int buttons[3];
    int stick;
    int vkeys[3];
};

const ActionRow kRows[] = {
    {0, {kKeyUp, 'W', 0, 0}, {false, true}, {9, kNoButton, kNoButton}, 2, {0, -1, -1}},
    {3, {kKeyLeft, 'A', 0, 0}, {false, true}, {8, kNoButton, kNoButton}, -1, {3, -1, -1}},
    {5, {kKeyRight, 'D', 0, 0}, {false, true}, {10, kNoButton, kNoButton}, 1, {5, -1, -1}},
    {8, {kKeyDown, 'S', 0, 0}, {false, true}, {11, kNoButton, kNoButton}, -2, {8, -1, -1}},
    {10, {'Z', 'J', kKeySpace, kKeyEnter}, {true, true, false, false}, {0, kNoButton, kNoButton}, 0, {10, -1, -1}},
    {11, {'X', 'K', kKeyCtrl, 0}, {true, true, false}, {1, kNoButton, kNoButton}, 0, {11, -1, -1}},
    {12, {'C', 'L', kKeyShift, 0}, {true, true, false}, {2, kNoButton, kNoButton}, 0, {12, -1, -1}},
    {13, {'V', 'I', 0, 0}, {true, true}, {3, kNoButton, kNoButton}, 0, {13, -1, -1}},
    {14, {'B', 'U', 0, 0}, {true, true}, {4, kNoButton, kNoButton}, 0, {14, -1, -1}},
    {15, {'N', 'O', 0, 0}, {true, true}, {5, kNoButton, kNoButton}, 0, {15, -1, -1}},
    {99, {kKeyEscape, kKeyBackquote, kKeyDelete, kKeyBackspace}, {false, true, false, false}, {6, 7, 14}, 0, {16, 17, 19}},
};

const float kStickPress = 0.4f;    // a stick counts as a direction beyond this (exclusive)
const float kStickDead = 0.2f;     // the analogue stick is ignored up to this (inclusive)

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
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},  {'H', 'R', 10}, {'J', 'N', 11},
    {'K', 'P', 12}, {'Y', 'T', 13}, {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', 16}, {'L', 'V', 17},
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

float clamp1(float v) { return v < -1 ? -1 : v > 1 ? 1 : v; }

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
            if (b != kNoButton && zk_input_KeyDown(kKeyJoyBase + kJoyButtonCount * player + b)) return 1;
        if (analogue == 1 && !icade && stick_pressed(row->stick, player)) return 1;   // stick
    } else if (icade && (action == 13 || action == 14 || action == 15)) {
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
        for (m_n = 0; m_n <= 18; ++m_n) m_vkeys[m_n] = 0;
    }
    return 0;
}

// Reads every queued character; a press letter holds its virtual key (2), a release letter frees it.
int c_MyApp::p_ReadICade() {
    while ((m_rank = zk_input_GetChar()) != 0) {
        if (m_rank < 0) continue;
        int upper = (m_rank >= 'a' && m_rank <= 'z') ? m_rank - 32 : m_rank;
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
    if (m_mouseDown > 0) {
        if (m_stickAnchorX < 0) {
            m_stickAnchorX = m_mouseX;
            m_stickAnchorY = m_mouseY;
        } else {
            m_analogX = (m_mouseX - m_stickAnchorX) / 72.0f;
            m_analogY = (m_mouseY - m_stickAnchorY) / 72.0f;
            if (std::fabs(m_analogX) < 0.1f && std::fabs(m_analogY) < 0.1f) m_analogX = m_analogY = 0;
            // The anchor follows a pointer that moved far away, 4 pixels per frame on each such axis.
            if (std::abs(m_mouseX - m_stickAnchorX) > 64) m_stickAnchorX += m_mouseX > m_stickAnchorX ? 4 : -4;
            if (std::abs(m_mouseY - m_stickAnchorY) > 64) m_stickAnchorY += m_mouseY > m_stickAnchorY ? 4 : -4;
        }
        p_SetCol(0, 100, 250, 0.25f);
        p_Oval(static_cast<float>(m_stickAnchorX), static_cast<float>(m_stickAnchorY), 12, 12);
        p_Oval(static_cast<float>(m_mouseX), static_cast<float>(m_mouseY), 8, 8);
    }
    float jx = zk_input_JoyX(0, 0), jy = zk_input_JoyY(0, 0);            // 3. first stick
    if (std::fabs(jx) > kStickDead || std::fabs(jy) > kStickDead) {
        m_analogX = jx;
        m_analogY = -jy;
    }
    if (p_PlayKey(0, 0, 0)) m_keyRampY -= 0.15f, m_analogY = m_keyRampY; // 4. keys, vertical
    else if (m_keyRampY < 0) m_keyRampY = ease_to_zero(m_keyRampY, 0.2f), m_analogY = m_keyRampY;
    if (p_PlayKey(8, 0, 0)) m_keyRampY += 0.15f, m_analogY = m_keyRampY;
    else if (m_keyRampY > 0) m_keyRampY = ease_to_zero(m_keyRampY, 0.2f), m_analogY = m_keyRampY;
    if (p_PlayKey(3, 0, 0)) m_keyRampX -= 0.15f, m_analogX = m_keyRampX; // 5. keys, horizontal
    else if (m_keyRampX < 0) m_keyRampX = ease_to_zero(m_keyRampX, 0.2f), m_analogX = m_keyRampX;
    if (p_PlayKey(5, 0, 0)) m_keyRampX += 0.15f, m_analogX = m_keyRampX;
    else if (m_keyRampX > 0) m_keyRampX = ease_to_zero(m_keyRampX, 0.2f), m_analogX = m_keyRampX;
    m_analogX = clamp1(m_analogX);                                       // 6.
    m_analogY = clamp1(m_analogY);
    m_keyRampX = clamp1(m_keyRampX);
    m_keyRampY = clamp1(m_keyRampY);
    if ((std::fabs(m_analogX) > 0.05f || std::fabs(m_analogY) > 0.05f) && zk_Dravo_DebugMode == 1) {   // 7.
        const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
        p_SetCol(0, 180, 250, 0.5f);
        p_Oval(W - 64, H - 64, 12, 12);
        p_Oval(W - 64 + 52 * m_analogX, H - 64 + 52 * m_analogY, 8, 8);
    }
    return 0;
}

int c_MyApp::p_Button(int image, float x, float y, int frame) {
    p_DrawImg(image, x, y, frame);
    float hw = m_imageInfo[image * 3] * m_drawScale * m_sizeX * 0.5f;
    float hh = m_imageInfo[image * 3 + 1] * m_drawScale * m_sizeY * 0.5f;
    m_k = 0;
    for (int i = 0; i < 10 && m_mouseDown > 0; ++i)
        if (x - hw < m_touchX[i] && m_touchX[i] < x + hw && y - hh < m_touchY[i] && m_touchY[i] < y + hh) m_k = 1;
    return m_k;
}

// The options gear of the boxes and the pause menu: three wheels of the button sheet (frames 8, 9 and 10)
// turning against each other by m_gearAngle; the front wheel is the button. Rotation 0 afterwards.
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
    float hw = m_imageInfo[image * 3] * m_drawScale * m_sizeX * 0.5f;
    float hh = m_imageInfo[image * 3 + 1] * m_drawScale * m_sizeY * 0.5f;
    bool inside = x - hw < m_touchX[0] && m_touchX[0] < x + hw && y - hh < m_touchY[0] && m_touchY[0] < y + hh;
    return inside && m_mouseDown > 0;
}

int c_MyApp::p_MouseIn_Centered(float x, float y, float w, float h) {
    for (int i = 0; i < 10; ++i)
        if (m_touchDown[i] && x - w / 2 < m_touchX[i] && m_touchX[i] < x + w / 2 && y - h / 2 < m_touchY[i] &&
            m_touchY[i] < y + h / 2)
            return 1;
    return 0;
}

int c_MyApp::p_Touch(float x, float y, float w, float h) {
    p_Rect(x, y, w, h);
    for (int i = 0; i < 10; ++i)   // a margin of 6 before the rectangle and 12 after it
        if (m_touchDown[i] && x - 6 < m_touchX[i] && m_touchX[i] < x + w + 12 && y - 6 < m_touchY[i] &&
            m_touchY[i] < y + h + 12)
            return 1;
    return 0;
}
