// game/myapp.cpp: the game object's construction, the frame, the start of a game, the pause check, the
// loading screen, and suspend and resume.
#include "game/myapp.h"

#include <cmath>

#include "framework/async_event.h"
#include "framework/input.h"
#include "game/gamemath.h"
#include "runtime/error.h"

namespace {

const int kTouchPoints = 10;
const int kVirtualKeys = 19;  // m_vkeys entries 0..18 are actions; entry 19 counts back-key hits
// The actions whose release, for every player, frees the key latch.
const int kLatchActions[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};

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
    for (m_n = 0; m_n <= 14; ++m_n) m_badgePopId[m_n] = m_badgePopTime[m_n] = 0;   // 6.
    for (m_n = 0; m_n < 128; ++m_n) m_badges[m_n] = false;
    for (m_n = 0; m_n < kVirtualKeys; ++m_n) m_vkeys[m_n] = 0;
    for (m_n = 0; m_n <= 24; ++m_n) m_options[m_n] = 0;
    m_options[5] = 1;                                                    // sound on
    for (m_n = 0; m_n <= 30; ++m_n) m_highscores[m_n] = 0;
    p_Load();                                                            // 7. saved settings
    for (m_n = 0; m_n <= 32; ++m_n) m_channels[m_n] = m_n;               // 8.
    return 0;
}

int c_MyApp::p_OnUpdate() {
    m_vkeys[19] = zk_input_KeyHit(kKeyBack);                             // 1. back key
    if (zk_input_KeyHit(kKeyF1)) zk_Dravo_DebugMode = 1 - zk_Dravo_DebugMode;   // 2. function keys
    if (zk_input_KeyHit(kKeyF2)) m_hideHud = 1 - m_hideHud;
    if (zk_input_KeyHit(kKeyF11)) p_FullscreenFlip();
    // F4 quits here: the runtime error with the empty message exits with status 0. The close key never
    // reaches an update: the delegate quits on it in the event pump.
    if (zk_input_KeyHit(kKeyF4)) zkError(String());
    zk_asyncevent_UpdateAsyncEvents();                                   // 3.
    if (zk_Dravo_HasMusicStream == 1 && m_musicPlaying == 1) {           // 4. music follows the pause
        if (m_paused == 1) zk_audio_PauseMusic();
        else zk_audio_ResumeMusic();
    }
    int now = zk_app_Millisecs();                                        // 5. frame rate
    if (now > m_lastMillis) m_fpsNow = 1000 / (now - m_lastMillis);
    m_fps = (m_fps * 9 + m_fpsNow) / 10;
    m_lastMillis = now;

    // 6. Pointer, in game pixels. The scales are 0 until the first render; the position stays put then.
    float overscanY = zk_Dravo_overscan * zk_app_DeviceHeight() / std::max(zk_app_DeviceWidth(), 1);
    m_mouseXOld = m_mouseX;
    m_mouseYOld = m_mouseY;
    if (m_scaleX > 0 && m_scaleY > 0) {
        m_mouseX = to_int((zk_input_MouseX() - zk_Dravo_overscan) / m_scaleX);
        m_mouseY = to_int((zk_input_MouseY() - overscanY) / m_scaleY);
    }
    bool left_down = zk_input_KeyDown(kKeyMouseLeft);
    if (!m_mouseDownOld && left_down) {   // no jump at the start of a press
        m_mouseXOld = m_mouseX;
        m_mouseYOld = m_mouseY;
    }
    m_mouseDown = left_down ? 1 : 0;
    m_mouseHit = zk_input_KeyHit(kKeyMouseLeft);
    for (m_i = 0; m_i < kTouchPoints; ++m_i) {                               // 7. touch points
        m_touchDown[m_i] = 0;
        m_touchX[m_i] = m_touchY[m_i] = static_cast<int>(kUnset);
        if (!zk_input_KeyDown(kKeyTouchBase + m_i)) continue;
        m_touchDown[m_i] = 1;
        if (m_scaleX > 0 && m_scaleY > 0) {
            m_touchX[m_i] = to_int((zk_input_TouchX(m_i) - zk_Dravo_overscan) / m_scaleX);
            m_touchY[m_i] = to_int((zk_input_TouchY(m_i) - overscanY) / m_scaleY);
        }
        m_mouseDown = 1;
    }
    m_mouseDownOld = left_down ? 1 : 0;
    if (m_mouseDown == 0) m_touchHeld = 0;                               // 8.

    bool any_action = false;                                             // 9. key latch
    for (int action : kLatchActions)
        for (m_j = 0; m_j <= 3 && !any_action; ++m_j) any_action = p_PlayKey(action, 1, m_j) != 0;
    if (!any_action) m_keyHeld = 0;

    // 10. Back in the menu closes a box; the options box swallows every fresh press behind it.
    if (m_touchHeld == 0 && m_keyHeld == 0 && p_PlayKeyAll(99, 1) > 0 && m_mode == 1 &&
        (m_creditsOpen == 1 || m_optionsOpen == 1)) {
        m_creditsOpen = 0;
        m_keyHeld = 1;
        m_touchHeld = 1;
    }
    if (m_optionsOpen == 1) {
        m_keyHeld = 1;
        m_touchHeld = 1;
    }

    if (m_loadStep == 0) {                                               // 11. screen dispatch
        switch (m_mode) {
        case 1: p_Menu(); break;                                         // title menu
        case 2: p_LoadMenu(); p_PlaySFX(kJingleSound, 1); m_mode = 1; break;       // file the score, back to menu
        case 10: p_Game(); p_InGame(); break;                            // play
        case 11: p_LoadGame(); break;                                    // start of a game
        }
        if (m_mode == 10 && m_gameOver > 0) p_GameOver();
        if (m_mode == 1 || m_mode == 2) p_GameOver();
        p_StepBoxes();
    }
    if (m_loadStep > 0) p_Loader();                                      // 12. loader

    if (zk_Dravo_iCadeControls == 1) {                                   // 13. virtual keys
        p_ReadICade();
    } else {
        for (m_n = 0; m_n < kVirtualKeys; ++m_n)
            if (m_vkeys[m_n] == 1) m_vkeys[m_n] = 0;   // a value of 1 lasts one frame
    }
    if (zk_Dravo_DebugMode == 1) {                                       // 14. debug overlay
        p_ResetDraw();
        p_Text(16, zk_Dravo_jscrh - 16,
               String(m_renderFps) + String(":") + String(m_scaleX) + String(",") + String(m_scaleY), 0, 0);
    }
    p_ShowBadges();                                                      // 15.
    return 0;
}

