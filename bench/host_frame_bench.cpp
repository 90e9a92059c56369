// bench/host_frame_bench.cpp: what the real host and framework cost around the game in one frame: a
// render pass and one or four updates (a catch-up pass) through the real GLFW host with a real window, an
// application that draws a rectangle. The game's own work is left out, so what is measured is the
// host's forwarders, the framework's per-call bookkeeping, the collector step after each call, and any
// question the host asks the window system (each one a round trip to the X server).
//
// Needs a display. Run: xvfb-run -a build/bench/host_frame_bench
// Instruction counts and X round trips (Xlib's _XReply, called once per round trip), for 100 frames:
//   valgrind --tool=callgrind --toggle-collect='*RunFrames*' build/bench/host_frame_bench --frames 100 1
#include <benchmark/benchmark.h>

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/app.h"
#include "framework/async_event.h"
#include "framework/audio.h"
#include "framework/graphics.h"
#include "framework/input.h"

namespace {

struct RectApp : c_App {
    int p_OnRender() override {
        zk_graphics_DrawRect(10, 10, 100, 50);
        return 0;
    }
};

ZKGlfwGame* host() {
    static ZKGlfwGame* game = [] {
        if (!glfwInit()) {
            std::fprintf(stderr, "host_frame_bench: no display (run under xvfb-run)\n");
            std::exit(1);
        }
        ZKGlfwGame* g = new ZKGlfwGame();
        gc_init1();
        zk_app_init();
        zk_graphics_init();
        zk_audio_init();
        zk_input_init();
        zk_asyncevent_init();
        gc_mark();
        (new RectApp())->m_new();
        g->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        g->StartGame();
        return g;
    }();
    return game;
}

__attribute__((noinline)) void RunFrames(ZKGlfwGame* game, int frames, int updates) {
    for (int f = 0; f < frames; ++f) {
        game->RenderGame();
        for (int u = 0; u < updates; ++u) game->UpdateGame();
    }
}

// The first frames compile the renderer's pipeline in the driver; callgrind counts only what follows.
__attribute__((noinline)) void Warm(ZKGlfwGame* game) {
    for (int f = 0; f < 10; ++f) {
        game->RenderGame();
        game->UpdateGame();
    }
}

void BM_HostFrame(benchmark::State& state) {
    ZKGlfwGame* game = host();
    for (auto _ : state) RunFrames(game, 1, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_HostFrame)->Arg(1)->Arg(4);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--frames") {
        Warm(host());
        RunFrames(host(), std::atoi(argv[2]), std::atoi(argv[3]));
        return 0;
    }
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    return 0;
}
