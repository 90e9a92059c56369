// The application and input modules against a scripted host: the delegate's update and suspend sequences,
// and the input device between two updates, fed as the delegate feeds it: hits, repeats, the mouse and
// touch twins, full queues, joystick polling and pads pulled out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app.h"
#include "framework/async_event.h"
#include "framework/delegate.h"
#include "framework/input.h"
#include "media/audio.h"
#include "tests/common/collector.h"

namespace {

std::vector<std::string> journal;   // what the app and the audio engine were asked, in order

// A host whose window is `width` x 480 and whose joysticks are scripted: pad j is present when
// present[j], with button 2 held.
struct ScriptedHost : ZKGame {
    int width = 640;
    bool present[4] = {};
    std::vector<int> asked;
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return 480; }
    bool PollJoystick(int port, Array<float> x, Array<float>, Array<float>, Array<bool> buttons) override {
        asked.push_back(port);
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
        journal.push_back("hits " + std::to_string(zk_input_KeyHit(65)) + " width " + std::to_string(zk_app_DeviceWidth()));
        return 0;
    }
};

// The audio engine with OpenAL left out: it only reports the calls.
struct JournalAudio : gxtkAudio {
    int Suspend() override { return journal.push_back("audio Suspend"), 0; }
    int Resume() override { return journal.push_back("audio Resume"), 0; }
};

// The application, registered, with a delegate holding an input device and the journalling audio.
class App : public ::testing::Test {
protected:
    App() {
        zk_test::StartCollectorOnce();
        zk_app_init();
        zk_input_init();
        zk_asyncevent_init();
        (new JournalApp())->m_new();
        d = zk_app__delegate;
        gc_assign(d->m__input, (new c_InputDevice())->m_new());
        zk_input_SetInputDevice(d->m__input);
        gc_assign(d->m__audio, new JournalAudio());
        dev = d->m__input;
    }
    void key(int event, int code) { dev->p_KeyEvent(event, code); }
    // One update: joysticks polled, then `during` sees the snapshot, then the hits are cleared.
    template <class F>
    void update(F during) {
        dev->p_BeginUpdate();
        during();
        dev->p_EndUpdate();
    }

    ScriptedHost host;
    c_GameDelegate* d;
    c_InputDevice* dev;
};

class Input : public App {};

// An update refreshes the size and sees each hit once; suspend tells the game first, resume last.
TEST_F(App, UpdatesSuspendsAndResumesReachTheGameInOrder) {
    journal.clear();
    d->KeyEvent(kEventKeyDown, 65);
    d->KeyEvent(kEventKeyUp, 65);
    d->UpdateGame();
    host.width = 800;
    d->UpdateGame();
    d->SuspendGame();
    d->ResumeGame();
    EXPECT_EQ(journal, (std::vector<std::string>{"hits 1 width 640", "hits 0 width 800", "OnSuspend",
                                                 "audio Suspend", "audio Resume", "OnResume"}));
}

TEST_F(Input, TheLeftButtonAndTheFirstTouchAreOneControl) {
    dev->p_MouseEvent(kEventMouseDown, 0, 12, 34);
    update([] { EXPECT_TRUE(zk_input_TouchDown(0) && zk_input_TouchX(0) == 12 && zk_input_KeyHit(384) == 1); });
    dev->p_MouseEvent(kEventMouseUp, 0, 99, 99);   // a release does not move the pointer
    dev->p_TouchEvent(kEventTouchDown, 3, 7, 8);   // other fingers are their own keys
    update([] { EXPECT_TRUE(!zk_input_MouseDown(0) && zk_input_MouseX() == 12 && zk_input_KeyHit(387) == 1); });
    dev->p_TouchEvent(kEventTouchDown, 0, 5, 6);
    update([] { EXPECT_TRUE(zk_input_MouseHit(0) == 1 && zk_input_MouseX() == 5); });
}

// A hit counts once in the next update only, whatever its repeats; a full queue drops the hit, not the key.
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
    update([] { EXPECT_EQ(zk_input_KeyHit(100), 0); });
    update([] { EXPECT_EQ(zk_input_GetChar(), 0); });
}

TEST_F(Input, AHeldPadButtonGivesOneHitAndAPadPulledOutComesToRest) {
    host.present[0] = host.present[1] = true;
    update([] { EXPECT_TRUE(zk_input_JoyHit(2, 1) == 1 && zk_input_JoyX(0, 1) == 0.5f); });
    update([] { EXPECT_TRUE(zk_input_JoyHit(2, 1) == 0 && zk_input_JoyDown(2, 1)); });
    host.present[1] = false;   // the last pad read pulled out
    update([] { EXPECT_TRUE(zk_input_JoyDown(2, 0) && !zk_input_JoyDown(2, 1) && zk_input_JoyX(0, 1) == 0.0f); });
    host.present[0] = false;   // pad 0 pulled out: pad 1 is not read either
    host.present[1] = true;
    host.asked.clear();
    update([] { EXPECT_FALSE(zk_input_JoyDown(2, 0) || zk_input_JoyDown(2, 1)); });
    EXPECT_EQ(host.asked, std::vector<int>{0});
    host.present[0] = true;   // plugged back in, still held: a fresh press
    update([] { EXPECT_EQ(zk_input_JoyHit(2, 1), 1); });
}

// GLFW reports an unknown key as -1.
TEST_F(Input, KeyCodesOutsideTheKeySpaceAreIgnoredAndAnswerNothing) {
    for (int bad : {-1, 512, -100000}) key(kEventKeyDown, bad), dev->p_TouchEvent(kEventTouchDown, bad, 1, 1);
    dev->p_MouseEvent(kEventMouseDown, 511, 1, 1);   // would be key 512
    update([] {
        EXPECT_FALSE(zk_input_KeyDown(-1) || zk_input_MouseDown(511) || zk_input_TouchDown(200));
        EXPECT_EQ(zk_input_KeyHit(512) + zk_input_TouchX(32) + zk_input_JoyX(2, 0) + zk_input_JoyY(0, 4), 0);
    });
}

}  // namespace
