// The frame through real frames of the game object: function keys, the latches, virtual keys, the loader
// and the device size, the start of each game type, the pause button, music and the pause, suspend and
// resume, the rates, the pointer, the boxes' slides, the loading screen, the render pass, missing files
// and frames that allocate nothing.
#include <GL/gl.h>
#include <unistd.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "media/audio.h"
#include "tests/common/pixels.h"
#include "tests/common/scratch.h"
#include "tests/game/myapp_fixture.h"

TEST_F(Game, F1AndF2ToggleTheDebugOverlayAndTheHudOncePerPress) {
    for (auto [key, flag] : {std::pair{112, &zk_Dravo_DebugMode}, {113, &app->m_hideHud}}) {
        const int was = *flag;
        Press(key);
        Frame();
        Frame();   // held: toggled once
        Release(key);
        EXPECT_EQ(*flag, 1 - was) << key;
    }
}

// The key latch holds while any latch action is down for any player, a held stick included; the touch
// latch while the pointer is down.
TEST_F(Game, LatchesHoldWhileAnInputOfTheirKindIsDown) {
    const int padB = kKeyJoyBase + 32 * 3 + 1;
    struct Case {
        const char* input;
        std::function<void(bool)> hold;
        int* latch;
    } const cases[] = {
        {"escape", [&](bool down) { down ? Press(27) : Release(27); }, &app->m_keyHeld},
        {"player 3's button B", [&](bool down) { down ? Press(padB) : Release(padB); }, &app->m_keyHeld},
        {"a stick held up", [&](bool down) { host->padPresent = true, host->padY = down ? 0.5f : 0; }, &app->m_keyHeld},
        {"a virtual key", [&](bool down) { app->m_vkeys[13] = down ? 2 : 0; }, &app->m_keyHeld},
        {"the pointer", [&](bool down) { down ? Tap(700, 500) : Untap(); }, &app->m_touchHeld},
    };
    for (const Case& c : cases) {
        *c.latch = 1;
        c.hold(true);
        Frame();
        Frame();
        EXPECT_EQ(*c.latch, 1) << c.input;
        c.hold(false);
        Frame();
        Frame();
        EXPECT_EQ(*c.latch, 0) << c.input;
    }
}

TEST_F(Game, AVirtualKeyOfOneLastsOneFrameAndTwoStays) {
    for (int value : {1, 2}) {
        app->m_vkeys[14] = value;
        EXPECT_EQ(app->p_PlayKey(14, 0, 0), 1);
        Frame();
        EXPECT_EQ(app->m_vkeys[14], value == 1 ? 0 : 2);
    }
    app->m_vkeys[14] = 0;
}

TEST_F(Game, TheOpenOptionsBoxSwallowsAFreshTapOnTheMenuBehindIt) {
    app->m_optionsOpen = 1;
    Frame();
    Tap(418, 504);   // the second carousel item
    Frame();
    Untap();
    EXPECT_EQ(app->m_menuSel, 1);
    app->m_optionsOpen = 0;
    for (int i = 0; i < 3; ++i) Frame();   // the box slides out over two updates, holding the latches
    EXPECT_EQ(app->m_keyHeld + app->m_touchHeld, 0);
}

TEST_F(Game, BackInTheMenuClosesTheCreditsBoxOncePerPress) {
    app->m_creditsOpen = 1;
    Press(27);
    Frame();
    EXPECT_EQ(app->m_creditsOpen, 0);
    app->m_creditsOpen = 1;   // reopened while escape is still held: the held press does not close it
    Frame();
    EXPECT_EQ(app->m_creditsOpen, 1);
    Release(27);
    Frame();
    Press(27);
    Frame();
    Release(27);
    EXPECT_EQ(app->m_creditsOpen, 0);
}

TEST_F(Game, LoaderRuns26UpdatesBeforeAnyModeWorkAndPlaysTheJingleOnItsFirstPassOnly) {
    const int cursor = app->m_channelCursor;
    app->p_Reload();
    app->m_mode = 11;   // a game waiting to start
    for (int i = 1; i <= 26; ++i) {
        Frame();
        ASSERT_EQ(app->m_mode, 11) << "mode work ran during loader update " << i;
    }
    Frame();
    EXPECT_EQ(app->m_mode, 10);
    EXPECT_EQ(app->m_channelCursor, cursor);
    EXPECT_EQ(GameEnvironment::jingleChannelMoves, 1);
    app->p_StopTune();
}

