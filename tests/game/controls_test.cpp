// The controls through real frames: the action table for keys, pad buttons, sticks and virtual keys, the
// iCade letters, the analogue control and the pointer tests.
#include "tests/game/myapp_fixture.h"

namespace {

class Controls : public Game {
protected:
    // An action as the keyboard alone, player 0, player 1 and player 3 see it (no stick).
    std::vector<int> Seen(int action) {
        return {app->p_PlayKey(action, 0, -1), app->p_PlayKey(action, 0, 0), app->p_PlayKey(action, 0, 1),
                app->p_PlayKey(action, 0, 3)};
    }
};

}  // namespace

// The action table written out: each action's keys, the letter keys that the iCade mode leaves out (the
// iCade types letters), its pad buttons and its virtual keys.
TEST_F(Controls, EveryRowOfTheActionTable) {
    struct Row {
        int action;
        std::vector<int> keys, letters, buttons, vkeys;
    } const rows[] = {
        {kActionUp, {38}, {87}, {9}, {0}},
        {kActionLeft, {37}, {65}, {8}, {3}},
        {kActionRight, {39}, {68}, {10}, {5}},
        {kActionDown, {40}, {83}, {11}, {8}},
        {kActionFire, {32, 13}, {90, 74}, {0}, {10}},
        {kActionFire2, {17}, {88, 75}, {1}, {11}},
        {kActionFire3, {16}, {67, 76}, {2}, {12}},
        {kActionButton4, {}, {86, 73}, {3}, {13}},
        {kActionLeftShoulder, {}, {66, 85}, {4}, {14}},
        {kActionRightShoulder, {}, {78, 79}, {5}, {15}},
        {kActionBack, {27, 46, 8}, {192}, {6, 7, 14}, {kVKeyICadeO, kVKeyICadeL, kVKeyBackHits}},
    };
    using Four = std::vector<int>;
    for (int icade = 0; icade <= 1; ++icade) {
        zk_Dravo_iCadeControls = icade;
        for (const Row& r : rows) {
            SCOPED_TRACE(testing::Message() << "action " << r.action << " iCade " << icade);
            EXPECT_EQ(Seen(r.action), Four(4, 0));
            for (int key : r.keys) {
                Press(key);
                EXPECT_EQ(Seen(r.action), Four(4, 1)) << "key " << key;
                Release(key);
            }
            for (int key : r.letters) {
                Press(key);
                EXPECT_EQ(Seen(r.action), Four(4, 1 - icade)) << "letter key " << key;
                Release(key);
            }
            for (int b : r.buttons) {   // player 1's pad
                Press(kKeyJoyBase + 32 + b);
                EXPECT_EQ(Seen(r.action), (Four{0, 0, 1, 0})) << "button " << b;
                Release(kKeyJoyBase + 32 + b);
            }
            for (int v : r.vkeys) {   // the keyboard alone reads iCade buttons 13 to 15 as their own value
                app->m_vkeys[v] = 2;
                const bool button = r.action >= kActionButton4 && r.action <= kActionRightShoulder;
                const int own = icade && button ? 2 : 1;
                EXPECT_EQ(Seen(r.action), (Four{own, 1, 1, 1})) << "virtual key " << v;
                app->m_vkeys[v] = 0;
            }
        }
    }
    EXPECT_EQ(app->p_PlayKey(kActionUp, 0, -2), 0);   // no such player
    // The iCade's back buttons (16, 17) and the back key's hits (19) are virtual keys, not actions.
    for (int v = 0; v < 20; ++v) app->m_vkeys[v] = 2;
    for (int notAction : {7, kVKeyICadeO, kVKeyICadeL, kVKeyBackHits})
        EXPECT_EQ(app->p_PlayKeyAll(notAction, 1), 0) << notAction;
}

TEST_F(Controls, StickDirectionsCountBeyondFourTenthsOnlyWhenAnalogueInputIsAsked) {
    host->padPresent = true;
    struct Case {
        float x, y;
        std::vector<int> up_left_right_down;
    } const cases[] = {{0, 0.41f, {1, 0, 0, 0}}, {0, 0.4f, {0, 0, 0, 0}},  {-0.5f, 0, {0, 1, 0, 0}},
                       {0.5f, 0, {0, 0, 1, 0}},  {0, -0.5f, {0, 0, 0, 1}}, {-0.4f, -0.4f, {0, 0, 0, 0}}};
    for (const Case& c : cases) {
        host->padX = c.x, host->padY = c.y;
        Frame();
        const std::vector<int> got = {app->p_PlayKey(kActionUp, 1, 0), app->p_PlayKey(kActionLeft, 1, 0),
                                      app->p_PlayKey(kActionRight, 1, 0), app->p_PlayKey(kActionDown, 1, 0)};
        EXPECT_EQ(got, c.up_left_right_down) << c.x << "," << c.y;
        EXPECT_EQ(app->p_PlayKey(kActionUp, 0, 0) + app->p_PlayKey(kActionUp, 1, 1), 0)
            << "no analogue asked; another player";
    }
    zk_Dravo_iCadeControls = 1;
    EXPECT_EQ(app->p_PlayKey(kActionDown, 1, 0), 0);   // no stick in the iCade mode
}

