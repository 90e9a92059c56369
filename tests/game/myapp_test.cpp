// The game object through real frames: function keys, latches, the loader and the device size, the start
// of a game, suspend and resume, the controls, the drawing layer and text, and the resources.
#include <GL/gl.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/common/pixels.h"
#include "tests/common/scratch.h"
#include "tests/game/myapp_fixture.h"

namespace {

// The image commands of the display list as (frame, x, y), for text layout checks.
struct Glyph {
    int frame;
    float x, y;
};
std::vector<Glyph> glyphs(c_MyApp* app, int from) {
    std::vector<Glyph> out;
    for (int n = from; n < app->m_drawCount; n += 15)
        out.push_back({static_cast<int>(app->m_drawList[n + 6]), app->m_drawList[n + 1], app->m_drawList[n + 2]});
    return out;
}

String text_of(std::initializer_list<Char> units) { return String(units.begin(), static_cast<int>(units.size())); }

}  // namespace

// --- the frame ------------------------------------------------------------------------------------

TEST_F(Game, FunctionKeysToggleDebugOverlayAndHud) {
    Press(112);
    Frame();
    Release(112);
    EXPECT_EQ(zk_Dravo_DebugMode, 1);
    Frame();
    EXPECT_EQ(zk_Dravo_DebugMode, 1);   // a held key toggles once
    Press(112);
    Frame();
    Release(112);
    EXPECT_EQ(zk_Dravo_DebugMode, 0);
    Press(113);
    Frame();
    Release(113);
    EXPECT_EQ(app->m_hideHud, 1);
}

TEST_F(Game, KeyLatchHoldsAPauseUntilEveryActionIsReleased) {
    app->m_mode = 11;
    app->m_gameType = 3;
    Frame();
    Press(27);   // escape: pause
    Frame();
    EXPECT_EQ(app->m_paused, 1);
    EXPECT_EQ(app->m_keyHeld, 1);
    Frame();
    EXPECT_EQ(app->m_keyHeld, 1);
    Release(27);
    Frame();
    EXPECT_EQ(app->m_keyHeld, 0);
}

TEST_F(Game, TouchLatchHoldsAPauseButtonPressUntilThePointerIsReleased) {
    app->m_mode = 11;
    Frame();
    Tap(16, 16);   // the pause button in the top-left corner
    Frame();
    EXPECT_EQ(app->m_paused, 1);
    EXPECT_EQ(app->m_touchHeld, 1);
    Frame();
    EXPECT_EQ(app->m_touchHeld, 1);
    Untap();
    Frame();
    EXPECT_EQ(app->m_touchHeld, 0);
}

TEST_F(Game, HiddenHudHasNoPauseButtonButThePauseKeyWorks) {
    app->m_mode = 10;
    app->m_hideHud = 1;
    Tap(16, 16);
    Frame();
    Untap();
    EXPECT_EQ(app->m_paused, 0);
    Press(8);   // backspace
    Frame();
    Release(8);
    EXPECT_EQ(app->m_paused, 1);
}

TEST_F(Game, OptionsBoxSwallowsEveryFreshPressBehindIt) {
    app->m_optionsOpen = 1;
    Frame();
    EXPECT_EQ(app->m_keyHeld, 1);
    EXPECT_EQ(app->m_touchHeld, 1);
    app->m_optionsOpen = 0;
    Frame();   // the box slides out over the one update it was in, still holding the latches
    Frame();
    EXPECT_EQ(app->m_keyHeld, 0);
    EXPECT_EQ(app->m_touchHeld, 0);
}

TEST_F(Game, LoaderRuns26UpdatesBeforeAnyModeWork) {
    const int cursor = app->m_channelCursor;
    app->p_Reload();
    app->m_mode = 11;   // a game waiting to start
    for (int i = 1; i <= 26; ++i) {
        Frame();
        ASSERT_EQ(app->m_mode, 11) << "mode work ran during loader update " << i;
    }
    EXPECT_EQ(app->m_loadStep, 0);
    Frame();
    EXPECT_EQ(app->m_mode, 10);
    EXPECT_EQ(app->m_channelCursor, cursor);   // no jingle on a later pass
    EXPECT_EQ(GameEnvironment::jingleChannelMoves, 1);   // ... but on the first one
}

TEST_F(Game, DeviceSizeChangeRestartsTheLoaderOnce) {
    host->width = 1024;
    host->height = 768;
    Frame();
    EXPECT_EQ(app->m_loadStep, 1);   // the render saw the new size
    Frame();
    EXPECT_EQ(app->m_loadStep, 2);   // the same size again does not restart it
    GameEnvironment::FinishLoading();
    EXPECT_EQ(app->m_hdScale, 2);
}

TEST_F(Game, TwentySecondGameTimerAndTune) {
    app->m_gameType = 2;
    app->m_mode = 11;
    host->audioPaths.clear();
    Frame();
    EXPECT_EQ(app->m_mode, 10);
    EXPECT_EQ(app->m_seconds, 20);
    EXPECT_EQ(app->m_state[89], 1259.0f);
    EXPECT_EQ(app->m_musicPlaying, 1);
    ASSERT_FALSE(host->audioPaths.empty());
    EXPECT_EQ(host->audioPaths.back(), "zanth://data/sfx/20.ogg");
    for (int n = 0; n <= 10; ++n) {   // scenery records: kind 0..3, speed 0.2..0.75
        EXPECT_GE(app->m_scenery[n * 10], 0);
        EXPECT_LE(app->m_scenery[n * 10], 3);
        EXPECT_GE(app->m_scenery[n * 10 + 3], 0.2f);
        EXPECT_LT(app->m_scenery[n * 10 + 3], 0.75f);
    }
    app->p_StopTune();
}

TEST_F(Game, SuspendDuringAGameComesBackPausedButNotInTheMenu) {
    app->m_mode = 10;
    host->SuspendGame();
    EXPECT_EQ(host->rate, 5);
    host->ResumeGame();
    EXPECT_EQ(host->rate, 60);
    EXPECT_EQ(app->m_paused, 1);
    EXPECT_EQ(app->m_pauseY, static_cast<int>(zk_Dravo_jscrh * 0.5f));
    app->m_mode = 1;
    app->m_paused = 0;
    host->SuspendGame();
    host->ResumeGame();
    EXPECT_EQ(app->m_paused, 0);
}

// --- controls -------------------------------------------------------------------------------------

