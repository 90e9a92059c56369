// host/input.cpp: key translation, the key/character/mouse callbacks and the joystick reader.
#include "host/input.h"

#include <GLFW/glfw3.h>

#include "host/game.h"

// ---- Key translation ----

int TransKey(int key) {
    if (key >= GLFW_KEY_0 && key <= GLFW_KEY_9) return key;   // 48..57
    if (key >= GLFW_KEY_A && key <= GLFW_KEY_Z) return key;   // 65..90
    if (key >= GLFW_KEY_F1 && key <= GLFW_KEY_F12) return 112 + (key - GLFW_KEY_F1);
    if (key >= GLFW_KEY_KP_0 && key <= GLFW_KEY_KP_9) return 96 + (key - GLFW_KEY_KP_0);
    switch (key) {
    case GLFW_KEY_SPACE: return 32;
    case GLFW_KEY_APOSTROPHE: return 222;
    case '"': return 222;   // the quotation mark as a key of its own (no GLFW 3 key uses 34)
    case GLFW_KEY_COMMA: return 188;
    case GLFW_KEY_MINUS: return 189;
    case GLFW_KEY_PERIOD: return 190;
    case GLFW_KEY_SLASH: return 191;
    case GLFW_KEY_SEMICOLON: return 186;
    case GLFW_KEY_EQUAL: return 187;
    case GLFW_KEY_LEFT_BRACKET: return 219;
    case GLFW_KEY_BACKSLASH: return 220;
    case GLFW_KEY_RIGHT_BRACKET: return 221;
    case GLFW_KEY_GRAVE_ACCENT: return 192;
    case '~': return 192;   // tilde as a key of its own (no GLFW 3 key uses 126)
    case GLFW_KEY_ESCAPE: return 27;
    case GLFW_KEY_UP: return 38;
    case GLFW_KEY_DOWN: return 40;
    case GLFW_KEY_LEFT: return 37;
    case GLFW_KEY_RIGHT: return 39;
    case GLFW_KEY_LEFT_SHIFT: case GLFW_KEY_RIGHT_SHIFT: return 16;
    case GLFW_KEY_LEFT_CONTROL: case GLFW_KEY_RIGHT_CONTROL: return 17;
    case GLFW_KEY_TAB: return 9;
    case GLFW_KEY_ENTER: return 13;
    case GLFW_KEY_BACKSPACE: return 8;
    case GLFW_KEY_INSERT: return 45;
    case GLFW_KEY_DELETE: return 46;
    case GLFW_KEY_PAGE_UP: return 33;
    case GLFW_KEY_PAGE_DOWN: return 34;
    case GLFW_KEY_HOME: return 36;
    case GLFW_KEY_END: return 35;
    case GLFW_KEY_KP_DIVIDE: return 111;
    case GLFW_KEY_KP_MULTIPLY: return 106;
    case GLFW_KEY_KP_SUBTRACT: return 109;
    case GLFW_KEY_KP_ADD: return 107;
    case GLFW_KEY_KP_DECIMAL: return 110;
    default: return 0;   // Alt, F13 and up, keypad enter and equals, locks, system keys, anything else
    }
}

