// framework/graphics.h: the graphics module: drawing state, the matrix stack, drawing, the image loaders
// and the fonts. Images and their frames are in framework/image.h.
//
// Sits between the game and the renderer (media/graphics.h). The one graphics context keeps the current
// matrix, colour, alpha, blend and scissor; each state call stores its value and, except for the matrix,
// sends it to the render device at once. The matrix reaches the device only when a drawing call finds it
// changed (m_matrixDirty), so many shapes under one matrix send it once.
//
// Frame bracket: the game delegate calls zk_graphics_BeginRender after the device's own BeginRender and
// zk_graphics_EndRender before the device's EndRender. Outside the bracket zk_graphics_renderDevice is
// null and state is only stored, drawing does nothing.
//
// Failure: an image file that does not load gives a null image, and a null image draws nothing.
//
// zk_graphics_init() gives the module's globals their start values and registers them as collector roots;
// the program's start-up calls it once, before anything else here.
#pragma once

#include "framework/image.h"
#include "media/graphics.h"
#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/string.h"

struct c_GraphicsContext : Object {
    static constexpr int kMatrixFloats = 6;
    static constexpr int kStartMatrices = 32;   // the game nests a few levels; doubling covers the rest

    c_Image* m_defaultFont = nullptr;   // the built-in font, loaded on first need
    c_Image* m_font = nullptr;
    int m_firstChar = 0;
    int m_stackTop = 0;   // floats of m_matrixStack in use
    float m_ix = 1, m_iy = 0, m_jx = 0, m_jy = 1, m_tx = 0, m_ty = 0;
    int m_transformed = 0;   // 1 unless the matrix is the identity with zero translation
    int m_matrixDirty = 0;   // 1 while the render device has not received the current matrix
    float m_colorR = 0, m_colorG = 0, m_colorB = 0;
    float m_alpha = 0;
    int m_blend = 0;   // 0 alpha, 1 additive
    float m_clipX = 0, m_clipY = 0, m_clipW = 0, m_clipH = 0;
    Array<float> m_matrixStack;   // saved matrices, six floats each; doubled when full

    c_GraphicsContext* m_new();
    // Sends the matrix to the render device if it changed since it was last sent.
    int p_Validate();
    void mark() override;
};

extern gxtkGraphics* zk_graphics_device;         // the render device, set once at start
extern c_GraphicsContext* zk_graphics_context;   // the one graphics context
extern gxtkGraphics* zk_graphics_renderDevice;   // the device inside the frame bracket, else null

void zk_graphics_init();

int zk_graphics_SetGraphicsDevice(gxtkGraphics* device);
int zk_graphics_BeginRender();
int zk_graphics_EndRender();

int zk_graphics_SetColor(float r, float g, float b);
int zk_graphics_SetAlpha(float alpha);
int zk_graphics_SetBlend(int blend);
int zk_graphics_SetScissor(float x, float y, float w, float h);

int zk_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
// The array forms take the first six floats; a shorter array changes nothing rather than read past its end.
int zk_graphics_SetMatrix2(Array<float> m);
int zk_graphics_Transform(float a, float b, float c, float d, float x, float y);
int zk_graphics_Transform2(Array<float> m);
int zk_graphics_Translate(float x, float y);
int zk_graphics_Rotate(float angle);   // degrees; positive turns counter-clockwise on screen
int zk_graphics_Scale(float x, float y);
int zk_graphics_PushMatrix();
int zk_graphics_PopMatrix();   // an empty stack leaves the matrix as it is

int zk_graphics_DrawRect(float x, float y, float w, float h);
int zk_graphics_DrawLine(float x0, float y0, float x1, float y1);
int zk_graphics_DrawEllipse(float x, float y, float rx, float ry);
// A null image, or a frame index outside a framed image, draws nothing.
int zk_graphics_DrawImage(c_Image* image, float x, float y, int frame);
int zk_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                           int frame);

// Images through the device's surfaces, the path made a data-folder path; no device or no file gives null.
c_Image* zk_graphics_LoadImage(String path, int frameCount, int flags);
c_Image* zk_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags);
// A null font selects the built-in one ("zeto_font.png", first character 32), loaded on first need.
int zk_graphics_SetFont(c_Image* font, int firstChar);
