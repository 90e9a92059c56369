// The input device between two updates: hits, repeats, the mouse and touch twins, full queues, joystick
// polling and pads pulled out, fed through its event handlers as the delegate feeds it.
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
    bool PollJoystick(int port, Array<float> x, Array<float>, Array<float>, Array<bool> buttons) override {
        asked.push_back(port);
        if (!present[port]) return false;
        for (int b = 0; b < 32; ++b) buttons[b] = false;
        for (int b : held[port]) buttons[b] = true;
        x[0] = 0.5f;
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

TEST_F(Input, APressIsHitOnceInTheNextUpdateOnlyWhateverItsRepeats) {
    key(kEventKeyDown, 65);
    key(kEventKeyDown, 65);   // a repeat
    key(kEventKeyUp, 65);
    key(kEventKeyDown, 70);
    update([] { EXPECT_EQ(zk_input_KeyHit(65) * 10 + zk_input_KeyDown(65), 10); });
    update([] { EXPECT_EQ(zk_input_KeyHit(65) * 10 + zk_input_KeyDown(70), 1); });
}

TEST_F(Input, TheLeftButtonAndTheFirstTouchAreOneControl) {
    dev->p_MouseEvent(kEventMouseDown, 0, 12, 34);
    update([] { EXPECT_TRUE(zk_input_TouchDown(0) && zk_input_TouchX(0) == 12 && zk_input_KeyHit(384) == 1); });
    dev->p_MouseEvent(kEventMouseUp, 0, 99, 99);
    dev->p_TouchEvent(kEventTouchDown, 3, 7, 8);   // other fingers are their own keys
    update([] {
        EXPECT_FALSE(zk_input_MouseDown(0));
        EXPECT_EQ(zk_input_MouseX(), 12);   // a release does not move the pointer
        EXPECT_EQ(zk_input_KeyHit(387), 1);
    });
    dev->p_TouchEvent(kEventTouchDown, 0, 5, 6);
    update([] { EXPECT_TRUE(zk_input_MouseHit(0) == 1 && zk_input_MouseX() == 5); });
}

TEST_F(Input, TheThirtyFourthHitAndTheThirtyThirdCharacterOfAnUpdateAreLostAndUnreadOnesDiscarded) {
    for (int k = 0; k < 34; ++k) key(kEventKeyDown, 100 + k);
    for (int c = 0; c < 33; ++c) key(kEventKeyChar, 'a' + c);
    update([] {
        EXPECT_EQ(zk_input_KeyHit(132) * 10 + zk_input_KeyHit(133), 10);   // queue full: the hit is dropped
        EXPECT_TRUE(zk_input_KeyDown(133));                                 // the key is down all the same
        for (int c = 0; c < 32; ++c) EXPECT_EQ(zk_input_GetChar(), 'a' + c);
        EXPECT_EQ(zk_input_GetChar(), 0);
    });
    key(kEventKeyChar, 'z');
    update([] { EXPECT_EQ(zk_input_KeyHit(100), 0); });
    update([] { EXPECT_EQ(zk_input_GetChar(), 0); });
}

TEST_F(Input, AHeldPadButtonGivesOneHitAndAPadPulledOutComesToRest) {
    host.present[0] = host.present[1] = true;
    host.held[1] = {2};
    update([] { EXPECT_TRUE(zk_input_JoyHit(2, 1) == 1 && zk_input_JoyX(0, 1) == 0.5f); });
    update([] { EXPECT_TRUE(zk_input_JoyHit(2, 1) == 0 && zk_input_JoyDown(2, 1)); });
    host.present[0] = false;   // pad 0 pulled out: pad 1 is not read either, and rests
    host.asked.clear();
    update([] { EXPECT_TRUE(!zk_input_JoyDown(2, 1) && zk_input_JoyX(0, 1) == 0.0f); });
    EXPECT_EQ(host.asked, std::vector<int>{0});
    host.present[0] = true;   // plugged back in, still held: a fresh press
    update([] { EXPECT_EQ(zk_input_JoyHit(2, 1), 1); });
}

TEST_F(Input, KeyCodesOutsideTheKeySpaceAreIgnoredAndAnswerNothing) {
    for (int bad : {-1, 512, -100000}) {
        key(kEventKeyDown, bad);
        dev->p_TouchEvent(kEventTouchDown, bad, 1, 1);
        dev->p_TouchEvent(kEventTouchMove, bad, 1, 1);
    }
    dev->p_MouseEvent(kEventMouseDown, 511, 1, 1);   // would be key 512
    update([] {
        EXPECT_FALSE(zk_input_KeyDown(-1) || zk_input_MouseDown(511) || zk_input_TouchDown(200));
        EXPECT_EQ(zk_input_KeyHit(512) + zk_input_TouchX(32) + zk_input_JoyX(2, 0) + zk_input_JoyY(0, 4), 0);
    });
}

}  // namespace