int LayoutChar(const char* name) {
    if (!name || !name[0] || name[1]) return 0;   // one byte: an ASCII character
    int c = static_cast<unsigned char>(name[0]);
    if (c < 33 || c > 126) return 0;
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

int LayoutKey(int key) {
#ifdef __EMSCRIPTEN__
    return key;   // the browser numbers letter keys by the layout already, and names no keys
#endif
    // glfwGetKeyName names only the printable keys and the keypad; the keypad keeps its own numbers.
    if (key < GLFW_KEY_APOSTROPHE || key > GLFW_KEY_WORLD_2) return key;
    int c = LayoutChar(glfwGetKeyName(key, 0));
    return c ? c : key;
}

int KeyToChar(int key) {
    switch (key) {
    case 8: case 9: case 13: case 27: return key;            // backspace, tab, enter, escape
    case 33: case 34: case 35: case 36: case 37: case 38: case 39: case 40: case 45:
        return key | 0x10000;                                // navigation keys: bit 16 marks them
    case 46: return 127;                                     // delete
    default: return 0;
    }
}

// ---- Callbacks ----

namespace {

// Framebuffer pixels per window pixel: above 1 on HiDPI screens. The host's kept sizes, not the window
// system's: a pointer event asks the X server nothing.
void pointer_scale(double& sx, double& sy) {
    ZKGlfwGame* host = ZKGlfwGame::_glfwGame;
    int ww = host->WindowWidth(), wh = host->WindowHeight();
    int fw = host->GetDeviceWidth(), fh = host->GetDeviceHeight();
    sx = ww > 0 && fw > 0 ? static_cast<double>(fw) / ww : 1.0;
    sy = wh > 0 && fh > 0 ? static_cast<double>(fh) / wh : 1.0;
}

// Cursor position in framebuffer pixels, whole pixels as the old host reported them.
void pointer_pos(double x, double y, float& px, float& py) {
    double sx, sy;
    pointer_scale(sx, sy);
    px = static_cast<float>(static_cast<int>(x * sx));
    py = static_cast<float>(static_cast<int>(y * sy));
}

}  // namespace

void OnKey(GLFWwindow*, int key, int, int action, int) {
    int code = TransLayoutKey(key);
    if (!code) return;
    switch (action) {
    case GLFW_PRESS:
    case GLFW_REPEAT: {   // a repeat is a press: the device ignores its KeyDown, editing keys type again
        ZKGame::_game->KeyEvent(kEventKeyDown, code);
        int chr = KeyToChar(code);
        if (chr) ZKGame::_game->KeyEvent(kEventKeyChar, chr);
        break;
    }
    case GLFW_RELEASE:
        ZKGame::_game->KeyEvent(kEventKeyUp, code);
        break;
    }
}

void OnChar(GLFWwindow*, unsigned int chr) {
    ZKGame::_game->KeyEvent(kEventKeyChar, static_cast<int>(chr));
}

void OnMouseButton(GLFWwindow* window, int button, int action, int) {
    if (button < 0 || button > 2) return;   // left, right and middle only
    double x = 0, y = 0;
    glfwGetCursorPos(window, &x, &y);
    float px, py;
    pointer_pos(x, y, px, py);
    if (action == GLFW_PRESS)
        ZKGame::_game->MouseEvent(kEventMouseDown, button, px, py);
    else if (action == GLFW_RELEASE)
        ZKGame::_game->MouseEvent(kEventMouseUp, button, px, py);
}

void OnMousePos(GLFWwindow*, double x, double y) {
    float px, py;
    pointer_pos(x, y, px, py);
    ZKGame::_game->MouseEvent(kEventMouseMove, -1, px, py);
}

// ---- Joysticks ----

namespace {

// Raw axes read from up to this many axes: x, y, z of the first stick, then of the second.
const int kJoyAxes = 6;
// Buttons a joystick state holds.

void put(Array<float> a, int i, float v) {
    if (i >= 0 && i < a.Length()) a[i] = v;
}
void put(Array<bool> a, int i, bool v) {
    if (i >= 0 && i < a.Length()) a[i] = v;
}

}  // namespace

void FillRawJoystick(const float* axes, int axisCount, const unsigned char* b, int n, Array<float> joyx,
                     Array<float> joyy, Array<float> joyz, Array<bool> buttons) {
    // Axes, with the odd ones (the sticks' y) turned to point up; missing axes read 0.
    float pos[kJoyAxes] = {};
    if (axisCount > kJoyAxes) axisCount = kJoyAxes;
    if (axisCount < 0) axisCount = 0;
    for (int i = 0; i < axisCount; ++i) pos[i] = (i & 1) ? -axes[i] : axes[i];
    put(joyx, 0, pos[0]), put(joyy, 0, pos[1]), put(joyz, 0, pos[2]);
    put(joyx, 1, pos[3]), put(joyy, 1, pos[4]), put(joyz, 1, pos[5]);

    // Buttons. Above 12, the last four physical buttons (the hat) become 8..11 and 8.. move up to 12..
    if (n > kJoyButtonCount) n = kJoyButtonCount;
    auto pressed = [&](int i) { return b[i] == GLFW_PRESS; };
    if (n > 12) {
        for (int i = 0; i < 8; ++i) put(buttons, i, pressed(i));
        for (int i = 0; i < 4; ++i) put(buttons, 8 + i, pressed(n - 4 + i));
        for (int i = 12; i < n; ++i) put(buttons, i, pressed(i - 4));
    } else {
        for (int i = 0; i < n; ++i) put(buttons, i, pressed(i));
    }

    // Controller fixes: where these pads report their second stick.
    if (n == 14 && axisCount == 5) {
        put(joyx, 1, pos[4]);
        put(joyy, 1, -pos[3]);
    } else if (n == 18 && axisCount == 4) {
        put(joyy, 1, -pos[2]);
    }
}

void HatButtonsToGameOrder(unsigned char* b, int n) {
    if (n < 4) return;
    unsigned char left = b[n - 1];
    for (int i = n - 1; i > n - 4; --i) b[i] = b[i - 1];   // up, right, down move one place up
    b[n - 4] = left;
}

void FillStandardJoystick(const float* axes, int axisCount, const unsigned char* b, int n, Array<float> joyx,
                          Array<float> joyy, Array<float> joyz, Array<bool> buttons) {
    // The standard layout's button for each of the game's slots 0..14 (see FillGamepadJoystick).
    static const int layout[15] = {0, 1, 2, 3, 4, 5, 8, 9, 14, 12, 15, 13, 10, 11, 16};
    for (int i = 0; i < 15; ++i) put(buttons, i, layout[i] < n && b[layout[i]] == GLFW_PRESS);
    auto axis = [&](int i) { return i < axisCount ? axes[i] : 0.0f; };
    put(joyx, 0, axis(0)), put(joyy, 0, -axis(1));
    put(joyx, 1, axis(2)), put(joyy, 1, -axis(3));
    put(joyz, 0, 6 < n && b[6] == GLFW_PRESS ? 1.0f : 0.0f);   // the triggers are buttons 6 and 7
    put(joyz, 1, 7 < n && b[7] == GLFW_PRESS ? 1.0f : 0.0f);
}

#ifndef __EMSCRIPTEN__   // GLFW's gamepad mappings; the browser maps pads itself (host/web.cpp)
void FillGamepadJoystick(const GLFWgamepadstate& pad, Array<float> joyx, Array<float> joyy,
                         Array<float> joyz, Array<bool> buttons) {
    static const int layout[15] = {
        GLFW_GAMEPAD_BUTTON_A,          GLFW_GAMEPAD_BUTTON_B,          GLFW_GAMEPAD_BUTTON_X,
        GLFW_GAMEPAD_BUTTON_Y,          GLFW_GAMEPAD_BUTTON_LEFT_BUMPER, GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER,
        GLFW_GAMEPAD_BUTTON_BACK,       GLFW_GAMEPAD_BUTTON_START,      GLFW_GAMEPAD_BUTTON_DPAD_LEFT,
        GLFW_GAMEPAD_BUTTON_DPAD_UP,    GLFW_GAMEPAD_BUTTON_DPAD_RIGHT, GLFW_GAMEPAD_BUTTON_DPAD_DOWN,
        GLFW_GAMEPAD_BUTTON_LEFT_THUMB, GLFW_GAMEPAD_BUTTON_RIGHT_THUMB, GLFW_GAMEPAD_BUTTON_GUIDE,
    };
    for (int i = 0; i < 15; ++i) put(buttons, i, pad.buttons[layout[i]] == GLFW_PRESS);
    put(joyx, 0, pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X]);
    put(joyy, 0, -pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y]);
    put(joyx, 1, pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_X]);
    put(joyy, 1, -pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y]);
    put(joyz, 0, (pad.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] + 1.0f) * 0.5f);    // -1..1 to 0..1
    put(joyz, 1, (pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] + 1.0f) * 0.5f);
}

