// framework/input.h: the input device, the game's record of input between two updates.
//
// One key space of 512 codes: 1-3 mouse buttons, 8-222 keyboard (Windows virtual-key numbers),
// 256 + pad * 32 + button joystick buttons, 384 + finger touches, 416 back, 432 close. Key 1 (left mouse
// button) and key 384 (first touch) are twins: one control, kept down and hit together.
//
// Between updates the device accumulates events from the host's event pump: key-down states, hits per
// key (at most kKeyHitQueue per update, in a queue so that clearing touches only the keys hit) and typed
// characters (at most kCharQueue). p_BeginUpdate polls the joysticks before the game's update;
// p_EndUpdate clears hits and characters after it, so a hit is seen by exactly one update.
//
// Bad input never writes out of bounds: key codes outside 0..511, fingers outside 0..31 and mouse buttons
// whose key falls outside the space are ignored; queries outside the ranges answer false or 0.
//
// zk_input_init() sets the module global to null and registers it as a collector root.
#pragma once

#include "host/game.h"
#include "runtime/array.h"
#include "runtime/gc.h"

// Key codes in the device's key space.
const int kKeyCount = 512;      // codes 0..511
const int kKeyMouseLeft = 1;    // mouse button b is key 1 + b: 1 left, 2 right, 3 middle
const int kKeyJoyBase = 256;    // + pad * kJoyButtonCount + button
const int kKeyTouchBase = 384;  // + finger
const int kKeyHitQueue = 33;    // hits kept per update; more are dropped
const int kCharQueue = 32;      // characters kept per update; more are dropped
const int kTouches = 32;        // fingers tracked
const int kJoyPads = 4;         // joysticks polled
const int kKeyBack = 416;       // the back key: the delegate ends the program on it (close is kKeyClose)

// One joystick's state as the host last read it: element 0 is the first stick, element 1 the second;
// z holds the triggers.
struct c_JoyState : Object {
    Array<float> m_joyx, m_joyy, m_joyz;   // 2 elements each
    Array<bool> m_buttons;                 // kJoyButtonCount elements

    c_JoyState();
    c_JoyState* m_new() { return this; }
    void mark() override;
};

struct c_InputDevice : Object {
    Array<c_JoyState*> m__joyStates;   // kJoyPads states
    Array<bool> m__keyDown;            // kKeyCount: the key is down now
    int m__keyHitPut = 0;              // entries used in m__keyHitQueue
    Array<int> m__keyHitQueue;         // kKeyHitQueue key codes hit since the last update, in order
    Array<int> m__keyHit;              // kKeyCount: hits per key since the last update
    int m__charGet = 0;                // read position in m__charQueue
    int m__charPut = 0;                // write position in m__charQueue
    Array<int> m__charQueue;           // kCharQueue characters typed since the last update
    float m__mouseX = 0, m__mouseY = 0;
    Array<float> m__touchX, m__touchY;   // kTouches
    float m__accelX = 0, m__accelY = 0, m__accelZ = 0;
    int m__padsRead = 0;               // pads read by the last poll; the rest are at rest

    c_InputDevice();
    c_InputDevice* m_new();   // creates the four joystick states
    void mark() override;

    void p_PutKeyHit(int key);
    void p_KeyEvent(int event, int data);
    void p_MouseEvent(int event, int data, float x, float y);
    void p_TouchEvent(int event, int data, float x, float y);
    void p_MotionEvent(int event, int data, float x, float y, float z);
    void p_BeginUpdate();
    void p_EndUpdate();
    bool p_KeyDown(int key);
    int p_KeyHit(int key);
    int p_GetChar();
    float p_MouseX() { return m__mouseX; }
    float p_MouseY() { return m__mouseY; }
    float p_TouchX(int index);
    float p_TouchY(int index);
    float p_JoyX(int index, int unit);   // index 0..1, unit 0..3; 0 outside
    float p_JoyY(int index, int unit);
    float p_AccelX() { return m__accelX; }
    float p_AccelY() { return m__accelY; }
    int p_SetKeyboardEnabled(bool enabled);

private:
    void p_RestPads(int first);
    void set_mouse(float x, float y);
    void set_touch(int finger, float x, float y);
};

extern c_InputDevice* zk_input_device;

void zk_input_init();
void zk_input_SetInputDevice(c_InputDevice* device);
bool zk_input_KeyDown(int key);
int zk_input_KeyHit(int key);
bool zk_input_MouseDown(int button);
int zk_input_MouseHit(int button);
bool zk_input_JoyDown(int button, int unit);
int zk_input_JoyHit(int button, int unit);
float zk_input_JoyX(int index, int unit);
float zk_input_JoyY(int index, int unit);
bool zk_input_TouchDown(int finger);
float zk_input_TouchX(int index);
float zk_input_TouchY(int index);
float zk_input_MouseX();
float zk_input_MouseY();
float zk_input_AccelX();
float zk_input_AccelY();
int zk_input_GetChar();
int zk_input_EnableKeyboard();
int zk_input_DisableKeyboard();