TEST_F(Game, DeviceSizeChangeRestartsTheLoaderOnce) {
    host->width = 1024;
    host->height = 768;
    Frame();
    EXPECT_EQ(app->m_loadStep, 1);   // the render saw the new size
    Frame();
    EXPECT_EQ(app->m_loadStep, 2);   // the same size again does not restart it
}

TEST_F(Game, EachGameTypeSetsItsClockAndTuneAndClearsThePools) {
    struct Case {
        int type, seconds;
        const char* tune;
    } const cases[] = {{1, 30, "30"}, {2, 20, "20"}, {3, 10, "10"}, {0, 30, nullptr}};
    for (const Case& c : cases) {
        app->m_gameType = c.type;
        app->m_mode = 11;
        app->m_score = app->m_gameOver = app->m_overTimer = 1;
        app->m_maxParticles = 7;
        app->m_objects[2500] = app->m_objects[2501] = 4;      // records up to 250 are cleared, no further
        app->m_particles[2500] = app->m_particles[2510] = 3;
        app->m_state[499] = app->m_state[500] = 1;
        host->audioPaths.clear();
        Frame();
        const std::vector<float> kept = {app->m_objects[2500], app->m_objects[2501], app->m_particles[2500],
                                         app->m_particles[2510], app->m_state[499], app->m_state[500]};
        EXPECT_EQ(kept, (std::vector<float>{0, 4, 0, 3, 0, 1})) << "type " << c.type;
        EXPECT_EQ(app->m_mode, 10);
        EXPECT_EQ(app->m_score + app->m_gameOver + app->m_overTimer, 0);
        EXPECT_EQ(app->m_maxParticles, 250);
        EXPECT_EQ(app->m_seconds, c.seconds);
        EXPECT_EQ(app->m_state[89], c.seconds * 60 + 59.0f);
        const std::vector<std::string> tunes = c.tune ? std::vector<std::string>{std::string("zanth://data/sfx/") + c.tune + ".ogg"}
                                                      : std::vector<std::string>{};
        EXPECT_EQ(host->audioPaths, tunes);
        EXPECT_EQ(app->m_musicPlaying, c.tune ? 1 : 0);
        app->m_objects[2501] = app->m_particles[2510] = app->m_state[500] = 0;
        app->p_StopTune();
    }
}

TEST_F(Game, MusicPausesAndResumesWithTheGame) {
    app->m_gameType = 1;
    app->m_mode = 11;
    Frame();
    ASSERT_EQ(zk_audio_device->MusicState(), 1);
    app->m_paused = app->m_pauseDir = 1;
    Frame();
    EXPECT_EQ(zk_audio_device->MusicState(), 2);
    app->m_paused = 0;
    Frame();
    EXPECT_EQ(zk_audio_device->MusicState(), 1);
    app->p_StopTune();
}

// At 800 x 600 the icon sheet's 64-pixel frames are drawn at half size: the button spans 0 to 32.
TEST_F(Game, ThePauseButtonIsTheIconsHalfSizeAroundTheCornerAndGoesWithTheHud) {
    struct Case {
        int x, y, hideHud, paused;
    } const cases[] = {{31, 1, 0, 1}, {32, 16, 0, 0}, {16, 32, 0, 0}, {16, 16, 1, 0}};
    app->m_gameType = 1;
    app->m_mode = 11;
    Frame();
    for (const Case& c : cases) {
        app->m_paused = 0;
        app->m_hideHud = c.hideHud;
        const int cursor = app->m_channelCursor;
        Tap(c.x, c.y);
        Frame();
        Untap();
        EXPECT_EQ(app->m_paused, c.paused) << c.x << "," << c.y << " hud " << c.hideHud;
        EXPECT_EQ(app->m_channelCursor, (cursor + c.paused) % 24) << "the pause sound";
        Frame();
    }
    Press(8);   // backspace pauses without the button
    Frame();
    Release(8);
    EXPECT_EQ(app->m_paused, 1);
    app->p_StopTune();
}

