// The controls through real frames: the action table, the iCade letters, the analogue control, the pointer.
#include <cmath>

#include "tests/game/myapp_fixture.h"

using Controls = Game;

// Each action's keys, the letters the iCade mode leaves out, its pad buttons and virtual keys, as seen by
// the keyboard alone, players 0, 1 and 3 and all four.
TEST_F(Controls, EveryRowOfTheActionTable) {
    const struct {
        int action;
        Ints keys, letters, buttons, vkeys;
    } rows[] = {{kActionUp, {38}, {87}, {9}, {0}},
                {kActionLeft, {37}, {65}, {8}, {3}},
                {kActionRight, {39}, {68}, {10}, {5}},
                {kActionDown, {40}, {83}, {11}, {8}},
                {kActionFire, {32, 13}, {90, 74}, {0}, {10}},
                {kActionFire2, {17}, {88, 75}, {1}, {11}},
                {kActionFire3, {16}, {67, 76}, {2}, {12}},
                {kActionButton4, {}, {86, 73}, {3}, {13}},
                {kActionLeftShoulder, {}, {66, 85}, {4}, {14}},
                {kActionRightShoulder, {}, {78, 79}, {5}, {15}},
                {kActionBack, {27, 46, 8}, {192}, {6, 7, 14}, {kVKeyICadeO, kVKeyICadeL, kVKeyBackHits}}};
    for (int icade = 0; icade <= 1; ++icade) {
        zk_Dravo_iCadeControls = icade;
        for (const auto& r : rows) {
            auto seen = [&] {
                return Ints{app->p_PlayKey(r.action, 0, -1), app->p_PlayKey(r.action, 0, 0),
                            app->p_PlayKey(r.action, 0, 1), app->p_PlayKey(r.action, 0, 3),
                            app->p_PlayKeyAll(r.action, 0)};
            };
            auto held = [&](int key, const Ints& want) {
                Press(key);
                EXPECT_EQ(seen(), want) << "action " << r.action << " iCade " << icade << " key " << key;
                Release(key);
            };
            EXPECT_EQ(seen(), Ints(5, 0));
            for (int key : r.keys) held(key, {1, 1, 1, 1, 4});
            for (int key : r.letters) held(key, icade ? Ints(5, 0) : Ints{1, 1, 1, 1, 4});
            for (int b : r.buttons) held(kKeyJoyBase + 32 + b, {0, 0, 1, 0, 1});   // player 1's pad
            const bool button = r.action >= kActionButton4 && r.action <= kActionRightShoulder;
            for (int v : r.vkeys) {
                app->m_vkeys[v] = 2;
                EXPECT_EQ(seen(), (Ints{icade && button ? 2 : 1, 1, 1, 1, 4})) << r.action << " vkey " << v;
                app->m_vkeys[v] = 0;
            }
        }
    }
    EXPECT_EQ(app->p_PlayKey(kActionUp, 0, -2), 0);   // no such player
    for (int v = 0; v < 20; ++v) app->m_vkeys[v] = 2;   // the iCade's back buttons, the back key's hits
    for (int notAction : {7, kVKeyICadeO, kVKeyICadeL, kVKeyBackHits})
        EXPECT_EQ(app->p_PlayKeyAll(notAction, 1), 0);
}

TEST_F(Controls, ICadeLettersHoldTheirActionUntilReleased) {
    const int controls[][3] = {{'W', 'E', kActionUp},           {'X', 'Z', kActionDown},
                               {'A', 'Q', kActionLeft},         {'D', 'C', kActionRight},
                               {'H', 'R', kActionFire},         {'J', 'N', kActionFire2},
                               {'K', 'P', kActionFire3},        {'Y', 'T', kActionButton4},
                               {'U', 'F', kActionLeftShoulder}, {'I', 'M', kActionRightShoulder},
                               {'O', 'G', kActionBack},         {'L', 'V', kActionBack}};
    StartGame(1);   // fire swings and back pauses: neither leaves the game
    app->p_iCade(1);
    for (auto [press, release, action] : controls) {   // each letter in either case
        for (int letter : {press + 32, release, press, release + 32}) {
            host->KeyEvent(kEventKeyChar, letter);
            Frame();
            EXPECT_EQ(app->p_PlayKey(action, 0, 0), letter == press || letter == press + 32) << char(letter);
        }
    }
    for (char letter : {'o', 'l', 'v'}) host->KeyEvent(kEventKeyChar, letter);
    Frame();
    EXPECT_EQ(app->p_PlayKey(kActionBack, 0, 0), 1) << "O holds back after L's release";
    host->KeyEvent(kEventKeyChar, 'i');
    app->p_iCade(1);
    Frame();
    EXPECT_EQ(app->p_PlayKey(kActionRightShoulder, 0, 0), 0) << "typed before the switch";
}