bool ZKGlfwGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
    int jid = GLFW_JOYSTICK_1 + port;
    if (port < 0 || jid > GLFW_JOYSTICK_LAST || !glfwJoystickPresent(jid)) return false;
    GLFWgamepadstate pad;
    if (glfwJoystickIsGamepad(jid) && glfwGetGamepadState(jid, &pad)) {
        FillGamepadJoystick(pad, joyx, joyy, joyz, buttons);
        return true;
    }
    int axisCount = 0, n = 0;
    const float* axes = glfwGetJoystickAxes(jid, &axisCount);
    const unsigned char* b = glfwGetJoystickButtons(jid, &n);
    int hats = 0;
    glfwGetJoystickHats(jid, &hats);
    if (!axes) axisCount = 0;   // a pad without axes or buttons may give null
    if (!b) n = 0;
    if (!glfwJoystickPresent(jid)) return false;   // pulled out between the calls
    unsigned char held[kJoyButtonCount];
    bool hatLast = hats > 0 && n <= kJoyButtonCount;   // the last four are the last hat, unless cut off
    if (n > kJoyButtonCount) n = kJoyButtonCount;
    for (int i = 0; i < n; ++i) held[i] = b[i];
    if (hatLast) HatButtonsToGameOrder(held, n);
    FillRawJoystick(axes, axisCount, held, n, joyx, joyy, joyz, buttons);
    return true;
}
#endif
