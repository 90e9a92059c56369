// game/draw.cpp: the draw state, the display list, bitmap-font text, p_rstr and the render pass.
//
// Nothing is drawn during an update. Each drawing call appends one 15-float command to m_drawList (its
// layout: records.h). Coordinates are design pixels of the 800 x 600 screen. A full list (2500 commands)
// drops further commands of the frame. p_OnRender replays the list in order, scaled to the window, every
// command with alpha blending.
#include <cmath>

#include "game/gamemath.h"
#include "game/myapp.h"

namespace {

const int kListFloats = 37500;         // 2500 commands a frame
const Char kIconEscape = 0x00AC;

// Extra advance of a font frame (code unit - 32): wide letters more, narrow ones less.
int glyph_adjust(int frame) {
    switch (frame) {
    case 87: case 77: return 2;                                       // w m
    case 55: case 45: return 1;                                       // W M
    case 73: case 70: case 76: return -3;                             // i f l
    case 74: case 83: case 75: case 82: case 90: case 84: case 78: return -1;   // j s k r z t n
    }
    return 0;
}

// The icon glyph an escape letter selects, and its extra advance. Thirteen letters name pad icons
// (frames 96..108); any other letter draws its own code. The keyboard icon set (control style 0) sits
// 16 frames further on.
void icon_glyph(Char letter, int control_style, int* frame, int* adjust) {
    static const char kLetters[] = "JKLIUOQEFWSAD";
    const int keyboard = control_style == 0 ? 16 : 0;
    for (int i = 0; kLetters[i]; ++i) {
        if (letter == kLetters[i]) {
            *frame = 96 + i + keyboard;
            *adjust = (letter == 'U' || letter == 'O') ? 6 : 4;
            return;
        }
    }
    *frame = letter + keyboard;
    *adjust = glyph_adjust(*frame) != 0 ? glyph_adjust(*frame) : 4;
}

// The width a text is laid out by: every code unit but the last, each advancing by the font's advance
// plus its adjustment at the size; an icon escape counts 2 and its letter nothing. Line breaks are not
// treated specially here.
float measure(const String& text, float advance, float sizeX) {
    float width = 0;
    const int n = text.Length();
    for (int i = 0; i < n - 1; ++i) {
        int a = glyph_adjust(text[i] - 32);
        if (text[i] == kIconEscape) {
            a = 2;
            ++i;   // the escape's letter is not measured
        }
        width = std::trunc(width + (a + advance) * sizeX);
    }
    return width;
}

}  // namespace

using game::cos_deg;
using game::sin_deg;

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
    m_viewX = 0;
    m_viewY = 0;
    m_viewW = zk_Dravo_jscrw;
    m_viewH = zk_Dravo_jscrh;
    if (r > kUnset) {
        m_clsRed = r;
        m_clsGreen = g;
        m_clsBlue = b;
        m_clsAlpha = a;
    }
    p_ResetDraw();
    m_drawCount = 0;
    return 0;
}

int c_MyApp::p_ResetDraw() {
    m_sizeX = m_sizeY = 1;
    m_red = m_green = m_blue = 255;
    m_rot = 0;
    m_alpha = 1;
    m_blend = 1;
    return 0;
}

int c_MyApp::p_SetSize(float x, float y) {
    m_sizeX = x;
    m_sizeY = y > kUnset ? y : x;
    return 0;
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
    m_red = r;
    m_green = g;
    m_blue = b;
    if (a > kUnset) m_alpha = a;
    return 0;
}

int c_MyApp::p_Alpha(float a) {
    m_alpha = a;
    return 0;
}

int c_MyApp::p_SetRot(float angle) {
    m_rot = -angle;   // the graphics module turns positive angles counter-clockwise
    return 0;
}

int c_MyApp::p_AppendCommand(float kind, float x, float y, float w, float h, float frame) {
    if (m_drawCount + kCommandFloats > kListFloats) return 0;   // the list is full for this frame
    float* c = m_drawList.Data() + m_drawCount;
    c[kCmdKind] = kind;
    c[kCmdX] = x;
    c[kCmdY] = y;
    c[kCmdRot] = m_rot;
    c[kCmdW] = w;
    c[kCmdH] = h;
    c[kCmdFrame] = frame;
    c[kCmdAlpha] = m_alpha;
    c[kCmdRed] = m_red;
    c[kCmdGreen] = m_green;
    c[kCmdBlue] = m_blue;
    c[kCmdBlend] = static_cast<float>(m_blend);
    m_drawCount += kCommandFloats;
    return 0;
}

int c_MyApp::p_DrawImg(int slot, float x, float y, int frame) {
    return p_AppendCommand(static_cast<float>(slot), x, y, m_sizeX, m_sizeY, static_cast<float>(frame));
}

int c_MyApp::p_Rect(float x, float y, float w, float h) { return p_AppendCommand(kRectCommand, x, y, w, h, 0); }

int c_MyApp::p_Oval(float x, float y, float rx, float ry) { return p_AppendCommand(kOvalCommand, x, y, rx, ry, 0); }

