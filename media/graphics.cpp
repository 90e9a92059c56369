// media/graphics.cpp: gxtkGraphics: frame setup, state, the vertex batch, drawing and pixel access.
#include "media/graphics.h"

#include <GL/gl.h>
#include <GL/glext.h>   // constants past OpenGL 1.1, where Windows' gl.h stops

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "host/game.h"

namespace {

// Oval segments: at least enough to look round when tiny, at most one batch.
const int kOvalMinSegments = 12;
const int kOvalMaxSegments = gxtkGraphics::kBatchVertices;
const float kTwoPi = 6.2831855f;

// A colour component scaled to a byte, truncated toward zero and kept inside 0..255, so that an alpha
// above 1 or a component above 255 cannot spill into the neighbouring byte of the packed colour.
unsigned int to_byte(float value) {
    if (!(value > 0)) return 0;
    if (value >= 255) return 255;
    return static_cast<unsigned int>(value);
}

// Segments of an oval whose radius vectors on screen are `extent` pixels long in total: 12 at least,
// 1024 at most, else the whole pixels rounded down to a multiple of 4.
int oval_segments(float extent) {
    if (!(extent >= kOvalMinSegments)) return kOvalMinSegments;   // also NaN
    if (extent > kOvalMaxSegments) return kOvalMaxSegments;
    return static_cast<int>(extent) & ~3;
}

float length(float x, float y) { return std::sqrt(x * x + y * y); }

}  // namespace

gxtkGraphics::gxtkGraphics() {
    // A new context's viewport is its whole framebuffer: the size until SetSize says otherwise. Without a
    // current context nothing is read and the size stays 0 x 0.
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    SetSize(viewport[2], viewport[3]);
    for (int k = 0; k < kBatchQuads; ++k) {
        unsigned short* q = quadIndices + k * 6;
        unsigned short first = static_cast<unsigned short>(k * 4);
        q[0] = first;
        q[1] = first + 1;
        q[2] = first + 2;
        q[3] = first;
        q[4] = first + 2;
        q[5] = first + 3;
    }
    std::memset(vertices, 0, sizeof vertices);
}

void gxtkGraphics::mark() { gc_mark_q(primSurf); }

// ---- Frame ----

// The size is framebuffer pixels, not window pixels: glViewport, glScissor and glReadPixels count in
// them. The two differ only on scaled displays, and the host reports the framebuffer size as the device's.
int gxtkGraphics::BeginRender() {
    drawCalls = 0;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);   // y grows downwards
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].u);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(gxtkVertex), &vertices[0].color);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);   // colours are premultiplied
    blendMode = 0;
    glDisable(GL_TEXTURE_2D);
    primCount = 0;
    return 1;
}

int gxtkGraphics::EndRender() {
    Flush();
    return 0;
}

// ---- Surfaces ----

gxtkSurface* gxtkGraphics::LoadSurface(String path) {
    gxtkSurface* surface = new gxtkSurface();
    if (!LoadSurface__UNSAFE__(surface, path)) return nullptr;
    surface->Bind();
    return surface;
}

gxtkSurface* gxtkGraphics::CreateSurface(int w, int h) {
    gxtkSurface* surface = new gxtkSurface();
    surface->SetData(nullptr, w, h, 4);
    surface->Bind();
    return surface;
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, String path) {
    int w = 0, h = 0, depth = 0;
    unsigned char* pixels = ZKGame::_game ? ZKGame::_game->LoadImageData(path, &w, &h, &depth) : nullptr;
    if (!pixels) return false;
    if (w <= 0 || h <= 0 || depth < 1 || depth > 4) {   // nothing a texture could show
        std::free(pixels);
        return false;
    }
    surface->SetData(pixels, w, h, depth);
    return true;
}

// ---- State ----

