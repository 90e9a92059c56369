// bench/startup_bench.cpp: start-up, loading and the start of a game, timed through the harness.
//
// One process per window size (the art scale follows it: 600 x 450 plain art, 800 x 600 "-hd", 1280 x 960
// "-hd2"). The program's start-up sequence runs as in main (the collector, the modules, the application,
// the delegate's start) with a hidden GLFW window, then the first render; then updates and renders run
// back to back (no waiting for the 60 Hz tick) until loading ends; then the menu is driven to start a
// 10-second game (Enter), timing each update.
// Figures, one line each:
//   since exec: wall time from the process's start (its start time in /proc, 10 ms steps) to main, to
//     the end of the first render, and to the end of loading (without the 26 ticks' waiting: the real
//     loop adds at least 25/60 s, one update per tick);
//   the loading updates' CPU time, and the longest;
//   resident memory (VmRSS) after loading, and its peak (VmHWM);
//   the longest update at the start of a game, and which one (the tune is decoded whole there), CPU time.
// Run: cd build && xvfb-run -a -s "-screen 0 1920x1080x24" env ALSOFT_DRIVERS=null bench/startup_bench W H
//   [notune: sound mode 2 (effects only) for the game start, to tell the tune's share of its longest update]
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "harness/game_host.h"

namespace {

double NowS(clockid_t clock) {
    timespec t;
    clock_gettime(clock, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}
double CpuMs() { return NowS(CLOCK_THREAD_CPUTIME_ID) * 1e3; }

// Seconds since boot at which this process started (field 22 of /proc/self/stat, in clock ticks).
double ProcessStartS() {
    std::ifstream f("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::istringstream rest(stat.substr(stat.rfind(')') + 2));   // past the command name
    std::string field;
    for (int i = 3; i <= 22 && rest >> field; ++i) {}
    return std::atof(field.c_str()) / sysconf(_SC_CLK_TCK);
}

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long StatusKb(const char* name) {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(name, 0) == 0) return std::atol(line.c_str() + std::strlen(name) + 1);
    return -1;
}

// The game's frame as the host loop runs it, its update timed: the clock's step, an update, a render, a swap.
struct TimedFrames {
    TestGame& game;
    double lastUpdateMs = 0;

    void Frame() {
        const double a = CpuMs();
        game.Update();
        lastUpdateMs = CpuMs() - a;
        game.host->RenderGame();
        glfwSwapBuffers(game.window);
    }
    void Key(int key) {
        game.Key(key, [this] { Frame(); });
    }
};

}  // namespace

int main(int argc, char** argv) {
    const double mainS = NowS(CLOCK_BOOTTIME);
    const double execS = ProcessStartS();
    const int width = argc > 2 ? std::atoi(argv[1]) : 800, height = argc > 2 ? std::atoi(argv[2]) : 600;

    // Start-up as the program does it, with the window size set before the game reads it.
    TestGame game(width, height, "startup bench");
    glfwSwapBuffers(game.window);
    const double firstFrameS = NowS(CLOCK_BOOTTIME);
    game.RequireData("startup_bench");
    TimedFrames timed{game};

    double loadMs = 0, loadMaxMs = 0;
    int updates = 0;
    while (game.app->m_loadStep > 0 && updates < TestGame::kLoadFrames) {
        timed.Frame();
        ++updates;
        loadMs += timed.lastUpdateMs;
        loadMaxMs = std::max(loadMaxMs, timed.lastUpdateMs);
    }
    const double loadedS = NowS(CLOCK_BOOTTIME);
    const long rssKb = StatusKb("VmRSS"), hwmKb = StatusKb("VmHWM");

    // Settle on the menu, then Enter on the first game type (a 30-second game, tune "30").
    for (int i = 0; i < 120; ++i) timed.Frame();
    while (game.app->m_menuSel != 1) timed.Key(game.app->m_menuSel < 1 ? 39 : 37);
    if (argc > 3 && std::string(argv[3]) == "notune") game.app->m_options[5] = 2;   // effects only: no tune
    double startMaxMs = 0;
    int startMaxAt = 0;
    game.host->KeyEvent(kEventKeyDown, 13);
    for (int i = 0; i < 120; ++i) {
        if (i == 1) game.host->KeyEvent(kEventKeyUp, 13);
        timed.Frame();
        if (timed.lastUpdateMs > startMaxMs) startMaxMs = timed.lastUpdateMs, startMaxAt = i;
    }

    std::printf("startup %dx%d art scale %d\n", width, height, game.app->m_hdScale);
    std::printf("startup since exec: main %.0f ms, first frame %.0f ms, end of loading %.0f ms "
                "(%d updates back to back; the real loop waits at least 25/60 s more)\n",
                (mainS - execS) * 1e3, (firstFrameS - execS) * 1e3, (loadedS - execS) * 1e3, updates);
    std::printf("startup loading updates CPU %.1f ms in all, longest %.1f ms\n", loadMs, loadMaxMs);
    std::printf("startup resident after loading %.1f MiB (peak %.1f MiB)\n", rssKb / 1024.0, hwmKb / 1024.0);
    std::printf("startup game start: longest update %.1f ms CPU (update %d after Enter; mode now %d)\n",
                startMaxMs, startMaxAt, game.app->m_mode);
    std::fflush(stdout);
    std::_Exit(0);
}
