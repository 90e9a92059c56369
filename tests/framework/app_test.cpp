// The application and input modules against a scripted host, fed through the game delegate.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/app.h"
#include "framework/async_event.h"
#include "framework/delegate.h"
#include "framework/input.h"
#include "media/audio.h"
#include "tests/common/collector.h"

namespace {

std::vector<std::string> journal;   // what the app and the audio engine were asked, in order

using Size = std::pair<int, int>;

// Pad j is present when present[j], with button 2 held; `desktop` gives a 1920 x 1080 desktop mode.
struct ScriptedHost : ZKGame {
    int width = 640, height = 480;
    bool present[4] = {};
    std::vector<Size> modes;
    bool desktop = false;
    String state;
    int SaveState(String s) override { return state = s, 0; }
    String LoadState() override { return state; }
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
    Array<ZKDisplayMode*> GetDisplayModes() override {
        Array<ZKDisplayMode*> list(static_cast<int>(modes.size()));
        for (int i = 0; i < list.Length(); ++i) list[i] = Mode(modes[i], 16 + 16 * (i & 1));
        return list;
    }
    ZKDisplayMode* GetDesktopMode() override { return desktop ? Mode({1920, 1080}, 32) : nullptr; }
    static ZKDisplayMode* Mode(Size size, int depth) {   // none for a size of 0 x 0
        if (!size.first) return nullptr;
        ZKDisplayMode* m = new ZKDisplayMode();
        m->width = size.first, m->height = size.second, m->depth = depth;
        return m;
    }
    bool PollJoystick(int port, Array<float> x, Array<float>, Array<float>, Array<bool> buttons) override {
        if (!present[port]) return false;
        for (int b = 0; b < 32; ++b) buttons[b] = b == 2;
        x[0] = 0.5f;
        return true;
    }
};

struct JournalApp : c_App {
    int p_OnSuspend() override { return journal.push_back("OnSuspend"), 0; }
    int p_OnResume() override { return journal.push_back("OnResume"), 0; }
    int p_OnUpdate() override {
        std::string size = std::to_string(zk_app_DeviceWidth()) + "x" + std::to_string(zk_app_DeviceHeight());
        int hits = zk_input_KeyHit(65) * 10 + zk_input_JoyHit(2, 0);
        return journal.push_back("hits " + std::to_string(hits) + " size " + size), 0;
    }
};

struct JournalAudio : gxtkAudio {
    int Suspend() override { return journal.push_back("audio Suspend"), 0; }
    int Resume() override { return journal.push_back("audio Resume"), 0; }
};

class App : public ::testing::Test {
protected:
    App() {
        zk_test::StartCollectorOnce();
        zk_app_init(), zk_input_init(), zk_asyncevent_init();
        (new JournalApp())->m_new();
        d = zk_app__delegate;
        gc_assign(d->m__input, (new c_InputDevice())->m_new());
        zk_input_SetInputDevice(dev = d->m__input);
        gc_assign(d->m__audio, new JournalAudio());
    }
    void key(int event, int code) { dev->p_KeyEvent(event, code); }
    void update(const std::function<void()>& during) { dev->p_BeginUpdate(), during(), dev->p_EndUpdate(); }

    ScriptedHost host;
    c_GameDelegate* d;
    c_InputDevice* dev;
};

class Input : public App {};

// An update refreshes the size, whichever side changed; suspend tells the game first, resume last.
TEST_F(App, UpdatesSuspendsAndResumesReachTheGameInOrder) {
    journal.clear();
    host.present[0] = true;
    d->KeyEvent(kEventKeyDown, 65), d->KeyEvent(kEventKeyUp, 65), d->UpdateGame();
    host.width = 800, d->UpdateGame();
    host.height = 500, d->UpdateGame();
    d->SuspendGame(), d->ResumeGame();
    zk_app_SetUpdateRate(30), zk_app_SaveState(String("saved"));
    EXPECT_TRUE(host.UpdateRate() == 30 && zk_app_LoadState() == String("saved"));
    EXPECT_EQ(journal,
              (std::vector<std::string>{"hits 11 size 640x480", "hits 0 size 800x480", "hits 0 size 800x500",
                                        "OnSuspend", "audio Suspend", "audio Resume", "OnResume"}));
}

// Nothing else ends the program (a second application is then a runtime error, exit -1).
TEST_F(App, TheBackAndCloseKeysEndTheProgramWhenTheyGoDownAndASecondAppIsAnError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int key : {kKeyBack, kKeyClose})
        EXPECT_EXIT(d->KeyEvent(kEventKeyDown, key), ::testing::ExitedWithCode(0), "") << key;
#ifdef _WIN32
    GTEST_SKIP() << "a runtime error's exit status and debugger input are the runtime error test's";
#endif
    EXPECT_EXIT(
        {
            if (dup2(2, 1) < 0 || !std::freopen("/dev/null", "r", stdin)) std::_Exit(3);
            for (int key : {kKeyBack, kKeyClose}) d->KeyEvent(kEventKeyUp, key);
            for (int key : {kKeyBack - 1, kKeyClose + 1, 27}) d->KeyEvent(kEventKeyDown, key);
            (new JournalApp())->m_new();
        },
        ::testing::ExitedWithCode(255), "App has already been created");
}

