// media/surface.h: gxtkSurface, one decoded image and the OpenGL texture that shows it.
//
// A surface keeps its pixels in memory for its whole life and makes its texture lazily, at the first
// Bind after an OpenGL context appeared. Each new window brings a new context (glfwGraphicsSeq moves
// on); the next Bind then re-creates the texture from the kept pixels, without reading the file again.
//
// Invariants:
//   - `data` holds width * height * depth bytes, rows top to bottom without gaps, or is null.
//   - Pixels with an alpha channel are stored premultiplied (depth 2: luminance, depth 4: R, G, B are
//     scaled by alpha / 255, rounding down); the renderer blends with (ONE, ONE_MINUS_SRC_ALPHA).
//   - `texture` belongs to the context numbered `seq`; seq is -1 when there is no texture.
//   - uscale, vscale are 1 / the texture's allocated size, so pixel position * scale addresses texels
//     of the image even when the driver forced a larger power-of-two texture.
//
// Calls OpenGL only from Bind, SetSubData and Discard (and the destructor); the renderer loads and
// creates surfaces (media/graphics.h). Failure is soft: a surface never raises an error.
#pragma once

#include "runtime/gc.h"

class gxtkSurface : public Object {
public:
    unsigned char* data = nullptr;   // owned; released with free
    int width = 0, height = 0;
    int depth = 0;                   // bytes per pixel, 1 to 4
    int format = 0;                  // GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB or GL_RGBA by depth
    int seq = -1;                    // glfwGraphicsSeq when the texture was made; -1: no texture
    unsigned int texture = 0;
    float uscale = 0, vscale = 0;    // 0 until the first bind

    // Textures made by Bind since the program started; tests and benchmarks read it.
    static int texturesCreated;

    ~gxtkSurface() override;

    virtual int Discard();
    virtual int Width() { return width; }
    virtual int Height() { return height; }
    virtual bool Loaded() { return true; }
    virtual void OnUnsafeLoadComplete() { Bind(); }

    // Takes over a malloc'ed block of width * height * depth bytes, premultiplying it when it has alpha.
    void SetData(unsigned char* pixels, int w, int h, int bytesPerPixel);
    // Writes the w * h rectangle at (x, y) from ints 0xAARRGGBB, source row j at pixels + j * pitch.
    // RGBA surfaces only; the others ignore the call. Uploads it when the texture is current.
    void SetSubData(int x, int y, int w, int h, const int* pixels, int pitch);
    // Binds the texture, creating it first when it belongs to no or an earlier context.
    void Bind();

private:
    void CreateTexture();
    void UploadRect(int x, int y, int w, int h);
};