TEST_F(Game, ActionTableAcrossKeysPlayersAndSticks) {
    Press(87);   // W
    Press(38);   // up arrow
    EXPECT_EQ(app->p_PlayKey(0, 0, 0), 1);
    EXPECT_EQ(app->p_PlayKeyAll(0, 0), 4);   // every player's row holds the keyboard
    EXPECT_EQ(app->p_PlayKey(0, 0, -1), 1);
    EXPECT_EQ(app->p_PlayKey(0, 0, -2), 0);
    EXPECT_EQ(app->p_PlayKey(7, 0, 0), 0);   // no such action
    Release(87);
    Release(38);
    EXPECT_EQ(app->p_PlayKey(0, 0, 0), 0);

    host->padPresent = true;
    host->padY = 0.4f;   // exactly 0.4 is not a press
    Frame();
    EXPECT_EQ(app->p_PlayKey(0, 1, 0), 0);
    host->padY = 0.41f;
    Frame();
    EXPECT_EQ(app->p_PlayKey(0, 1, 0), 1);
    EXPECT_EQ(app->p_PlayKey(0, 0, 0), 0);   // the stick counts only when analogue input is asked for
    EXPECT_FLOAT_EQ(app->p_StickY(0, 0), -0.41f);
    EXPECT_EQ(app->p_StickY(0, -1), 0.0f);

    host->padY = 0;
    host->padX = 0.2f;   // the analogue control ignores exactly 0.2
    Frame();
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_analogX, 0.0f);
    host->padX = 0.25f;
    Frame();
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->m_analogX, 0.25f);

    Press(kKeyJoyBase + 32 * 2 + 7);   // player 2's start button: back / pause
    EXPECT_EQ(app->p_PlayKey(99, 0, 2), 1);
    EXPECT_EQ(app->p_PlayKey(99, 0, 1), 0);
    EXPECT_EQ(app->p_PlayKey(99, 0, -1), 0);
}

TEST_F(Game, ICadeLettersHoldVirtualKeysUntilTheirReleaseLetter) {
    app->p_iCade(1);
    host->KeyEvent(kEventKeyChar, 'w');
    Frame();
    EXPECT_EQ(app->m_vkeys[0], 2);
    EXPECT_EQ(app->p_PlayKey(0, 0, 0), 1);
    Frame();
    EXPECT_EQ(app->p_PlayKey(0, 0, 0), 1);   // held across frames
    host->KeyEvent(kEventKeyChar, 'E');
    Frame();
    EXPECT_EQ(app->p_PlayKey(0, 0, 0), 0);
    Press(87);   // the W key itself no longer means up
    EXPECT_EQ(app->p_PlayKey(0, 0, 0), 0);
    Release(87);
    host->KeyEvent(kEventKeyChar, 'y');   // button Y: action 13, read as its value by the keyboard player
    Frame();
    EXPECT_EQ(app->p_PlayKey(13, 0, -1), 2);
    EXPECT_EQ(app->p_PlayKey(13, 0, 0), 1);
    host->KeyEvent(kEventKeyChar, 'o');   // button O counts as back
    Frame();
    EXPECT_EQ(app->p_PlayKeyAll(99, 1), 4);
    app->p_iCade(0);
    EXPECT_EQ(app->m_vkeys[13], 0);
}

TEST_F(Game, HeldKeysRampTheAnalogueControlAndReleaseEasesBack) {
    app->m_keyRampY = 0;
    Press(38);
    for (int i = 0; i < 3; ++i) app->p_AnalogueControl();
    EXPECT_NEAR(app->m_analogY, -0.45f, 1e-5);
    for (int i = 0; i < 10; ++i) app->p_AnalogueControl();
    EXPECT_EQ(app->m_analogY, -1.0f);   // clamped
    Release(38);
    app->p_AnalogueControl();
    EXPECT_NEAR(app->m_keyRampY, -0.8f, 1e-5);
    for (int i = 0; i < 5; ++i) app->p_AnalogueControl();
    EXPECT_EQ(app->m_keyRampY, 0.0f);   // eased back without overshooting
}

TEST_F(Game, PointerTestsAreStrictAndTouchHasItsMargins) {
    app->m_mouseDown = 1;
    app->m_drawScale = 1;
    app->m_sizeX = app->m_sizeY = 1;
    app->m_imageInfo[97 * 3] = app->m_imageInfo[97 * 3 + 1] = 32;
    for (int i = 0; i < 10; ++i) app->m_touchDown[i] = 0, app->m_touchX[i] = app->m_touchY[i] = -3717;
    app->m_touchDown[3] = 1;
    app->m_touchX[3] = 116;   // the edge of a 32-wide button at 100
    app->m_touchY[3] = 100;
    EXPECT_EQ(app->p_Button(97, 100, 100, 0), 0);
    app->m_touchX[3] = 115;
    EXPECT_EQ(app->p_Button(97, 100, 100, 0), 1);
    EXPECT_EQ(app->m_k, 1);
    EXPECT_EQ(app->p_MouseIn_Centered(100, 100, 32, 32), 1);
    EXPECT_EQ(app->p_MouseIn_Centered(100, 100, 30, 32), 0);
    // A 100 x 20 rectangle at (50, 50) accepts x from 44 to 162 and y from 44 to 82, exclusive.
    const int xs[] = {44, 45, 161, 162}, ok_x[] = {0, 1, 1, 0};
    for (int i = 0; i < 4; ++i) {
        app->m_touchX[3] = xs[i];
        app->m_touchY[3] = 60;
        EXPECT_EQ(app->p_Touch(50, 50, 100, 20), ok_x[i]) << "x " << xs[i];
    }
    app->m_touchX[3] = 60;
    app->m_touchY[3] = 81;
    EXPECT_EQ(app->p_Touch(50, 50, 100, 20), 1);
    app->m_touchY[3] = 82;
    EXPECT_EQ(app->p_Touch(50, 50, 100, 20), 0);
    app->m_touchDown[3] = 0;
    app->m_touchX[3] = app->m_touchY[3] = -3717;   // an up touch lies outside every button
    EXPECT_EQ(app->p_Button(97, 100, 100, 0), 0);
}

// --- drawing layer --------------------------------------------------------------------------------

