// game/myapp.cpp: the game object's construction, the frame, the start of a game, the pause check, the
// loading screen, and suspend and resume.
#include "game/myapp.h"

#include <algorithm>
#include <cmath>

#include "framework/async_event.h"
#include "framework/input.h"
#include "game/gamemath.h"
#include "runtime/error.h"

namespace {

const int kBoxIn = 30;                 // a box is fully in when its counter reaches this
const int kLastClearedObject = 2500;   // a start clears object entries 0..2500: records 0..250

}  // namespace

using namespace game;

c_MyApp::c_MyApp() {
    gc_assign(m_images, Array<c_Image*>(100));
    gc_assign(m_imageInfo, Array<int>(300));
    gc_assign(m_badgePopId, Array<int>(15));
    gc_assign(m_badgePopTime, Array<int>(15));
    gc_assign(m_badges, Array<bool>(256));
    gc_assign(m_vkeys, Array<int>(20));
    gc_assign(m_options, Array<int>(25));
    gc_assign(m_highscores, Array<int>(150));
    gc_assign(m_channels, Array<int>(33));
    gc_assign(m_drawList, Array<float>(37500));
    gc_assign(m_touchDown, Array<int>(10));
    gc_assign(m_touchX, Array<int>(10));
    gc_assign(m_touchY, Array<int>(10));
    gc_assign(m_sounds, Array<c_Sound*>(100));
    gc_assign(m_scenery, Array<float>(512));
    gc_assign(m_state, Array<float>(512));
    gc_assign(m_objects, Array<float>(51000));
    gc_assign(m_particles, Array<float>(5100));
    gc_assign(m_stars, Array<float>(5100));
}

c_MyApp* c_MyApp::m_new() {
    c_App::m_new();
    return this;
}

void c_MyApp::mark() {
    c_App::mark();
    gc_mark_q(m_images);
    gc_mark_q(m_imageInfo);
    gc_mark_q(m_badgePopId);
    gc_mark_q(m_badgePopTime);
    gc_mark_q(m_badges);
    gc_mark_q(m_vkeys);
    gc_mark_q(m_options);
    gc_mark_q(m_highscores);
    gc_mark_q(m_channels);
    gc_mark_q(m_drawList);
    gc_mark_q(m_touchDown);
    gc_mark_q(m_touchX);
    gc_mark_q(m_touchY);
    gc_mark_q(m_sounds);
    gc_mark_q(m_scenery);
    gc_mark_q(m_state);
    gc_mark_q(m_objects);
    gc_mark_q(m_particles);
    gc_mark_q(m_stars);
}

int c_MyApp::p_OnCreate() {
    m_fullscreen = 0;                                                    // 1.
    m_jinglePlayed = 0;
    m_mode = 1;
    zk_app_SetUpdateRate(60);                                            // 2.
    m_devWidth = zk_app_DeviceWidth();                                   // 3.
    m_devHeight = zk_app_DeviceHeight();
    p_Reload();                                                          // 4. the loader starts
    m_gameType = 2;                                                      // 5.
    m_menuY = -32;
    m_paused = 0;
    m_pauseDir = -1;
    m_pauseY = -64;
    for (int i = 0; i <= 14; ++i) m_badgePopId[i] = m_badgePopTime[i] = 0;   // 6.
    for (int i = 0; i < 128; ++i) m_badges[i] = false;
    for (int i = 0; i < kVirtualKeys; ++i) m_vkeys[i] = 0;
    for (int i = 0; i <= 24; ++i) m_options[i] = 0;
    m_options[kOptionSound] = 1;                                         // sound on
    for (int i = 0; i <= 30; ++i) m_highscores[i] = 0;
    p_Load();                                                            // 7. saved settings
    for (int i = 0; i <= 32; ++i) m_channels[i] = i;                     // 8.
    return 0;
}

int c_MyApp::p_OnUpdate() {
    m_vkeys[kVKeyBackHits] = zk_input_KeyHit(kKeyBack);                  // 1. back key
    p_FunctionKeys();                                                    // 2.
    zk_asyncevent_UpdateAsyncEvents();                                   // 3.
    if (zk_Dravo_HasMusicStream == 1 && m_musicPlaying == 1) {           // 4. music follows the pause
        if (m_paused == 1) zk_audio_PauseMusic();
        else zk_audio_ResumeMusic();
    }
    measure_rate(zk_app_Millisecs(), m_lastMillis, m_fpsNow, m_fps);     // 5. frame rate
    p_ReadPointer();                                                     // 6. to 8.
    p_ReleaseKeyLatch();                                                 // 9. and 10.
    if (m_loadStep == 0) p_RunScreen();                                  // 11. screen dispatch
    if (m_loadStep > 0) p_Loader();                                      // 12. loader
    if (zk_Dravo_iCadeControls == 1) {                                   // 13. virtual keys
        p_ReadICade();
    } else {
        for (int v = 0; v < kVirtualKeys; ++v)
            if (m_vkeys[v] == 1) m_vkeys[v] = 0;   // a value of 1 lasts one frame
    }
    if (zk_Dravo_DebugMode == 1) {                                       // 14. debug overlay
        p_ResetDraw();
        p_Text(16, zk_Dravo_jscrh - 16,
               String(m_renderFps) + String(":") + String(m_scaleX) + String(",") + String(m_scaleY), 0, 0);
    }
    p_ShowBadges();                                                      // 15.
    return 0;
}

