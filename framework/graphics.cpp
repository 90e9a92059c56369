// framework/graphics.cpp: the graphics context, state forwarding, the matrix stack, drawing, the image
// loaders and the fonts.
#include "framework/graphics.h"

#include <cmath>

#include "framework/data.h"

gxtkGraphics* zk_graphics_device = nullptr;
c_GraphicsContext* zk_graphics_context = nullptr;
gxtkGraphics* zk_graphics_renderDevice = nullptr;

namespace {

const float kDegToRad = 0.0174532924f;   // single precision, as every angle in the program

c_GraphicsContext* ctx() {
    ZK_CONTRACT(zk_graphics_context, "graphics functions run only after the module's start-up (zk_graphics_init)");
    return zk_graphics_context;
}

// Called after every matrix change: the identity test and the note that the device needs the matrix.
void matrix_changed() {
    c_GraphicsContext* c = ctx();
    c->m_transformed =
        !(c->m_ix == 1 && c->m_iy == 0 && c->m_jx == 0 && c->m_jy == 1 && c->m_tx == 0 && c->m_ty == 0);
    c->m_matrixDirty = 1;
}

}  // namespace

// ---- Module start ----

void zk_graphics_init() {
    static bool rooted = false;
    if (!rooted) {   // a slot registered twice would be marked twice, harmless but untidy
        gc_root(zk_graphics_device);
        gc_root(zk_graphics_context);
        gc_root(zk_graphics_renderDevice);
        rooted = true;
    }
    zk_graphics_device = nullptr;
    gc_assign(zk_graphics_context, (new c_GraphicsContext())->m_new());
    c_Image::m_DefaultFlags = 0;
    zk_graphics_renderDevice = nullptr;
}

// ---- Context ----

c_GraphicsContext* c_GraphicsContext::m_new() {
    gc_assign(m_matrixStack, Array<float>(kStartMatrices * kMatrixFloats));
    return this;
}

int c_GraphicsContext::p_Validate() {
    if (m_matrixDirty && zk_graphics_renderDevice) {
        zk_graphics_renderDevice->SetMatrix(m_ix, m_iy, m_jx, m_jy, m_tx, m_ty);
        m_matrixDirty = 0;
    }
    return 0;
}

void c_GraphicsContext::mark() {
    gc_mark_q(m_defaultFont);
    gc_mark_q(m_font);
    gc_mark_q(m_matrixStack);
}

// ---- Frame bracket ----

int zk_graphics_SetGraphicsDevice(gxtkGraphics* device) {
    gc_assign(zk_graphics_device, device);
    return 0;
}

// Starts a frame from a known state: identity matrix (sent with the first drawing call), white, opaque,
// alpha blending, and a scissor covering the whole device.
int zk_graphics_BeginRender() {
    ZK_CONTRACT(zk_graphics_device, "a frame begins only once the game delegate gave the module its device");
    gc_assign(zk_graphics_renderDevice, zk_graphics_device);
    ctx()->m_stackTop = 0;
    zk_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    zk_graphics_SetColor(255, 255, 255);
    zk_graphics_SetAlpha(1);
    zk_graphics_SetBlend(0);
    // The device's own size: exactly the rectangle for which it switches the scissor test off.
    gxtkGraphics* device = zk_graphics_renderDevice;
    zk_graphics_SetScissor(0, 0, device ? device->Width() : 0, device ? device->Height() : 0);
    return 0;
}

int zk_graphics_EndRender() {
    zk_graphics_renderDevice = nullptr;
    return 0;
}

// ---- State ----

int zk_graphics_SetColor(float r, float g, float b) {
    ctx()->m_colorR = r;
    ctx()->m_colorG = g;
    ctx()->m_colorB = b;
    if (zk_graphics_renderDevice) zk_graphics_renderDevice->SetColor(r, g, b);
    return 0;
}

int zk_graphics_SetAlpha(float alpha) {
    ctx()->m_alpha = alpha;
    if (zk_graphics_renderDevice) zk_graphics_renderDevice->SetAlpha(alpha);
    return 0;
}