TEST_F(Game, RenderScalesTheDesignScreenToTheWindow) {
    struct Case {
        int w, h;
        float scale, jw, jh;
        int landscape;
    };
    const Case cases[] = {{1600, 1200, 2, 800, 600, 1}, {1600, 900, 2, 800, 450, 1}, {800, 1000, 1000 / 600.0f, 480, 600, 0}};
    for (const Case& c : cases) {
        host->width = c.w;
        host->height = c.h;
        host->RenderGame();
        EXPECT_FLOAT_EQ(app->m_scaleX, c.scale) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(app->m_scaleY, c.scale);
        EXPECT_FLOAT_EQ(zk_Dravo_jscrw, c.jw);
        EXPECT_FLOAT_EQ(zk_Dravo_jscrh, c.jh);
        EXPECT_EQ(app->m_landscape, c.landscape);
    }
    host->width = 1600;
    host->height = 1200;
    zk_Dravo_overscan = 64;
    host->RenderGame();
    EXPECT_FLOAT_EQ(app->m_scaleX, 1.84f);
    EXPECT_FLOAT_EQ(zk_Dravo_jscrw, 800);
    // The pointer maps back through the overscan: device (64 + 184, 48 + 92) is design (100, 50).
    host->MouseEvent(kEventMouseMove, 0, 64 + 184, 48 + 92);
    host->UpdateGame();
    EXPECT_EQ(app->m_mouseX, 100);
    EXPECT_EQ(app->m_mouseY, 50);
}

TEST_F(Game, TextLayoutCentresMeasuresBreaksLinesAndDrawsIcons) {
    app->p_CLS2D();
    const int saved_w = app->m_imageInfo[90 * 3], saved_h = app->m_imageInfo[90 * 3 + 1];
    app->m_imageInfo[90 * 3] = 16;
    app->m_imageInfo[90 * 3 + 1] = 10;
    app->p_Text(100, 50, String("ab"), 1, 1);
    std::vector<Glyph> g = glyphs(app, 0);
    ASSERT_EQ(g.size(), 2u);   // the leading space draws nothing
    EXPECT_EQ(g[0].frame, 'a' - 32);
    EXPECT_FLOAT_EQ(g[0].x, 100);
    EXPECT_FLOAT_EQ(g[0].y, 50);
    EXPECT_FLOAT_EQ(g[1].x, 116);

    app->p_CLS2D();
    app->p_Text(100, 50, String("a\\nb"), 0, 0);   // backslash and n: a line break
    g = glyphs(app, 0);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_FLOAT_EQ(g[1].x, 100);   // the space's advance starts every line
    EXPECT_FLOAT_EQ(g[1].y, g[0].y + 10);

    app->p_CLS2D();
    app->m_controlStyle = 0;
    app->p_Text(0, 0, text_of({0xAC, 'J'}), 0, 0);
    app->m_controlStyle = 1;
    app->p_Text(0, 0, text_of({0xAC, 'J', 'w'}), 0, 0);
    app->p_Text(0, 0, text_of({'x', 0xAC}), 0, 0);   // an escape at the end draws nothing, reads nothing more
    g = glyphs(app, 0);
    ASSERT_EQ(g.size(), 4u);
    EXPECT_EQ(g[0].frame, 112);
    EXPECT_EQ(g[1].frame, 96);
    EXPECT_FLOAT_EQ(g[2].x - g[1].x, 16 + 4);   // an icon advances by its own adjustment
    EXPECT_EQ(g[3].frame, 'x' - 32);

    app->p_CLS2D();
    app->m_sizeX = 2;
    app->p_SetRot(90);   // clockwise: the text runs downward
    app->p_Text(0, 0, String("ab"), 0, 1);
    g = glyphs(app, 0);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_NEAR(g[1].y - g[0].y, 32, 1e-3);
    EXPECT_NEAR(g[1].x - g[0].x, 0, 1e-3);
    app->m_imageInfo[90 * 3] = saved_w;
    app->m_imageInfo[90 * 3 + 1] = saved_h;
}

TEST_F(Game, NumbersRightAlignAndTheListHolds2500Commands) {
    EXPECT_TRUE(app->p_rstr(42, 6, String("0")) == String("000042"));
    EXPECT_TRUE(app->p_rstr(1234567, 3, String("0")) == String("567"));
    EXPECT_TRUE(app->p_rstr(7, 0, String(" ")) == String(" 7"));
    app->p_CLS2D();
    for (int i = 0; i < 2600; ++i) app->p_Rect(0, 0, 1, 1);
    EXPECT_EQ(app->m_drawCount, 37500);
    app->p_Oval(1, 1, 1, 1);
    app->p_DrawImg(1, 1, 1, 0);
    EXPECT_EQ(app->m_drawCount, 37500);
    app->p_CLS2D();
    EXPECT_EQ(app->m_drawCount, 0);
}

// --- resources ------------------------------------------------------------------------------------

TEST_F(Game, ArtScaleFollowsTheLargerSide) {
    struct Case {
        int w, h, scale;
        const char* menu;
    };
    const Case cases[] = {{630, 630, 1, "menu.png"}, {640, 480, 2, "menu-hd.png"}, {1230, 100, 2, "menu-hd.png"},
                          {100, 1231, 4, "menu-hd2.png"}};
    for (const Case& c : cases) {
        host->width = c.w;
        host->height = c.h;
        zk_app_ValidateDeviceWindow(false);
        app->p_ArtScale();
        EXPECT_EQ(app->m_hdScale, c.scale) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(app->m_drawScale, 1.0f / c.scale);
        EXPECT_EQ(app->p_ArtName(String("menu")).ToUtf8(), c.menu);
    }
}