// 2. F1 the debug line, F2 the HUD, F11 fullscreen; F4 quits: the runtime error with the empty message
// exits with status 0. The close key never reaches an update: the delegate quits on it in the event pump.
void c_MyApp::p_FunctionKeys() {
    if (zk_input_KeyHit(kKeyF1)) zk_Dravo_DebugMode = 1 - zk_Dravo_DebugMode;
    if (zk_input_KeyHit(kKeyF2)) m_hideHud = 1 - m_hideHud;
    if (zk_input_KeyHit(kKeyF11)) p_FullscreenFlip();
    if (zk_input_KeyHit(kKeyF4)) zkError(String());
}

// 6. to 8. The pointer and the touch points in game pixels, and the touch latch freed once nothing is
// down. The scales are 0 until the first render; positions stay put (or -3717) until then.
void c_MyApp::p_ReadPointer() {
    const float overscanY = zk_Dravo_overscan * zk_app_DeviceHeight() / std::max(zk_app_DeviceWidth(), 1);
    const bool scaled = m_scaleX > 0 && m_scaleY > 0;
    auto game_x = [&](float x) { return to_int((x - zk_Dravo_overscan) / m_scaleX); };
    auto game_y = [&](float y) { return to_int((y - overscanY) / m_scaleY); };
    m_mouseXOld = m_mouseX;                                              // 6. the pointer
    m_mouseYOld = m_mouseY;
    if (scaled) {
        m_mouseX = game_x(zk_input_MouseX());
        m_mouseY = game_y(zk_input_MouseY());
    }
    const bool left_down = zk_input_KeyDown(kKeyMouseLeft);
    if (!m_mouseDownOld && left_down) {   // no jump at the start of a press
        m_mouseXOld = m_mouseX;
        m_mouseYOld = m_mouseY;
    }
    m_mouseDown = left_down ? 1 : 0;
    m_mouseHit = zk_input_KeyHit(kKeyMouseLeft);
    for (int i = 0; i < kTouchPoints; ++i) {                             // 7. touch points
        m_touchDown[i] = 0;
        m_touchX[i] = m_touchY[i] = static_cast<int>(kUnset);
        if (!zk_input_KeyDown(kKeyTouchBase + i)) continue;
        m_touchDown[i] = 1;
        if (scaled) {
            m_touchX[i] = game_x(zk_input_TouchX(i));
            m_touchY[i] = game_y(zk_input_TouchY(i));
        }
        m_mouseDown = 1;
    }
    m_mouseDownOld = left_down ? 1 : 0;
    if (m_mouseDown == 0) m_touchHeld = 0;                               // 8.
}

// 9. The key latch frees once no action is down for any player. 10. Back in the menu closes a box; the
// options box swallows every fresh press behind it.
void c_MyApp::p_ReleaseKeyLatch() {
    if (!p_AnyPlayer(kEveryAction)) m_keyHeld = 0;
    if (m_touchHeld == 0 && m_keyHeld == 0 && p_AnyPlayer(kActionBack) && m_mode == 1 &&
        (m_creditsOpen == 1 || m_optionsOpen == 1)) {
        m_creditsOpen = 0;
        m_keyHeld = 1;
        m_touchHeld = 1;
    }
    if (m_optionsOpen == 1) {
        m_keyHeld = 1;
        m_touchHeld = 1;
    }
}

// 11. The screen of m_mode, then what runs over it: the game-over overlay (twice in the frame that ends a
// game) and the boxes.
void c_MyApp::p_RunScreen() {
    switch (m_mode) {
    case 1: p_Menu(); break;                                             // title menu
    case 2: p_LoadMenu(); p_PlaySFX(kJingleSound, 1); m_mode = 1; break;   // file the score, back to menu
    case 10: p_Game(); p_InGame(); break;                                // play
    case 11: p_LoadGame(); break;                                        // start of a game
    }
    if (m_mode == 10 && m_gameOver > 0) p_GameOver();
    if (m_mode == 1 || m_mode == 2) p_GameOver();
    p_StepBoxes();
}

// Moves a box's slide-in counter one step toward fully in (open) or out.
static void step_box(int& anim, bool open) {
    if (open) {
        if (anim < kBoxIn) ++anim;
    } else if (anim > 0) {
        --anim;
    }
}

// The credits box shows in the menu only; both boxes slide one step per frame toward open or closed.
int c_MyApp::p_StepBoxes() {
    if (m_mode == 1 && (m_creditsOpen == 1 || m_creditsAnim > 0)) p_CreditBox();
    step_box(m_creditsAnim, m_mode == 1 && m_creditsOpen == 1);
    if (m_optionsOpen == 1 || m_optionsAnim > 0) {
        p_OptionBox();
        step_box(m_optionsAnim, m_optionsOpen == 1);
    }
    return 0;
}