int zk_graphics_SetBlend(int blend) {
    ctx()->m_blend = blend;
    if (zk_graphics_renderDevice) zk_graphics_renderDevice->SetBlend(blend);
    return 0;
}

int zk_graphics_SetScissor(float x, float y, float w, float h) {
    c_GraphicsContext* c = ctx();
    c->m_clipX = x;
    c->m_clipY = y;
    c->m_clipW = w;
    c->m_clipH = h;
    if (zk_graphics_renderDevice)
        zk_graphics_renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                                             static_cast<int>(h));
    return 0;
}

// ---- Matrix ----

int zk_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    c_GraphicsContext* c = ctx();
    c->m_ix = ix;
    c->m_iy = iy;
    c->m_jx = jx;
    c->m_jy = jy;
    c->m_tx = tx;
    c->m_ty = ty;
    matrix_changed();
    return 0;
}

int zk_graphics_SetMatrix2(Array<float> m) {
    if (m.Length() < 6) return 0;
    return zk_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

// Multiplies the current matrix by (a, b, c, d, x, y) on the right: the new matrix applies the given one
// first, then the old one.
int zk_graphics_Transform(float a, float b, float c, float d, float x, float y) {
    c_GraphicsContext* k = ctx();
    float ix = k->m_ix * a + k->m_jx * b;
    float iy = k->m_iy * a + k->m_jy * b;
    float jx = k->m_ix * c + k->m_jx * d;
    float jy = k->m_iy * c + k->m_jy * d;
    float tx = k->m_ix * x + k->m_jx * y + k->m_tx;
    float ty = k->m_iy * x + k->m_jy * y + k->m_ty;
    return zk_graphics_SetMatrix(ix, iy, jx, jy, tx, ty);
}

int zk_graphics_Transform2(Array<float> m) {
    if (m.Length() < 6) return 0;
    return zk_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int zk_graphics_Translate(float x, float y) { return zk_graphics_Transform(1, 0, 0, 1, x, y); }

int zk_graphics_Rotate(float angle) {
    float r = angle * kDegToRad;
    float c = std::cos(r), s = std::sin(r);
    return zk_graphics_Transform(c, -s, s, c, 0, 0);
}

int zk_graphics_Scale(float x, float y) { return zk_graphics_Transform(x, 0, 0, y, 0, 0); }

int zk_graphics_PushMatrix() {
    c_GraphicsContext* c = ctx();
    int length = c->m_matrixStack.Length();
    if (c->m_stackTop + c_GraphicsContext::kMatrixFloats > length) {   // full: double, keeping contents
        int grown = length ? length * 2
                           : c_GraphicsContext::kStartMatrices * c_GraphicsContext::kMatrixFloats;
        gc_assign(c->m_matrixStack, c->m_matrixStack.Resize(grown));
    }
    float* top = c->m_matrixStack.Data() + c->m_stackTop;
    top[0] = c->m_ix;
    top[1] = c->m_iy;
    top[2] = c->m_jx;
    top[3] = c->m_jy;
    top[4] = c->m_tx;
    top[5] = c->m_ty;
    c->m_stackTop += c_GraphicsContext::kMatrixFloats;
    return 0;
}

int zk_graphics_PopMatrix() {
    c_GraphicsContext* c = ctx();
    if (c->m_stackTop < c_GraphicsContext::kMatrixFloats) return 0;
    c->m_stackTop -= c_GraphicsContext::kMatrixFloats;
    const float* top = c->m_matrixStack.Data() + c->m_stackTop;
    return zk_graphics_SetMatrix(top[0], top[1], top[2], top[3], top[4], top[5]);
}

// ---- Drawing ----

int zk_graphics_DrawRect(float x, float y, float w, float h) {
    if (!zk_graphics_renderDevice) return 0;
    ctx()->p_Validate();
    return zk_graphics_renderDevice->DrawRect(x, y, w, h);
}

int zk_graphics_DrawLine(float x0, float y0, float x1, float y1) {
    if (!zk_graphics_renderDevice) return 0;
    ctx()->p_Validate();
    return zk_graphics_renderDevice->DrawLine(x0, y0, x1, y1);
}

int zk_graphics_DrawEllipse(float x, float y, float rx, float ry) {
    if (!zk_graphics_renderDevice) return 0;
    ctx()->p_Validate();
    return zk_graphics_renderDevice->DrawOval(x - rx, y - ry, rx * 2, ry * 2);
}

namespace {

// The frame to draw, or null when the image is a whole surface (drawn without one).
// `ok` is false when there is nothing to draw: no device, no image, or a frame index out of range.
c_Frame* frame_to_draw(c_Image* image, int frame, bool& ok) {
    ok = zk_graphics_renderDevice && image;
    if (!ok || (image->m_flags & c_Image::WholeSurface)) return nullptr;
    ok = frame >= 0 && frame < image->m_frames.Length();
    return ok ? image->m_frames[frame] : nullptr;
}

// Draws the image's frame with its top-left corner at (x, y) under the device's current matrix.
void draw_frame(c_Image* image, c_Frame* f, float x, float y) {
    if (!f)
        zk_graphics_renderDevice->DrawSurface(image->m_surface, x, y);
    else
        zk_graphics_renderDevice->DrawSurface2(image->m_surface, x, y, f->m_x, f->m_y, image->m_width,
                                               image->m_height);
}

}  // namespace

int zk_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
    bool ok;
    c_Frame* f = frame_to_draw(image, frame, ok);
    if (!ok) return 0;
    ctx()->p_Validate();
    draw_frame(image, f, x - image->m_handleX, y - image->m_handleY);
    return 0;
}

// Drawing a transformed image:
//   1. push the matrix;
//   2. move to (x, y), rotate, scale, and move back by the handle;
//   3. validate and draw the frame at (0, 0);
//   4. pop the matrix.
int zk_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                           int frame) {
    bool ok;
    c_Frame* f = frame_to_draw(image, frame, ok);
    if (!ok) return 0;
    zk_graphics_PushMatrix();                                  // 1
    zk_graphics_Translate(x, y);                               // 2
    zk_graphics_Rotate(rotation);
    zk_graphics_Scale(scaleX, scaleY);
    zk_graphics_Translate(-image->m_handleX, -image->m_handleY);
    ctx()->p_Validate();                                       // 3
    draw_frame(image, f, 0, 0);
    zk_graphics_PopMatrix();                                   // 4
    return 0;
}