TEST_F(Game, EffectsRotateOverTwentyFourChannelsAndFollowTheSoundMode) {
    app->m_channelCursor = 0;
    app->p_PlaySFX(99, 1);
    EXPECT_EQ(app->m_channels[app->m_channelCursor], 1);
    for (int i = 2; i <= 23; ++i) app->p_PlaySFX(99, 1);
    EXPECT_EQ(app->m_channelCursor, 23);
    app->p_PlaySFX(99, 1);
    EXPECT_EQ(app->m_channelCursor, 0);
    app->p_PlaySFX(99, 1);
    EXPECT_EQ(app->m_channelCursor, 1);

    app->m_options[5] = 3;   // music only: effects do nothing, not even move the cursor
    app->p_PlaySFX(99, 1);
    EXPECT_EQ(app->m_channelCursor, 1);
    app->p_PlayTune(String("10"), 0);
    EXPECT_EQ(app->m_musicPlaying, 1);
    app->m_options[5] = 2;   // effects only: a new tune stops the old one and starts none
    app->p_PlayTune(String("10"), 0);
    EXPECT_EQ(app->m_musicPlaying, 0);
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

    app->p_ArtScale();
    app->p_LoadImg(50, String("no-such-sheet"), 10, 20, 3, 1);
    EXPECT_EQ(app->m_images[50], nullptr);
    EXPECT_EQ(app->m_imageInfo[150], 10 * app->m_hdScale);
    EXPECT_EQ(app->m_imageInfo[152], 3);

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

// --- more of the frame -------------------------------------------------------------------------------

TEST(GameObject, ConstructionZeroesEveryFieldButThePoolLimits) {
    c_MyApp* fresh = new c_MyApp();   // not registered: only the constructor runs
    EXPECT_EQ(fresh->m_maxParticles, 250);
    EXPECT_EQ(fresh->m_maxStars, 100);
    const int ints[] = {fresh->m_mode,      fresh->m_loadStep,   fresh->m_gameType,  fresh->m_paused,
                        fresh->m_pauseDir,  fresh->m_keyHeld,    fresh->m_touchHeld, fresh->m_drawCount,
                        fresh->m_channelCursor, fresh->m_stickAnchorX, fresh->m_fontSlot, fresh->m_hdScale,
                        fresh->m_musicPlaying, fresh->m_score,  fresh->m_teeFrame,  fresh->m_wingFrame};
    for (int v : ints) EXPECT_EQ(v, 0);
    EXPECT_EQ(fresh->m_sizeX, 0.0f);
    EXPECT_EQ(fresh->m_scaleX, 0.0f);
    EXPECT_EQ(fresh->m_drawScale, 0.0f);
    struct Sized {
        int length, expected;
    };
    const Sized sizes[] = {{fresh->m_images.Length(), 100},    {fresh->m_imageInfo.Length(), 300},
                           {fresh->m_badgePopId.Length(), 15}, {fresh->m_badgePopTime.Length(), 15},
                           {fresh->m_badges.Length(), 256},    {fresh->m_vkeys.Length(), 20},
                           {fresh->m_options.Length(), 25},    {fresh->m_highscores.Length(), 150},
                           {fresh->m_channels.Length(), 33},   {fresh->m_drawList.Length(), 37500},
                           {fresh->m_touchDown.Length(), 10},  {fresh->m_touchX.Length(), 10},
                           {fresh->m_touchY.Length(), 10},     {fresh->m_sounds.Length(), 100},
                           {fresh->m_scenery.Length(), 512},   {fresh->m_state.Length(), 512},
                           {fresh->m_objects.Length(), 51000}, {fresh->m_particles.Length(), 5100},
                           {fresh->m_stars.Length(), 5100}};
    for (const Sized& s : sizes) EXPECT_EQ(s.length, s.expected);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(fresh->m_images[i], nullptr);
    for (int i = 0; i < 51000; ++i) ASSERT_EQ(fresh->m_objects[i], 0.0f);
    for (int i = 0; i < 33; ++i) EXPECT_EQ(fresh->m_channels[i], 0);   // filled by p_OnCreate, not here
}

TEST_F(Game, CreationSetsTheMenuDefaultsAndFillsTheChannels) {
    // The shared object went through p_OnCreate at start-up; these fields no test changes.
    for (int i = 0; i <= 32; ++i) EXPECT_EQ(app->m_channels[i], i);
    EXPECT_EQ(app->m_fontSlot, 90);
    EXPECT_EQ(host->rate, 60);
}

TEST_F(Game, FrameRateKeepsItsLastValueWhenTheClockStandsStill) {
    host->millis += 20;
    host->UpdateGame();
    EXPECT_EQ(app->m_fpsNow, 50);
    const int smoothed = app->m_fps;
    host->UpdateGame();   // the clock did not move: no division by zero, the last rate stays
    EXPECT_EQ(app->m_fpsNow, 50);
    EXPECT_EQ(app->m_fps, (smoothed * 9 + 50) / 10);
    host->millis += 4;
    host->UpdateGame();
    EXPECT_EQ(app->m_fpsNow, 250);
}

TEST_F(Game, APressStartsWhereThePointerIsWithoutAJump) {
    host->MouseEvent(kEventMouseMove, 0, 100, 100);
    Frame();
    host->MouseEvent(kEventMouseMove, 0, 300, 200);
    host->MouseEvent(kEventMouseDown, 0, 300, 200);
    Frame();
    EXPECT_EQ(app->m_mouseX, 300);
    EXPECT_EQ(app->m_mouseXOld, 300);   // not 100: the press starts here
    EXPECT_EQ(app->m_mouseYOld, 200);
    EXPECT_EQ(app->m_mouseDown, 1);
    EXPECT_EQ(app->m_mouseHit, 1);
    EXPECT_EQ(app->m_touchDown[0], 1);
    EXPECT_EQ(app->m_touchX[0], 300);
    host->MouseEvent(kEventMouseMove, 0, 310, 200);
    Frame();
    EXPECT_EQ(app->m_mouseXOld, 300);   // a held pointer keeps its previous position
    EXPECT_EQ(app->m_mouseX, 310);
    EXPECT_EQ(app->m_mouseHit, 0);
    Untap();
    Frame();
    EXPECT_EQ(app->m_mouseDown, 0);
    EXPECT_EQ(app->m_touchDown[0], 0);
    EXPECT_EQ(app->m_touchX[0], -3717);
    EXPECT_EQ(app->m_touchY[0], -3717);
}

TEST_F(Game, BackInTheMenuClosesTheCreditsBoxOncePerPress) {
    app->m_creditsOpen = 1;
    Press(27);
    Frame();
    EXPECT_EQ(app->m_creditsOpen, 0);
    EXPECT_EQ(app->m_keyHeld, 1);
    EXPECT_EQ(app->m_touchHeld, 1);
    app->m_creditsOpen = 1;   // reopened while escape is still held: the held press does not close it
    Frame();
    EXPECT_EQ(app->m_creditsOpen, 1);
    Release(27);
    Frame();
    Press(27);
    Frame();
    EXPECT_EQ(app->m_creditsOpen, 0);
    Release(27);
}

TEST_F(Game, CreditsBoxAnimatesOnlyInTheMenuAndOptionsBoxInEveryMode) {
    app->m_creditsAnim = app->m_optionsAnim = 0;
    app->m_creditsOpen = 1;
    for (int i = 0; i < 40; ++i) Frame();
    EXPECT_EQ(app->m_creditsAnim, 30);
    app->m_creditsOpen = 0;
    Frame();
    EXPECT_EQ(app->m_creditsAnim, 29);
    app->m_creditsAnim = 10;
    app->m_creditsOpen = 1;
    app->m_mode = 10;   // outside the menu an open credits box only winds down
    app->m_paused = 1;
    Frame();
    EXPECT_EQ(app->m_creditsAnim, 9);
    app->m_creditsOpen = 0;
    app->m_creditsAnim = 0;
    app->m_optionsOpen = 1;
    Frame();
    EXPECT_EQ(app->m_optionsAnim, 1);
    app->m_optionsOpen = 0;
    Frame();
    EXPECT_EQ(app->m_optionsAnim, 0);
}

TEST_F(Game, EachGameTypeSetsItsClockAndTuneAndClearsThePools) {
    struct Case {
        int type, seconds;
        const char* tune;
    };
    const Case cases[] = {{1, 30, "zanth://data/sfx/30.ogg"}, {3, 10, "zanth://data/sfx/10.ogg"}, {0, 30, nullptr}};
    for (const Case& c : cases) {
        app->p_StopTune();
        app->m_gameType = c.type;
        app->m_mode = 11;
        app->m_score = 99;
        app->m_gameOver = app->m_overTimer = 1;
        app->m_maxParticles = 7;
        app->m_objects[2500] = 4;    // record 250, the last one cleared
        app->m_objects[2501] = 5;    // beyond it: left alone
        app->m_particles[2500] = 3;  // particle record 250
        app->m_particles[2510] = 3;  // particle record 251: left alone
        app->m_state[499] = 1;
        app->m_state[500] = 1;
        host->audioPaths.clear();
        Frame();
        EXPECT_EQ(app->m_mode, 10) << "type " << c.type;
        EXPECT_EQ(app->m_seconds, c.seconds);
        EXPECT_EQ(app->m_state[89], c.seconds * 60 + 59.0f);
        EXPECT_EQ(app->m_score, 0);
        EXPECT_EQ(app->m_gameOver, 0);
        EXPECT_EQ(app->m_overTimer, 0);
        EXPECT_EQ(app->m_maxParticles, 250);
        EXPECT_EQ(app->m_objects[2500], 0.0f);
        EXPECT_EQ(app->m_objects[2501], 5.0f);
        EXPECT_EQ(app->m_particles[2500], 0.0f);
        EXPECT_EQ(app->m_particles[2510], 3.0f);
        EXPECT_EQ(app->m_state[499], 0.0f);
        EXPECT_EQ(app->m_state[500], 1.0f);
        if (c.tune) {
            ASSERT_EQ(host->audioPaths.size(), 1u);
            EXPECT_EQ(host->audioPaths[0], c.tune);
            EXPECT_EQ(app->m_musicPlaying, 1);
        } else {
            EXPECT_TRUE(host->audioPaths.empty());   // no tune for an unknown type
            EXPECT_EQ(app->m_musicPlaying, 0);
        }
        app->m_objects[2501] = app->m_particles[2510] = app->m_state[500] = 0;
    }
    app->p_StopTune();
}

TEST_F(Game, SuspendTurnsTheICadeOffAndReleasesTheVirtualKeys) {
    app->p_iCade(1);
    app->m_vkeys[3] = 2;
    app->m_vkeys[10] = 1;
    app->m_mode = 1;
    app->m_pauseY = 40;
    app->m_pauseDir = -1;
    host->SuspendGame();
    EXPECT_EQ(zk_Dravo_iCadeControls, 0);
    EXPECT_EQ(app->m_vkeys[3], 0);
    EXPECT_EQ(app->m_vkeys[10], 0);
    EXPECT_EQ(app->m_pauseY, 0);   // the menu's pause panel is put away
    EXPECT_EQ(app->m_pauseDir, 0);
    app->m_vkeys[5] = 2;
    host->ResumeGame();
    EXPECT_EQ(app->m_vkeys[5], 0);
}

TEST_F(Game, DebugOverlayWritesAtTheBottomLeft) {
    auto overlay_glyphs = [&] {
        int count = 0;
        const float y0 = zk_Dravo_jscrh - 16 + app->m_imageInfo[90 * 3 + 1] / 2.0f;   // top-aligned
        for (int n = 0; n < app->m_drawCount; n += 15)
            if (app->m_drawList[n] == 90 && app->m_drawList[n + 2] == y0 && app->m_drawList[n + 6] == ':' - 32) ++count;
        return count;
    };
    Frame();
    EXPECT_EQ(overlay_glyphs(), 0);
    zk_Dravo_DebugMode = 1;
    Frame();
    EXPECT_EQ(overlay_glyphs(), 1);   // "fps:scaleX,scaleY"
}

TEST_F(Game, ThePauseButtonIsTheIconsHalfSizeAroundTheCornerExclusive) {
    ASSERT_EQ(app->m_hdScale, 2);   // 800 x 600: the icon sheet's 64-pixel frames drawn at half size
    app->m_mode = 10;
    Tap(32, 16);   // 16 + 32 / 2: on the edge
    Frame();
    Untap();
    EXPECT_EQ(app->m_paused, 0);
    Frame();
    const int cursor = app->m_channelCursor;
    Tap(31, 1);
    Frame();
    Untap();
    EXPECT_EQ(app->m_paused, 1);
    EXPECT_EQ(app->m_pauseDir, 1);
    EXPECT_EQ(app->m_pauseCursor, 0);
    EXPECT_EQ(app->m_channelCursor, (cursor + 1) % 24);   // the pause sound
}

TEST_F(Game, TheCreditLinesKeepTheirFixedTextsInOrder) {
    ASSERT_EQ(zk_Dravo_CreditText.Length(), 36);
    const std::pair<int, const char*> fixed[] = {
        {1, "A Game by"},        {4, "-=-=-"},           {5, "Developed using"},  {8, "-=-=-"},
        {9, "Graphics"},         {10, "Most graphics by"}, {12, "Font : EditUndo"}, {14, "Lowercase added by"},
        {16, "-=-=-"},           {17, "Audio"},          {18, "Sound and Music by"}, {20, "using FLStudio,"},
        {21, "KORG Gadget,"},    {22, "SFXr,"},          {23, "Cool Edit"},       {24, "or whatever else"},
        {25, "is handy!"},       {26, "-=-=-"},          {27, "Thanks to"},       {33, "and everyone else"},
        {35, "-=-=-"},           {36, "End"}};
    for (const auto& line : fixed) EXPECT_EQ(zk_Dravo_CreditText[line.first - 1].ToUtf8(), line.second) << line.first;
}

TEST_F(Game, LoadingScreenCommandsAndTheSpinner) {
    app->m_spin = 0;
    app->p_WaitStart(1);
    EXPECT_EQ(app->m_spin, 16);
    EXPECT_EQ(app->m_newRank, 600);   // the shorter side
    ASSERT_EQ(app->m_drawCount, 25 * 15);
    const float* c = app->m_drawList.Data();
    EXPECT_EQ(c[0], -3716.0f);        // back ring, first dot: transparent, opposite the spin
    EXPECT_EQ(c[7], 0.0f);
    EXPECT_NEAR(c[1], 400 + std::sin((16 + 180) * 3.14159265f / 180) * 150, 1e-3);
    EXPECT_NEAR(c[2], 300 - std::cos((16 + 180) * 3.14159265f / 180) * 150, 1e-3);
    EXPECT_EQ(c[10 * 15 + 7], 1.0f);  // its last dot is opaque
    const float* sun = c + 11 * 15;
    EXPECT_EQ(sun[4], 180.0f);
    EXPECT_EQ(sun[11], 255.0f);
    const float* band = c + 12 * 15;
    EXPECT_EQ(band[0], -3717.0f);
    EXPECT_EQ(band[2], 240.0f);
    EXPECT_EQ(band[5], 120.0f);
    EXPECT_FLOAT_EQ(band[7], 0.7f);
    const float* logo = c + 13 * 15;
    EXPECT_EQ(logo[0], 93.0f);
    EXPECT_EQ(logo[1], 400.0f);
    EXPECT_EQ(logo[2], 288.0f);
    const float* front = c + 14 * 15;
    EXPECT_EQ(front[10], 50.0f);
    EXPECT_NEAR(front[1], 400 + std::sin(16 * 3.14159265f / 180) * 150, 1e-3);
    EXPECT_EQ(app->m_clsRed, 40.0f);
    EXPECT_EQ(app->m_clsBlue, 80.0f);
}

TEST_F(Game, RenderRateKeepsItsLastValueWhenTheClockStandsStill) {
    host->millis += 25;
    host->RenderGame();
    EXPECT_EQ(app->m_renderFpsNow, 40);
    const int smoothed = app->m_renderFps;
    host->RenderGame();
    EXPECT_EQ(app->m_renderFpsNow, 40);
    EXPECT_EQ(app->m_renderFps, (smoothed * 9 + 40) / 10);
}

// --- more controls ----------------------------------------------------------------------------------

TEST_F(Game, EveryRowOfTheActionTable) {
    struct Row {
        int action;
        std::vector<int> keys, letters, buttons, vkeys;
    };
    const Row rows[] = {
        {0, {38}, {87}, {9}, {0}},
        {3, {37}, {65}, {8}, {3}},
        {5, {39}, {68}, {10}, {5}},
        {8, {40}, {83}, {11}, {8}},
        {10, {32, 13}, {90, 74}, {0}, {10}},
        {11, {17}, {88, 75}, {1}, {11}},
        {12, {16}, {67, 76}, {2}, {12}},
        {13, {}, {86, 73}, {3}, {13}},
        {14, {}, {66, 85}, {4}, {14}},
        {15, {}, {78, 79}, {5}, {15}},
        {99, {27, 46, 8}, {192}, {6, 7, 14}, {16, 17, 19}},
    };
    for (int icade = 0; icade <= 1; ++icade) {
        zk_Dravo_iCadeControls = icade;
        for (const Row& r : rows) {
            for (int key : r.keys) {
                Press(key);
                EXPECT_EQ(app->p_PlayKey(r.action, 0, 0), 1) << "action " << r.action << " key " << key;
                EXPECT_EQ(app->p_PlayKey(r.action, 0, -1), 1) << "action " << r.action << " key " << key;
                Release(key);
            }
            for (int key : r.letters) {   // the iCade types letters, so its mode leaves them out
                Press(key);
                EXPECT_EQ(app->p_PlayKey(r.action, 0, 3), 1 - icade) << "action " << r.action << " key " << key;
                EXPECT_EQ(app->p_PlayKey(r.action, 0, -1), 1 - icade) << "action " << r.action << " key " << key;
                Release(key);
            }
            for (int b : r.buttons) {
                Press(kKeyJoyBase + 32 * 1 + b);
                EXPECT_EQ(app->p_PlayKey(r.action, 0, 1), 1) << "action " << r.action << " button " << b;
                EXPECT_EQ(app->p_PlayKey(r.action, 0, 0), 0) << "action " << r.action << " button " << b;
                EXPECT_EQ(app->p_PlayKey(r.action, 0, -1), 0) << "action " << r.action << " button " << b;
                Release(kKeyJoyBase + 32 * 1 + b);
            }
            for (int v : r.vkeys) {
                app->m_vkeys[v] = 2;
                EXPECT_EQ(app->p_PlayKey(r.action, 0, 2), 1) << "action " << r.action << " vkey " << v;
                const bool own_value = icade && r.action >= 13 && r.action <= 15;
                EXPECT_EQ(app->p_PlayKey(r.action, 0, -1), own_value ? 2 : 1) << "action " << r.action;
                app->m_vkeys[v] = 0;
            }
            EXPECT_EQ(app->p_PlayKey(r.action, 1, 0), 0) << "action " << r.action << " with nothing held";
        }
    }
    zk_Dravo_iCadeControls = 0;
    for (int action : {1, 2, 4, 16, 17, 18, 98, 100}) {
        app->m_vkeys[16] = app->m_vkeys[17] = 2;
        EXPECT_EQ(app->p_PlayKey(action, 1, 0), 0) << "action " << action;
    }
    app->m_vkeys[16] = app->m_vkeys[17] = 0;
}

TEST_F(Game, StickDirectionsCountBeyondFourTenthsAndNotInICadeMode) {
    host->padPresent = true;
    struct Case {
        float x, y;
        int up, left, right, down;
    };
    const Case cases[] = {{0, 0.5f, 1, 0, 0, 0}, {-0.5f, 0, 0, 1, 0, 0}, {0.5f, 0, 0, 0, 1, 0}, {0, -0.5f, 0, 0, 0, 1},
                          {-0.4f, -0.4f, 0, 0, 0, 0}};
    for (const Case& c : cases) {
        host->padX = c.x;
        host->padY = c.y;
        Frame();
        EXPECT_EQ(app->p_PlayKey(0, 1, 0), c.up) << c.x << "," << c.y;
        EXPECT_EQ(app->p_PlayKey(3, 1, 0), c.left) << c.x << "," << c.y;
        EXPECT_EQ(app->p_PlayKey(5, 1, 0), c.right) << c.x << "," << c.y;
        EXPECT_EQ(app->p_PlayKey(8, 1, 0), c.down) << c.x << "," << c.y;
        EXPECT_EQ(app->p_PlayKey(0, 1, 1), 0);   // joystick 0 belongs to player 0
    }
    host->padY = 0.5f;
    Frame();
    zk_Dravo_iCadeControls = 1;
    EXPECT_EQ(app->p_PlayKey(0, 1, 0), 0);
    zk_Dravo_iCadeControls = 0;
    host->padPresent = false;
    host->padY = 0;
    Frame();
}

TEST_F(Game, SwitchingTheICadeOnDiscardsWhatWasTypedBefore) {
    host->KeyEvent(kEventKeyChar, 'w');
    app->p_iCade(1);
    Frame();
    EXPECT_EQ(app->m_vkeys[0], 0);
    host->KeyEvent(kEventKeyChar, 'L');   // button L: back
    Frame();
    EXPECT_EQ(app->m_vkeys[17], 2);
    host->KeyEvent(kEventKeyChar, 'v');
    Frame();
    EXPECT_EQ(app->m_vkeys[17], 0);
    app->p_iCade(0);
}

TEST_F(Game, ADraggedPointerIsAStickAroundWhereItWasPressed) {
    app->p_CLS2D();
    app->m_keyRampX = app->m_keyRampY = 0;
    app->m_mouseDown = 1;
    app->m_stickAnchorX = -1;
    app->m_mouseX = 100;
    app->m_mouseY = 100;
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_stickAnchorX, 100);
    EXPECT_EQ(app->m_stickAnchorY, 100);
    EXPECT_EQ(app->m_analogX, 0.0f);
    ASSERT_EQ(app->m_drawCount, 30);   // the anchor and pointer marks
    const float* mark = app->m_drawList.Data();
    EXPECT_EQ(mark[0], -3716.0f);
    EXPECT_EQ(mark[4], 12.0f);
    EXPECT_EQ(mark[15 + 4], 8.0f);
    EXPECT_EQ(mark[7], 0.25f);
    EXPECT_EQ(mark[12], 250.0f);

    app->m_mouseX = 136;
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->m_analogX, 0.5f);
    EXPECT_EQ(app->m_stickAnchorX, 100);   // within 64 pixels the anchor stays
    app->m_mouseX = 200;
    app->m_mouseY = 30;
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_analogX, 1.0f);   // clamped
    EXPECT_EQ(app->m_stickAnchorX, 104);   // 100 pixels away: follows by 4
    EXPECT_EQ(app->m_stickAnchorY, 96);
    app->m_mouseX = 110;
    app->m_mouseY = 100;   // both offsets below a tenth of the range: centred
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_analogX, 0.0f);
    EXPECT_EQ(app->m_analogY, 0.0f);
    app->m_mouseDown = 0;
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_stickAnchorX, -1);
}