// One mode per size, in the order the sizes first appear, after the host's desktop.
TEST_F(App, DisplayModesAreTheDistinctSizesAfterTheDesktop) {
    host.modes = {{800, 600}, {640, 480}, {0, 0}, {800, 600}, {800, 500}, {640, 480}, {1024, 768}};
    host.desktop = true;
    zk_app_EnumDisplayModes();
    std::vector<Size> got = {{zk_app__desktopMode->m_width, zk_app__desktopMode->m_height}};
    for (int i = 0; i < zk_app__displayModes.Length(); ++i)
        got.emplace_back(zk_app__displayModes[i]->m_width, zk_app__displayModes[i]->m_height);
    EXPECT_EQ(got, (std::vector<Size>{{1920, 1080}, {800, 600}, {640, 480}, {800, 500}, {1024, 768}}));
}

// Other fingers are their own keys.
TEST_F(Input, TheLeftButtonAndTheFirstTouchAreOneControl) {
    d->MouseEvent(kEventMouseDown, 0, 12, 34), d->MotionEvent(kEventMotionAccel, 0, 0.25f, -0.5f, 1);
    update([] { EXPECT_TRUE(zk_input_TouchDown(0) && zk_input_TouchX(0) == 12 && zk_input_KeyHit(384) == 1); });
    EXPECT_TRUE(zk_input_AccelX() == 0.25f && zk_input_AccelY() == -0.5f);
    d->MouseEvent(kEventMouseUp, 0, 99, 99);   // a release does not move the pointer
    d->TouchEvent(kEventTouchDown, 3, 7, 8);
    update([] { EXPECT_TRUE(!zk_input_TouchDown(0) && zk_input_MouseX() == 12 && zk_input_KeyHit(387) == 1); });
    d->TouchEvent(kEventTouchDown, 0, 5, 6);
    d->TouchEvent(kEventTouchMove, 3, 9, 9);
    d->TouchEvent(kEventTouchUp, 3, 0, 0);
    update([] {
        EXPECT_TRUE(zk_input_MouseDown(0) && zk_input_MouseHit(0) == 1 && zk_input_MouseX() == 5 &&
                    !zk_input_TouchDown(3) && zk_input_TouchY(3) == 9);
    });
    d->TouchEvent(kEventTouchUp, 0, 0, 0), d->MouseEvent(kEventMouseMove, -1, 40, 41);
    update([] { EXPECT_TRUE(!zk_input_MouseDown(0) && zk_input_TouchX(0) == 40 && zk_input_MouseY() == 41); });
}

// A hit counts in the next update only, whatever its repeats; a full queue drops the hit, not the key.
TEST_F(Input, TheThirtyFourthHitAndTheThirtyThirdCharacterOfAnUpdateAreLostAndUnreadOnesDiscarded) {
    for (int k = 0; k < 34; ++k) key(kEventKeyDown, 100 + k), key(kEventKeyDown, 100);
    for (int c = 0; c < 33; ++c) key(kEventKeyChar, 'a' + c);
    update([] {
        EXPECT_EQ(zk_input_KeyHit(100) * 100 + zk_input_KeyHit(132) * 10 + zk_input_KeyHit(133), 110);
        EXPECT_TRUE(zk_input_KeyDown(133));
        for (int c = 0; c < 32; ++c) EXPECT_EQ(zk_input_GetChar(), 'a' + c);
        EXPECT_EQ(zk_input_GetChar(), 0);
    });
    key(kEventKeyChar, 'z');
    key(kEventKeyDown, 7), key(kEventKeyUp, 7), key(kEventKeyDown, 7);   // pressed twice
    update([] { EXPECT_EQ(zk_input_KeyHit(100) * 1000 + zk_input_KeyHit(7) * 100 + zk_input_GetChar(), 200 + 'z'); });
    key(kEventKeyChar, 'y'), update([] {});
    update([] { EXPECT_EQ(zk_input_GetChar(), 0); });
}

TEST_F(Input, AHeldPadButtonGivesOneHitAndAPadPulledOutComesToRest) {
    host.present[0] = host.present[1] = true;
    update([] { EXPECT_TRUE(zk_input_JoyHit(2, 1) == 1 && zk_input_JoyX(0, 1) == 0.5f); });
    update([] { EXPECT_TRUE(zk_input_JoyHit(2, 1) == 0 && zk_input_JoyDown(2, 1)); });
    host.present[1] = false;   // the last pad read pulled out
    update([] { EXPECT_TRUE(zk_input_JoyDown(2, 0) && !zk_input_JoyDown(2, 1) && zk_input_JoyX(0, 1) == 0.0f); });
    host.present[0] = false, host.present[1] = true;   // pad 0 pulled out: pad 1 is not read either
    update([] { EXPECT_FALSE(zk_input_JoyDown(2, 0) || zk_input_JoyDown(2, 1)); });
    host.present[0] = true;   // plugged back in, still held: a fresh press
    update([] { EXPECT_EQ(zk_input_JoyHit(2, 1), 1); });
}

// GLFW reports an unknown key as -1.
TEST_F(Input, KeyCodesOutsideTheKeySpaceAreIgnoredAndAnswerNothing) {
    for (int bad : {-1, 512, -100000}) key(kEventKeyDown, bad), dev->p_TouchEvent(kEventTouchDown, bad, 1, 1);
    update([] {
        EXPECT_FALSE(zk_input_KeyDown(-1) || zk_input_TouchDown(200) || zk_input_KeyDown(kKeyTouchBase - 1));
        EXPECT_EQ(zk_input_KeyHit(512) + zk_input_TouchX(32) + zk_input_JoyX(2, 0) + zk_input_JoyY(0, 4), 0);
    });
}

}  // namespace