TEST_F(Game, SuspendAndResumeReleaseTheVirtualKeysAndPauseOnlyAGame) {
    struct Case {
        int mode, paused, pauseY;
    } const cases[] = {{10, 1, 300}, {1, 0, 0}};
    for (const Case& c : cases) {
        app->m_mode = c.mode;
        app->m_paused = 0;
        app->m_pauseY = 40;
        app->p_iCade(1);
        app->m_vkeys[3] = 2;
        host->SuspendGame();
        EXPECT_EQ(host->rate, 5);
        EXPECT_EQ(zk_Dravo_iCadeControls, 0);
        EXPECT_EQ(app->m_vkeys[3], 0);
        app->m_vkeys[5] = 2;
        app->m_pauseY = 40;
        host->ResumeGame();
        EXPECT_EQ(host->rate, 60);
        EXPECT_EQ(app->m_vkeys[5], 0);
        EXPECT_EQ(app->m_paused, c.paused) << "mode " << c.mode;
        EXPECT_EQ(app->m_pauseY, c.pauseY) << "mode " << c.mode;
    }
}

TEST_F(Game, RatesKeepTheirLastValueWhenTheClockStandsStill) {
    struct Case {
        std::function<void()> run;
        int* now;
    } const cases[] = {{[&] { host->UpdateGame(); }, &app->m_fpsNow}, {[&] { host->RenderGame(); }, &app->m_renderFpsNow}};
    for (const Case& c : cases) {
        c.run();
        host->millis += 20;
        c.run();
        EXPECT_EQ(*c.now, 50);
        c.run();   // no time passed: no division by zero
        EXPECT_EQ(*c.now, 50);
    }
}

TEST_F(Game, APressStartsWhereThePointerIsWithoutAJump) {
    host->MouseEvent(kEventMouseMove, 0, 100, 100);
    Frame();
    Tap(300, 200);
    Frame();
    EXPECT_EQ(app->m_mouseXOld, 300);   // not 100: the press starts here
    EXPECT_EQ(app->m_mouseYOld, 200);
    EXPECT_EQ(app->m_mouseHit, 1);
    EXPECT_EQ(app->m_touchX[0], 300);
    host->MouseEvent(kEventMouseMove, 0, 310, 200);
    Frame();
    EXPECT_EQ(app->m_mouseXOld, 300);   // a held pointer keeps its previous position
    EXPECT_EQ(app->m_mouseX, 310);
    EXPECT_EQ(app->m_mouseHit, 0);
    Untap();
    Frame();
    EXPECT_EQ(app->m_touchDown[0], 0);
    EXPECT_EQ(app->m_touchX[0], -3717);   // an up touch lies outside every button
}

TEST_F(Game, CreditsBoxSlidesOnlyInTheMenuAndTheOptionsBoxInEveryMode) {
    app->m_creditsOpen = 1;
    for (int i = 0; i < 40; ++i) Frame();
    EXPECT_EQ(app->m_creditsAnim, 30);
    app->m_creditsOpen = 0;
    Frame();
    EXPECT_EQ(app->m_creditsAnim, 29);
    app->m_creditsOpen = 1;
    app->m_mode = 10;   // outside the menu an open credits box only winds down
    app->m_paused = 1;
    Frame();
    EXPECT_EQ(app->m_creditsAnim, 28);
    app->m_optionsOpen = 1;
    Frame();
    EXPECT_EQ(app->m_optionsAnim, 1);
}

