// tests/common/gl_window.h: a real hidden window with an OpenGL compatibility context, for tests and
// benchmarks that draw.
//
// Run under Xvfb (Mesa llvmpipe). OpenTestWindow() starts GLFW once, opens a hidden window (it never takes
// the keyboard focus from window tests), makes its context current and adds 1 to glfwGraphicsSeq, as the
// host does for every window it opens, so surfaces notice the new context. An X server that other test
// programs are busy connecting to may refuse once, so both steps are tried a few times; without a display
// or a window the program says why and ends, since a test that cannot draw must fail, not pass.
// TestGLWindow owns one such window. BeginTestFrame() starts a renderer's frame in a known state.
// GLFW is never terminated: that would unload the OpenGL driver, whose process-lifetime allocations
// would then read as leaks under the sanitizers.
#pragma once

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "host/game.h"
#include "media/graphics.h"

namespace zk_test {

inline GLFWwindow* OpenTestWindow(int width, int height, const char* title = "gl test") {
    static bool initialised = false;
    for (int attempt = 0; attempt < 5 && !initialised; ++attempt) {
        if (attempt) usleep(200 * 1000);
        initialised = glfwInit() == GLFW_TRUE;
    }
    if (!initialised) {
        const char* why = nullptr;
        glfwGetError(&why);
        std::fprintf(stderr, "glfwInit failed (%s): no display? run under xvfb-run\n", why ? why : "no reason given");
        std::exit(2);
    }
    glfwDefaultWindowHints();   // OpenGL 1.x-compatible context: the fixed-function pipeline
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = nullptr;
    for (int attempt = 0; attempt < 5 && !window; ++attempt) {
        if (attempt) usleep(200 * 1000);
        window = glfwCreateWindow(width, height, title, nullptr, nullptr);
    }
    if (!window) {
        std::fprintf(stderr, "the test window could not be opened\n");
        std::exit(2);
    }
    glfwMakeContextCurrent(window);
    ++glfwGraphicsSeq;
    // Ask the window's size once, as the host does when it opens a window; the answer waits for the X
    // server to have made it. Without this wait, the sanitizer build's leak check at exit crashed while
    // stopping the driver's threads in some of the renderer's tests.
    int w = 0, h = 0;
    glfwGetFramebufferSize(window, &w, &h);
    return window;
}

class TestGLWindow {
public:
    TestGLWindow(int width, int height) : window_(OpenTestWindow(width, height)) {}
    ~TestGLWindow() {
        glfwMakeContextCurrent(nullptr);
        glfwDestroyWindow(window_);
    }
    TestGLWindow(const TestGLWindow&) = delete;
    TestGLWindow& operator=(const TestGLWindow&) = delete;

    GLFWwindow* window() const { return window_; }

private:
    GLFWwindow* window_ = nullptr;
};

// A new renderer in the current context, with a frame begun in a known state: white, opaque, alpha
// blending, no scissor, cleared to black.
inline gxtkGraphics* BeginTestFrame() {
    gxtkGraphics* g = new gxtkGraphics();
    g->BeginRender();
    g->SetColor(255, 255, 255);
    g->SetAlpha(1);
    g->SetBlend(0);
    g->SetScissor(0, 0, g->Width(), g->Height());
    g->Cls(0, 0, 0);
    return g;
}

}  // namespace zk_test
