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

// Records what the host forwards, in order; an update can run a hook.
struct RecDelegate : ZKGameDelegate {
    Log* log = nullptr;
    std::function<void()> onUpdate;
    void StartGame() override { log->push_back("start"); }
    void SuspendGame() override { log->push_back("suspend"); }
    void ResumeGame() override { log->push_back("resume"); }
    void UpdateGame() override { log->push_back("update"), onUpdate ? onUpdate() : void(); }
    void RenderGame() override { log->push_back("render"); }
    void KeyEvent(int, int) override { log->push_back("key"); }
};

// The real pass on a fake clock; "sleep" advances it, "wait" and "poll" are the pump.
struct FakeHost : ZKGlfwGame {
    Log log;
    double now = 1000.0;
    bool active = true;
    double Now() override { return now; }
    void SleepFor(double seconds) override { log.push_back("sleep"), now += seconds; }
    void PumpEvents(bool wait) override { log.push_back(wait ? "wait" : "poll"); }
    bool WindowOpen() override { return true; }
    bool WindowActive() override { return active; }
    void SwapWindowBuffers() override {}
    void SetGlfwWindow(int, int, int, int, int, int, int, int, bool) override {}
    void gc_collect() override { log.push_back("gc"), ZKGame::gc_collect(); }
};

class Loop : public ::testing::Test {
protected:
    Loop() {
        zk_test::StartCollectorOnce();
        delegate = new RecDelegate();
        delegate->log = &host.log;   // reachable through the host, which marks its delegate
        host.SetDelegate(delegate);
    }
    void start(int hertz) {   // starts the game and forgets what that logged
        host.StartGame();
        host.SetUpdateRate(hertz);
        host.log.clear();
    }
    Log pass() {   // one pass, logged without collector steps
        host.log.clear();
        host.RunPass();
        Log log = host.log;
        log.erase(std::remove(log.begin(), log.end(), "gc"), log.end());
        return log;
    }

    FakeHost host;
    RecDelegate* delegate;
};

// Each case: the rate, then passes; before a pass the clock moves on by `late` and the window has the focus
// or not, and each of its updates costs `cost` seconds or, with `rate` >= 0, sets that update rate. A
// pass with no sleep after a first one shows the schedule was dropped; a sleep shows it was kept.
TEST_F(Loop, UpdatesFollowTheScheduleCatchingUpAtMostFourPeriodsAndStopWithoutTheFocus) {
    const Log fresh{"render", "poll", "update"}, paced{"render", "sleep", "poll", "update"};
    const Log four{"render", "poll", "update", "update", "update", "update"};
    struct Pass { double late, cost; int rate; Log want; bool active = true; };
    struct Case { const char* what; int hertz; std::vector<Pass> passes; } const cases[] = {
        {"a fast machine", 60, {{0, 0, -1, fresh}, {0, 0, -1, paced}, {0, 0, -1, paced}}},
        {"updates of six periods: four, lag dropped", 60, {{0, 0.1, -1, four}, {0, 0.1, -1, four}}},
        {"a modest lag caught up and kept", 50,
         {{0, 0, -1, fresh}, {0.07, 0, -1, {"render", "poll", "update", "update", "update"}}, {0, 0, -1, paced}}},
        {"a rate change stops the catch-up", 60,
         {{0, 0, -1, fresh}, {1.0, 0, 30, fresh}, {0, 0, -1, fresh}, {0, 0, -1, paced}}},
        {"rate 0: one update per render", 0, {{0, 1.0, -1, fresh}, {0, 1.0, -1, fresh}}},
        {"the focus lost for an hour: suspended, the pump blocks; back: one update", 60,
         {{0, 0, -1, fresh}, {0, 0, -1, {"render", "sleep", "poll", "suspend"}, false},
          {3600, 0, -1, {"render", "wait"}, false}, {0, 0, -1, {"render", "wait", "resume", "update"}},
          {0, 0, -1, paced}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.SetUpdateRate(c.hertz);
        host.StartGame();
        for (const Pass& p : c.passes) {
            host.now += p.late;
            host.active = p.active;
            delegate->onUpdate = [&] { p.rate >= 0 ? host.SetUpdateRate(p.rate) : void(host.now += p.cost); };
            EXPECT_EQ(pass(), p.want);
        }
        host.SetUpdateRate(c.hertz);   // drops the schedule before the next case
    }
}

// Before the start nothing is forwarded; after it each call is followed by one collector step, and the
// guards refuse a second start, a resume while not suspended, and updates while suspended.
TEST_F(Loop, EachForwardedCallIsFollowedByOneCollectorStep) {
    auto all = [&] {
        host.UpdateGame(), host.RenderGame(), host.KeyEvent(kEventKeyDown, 65);
        host.MouseEvent(kEventMouseMove, -1, 1, 2), host.TouchEvent(kEventTouchDown, 0, 1, 2);
        host.MotionEvent(kEventMotionAccel, 0, 1, 2, 3), host.DiscardGraphics();
        host.ResumeGame(), host.SuspendGame(), host.SuspendGame(), host.UpdateGame(), host.RenderGame();
        host.ResumeGame();
    };
    all();
    EXPECT_TRUE(host.log.empty());
    host.StartGame();
    host.StartGame();
    all();
    EXPECT_EQ(host.log, (Log{"start", "gc", "update", "gc", "render", "gc", "key", "gc", "gc", "gc", "gc", "gc",
                             "suspend", "gc", "render", "gc", "resume", "gc"}));
}

// An event sent from inside an update (a window replaced during it releases the held keys) leaves the
// collector step to the update: an object only the update holds survives it.
TEST_F(Loop, AnEventSentFromInsideAnUpdateLeavesTheCollectorStepToTheUpdate) {
    start(60);
    gc_stress = true;   // every collector step completes a cycle: an unreached object would be swept
    bool swept = true;
    delegate->onUpdate = [&] {
        Object* local = new Object();   // only this local variable refers to it
        host.KeyEvent(kEventKeyUp, 65);
        swept = zk_test::OnFreeList(local);
    };
    host.UpdateGame();
    gc_stress = false;
    EXPECT_FALSE(swept);
    EXPECT_EQ(host.log, (Log{"update", "key", "gc"}));
}

TEST_F(Loop, AThrowableEscapingTheGameEndsTheProgramWithStatusMinusOne) {
    host.StartGame();
    delegate->onUpdate = [] { throw new ThrowableObject(); };
    EXPECT_EXIT(host.UpdateGame(), ::testing::ExitedWithCode(255), "");
}

}  // namespace