TEST_F(Game, ButtonZeroLooksAtTheFirstTouchOnly) {
    app->p_CLS2D();
    app->m_drawScale = 1;
    app->m_imageInfo[97 * 3] = app->m_imageInfo[97 * 3 + 1] = 32;
    for (int i = 0; i < 10; ++i) app->m_touchDown[i] = 0, app->m_touchX[i] = app->m_touchY[i] = -3717;
    app->m_mouseDown = 1;
    app->m_touchX[2] = app->m_touchY[2] = 100;
    EXPECT_FALSE(app->p_Button0(97, 100, 100, 3));
    EXPECT_EQ(app->p_Button(97, 100, 100, 3), 1);
    app->m_touchX[0] = app->m_touchY[0] = 110;
    EXPECT_TRUE(app->p_Button0(97, 100, 100, 3));
    app->m_mouseDown = 0;
    EXPECT_FALSE(app->p_Button0(97, 100, 100, 3));
    EXPECT_EQ(app->m_drawCount, 4 * 15);   // each draws its image
    EXPECT_EQ(app->m_drawList[6], 3.0f);
}

// --- more of the drawing layer ------------------------------------------------------------------------

TEST_F(Game, TextMeasuresIconsAndLineBreaksUnlikeItDrawsThem) {
    const int saved_w = app->m_imageInfo[90 * 3], saved_h = app->m_imageInfo[90 * 3 + 1];
    app->m_imageInfo[90 * 3] = 16;
    app->m_imageInfo[90 * 3 + 1] = 10;
    app->m_controlStyle = 1;

    app->p_CLS2D();
    app->p_Text(100, 50, text_of({0xAC, 'J', 'b'}), 2, 1);   // measured: space 16 + icon 16 + 2 = 34
    std::vector<Glyph> g = glyphs(app, 0);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0].frame, 96);
    EXPECT_FLOAT_EQ(g[0].x, 100 - 34 + 16);
    EXPECT_FLOAT_EQ(g[1].x, 100 - 34 + 16 + 20);   // drawn: the icon advances 16 + 4

    app->p_CLS2D();
    app->p_Text(100, 50, String("a\\nb"), 2, 1);   // measured: space, a, backslash, n (-1) = 63
    g = glyphs(app, 0);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_FLOAT_EQ(g[0].x, 100 - 63 + 16);
    EXPECT_FLOAT_EQ(g[1].x, 100 - 63);

    app->p_CLS2D();
    app->p_Text(100, 50, text_of({'a', 0, 'b'}), 2, 1);   // a code unit 0 is measured but takes no room
    g = glyphs(app, 0);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_FLOAT_EQ(g[0].x, 100 - 48 + 16);
    EXPECT_FLOAT_EQ(g[1].x, 100 - 48 + 32);

    app->p_CLS2D();
    app->p_Text(0, 0, text_of({0xAC, 'U', 'b', 0xAC, '9', 'b'}), 0, 1);   // U: 6; any other letter: 4
    app->m_controlStyle = 0;
    app->p_Text(0, 0, text_of({0xAC, '9', 'b', 'w', 'b'}), 0, 1);   // '9' + 16 is frame 73, an 'i': -3
    g = glyphs(app, 0);
    ASSERT_EQ(g.size(), 8u);
    EXPECT_EQ(g[0].frame, 100);
    EXPECT_FLOAT_EQ(g[1].x - g[0].x, 22);
    EXPECT_EQ(g[2].frame, '9');
    EXPECT_FLOAT_EQ(g[3].x - g[2].x, 20);
    EXPECT_EQ(g[4].frame, 73);
    EXPECT_FLOAT_EQ(g[5].x - g[4].x, 13);
    EXPECT_EQ(g[6].frame, 'w' - 32);
    EXPECT_FLOAT_EQ(g[7].x - g[6].x, 18);

    app->p_CLS2D();
    app->p_SetSize(2, 3);
    app->p_Text(0, 100, String("a\\nb"), 0, 2);   // bottom-aligned at size 2 x 3: line height 30
    g = glyphs(app, 0);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_FLOAT_EQ(g[0].y, 100 - 15);
    EXPECT_FLOAT_EQ(g[1].y, 100 - 15 + 30);
    EXPECT_FLOAT_EQ(g[0].x, 32);
    app->p_ResetDraw();
    app->m_imageInfo[90 * 3] = saved_w;
    app->m_imageInfo[90 * 3 + 1] = saved_h;
}