TEST_F(Controls, HeldKeysRampTheAnalogueControlReleaseEasesBackAndTheStickHasADeadZone) {
    Press(38);
    for (int i = 0; i < 3; ++i) app->p_AnalogueControl();
    EXPECT_NEAR(app->m_analogY, -0.45f, 1e-5);
    for (int i = 0; i < 10; ++i) app->p_AnalogueControl();
    EXPECT_EQ(app->m_analogY, -1.0f);   // clamped
    Release(38);
    app->p_AnalogueControl();
    EXPECT_NEAR(app->m_keyRampY, -0.8f, 1e-5);   // eased back
    host->padPresent = true;
    for (float x : {0.2f, 0.25f}) {
        host->padX = x;
        Frame();
        app->p_AnalogueControl();
        EXPECT_FLOAT_EQ(app->m_analogX, x == 0.2f ? 0 : x);
    }
}

TEST_F(Controls, ADraggedPointerIsAStickAroundWhereItWasPressed) {
    app->m_mouseDown = 1;
    app->m_stickAnchorX = -1;
    const std::vector<float> cases[] = {   // pointer x, y; then analogue x, y and the anchor x, y
        {100, 100, 0, 0, 100, 100},   // the press sets the anchor
        {136, 100, 0.5f, 0, 100, 100},
        {200, 30, 1, -70 / 72.0f, 104, 96},   // clamped; 100 pixels away the anchor follows by 4
        {110, 100, 0, 0, 104, 96},   // both offsets below a tenth of the range: centred
    };
    for (const std::vector<float>& c : cases) {
        app->m_mouseX = c[0], app->m_mouseY = c[1];
        app->p_AnalogueControl();
        EXPECT_EQ((std::vector<float>{c[0], c[1], app->m_analogX, app->m_analogY, float(app->m_stickAnchorX),
                                      float(app->m_stickAnchorY)}), c);
    }
}

// A 32 x 32 button at (100, 100), a 100 x 20 touch area at (50, 50) with margins 6 before and 12 after.
TEST_F(Controls, PointerTestsAreStrictAtTheirEdges) {
    app->m_mouseDown = 1;
    app->m_drawScale = 1;
    app->m_imageInfo[97 * 3] = app->m_imageInfo[97 * 3 + 1] = 32;
    const std::function<int()> tests[] = {   // button, centred, narrower, touch area, first touch
        [&] { return app->p_Button(97, 100, 100, 0); }, [&] { return app->p_MouseIn_Centered(100, 100, 32, 32); },
        [&] { return app->p_MouseIn_Centered(100, 100, 30, 32); }, [&] { return app->p_Touch(50, 50, 100, 20); },
        [&] { return static_cast<int>(app->p_Button0(97, 100, 100, 0)); }};
    const int cases[][5] = {   // test, touch, x, y, hit
        {0, 3, 115, 100, 1}, {0, 3, 116, 100, 0}, {0, 3, 100, 84, 0},  {1, 3, 115, 100, 1}, {2, 3, 115, 100, 0},
        {3, 3, 44, 60, 0},   {3, 3, 45, 60, 1},   {3, 3, 161, 60, 1},  {3, 3, 162, 60, 0},  {3, 3, 60, 81, 1},
        {3, 3, 60, 82, 0},   {4, 3, 100, 100, 0}, {4, 0, 110, 110, 1}};
    for (const auto& c : cases) {
        for (int i = 0; i < 10; ++i) app->m_touchDown[i] = 0, app->m_touchX[i] = app->m_touchY[i] = kUnset;
        app->m_touchDown[c[1]] = 1, app->m_touchX[c[1]] = c[2], app->m_touchY[c[1]] = c[3];
        EXPECT_EQ(tests[c[0]](), c[4]) << "test " << c[0] << " touch " << c[1] << " at " << c[2] << "," << c[3];
    }
}
