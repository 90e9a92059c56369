// host/window.cpp: the game's one window and its OpenGL context, display modes and window settings.
//
// Replacing the window always destroys the old one with its context and creates a new one, even when
// only the size changes: owners of OpenGL objects notice the new context through glfwGraphicsSeq. Keys
// held in the old window are released first so that none stays down. The close button never closes the
// window: it becomes a press and release of the close key (432), and the game decides.
//
// Sizes reported to the game are framebuffer pixels (equal to window pixels except on HiDPI screens).
// Both sizes are asked of the window system once, when the window opens, and then follow GLFW's size
// callbacks: a size question costs no round trip to the X server.
#include <GLFW/glfw3.h>

#include "host/game.h"
#include "host/input.h"

#ifdef __EMSCRIPTEN__
#include "host/web.h"
// The browser's GLFW (the 3.2 API) keeps no error text: a canvas without WebGL is the one failure.
static int glfwGetError(const char** description) {
    if (description) *description = "the browser gave no WebGL context";
    return 0;
}
#endif

int glfwGraphicsSeq = 0;

namespace {

const char* const kWindowTitle = "Grubnik in Tolvane Golf";
// Display-mode lists are cut at this many entries.
const int kMaxVideoModes = 1024;

// Refuses the close request and hands it to the game as the close key.
void OnWindowClose(GLFWwindow* window) {
    glfwSetWindowShouldClose(window, GLFW_FALSE);
    ZKGame::_game->KeyEvent(kEventKeyDown, kKeyClose);
    ZKGame::_game->KeyEvent(kEventKeyUp, kKeyClose);
}

const GLFWvidmode* desktop_mode() {
#ifdef __EMSCRIPTEN__
    return WebDesktopMode();
#endif
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    return monitor ? glfwGetVideoMode(monitor) : nullptr;
}

const GLFWvidmode* video_modes(int& count) {
    count = 0;
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* modes = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
    if (!modes) count = 0;
    if (count > kMaxVideoModes) count = kMaxVideoModes;
    return modes;
}

// GLFW's description of its last error, or a plain statement when it gave none.
std::string glfw_error() {
    const char* why = nullptr;
    glfwGetError(&why);
    return why && *why ? why : "the window system gave no reason";
}

void window_hints(int red, int green, int blue, int alpha, int depth, int stencil) {
    glfwDefaultWindowHints();   // OpenGL 1.0 asked for: a legacy context, fixed function available
    glfwWindowHint(GLFW_REFRESH_RATE, 60);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    glfwWindowHint(GLFW_RED_BITS, red);
    glfwWindowHint(GLFW_GREEN_BITS, green);
    glfwWindowHint(GLFW_BLUE_BITS, blue);
    glfwWindowHint(GLFW_ALPHA_BITS, alpha);
    glfwWindowHint(GLFW_DEPTH_BITS, depth);
    glfwWindowHint(GLFW_STENCIL_BITS, stencil);
}

}  // namespace

void ZKGlfwGame::ReleaseHeldKeys() {
    if (!_window) return;
    for (int key = GLFW_KEY_SPACE; key <= GLFW_KEY_LAST; ++key) {
        if (glfwGetKey(_window, key) != GLFW_PRESS) continue;   // only real, held keys are named
        int code = TransLayoutKey(key);
        if (code) KeyEvent(kEventKeyUp, code);
    }
}

void ZKGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                               int stencil, bool fullscreen) {
#ifdef __EMSCRIPTEN__
    if (_window) return WebSetFullscreen(fullscreen);   // a page has one canvas, sized by the page
#endif
    // 1.-3. Release held keys, note the desktop for centring, close the old window.
    ReleaseHeldKeys();
    const GLFWvidmode* desktop = desktop_mode();
    int desktopW = desktop ? desktop->width : 0, desktopH = desktop ? desktop->height : 0;
    if (_window) glfwDestroyWindow(_window);
    _window = nullptr;
    _windowWidth = _windowHeight = _framebufferWidth = _framebufferHeight = 0;

    // 4.-5. Open the new one: fullscreen on the primary monitor, which switches to its mode closest to
    // the size (the game asks for the desktop's own size), or a centred, titled window. GLFW 3 refuses
    // sizes below one pixel, so a window has at least one each way; anything GLFW cannot open leaves no
    // window and its reason in WindowError, and the loop ends.
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    window_hints(red, green, blue, alpha, depth, stencil);
    glfwGetError(nullptr);   // forget older errors: only this open's own reason is kept
    GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    if (monitor) {
        _window = glfwCreateWindow(width, height, "", monitor, nullptr);
    } else {
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);   // placed before it is shown
        _window = glfwCreateWindow(width, height, kWindowTitle, nullptr, nullptr);
        if (_window) {
            glfwSetWindowPos(_window, (desktopW - width) / 2, (desktopH - height) / 2);
            glfwShowWindow(_window);
        }
    }

    // 6.-9. A new context: count it, apply the settings, register the callbacks (the size callbacks
    // keep the sizes read here).
    ++glfwGraphicsSeq;
    _windowError = _window ? std::string() : glfw_error();
    if (!_window) return;
    glfwMakeContextCurrent(_window);
    if (_swapInterval >= 0) glfwSwapInterval(_swapInterval);
    glfwSetInputMode(_window, GLFW_CURSOR, _mouseVisible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
    glfwSetKeyCallback(_window, OnKey);
    glfwSetCharCallback(_window, OnChar);
    glfwSetMouseButtonCallback(_window, OnMouseButton);
    glfwSetCursorPosCallback(_window, OnMousePos);
    glfwSetWindowCloseCallback(_window, OnWindowClose);
    glfwGetWindowSize(_window, &_windowWidth, &_windowHeight);
    glfwGetFramebufferSize(_window, &_framebufferWidth, &_framebufferHeight);
    glfwSetWindowSizeCallback(_window, [](GLFWwindow*, int w, int h) {
        _glfwGame->_windowWidth = w;
        _glfwGame->_windowHeight = h;
    });
    glfwSetFramebufferSizeCallback(_window, [](GLFWwindow*, int w, int h) {
        _glfwGame->_framebufferWidth = w;
        _glfwGame->_framebufferHeight = h;
    });
}

void ZKGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, (flags & 1) != 0);
}

int ZKGlfwGame::GetDeviceWidth() { return _framebufferWidth; }

int ZKGlfwGame::GetDeviceHeight() { return _framebufferHeight; }

Array<ZKDisplayMode*> ZKGlfwGame::GetDisplayModes() {
    int count;
    const GLFWvidmode* modes = video_modes(count);
    Array<ZKDisplayMode*> out(count);
    for (int i = 0; i < count; ++i) {
        ZKDisplayMode* mode = new ZKDisplayMode();
        mode->width = modes[i].width;
        mode->height = modes[i].height;
        gc_assign(out[i], mode);
    }
    return out;
}

ZKDisplayMode* ZKGlfwGame::GetDesktopMode() {
    const GLFWvidmode* desktop = desktop_mode();
    if (!desktop) return nullptr;
    ZKDisplayMode* mode = new ZKDisplayMode();
    mode->width = desktop->width;
    mode->height = desktop->height;
    return mode;
}

ZKGlfwVideoMode* ZKGlfwGame::GetGlfwDesktopMode() {
    const GLFWvidmode* desktop = desktop_mode();
    if (!desktop) return nullptr;
    ZKGlfwVideoMode* mode = new ZKGlfwVideoMode();
    mode->width = desktop->width, mode->height = desktop->height;
    mode->red = desktop->redBits, mode->green = desktop->greenBits, mode->blue = desktop->blueBits;
    return mode;
}

Array<ZKGlfwVideoMode*> ZKGlfwGame::GetGlfwVideoModes() {
    int count;
    const GLFWvidmode* modes = video_modes(count);
    Array<ZKGlfwVideoMode*> out(count);
    for (int i = 0; i < count; ++i) {
        ZKGlfwVideoMode* mode = new ZKGlfwVideoMode();
        mode->width = modes[i].width, mode->height = modes[i].height;
        mode->red = modes[i].redBits, mode->green = modes[i].greenBits, mode->blue = modes[i].blueBits;
        gc_assign(out[i], mode);
    }
    return out;
}

void ZKGlfwGame::SetSwapInterval(int interval) {
    _swapInterval = interval;
    if (interval >= 0 && _window) glfwSwapInterval(interval);
}

void ZKGlfwGame::SetMouseVisible(bool visible) {
    _mouseVisible = visible;
    if (_window) glfwSetInputMode(_window, GLFW_CURSOR, visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}
