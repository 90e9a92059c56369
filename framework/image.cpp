// framework/image.cpp: frames and images cut from surfaces.
#include "framework/image.h"

#include "runtime/error.h"

int c_Image::m_DefaultFlags = 0;

namespace {

[[noreturn]] void frame_outside_surface() { zkError(String("Image frame outside surface")); }

}  // namespace

// ---- Frames and images ----

c_Frame* c_Frame::m_new(int x, int y) {
    m_x = x;
    m_y = y;
    return this;
}

void c_Image::mark() {
    gc_mark_q(m_surface);
    gc_mark_q(m_frames);
    gc_mark_q(m_source);
}

c_Image* c_Image::p_Init(gxtkSurface* surface, int frameCount, int flags) {
    if (frameCount < 1) frameCount = 1;
    gc_assign(m_surface, surface);
    m_width = surface->Width() / frameCount;
    m_height = surface->Height();
    gc_assign(m_frames, Array<c_Frame*>(frameCount));
    for (int i = 0; i < frameCount; ++i) gc_assign(m_frames[i], (new c_Frame())->m_new(i * m_width, 0));
    p_ApplyFlags(flags);
    return this;
}

// Cutting frames, row by row, out of the rectangle (srcX, srcY, srcW, srcH):
//   1. store surface, source, frame size and a frame array of frameCount;
//   2. for each frame from (x, y): a frame that would pass the right edge starts the next row (a frame
//      wider than the rectangle is an error); a frame that would pass the bottom edge is an error;
//      otherwise it is placed and x moves on by one frame width;
//   3. apply the flags.
c_Image* c_Image::p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight,
                          int frameCount, int flags, c_Image* source, int srcX, int srcY, int srcW,
                          int srcH) {
    gc_assign(m_surface, surface);                                          // 1
    gc_assign(m_source, source);
    m_width = frameWidth;
    m_height = frameHeight;
    gc_assign(m_frames, Array<c_Frame*>(frameCount));
    for (int i = 0; i < m_frames.Length(); ++i) {                           // 2
        if (x + frameWidth > srcW) {
            y += frameHeight;
            if (frameWidth > srcW) frame_outside_surface();
            x = 0;
        }
        if (y + frameHeight > srcH) frame_outside_surface();
        gc_assign(m_frames[i], (new c_Frame())->m_new(x + srcX, y + srcY));
        x += frameWidth;
    }
    p_ApplyFlags(flags);                                                    // 3
    return this;
}

int c_Image::p_SetHandle(float x, float y) {
    m_handleX = x;
    m_handleY = y;
    m_flags &= ~CentreHandle;
    return 0;
}

// Applying flags:
//   1. they become m_flags;
//   2. PadX / PadY move every frame one pixel in and shrink the frame by two;
//   3. CentreHandle puts the handle at the centre of the shrunk frame and is cleared;
//   4. one frame at (0, 0) as large as the surface marks the image WholeSurface.
int c_Image::p_ApplyFlags(int flags) {
    m_flags = flags;                                                        // 1
    int frames = m_frames.Length();
    if (m_flags & PadX) {                                                   // 2
        for (int i = 0; i < frames; ++i) m_frames[i]->m_x += 1;
        m_width -= 2;
    }
    if (m_flags & PadY) {
        for (int i = 0; i < frames; ++i) m_frames[i]->m_y += 1;
        m_height -= 2;
    }
    if (m_flags & CentreHandle) p_SetHandle(m_width * 0.5f, m_height * 0.5f);   // 3
    if (frames == 1 && m_frames[0]->m_x == 0 && m_frames[0]->m_y == 0 &&       // 4
        m_width == m_surface->Width() && m_height == m_surface->Height())
        m_flags |= WholeSurface;
    return 0;
}
