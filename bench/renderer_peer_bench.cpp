// bench/renderer_peer_bench.cpp: the renderer against SDL2's SDL_Renderer (opengl driver), in one run.
//
// Two streams, each drawn by both in turn, in blocks of frames that alternate (ours, SDL2, ours, SDL2) so
// that the load of a shared machine falls on both alike:
//   sheet  2,500 sprites of one 16-frame sheet (the display list's most commands): rotated, scaled 1.5,
//          tinted, alpha 0.5 or 1, as bench/graphics_bench.cpp's BM_FrameOfSheetImages. Ours goes through
//          the graphics module (zk_graphics_DrawImage2); SDL2 gets SDL_SetTextureColorMod, AlphaMod and
//          SDL_RenderCopyExF per sprite.
//   play   the game's busiest play frame (the scene of bench/game_bench.cpp). Ours is the game's own render
//          pass (RenderGame: the display list replayed through the graphics module into the renderer).
//          SDL2 replays the renderer calls that pass made, recorded once by a recording device: each image
//          as SDL_RenderCopyExF with the matrix taken apart into position, scale and angle, rectangles,
//          ovals and polygons as SDL_RenderGeometry (SDL2 has no oval), lines as SDL_RenderDrawLineF.
//          A third line, "play (renderer only)", replays the same recorded calls into gxtkGraphics, so the
//          two renderers get exactly the same calls.
// Timed: CPU time of the submission, from the frame's clear to the last OpenGL call: our EndRender (which
// draws the last batch), SDL_RenderFlush for SDL2 (it queues commands until then). Not timed, for both:
// a glFinish after each frame, so every frame starts with the driver idle; no buffer swap for either.
// Both windows are 800 x 600 and hidden, on the same X server and Mesa. Median over many frames.
//
// Run: cd build && xvfb-run -a -s "-screen 0 1920x1080x24" env ALSOFT_DRIVERS=null bench/renderer_peer_bench
//   [frames per block, default 100] [blocks per side, default 8]
// For instruction counts per frame (callgrind, repeatable on a loaded machine):
//   valgrind --tool=callgrind --instr-atstart=no --toggle-collect='*Timed*'
//     bench/renderer_peer_bench --one <side> <stream> N
// with side ours or sdl and stream sheet, play or play-renderer; divide the total by N. bench/callgrind_split.py
// splits the count into the side's own instructions and the OpenGL driver's.
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "framework/graphics.h"
#include "harness/game_host.h"

namespace {

const int kWidth = 800, kHeight = 600;   // the game's window
const int kDisplayList = 2500;

// ---- the game and its busiest play frame ----------------------------------------------------------------

// The busiest play frame as bench/game_bench.cpp builds it: a ball waiting with the power meter swinging,
// four monsters up, a ball and a peg about to bounce, a ball about to splash, droplets in flight, the HUD.
void Place(c_MyApp* app, int r, float kind, float x, float h, float vx, float vy) {
    float* o = &app->m_objects[r * 10];
    for (int e = 0; e < 10; ++e) o[e] = 0;
    o[0] = kind, o[1] = x, o[2] = h, o[3] = vx, o[4] = vy;
}

void EnterBusiestPlayFrame(TestGame& g) {
    c_MyApp* app = g.app;
    app->m_gameType = 1;
    app->m_mode = 11;
    for (int i = 0; i < 80; ++i) g.Frame();
    for (int r = 0; r <= 200; ++r)
        if (app->m_objects[r * 10] == 10) app->m_objects[r * 10] = 0;
    for (int m = 0; m < 4; ++m) Place(app, 150 + m, 10, 250 + 150 * m, 60, 0, 0);
    Place(app, 154, 1, 400, 62, 2, 1);
    Place(app, 155, 2, 550, 62, -1, 1);
    Place(app, 156, 1, 320, 32.5f, 1, 3);
    for (int d = 0; d < 9; ++d) app->p_ThrowParticle(200, 560, 3, 9);
    app->m_score = app->m_shownScore = 1234;
    g.host->UpdateGame();   // records the frame into the display list; RenderGame replays it each time
}

// ---- the renderer calls of one frame, recorded ----------------------------------------------------------

struct Call {
    enum Kind { Cls, Color, Alpha, Blend, Scissor, Matrix, Rect, Line, Oval, Poly, Surface } kind;
    float f[6] = {};
    Call(Kind k, std::initializer_list<float> values = {}) : kind(k) {
        std::copy(values.begin(), values.end(), f);
    }
    int src[4] = {};   // source rectangle of Surface
    gxtkSurface* surface = nullptr;
    std::vector<float> verts;
};

// A device that records every call and draws it too. Installed for one frame in place of the game's.
class RecordingGraphics : public gxtkGraphics {
public:
    std::vector<Call> calls;

