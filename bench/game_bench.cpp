// bench/game_bench.cpp: the game's own per-frame cost: recording a frame into the display list during the
// update, and the render pass replaying it through the graphics module into the renderer's batches
// (submission only: no glFinish, so llvmpipe's rasterising is not counted where the driver defers it).
//
// Needs a display (xvfb-run) and the generated data folder: run it from the build folder,
//   cd build && xvfb-run -a bench/game_bench
// For repeatable instruction counts, see RunFrames below.
// The frame budget at 60 updates per second is 16.7 ms; update plus submission should stay under 2 %
// of it (333 us).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <valgrind/callgrind.h>

#include "harness/game_host.h"

// Allocation counters for the per-screen table. Heap: every malloc, calloc and realloc of the process
// (operator new included, and the OpenGL driver's own), counted by interposing on glibc's allocator.
// Collector: every object and array block, counted by wrapping its two entry points at link time
// (-Wl,--wrap, see game.cmake); calls inside the collector's own file are not wrapped, so none counts twice.
static long g_heapAllocs = 0, g_gcAllocs = 0;
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* malloc(size_t n) {
    ++g_heapAllocs;
    return __libc_malloc(n);
}
void* calloc(size_t n, size_t size) {
    ++g_heapAllocs;
    return __libc_calloc(n, size);
}
void* realloc(void* p, size_t n) {
    ++g_heapAllocs;
    return __libc_realloc(p, n);
}
void* __real__Z15gc_object_alloci(int size);
void* __wrap__Z15gc_object_alloci(int size) {
    ++g_gcAllocs;
    return __real__Z15gc_object_alloci(size);
}
void* __real__ZN9gc_objectnwEm(size_t size);
void* __wrap__ZN9gc_objectnwEm(size_t size) {
    ++g_gcAllocs;
    return __real__ZN9gc_objectnwEm(size);
}
}

namespace {

TestGame& game() { return LoadedGame("game_bench"); }

// A busy play-like frame: 10 lines of HUD text, 60 sprites, 30 rectangles and ovals, recorded and replayed.
void RecordBusyFrame(c_MyApp* app) {
    app->p_CLS2D(20, 60, 120, 1);
    for (int i = 0; i < 60; ++i) {
        app->p_SetRot(static_cast<float>(i * 6));
        app->p_SetSize(1.0f + (i & 3) * 0.25f);
        app->p_DrawImg(2, static_cast<float>(i * 13 % 800), static_cast<float>(i * 7 % 600), i & 7);
    }
    app->p_ResetDraw();
    for (int i = 0; i < 15; ++i) {
        app->p_SetCol(200, 100, 50, 0.5f);
        app->p_Rect(static_cast<float>(i * 40), 500, 30, 20);
        app->p_Oval(static_cast<float>(i * 40 + 15), 480, 8, 8);
    }
    app->p_ResetDraw();
    for (int i = 0; i < 10; ++i)
        app->p_Text(400, static_cast<float>(40 + i * 24), String("SCORE 0012345  TIME 17  PLACE 3rd"), 1, 1);
}

void BM_UpdateAndRecordBusyFrame(benchmark::State& state) {
    TestGame& g = game();
    g.app->m_mode = 1;
    for (auto _ : state) {
        g.host->UpdateGame();
        RecordBusyFrame(g.app);
    }
    state.counters["commands"] = g.app->m_drawCount / 15;
}
BENCHMARK(BM_UpdateAndRecordBusyFrame);

void BM_RenderBusyFrame(benchmark::State& state) {
    TestGame& g = game();
    RecordBusyFrame(g.app);
    for (auto _ : state) g.host->RenderGame();
    gxtkGraphics* device = g.Renderer();
    state.counters["draw_calls"] = device->drawCalls;
}
BENCHMARK(BM_RenderBusyFrame);

void BM_LoadingScreenFrame(benchmark::State& state) {
    TestGame& g = game();
    for (auto _ : state) {
        g.app->p_WaitStart(1);
        g.host->RenderGame();
    }
}
BENCHMARK(BM_LoadingScreenFrame);

// The busiest play frame: a ball waiting with the power meter swinging, four monsters up, a ball and a
// peg bouncing off two of them, a ball splashing into the water with last frame's droplets in flight, 51
// stars and the HUD. The scene is saved once and put back before every frame, so each frame does the same
// work: the bounces, the awards, the splash, its sounds.
struct PlayScene {
    std::vector<float> objects, state, particles, stars, scenery;
    int score = 0;

