// host/glfw_game.cpp: ZKGlfwGame's timing and the fixed-rate host loop.
//
// Each pass renders once, sleeps until the next update is due, pumps window events (blocking while the
// game is suspended), follows the window's focus into suspend and resume, then runs 0 to 4 updates.
// The schedule is the time `_nextUpdate` of the next due update; 0.0 means "no schedule", and the next
// pass starts a fresh one from the current time. Resetting it (rate change, suspend, resume, a lag of
// more than four periods) is how the loop drops lag instead of bursting updates.
//
// All platform access goes through the hooks below (Now, SleepFor, PumpEvents, WindowOpen, WindowActive,
// SwapWindowBuffers) so that the scheduling can be driven by a fake clock.
#include <GLFW/glfw3.h>

#include <chrono>
#include <thread>

#include "host/game.h"

ZKGlfwGame* ZKGlfwGame::_glfwGame = nullptr;

// Updates run at most this many times per rendered frame; older lag is dropped so that a slow machine
// slows the game down instead of spiralling into ever longer catch-up runs.
const int kMaxCatchUpUpdates = 4;

ZKGlfwGame::ZKGlfwGame() { _glfwGame = this; }

void ZKGlfwGame::SetUpdateRate(int hertz) {
    _updateRate = hertz;
    if (hertz != 0) _updatePeriod = 1.0 / hertz;
    _nextUpdate = 0.0;   // drop the current schedule; the loop notices and stops its catch-up run
}

// Truncated toward zero, then wrapped to 32 bits (after about 24 days) rather than overflowing.
int ZKGlfwGame::Millisecs() { return static_cast<int>(static_cast<long long>(Now() * 1000.0)); }

#ifndef __EMSCRIPTEN__   // the browser runs the frame itself (host/web.cpp)
void ZKGlfwGame::Run() {
    SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    StartGame();
    while (WindowOpen()) RunPass();
}
#endif

void ZKGlfwGame::RunPass() {
    // 1. Render once.
    RenderGame();
    SwapWindowBuffers();

    // 2. Sleep until the next update is due (never spin).
    if (_nextUpdate != 0.0) {
        double delay = _nextUpdate - Now();
        if (delay > 0) SleepFor(delay);
    }

    // 3. Event pump: every input and close callback runs in here.
    PumpEvents(_suspended);

    if (FollowFocus()) RunUpdates();
}

bool ZKGlfwGame::FollowFocus() {
    // 4. Focus: losing it suspends, regaining it resumes; either way the schedule restarts.
    bool active = WindowActive();
    if (!active && !_suspended) {
        SuspendGame();
        _nextUpdate = 0.0;
    } else if (active && _suspended) {
        ResumeGame();
        _nextUpdate = 0.0;
    }
    return !_suspended;
}

void ZKGlfwGame::RunUpdates() {
    // 5. Rate 0: one update per rendered frame, paced only by the buffer swap.
    if (_updateRate == 0) {
        UpdateGame();
        return;
    }

    // 6.-8. Fixed rate: catch up at most four periods, then drop the rest of the lag.
    if (_nextUpdate == 0.0) _nextUpdate = Now();
    for (int i = 0; i < kMaxCatchUpUpdates; ++i) {
        UpdateGame();
        if (_nextUpdate == 0.0) return;   // the update changed the rate: its schedule starts next pass
        _nextUpdate += _updatePeriod;
        if (_nextUpdate > Now()) return;
    }
    _nextUpdate = 0.0;
}

double ZKGlfwGame::Now() { return glfwGetTime(); }

// A plain sleep: events stay queued for the pump, so input reaches the game only between render and update.
void ZKGlfwGame::SleepFor(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

void ZKGlfwGame::PumpEvents(bool wait) {
    if (wait)
        glfwWaitEvents();
    else
        glfwPollEvents();
}

bool ZKGlfwGame::WindowOpen() { return _window != nullptr; }

#ifndef __EMSCRIPTEN__   // a page's focus is the browser's (host/web.cpp)
bool ZKGlfwGame::WindowActive() {
    return _window && glfwGetWindowAttrib(_window, GLFW_FOCUSED) &&
           !glfwGetWindowAttrib(_window, GLFW_ICONIFIED);
}
#endif

void ZKGlfwGame::SwapWindowBuffers() {
    if (_window) glfwSwapBuffers(_window);
}
