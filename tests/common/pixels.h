// tests/common/pixels.h: what a frame put on the screen, read back from the current OpenGL context.
//
// Screenshot reads the whole back buffer of the current context's window once, straight through
// glReadPixels (not through the renderer under test), and answers with rows counted from the top, as the
// game and the renderer count them. ExpectPixels() checks a run of probes, each a point and the
// 0xRRGGBB colour expected there within `tolerance` per channel, and reports every probe that differs with
// its position and both colours, at the caller's line. Header only; needs GLFW, OpenGL and GoogleTest.
#pragma once

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <vector>

namespace zk_test {

class Screenshot {
public:
    Screenshot() {
        glfwGetFramebufferSize(glfwGetCurrentContext(), &width, &height);
        rgba_.resize(size_t(width) * height * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba_.data());
    }
    // The RGBA bytes of the pixel at (x, y), y counted from the top.
    const unsigned char* at(int x, int y) const { return &rgba_[(size_t(height - 1 - y) * width + x) * 4]; }
    unsigned int rgb(int x, int y) const {
        const unsigned char* p = at(x, y);
        return unsigned(p[0]) << 16 | unsigned(p[1]) << 8 | p[2];
    }
    // How many pixels of the rectangle [x0, x1) x [y0, y1) satisfy pred(const unsigned char* rgba).
    template <class Pred>
    int Count(int x0, int y0, int x1, int y1, Pred pred) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += pred(at(x, y)) ? 1 : 0;
        return n;
    }

    int width = 0, height = 0;

private:
    std::vector<unsigned char> rgba_;
};

struct Probe {
    int x, y;
    unsigned int rgb;   // 0xRRGGBB
};

// True when every channel of two 0xRRGGBB colours differs by at most `tolerance`.
inline bool NearRgb(unsigned int a, unsigned int b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int(a >> shift & 0xff) - int(b >> shift & 0xff)) > tolerance) return false;
    return true;
}

inline void ExpectPixels(const Screenshot& shot, std::initializer_list<Probe> probes, int tolerance = 0,
                         const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    for (const Probe& p : probes) {
        unsigned int got = shot.rgb(p.x, p.y);
        if (NearRgb(got, p.rgb, tolerance)) continue;
        char what[96];
        std::snprintf(what, sizeof what, "pixel (%d, %d) is %06x, expected %06x (within %d)", p.x, p.y, got,
                      p.rgb, tolerance);
        ADD_FAILURE_AT(file, line) << what;
    }
}

// The same on a fresh screenshot of the current frame.
inline void ExpectPixels(std::initializer_list<Probe> probes, int tolerance = 0,
                         const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    ExpectPixels(Screenshot(), probes, tolerance, file, line);
}

}  // namespace zk_test
