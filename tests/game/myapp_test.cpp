// The frame of the game object through real frames.
#include "tests/game/myapp_fixture.h"

TEST_F(Game, LatchesHoldWhileAnInputOfTheirKindIsDownAndAVirtualKeyOfOneLastsOneFrame) {
    const int padB = kKeyJoyBase + 32 * 3 + 1;
    const std::pair<std::function<void(bool)>, int*> cases[] = {
        {[&](bool down) { down ? Press(padB) : Release(padB); }, &app->m_keyHeld},
        {[&](bool down) { host->padPresent = true, host->padY = down ? 0.5f : 0; }, &app->m_keyHeld},
        {[&](bool down) { app->m_vkeys[kActionButton4] = down ? 2 : 0; }, &app->m_keyHeld},
        {[&](bool down) { down ? Tap(700, 500) : Untap(); }, &app->m_touchHeld},
    };
    for (int i = 0; i < 4; ++i) {
        *cases[i].second = 1;
        for (bool down : {true, false}) {
            cases[i].first(down);
            Frame(), Frame();
            EXPECT_EQ(*cases[i].second, down) << "case " << i;
        }
    }
    for (int value : {1, 2}) {
        app->m_vkeys[kActionLeftShoulder] = value;
        EXPECT_EQ(app->p_PlayKey(kActionLeftShoulder, 0, 0), 1);
        Frame();
        EXPECT_EQ(app->m_vkeys[kActionLeftShoulder], value == 1 ? 0 : 2);
    }
}

TEST_F(Game, LoaderRuns26UpdatesBeforeAnyModeWorkPlaysTheJingleOnItsFirstPassOnlyAndRatesKeepWithoutTime) {
    const int cursor = app->m_channelCursor;
    app->p_Reload();
    app->m_mode = 11;   // a game waiting to start
    for (int i = 1; i <= 27; ++i) {
        Frame();
        ASSERT_EQ(app->m_mode, i <= 26 ? 11 : 10) << "mode work only after the loader's 26 updates: " << i;
    }
    EXPECT_EQ((Ints{app->m_channelCursor - cursor, GameEnvironment::jingleChannelMoves}), (Ints{0, 1}));
    const std::pair<std::function<void()>, int*> cases[] = {
        {[&] { host->UpdateGame(); }, &app->m_fpsNow}, {[&] { host->RenderGame(); }, &app->m_renderFpsNow}};
    for (const auto& [run, now] : cases) {
        run(), host->millis += 20, run();
        EXPECT_EQ(*now, 50);
        run();   // no time passed: no division by zero
        EXPECT_EQ(*now, 50);
    }
}

TEST_F(Game, EachGameTypeSetsItsClockAndTuneAndClearsThePoolsAndFramesAllocateNothingOnceLoaded) {
    for (auto [type, seconds] : {std::pair{1, 30}, {2, 20}, {3, 10}, {0, 30}}) {   // type 0: no tune
        app->m_score = app->m_gameOver = app->m_maxParticles = 7;
        app->m_objects[2500] = app->m_objects[2501] = 4;   // records up to 250 are cleared, no further
        app->m_particles[2500] = app->m_particles[2510] = 3;
        app->m_state[kLastStateEntry] = app->m_state[kLastStateEntry + 1] = 1;
        host->audioPaths.clear();
        StartGame(type);
        const Floats kept = {app->m_objects[2500],          app->m_objects[2501],
                             app->m_particles[2500],        app->m_particles[2510],
                             app->m_state[kLastStateEntry], app->m_state[kLastStateEntry + 1]};
        EXPECT_EQ(kept, (Floats{0, 4, 0, 3, 0, 1})) << "type " << type;
        EXPECT_EQ((Ints{app->m_score, app->m_gameOver, app->m_maxParticles}), (Ints{0, 0, 250}));
        EXPECT_EQ(app->m_state[kStateTimer], seconds * 60 + 59.0f);
        const std::string tune = "zanth://data/sfx/" + std::to_string(seconds) + ".ogg";
        EXPECT_EQ(host->audioPaths, type ? std::vector<std::string>{tune} : std::vector<std::string>{});
        app->p_StopTune();
    }
    zk_Dravo_DebugMode = 1;
    StartGame(3);   // the start of a game may allocate (the tune); play frames must not
    const int bits = gc_markbit, before = gc_new_bytes;
    for (int i = 0; i < 120; ++i) {
        app->p_CLS2D(10, 20, 30, 1);
        app->p_Text(100, 100, String("Score 12345"), 1, 1);
        Frame();
    }
    EXPECT_TRUE(gc_markbit == bits && gc_new_bytes == before);   // no cycle completed in between
    Update();   // no render after it: the rate it shows is the current one
    const std::vector<Line> lines = Text();
    EXPECT_EQ(lines.back().text, std::to_string(app->m_renderFps) + ":1.0,1.0");
    EXPECT_EQ(lines.back().y, 584 + 5);
}

// At 800 x 600 the icon sheet's 64-pixel frames are drawn at half size: the button spans 0 to 32.
TEST_F(Game, ThePauseButtonIsTheIconsHalfSizeAroundTheCornerAndSuspendAndResumePauseOnlyAGame) {
    StartGame(1);
    const int cases[][4] = {{31, 1, 0, 1}, {32, 16, 0, 0}, {16, 32, 0, 0}, {16, 16, 1, 0}};
    for (auto [x, y, hideHud, paused] : cases) {
        app->m_paused = 0, app->m_hideHud = hideHud;
        const int cursor = app->m_channelCursor;
        Click(x, y);
        EXPECT_EQ((Ints{app->m_paused, app->m_channelCursor}), (Ints{paused, (cursor + paused) % 24}))
            << x << "," << y;
    }
    for (int mode : {10, 1}) {
        app->m_mode = mode, app->m_paused = 0, app->m_vkeys[kActionLeft] = 2;
        app->p_iCade(1);
        host->SuspendGame();
        EXPECT_TRUE(host->rate == 5 && zk_Dravo_iCadeControls + app->m_vkeys[kActionLeft] == 0);
        app->m_vkeys[kActionRight] = 2, app->m_pauseY = 40;
        host->ResumeGame();
        EXPECT_TRUE(host->rate == 60 && app->m_vkeys[kActionRight] == 0);
        EXPECT_EQ((Ints{app->m_paused, app->m_pauseY}), (Ints{mode == 10, mode == 10 ? 300 : 0})) << mode;
    }
}