// ---- Images and fonts ----

namespace {

const char* const kDefaultFontFile = "zeto_font.png";
const int kDefaultFontFrames = 96;       // printable ASCII, 32 to 127
const int kDefaultFirstChar = 32;

// Both loaders: the device's surface for the data-folder path; no device or no surface gives null.
gxtkSurface* load_surface(String path) {
    return zk_graphics_device ? zk_graphics_device->LoadSurface(zk_data_FixDataPath(path)) : nullptr;
}

}  // namespace

c_Image* zk_graphics_LoadImage(String path, int frameCount, int flags) {
    gxtkSurface* surface = load_surface(path);
    if (!surface) return nullptr;
    return (new c_Image())->m_new()->p_Init(surface, frameCount, flags);
}

c_Image* zk_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags) {
    gxtkSurface* surface = load_surface(path);
    if (!surface) return nullptr;
    return (new c_Image())->m_new()->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount, flags,
                                             nullptr, 0, 0, surface->Width(), surface->Height());
}

int zk_graphics_SetFont(c_Image* font, int firstChar) {
    c_GraphicsContext* c = ctx();
    if (!font) {
        if (!c->m_defaultFont)
            gc_assign(c->m_defaultFont,
                      zk_graphics_LoadImage(String(kDefaultFontFile), kDefaultFontFrames, c_Image::PadX));
        font = c->m_defaultFont;
        firstChar = kDefaultFirstChar;
    }
    gc_assign(c->m_font, font);
    c->m_firstChar = firstChar;
    return 0;
}
