// The input device between two updates: hits, twins, queues, joystick polling and clearing, and bad key
// codes, fed through its event handlers as the delegate feeds it.
#include <gtest/gtest.h>

#include <vector>

#include "framework/app.h"
#include "framework/input.h"
#include "host/game.h"
#include "tests/common/collector.h"

namespace {

// A host whose joysticks are scripted: pad j is present when present[j]; its buttons are held[j].
struct PadHost : ZKGame {
    bool present[4] = {};
    std::vector<int> held[4];
    std::vector<int> asked;
    bool PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z, Array<bool> buttons) override {
        asked.push_back(port);
        if (!present[port]) return false;
        for (int b = 0; b < 32; ++b) buttons[b] = false;
        for (int b : held[port]) buttons[b] = true;
        x[0] = 0.5f;
        y[1] = -0.25f;
        return true;
    }
};

class Input : public ::testing::Test {
protected:
    Input() {
        zk_test::StartCollectorOnce();
        zk_app__game = &host;   // the framework reaches the host through this handle only
        zk_input_init();
        zk_input_SetInputDevice((new c_InputDevice())->m_new());
        dev = zk_input_device;
    }
    void key(int event, int code) { dev->p_KeyEvent(event, code); }
    // One update: joysticks polled, then `during` sees the snapshot, then the hits are cleared.
    template <class F>
    void update(F during) {
        dev->p_BeginUpdate();
        during();
        dev->p_EndUpdate();
    }

    PadHost host;
    c_InputDevice* dev;
};

TEST_F(Input, AKeyPressedAndReleasedBetweenUpdatesIsHitOnceInTheNextUpdateOnly) {
    key(kEventKeyDown, 65);
    key(kEventKeyDown, 65);   // a repeat
    key(kEventKeyUp, 65);
    update([] {
        EXPECT_EQ(zk_input_KeyHit(65), 1);
        EXPECT_FALSE(zk_input_KeyDown(65));
    });
    update([] { EXPECT_EQ(zk_input_KeyHit(65), 0); });
}

TEST_F(Input, HeldKeysStayDownAcrossUpdatesAndAReleaseOfAnUpKeyDoesNothing) {
    key(kEventKeyUp, 70);
    key(kEventKeyDown, 70);
    update([] { EXPECT_TRUE(zk_input_KeyDown(70)); });
    update([] {
        EXPECT_TRUE(zk_input_KeyDown(70));
        EXPECT_EQ(zk_input_KeyHit(70), 0);
    });
}

TEST_F(Input, TheLeftButtonAndTheFirstTouchAreOneControl) {
    dev->p_MouseEvent(kEventMouseDown, 0, 12, 34);
    update([] {
        EXPECT_EQ(zk_input_MouseHit(0), 1);
        EXPECT_EQ(zk_input_KeyHit(384), 1);
        EXPECT_TRUE(zk_input_MouseDown(0));
        EXPECT_TRUE(zk_input_TouchDown(0));
        EXPECT_EQ(zk_input_TouchX(0), 12);
        EXPECT_EQ(zk_input_MouseY(), 34);
    });
    dev->p_MouseEvent(kEventMouseUp, 0, 99, 99);
    update([] {
        EXPECT_FALSE(zk_input_MouseDown(0));
        EXPECT_FALSE(zk_input_TouchDown(0));
        EXPECT_EQ(zk_input_MouseX(), 12);   // a release does not move the pointer
    });
    dev->p_TouchEvent(kEventTouchDown, 0, 5, 6);
    update([] {
        EXPECT_EQ(zk_input_MouseHit(0), 1);
        EXPECT_TRUE(zk_input_MouseDown(0));
        EXPECT_EQ(zk_input_MouseX(), 5);
    });
    dev->p_TouchEvent(kEventTouchDown, 3, 7, 8);   // other fingers are their own keys
    update([] {
        EXPECT_EQ(zk_input_KeyHit(387), 1);
        EXPECT_EQ(zk_input_TouchX(3), 7);
        EXPECT_EQ(zk_input_MouseX(), 5);
    });
}

TEST_F(Input, TheThirtyFourthHitAndTheThirtyThirdCharacterOfAnUpdateAreLost) {
    for (int k = 0; k < 34; ++k) key(kEventKeyDown, 100 + k);
    for (int c = 0; c < 33; ++c) key(kEventKeyChar, 'a' + c);
    update([] {
        EXPECT_EQ(zk_input_KeyHit(132), 1);
        EXPECT_EQ(zk_input_KeyHit(133), 0);     // queue full: the hit is dropped, count included
        EXPECT_TRUE(zk_input_KeyDown(133));     // the key is down all the same
        for (int c = 0; c < 32; ++c) EXPECT_EQ(zk_input_GetChar(), 'a' + c);
        EXPECT_EQ(zk_input_GetChar(), 0);
        EXPECT_EQ(zk_input_GetChar(), 0);
    });
    key(kEventKeyChar, 'z');
    update([] {
        EXPECT_EQ(zk_input_KeyHit(100), 0);   // cleared through the queue
        EXPECT_EQ(zk_input_GetChar(), 'z');
    });
}

