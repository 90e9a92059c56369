// The real host in a real window under Xvfb, driven by real X input events (xdotool): the window's
// title, size and place, keys and characters as the game sees them, key repeat, a key held across a
// window replacement, focus suspension and the close button. The game is host_probe, which prints one
// line per event that reaches it (see probe_main.cpp).
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdio>
#include <memory>
#include <string>

#include "tests/common/x_screen.h"
#include "tests/host/process.h"

namespace {

const char* const kTitle = "Grubnik in Tolvane Golf";

// The top-left corner of a 640 x 480 window centred on the screen, as "x y".
std::string CentredCorner() {
    zk_test::ScreenSize screen = zk_test::XScreenSize();
    return std::to_string((screen.width - 640) / 2) + " " + std::to_string((screen.height - 480) / 2);
}

// The "x y" of a window's top-left corner, from xwininfo's report of the window.
std::string Corner(const std::string& info) {
    int x = -1, y = -1;
    size_t at = info.find("Absolute upper-left X:");
    if (at != std::string::npos)
        std::sscanf(info.c_str() + at, "Absolute upper-left X: %d Absolute upper-left Y: %d", &x, &y);
    return std::to_string(x) + " " + std::to_string(y);
}

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        // A busy X server now and then refuses a new connection; that is retried, nothing else is.
        for (int attempt = 0; attempt < 3; ++attempt) {
            probe.reset(new ChildProcess(PROBE_PATH, BUILD_DIR));
            ASSERT_TRUE(probe->started());
            if (probe->WaitFor("start") || !probe->Count("Failed to open display")) break;
        }
        ASSERT_TRUE(probe->Count("start")) << probe->Transcript() << "exit " << probe->WaitExit(0.5);
        window = Shell(std::string("xdotool search --sync --name '") + kTitle + "' | head -1");
        ASSERT_FALSE(window.empty());
        Focus();
    }

    // Xvfb has no window manager: focus follows the pointer, so move it in and then focus.
    void Focus() {
        Shell("xdotool mousemove --window " + window + " 320 240");   // no --sync: it may be there already
        Shell("xdotool windowfocus --sync " + window);
        probe->Mark();
        Type("z");   // a marker key: once its hit is seen, the window has focus and updates run
        ASSERT_TRUE(probe->WaitFor("hit 90 1")) << probe->Transcript();
        ASSERT_TRUE(probe->WaitFor("key up 90")) << probe->Transcript();
        probe->Drain(0.1);
        probe->Mark();
    }

    void Type(const std::string& keys) { Shell("xdotool key " + keys); }

    // Lines from the one containing `from` (exclusive) to the end.
    std::vector<std::string> LinesAfter(const std::string& from) {
        std::vector<std::string> out;
        bool on = false;
        for (const std::string& l : probe->lines()) {
            if (on) out.push_back(l);
            if (l.find(from) != std::string::npos) on = true, out.clear();
        }
        return out;
    }

    std::unique_ptr<ChildProcess> probe;
    std::string window;
};