int gxtkGraphics::Cls(float red, float green, float blue) {
    primCount = 0;   // what was batched this frame is covered anyway
    glClearColor(red / 255.0f, green / 255.0f, blue / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return 0;
}

void gxtkGraphics::UpdateColor() {
    color = to_byte(r * alpha) | to_byte(g * alpha) << 8 | to_byte(b * alpha) << 16 |
            to_byte(255 * alpha) << 24;
}

int gxtkGraphics::SetAlpha(float a) {
    alpha = a;
    UpdateColor();
    return 0;
}

int gxtkGraphics::SetColor(float red, float green, float blue) {
    r = red;
    g = green;
    b = blue;
    UpdateColor();
    return 0;
}

int gxtkGraphics::SetBlend(int blend) {
    int mode = blend == 1 ? 1 : 0;
    if (mode == blendMode) return 0;   // same function: the batch stays
    Flush();
    blendMode = mode;
    if (mode == 1)
        glBlendFunc(GL_ONE, GL_ONE);                   // additive
    else
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);   // alpha over premultiplied colour
    return 0;
}

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    Flush();
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
        glDisable(GL_SCISSOR_TEST);
        return 0;
    }
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, Height() - y - h, w, h);   // OpenGL counts y from the bottom
    return 0;
}

int gxtkGraphics::SetMatrix(float mix, float miy, float mjx, float mjy, float mtx, float mty) {
    ix = mix;
    iy = miy;
    jx = mjx;
    jy = mjy;
    tx = mtx;
    ty = mty;
    tformed = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
    return 0;
}

// ---- The batch ----

// Makes room for `verts` vertices of a primitive and returns where to write them.
gxtkVertex* gxtkGraphics::Begin(int kind, gxtkSurface* surf, int verts) {
    if (!JoinsBatch(kind, surf, verts)) {
        Flush();
        primType = kind;
        gc_assign(primSurf, surf);
    }
    gxtkVertex* v = vertices + primCount;
    primCount += verts;
    return v;
}

// Flushing:
//   1. an empty batch draws nothing;
//   2. a textured batch enables texturing and binds its surface (which may make the texture);
//   3. the draw calls of the batch's kind;
//   4. texturing off again;
//   5. the batch is empty; kind and surface stay.
void gxtkGraphics::Flush() {
    if (!primCount) return;   // 1
    if (primSurf) {           // 2
        glEnable(GL_TEXTURE_2D);
        primSurf->Bind();
    }
    DrawBatch();                                   // 3
    if (primSurf) glDisable(GL_TEXTURE_2D);        // 4
    primCount = 0;                                 // 5
}

void gxtkGraphics::DrawBatch() {
    switch (primType) {
    case 1: glDrawArrays(GL_POINTS, 0, primCount); break;
    case 2: glDrawArrays(GL_LINES, 0, primCount); break;
    case 3: glDrawArrays(GL_TRIANGLES, 0, primCount); break;
    case 4: glDrawElements(GL_TRIANGLES, primCount / 4 * 6, GL_UNSIGNED_SHORT, quadIndices); break;
    default:   // polygons of primType vertices, one fan each
        for (int first = 0; first < primCount; first += primType) {
            glDrawArrays(GL_TRIANGLE_FAN, first, primType);
            ++drawCalls;
        }
        return;
    }
    ++drawCalls;
}

// ---- Drawing ----

// Writes a quad's corners top-left, top-right, bottom-right, bottom-left, each transformed on its own.
void gxtkGraphics::PutQuad(gxtkVertex* v, float x0, float y0, float x1, float y1) {
    Put(v[0], x0, y0);
    Put(v[1], x1, y0);
    Put(v[2], x1, y1);
    Put(v[3], x0, y1);
}

int gxtkGraphics::DrawPoint(float x, float y) {
    Put(*Begin(1, nullptr, 1), x, y);
    return 0;
}

int gxtkGraphics::DrawLine(float x0, float y0, float x1, float y1) {
    gxtkVertex* v = Begin(2, nullptr, 2);
    Put(v[0], x0, y0);
    Put(v[1], x1, y1);
    return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
    PutQuad(Begin(4, nullptr, 4), x, y, x + w, y + h);
    return 0;
}

