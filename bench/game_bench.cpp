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

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/game/test_host.h"

namespace {

struct Game {
    TestHost* host = nullptr;
    c_MyApp* app = nullptr;

    Game() {
        StartTestGame(&host, &app);
        for (int i = 0; i < 40 && app->m_loadStep > 0; ++i) Frame();
        if (!app->m_images[90]) {
            std::fprintf(stderr, "game_bench: run from the build folder (it reads data/)\n");
            std::exit(1);
        }
    }
    void Frame() {
        host->millis += 16;
        host->UpdateGame();
        host->RenderGame();
    }
};

Game& game() {
    static Game g;
    return g;
}

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
    Game& g = game();
    g.app->m_mode = 1;
    for (auto _ : state) {
        g.host->UpdateGame();
        RecordBusyFrame(g.app);
    }
    state.counters["commands"] = g.app->m_drawCount / 15;
}
BENCHMARK(BM_UpdateAndRecordBusyFrame);

void BM_RenderBusyFrame(benchmark::State& state) {
    Game& g = game();
    RecordBusyFrame(g.app);
    for (auto _ : state) g.host->RenderGame();
    gxtkGraphics* device = zk_app__delegate->m__graphics;
    state.counters["draw_calls"] = device->drawCalls;
}
BENCHMARK(BM_RenderBusyFrame);

void BM_LoadingScreenFrame(benchmark::State& state) {
    Game& g = game();
    for (auto _ : state) {
        g.app->p_WaitStart(1);
        g.host->RenderGame();
    }
}
BENCHMARK(BM_LoadingScreenFrame);

// A fixed number of whole frames (update with the busy frame's recording, then the render pass), for
// instruction counts that repeat exactly:
//   valgrind --tool=callgrind --toggle-collect='*RunFrames*' bench/game_bench --frames 100
// and divide the total by 100. The renderer's DrawBatch is where llvmpipe does the GPU's work on the CPU.
__attribute__((noinline)) void RunFrames(Game& g, int n) {
    for (int i = 0; i < n; ++i) {
        g.host->UpdateGame();
        RecordBusyFrame(g.app);
        g.host->RenderGame();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--frames") {
        Game& g = game();
        g.app->m_mode = 1;
        RunFrames(g, std::atoi(argv[2]));
        return 0;
    }
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    return 0;
}