TEST_F(Game, MissingFilesLeaveEmptySlotsAndTheLoaderGoesOn) {
    host->audioPaths.clear();
    app->p_LoadSFX(42);
    EXPECT_EQ(app->m_sounds[42], nullptr);
    ASSERT_EQ(host->audioPaths.size(), 1u);
    EXPECT_EQ(host->audioPaths[0], "zanth://data/sfx/042.wav");
    app->p_LoadSFX(5);
    EXPECT_EQ(host->audioPaths[1], "zanth://data/sfx/005.wav");
    EXPECT_NE(app->m_sounds[5], nullptr);
    app->p_PlaySFX(42, 1);   // an empty slot plays nothing and does not fail

    // A whole pass with no data folder at all: every slot stays empty and loading still ends. The pass
    // runs in an empty folder of its own, so tests running beside this one keep their data folder.
    zk_test::ScratchDir empty("game-test-no-data");
    ASSERT_TRUE(empty.Enter());
    app->p_Reload();
    for (int i = 0; i < 26; ++i) Frame();
    ASSERT_TRUE(empty.Leave());
    EXPECT_EQ(app->m_loadStep, 0);
    EXPECT_EQ(app->m_images[1], nullptr);
    EXPECT_EQ(app->m_sounds[2], nullptr);
    app->p_Reload();
    GameEnvironment::FinishLoading();
    EXPECT_NE(app->m_images[1], nullptr);
}

TEST_F(Game, LoadingScreenShowsItsColoursLogoAndRing) {
    host->width = 800;
    host->height = 600;
    app->p_Reload();
    Frame();
    host->UpdateGame();
    host->RenderGame();   // the loading screen, still in the back buffer
    zk_test::Screenshot shot;
    auto at = [&](int x, int y) { return shot.at(x, y); };
    const unsigned char* corner = at(5, 5);
    EXPECT_NEAR(corner[0], 40, 2);
    EXPECT_NEAR(corner[1], 40, 2);
    EXPECT_NEAR(corner[2], 80, 2);
    const unsigned char* bar = at(20, 300);   // the orange band across the middle
    EXPECT_GT(bar[0], 150);
    EXPECT_LT(bar[2], 100);
    int yellow = 0, logo = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const unsigned char* p = at(x, y);
            if (p[0] > 200 && p[1] > 200 && p[2] < 90) ++yellow;   // the sun disc behind the logo
            if (x > 300 && x < 500 && y > 200 && y < 380 && std::abs(p[0] - p[2]) > 60) ++logo;
        }
    EXPECT_GT(yellow, 5000);
    EXPECT_GT(logo, 500);
    GameEnvironment::FinishLoading();
}

TEST_F(Game, FramesAllocateNothingFromTheCollectorOnceLoaded) {
    zk_Dravo_DebugMode = 1;   // the overlay's text too
    app->m_gameType = 3;
    app->m_mode = 11;
    Frame();                  // the start of a game may allocate (the tune); play frames must not
    const int bits = gc_markbit;
    const int before = gc_new_bytes;
    for (int i = 0; i < 120; ++i) {
        app->p_CLS2D(10, 20, 30, 1);
        app->p_Text(100, 100, String("Score 12345"), 1, 1);
        Frame();
    }
    EXPECT_EQ(gc_markbit, bits);   // no cycle completed in between
    EXPECT_EQ(gc_new_bytes, before);
    app->p_StopTune();
}

TEST_F(Game, ReplayDrawsInOrderToTheLastCommandThroughTheOverscanAndSkipsEmptySlots) {
    zk_Dravo_overscan = 40;   // 800 x 600: scale 0.9, offset (40, 30)
    app->p_CLS2D(0, 0, 0, 1);
    app->p_SetCol(255, 0, 0);
    app->p_Rect(0, 0, 100, 100);      // device (40, 30) to (130, 120)
    app->p_SetCol(0, 0, 255);
    app->p_Rect(50, 50, 100, 100);    // covers the red one from (85, 75) on
    app->p_DrawImg(55, 600, 100, 0);  // an empty slot
    app->p_DrawImg(-1, 600, 100, 0);  // not a slot
    app->p_SetCol(0, 255, 0);
    app->p_Oval(400, 300, 30, 30);    // the last command: centred at device (400, 300), radius 27
    host->RenderGame();
    zk_test::ExpectPixels({
        {35, 60, 0x000000},   // left of the overscan border
        {45, 60, 0xff0000}, {60, 25, 0x000000}, {60, 35, 0xff0000},
        {100, 100, 0x0000ff},   // later commands cover earlier ones
        {400, 300, 0x00ff00}, {420, 300, 0x00ff00}, {430, 300, 0x000000},
        {580, 130, 0x000000}, {620, 130, 0x000000},   // nothing for the empty slots
    });
    zk_Dravo_overscan = 0;
}
