// media/graphics.h: gxtkGraphics, the batching OpenGL 1.x renderer.
//
// Draws in window pixels with the origin at the top left, through fixed-function OpenGL and client-side
// vertex arrays. Primitives of one kind and one texture collect in a vertex batch that is drawn only when
// something forces it, which keeps the number of draw calls per frame low.
//
// Batching rule: a primitive joins the current batch when
//   (a) it is of the same kind (`primType`),
//   (b) it uses the same surface (`primSurf`, null when untextured),
//   (c) the batch has room for its vertices (at most kBatchVertices).
// Otherwise the batch is drawn first. Colour and matrix are applied on the CPU as each vertex is written,
// so changing them never breaks a batch; a change of blend mode, any scissor, pixel reads and writes and
// EndRender draw it, Cls throws it away. Setting the blend mode already in force draws nothing, so a
// caller may set it as often as it likes without costing a draw call.
//
// Primitive kinds: 1 points, 2 lines, 3 triangles, 4 quads (indexed through quadIndices), n >= 5 polygons
// of n vertices (one triangle fan each). A polygon's kind is its vertex count.
//
// Lifecycle: created once by the game delegate when the game starts; BeginRender and EndRender bracket
// each frame, and between frames the batch is empty. Every piece of OpenGL state it relies on is set
// again by BeginRender, so a new context (a new window) needs nothing from it.
#pragma once

#include <vector>

#include "media/surface.h"
#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/string.h"

// One vertex as OpenGL reads it: three interleaved client arrays with a stride of 20 bytes.
struct gxtkVertex {
    float x, y;           // position in window pixels, already transformed
    float u, v;           // texture coordinates; untextured primitives leave them as they were
    unsigned int color;   // premultiplied; bytes R, G, B, A in memory
};
static_assert(sizeof(gxtkVertex) == 20, "OpenGL reads vertices with a 20-byte stride");

class gxtkGraphics : public Object {
public:
    // Vertices per batch: 256 quads, whose indices (1536) all fit in 16 bits.
    static constexpr int kBatchVertices = 1024;
    static constexpr int kBatchQuads = kBatchVertices / 4;

    int width = 0, height = 0;   // the drawing area in framebuffer pixels (SetSize)
    unsigned int color = 0;      // premultiplied vertex colour, red in the low byte
    float r = 0, g = 0, b = 0;   // current colour, 0 to 255
    float alpha = 0;             // current alpha, 0 to 1
    float ix = 1, iy = 0, jx = 0, jy = 1, tx = 0, ty = 0;   // (x, y) -> (ix x + jx y + tx, iy x + jy y + ty)
    bool tformed = false;        // false exactly when the matrix is the identity with zero translation

    gxtkVertex vertices[kBatchVertices];           // the batch: vertices[0 .. primCount)
    unsigned short quadIndices[kBatchQuads * 6];   // quad k: 4k, 4k+1, 4k+2, 4k, 4k+2, 4k+3
    int primType = 0;                              // kind of the batched primitives
    int primCount = 0;                             // vertices in the batch
    gxtkSurface* primSurf = nullptr;               // texture of the batch; null when untextured

    // OpenGL draw calls (glDrawArrays, glDrawElements) since the last BeginRender.
    int drawCalls = 0;

    gxtkGraphics();
    void mark() override;

    virtual int Width() { return width; }
    virtual int Height() { return height; }
    // The drawing area of the frames to come, in framebuffer pixels. The framework sets it from the
    // host's device size before every frame, so the renderer never asks the window system; a renderer
    // nobody sizes (tests, benchmarks) keeps the current context's whole viewport it started with.
    void SetSize(int w, int h) {
        width = w;
        height = h;
    }
    virtual int BeginRender();
    virtual int EndRender();
    virtual int DiscardGraphics() { return 0; }

    // Loads an image file through the host's decoder; null when it cannot be opened or decoded.
    virtual gxtkSurface* LoadSurface(String path);
    // A new RGBA surface without pixels, bound once.
    virtual gxtkSurface* CreateSurface(int w, int h);
    // Decodes the file into `surface` (no OpenGL); false when the host gives no pixels.
    virtual bool LoadSurface__UNSAFE__(gxtkSurface* surface, String path);

    virtual int Cls(float red, float green, float blue);
    virtual int SetAlpha(float a);
    virtual int SetColor(float red, float green, float blue);
    virtual int SetBlend(int blend);
    virtual int SetScissor(int x, int y, int w, int h);
    virtual int SetMatrix(float mix, float miy, float mjx, float mjy, float mtx, float mty);

    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float w, float h);
    virtual int DrawLine(float x0, float y0, float x1, float y1);
    virtual int DrawOval(float x, float y, float w, float h);
    // DrawPoly and DrawPoly2 draw nothing for fewer than 1 or more than kBatchVertices vertices; the
    // surface operations draw nothing for a null surface.
    virtual int DrawPoly(Array<float> verts);
    virtual int DrawPoly2(Array<float> verts, gxtkSurface* surface, int srcx, int srcy);
    virtual int DrawSurface(gxtkSurface* surface, float x, float y);
    virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                             int srch);

    // Reads a rectangle of the window into `pixels` as 0xAARRGGBB, row i from the top at
    // offset + i * pitch. A rectangle that does not fit the array reads nothing.
    virtual int ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
    // Writes a rectangle of 0xAARRGGBB ints into an RGBA surface (gxtkSurface::SetSubData). A rectangle
    // that does not fit the array, or a null surface, writes nothing.
    virtual int WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h,
                             int offset, int pitch);

    // Draws the batch, if any; kind and surface stay, so the next primitive of them starts a new batch.
    void Flush();

private:
    bool JoinsBatch(int kind, gxtkSurface* surf, int verts) const {
        return kind == primType && surf == primSurf && primCount + verts <= kBatchVertices;   // (a) (b) (c)
    }
    gxtkVertex* Begin(int kind, gxtkSurface* surf, int verts);
    void DrawBatch();
    void UpdateColor();
    void PutQuad(gxtkVertex* v, float x0, float y0, float x1, float y1);
    void Put(gxtkVertex& v, float x, float y) const {
        if (tformed) {
            v.x = ix * x + jx * y + tx;
            v.y = iy * x + jy * y + ty;
        } else {
            v.x = x;
            v.y = y;
        }
        v.color = color;
    }

    int blendMode = 0;             // blend function in force: 0 alpha, 1 additive; BeginRender sets 0
    std::vector<int> readBuffer;   // ReadPixels' bottom-up rows, reused between calls
};
