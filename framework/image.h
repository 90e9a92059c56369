// framework/image.h: images and their frames.
//
// An image is a surface cut into frames of one size, with a handle (the point placed at the drawing
// position, about which the image rotates and scales) and flags. It knows nothing of drawing: the
// graphics module (framework/graphics.h) loads images through its device, draws them and keeps the font.
//
// Failure: a frame layout that does not fit its surface raises the runtime error "Image frame outside
// surface".
#pragma once

#include "media/surface.h"
#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/string.h"

// Top-left corner of one frame in its image's surface.
struct c_Frame : Object {
    int m_x = 0, m_y = 0;

    c_Frame* m_new(int x, int y);
};

struct c_Image : Object {
    // Image flags. CentreHandle, PadX and PadY are given by callers; WholeSurface only by p_ApplyFlags.
    static constexpr int CentreHandle = 1;         // handle at the frame's centre; cleared once applied
    static constexpr int PadX = 2;                 // skip a one-pixel border left and right of every frame
    static constexpr int PadY = 4;                 // the same above and below
    static constexpr int WholeSurface = 0x10000;   // one frame at (0, 0) as large as the surface

    static int m_DefaultFlags;   // 0 from start-up; kept for callers that ask for the default

    gxtkSurface* m_surface = nullptr;
    int m_width = 0, m_height = 0;   // size of one frame
    Array<c_Frame*> m_frames;
    int m_flags = 0;
    float m_handleX = 0, m_handleY = 0;
    c_Image* m_source = nullptr;     // the image this one was cut from; null for loaded images

    c_Image* m_new() { return this; }
    // frameCount frames side by side across the whole surface (a count below 1 counts as 1).
    c_Image* p_Init(gxtkSurface* surface, int frameCount, int flags);
    // frameCount frames of frameWidth x frameHeight, row by row, from (x, y) inside the rectangle
    // (srcX, srcY, srcW, srcH) of the surface; a frame that does not fit raises a runtime error.
    c_Image* p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight, int frameCount,
                     int flags, c_Image* source, int srcX, int srcY, int srcW, int srcH);
    int p_SetHandle(float x, float y);
    int p_ApplyFlags(int flags);
    void mark() override;
};
