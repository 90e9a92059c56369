// harness/gl_window.h: a real hidden window with an OpenGL compatibility context, for tests and
// benchmarks that draw.
//
// Run under Xvfb (Mesa llvmpipe). OpenTestWindow() starts GLFW once, opens a hidden window (it never takes
// the keyboard focus from window tests), makes its context current and adds 1 to glfwGraphicsSeq as the
// host does for every window, so surfaces notice the new context. A busy X server may refuse once, so
// both steps are retried; a program that cannot draw ends, failing. TestGLWindow owns one such window;
// BeginTestFrame() starts a renderer's frame in a known state. GLFW is never terminated: unloading the
// driver would turn its process-lifetime allocations into leaks under the sanitizers.
#pragma once

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "host/game.h"
#include "media/graphics.h"

namespace zk_test {

// Tries `step` up to five times, 0.2 s apart; on the last failure says why and ends the program.
template <class Step>
void TryOrExit(const char* what, Step step) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt) usleep(200 * 1000);
        if (step()) return;
    }
    const char* why = nullptr;
    glfwGetError(&why);
    std::fprintf(stderr, "%s failed (%s): no display? run under xvfb-run\n", what, why ? why : "no reason given");
    std::exit(2);
}

inline GLFWwindow* OpenTestWindow(int width, int height, const char* title = "gl test") {
    static bool initialised = false;
    if (!initialised) TryOrExit("glfwInit", [] { return initialised = glfwInit() == GLFW_TRUE; });
    glfwDefaultWindowHints();   // OpenGL 1.x-compatible context: the fixed-function pipeline
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = nullptr;
    TryOrExit("glfwCreateWindow", [&] { return (window = glfwCreateWindow(width, height, title, nullptr, nullptr)); });
    glfwMakeContextCurrent(window);
    ++glfwGraphicsSeq;
    // Ask the window's size once, as the host does: the answer waits for the X server to have made it.
    // Without this wait the sanitizer build's leak check crashed at exit stopping the driver's threads.
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

private:
    GLFWwindow* window_ = nullptr;
};

// A new renderer in the current context, its frame begun white, opaque, alpha-blended, unclipped, black.
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