    int Cls(float r_, float g_, float b_) override { return Add({Call::Cls, {r_, g_, b_}}, gxtkGraphics::Cls(r_, g_, b_)); }
    int SetColor(float r_, float g_, float b_) override {
        return Add({Call::Color, {r_, g_, b_}}, gxtkGraphics::SetColor(r_, g_, b_));
    }
    int SetAlpha(float a) override { return Add({Call::Alpha, {a}}, gxtkGraphics::SetAlpha(a)); }
    int SetBlend(int blend) override {
        return Add({Call::Blend, {static_cast<float>(blend)}}, gxtkGraphics::SetBlend(blend));
    }
    int SetScissor(int x, int y, int w, int h) override {
        return Add({Call::Scissor, {float(x), float(y), float(w), float(h)}}, gxtkGraphics::SetScissor(x, y, w, h));
    }
    int SetMatrix(float a, float b, float c, float d, float e, float f) override {
        return Add({Call::Matrix, {a, b, c, d, e, f}}, gxtkGraphics::SetMatrix(a, b, c, d, e, f));
    }
    int DrawRect(float x, float y, float w, float h) override {
        return Add({Call::Rect, {x, y, w, h}}, gxtkGraphics::DrawRect(x, y, w, h));
    }
    int DrawLine(float x0, float y0, float x1, float y1) override {
        return Add({Call::Line, {x0, y0, x1, y1}}, gxtkGraphics::DrawLine(x0, y0, x1, y1));
    }
    int DrawOval(float x, float y, float w, float h) override {
        return Add({Call::Oval, {x, y, w, h}}, gxtkGraphics::DrawOval(x, y, w, h));
    }
    int DrawPoly(Array<float> v) override {
        Call c{Call::Poly};
        c.verts.assign(v.Data(), v.Data() + v.Length());
        return Add(c, gxtkGraphics::DrawPoly(v));
    }
    int DrawPoly2(Array<float> v, gxtkSurface* s, int srcx, int srcy) override {
        Call c{Call::Poly};
        c.verts.assign(v.Data(), v.Data() + v.Length());
        c.surface = s;
        c.src[0] = srcx, c.src[1] = srcy;
        return Add(c, gxtkGraphics::DrawPoly2(v, s, srcx, srcy));
    }
    int DrawSurface(gxtkSurface* s, float x, float y) override {
        return DrawSurface2(s, x, y, 0, 0, s ? s->width : 0, s ? s->height : 0);
    }
    int DrawSurface2(gxtkSurface* s, float x, float y, int sx, int sy, int sw, int sh) override {
        Call c{Call::Surface, {x, y}};
        c.surface = s;
        c.src[0] = sx, c.src[1] = sy, c.src[2] = sw, c.src[3] = sh;
        return Add(c, gxtkGraphics::DrawSurface2(s, x, y, sx, sy, sw, sh));
    }

private:
    int Add(const Call& c, int result) {
        calls.push_back(c);
        return result;
    }
};

std::vector<Call> RecordPlayFrame(TestGame& g) {
    gxtkGraphics* real = g.Renderer();
    RecordingGraphics* rec = new RecordingGraphics();
    gc_assign(zk_app__delegate->m__graphics, static_cast<gxtkGraphics*>(rec));
    zk_graphics_SetGraphicsDevice(rec);
    g.host->RenderGame();
    gc_assign(zk_app__delegate->m__graphics, real);
    zk_graphics_SetGraphicsDevice(real);
    glFinish();
    return rec->calls;
}

// The recorded calls straight into one of our renderers.
void ReplayOurs(gxtkGraphics* d, const std::vector<Call>& calls) {
    for (const Call& c : calls) {
        const float* f = c.f;
        switch (c.kind) {
        case Call::Cls: d->Cls(f[0], f[1], f[2]); break;
        case Call::Color: d->SetColor(f[0], f[1], f[2]); break;
        case Call::Alpha: d->SetAlpha(f[0]); break;
        case Call::Blend: d->SetBlend(static_cast<int>(f[0])); break;
        case Call::Scissor: d->SetScissor(int(f[0]), int(f[1]), int(f[2]), int(f[3])); break;
        case Call::Matrix: d->SetMatrix(f[0], f[1], f[2], f[3], f[4], f[5]); break;
        case Call::Rect: d->DrawRect(f[0], f[1], f[2], f[3]); break;
        case Call::Line: d->DrawLine(f[0], f[1], f[2], f[3]); break;
        case Call::Oval: d->DrawOval(f[0], f[1], f[2], f[3]); break;
        case Call::Poly: {
            Array<float> v(c.verts.data(), static_cast<int>(c.verts.size()));
            if (c.surface) d->DrawPoly2(v, c.surface, c.src[0], c.src[1]);
            else d->DrawPoly(v);
            break;
        }
        case Call::Surface: d->DrawSurface2(c.surface, f[0], f[1], c.src[0], c.src[1], c.src[2], c.src[3]); break;
        }
    }
}

// ---- SDL2's side ----------------------------------------------------------------------------------------

struct Sdl {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_GLContext context = nullptr;
    std::string driver;
    SDL_Texture* sheet = nullptr;
    std::map<gxtkSurface*, SDL_Texture*> textures;   // one texture per surface of the recorded frame

