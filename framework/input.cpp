// framework/input.cpp: the input device and the zk_input_ functions.
#include "framework/input.h"

#include "runtime/contract.h"

c_InputDevice* zk_input_device = nullptr;

namespace {

// The host the joysticks are polled through and the keyboard is switched on.
ZKGame* host() {
    ZK_CONTRACT(ZKGame::_game, "the input device reaches the host only once the host exists");
    return ZKGame::_game;
}

bool valid_key(int key) { return key >= 0 && key < kKeyCount; }
bool valid_finger(int finger) { return finger >= 0 && finger < kTouches; }

}  // namespace

// ---- C_JoyState ----

c_JoyState::c_JoyState() {
    gc_assign(m_joyx, Array<float>(2));
    gc_assign(m_joyy, Array<float>(2));
    gc_assign(m_joyz, Array<float>(2));
    gc_assign(m_buttons, Array<bool>(kJoyButtonCount));
}

void c_JoyState::mark() {
    gc_mark_q(m_joyx);
    gc_mark_q(m_joyy);
    gc_mark_q(m_joyz);
    gc_mark_q(m_buttons);
}

// ---- C_InputDevice: construction ----

c_InputDevice::c_InputDevice() {
    gc_assign(m__joyStates, Array<c_JoyState*>(kJoyPads));
    gc_assign(m__keyDown, Array<bool>(kKeyCount));
    gc_assign(m__keyHitQueue, Array<int>(kKeyHitQueue));
    gc_assign(m__keyHit, Array<int>(kKeyCount));
    gc_assign(m__charQueue, Array<int>(kCharQueue));
    gc_assign(m__touchX, Array<float>(kTouches));
    gc_assign(m__touchY, Array<float>(kTouches));
}

c_InputDevice* c_InputDevice::m_new() {
    for (int i = 0; i < kJoyPads; ++i) gc_assign(m__joyStates[i], (new c_JoyState())->m_new());
    return this;
}

void c_InputDevice::mark() {
    gc_mark_q(m__joyStates);
    gc_mark_q(m__keyDown);
    gc_mark_q(m__keyHitQueue);
    gc_mark_q(m__keyHit);
    gc_mark_q(m__charQueue);
    gc_mark_q(m__touchX);
    gc_mark_q(m__touchY);
}

// ---- Events ----

void c_InputDevice::p_PutKeyHit(int key) {
    if (m__keyHitPut == m__keyHitQueue.Length() || !valid_key(key)) return;   // full: the hit is lost
    m__keyHit[key] += 1;
    m__keyHitQueue[m__keyHitPut++] = key;
}

void c_InputDevice::p_KeyEvent(int event, int data) {
    switch (event) {
    case kEventKeyDown:
        if (!valid_key(data) || m__keyDown[data]) return;   // a repeat adds no hit
        m__keyDown[data] = true;
        p_PutKeyHit(data);
        if (data == kKeyMouseLeft) {   // the twin follows without looking at its own state
            m__keyDown[kKeyTouchBase] = true;
            p_PutKeyHit(kKeyTouchBase);
        } else if (data == kKeyTouchBase) {
            m__keyDown[kKeyMouseLeft] = true;
            p_PutKeyHit(kKeyMouseLeft);
        }
        break;
    case kEventKeyUp:
        if (!valid_key(data) || !m__keyDown[data]) return;
        m__keyDown[data] = false;
        if (data == kKeyMouseLeft) m__keyDown[kKeyTouchBase] = false;
        else if (data == kKeyTouchBase) m__keyDown[kKeyMouseLeft] = false;
        break;
    case kEventKeyChar:
        if (m__charPut < m__charQueue.Length()) m__charQueue[m__charPut++] = data;
        break;
    }
}

void c_InputDevice::p_MouseEvent(int event, int data, float x, float y) {
    switch (event) {
    case kEventMouseDown:
        p_KeyEvent(kEventKeyDown, data + 1);
        set_mouse(x, y);
        break;
    case kEventMouseUp:
        p_KeyEvent(kEventKeyUp, data + 1);
        break;
    case kEventMouseMove:
        set_mouse(x, y);
        break;
    }
}

void c_InputDevice::p_TouchEvent(int event, int data, float x, float y) {
    switch (event) {
    case kEventTouchDown:
        if (!valid_finger(data)) return;
        p_KeyEvent(kEventKeyDown, kKeyTouchBase + data);
        set_touch(data, x, y);
        break;
    case kEventTouchUp:
        if (!valid_finger(data)) return;
        p_KeyEvent(kEventKeyUp, kKeyTouchBase + data);
        break;
    case kEventTouchMove:
        set_touch(data, x, y);
        break;
    }
}

void c_InputDevice::p_MotionEvent(int event, int /*data*/, float x, float y, float z) {
    if (event != kEventMotionAccel) return;
    m__accelX = x, m__accelY = y, m__accelZ = z;
}

// The mouse and touch 0 are one pointer.
void c_InputDevice::set_mouse(float x, float y) {
    m__mouseX = x, m__mouseY = y;
    m__touchX[0] = x, m__touchY[0] = y;
}

void c_InputDevice::set_touch(int finger, float x, float y) {
    if (!valid_finger(finger)) return;
    m__touchX[finger] = x, m__touchY[finger] = y;
    if (finger == 0) m__mouseX = x, m__mouseY = y;
}

// ---- Update bracket ----

