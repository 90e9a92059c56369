// host/input.h: GLFW keyboard, character, mouse and joystick input turned into the framework's events.
//
// Key codes are the Windows virtual-key numbers whatever the platform (TransKey), printable keys numbered
// by the character they type in the current layout (LayoutKey); editing keys also send
// a KeyChar (KeyToChar); printable characters come only from the character callback. GLFW 3 reports key
// repeats as their own action: they count as presses, as in the old GLFW 2 host. Pointer positions are
// in framebuffer pixels (scaled on HiDPI screens), so they match the device size the game draws at.
//
// Joysticks: a pad GLFW knows a gamepad mapping for is read in the fixed layout the game's controls
// expect (FillGamepadJoystick); any other joystick is read raw with the button remapping and the fixes
// for 14- and 18-button controllers (FillRawJoystick). A pad may vanish between any two calls; that reads
// as absent. All callbacks run only inside the host's event pump.
#pragma once

#include "runtime/array.h"

struct GLFWwindow;
struct GLFWgamepadstate;

// Framework key code of a GLFW 3 key number, or 0 when the key is not translated.
int TransKey(int glfwKey);
// GLFW 3 numbers a printable key by its place on a US keyboard; the old GLFW 2 host numbered it by the
// character it types in the current layout, unshifted, in upper case (so "A" is the key that types "a",
// wherever it sits). Returns that character as a key number when the layout gives the key a printable
// ASCII character, else the key unchanged (non-printable keys, and keys typing other characters, such as
// the letters of a Cyrillic layout, keep their US place so that they stay usable). Needs GLFW initialised.
int LayoutKey(int glfwKey);
// The framework key code of a key as the callbacks and the window's key release see it.
inline int TransLayoutKey(int glfwKey) { return TransKey(LayoutKey(glfwKey)); }
// Character a printable key types: `name` as glfwGetKeyName gives it (UTF-8). Returns the upper-case
// ASCII character (33 to 126), or 0 when there is none or it is not ASCII.
int LayoutChar(const char* name);
// Character code sent with the KeyDown of an editing key (8 to 46), or 0.
int KeyToChar(int key);

// GLFW callbacks, registered on every new window.
void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
void OnChar(GLFWwindow* window, unsigned int chr);
void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
void OnMousePos(GLFWwindow* window, double x, double y);

// Raw joystick reading. `axes` are GLFW 3's raw axes (y pointing down); up to 6 are used, odd axes turned
// to point up as the old host reported them. `b` holds `n` button states (GLFW_PRESS = 1). Element 0 of
// joyx/joyy/joyz is the first stick, element 1 the second; buttons at and above the reported count keep
// their values.
void FillRawJoystick(const float* axes, int axisCount, const unsigned char* b, int n, Array<float> joyx,
                     Array<float> joyy, Array<float> joyz, Array<bool> buttons);
// GLFW 3 appends a hat to the buttons as up, right, down, left; the old host (and so the remapping above and
// the game's controls) had it as left, up, right, down. Turns the last four of `n` buttons to that order.
void HatButtonsToGameOrder(unsigned char* b, int n);
// A pad in the browser's "standard" layout (0 A, 1 B, 2 X, 3 Y, 4/5 shoulders, 6/7 triggers, 8 back,
// 9 start, 10/11 stick presses, 12 up, 13 down, 14 left, 15 right, 16 guide; axes: the sticks' x and y,
// y pointing down) read in the game's layout below, the triggers pressed or not. Missing buttons and
// axes read as released and 0.
void FillStandardJoystick(const float* axes, int axisCount, const unsigned char* b, int n, Array<float> joyx,
                          Array<float> joyy, Array<float> joyz, Array<bool> buttons);
// Gamepad reading: 0 A, 1 B, 2 X, 3 Y, 4/5 shoulders, 6 back, 7 start, 8 left, 9 up, 10 right, 11 down,
// 12/13 stick presses, 14 guide; sticks with up positive; triggers 0 (released) to 1 in joyz.
void FillGamepadJoystick(const GLFWgamepadstate& pad, Array<float> joyx, Array<float> joyy,
                         Array<float> joyz, Array<bool> buttons);