    Sdl() {
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
        SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
        if (SDL_Init(SDL_INIT_VIDEO) != 0) Fail("SDL_Init");
        window = SDL_CreateWindow("sdl peer", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!window) Fail("SDL_CreateWindow");
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
        if (!renderer) Fail("SDL_CreateRenderer");
        context = SDL_GL_GetCurrentContext();
        SDL_RendererInfo info;
        SDL_GetRendererInfo(renderer, &info);
        driver = info.name;
        if (driver != "opengl") Fail("the opengl render driver");
    }
    static void Fail(const char* what) {
        std::fprintf(stderr, "renderer_peer_bench: %s failed: %s\n", what, SDL_GetError());
        std::exit(2);
    }
    SDL_Texture* Texture(int w, int h, const void* pixels) {
        SDL_Texture* t = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
        if (!t) Fail("SDL_CreateTexture");
        SDL_UpdateTexture(t, nullptr, pixels, w * 4);
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        return t;
    }
};

// Makes a context current for the side about to draw. Each library keeps its own note of the current
// context and may skip a switch it believes already made, so both are cleared first.
void UseSdl(Sdl& s) {
    glfwMakeContextCurrent(nullptr);
    SDL_GL_MakeCurrent(s.window, nullptr);
    SDL_GL_MakeCurrent(s.window, s.context);
}
void UseOurs(TestGame& g, Sdl& s) {
    SDL_GL_MakeCurrent(s.window, nullptr);
    glfwMakeContextCurrent(nullptr);
    glfwMakeContextCurrent(g.window);
}

// The recorded calls as a developer would give them to SDL2's renderer.
struct SdlReplay {
    explicit SdlReplay(Sdl& s) : sdl(s) {}
    Sdl& sdl;
    float r = 255, g = 255, b = 255, a = 1;
    float m[6] = {1, 0, 0, 1, 0, 0};   // ix, iy, jx, jy, tx, ty
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    std::vector<SDL_Vertex> verts;
    std::vector<int> indices;