TEST_F(Input, CharactersNotReadInAnUpdateAreDiscarded) {
    key(kEventKeyChar, 'q');
    update([] {});
    update([] { EXPECT_EQ(zk_input_GetChar(), 0); });
}

TEST_F(Input, AJoystickButtonHeldAcrossUpdatesGivesOneHitAndItsReleaseClearsIt) {
    host.present[0] = host.present[1] = true;
    host.held[1] = {2};
    update([] {
        EXPECT_EQ(zk_input_JoyHit(2, 1), 1);
        EXPECT_EQ(zk_input_KeyHit(256 + 32 + 2), 1);
        EXPECT_TRUE(zk_input_JoyDown(2, 1));
        EXPECT_EQ(zk_input_JoyX(0, 0), 0.5f);
        EXPECT_EQ(zk_input_JoyY(1, 0), -0.25f);
    });
    update([] {
        EXPECT_EQ(zk_input_JoyHit(2, 1), 0);
        EXPECT_TRUE(zk_input_JoyDown(2, 1));
    });
    host.held[1] = {};
    update([] { EXPECT_FALSE(zk_input_JoyDown(2, 1)); });
}

TEST_F(Input, PollingStopsAtTheFirstAbsentPad) {
    host.present[0] = false;
    host.present[1] = host.present[2] = true;
    host.held[1] = {0};
    update([] { EXPECT_EQ(zk_input_JoyHit(0, 1), 0); });
    EXPECT_EQ(host.asked, std::vector<int>{0});
    host.asked.clear();
    host.present[0] = true;
    host.present[2] = false;
    update([] {});
    EXPECT_EQ(host.asked, (std::vector<int>{0, 1, 2}));
}

TEST_F(Input, APadPulledOutWhileHeldComesToRest) {
    host.present[0] = host.present[1] = true;
    host.held[0] = {9};   // up held on pad 0
    host.held[1] = {0};
    update([] {
        EXPECT_TRUE(zk_input_JoyDown(9, 0));
        EXPECT_EQ(zk_input_JoyX(0, 1), 0.5f);
    });
    host.present[0] = false;   // pad 0 pulled out: pad 1 is not read either
    update([] {
        EXPECT_FALSE(zk_input_JoyDown(9, 0));
        EXPECT_FALSE(zk_input_JoyDown(0, 1));
        EXPECT_EQ(zk_input_JoyX(0, 0), 0.0f);
        EXPECT_EQ(zk_input_JoyX(0, 1), 0.0f);
        EXPECT_EQ(zk_input_JoyY(1, 1), 0.0f);
    });
    host.present[0] = true;   // plugged back in, still held: a fresh press
    update([] { EXPECT_EQ(zk_input_JoyHit(9, 0), 1); });
}

TEST_F(Input, KeyCodesOutsideTheKeySpaceAreIgnoredAndAnswerNothing) {
    for (int bad : {-1, 512, 100000, -100000}) {
        key(kEventKeyDown, bad);
        key(kEventKeyUp, bad);
        dev->p_PutKeyHit(bad);
        dev->p_TouchEvent(kEventTouchDown, bad, 1, 1);
        dev->p_TouchEvent(kEventTouchMove, bad, 1, 1);
    }
    dev->p_MouseEvent(kEventMouseDown, 511, 1, 1);   // would be key 512
    key(kEventKeyDown, 0);
    update([] {
        EXPECT_EQ(zk_input_KeyHit(0), 0);
        EXPECT_EQ(zk_input_KeyHit(512), 0);
        EXPECT_FALSE(zk_input_KeyDown(0));
        EXPECT_FALSE(zk_input_KeyDown(-1));
        EXPECT_FALSE(zk_input_MouseDown(511));
        EXPECT_EQ(zk_input_MouseHit(-1), 0);
        EXPECT_FALSE(zk_input_TouchDown(200));
        EXPECT_EQ(zk_input_TouchX(32), 0);
        EXPECT_EQ(zk_input_TouchY(-1), 0);
        EXPECT_EQ(zk_input_JoyX(2, 0), 0);
        EXPECT_EQ(zk_input_JoyY(0, 4), 0);
        EXPECT_EQ(zk_input_JoyY(-1, -1), 0);
    });
}

TEST_F(Input, TheAccelerometerAndTheKeyboardFlagReachTheirHomes) {
    dev->p_MotionEvent(kEventMotionAccel, 0, 0.1f, 0.2f, 0.3f);
    EXPECT_EQ(zk_input_AccelX(), 0.1f);
    EXPECT_EQ(zk_input_AccelY(), 0.2f);
    EXPECT_EQ(zk_input_EnableKeyboard(), 1);
    EXPECT_TRUE(host.KeyboardEnabled());
    zk_input_DisableKeyboard();
    EXPECT_FALSE(host.KeyboardEnabled());
}

}  // namespace