int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
    float rx = w * 0.5f, ry = h * 0.5f;
    float extent;
    if (tformed)   // the lengths of the two radius vectors on screen
        extent = length(ix * rx, iy * rx) + length(jx * ry, jy * ry);
    else
        extent = std::fabs(std::trunc(rx)) + std::fabs(std::trunc(ry));
    int segs = oval_segments(extent);
    gxtkVertex* v = Begin(segs, nullptr, segs);
    float cx = x + rx, cy = y + ry;
    for (int i = 0; i < segs; ++i) {
        float angle = i * kTwoPi / segs;
        Put(v[i], cx + std::cos(angle) * rx, cy - std::sin(angle) * ry);
    }
    return 0;
}

int gxtkGraphics::DrawPoly(Array<float> verts) {
    int n = verts.Length() / 2;
    if (n < 1 || n > kBatchVertices) return 0;
    gxtkVertex* v = Begin(n, nullptr, n);
    const float* p = verts.Data();
    for (int i = 0; i < n; ++i, p += 2) Put(v[i], p[0], p[1]);
    return 0;
}

int gxtkGraphics::DrawPoly2(Array<float> verts, gxtkSurface* surface, int srcx, int srcy) {
    int n = verts.Length() / 4;
    if (n < 1 || n > kBatchVertices || !surface) return 0;
    gxtkVertex* v = Begin(n, surface, n);
    const float* p = verts.Data();
    for (int i = 0; i < n; ++i, p += 4) {
        Put(v[i], p[0], p[1]);
        v[i].u = (p[2] + srcx) * surface->uscale;
        v[i].v = (p[3] + srcy) * surface->vscale;
    }
    return 0;
}

int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
    if (!surface) return 0;
    float sw = static_cast<float>(surface->Width()), sh = static_cast<float>(surface->Height());
    gxtkVertex* v = Begin(4, surface, 4);
    PutQuad(v, x, y, x + sw, y + sh);
    float u1 = sw * surface->uscale, v1 = sh * surface->vscale;
    v[0].u = 0;  v[0].v = 0;
    v[1].u = u1; v[1].v = 0;
    v[2].u = u1; v[2].v = v1;
    v[3].u = 0;  v[3].v = v1;
    return 0;
}

int gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                               int srch) {
    if (!surface) return 0;
    gxtkVertex* v = Begin(4, surface, 4);
    PutQuad(v, x, y, x + srcw, y + srch);
    float u0 = srcx * surface->uscale, v0 = srcy * surface->vscale;
    float u1 = (srcx + srcw) * surface->uscale, v1 = (srcy + srch) * surface->vscale;
    v[0].u = u0; v[0].v = v0;
    v[1].u = u1; v[1].v = v0;
    v[2].u = u1; v[2].v = v1;
    v[3].u = u0; v[3].v = v1;
    return 0;
}

// ---- Pixels ----

namespace {

// True when rows of w ints at offset + i * pitch, i < h, all lie inside an array of `length`.
bool rect_fits(int length, int w, int h, int offset, int pitch) {
    if (w <= 0 || h <= 0 || offset < 0) return false;
    long long first = offset + (pitch < 0 ? static_cast<long long>(pitch) * (h - 1) : 0);
    long long last = offset + (pitch > 0 ? static_cast<long long>(pitch) * (h - 1) : 0) + w;
    return first >= 0 && last <= length;
}

}  // namespace

int gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
    if (!rect_fits(pixels.Length(), w, h, offset, pitch)) return 0;
    Flush();
    readBuffer.resize(static_cast<size_t>(w) * h);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, height - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, readBuffer.data());
    for (int i = 0; i < h; ++i)   // OpenGL's rows run bottom-up
        std::memcpy(pixels.Data() + offset + i * pitch,
                    readBuffer.data() + static_cast<size_t>(h - 1 - i) * w, sizeof(int) * w);
    return 0;
}

int gxtkGraphics::WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h,
                               int offset, int pitch) {
    if (!surface || !rect_fits(pixels.Length(), w, h, offset, pitch)) return 0;
    Flush();
    surface->SetSubData(x, y, w, h, pixels.Data() + offset, pitch);
    return 0;
}
