// The controls through real frames: the action table for keys, pad buttons, sticks and virtual keys, the
// iCade letters, the analogue control with its marks, the stick readers and the pointer tests.
#include <cmath>

#include "tests/game/myapp_fixture.h"

namespace {

using Controls = Game;
using Ints = std::vector<int>;
using Floats = std::vector<float>;

}  // namespace

// The action table written out: each action's keys, the letter keys that the iCade mode leaves out (the
// iCade types letters), its pad buttons and its virtual keys; seen by the keyboard alone and players 0, 1
// and 3. Every player's row holds the keyboard, so a key counts once for each of the four.
TEST_F(Controls, EveryRowOfTheActionTable) {
    struct Row {
        int action;
        Ints keys, letters, buttons, vkeys;
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
    auto seen = [&](int action) {
        return Ints{app->p_PlayKey(action, 0, -1), app->p_PlayKey(action, 0, 0), app->p_PlayKey(action, 0, 1),
                    app->p_PlayKey(action, 0, 3), app->p_PlayKeyAll(action, 0)};
    };
    for (int icade = 0; icade <= 1; ++icade) {
        zk_Dravo_iCadeControls = icade;
        for (const Row& r : rows) {
            SCOPED_TRACE(testing::Message() << "action " << r.action << " iCade " << icade);
            EXPECT_EQ(seen(r.action), Ints(5, 0));
            for (int key : r.keys) {
                Press(key);
                EXPECT_EQ(seen(r.action), (Ints{1, 1, 1, 1, 4})) << "key " << key;
                Release(key);
            }
            for (int key : r.letters) {
                Press(key);
                EXPECT_EQ(seen(r.action), icade ? Ints(5, 0) : (Ints{1, 1, 1, 1, 4})) << "letter key " << key;
                Release(key);
            }
            for (int b : r.buttons) {   // player 1's pad
                Press(kKeyJoyBase + 32 + b);
                EXPECT_EQ(seen(r.action), (Ints{0, 0, 1, 0, 1})) << "button " << b;
                Release(kKeyJoyBase + 32 + b);
            }
            for (int v : r.vkeys) {   // the keyboard alone reads iCade buttons 13 to 15 as their own value
                app->m_vkeys[v] = 2;
                const bool button = r.action >= kActionButton4 && r.action <= kActionRightShoulder;
                EXPECT_EQ(seen(r.action), (Ints{icade && button ? 2 : 1, 1, 1, 1, 4})) << "virtual key " << v;
                app->m_vkeys[v] = 0;
            }
        }
    }
    EXPECT_EQ(app->p_PlayKey(kActionUp, 0, -2), 0);   // no such player
    // The iCade's back buttons (16, 17) and the back key's hits (19) are virtual keys, not actions.
    for (int v = 0; v < 20; ++v) app->m_vkeys[v] = 2;
    for (int notAction : {7, kVKeyICadeO, kVKeyICadeL, kVKeyBackHits})
        EXPECT_EQ(app->p_PlayKeyAll(notAction, 1), 0);
}

// Player 0's first stick counts as a direction beyond 0.4, only when analogue input is asked for and not
// in the iCade mode; the readers give the first stick's y positive downward.
TEST_F(Controls, StickDirectionsAndReaders) {
    host->padPresent = true;
    struct Case {
        float x, y;
        Ints up_left_right_down;
    } const cases[] = {{0, 0.41f, {1, 0, 0, 0}},  {0, 0.4f, {0, 0, 0, 0}},  {-0.5f, 0, {0, 1, 0, 0}},
                       {0.5f, 0, {0, 0, 1, 0}},   {0, -0.5f, {0, 0, 0, 1}}, {-0.4f, -0.4f, {0, 0, 0, 0}},
                       {0.4f, 0.4f, {0, 0, 0, 0}}};
    for (const Case& c : cases) {
        host->padX = c.x, host->padY = c.y;
        Frame();
        const Ints got = {app->p_PlayKey(kActionUp, 1, 0), app->p_PlayKey(kActionLeft, 1, 0),
                          app->p_PlayKey(kActionRight, 1, 0), app->p_PlayKey(kActionDown, 1, 0)};
        EXPECT_EQ(got, c.up_left_right_down) << c.x << "," << c.y;
        EXPECT_EQ(app->p_PlayKey(kActionUp, 0, 0) + app->p_PlayKey(kActionUp, 1, 1), 0)
            << "no analogue; player 1";
        EXPECT_EQ(
            (Floats{app->p_StickX(0, 0), app->p_StickY(0, 0), app->p_StickX(0, -1), app->p_StickY(0, -1)}),
            (Floats{c.x, -c.y, 0, 0}));
    }
    zk_Dravo_iCadeControls = 1;
    EXPECT_EQ(app->p_PlayKey(kActionLeft, 1, 0), 0);   // no stick in the iCade mode
}

// Each control sends a press letter and a release letter, in either case; a press holds the action until
// its release comes. Switching the mode on drops what was typed before.
TEST_F(Controls, ICadeLettersHoldTheirActionUntilReleased) {
    app->p_iCade(1);
    const struct {
        char letter;
        int action, down;
    } steps[] = {{'w', kActionUp, 1},
                 {'x', kActionUp, 1},
                 {'E', kActionUp, 0},
                 {'X', kActionDown, 1},
                 {'z', kActionDown, 0},
                 {'a', kActionLeft, 1},
                 {'q', kActionLeft, 0},
                 {'d', kActionRight, 1},
                 {'c', kActionRight, 0},
                 {'h', kActionFire, 1},
                 {'r', kActionFire, 0},
                 {'J', kActionFire2, 1},
                 {'n', kActionFire2, 0},
                 {'k', kActionFire3, 1},
                 {'p', kActionFire3, 0},
                 {'y', kActionButton4, 1},
                 {'t', kActionButton4, 0},
                 {'u', kActionLeftShoulder, 1},
                 {'f', kActionLeftShoulder, 0},
                 {'i', kActionRightShoulder, 1},
                 {'m', kActionRightShoulder, 0},
                 {'o', kActionBack, 1},
                 {'g', kActionBack, 0},
                 {'L', kActionBack, 1},
                 {'v', kActionBack, 0}};
    for (const auto& s : steps) {
        host->KeyEvent(kEventKeyChar, s.letter);
        Frame();
        EXPECT_EQ(app->p_PlayKey(s.action, 0, 0), s.down) << s.letter;
    }
    host->KeyEvent(kEventKeyChar, 'i');
    app->p_iCade(1);
    Frame();
    EXPECT_EQ(app->p_PlayKey(kActionRightShoulder, 0, 0), 0) << "typed before the switch";
}

// Held direction keys ramp the stick by 0.15 a frame up to 1; released, the ramp eases back by 0.2 a frame
// and stops at 0. Debug mode shows the stick as a disc and a dot 52 pixels out at full reach.
TEST_F(Controls, HeldKeysRampTheAnalogueControlAndReleasedTheyEaseBack) {
    const struct {
        int key;
        float* ramp;
        float* stick;
        float sign;
    } axes[] = {{kKeyUp, &app->m_keyRampY, &app->m_analogY, -1},
                {kKeyDown, &app->m_keyRampY, &app->m_analogY, 1},
                {kKeyLeft, &app->m_keyRampX, &app->m_analogX, -1},
                {kKeyRight, &app->m_keyRampX, &app->m_analogX, 1}};
    for (const auto& a : axes) {
        Press(a.key);
        Floats got;
        for (int i = 0; i < 13; ++i) app->p_AnalogueControl(), got.push_back(*a.stick);
        Release(a.key);
        app->p_AnalogueControl();
        got.push_back(*a.ramp), got.push_back(*a.stick);   // eased back
        const Floats want = {0.45f, 1, 0.8f, 0.8f};
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(a.sign * got.at(i ? 11 + i : 2), want[i], 1e-5) << a.key << " " << i;
        *a.ramp = 0;
        Press(a.key), app->p_AnalogueControl(), Release(a.key), app->p_AnalogueControl();
        EXPECT_EQ(*a.ramp, 0) << a.key << ": eased from 0.15, not past 0";
    }
    host->padPresent = true;
    zk_Dravo_DebugMode = 1;
    for (Floats pad : {Floats{0.2f, 0.2f}, Floats{0.25f, 0}, Floats{0, -1}}) {
        host->padX = pad[0], host->padY = pad[1];
        Frame();
        app->p_CLS2D();
        app->p_AnalogueControl();
        const bool moved = std::fabs(pad[0]) > 0.2f || std::fabs(pad[1]) > 0.2f;
        EXPECT_EQ((Floats{app->m_analogX, app->m_analogY}), (moved ? Floats{pad[0], -pad[1]} : Floats{0, 0}));
        const std::vector<Cmd> marks = Commands();
        ASSERT_EQ(marks.size(), moved ? 2u : 0u);
        if (!moved) continue;
        EXPECT_EQ((Floats{marks[0].x, marks[0].y, marks[0].w}), (Floats{736, 536, 12}));
        EXPECT_EQ((Floats{marks[1].x, marks[1].y, marks[1].w}),
                  (Floats{736 + 52 * pad[0], 536 - 52 * pad[1], 8}));
    }
}

// A pressed pointer sets the anchor; the drag from it over 72 pixels is the stick, centred while both
// offsets are below a tenth; an anchor more than 64 pixels away follows by 4 a frame. A disc marks the
// anchor and a dot the pointer. Released, nothing is left.
TEST_F(Controls, ADraggedPointerIsAStickAroundWhereItWasPressed) {
    app->m_stickAnchorX = -1;
    const Floats cases[] = {
        // pointer down, x, y; then analogue x, y and the anchor x, y
        {1, 100, 100, 0, 0, 100, 100},
        {1, 136, 100, 0.5f, 0, 100, 100},
        {1, 200, 30, 1, -70 / 72.0f, 104, 96},   // clamped; the anchor follows on both axes
        {1, 110, 100, 0, 0, 104, 96},
        {1, 104 + 11, 96, 11 / 72.0f, 0, 104, 96},
        {1, 104 + 64, 96 - 64, 64 / 72.0f, -64 / 72.0f, 104, 96},   // 64 away: the anchor stays
        {1, 104, 96 + 200, 0, 1, 104, 100},
        {0, 300, 300, 0, 0, -1, 100},
        {1, 300, 300, 0, 0, 300, 300}};
    for (const Floats& c : cases) {
        app->p_CLS2D();
        app->m_mouseDown = static_cast<int>(c[0]), app->m_mouseX = c[1], app->m_mouseY = c[2];
        app->p_AnalogueControl();
        EXPECT_EQ((Floats{c[0], c[1], c[2], app->m_analogX, app->m_analogY, float(app->m_stickAnchorX),
                          float(app->m_stickAnchorY)}),
                  c);
        if (c[0] == 0) continue;
        const std::vector<Cmd> marks = Commands();
        ASSERT_EQ(marks.size(), 2u);
        EXPECT_EQ((Floats{marks[0].x, marks[0].y, marks[0].w, marks[1].x, marks[1].y, marks[1].w}),
                  (Floats{c[5], c[6], 12, c[1], c[2], 8}));
    }
}

// Pointer tests on touch points: a 64-pixel icon drawn at the art's half scale, 1 x 2 times its size, at
// (100, 100), so 32 x 64; a 30 x 20 centred box; a 100 x 20 touch area at (50, 50) with margins 6 before
// and 12 after. Every edge is outside; a button needs the pointer down.
TEST_F(Controls, PointerTestsAreStrictAtTheirEdges) {
    app->m_drawScale = 0.5f;
    app->m_imageInfo[kIconsSlot * 3] = app->m_imageInfo[kIconsSlot * 3 + 1] = 64;
    const std::function<int()> tests[] = {
        // button, centred, touch area, first touch only
        [&] { return app->p_Button(kIconsSlot, 100, 100, 0); },
        [&] { return app->p_MouseIn_Centered(100, 100, 30, 20); },
        [&] { return app->p_Touch(50, 50, 100, 20); },
        [&] { return static_cast<int>(app->p_Button0(kIconsSlot, 100, 100, 0)); }};
    const int cases[][6] = {// test, pointer down, touch, x, y, hit
                            {0, 1, 3, 115, 131, 1}, {0, 1, 3, 116, 100, 0}, {0, 1, 3, 84, 100, 0},
                            {0, 1, 3, 100, 132, 0}, {0, 1, 3, 100, 68, 0},  {0, 0, 3, 100, 100, 0},
                            {1, 0, 3, 114, 109, 1}, {1, 0, 3, 115, 100, 0}, {1, 0, 3, 100, 90, 0},
                            {2, 0, 3, 44, 60, 0},   {2, 0, 3, 45, 45, 1},   {2, 0, 3, 161, 81, 1},
                            {2, 0, 3, 162, 60, 0},  {2, 0, 3, 60, 82, 0},   {2, 0, 3, 60, 44, 0},
                            {3, 1, 3, 100, 100, 0}, {3, 1, 0, 110, 110, 1}};
    for (const auto& c : cases) {
        app->m_mouseDown = c[1];
        for (int i = 0; i < 10; ++i) app->m_touchDown[i] = 0, app->m_touchX[i] = app->m_touchY[i] = kUnset;
        app->m_touchDown[c[2]] = 1, app->m_touchX[c[2]] = c[3], app->m_touchY[c[2]] = c[4];
        app->p_CLS2D();
        app->p_SetSize(1, 2);
        EXPECT_EQ(tests[c[0]](), c[5])
            << "test " << c[0] << " touch " << c[2] << " at " << c[3] << "," << c[4];
        EXPECT_EQ(app->m_drawCount, c[0] == 1 ? 0 : 15) << "test " << c[0] << " draws itself";
    }
    // The options gear: three wheels turning against each other, the rotation back to 0 after them.
    app->m_gearAngle = 50;
    app->p_CLS2D();
    app->p_Gear(400, 300);
    const std::vector<Cmd> wheels = Commands();
    EXPECT_EQ((Floats{wheels[0].rot, wheels[1].rot, wheels[2].rot, app->m_rot}), (Floats{-33, 16.5f, 50, 0}));
}