TEST_F(Window, OpensTitledSixFortyByFourEightyCentredOnTheDesktop) {
    std::string info = Shell("xwininfo -id " + window);
    EXPECT_NE(info.find(std::string("\"") + kTitle + "\""), std::string::npos) << info;
    EXPECT_EQ(Corner(info), CentredCorner()) << info;
    EXPECT_NE(info.find("Width: 640"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 480"), std::string::npos) << info;
    EXPECT_EQ(probe->lines().front(), "start 640x480 seq 1");
}

TEST_F(Window, KeysArriveAsWindowsKeyCodesWithHitsAndCharacters) {
    // Host events keep their order; the update that reports the hit may come before or after the release.
    Type("a");
    ASSERT_TRUE(probe->WaitFor("typed 97"));
    probe->Drain(0.2);
    std::vector<std::string> events, update;
    for (const std::string& l : probe->LinesSinceMark())
        (l.rfind("key", 0) == 0 ? events : update).push_back(l);
    EXPECT_EQ(events, (std::vector<std::string>{"key down 65", "key char 97", "key up 65"}));
    EXPECT_EQ(update, (std::vector<std::string>{"hit 65 1", "typed 97"}));

    Type("shift+apostrophe shift+grave Left Delete BackSpace");
    ASSERT_TRUE(probe->WaitFor("key up 8"));
    probe->Drain(0.3);
    EXPECT_EQ(probe->Count("key down 16"), 2);   // shift, held for both
    for (const char* want : {"key down 222", "key char 34", "key down 192", "key char 126",
                             "key down 37", "key char 65573", "key down 46", "key char 127", "key down 8",
                             "key char 8"})
        EXPECT_EQ(probe->Count(want), 1) << want;

    // Alt translates to nothing: between the two markers only the marker's own events arrive.
    Type("x Alt_L Alt_R y");
    ASSERT_TRUE(probe->WaitFor("hit 89 1"));
    std::vector<std::string> after = LinesAfter("key up 88");
    ASSERT_FALSE(after.empty());
    int pos = 0;
    auto in_update = [](const std::string& l) { return l.rfind("hit", 0) == 0 || l.rfind("typed", 0) == 0; };
    while (pos < static_cast<int>(after.size()) && in_update(after[pos])) ++pos;   // x's hit and character
    ASSERT_LT(pos, static_cast<int>(after.size()));
    EXPECT_EQ(after[pos], "key down 89");
}

TEST_F(Window, AHeldFunctionKeyRepeatsItsPressWithoutAddingHits) {
    Shell("xdotool keydown F1");
    bool repeated = false;
    for (int i = 0; i < 200 && !repeated; ++i) {
        probe->Drain(0.05);
        repeated = probe->Count("key down 112") >= 3;
    }
    Shell("xdotool keyup F1");
    ASSERT_TRUE(repeated) << "the X server did not repeat the held key";
    ASSERT_TRUE(probe->WaitFor("key up 112"));
    ASSERT_TRUE(probe->WaitFor("hit 112"));
    probe->Drain(0.3);
    EXPECT_EQ(probe->Count("hit 112"), 1);
    EXPECT_EQ(probe->Count("key char 112"), 0);
}

TEST_F(Window, AKeyHeldWhileTheWindowIsReplacedIsReleasedFirst) {
    Shell("xdotool keydown b");
    ASSERT_TRUE(probe->WaitFor("key down 66"));
    Type("F11");
    ASSERT_TRUE(probe->WaitFor("window seq 2"));
    Shell("xdotool keyup b");
    std::vector<std::string> after = LinesAfter("hit 122 1");
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.front(), "key up 66");   // released before the old window went away
    EXPECT_EQ(after.back(), "window seq 2");
    // The new window is titled and placed like the first.
    std::string info = Shell(std::string("xwininfo -name '") + kTitle + "'");
    EXPECT_EQ(Corner(info), CentredCorner()) << info;
}

TEST_F(Window, LosingFocusSuspendsAndRegainingItResumes) {
    std::string root = Shell("xwininfo -root | awk '/Window id/{print $4}'");
    Shell("xdotool windowfocus --sync " + root);
    ASSERT_TRUE(probe->WaitFor("suspend"));
    Shell("xdotool windowfocus --sync " + window);
    ASSERT_TRUE(probe->WaitFor("resume"));
    Type("q");
    EXPECT_TRUE(probe->WaitFor("hit 81 1"));   // updates run again
}

TEST_F(Window, TheCloseButtonBecomesTheCloseKeyAndEndsTheProgramWithStatusZero) {
    SendCloseRequest(std::stoul(window));
    EXPECT_TRUE(probe->WaitFor("key down 432"));
    EXPECT_EQ(probe->WaitExit(), 0);
}

TEST_F(Window, MouseButtonsArriveWithTheirPositionInWindowPixels) {
    zk_test::ScreenSize screen = zk_test::XScreenSize();
    int x = (screen.width - 640) / 2 + 60, y = (screen.height - 480) / 2 + 40;   // (60, 40) in the window
    Shell("xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1");
    ASSERT_TRUE(probe->WaitFor("mouse down 0 60 40"));
    EXPECT_TRUE(probe->WaitFor("hit 1 1"));
}

}  // namespace
