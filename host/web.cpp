// host/web.cpp: the host in a browser page (compiled only in the browser build).
//
// The browser runs the frames: Run opens the one window (the page's canvas, at the size the page lays it
// out) and hands Frame to emscripten's main loop, which calls it once per display frame and never
// returns to Run. A frame follows the canvas's size, follows focus, runs the due fixed-rate updates with
// the desktop loop's rules (at most four, older lag dropped), renders once and returns: nothing sleeps,
// and input arrives through GLFW's callbacks between frames.
//
// Focus is the page being shown and focused. A hidden page gets no frames at all, so hiding suspends the
// game at once (it pauses and saves, as on the desktop), from the visibility event.
//
// Sizes: the canvas fills the page; its drawing buffer is its laid-out size in device pixels, and that is
// the window size and the device size the game sees, so the game's own scaling rules apply to any page.
// Pointer positions come in the same pixels (emscripten scales them to the drawing buffer).
#include <GLFW/glfw3.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cmath>
#include <cstdlib>

#include "host/game.h"
#include "host/input.h"
#include "host/web.h"

namespace {

const char* const kCanvas = "#canvas";

}   // namespace

// The parts of the frame that need the host's own schedule and sizes.
struct WebHost {
    // The canvas's laid-out size in device pixels, at least one each way.
    static void CanvasSize(int& width, int& height) {
        double cssWidth = 0, cssHeight = 0;
        emscripten_get_element_css_size(kCanvas, &cssWidth, &cssHeight);
        const double ratio = emscripten_get_device_pixel_ratio();
        width = std::max(1, int(std::lround(cssWidth * ratio)));
        height = std::max(1, int(std::lround(cssHeight * ratio)));
    }

    // A new layout (the browser window resized, fullscreen entered or left) resizes the drawing buffer;
    // the game sees the new size in its next update and render.
    static void FitCanvas(ZKGlfwGame* host) {
        int width, height;
        CanvasSize(width, height);
        if (width == host->_framebufferWidth && height == host->_framebufferHeight) return;
        emscripten_set_canvas_element_size(kCanvas, width, height);
        host->_windowWidth = host->_framebufferWidth = width;
        host->_windowHeight = host->_framebufferHeight = height;
    }

    static bool Due(ZKGlfwGame* host) {
        return host->_updateRate == 0 || host->_nextUpdate == 0.0 || host->_nextUpdate <= host->Now();
    }

    static void Frame() {
        ZKGlfwGame* host = ZKGlfwGame::_glfwGame;
        const double start = emscripten_get_now();
        FitCanvas(host);
        if (host->FollowFocus() && Due(host)) host->RunUpdates();
        const double rendering = emscripten_get_now();
        host->RenderGame();
        updateMs = rendering - start;
        renderMs = emscripten_get_now() - rendering;
    }

    // The last frame's updates (with the canvas and focus checks) and render, in milliseconds.
    static double updateMs, renderMs;

    static EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent*, void*) {
        ZKGlfwGame::_glfwGame->FollowFocus();
        return EM_FALSE;
    }
};

double WebHost::updateMs = 0, WebHost::renderMs = 0;

// The last frame's times for the page's benchmark (bench/web_bench.mjs): 0 updates, 1 render.
extern "C" EMSCRIPTEN_KEEPALIVE double zk_web_frame_ms(int part) {
    return part == 0 ? WebHost::updateMs : WebHost::renderMs;
}

void ZKGlfwGame::Run() {
    int width, height;
    WebHost::CanvasSize(width, height);
    SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, false);
    if (!WindowOpen()) return;   // no WebGL: the page reports the failed start
    // The game's end leaves the page: its keys and visibility reach this program no more.
    std::atexit([] {
        emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, nullptr);
        glfwTerminate();
    });
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, WebHost::OnVisibility);
    StartGame();
    emscripten_set_main_loop(WebHost::Frame, 0, 1);   // does not return
}

// The EM_ASM blocks below are JavaScript, which the C++ formatter would break.
// clang-format off
bool ZKGlfwGame::WindowActive() {
    return EM_ASM_INT({ return document.visibilityState === 'visible' && document.hasFocus(); }) != 0;
}

// ---- Joysticks ----

// The browser reads the pads: a pad it knows comes in its "standard" layout, read as a gamepad; any
// other is read raw, as on the desktop (the browser reports no hats).
bool ZKGlfwGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
    int jid = GLFW_JOYSTICK_1 + port;
    if (port < 0 || jid > GLFW_JOYSTICK_LAST || !glfwJoystickPresent(jid)) return false;
    int axisCount = 0, n = 0;
    const float* axes = glfwGetJoystickAxes(jid, &axisCount);
    const unsigned char* b = glfwGetJoystickButtons(jid, &n);
    if (!axes) axisCount = 0;
    if (!b) n = 0;
    const bool standard =
        EM_ASM_INT({
            var pads = navigator.getGamepads ? navigator.getGamepads() : [];
            return pads[$0] && pads[$0].mapping === 'standard' ? 1 : 0;
        }, jid) != 0;
    if (standard)
        FillStandardJoystick(axes, axisCount, b, n, joyx, joyy, joyz, buttons);
    else
        FillRawJoystick(axes, axisCount, b, n, joyx, joyy, joyz, buttons);
    return true;
}

// ---- The page ----

void WebSetFullscreen(bool fullscreen) {
    // A refusal (no recent click or key) leaves the page as it is, without an error.
    if (fullscreen)
        EM_ASM({
            if (!document.fullscreenElement) Module.canvas.requestFullscreen().catch(function() {});
        });
    else
        EM_ASM({
            if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
        });
}

const GLFWvidmode* WebDesktopMode() {
    static GLFWvidmode mode;
    const double ratio = emscripten_get_device_pixel_ratio();
    mode.width = int(std::lround(EM_ASM_DOUBLE({ return screen.width; }) * ratio));
    mode.height = int(std::lround(EM_ASM_DOUBLE({ return screen.height; }) * ratio));
    mode.redBits = mode.greenBits = mode.blueBits = 8;
    mode.refreshRate = 60;
    return &mode;
}

void WebSyncSaves() { EM_ASM({ Module.zkSyncSaves(); }); }

void WebOpenUrl(String url) {
    std::string address = url.ToUtf8();
    EM_ASM({ window.open(UTF8ToString($0), '_blank', 'noopener'); }, address.c_str());
}
// clang-format on
