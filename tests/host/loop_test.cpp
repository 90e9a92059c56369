// The host loop's real pass with clock, sleep, pump and focus faked.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/common/collector.h"
#include "tests/host/recorder.h"

struct FakeHost : ZKGlfwGame {
    Log log;
    double now = 1000.0;
    bool active = true;
    double Now() override { return now; }
    void SleepFor(double seconds) override { log.push_back("sleep"), now += seconds; }
    void PumpEvents(bool wait) override { log.push_back(wait ? "wait" : "poll"); }
    bool WindowActive() override { return active; }
    void gc_collect() override { log.push_back("gc"), ZKGame::gc_collect(); }
};

class Loop : public ::testing::Test {
protected:
    Loop() {
        zk_test::StartCollectorOnce();
        delegate = new Recorder(&host.log);   // reachable through the host only, which marks its delegate
        host.SetDelegate(delegate);
    }
    Log pass() {   // without collector steps
        host.log.clear();
        host.RunPass();
        Log log = host.log;
        log.erase(std::remove(log.begin(), log.end(), "gc"), log.end());
        return log;
    }

    FakeHost host;
    Recorder* delegate;
};

// Before a pass the clock moves on by `late`; each update costs `cost` or, with `rate` >= 0, sets that rate.
// A pass without a sleep after the first shows the schedule was dropped, one with a sleep kept.
TEST_F(Loop, UpdatesFollowTheScheduleCatchingUpAtMostFourPeriodsAndStopWithoutTheFocus) {
    const Log fresh{"render", "poll", "update"}, paced{"render", "sleep", "poll", "update"};
    const Log four{"render", "poll", "update", "update", "update", "update"};
    struct Pass { double late, cost; int rate; Log want; bool active = true; };
    struct Case { const char* what; int hertz; std::vector<Pass> passes; } const cases[] = {
        {"updates of six periods: four, lag dropped", 60, {{0, 0.1, -1, four}, {0, 0.1, -1, four}}},
        {"a modest lag caught up and kept", 50,
         {{0, 0, -1, fresh}, {0.07, 0, -1, {"render", "poll", "update", "update", "update"}},
          {0, 0, -1, paced}}},
        {"a rate change stops the catch-up", 60,
         {{0, 0, -1, fresh}, {1.0, 0, 30, fresh}, {0, 0, -1, fresh}, {0, 0, -1, paced}}},
        {"rate 0: one update per render", 0, {{0, 1.0, -1, fresh}, {0, 1.0, -1, fresh}}},
        {"the focus lost for an hour: suspended, the pump blocks; back: one update", 60,
         {{0, 0, -1, fresh}, {0, 0, -1, {"render", "sleep", "poll", "suspend"}, false},
          {3600, 0, -1, {"render", "wait"}, false}, {0, 0, -1, {"render", "wait"}, false},
          {0, 0, -1, {"render", "wait", "resume", "update"}}, {0, 0, -1, paced}}},
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

// An event sent from inside an update (a replaced window's key releases) leaves the step to the update.
TEST_F(Loop, EachForwardedCallIsFollowedByOneCollectorStepButNotOneInsideAnotherAndMillisecsCutTheClock) {
    auto all = [&] {
        host.ResumeGame(), host.UpdateGame(), host.KeyEvent(kEventKeyDown, 65), host.SuspendGame();
        host.SuspendGame(), host.UpdateGame(), host.RenderGame(), host.ResumeGame();
        host.MouseEvent(kEventMouseDown, 1, 2, 3), host.TouchEvent(kEventTouchDown, 4, 5, 6);
        host.MotionEvent(kEventMotionAccel, 7, 0, 0, 0), host.DiscardGraphics(), host.StartGame();
    };
    all();
    EXPECT_EQ(host.log, (Log{"start", "gc"}));
    all();
    EXPECT_EQ(host.log,
              (Log{"start",    "gc", "update",  "gc", "key down 65",      "gc", "suspend",      "gc",
                   "render",   "gc", "resume",  "gc", "mouse down 1 2 3", "gc", "touch down 4", "gc",
                   "motion 7", "gc", "discard", "gc"}));
    host.log.clear();
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
    EXPECT_EQ(host.log, (Log{"update", "key up 65", "gc"}));
    delegate->onUpdate = [] { throw new ThrowableObject(); };   // escaping the game: status -1
#ifdef _WIN32
    EXPECT_EXIT(host.UpdateGame(), ::testing::ExitedWithCode(-1), "");   // Windows keeps the whole code
#else
    EXPECT_EXIT(host.UpdateGame(), ::testing::ExitedWithCode(255), "");
#endif
    const double seconds[][2] = {{0, 0}, {1.9999, 1999}, {1000.25, 1000250}, {2147483.6479, 2147483647}};
    for (auto& s : seconds) {
        host.now = s[0];
        EXPECT_EQ(host.Millisecs(), s[1]) << s[0];
    }
}