    SDL_FPoint Map(float x, float y) const { return {m[0] * x + m[2] * y + m[4], m[1] * x + m[3] * y + m[5]}; }
    SDL_Color Colour() const {
        return {Uint8(r), Uint8(g), Uint8(b), Uint8(a * 255)};
    }
    // A convex polygon as a fan of triangles.
    void Fan(const float* xy, int n, SDL_Texture* t = nullptr) {
        verts.resize(n);
        for (int i = 0; i < n; ++i) verts[i] = {Map(xy[2 * i], xy[2 * i + 1]), Colour(), {0, 0}};
        indices.clear();
        for (int i = 1; i + 1 < n; ++i) indices.insert(indices.end(), {0, i, i + 1});
        SDL_RenderGeometry(sdl.renderer, t, verts.data(), n, indices.data(), static_cast<int>(indices.size()));
    }
    void Image(const Call& c) {
        SDL_Texture* t = sdl.textures[c.surface];
        SDL_SetTextureColorMod(t, Uint8(r), Uint8(g), Uint8(b));
        SDL_SetTextureAlphaMod(t, Uint8(a * 255));
        SDL_SetTextureBlendMode(t, blend);
        const float sx = std::hypot(m[0], m[1]), sy = std::hypot(m[2], m[3]);
        const float w = c.src[2] * sx, h = c.src[3] * sy;
        const SDL_FPoint centre = Map(c.f[0] + c.src[2] * 0.5f, c.f[1] + c.src[3] * 0.5f);
        const SDL_Rect src{c.src[0], c.src[1], c.src[2], c.src[3]};
        const SDL_FRect dst{centre.x - w * 0.5f, centre.y - h * 0.5f, w, h};
        const bool flip = m[0] * m[3] - m[1] * m[2] < 0;
        SDL_RenderCopyExF(sdl.renderer, t, &src, &dst, std::atan2(m[1], m[0]) * 57.29578f, nullptr,
                          flip ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
    }
    void Oval(const float* f) {
        const float rx = f[2] * 0.5f, ry = f[3] * 0.5f;
        const float extent = std::hypot(m[0] * rx, m[1] * rx) + std::hypot(m[2] * ry, m[3] * ry);
        const int segs = extent < 12 ? 12 : extent > 1024 ? 1024 : static_cast<int>(extent) & ~3;
        std::vector<float> xy(2 * segs);
        for (int i = 0; i < segs; ++i) {
            const float angle = i * 6.2831853f / segs;
            xy[2 * i] = f[0] + rx + std::cos(angle) * rx;
            xy[2 * i + 1] = f[1] + ry - std::sin(angle) * ry;
        }
        Fan(xy.data(), segs);
    }
    void Draw(const Call& c) {
        const float* f = c.f;
        switch (c.kind) {
        case Call::Cls:
            SDL_SetRenderDrawColor(sdl.renderer, Uint8(f[0]), Uint8(f[1]), Uint8(f[2]), 255);
            SDL_RenderClear(sdl.renderer);
            break;
        case Call::Color: r = f[0], g = f[1], b = f[2]; break;
        case Call::Alpha: a = f[0]; break;
        case Call::Blend:
            blend = f[0] == 1 ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND;
            SDL_SetRenderDrawBlendMode(sdl.renderer, blend);
            break;
        case Call::Scissor: {
            const SDL_Rect clip{int(f[0]), int(f[1]), int(f[2]), int(f[3])};
            const bool whole = clip.x <= 0 && clip.y <= 0 && clip.w >= kWidth && clip.h >= kHeight;
            SDL_RenderSetClipRect(sdl.renderer, whole ? nullptr : &clip);
            break;
        }
        case Call::Matrix: std::memcpy(m, f, sizeof m); break;
        case Call::Rect: {
            const float xy[8] = {f[0], f[1], f[0] + f[2], f[1], f[0] + f[2], f[1] + f[3], f[0], f[1] + f[3]};
            Fan(xy, 4);
            break;
        }
        case Call::Line: {
            const SDL_FPoint p = Map(f[0], f[1]), q = Map(f[2], f[3]);
            SDL_SetRenderDrawColor(sdl.renderer, Uint8(r), Uint8(g), Uint8(b), Uint8(a * 255));
            SDL_RenderDrawLineF(sdl.renderer, p.x, p.y, q.x, q.y);
            break;
        }
        case Call::Oval: Oval(f); break;
        case Call::Poly: Fan(c.verts.data(), static_cast<int>(c.verts.size() / 2)); break;
        case Call::Surface: Image(c); break;
        }
    }
};

// ---- the frames ----------------------------------------------------------------------------------------

struct Bench {
    TestGame& game = LoadedGame("renderer_peer_bench");
    Sdl sdl;
    c_Image* sheet = nullptr;
    std::vector<int> sheetPixels;
    std::vector<Call> playCalls;
    gxtkGraphics* replayDevice = nullptr;

    Bench() {
        UseOurs(game, sdl);   // creating SDL2's renderer made its context current
        EnterBusiestPlayFrame(game);
        playCalls = RecordPlayFrame(game);
        MakeSheet();
        UseSdl(sdl);
        sdl.sheet = sdl.Texture(128, 32, sheetPixels.data());
        for (const Call& c : playCalls) {
            if (!c.surface || sdl.textures.count(c.surface)) continue;
            const std::vector<unsigned char> pixels = Rgba(c.surface);
            sdl.textures[c.surface] = sdl.Texture(c.surface->width, c.surface->height, pixels.data());
        }
        UseOurs(game, sdl);
        gc_root(replayDevice);   // collected objects the bench keeps: reachable from roots of their own
        gc_root(sheet);
        gc_assign(replayDevice, new gxtkGraphics());
    }