// A pad that is not read this update (absent, or behind an absent one) rests: sticks centred, triggers
// out, buttons up. Otherwise a pad pulled out while held would stay pressed for good.
void c_InputDevice::p_RestPads(int first) {
    for (int j = first; j < kJoyPads; ++j) {
        c_JoyState* state = m__joyStates[j];
        for (int i = 0; i < 2; ++i) state->m_joyx[i] = state->m_joyy[i] = state->m_joyz[i] = 0;
        for (int b = 0; b < kJoyButtonCount; ++b) {
            state->m_buttons[b] = false;
            m__keyDown[kKeyJoyBase + j * kJoyButtonCount + b] = false;
        }
    }
}

void c_InputDevice::p_BeginUpdate() {
    for (int j = 0; j < kJoyPads; ++j) {
        c_JoyState* state = m__joyStates[j];
        if (!host()->PollJoystick(j, state->m_joyx, state->m_joyy, state->m_joyz, state->m_buttons)) {
            if (m__padsRead > j) p_RestPads(j);   // only when a pad was read last time: cheap when none
            m__padsRead = j;
            return;   // the first absent pad ends the poll
        }
        for (int b = 0; b < kJoyButtonCount; ++b) {
            int key = kKeyJoyBase + j * kJoyButtonCount + b;
            if (!state->m_buttons[b]) {
                m__keyDown[key] = false;
            } else if (!m__keyDown[key]) {   // one hit per press, however long it is held
                m__keyDown[key] = true;
                p_PutKeyHit(key);
            }
        }
    }
    m__padsRead = kJoyPads;
}

void c_InputDevice::p_EndUpdate() {
    for (int i = 0; i < m__keyHitPut; ++i) m__keyHit[m__keyHitQueue[i]] = 0;   // only the keys hit
    m__keyHitPut = 0;
    m__charGet = 0;
    m__charPut = 0;
}

// ---- Queries ----

bool c_InputDevice::p_KeyDown(int key) { return key > 0 && key < kKeyCount && m__keyDown[key]; }

int c_InputDevice::p_KeyHit(int key) { return key > 0 && key < kKeyCount ? m__keyHit[key] : 0; }

int c_InputDevice::p_GetChar() { return m__charGet < m__charPut ? m__charQueue[m__charGet++] : 0; }

float c_InputDevice::p_TouchX(int index) { return valid_finger(index) ? m__touchX[index] : 0.0f; }

float c_InputDevice::p_TouchY(int index) { return valid_finger(index) ? m__touchY[index] : 0.0f; }

// Callers keep index 0..1 and unit 0..3; anything else answers 0 rather than reading out of bounds.
float c_InputDevice::p_JoyX(int index, int unit) {
    if (unit < 0 || unit >= kJoyPads || index < 0 || index > 1) return 0.0f;
    return m__joyStates[unit]->m_joyx[index];
}

float c_InputDevice::p_JoyY(int index, int unit) {
    if (unit < 0 || unit >= kJoyPads || index < 0 || index > 1) return 0.0f;
    return m__joyStates[unit]->m_joyy[index];
}

int c_InputDevice::p_SetKeyboardEnabled(bool enabled) {
    host()->SetKeyboardEnabled(enabled);
    return 1;
}

// ---- Module functions ----

namespace {

// The device every forwarder asks: the game delegate sets it when the game starts.
c_InputDevice* input() {
    ZK_CONTRACT(zk_input_device, "input functions run only once the game has started");
    return zk_input_device;
}

}  // namespace

void zk_input_init() {
    zk_input_device = nullptr;
    gc_root(zk_input_device);
}

void zk_input_SetInputDevice(c_InputDevice* device) { gc_assign(zk_input_device, device); }

bool zk_input_KeyDown(int key) { return input()->p_KeyDown(key); }
int zk_input_KeyHit(int key) { return input()->p_KeyHit(key); }

bool zk_input_MouseDown(int button) {
    return button >= 0 && button < kKeyCount - 1 && input()->p_KeyDown(kKeyMouseLeft + button);
}

int zk_input_MouseHit(int button) {
    return button >= 0 && button < kKeyCount - 1 ? input()->p_KeyHit(kKeyMouseLeft + button) : 0;
}

bool zk_input_JoyDown(int button, int unit) {
    return input()->p_KeyDown((kKeyJoyBase | button) | (unit << 5));
}

int zk_input_JoyHit(int button, int unit) {
    return input()->p_KeyHit((kKeyJoyBase | button) | (unit << 5));
}

float zk_input_JoyX(int index, int unit) { return input()->p_JoyX(index, unit); }
float zk_input_JoyY(int index, int unit) { return input()->p_JoyY(index, unit); }
bool zk_input_TouchDown(int finger) { return input()->p_KeyDown(kKeyTouchBase + finger); }
float zk_input_TouchX(int index) { return input()->p_TouchX(index); }
float zk_input_TouchY(int index) { return input()->p_TouchY(index); }
float zk_input_MouseX() { return input()->p_MouseX(); }
float zk_input_MouseY() { return input()->p_MouseY(); }
float zk_input_AccelX() { return input()->p_AccelX(); }
float zk_input_AccelY() { return input()->p_AccelY(); }
int zk_input_GetChar() { return input()->p_GetChar(); }
int zk_input_EnableKeyboard() { return input()->p_SetKeyboardEnabled(true); }
int zk_input_DisableKeyboard() { return input()->p_SetKeyboardEnabled(false); }