// The credits box shows in the menu only; both boxes slide one step per frame toward open or closed.
int c_MyApp::p_StepBoxes() {
    if (m_mode == 1 && (m_creditsOpen == 1 || m_creditsAnim > 0)) p_CreditBox();
    if (m_mode == 1 && m_creditsOpen == 1) {
        if (m_creditsAnim < 30) ++m_creditsAnim;
    } else if (m_creditsAnim > 0) {
        --m_creditsAnim;
    }
    if (m_optionsOpen == 1 || m_optionsAnim > 0) {
        p_OptionBox();
        if (m_optionsOpen == 1) {
            if (m_optionsAnim < 30) ++m_optionsAnim;
        } else if (m_optionsAnim > 0) {
            --m_optionsAnim;
        }
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
    for (m_n = 0; m_n <= 250; ++m_n) m_particles[m_n * 10] = 0;
    for (m_n = 0; m_n <= 499; ++m_n) m_state[m_n] = 0;                   // 4.
    for (m_n = 0; m_n <= 10; ++m_n) {                                    // 5. scenery
        m_scenery[m_n * 10 + 0] = static_cast<float>(rand_int(0, 3));
        m_scenery[m_n * 10 + 1] = static_cast<float>(rand_int(-256, zk_Dravo_jscrw + 256));
        m_scenery[m_n * 10 + 3] = rnd(0.2f, 0.75f);
    }
    for (m_n = 0; m_n <= 2500; ++m_n) m_objects[m_n] = 0;                // 6.
    m_seconds = 30;                                                      // 7.
    switch (m_gameType) {
    case 1: p_PlayTune(String("30"), 0); break;
    case 2: m_seconds = 20; p_PlayTune(String("20"), 0); break;
    case 3: m_seconds = 10; p_PlayTune(String("10"), 0); break;
    }
    m_state[89] = static_cast<float>(m_seconds * 60 + 59);               // 8. the game timer, frames
    return 0;
}

int c_MyApp::p_InGame() {
    p_ResetDraw();                                                       // 1.
    m_menuY = -32;
    if (p_PlayKeyAll(99, 1) > 0 && m_paused == 0 && m_keyHeld == 0) {    // 2. pause request
        m_keyHeld = 1;
        m_paused = 1;
        m_pauseDir = 1;
        m_pauseCursor = 0;
        p_PlaySFX(kChimeSound, 1, 0.5f, 0);
    }
    if (m_hideHud == 0) {                                                // 3. pause button
        p_Alpha(m_controlStyle == 2 ? 1.0f : 0.2f);
        p_DrawImg(kIconsSlot, 16, 16, 0);
        float hw = m_imageInfo[kIconsSlot * 3] * m_drawScale * m_sizeX * 0.5f;
        float hh = m_imageInfo[kIconsSlot * 3 + 1] * m_drawScale * m_sizeY * 0.5f;
        bool pressed = false;
        for (m_i = 0; m_i < kTouchPoints && m_mouseDown > 0; ++m_i)
            if (16 - hw < m_touchX[m_i] && m_touchX[m_i] < 16 + hw && 16 - hh < m_touchY[m_i] &&
                m_touchY[m_i] < 16 + hh)
                pressed = true;
        if (pressed && m_paused == 0) {
            m_paused = 1;
            m_pauseDir = 1;
            m_touchHeld = 1;
            m_pauseCursor = 0;
            p_PlaySFX(kChimeSound, 1, 0.5f, 0);
        }
        p_Alpha(1);
    }
    if (m_paused == 1) p_PauseMenu();                                    // 4.
    return 0;
}

int c_MyApp::p_WaitStart(int flag) {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    p_CLS2D(40, 40, 80, 1);                                              // 1.
    m_newRank = to_int(std::min(W, H));                                  // 2. spinner radius scratch
    m_spin += 16;
    const float s = static_cast<float>(m_newRank);
    for (m_n = 0; m_n <= 10; ++m_n) {                                    // 3. back ring
        float a = static_cast<float>(m_spin + 180 + 16 * m_n);
        p_SetCol(250, 250, 250, m_n / 10.0f);
        p_Oval(W / 2 + sin_deg(a) * s / 4, H / 2 - cos_deg(a) * s / 4, 8, 8);
    }
    p_SetCol(255, 255, 0, 0.8f);                                         // 4.
    p_Oval(W / 2, H / 2, 0.3f * s, 0.3f * s);
    p_SetCol(250, 160, 60, 0.7f);
    p_Rect(0, 0.4f * H, W, 0.2f * H);
    p_SetCol(255, 255, 255, 1);                                          // 5. the logo
    p_SetSize(1);
    p_SetRot(0);
    p_DrawImg(kMakerLogoSlot, W / 2, 0.48f * H, 0);
    for (m_n = 0; m_n <= 10; ++m_n) {                                    // 6. front ring
        float a = static_cast<float>(m_spin + 16 * m_n);
        p_SetCol(50, 50, 50, m_n / 10.0f);
        p_Oval(W / 2 + sin_deg(a) * s / 4, H / 2 - cos_deg(a) * s / 4, 8, 8);
    }
    p_SetCol(255, 255, 255, 1);
    (void)flag;
    return 0;
}

// Suspend and resume share this: a game in progress comes back paused, the menu does not.
static void apply_suspend_pause(c_MyApp* app) {
    if (app->m_mode < 10) {
        app->m_paused = app->m_pauseDir = app->m_pauseY = 0;
    } else {
        app->m_paused = 1;
        app->m_pauseDir = 1;
        app->m_pauseY = to_int(zk_Dravo_jscrh * 0.5f);
    }
}

static void release_virtual_keys(c_MyApp* app) {
    zk_input_DisableKeyboard();
    zk_Dravo_iCadeControls = 0;
    for (app->m_n = 0; app->m_n < kVirtualKeys; ++app->m_n) app->m_vkeys[app->m_n] = 0;
}

int c_MyApp::p_OnSuspend() {
    release_virtual_keys(this);
    apply_suspend_pause(this);
    zk_app_SetUpdateRate(5);
    p_Save();
    return 0;
}

int c_MyApp::p_OnResume() {
    apply_suspend_pause(this);
    zk_app_SetUpdateRate(60);
    release_virtual_keys(this);
    return 0;
}
