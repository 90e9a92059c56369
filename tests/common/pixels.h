// tests/common/pixels.h: the current OpenGL context's back buffer read through glReadPixels (not the renderer
// under test), rows counted from the top; ExpectPixels() checks 0xRRGGBB probes within `tolerance` a channel.
#pragma once

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <iomanip>
#include <initializer_list>
#include <vector>

namespace zk_test {

struct Screenshot {
    Screenshot() {
        glfwGetFramebufferSize(glfwGetCurrentContext(), &width, &height);
        rgba_.resize(size_t(width) * height * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba_.data());
    }
    const unsigned char* at(int x, int y) const { return &rgba_[(size_t(height - 1 - y) * width + x) * 4]; }
    // Pixels of [x0, x1) x [y0, y1) whose RGBA bytes satisfy pred.
    template <class Pred>
    int Count(int x0, int y0, int x1, int y1, Pred pred) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += pred(at(x, y)) ? 1 : 0;
        return n;
    }

    int width = 0, height = 0;
    std::vector<unsigned char> rgba_;
};

struct Probe {
    int x, y;
    unsigned int rgb;   // 0xRRGGBB
};

inline void ExpectPixels(std::initializer_list<Probe> probes, int tolerance = 0,
                         const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    Screenshot shot;
    for (const Probe& p : probes) {
        const unsigned char* px = shot.at(p.x, p.y);
        unsigned int got = unsigned(px[0]) << 16 | unsigned(px[1]) << 8 | px[2];
        bool near = true;
        for (int shift = 0; shift < 24; shift += 8)
            near = near && std::abs(int(got >> shift & 0xff) - int(p.rgb >> shift & 0xff)) <= tolerance;
        if (near) continue;
        ADD_FAILURE_AT(file, line) << "(" << p.x << ", " << p.y << ") is " << std::hex << std::setfill('0')
                                   << std::setw(6) << got << " not " << std::setw(6) << p.rgb;
    }
}

}  // namespace zk_test