    static void Save(Array<float> a, int n, std::vector<float>* to) { to->assign(&a[0], &a[0] + n); }
    static void Restore(const std::vector<float>& from, Array<float> a) {
        std::memcpy(&a[0], from.data(), from.size() * sizeof(float));
    }
    explicit PlayScene(c_MyApp* app) {
        app->m_gameType = 1;
        app->m_mode = 11;
        for (int i = 0; i < 80; ++i) game().Frame();   // a ball waits, the meter swings
        for (int r = 0; r <= 200; ++r)   // the monsters that came up on their own make way
            if (app->m_objects[r * 10] == 10) app->m_objects[r * 10] = 0;
        for (int m = 0; m < 4; ++m) Place(app, 150 + m, 10, 250 + 150 * m, 60, 0, 0);
        Place(app, 154, 1, 400, 62, 2, 1);      // a ball about to bounce
        Place(app, 155, 2, 550, 62, -1, 1);     // a peg about to bounce
        Place(app, 156, 1, 320, 32.5f, 1, 3);   // a ball about to splash
        for (int d = 0; d < 9; ++d) app->p_ThrowParticle(200, 560, 3, 9);
        app->m_score = 1234;
        Save(app->m_objects, 2010, &objects);
        Save(app->m_state, 500, &state);
        Save(app->m_particles, 2510, &particles);
        Save(app->m_stars, 1010, &stars);
        Save(app->m_scenery, 110, &scenery);
    }
    static void Place(c_MyApp* app, int r, float kind, float x, float h, float vx, float vy) {
        float* o = &app->m_objects[r * 10];
        for (int e = 0; e < 10; ++e) o[e] = 0;
        o[0] = kind, o[1] = x, o[2] = h, o[3] = vx, o[4] = vy;
    }
    void Restore(c_MyApp* app) const {
        Restore(objects, app->m_objects);
        Restore(state, app->m_state);
        Restore(particles, app->m_particles);
        Restore(stars, app->m_stars);
        Restore(scenery, app->m_scenery);
        app->m_score = app->m_shownScore = 1234;
    }
};

PlayScene& play_scene() {
    static PlayScene scene(game().app);
    return scene;
}

__attribute__((noinline)) void RestorePlayScene(TestGame& g) { play_scene().Restore(g.app); }
__attribute__((noinline)) void UpdatePlayFrame(TestGame& g) { g.host->UpdateGame(); }
__attribute__((noinline)) void RenderPlayFrame(TestGame& g) { g.host->RenderGame(); }

void BM_BusiestPlayFrameUpdate(benchmark::State& state) {
    TestGame& g = game();
    play_scene();
    const int gc_before = gc_new_bytes;
    int frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RestorePlayScene(g);
        state.ResumeTiming();
        UpdatePlayFrame(g);
        ++frames;
    }
    state.counters["commands"] = g.app->m_drawCount / 15;
    state.counters["gc_bytes_per_frame"] = static_cast<double>(gc_new_bytes - gc_before) / frames;
}
BENCHMARK(BM_BusiestPlayFrameUpdate);

void BM_BusiestPlayFrameRender(benchmark::State& state) {
    TestGame& g = game();
    RestorePlayScene(g);
    UpdatePlayFrame(g);
    for (auto _ : state) RenderPlayFrame(g);
    state.counters["draw_calls"] = g.Renderer()->drawCalls;
}
BENCHMARK(BM_BusiestPlayFrameRender);

// A fixed number of whole frames (update with the busy frame's recording, then the render pass), for
// instruction counts that repeat exactly:
//   valgrind --tool=callgrind --toggle-collect='*RunFrames*' bench/game_bench --frames 100
// and divide the total by 100. The renderer's DrawBatch is where llvmpipe does the GPU's work on the CPU.
__attribute__((noinline)) void RunFrames(TestGame& g, int n) {
    for (int i = 0; i < n; ++i) {
        g.host->UpdateGame();
        RecordBusyFrame(g.app);
        g.host->RenderGame();
    }
}

// ---- every screen, frame by frame ---------------------------------------------------------------------
// Each screen is set up through the game's own fields, left to settle for 120 frames (boxes and panels
// slide in), then run frame by frame: the update (with its recording) and the render submission timed
// apart, with the draw calls and the allocations of each frame. Without the untimed glFinish after each
// frame, llvmpipe queues frames until its buffers fill and one submission in a hundred waits for all of
// them (seconds on a loaded machine), which is not what a frame costs behind a buffer swap.
struct Screen {
    const char* name;
    void (*enter)(TestGame&);
    void (*update)(TestGame&);   // one update of this screen
};

void ToTitleMenu(TestGame& g) {
    g.app->m_mode = 1;
    g.app->m_paused = g.app->m_optionsOpen = g.app->m_creditsOpen = 0;
}
void ToOptions(TestGame& g) {
    ToTitleMenu(g);
    g.app->m_optionsOpen = 1;
    g.app->m_optionSel = 0;
}
void ToCredits(TestGame& g) {
    ToTitleMenu(g);
    g.app->m_creditsOpen = 1;
}
void ToPause(TestGame& g) {
    ToTitleMenu(g);
    g.app->m_gameType = 1;
    g.app->m_mode = 11;
    for (int i = 0; i < 80; ++i) g.Frame();
    g.app->m_paused = g.app->m_pauseDir = 1;
}
void ToPlay(TestGame& g) {
    ToTitleMenu(g);
    play_scene();
}
void None(TestGame&) {}
void Update(TestGame& g) { UpdatePlayFrame(g); }
void UpdateLoading(TestGame& g) { g.app->p_WaitStart(1); }
void UpdatePlay(TestGame& g) {
    RestorePlayScene(g);
    UpdatePlayFrame(g);
}

