// The real host under Xvfb driven by real X input events (xdotool), as host_probe prints what reaches it.
// The window's title, size and place and its close button: tests/game/window_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "tests/host/process.h"

namespace {

const char* const kTitle = "Grubnik in Tolvane Golf";
using Lines = std::vector<std::string>;

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        // A busy X server now and then refuses a new connection; that is retried, nothing else is.
        for (int attempt = 0; attempt < 3; ++attempt) {
            probe.reset(new ChildProcess(PROBE_PATH, BUILD_DIR));
            if (probe->WaitFor("start") || !probe->Count("Failed to open display")) break;
        }
        ASSERT_TRUE(probe->Count("start")) << probe->Transcript() << "exit " << probe->WaitExit(0.5);
        window = Shell(std::string("xdotool search --sync --name '") + kTitle + "' | head -1");
        ASSERT_FALSE(window.empty());
        // Xvfb has no window manager: focus follows the pointer. A marker key's hit shows updates run.
        Shell("xdotool mousemove --window " + window + " 320 240");   // no --sync: it may be there already
        Shell("xdotool windowfocus --sync " + window);
        probe->Mark();
        Shell("xdotool key z");
        ASSERT_TRUE(probe->WaitFor("hit 90 1")) << probe->Transcript();
        ASSERT_TRUE(probe->WaitFor("key up 90")) << probe->Transcript();
        probe->Drain(0.1);
        probe->Mark();
    }

    std::unique_ptr<ChildProcess> probe;
    std::string window;
};

// Presses and characters arrive in order (releases in the X server's order), and the update sees each
// key's hit and character; Alt translates to nothing, so no event of it arrives between the others.
// Mouse buttons come with their place in window pixels; losing the focus suspends, regaining it resumes.
TEST_F(Window, KeysMouseButtonsAndTheFocusArriveAsTheGameSeesThem) {
    Shell("xdotool key a shift+apostrophe Left Delete Alt_L BackSpace");
    ASSERT_TRUE(probe->WaitFor("typed 8"));
    Lines events, typed;
    for (const std::string& l : probe->LinesSinceMark()) {
        if (l.rfind("key", 0) == 0 && l.rfind("key up", 0) != 0) events.push_back(l);
        if (l.rfind("typed", 0) == 0) typed.push_back(l);
    }
    EXPECT_EQ(events, (Lines{"key down 65", "key char 97", "key down 16", "key down 222", "key char 34",
                             "key down 37", "key char 65573", "key down 46", "key char 127", "key down 8",
                             "key char 8"}));
    EXPECT_EQ(typed, (Lines{"typed 97", "typed 34", "typed 65573", "typed 127", "typed 8"}));
    EXPECT_EQ(probe->Count("hit 65 1"), 1);

    Shell("xdotool mousemove --window " + window + " --sync 60 40 click 1");
    EXPECT_TRUE(probe->WaitFor("mouse down 0 60 40"));
    EXPECT_TRUE(probe->WaitFor("hit 1 1"));
    Shell("xdotool windowfocus --sync $(xwininfo -root | awk '/Window id/{print $4}')");
    ASSERT_TRUE(probe->WaitFor("suspend"));
    Shell("xdotool windowfocus --sync " + window);
    ASSERT_TRUE(probe->WaitFor("resume"));
    Shell("xdotool key q");
    EXPECT_TRUE(probe->WaitFor("hit 81 1"));   // updates run again
}

TEST_F(Window, AHeldFunctionKeyRepeatsItsPressWithoutAddingHits) {
    Shell("xdotool keydown F1");
    for (int i = 0; i < 200 && probe->Count("key down 112") < 3; ++i) probe->Drain(0.05);
    Shell("xdotool keyup F1");
    ASSERT_GE(probe->Count("key down 112"), 3) << "the X server did not repeat the held key";
    ASSERT_TRUE(probe->WaitFor("hit 112"));
    probe->Drain(0.3);
    EXPECT_EQ(probe->Count("hit 112"), 1);
    EXPECT_EQ(probe->Count("key char 112"), 0);
}

TEST_F(Window, AKeyHeldWhileTheWindowIsReplacedIsReleasedFirst) {
    Shell("xdotool keydown b");
    ASSERT_TRUE(probe->WaitFor("key down 66"));
    probe->Mark();
    Shell("xdotool key F11");
    ASSERT_TRUE(probe->WaitFor("window seq 2"));
    Shell("xdotool keyup b");
    std::vector<std::string> lines = probe->LinesSinceMark();
    auto hit = std::find(lines.begin(), lines.end(), "hit 122 1");
    ASSERT_LT(hit + 1, lines.end());
    EXPECT_EQ(hit[1], "key up 66");   // released by the update, before the old window went away
}

}  // namespace
