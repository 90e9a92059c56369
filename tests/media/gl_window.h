// tests/media/gl_window.h: a real window with an OpenGL compatibility context for rendering tests.
//
// Run the tests under Xvfb (Mesa llvmpipe). Opening a window makes its context current and adds 1 to
// glfwGraphicsSeq, as the host does for every window it opens, so surfaces notice the new context.
// Pixels are read back from the back buffer, no swap needed.
#pragma once

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "host/game.h"
#include "media/graphics.h"

class TestGLWindow {
public:
    TestGLWindow(int width, int height) {
        static bool initialised = false;
        if (!initialised) {
            // An X server that other test programs are busy connecting to may refuse once; try again
            // shortly before giving up.
            for (int attempt = 0; attempt < 5 && !initialised; ++attempt) {
                if (attempt) usleep(200 * 1000);
                initialised = glfwInit() == GLFW_TRUE;
                const char* why = nullptr;
                if (!initialised && glfwGetError(&why) != GLFW_NO_ERROR)
                    std::fprintf(stderr, "glfwInit failed: %s\n", why ? why : "no reason given");
            }
            if (!initialised) {
                std::fprintf(stderr, "no OpenGL test window: no display? run under xvfb-run\n");
                std::abort();
            }
        }
        glfwDefaultWindowHints();   // OpenGL 1.x-compatible context: the fixed-function pipeline
        glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);   // never take the keyboard focus from window tests
        window_ = glfwCreateWindow(width, height, "gl test", nullptr, nullptr);
        if (!window_) {
            std::fprintf(stderr, "glfwCreateWindow failed\n");
            std::abort();
        }
        glfwMakeContextCurrent(window_);
        ++glfwGraphicsSeq;
        // Ask the window's size once, as the host does when it opens a window; the answer waits for the X
        // server to have made it. Without this wait, the sanitizer build's leak check at exit crashed while
        // stopping the driver's threads in some of the renderer's tests.
        int w = 0, h = 0;
        glfwGetFramebufferSize(window_, &w, &h);
    }
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
