// The host loop's scheduling and the guarded forwarders, driven by a fake clock: the real ZKGlfwGame
// pass with its platform hooks (clock, sleep, event pump, focus, window) replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "host/game.h"
#include "tests/common/collector.h"

namespace {

using Log = std::vector<std::string>;

Log without_gc(Log log) {
    log.erase(std::remove(log.begin(), log.end(), "gc"), log.end());
    return log;
}

// Records what the host forwards, in order; an update can cost fake time or run a hook.
struct RecDelegate : ZKGameDelegate {
    Log* log = nullptr;
    std::function<void()> onUpdate;
    void StartGame() override { log->push_back("start"); }
    void SuspendGame() override { log->push_back("suspend"); }
    void ResumeGame() override { log->push_back("resume"); }
    void UpdateGame() override { log->push_back("update"), onUpdate ? onUpdate() : void(); }
    void RenderGame() override { log->push_back("render"); }
    void KeyEvent(int, int) override { log->push_back("key"); }
    void MouseEvent(int, int, float, float) override { log->push_back("mouse"); }
    void TouchEvent(int, int, float, float) override { log->push_back("touch"); }
    void MotionEvent(int, int, float, float, float) override { log->push_back("motion"); }
    void DiscardGraphics() override { log->push_back("discard"); }
};

// The real pass on a fake clock; "sleep" advances it, "wait" and "poll" are the pump.
struct FakeHost : ZKGlfwGame {
    Log log;
    double now = 1000.0;
    bool active = true;
    std::function<void()> onPump;
    double Now() override { return now; }
    void SleepFor(double seconds) override { log.push_back("sleep"), now += seconds; }
    void PumpEvents(bool wait) override { log.push_back(wait ? "wait" : "poll"), onPump ? onPump() : void(); }
    bool WindowOpen() override { return true; }
    bool WindowActive() override { return active; }
    void SwapWindowBuffers() override {}
    void SetGlfwWindow(int, int, int, int, int, int, int, int, bool) override {}
    void gc_collect() override { log.push_back("gc"), ZKGame::gc_collect(); }
    double nextUpdate() const { return _nextUpdate; }
};

class Loop : public ::testing::Test {
protected:
    Loop() {
        zk_test::StartCollectorOnce();
        delegate = new RecDelegate();
        delegate->log = &host.log;   // reachable through the host, which marks its delegate
        host.SetDelegate(delegate);
    }
    // Starts the game and forgets what that logged.
    void start(int hertz) {
        host.StartGame();
        host.SetUpdateRate(hertz);
        host.log.clear();
    }
    Log pass() {   // one pass, logged without collector steps
        host.log.clear();
        host.RunPass();
        return without_gc(host.log);
    }

    FakeHost host;
    RecDelegate* delegate;
};

TEST_F(Loop, FastMachineRendersSleepsAndRunsOneUpdatePerPass) {
    start(60);
    EXPECT_EQ(pass(), (Log{"render", "poll", "update"}));   // the first pass starts the schedule
    for (int i = 0; i < 5; ++i) EXPECT_EQ(pass(), (Log{"render", "sleep", "poll", "update"}));
}

TEST_F(Loop, SlowUpdatesCatchUpFourTimesThenDropTheLag) {
    start(60);
    delegate->onUpdate = [&] { host.now += 0.1; };   // each update takes six periods
    EXPECT_EQ(pass(), (Log{"render", "poll", "update", "update", "update", "update"}));
    EXPECT_EQ(host.nextUpdate(), 0.0);   // the lag is gone: the next pass starts a fresh schedule
    EXPECT_EQ(pass(), (Log{"render", "poll", "update", "update", "update", "update"}));
}

TEST_F(Loop, ModestLagIsCaughtUpWithoutDropping) {
    start(50);
    pass();
    host.now += 0.07;   // the updates due at +0.02, +0.04 and +0.06 are late
    EXPECT_EQ(pass(), (Log{"render", "poll", "update", "update", "update"}));
    EXPECT_NE(host.nextUpdate(), 0.0);
}

TEST_F(Loop, RateChangeInsideAnUpdateStopsTheCatchUpAndRestartsTheSchedule) {
    start(60);
    pass();
    host.now += 1.0;   // far behind: this pass would run four updates
    delegate->onUpdate = [&] { host.SetUpdateRate(30); };
    EXPECT_EQ(pass(), (Log{"render", "poll", "update"}));
    EXPECT_EQ(host.nextUpdate(), 0.0);
    delegate->onUpdate = nullptr;
    EXPECT_EQ(pass(), (Log{"render", "poll", "update"}));   // timing starts from now, no sleep
    EXPECT_EQ(pass(), (Log{"render", "sleep", "poll", "update"}));
}

TEST_F(Loop, RateZeroRunsOneUpdatePerRenderWithoutSleeping) {
    start(0);
    delegate->onUpdate = [&] { host.now += 1.0; };
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pass(), (Log{"render", "poll", "update"}));
}