int c_MyApp::p_Text(float x, float y, String text, float alignX, float alignY) {
    text = String(" ") + text;                                           // 1. a leading space
    const int n = text.Length();
    const float w = static_cast<float>(m_imageInfo[m_fontSlot * 3]);
    const float h = static_cast<float>(m_imageInfo[m_fontSlot * 3 + 1]);
    const float width = measure(text, w, m_sizeX);                       // 2. measure

    const float R = -m_rot;                                              // 3. start point
    const float ux = cos_deg(R), uy = sin_deg(R);     // writing direction
    const float vx = -sin_deg(R), vy = cos_deg(R);    // downward
    const float H = h * m_sizeY;
    const float x0 = x - ux * width * alignX / 2 - vx * H * (alignY - 1) / 2;
    const float y0 = y - uy * width * alignX / 2 - vy * H * (alignY - 1) / 2;

    float px = x0, py = y0;                                              // 4. walk
    int line = 0;
    for (int i = 0; i < n; ++i) {
        Char c = text[i];
        if (c == 0) continue;                                            // skipped without advancing
        if (c == '\\' && i + 1 < n && text[i + 1] == 'n') {              // 5. line break
            ++i;
            ++line;
            px = x0 + vx * line * H;
            py = y0 + vy * line * H;
            continue;
        }
        int frame = c - 32, a = glyph_adjust(frame);                     // 6. a plain glyph
        if (c == kIconEscape && i + 1 < n) {                             // 7. or the icon an escape names
            icon_glyph(text[++i], m_controlStyle, &frame, &a);
        }                                                                // (a last-unit escape is plain)
        if (frame >= 1 && frame <= 127) p_DrawImg(m_fontSlot, px, py, frame);   // 8.
        float d = (w + a) * m_sizeX;                                     // 9. advance
        px += ux * d;
        py += uy * d;
    }
    return 0;
}

String c_MyApp::p_rstr(int value, int width, String pad) {
    String t = pad;                                                      // 1. width + 1 pads
    for (m_n = 1; m_n <= width; ++m_n) t = t + pad;
    t = t + String(value);                                               // 2.
    return t.Slice(-width);                                              // 3. (width 0: everything)
}

int c_MyApp::p_OnRender() {
    game::measure_rate(zk_app_Millisecs(), m_renderMillis, m_renderFpsNow, m_renderFps);   // 1. render rate
    const int dw = zk_app_DeviceWidth(), dh = zk_app_DeviceHeight();
    zk_graphics_SetColor(m_clsRed, m_clsGreen, m_clsBlue);               // 2. background
    zk_graphics_SetAlpha(m_clsAlpha);
    zk_graphics_DrawRect(-1, -1, static_cast<float>(dw + 2), static_cast<float>(dh + 2));
    zk_graphics_SetColor(255, 255, 255);                                 // 3.
    zk_graphics_SetAlpha(1);
    if (dw != m_devWidth || dh != m_devHeight) {                         // 4. new size: reload the art
        m_devWidth = dw;
        m_devHeight = dh;
        m_loadStep = 1;
    }
    if (dw <= 0 || dh <= 0) return 0;   // a minimised window has nothing to scale to
    p_ScaleToWindow(dw, dh);                                             // 5. to 7.
    if (m_drawCount >= kCommandFloats) p_Replay(dw, dh);                 // 8.
    return 0;
}

// The design screen scaled to the window by the larger of the two scales: the virtual screen is the
// design screen cut down in the other direction, and the game lays its screens out in it.
void c_MyApp::p_ScaleToWindow(int dw, int dh) {
    m_scaleX = (dw - 2 * zk_Dravo_overscan) / zk_Dravo_rawscrw;          // 5. scale
    m_scaleY = (dh - 2 * zk_Dravo_overscan) / zk_Dravo_rawscrh;
    if (m_scaleY > m_scaleX) {                                           // 6. the larger scale wins
        m_scaleX = m_scaleY;
        zk_Dravo_jscrw = dw / (dh / zk_Dravo_rawscrh);
        zk_Dravo_jscrh = dh / (dh / zk_Dravo_rawscrh);
    } else {
        m_scaleY = m_scaleX;
        zk_Dravo_jscrw = dw / (dw / zk_Dravo_rawscrw);
        zk_Dravo_jscrh = dh / (dw / zk_Dravo_rawscrw);
    }
    m_landscape = zk_Dravo_jscrh <= zk_Dravo_jscrw ? 1 : 0;              // 7.
}

// 8. Every complete command in the order recorded, through the overscan, with alpha blending; the loop
// runs on m_n.
void c_MyApp::p_Replay(int dw, int dh) {
    const float ox = zk_Dravo_overscan;
    const float oy = zk_Dravo_overscan * dh / dw;
    const float* list = m_drawList.Data();
    zk_graphics_SetBlend(0);
    for (m_n = 0; m_n < m_drawCount - 14; m_n += kCommandFloats) {
        const float* c = list + m_n;
        zk_graphics_SetAlpha(c[kCmdAlpha]);
        zk_graphics_SetColor(c[kCmdRed], c[kCmdGreen], c[kCmdBlue]);
        const float x = c[kCmdX] * m_scaleX + ox, y = c[kCmdY] * m_scaleY + oy;
        const float w = c[kCmdW] * m_scaleX, h = c[kCmdH] * m_scaleY;
        if (c[kCmdKind] == kRectCommand) {
            zk_graphics_DrawRect(x, y, w, h);
        } else if (c[kCmdKind] == kOvalCommand) {
            zk_graphics_DrawEllipse(x, y, w, h);
        } else if (c[kCmdKind] > -1 && c[kCmdKind] < m_images.Length()) {
            c_Image* image = m_images[static_cast<int>(c[kCmdKind])];
            if (image)
                zk_graphics_DrawImage2(image, x, y, c[kCmdRot], w * m_drawScale, h * m_drawScale,
                                       static_cast<int>(c[kCmdFrame]));
        }
    }
}