const Screen kScreens[] = {
    {"loading", None, UpdateLoading},  {"title", ToTitleMenu, Update}, {"options", ToOptions, Update},
    {"credits", ToCredits, Update},    {"pause", ToPause, Update},     {"play", ToPlay, UpdatePlay},
};

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * (v.size() - 1))];
}

// One screen's frames for callgrind: --toggle-collect='*MeasuredFrames*' counts exactly these, and the
// inclusive cost of MeasuredUpdate is the updates' share.
__attribute__((noinline)) void MeasuredUpdate(TestGame& g, const Screen& s) { s.update(g); }
__attribute__((noinline)) void MeasuredFrames(TestGame& g, const Screen& s, int n) {
    for (int i = 0; i < n; ++i) {
        MeasuredUpdate(g, s);
        RenderPlayFrame(g);
    }
}

const Screen* Enter(const char* name) {
    TestGame& g = game();
    for (const Screen& s : kScreens) {
        if (std::string(s.name) != name) continue;
        s.enter(g);
        for (int i = 0; i < 120; ++i) MeasuredFrames(g, s, 1);
        return &s;
    }
    std::fprintf(stderr, "game_bench: no screen %s\n", name);
    std::exit(2);
}

// Prints one line per screen: update and render submission CPU times (median and 99th percentile, in
// microseconds), draw calls, collector and heap allocations per frame.
void ScreenTable(int frames) {
    using clock = std::chrono::steady_clock;
    auto us = [](clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); };
    std::printf("%-8s %9s %9s %9s %9s %6s %9s %9s %9s\n", "screen", "upd_med", "upd_p99", "rnd_med", "rnd_p99",
                "calls", "gc/frame", "heap/upd", "heap/rnd");
    for (const Screen& screen : kScreens) {
        TestGame& g = game();
        const Screen& s = *Enter(screen.name);
        std::vector<double> upd, rnd;
        long gc = 0, heapUpd = 0, heapRnd = 0;
        for (int i = 0; i < frames; ++i) {
            const long gc0 = g_gcAllocs, h0 = g_heapAllocs;
            const auto t0 = clock::now();
            s.update(g);
            const auto t1 = clock::now();
            const long h1 = g_heapAllocs;
            RenderPlayFrame(g);
            const auto t2 = clock::now();
            upd.push_back(us(t1 - t0));
            rnd.push_back(us(t2 - t1));
            gc += g_gcAllocs - gc0;
            heapUpd += h1 - h0;
            heapRnd += g_heapAllocs - h1;
            glFinish();   // untimed: each frame's submission starts with the driver idle, as after a swap
        }
        std::printf("%-8s %9.1f %9.1f %9.1f %9.1f %6d %9.2f %9.2f %9.2f\n", s.name, Percentile(upd, 0.5),
                    Percentile(upd, 0.99), Percentile(rnd, 0.5), Percentile(rnd, 0.99),
                    g.Renderer()->drawCalls, double(gc) / frames, double(heapUpd) / frames,
                    double(heapRnd) / frames);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Every screen's frame costs, draw calls and allocations as a table:  bench/game_bench --screens 3000
    // One screen's frames for callgrind (after 120 settling frames, which are not counted):
    //   valgrind --tool=callgrind --toggle-collect='*MeasuredFrames*' bench/game_bench --screen title 50
    if (argc == 3 && std::string(argv[1]) == "--screens") {
        ScreenTable(std::atoi(argv[2]));
        return 0;
    }
    if (argc == 4 && std::string(argv[1]) == "--screen") {
        const Screen* s = Enter(argv[2]);
        CALLGRIND_START_INSTRUMENTATION;   // with --instr-atstart=no, start-up and settling run uninstrumented
        MeasuredFrames(game(), *s, std::atoi(argv[3]));
        CALLGRIND_STOP_INSTRUMENTATION;
        return 0;
    }
    // The busiest play frame, N times over, for callgrind:
    //   valgrind --tool=callgrind --toggle-collect='*UpdatePlayFrame*' bench/game_bench --play-frames 100
    //   valgrind --tool=callgrind --toggle-collect='*RenderPlayFrame*' bench/game_bench --play-frames 100
    if (argc == 3 && std::string(argv[1]) == "--play-frames") {
        TestGame& g = game();
        play_scene();
        const int gc_before = gc_new_bytes, n = std::atoi(argv[2]);
        for (int i = 0; i < n; ++i) {
            RestorePlayScene(g);
            UpdatePlayFrame(g);
            RenderPlayFrame(g);
        }
        std::printf("commands %d, draw calls %d, collector bytes per frame %.1f\n", g.app->m_drawCount / 15,
                    g.Renderer()->drawCalls, double(gc_new_bytes - gc_before) / n);
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--frames") {
        TestGame& g = game();
        g.app->m_mode = 1;
        RunFrames(g, std::atoi(argv[2]));
        return 0;
    }
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    return 0;
}