TEST_F(Loop, FocusLossSuspendsAndResumingStartsAFreshSchedule) {
    start(60);
    pass();
    pass();
    host.active = false;
    EXPECT_EQ(pass(), (Log{"render", "sleep", "poll", "suspend"}));
    EXPECT_TRUE(host.Suspended());
    // While suspended: renders go on, the pump blocks, no update runs.
    host.now += 3600.0;
    EXPECT_EQ(pass(), (Log{"render", "wait"}));
    EXPECT_EQ(pass(), (Log{"render", "wait"}));
    // Focus returns after an hour: one update, not a burst to catch up.
    host.onPump = [&] { host.active = true; };
    EXPECT_EQ(pass(), (Log{"render", "wait", "resume", "update"}));
    host.onPump = nullptr;
    EXPECT_EQ(pass(), (Log{"render", "sleep", "poll", "update"}));
}

TEST_F(Loop, RunStartsTheGameAndRendersTheFirstFrameBeforeAnyUpdate) {
    host.SetUpdateRate(25);
    host.now = 12.3456;
    EXPECT_EQ(host.Millisecs(), 12345);
    struct Once : FakeHost {
        int passes = 1;
        bool WindowOpen() override { return passes-- > 0; }
    } once;
    RecDelegate* d = new RecDelegate();
    d->log = &once.log;
    once.SetDelegate(d);
    once.Run();
    EXPECT_EQ(without_gc(once.log), (Log{"start", "render", "poll", "update"}));
}

// Before the start nothing is forwarded; after it each call is followed by one collector step, and the
// guards refuse a second start, a resume while not suspended, and updates while suspended.
TEST_F(Loop, EachForwardedCallIsFollowedByOneCollectorStep) {
    auto all = [&] {
        host.UpdateGame(), host.RenderGame(), host.KeyEvent(kEventKeyDown, 65);
        host.MouseEvent(kEventMouseMove, -1, 1, 2), host.TouchEvent(kEventTouchDown, 0, 1, 2);
        host.MotionEvent(kEventMotionAccel, 0, 1, 2, 3), host.DiscardGraphics();
    };
    all();
    host.SuspendGame();
    host.ResumeGame();
    EXPECT_TRUE(host.log.empty());
    host.StartGame();
    host.StartGame();
    all();
    host.ResumeGame();
    host.SuspendGame();
    host.SuspendGame();
    host.UpdateGame();
    host.RenderGame();   // renders go on while suspended
    host.ResumeGame();
    EXPECT_EQ(host.log, (Log{"start", "gc", "update", "gc", "render", "gc", "key", "gc", "mouse", "gc",
                             "touch", "gc", "motion", "gc", "discard", "gc", "suspend", "gc", "render",
                             "gc", "resume", "gc"}));
}

TEST_F(Loop, AnEventSentFromInsideAnUpdateLeavesTheCollectorStepToTheUpdate) {
    host.StartGame();
    host.log.clear();
    // As a window replaced during an update releases the keys held in the old window.
    delegate->onUpdate = [&] { host.KeyEvent(kEventKeyUp, 65); };
    host.UpdateGame();
    EXPECT_EQ(host.log, (Log{"update", "key", "gc"}));
    delegate->onUpdate = nullptr;
    host.KeyEvent(kEventKeyUp, 65);   // from the event pump again: its own step
    EXPECT_EQ(host.log, (Log{"update", "key", "gc", "key", "gc"}));
}

// A collected object that only a local variable of the game refers to.
struct Scratch : Object {
    int value = 7;
};

TEST_F(Loop, AnObjectHeldOnlyByTheUpdateSurvivesAnEventSentFromInsideIt) {
    host.StartGame();
    gc_stress = true;   // every collector step completes a cycle: an unreached object would be swept
    Scratch* local = nullptr;
    bool swept = true;
    delegate->onUpdate = [&] {
        local = new Scratch();
        host.KeyEvent(kEventKeyUp, 65);
        swept = zk_test::OnFreeList(local);
    };
    host.UpdateGame();
    gc_stress = false;
    EXPECT_FALSE(swept);
}

TEST_F(Loop, AThrowableEscapingTheGameEndsTheProgramWithStatusMinusOne) {
    host.StartGame();
    delegate->onUpdate = [] { throw new ThrowableObject(); };
    EXPECT_EXIT(host.UpdateGame(), ::testing::ExitedWithCode(255), "");
}

}  // namespace