// The ramp: 0.15 a frame up to 1, eased back by 0.2 a frame; the debug dot is 52 pixels out at full.
TEST_F(Controls, HeldKeysRampTheAnalogueControlAndPointerTestsAreStrictAtTheirEdges) {
    const struct {
        int key;
        float *ramp, *stick, sign;
    } axes[] = {{kKeyUp, &app->m_keyRampY, &app->m_analogY, -1},
                {kKeyDown, &app->m_keyRampY, &app->m_analogY, 1},
                {kKeyLeft, &app->m_keyRampX, &app->m_analogX, -1},
                {kKeyRight, &app->m_keyRampX, &app->m_analogX, 1}};
    for (const auto& a : axes) {
        Floats got;   // the stick after 3 and 13 frames held, the ramp and the stick after the release
        Press(a.key);
        for (int i = 1; i <= 13; ++i)
            if (app->p_AnalogueControl(), i == 3 || i == 13) got.push_back(*a.stick);
        Release(a.key), app->p_AnalogueControl();
        got.push_back(*a.ramp), got.push_back(*a.stick);
        const Floats want = {0.45f, 1, 0.8f, 0.8f};
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(a.sign * got[i], want[i], 1e-5) << a.key << " " << i;
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
        Floats marks;
        for (const Cmd& c : Commands()) marks.insert(marks.end(), {c.x, c.y, c.w});
        EXPECT_EQ(marks, (moved ? Floats{736, 536, 12, 736 + 52 * pad[0], 536 - 52 * pad[1], 8} : Floats{}));
    }
    // A 64-pixel icon at half scale, size 1 x 2, at (100, 100): 32 x 64; a 30 x 20 centred box; a 100 x 20 touch
    // area at (50, 50), margins 6 before, 12 after. Each row: test, pointer down, touch point, x, y, hit.
    app->m_drawScale = 0.5f;
    app->m_imageInfo[kIconsSlot * 3] = app->m_imageInfo[kIconsSlot * 3 + 1] = 64;
    const std::function<int()> tests[] = {[&] { return app->p_Button(kIconsSlot, 100, 100, 0); },
                                          [&] { return app->p_MouseIn_Centered(100, 100, 30, 20); },
                                          [&] { return app->p_Touch(50, 50, 100, 20); },
                                          [&] { return int(app->p_Button0(kIconsSlot, 100, 100, 0)); }};
    const int cases[][6] = {{0, 1, 3, 115, 131, 1}, {0, 1, 3, 116, 100, 0}, {0, 1, 3, 84, 100, 0},
                            {0, 1, 3, 100, 132, 0}, {0, 1, 3, 100, 68, 0},  {0, 0, 3, 100, 100, 0},
                            {1, 0, 3, 114, 109, 1}, {1, 0, 3, 115, 100, 0}, {1, 0, 3, 100, 90, 0},
                            {2, 0, 3, 44, 60, 0},   {2, 0, 3, 45, 45, 1},   {2, 0, 3, 161, 81, 1},
                            {2, 0, 3, 162, 60, 0},  {2, 0, 3, 60, 82, 0},   {2, 0, 3, 60, 44, 0},
                            {3, 1, 3, 100, 100, 0}, {3, 1, 1, 110, 110, 0}, {3, 1, 0, 110, 110, 1}};
    for (const auto& c : cases) {
        app->m_mouseDown = c[1];
        for (int i = 0; i < 10; ++i) app->m_touchDown[i] = 0, app->m_touchX[i] = app->m_touchY[i] = kUnset;
        app->m_touchDown[c[2]] = 1, app->m_touchX[c[2]] = c[3], app->m_touchY[c[2]] = c[4];
        app->p_CLS2D();
        app->p_SetSize(1, 2);
        EXPECT_EQ(tests[c[0]](), c[5]) << "row " << &c - cases;
        EXPECT_EQ(app->m_drawCount, c[0] == 1 ? 0 : 15) << "test " << c[0];
    }
    app->m_gearAngle = 50;   // the gear's three wheels turn against each other; rotation 0 after them
    app->p_CLS2D();
    app->p_Gear(400, 300);
    const std::vector<Cmd> wheels = Commands();
    EXPECT_EQ((Floats{wheels[0].rot, wheels[1].rot, wheels[2].rot, app->m_rot}), (Floats{-33, 16.5f, 50, 0}));
}