    // A surface's pixels as SDL's RGBA texture wants them: grey and grey-alpha sheets (depth 1 and 2)
    // repeat their grey, opaque ones (depth 1 and 3) get full alpha. Already premultiplied, as ours.
    static std::vector<unsigned char> Rgba(const gxtkSurface* s) {
        std::vector<unsigned char> out(size_t(s->width) * s->height * 4, 0x80);
        for (size_t i = 0; s->data && i < size_t(s->width) * s->height; ++i) {
            const unsigned char* p = s->data + i * s->depth;
            const bool grey = s->depth < 3, alpha = s->depth % 2 == 0;
            for (int c = 0; c < 3; ++c) out[4 * i + c] = p[grey ? 0 : c];
            out[4 * i + 3] = alpha ? p[s->depth - 1] : 255;
        }
        return out;
    }

    // The 128 x 32 sheet of graphics_bench: sixteen 16 x 16 frames of half-transparent noise.
    void MakeSheet() {
        gxtkGraphics* d = game.Renderer();
        gxtkSurface* surface = d->CreateSurface(128, 32);
        Array<int> pixels(128 * 32);
        sheetPixels.resize(128 * 32);
        for (int i = 0; i < pixels.Length(); ++i) {
            pixels[i] = static_cast<int>(0x80000000u | (i * 2654435761u >> 8));
            const unsigned p = static_cast<unsigned>(pixels[i]);   // 0xAARRGGBB -> bytes R, G, B, A
            sheetPixels[i] = static_cast<int>((p & 0xff00ff00u) | (p >> 16 & 0xff) | (p & 0xff) << 16);
        }
        d->WritePixels2(surface, pixels, 0, 0, 128, 32, 0, 128);
        gc_assign(sheet, (new c_Image())->m_new()->p_Init2(surface, 0, 0, 16, 16, 16, c_Image::CentreHandle,
                                                            nullptr, 0, 0, 128, 32));
    }
};

void SheetSprite(int i, float* x, float* y) {
    *x = static_cast<float>(i % kWidth);
    *y = static_cast<float>(i / 4 % kHeight);
}

__attribute__((noinline)) void TimedOursSheet(Bench& b) {
    gxtkGraphics* d = b.game.Renderer();
    d->BeginRender();
    zk_graphics_BeginRender();
    d->Cls(0, 0, 0);
    for (int i = 0; i < kDisplayList; ++i) {
        zk_graphics_SetAlpha(0.5f + (i & 1) * 0.5f);
        zk_graphics_SetColor(255, static_cast<float>(i & 255), 128);
        zk_graphics_SetBlend(0);
        float x, y;
        SheetSprite(i, &x, &y);
        zk_graphics_DrawImage2(b.sheet, x, y, static_cast<float>(i), 1.5f, 1.5f, i & 15);
    }
    zk_graphics_EndRender();
    d->EndRender();
}

__attribute__((noinline)) void TimedSdlSheet(Bench& b) {
    SDL_Renderer* r = b.sdl.renderer;
    SDL_Texture* t = b.sdl.sheet;
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    for (int i = 0; i < kDisplayList; ++i) {
        SDL_SetTextureAlphaMod(t, (i & 1) ? 255 : 128);
        SDL_SetTextureColorMod(t, 255, static_cast<Uint8>(i & 255), 128);
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        float x, y;
        SheetSprite(i, &x, &y);
        const SDL_Rect src{(i & 7) * 16, (i & 15) / 8 * 16, 16, 16};
        const SDL_FRect dst{x - 12, y - 12, 24, 24};   // 16 x 16 scaled by 1.5 about its centre
        SDL_RenderCopyExF(r, t, &src, &dst, -static_cast<double>(i), nullptr, SDL_FLIP_NONE);
    }
    SDL_RenderFlush(r);
}

__attribute__((noinline)) void TimedOursPlay(Bench& b) { b.game.host->RenderGame(); }

__attribute__((noinline)) void TimedOursPlayRenderer(Bench& b) {
    gxtkGraphics* d = b.replayDevice;
    d->BeginRender();
    ReplayOurs(d, b.playCalls);
    d->EndRender();
}

__attribute__((noinline)) void TimedSdlPlay(Bench& b) {
    SdlReplay replay{b.sdl};
    SDL_SetRenderDrawBlendMode(b.sdl.renderer, SDL_BLENDMODE_BLEND);
    SDL_RenderSetClipRect(b.sdl.renderer, nullptr);
    for (const Call& c : b.playCalls) replay.Draw(c);
    SDL_RenderFlush(b.sdl.renderer);
}

struct Case {
    const char* name;
    bool sdl;
    const char* stream;
    void (*frame)(Bench&);
};
const Case kCases[] = {
    {"ours", false, "sheet", TimedOursSheet},          {"sdl", true, "sheet", TimedSdlSheet},
    {"ours", false, "play", TimedOursPlay},            {"sdl", true, "play", TimedSdlPlay},
    {"ours", false, "play-renderer", TimedOursPlayRenderer},
};

// Frames of one case, each timed on its own and followed by an untimed glFinish.
void RunBlock(Bench& b, const Case& c, int frames, std::vector<double>* times) {
    using clock = std::chrono::steady_clock;
    if (c.sdl) UseSdl(b.sdl);
    else UseOurs(b.game, b.sdl);
    for (int i = 0; i < frames; ++i) {
        const auto t0 = clock::now();
        c.frame(b);
        const auto t1 = clock::now();
        glFinish();
        if (times) times->push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * (v.size() - 1))];
}

int CommandsOf(const std::vector<Call>& calls) {
    int n = 0;
    for (const Call& c : calls) n += c.kind >= Call::Rect;
    return n;
}

void Table(Bench& b, int frames, int blocks) {
    std::vector<double> times[sizeof kCases / sizeof kCases[0]];
    for (const Case& c : kCases) RunBlock(b, c, 20, nullptr);   // warm-up: textures, caches, driver state
    for (int block = 0; block < blocks; ++block)
        for (size_t k = 0; k < sizeof kCases / sizeof kCases[0]; ++k) RunBlock(b, kCases[k], frames, &times[k]);
    SDL_version v;
    SDL_GetVersion(&v);
    std::printf("SDL2 %d.%d.%d, render driver %s; play frame: %d draw commands, %d draw calls of ours\n",
                v.major, v.minor, v.patch, b.sdl.driver.c_str(), CommandsOf(b.playCalls),
                b.game.Renderer()->drawCalls);
    std::printf("%-14s %-5s %10s %10s %7s\n", "stream", "side", "median_us", "p90_us", "frames");
    for (size_t k = 0; k < sizeof kCases / sizeof kCases[0]; ++k)
        std::printf("%-14s %-5s %10.1f %10.1f %7zu\n", kCases[k].stream, kCases[k].name, Median(times[k]),
                    Percentile(times[k], 0.9), times[k].size());
    const double sheet = Median(times[0]) / Median(times[1]);
    const double play = Median(times[2]) / Median(times[3]);
    const double renderer = Median(times[4]) / Median(times[3]);
    std::printf("renderer_peer sheet ours/sdl2 %.2f (goal <= 0.50: %s)\n", sheet, sheet <= 0.5 ? "met" : "missed");
    std::printf("renderer_peer play ours/sdl2 %.2f (goal <= 0.50: %s)\n", play, play <= 0.5 ? "met" : "missed");
    std::printf("renderer_peer play-renderer-only ours/sdl2 %.2f (goal <= 0.50: %s)\n", renderer,
                renderer <= 0.5 ? "met" : "missed");
}

}  // namespace

int main(int argc, char** argv) {
    Bench& b = *new Bench();
    if (argc == 5 && std::string(argv[1]) == "--one") {
        for (const Case& c : kCases) {
            if (std::string(c.name) != argv[2] || std::string(c.stream) != argv[3]) continue;
            RunBlock(b, c, 5, nullptr);
            CALLGRIND_START_INSTRUMENTATION;   // with --instr-atstart=no, start-up and warm-up run uninstrumented
            RunBlock(b, c, std::atoi(argv[4]), nullptr);
            CALLGRIND_STOP_INSTRUMENTATION;
            return 0;
        }
        std::fprintf(stderr, "renderer_peer_bench: no case %s %s\n", argv[2], argv[3]);
        return 2;
    }
    Table(b, argc > 1 ? std::atoi(argv[1]) : 100, argc > 2 ? std::atoi(argv[2]) : 8);
    return 0;
}