TEST_F(Game, CommandsRecordTheDrawState) {
    app->p_CLS2D(1, 2, 3, 0.5f);
    EXPECT_EQ(app->m_clsRed, 1.0f);
    EXPECT_EQ(app->m_clsAlpha, 0.5f);
    app->p_CLS2D();   // no colour given: the background stays
    EXPECT_EQ(app->m_clsBlue, 3.0f);
    app->p_SetSize(2);
    EXPECT_EQ(app->m_sizeY, 2.0f);
    app->p_SetSize(2, 3);
    app->p_SetCol(10, 20, 30);
    app->p_SetCol(10, 20, 30, 0.75f);
    app->p_SetCol(11, 21, 31);   // alpha kept
    app->p_SetRot(30);
    app->p_DrawImg(5, 7, 8, 9);
    app->p_Rect(1, 2, 3, 4);
    app->p_Oval(5, 6, 7, 8);
    ASSERT_EQ(app->m_drawCount, 45);
    const float* c = app->m_drawList.Data();
    const float image[] = {5, 7, 8, -30, 2, 3, 9, 0.75f};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(c[i], image[i]) << "image entry " << i;
    EXPECT_EQ(c[10], 11.0f);
    EXPECT_EQ(c[11], 21.0f);
    EXPECT_EQ(c[12], 31.0f);
    EXPECT_EQ(c[13], 1.0f);
    const float rect[] = {-3717, 1, 2, -30, 3, 4, 0, 0.75f};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(c[15 + i], rect[i]) << "rectangle entry " << i;
    const float oval[] = {-3716, 5, 6, -30, 7, 8, 0, 0.75f};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(c[30 + i], oval[i]) << "oval entry " << i;
    app->p_ResetDraw();
    EXPECT_EQ(app->m_sizeX, 1.0f);
    EXPECT_EQ(app->m_rot, 0.0f);
    EXPECT_EQ(app->m_red, 255.0f);
    EXPECT_EQ(app->m_alpha, 1.0f);
    EXPECT_EQ(app->m_blend, 1);
}

