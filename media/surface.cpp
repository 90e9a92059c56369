// media/surface.cpp: pixel storage, premultiplication and lazy texture creation of gxtkSurface.
#include "media/surface.h"

#include <GL/gl.h>
#include <GL/glext.h>   // constants past OpenGL 1.1, where Windows' gl.h stops

#include <algorithm>
#include <cstdlib>

#include "host/game.h"
#include "runtime/contract.h"

int gxtkSurface::texturesCreated = 0;

namespace {

#ifdef __EMSCRIPTEN__
// WebGL makes a texture of any size up to its limit when it is clamped, sampled nearest and has no mipmaps,
// as every texture here is, so a power-of-two retry could never help; and each glGetError there waits for
// the browser's GPU process to finish everything asked of it. The page uploads each texture in one call
// and checks nothing.
const bool kDriverMayRefuseSize = false;
#else
const bool kDriverMayRefuseSize = true;
#endif

// OpenGL pixel format for a number of bytes per pixel (1 to 4); 0 for anything else.
int format_for_depth(int depth) {
    switch (depth) {
    case 1: return GL_LUMINANCE;
    case 2: return GL_LUMINANCE_ALPHA;
    case 3: return GL_RGB;
    case 4: return GL_RGBA;
    default: return 0;
    }
}

// Scales the colour bytes of every pixel by its alpha (the last byte), rounding down. Depth 2 and 4 only.
void premultiply(unsigned char* p, int pixels, int depth) {
    for (int i = 0; i < pixels; ++i, p += depth) {
        int a = p[depth - 1];
        for (int c = 0; c < depth - 1; ++c) p[c] = static_cast<unsigned char>(p[c] * a / 255);
    }
}

// The smallest power of two at or above n; 1 for n <= 1.
int next_pow2(int n) {
    int p = 1;
    while (p < n) p <<= 1;
    return p;
}

// Discards errors left by earlier calls so that the next glGetError speaks of one call only.
void drain_gl_errors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {}
}

}  // namespace

gxtkSurface::~gxtkSurface() { gxtkSurface::Discard(); }

int gxtkSurface::Discard() {
    if (seq != -1 && seq == glfwGraphicsSeq) {   // a texture of an earlier context is already gone
        glDeleteTextures(1, &texture);
        seq = -1;
    }
    std::free(data);
    data = nullptr;
    return 0;
}

void gxtkSurface::SetData(unsigned char* pixels, int w, int h, int bytesPerPixel) {
    std::free(data);
    data = pixels;
    width = w;
    height = h;
    depth = bytesPerPixel;
    format = format_for_depth(bytesPerPixel);
    if (data && (depth == 2 || depth == 4)) premultiply(data, width * height, depth);
}

void gxtkSurface::SetSubData(int x, int y, int w, int h, const int* pixels, int pitch) {
    if (format != GL_RGBA) return;
    // Clip to the surface, moving the source along, so an odd rectangle never writes outside `data`.
    // Edges are computed in 64 bits: a corner near INT_MAX must not wrap round and pass the clip.
    long long left = std::max<long long>(x, 0), top = std::max<long long>(y, 0);
    long long right = std::min<long long>(static_cast<long long>(x) + w, width);
    long long bottom = std::min<long long>(static_cast<long long>(y) + h, height);
    if (right <= left || bottom <= top) return;
    pixels += (left - x) + (top - y) * pitch;
    x = static_cast<int>(left);
    y = static_cast<int>(top);
    w = static_cast<int>(right - left);
    h = static_cast<int>(bottom - top);
    if (!data) data = static_cast<unsigned char*>(zk_calloc(static_cast<size_t>(width) * height, 4));
    for (int j = 0; j < h; ++j) {
        const unsigned int* src = reinterpret_cast<const unsigned int*>(pixels + j * pitch);
        unsigned char* dst = data + (static_cast<size_t>(y + j) * width + x) * 4;
        for (int i = 0; i < w; ++i, dst += 4) {
            unsigned int argb = src[i];
            unsigned int a = argb >> 24;
            dst[0] = static_cast<unsigned char>(((argb >> 16) & 0xff) * a / 255);
            dst[1] = static_cast<unsigned char>(((argb >> 8) & 0xff) * a / 255);
            dst[2] = static_cast<unsigned char>((argb & 0xff) * a / 255);
            dst[3] = static_cast<unsigned char>(a);
        }
    }
    if (seq != -1 && seq == glfwGraphicsSeq) UploadRect(x, y, w, h);
}

// Sends a rectangle of `data` to the current texture: whole rows in one call, else one call per row.
void gxtkSurface::UploadRect(int x, int y, int w, int h) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (w == width) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE,
                        data + static_cast<size_t>(y) * width * 4);
        return;
    }
    for (int j = 0; j < h; ++j)
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y + j, w, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                        data + (static_cast<size_t>(y + j) * width + x) * 4);
}

// Binding:
//   1. no context yet (glfwGraphicsSeq 0): nothing;
//   2. the texture belongs to the current context: bind it;
//   3. otherwise (never bound, or a new context): make the texture from `data`, which binds it.
void gxtkSurface::Bind() {
    if (glfwGraphicsSeq == 0) return;                       // 1
    if (seq == glfwGraphicsSeq) {                            // 2
        glBindTexture(GL_TEXTURE_2D, texture);
        return;
    }
    CreateTexture();                                         // 3
}

void gxtkSurface::CreateTexture() {
    seq = glfwGraphicsSeq;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);   // pixel art: no smoothing
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    int texWidth = width, texHeight = height;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (!kDriverMayRefuseSize) {
        glTexImage2D(GL_TEXTURE_2D, 0, format, texWidth, texHeight, 0, format, GL_UNSIGNED_BYTE, data);
    } else {
        drain_gl_errors();
        glTexImage2D(GL_TEXTURE_2D, 0, format, texWidth, texHeight, 0, format, GL_UNSIGNED_BYTE, nullptr);
        if (glGetError() != GL_NO_ERROR) {   // a driver that wants power-of-two sides gets them
            texWidth = next_pow2(width);
            texHeight = next_pow2(height);
            glTexImage2D(GL_TEXTURE_2D, 0, format, texWidth, texHeight, 0, format, GL_UNSIGNED_BYTE, nullptr);
        }
        if (data) glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, data);
    }
    uscale = 1.0f / (texWidth > 0 ? texWidth : 1);
    vscale = 1.0f / (texHeight > 0 ? texHeight : 1);
    ++texturesCreated;
}
