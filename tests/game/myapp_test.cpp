// The game object through real frames: function keys, latches, the loader and the device size, the start
// of a game, suspend and resume, the controls, the drawing layer and text, and the resources.
#include <GL/gl.h>

#include <cmath>

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
    app->m_mode = 10;
    app->m_gameType = 3;
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
    app->m_mode = 10;
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

    // A whole pass with no data folder at all: every slot stays empty and loading still ends.
    ASSERT_EQ(rename("data", "data-hidden"), 0);
    app->p_Reload();
    for (int i = 0; i < 26; ++i) Frame();
    ASSERT_EQ(rename("data-hidden", "data"), 0);
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
    std::vector<unsigned char> px(800 * 600 * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    auto at = [&](int x, int y) { return &px[((599 - y) * 800 + x) * 4]; };   // y down, as the game
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

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GameEnvironment);
    return RUN_ALL_TESTS();
}