TEST_F(Game, ReplayDrawsInOrderThroughTheOverscanAndSkipsEmptySlots) {
    zk_Dravo_overscan = 40;   // 800 x 600: scale 0.9, offset (40, 30)
    app->p_CLS2D(0, 0, 0, 1);
    app->p_SetCol(255, 0, 0);
    app->p_Rect(0, 0, 100, 100);      // device (40, 30) to (130, 120)
    app->p_SetCol(0, 0, 255);
    app->p_Rect(50, 50, 100, 100);    // covers the red one from (85, 75) on
    app->p_SetCol(0, 255, 0);
    app->p_Oval(400, 300, 30, 30);    // centred at device (400, 300), radius 27
    app->p_SetCol(255, 255, 255);
    app->p_DrawImg(55, 600, 100, 0);  // an empty slot
    app->p_DrawImg(-1, 600, 100, 0);  // not a slot
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

// --- more of the resources ------------------------------------------------------------------------------

TEST_F(Game, TheLoaderTakesOneAssetPerStepInItsOrder) {
    host->imagePaths.clear();
    host->audioPaths.clear();
    app->p_Reload();
    const std::string d = "zanth://data/";
    EXPECT_EQ(host->imagePaths, (std::vector<std::string>{d + "common/PlinLogo-hd.png", d + "fonts/editundo-hd.png"}));
    EXPECT_EQ(app->m_loadStep, 1);
    EXPECT_EQ(app->m_clsAlpha, 1.0f);
    const std::vector<std::vector<std::string>> steps = {
        {"common/icons-hd.png", "sfx/096.wav"}, {"common/Buttons-hd.png"}, {"common/dpad-hd.png"},
        {"common/PlinLogo-hd.png"},             {"common/Testcard_Circle-hd.png"}, {"fonts/editundo-hd.png"},
        {"sfx/001.wav"}, {"sfx/095.wav"}, {"sfx/098.wav"}, {"sfx/099.wav"}, {"menu-hd.png"}, {"logo-hd.png"},
        {"parts-hd.png"}, {"BadgesA-hd.png"}, {"gfx-hd.png"}, {"gfxb-hd.png"}, {"tolvane-hd.png"},
        {"sfx/002.wav"}, {"sfx/003.wav"}, {"sfx/004.wav"}, {"sfx/005.wav"}, {"sfx/006.wav"}, {"sfx/007.wav"},
        {"sfx/008.wav"}, {"sfx/009.wav"}, {}};
    ASSERT_EQ(steps.size(), 26u);
    for (size_t s = 0; s < steps.size(); ++s) {
        host->imagePaths.clear();
        host->audioPaths.clear();
        Frame();
        std::vector<std::string> got = host->imagePaths, want;
        got.insert(got.end(), host->audioPaths.begin(), host->audioPaths.end());
        for (const std::string& f : steps[s]) want.push_back(d + f);
        EXPECT_EQ(got, want) << "loader step " << s + 1;
    }
    EXPECT_EQ(app->m_loadStep, 0);
    struct Info {
        int slot, w, h, frames;
    };
    const Info infos[] = {{1, 128, 128, 16}, {2, 64, 64, 64}, {3, 16, 16, 256}, {80, 128, 128, 64}, {90, 7, 10, 128},
                          {91, 512, 512, 1}, {93, 512, 512, 1}, {94, 64, 64, 16}, {95, 128, 128, 16}, {96, 16, 16, 256},
                          {97, 64, 64, 16}, {98, 512, 256, 1}, {99, 512, 512, 4}};
    for (const Info& i : infos) {
        EXPECT_EQ(app->m_imageInfo[3 * i.slot], i.w) << "slot " << i.slot;
        EXPECT_EQ(app->m_imageInfo[3 * i.slot + 1], i.h) << "slot " << i.slot;
        EXPECT_EQ(app->m_imageInfo[3 * i.slot + 2], i.frames) << "slot " << i.slot;
        EXPECT_NE(app->m_images[i.slot], nullptr) << "slot " << i.slot;
    }
    for (int n : {1, 2, 9, 95, 96, 98, 99}) EXPECT_NE(app->m_sounds[n], nullptr) << "sound " << n;
    EXPECT_EQ(app->m_fontSlot, 90);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GameEnvironment);
    return RUN_ALL_TESTS();
}