int c_MyApp::p_LoadGame() {
    m_paused = 0;                                                        // 1.
    m_score = 0;
    m_gameOver = 0;
    m_overTimer = 0;
    m_mode = 10;
    p_ResetStars(50);                                                    // 2.
    m_maxParticles = 250;                                                // 3.
    for (int r = 0; r <= 250; ++r) m_particles[r * kRecordFloats + kPartKind] = 0;
    for (int i = 0; i <= kLastStateEntry; ++i) m_state[i] = 0;           // 4.
    for (int r = 0; r <= kLastScenery; ++r) {                            // 5. scenery
        float* piece = &m_scenery[r * kRecordFloats];
        piece[kSceneKind] = static_cast<float>(rand_int(0, 3));
        piece[kSceneX] = static_cast<float>(rand_int(-256, zk_Dravo_jscrw + 256));
        piece[kSceneSpeed] = rnd(0.2f, 0.75f);
    }
    for (int i = 0; i <= kLastClearedObject; ++i) m_objects[i] = 0;      // 6.
    m_seconds = 30;                                                      // 7.
    switch (m_gameType) {
    case 1: p_PlayTune(String("30"), 0); break;
    case 2: m_seconds = 20; p_PlayTune(String("20"), 0); break;
    case 3: m_seconds = 10; p_PlayTune(String("10"), 0); break;
    }
    m_state[kStateTimer] = static_cast<float>(m_seconds * 60 + 59);      // 8. the game timer, frames
    return 0;
}

int c_MyApp::p_InGame() {
    p_ResetDraw();                                                       // 1.
    m_menuY = -32;
    if (p_AnyPlayer(kActionBack) && m_paused == 0 && m_keyHeld == 0) p_Pause(m_keyHeld);   // 2. pause key
    if (m_hideHud == 0) {                                                // 3. pause button
        p_Alpha(m_controlStyle == 2 ? 1.0f : 0.2f);
        p_DrawImg(kIconsSlot, 16, 16, 0);
        if (p_OnImage(kIconsSlot, 16, 16) && m_paused == 0) p_Pause(m_touchHeld);
        p_Alpha(1);
    }
    if (m_paused == 1) p_PauseMenu();                                    // 4.
    return 0;
}

// The one way into pause, by the pause key or the pause button: the press that asked is used up (its
// latch set), and the panel slides in with the cursor on resume.
void c_MyApp::p_Pause(int& latch) {
    latch = 1;
    m_paused = 1;
    m_pauseDir = 1;
    m_pauseCursor = 0;
    p_PlaySFX(kChimeSound, 1, 0.5f, 0);
}

int c_MyApp::p_WaitStart(int flag) {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    p_CLS2D(40, 40, 80, 1);                                              // 1.
    m_newRank = to_int(std::min(W, H));                                  // 2. the spinner's size, kept
    m_spin += 16;
    const float s = static_cast<float>(m_newRank);
    p_SpinnerRing(250, 180, s);                                          // 3. back ring
    p_SetCol(255, 255, 0, 0.8f);                                         // 4.
    p_Oval(W / 2, H / 2, 0.3f * s, 0.3f * s);
    p_SetCol(250, 160, 60, 0.7f);
    p_Rect(0, 0.4f * H, W, 0.2f * H);
    p_SetCol(255, 255, 255, 1);                                          // 5. the logo
    p_SetSize(1);
    p_SetRot(0);
    p_DrawImg(kMakerLogoSlot, W / 2, 0.48f * H, 0);
    p_SpinnerRing(50, 0, s);                                             // 6. front ring
    p_SetCol(255, 255, 255, 1);
    (void)flag;
    return 0;
}

// Eleven dots of grey `shade` on a ring a quarter of `size` around the centre, fading in from the first,
// starting `turn` degrees on from the spinner's angle.
void c_MyApp::p_SpinnerRing(float shade, int turn, float size) {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    for (int n = 0; n <= 10; ++n) {
        const float a = static_cast<float>(m_spin + turn + 16 * n);
        p_SetCol(shade, shade, shade, n / 10.0f);
        p_Oval(W / 2 + sin_deg(a) * size / 4, H / 2 - cos_deg(a) * size / 4, 8, 8);
    }
}

// Suspend and resume share this: a game in progress comes back paused, the menu does not.
void c_MyApp::p_SuspendPause() {
    if (m_mode < 10) {
        m_paused = m_pauseDir = m_pauseY = 0;
    } else {
        m_paused = 1;
        m_pauseDir = 1;
        m_pauseY = to_int(zk_Dravo_jscrh * 0.5f);
    }
}

// Both release the virtual keys the way switching the iCade mode off does.
int c_MyApp::p_OnSuspend() {
    p_iCade(0);
    p_SuspendPause();
    zk_app_SetUpdateRate(5);
    p_Save();
    return 0;
}

int c_MyApp::p_OnResume() {
    p_SuspendPause();
    zk_app_SetUpdateRate(60);
    p_iCade(0);
    return 0;
}