// The drag over 72 pixels is the stick, centred below a tenth; an anchor more than 64 away follows by 4 a
// frame (clamped in row 3; 64 away in row 6 it stays). Each row: pointer down, x, y; then the analogue x, y
// and the anchor x, y.
TEST_F(Controls, ADraggedPointerIsAStickAroundWhereItWasPressedAndThePadStickGivesDirections) {
    app->m_stickAnchorX = -1;
    const Floats cases[] = {
        {1, 100, 100, 0, 0, 100, 100},         {1, 136, 100, 0.5f, 0, 100, 100},
        {1, 200, 30, 1, -70 / 72.0f, 104, 96}, {1, 110, 100, 0, 0, 104, 96},
        {1, 115, 96, 11 / 72.0f, 0, 104, 96},  {1, 168, 32, 64 / 72.0f, -64 / 72.0f, 104, 96},
        {1, 104, 296, 0, 1, 104, 100},         {0, 300, 300, 0, 0, -1, 100},
        {1, 300, 300, 0, 0, 300, 300}};
    for (const Floats& c : cases) {
        app->p_CLS2D();
        app->m_mouseDown = int(c[0]), app->m_mouseX = int(c[1]), app->m_mouseY = int(c[2]);
        app->p_AnalogueControl();
        EXPECT_EQ((Floats{c[0], c[1], c[2], app->m_analogX, app->m_analogY, float(app->m_stickAnchorX),
                          float(app->m_stickAnchorY)}),
                  c);
        Floats marks;
        for (const Cmd& m : Commands()) marks.insert(marks.end(), {m.x, m.y, m.w});
        EXPECT_EQ(marks, (c[0] ? Floats{c[5], c[6], 12, c[1], c[2], 8} : Floats{}));
    }
    // Each row: the stick; then up, left, right, down as directions of player 0 with analogue input asked for.
    host->padPresent = true;
    const float pads[][6] = {{0, 0.41f, 1, 0, 0, 0},  {0, 0.4f, 0, 0, 0, 0},  {-0.5f, 0, 0, 1, 0, 0},
                             {0.5f, 0, 0, 0, 1, 0},   {0, -0.5f, 0, 0, 0, 1}, {-0.4f, -0.4f, 0, 0, 0, 0},
                             {0.4f, 0.4f, 0, 0, 0, 0}};
    for (const auto& c : pads) {
        host->padX = c[0], host->padY = c[1];
        Frame();
        auto seen = [&](int action) { return float(app->p_PlayKey(action, 1, 0)); };
        const Floats got = {seen(kActionUp), seen(kActionLeft), seen(kActionRight), seen(kActionDown)};
        EXPECT_EQ(got, Floats(c + 2, c + 6)) << c[0] << "," << c[1];
        EXPECT_EQ(app->p_PlayKey(kActionUp, 0, 0) + app->p_PlayKey(kActionUp, 1, 1), 0);
        const Floats sticks = {app->p_StickX(0, 0), app->p_StickY(0, 0), app->p_StickX(0, -1),
                               app->p_StickY(0, -1)};
        EXPECT_EQ(sticks, (Floats{c[0], -c[1], 0, 0}));
    }
    zk_Dravo_iCadeControls = 1;
    EXPECT_EQ(app->p_PlayKey(kActionLeft, 1, 0), 0);
}
