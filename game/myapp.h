// game/myapp.h: c_MyApp, the whole game in one collected object.
//
// Every piece of game state lives in the fields below: plain ints and floats, and nineteen fixed-size
// arrays created once by the constructor and never replaced, which `mark` marks. Balls, pegs, monsters,
// particles, stars and scenery are ten-float records inside the float arrays.
//
// The frame: p_OnUpdate reads the pointer, touches and keys, dispatches on m_mode (1 menu, 2 game over,
// 10 in game, 11 start of a game) unless the loader runs, and records every drawing call of the frame in
// the display list m_drawList (15 floats a command); p_OnRender replays the list, scaled from the
// 800 x 600 design screen to the window.
//
// House style: one class holds all state. The shared fields m_n, m_k, m_i, m_j and m_m are the loop
// fields of the steps that keep them (the objects, monster hits and droplets of play, the place line of
// the HUD, the render replay, p_rstr, p_ResetPlayers) and hold their last value after the step; every
// other loop, and every helper, keeps its counters and scratch in locals. A press acts once, then the
// latches m_keyHeld and m_touchHeld block presses until every control is released; -3717 marks an
// optional float argument that is not given and a touch point that is up.
//
// While paused (m_paused 1) play stands still and keeps drawing: the clock, the tee cycle and every ball
// and peg stop (balls and pegs are neither moved nor drawn, so a paused frame never ends a game), no
// swing is taken and no tick sounds; monsters, the power meter, the stars, the particles and the HUD go
// on. Each step of play tests m_paused itself, by this rule.
//
// Where things live:
//   myapp.cpp      construction, p_OnCreate, the frame p_OnUpdate, start of a game, pause check,
//                  loading screen, suspend and resume
//   controls.cpp   control actions, iCade letters, analogue control, pointer tests
//   draw.cpp       draw state, display list, text layout, p_rstr, p_OnRender
//   resources.cpp  art scale, image and font slots, the loader, sound effects, tunes, fullscreen flip
//   play.cpp       golf play: the tee cycle, swing, flight, monster hits, splashes, clock and HUD
//   creatures.cpp  monster spawning, the particle pool, the star pool, the particle palette
//   menu.cpp       the title menu
//   boxes.cpp      the options box and the credits box
//   progress.cpp   saved settings, badges and highscores, place names
//   overlays.cpp   the pause menu, the game-over overlay, badge pop-ups
//   globals.cpp    the game module's globals and the credit lines
//   records.h      the layouts of the records, of m_state, of the settings and the score tables
//   actions.h      the control actions, the virtual keys and the named action lists
#pragma once

#include "framework/app.h"
#include "framework/audio.h"
#include "framework/graphics.h"
#include "game/actions.h"
#include "game/records.h"
#include "game/slots.h"
#include "runtime/array.h"
#include "runtime/string.h"

// The marker of an optional float argument that is not given, and of a touch point that is up.
const float kUnset = -3717.0f;
const int kTouchPoints = 10;   // m_touchDown, m_touchX, m_touchY

// The title menu's score panel as last built, and what it was built from: building its two texts costs
// dozens of strings, so they are built again only when the game type, the number of lines or a shown
// score changes.
struct c_ScorePanel {
    int base = -1, lines = 0;
    int scores[2][kTableSize] = {};   // the best ten and the last ten shown
    String top, last;
};

// The game module's globals.
extern float zk_Dravo_jscrw, zk_Dravo_jscrh;       // the virtual screen, recomputed by every render
extern float zk_Dravo_rawscrw, zk_Dravo_rawscrh;   // the 800 x 600 design screen
extern float zk_Dravo_overscan;                    // border in device pixels
extern int zk_Dravo_DebugMode;                     // F1 overlay
extern int zk_Dravo_iCadeControls;                 // iCade controller mode
extern int zk_Dravo_HasMusicStream;                // music follows the pause state
extern Array<String> zk_Dravo_CreditText;          // the credits box's 36 lines

// Sets the game module's globals to their start values and builds the credit lines.
void zk_Dravo_init();

struct c_MyApp : c_App {
    // --- frame and screens ------------------------------------------------------------------------
    int m_controlStyle = 0;      // how the menu was last operated: 0 keys, 1 pad, 2 pointer
    int m_fullscreen = 0;
    int m_jinglePlayed = 0;
    int m_mode = 0;              // 1 menu, 2 game over, 10 in game, 11 start of a game
    int m_devWidth = 0, m_devHeight = 0;
    float m_clsRed = 0, m_clsGreen = 0, m_clsBlue = 0, m_clsAlpha = 0;
    int m_hdScale = 0;           // art resolution: 1, 2 or 4
    float m_drawScale = 0;       // 1 / m_hdScale
    Array<c_Image*> m_images;    // 100 image slots
    Array<int> m_imageInfo;      // 300: frame width, height and count per slot
    int m_fontSlot = 0;
    int m_loadStep = 0;          // 1..26 while loading; the mode dispatch waits for 0
    int m_gameType = 0;          // 1: 30 s, 2: 20 s, 3: 10 s
    int m_menuY = 0;
    int m_paused = 0;            // 1 while the pause menu is up: play stands still (above)
    int m_pauseDir = 0;
    int m_pauseY = 0;
    int m_n = 0;                 // first shared loop index
    Array<int> m_badgePopId, m_badgePopTime;   // 15 each
    Array<bool> m_badges;        // 256
    Array<int> m_vkeys;          // 20: virtual keys (actions.h); [19] back key hits of this frame
    Array<int> m_options;        // 25: saved settings; [kOptionSound] the sound mode
    Array<int> m_highscores;     // 150
    int m_hitPoints = 0;
    int m_monsterCount = 0;
    Array<int> m_channels;       // 33: audio channel per channel slot
    int m_renderMillis = 0, m_renderFpsNow = 0, m_renderFps = 0;
    float m_scaleX = 0, m_scaleY = 0;   // device pixels per design pixel
    int m_tick = 0;
    int m_landscape = 0;
    int m_drawCount = 0;         // floats of m_drawList in use
    Array<float> m_drawList;     // 37500: 2500 commands of 15 floats
    int m_rank = 0;              // also the iCade reader's scratch: the character read, 0 at the end
    int m_hideHud = 0;
    int m_musicPlaying = 0;
    int m_lastMillis = 0, m_fpsNow = 0, m_fps = 0;
    int m_mouseX = 0, m_mouseXOld = 0, m_mouseY = 0, m_mouseYOld = 0;
    int m_mouseDownOld = 0, m_mouseDown = 0, m_mouseHit = 0;
    Array<int> m_touchDown, m_touchX, m_touchY;   // 10 each; positions -3717 when up
    int m_touchHeld = 0;
    int m_keyHeld = 0;
    int m_creditsOpen = 0, m_optionsOpen = 0;
    float m_viewX = 0, m_viewY = 0, m_viewW = 0, m_viewH = 0;
    float m_sizeX = 0, m_sizeY = 0, m_rot = 0, m_red = 0, m_green = 0, m_blue = 0, m_alpha = 0;
    int m_blend = 0;
    int m_k = 0;                 // second shared loop index
    int m_channelCursor = 0;
    Array<c_Sound*> m_sounds;    // 100 sound slots
    int m_seconds = 0;
    int m_teeFrame = 0;          // first this frame's fire press (1) for the swing, then the tee marker's
                                 // frame from the tee phase; the wings never write it
    int m_wingFrame = 0;         // the monsters' wing frame, kept apart from the tee marker's
    int m_j = 0;                 // third shared loop index
    int m_powerBar = 0;
    int m_golferPose = 0;
    int m_newRank = 0;           // also the loading spinner's radius, kept by p_WaitStart
    int m_score = 0;
    int m_spin = 0;              // loading spinner angle, degrees
    float m_analogX = 0, m_analogY = 0;
    int m_stickAnchorX = 0, m_stickAnchorY = 0;
    float m_keyRampY = 0, m_keyRampX = 0;
    Array<float> m_scenery;      // 512
    Array<float> m_state;        // 512: the current game, by the slots of records.h
    Array<float> m_objects;      // 51000: object records
    int m_i = 0;                 // fourth shared loop index
    int m_maxParticles = 250;
    Array<float> m_particles;    // 5100
    int m_splashSpeed = 0;
    int m_m = 0;                 // fifth shared loop index
    int m_maxStars = 100;
    Array<float> m_stars;        // 5100
    int m_gameOver = 0;
    int m_shownScore = 0;
    int m_pauseCursor = 0;
    int m_overTimer = 0;
    int m_creditsAnim = 0, m_optionsAnim = 0;   // box opening animations, 0..30

    // --- title menu, options and credits boxes ----------------------------------------------------
    int m_menuSel = 0;           // selected carousel item 1..4 (4 the options gear)
    int m_menuPending = 0;       // item a key moved to; scrolling does not select until it arrives
    float m_scrollPos = 0, m_scrollTarget = 0, m_scrollVel = 0, m_dragSpeed = 0;   // the carousel
    float m_gearAngle = 0;       // the options gear's rotation, degrees
    int m_padIndex = 0;          // the pad (0..3) that started the game; 0 for the keyboard
    int m_optionSel = 0;         // options box cursor: 0 the back item, 1 and up the rows
    int m_optKeyHeld = 0, m_optTouchHeld = 0;   // the options box's own latches
    float m_creditScroll = 0;    // sub-line scroll of the credit text, 0..-16
    int m_creditLine = 0;        // the credit line at the centre
    c_ScorePanel m_scorePanel;   // the score panel's texts, kept between frames

    c_MyApp();
    c_MyApp* m_new();
    void mark() override;

    // --- lifecycle and frame (myapp.cpp) ----------------------------------------------------------
    int p_OnCreate() override;
    int p_OnUpdate() override;
    int p_OnRender() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    int p_LoadGame();
    int p_InGame();
    int p_WaitStart(int flag);

    // --- controls (controls.cpp) ------------------------------------------------------------------
    int p_PlayKey(int action, int analogue, int player);
    int p_PlayKeyAll(int action, int analogue);
    bool p_ActionDown(ActionList actions, int player);   // any of them down for the player (analogue too)
    bool p_AnyPlayer(ActionList actions);                // ... for any of players 0..3
    float p_StickX(int axis, int player);
    float p_StickY(int axis, int player);
    int p_iCade(int on);
    int p_ReadICade();
    int p_AnalogueControl();
    // The one pointer test: whether a touch point among first..last that is down lies strictly inside the
    // rectangle from (left, top) to (right, bottom); an edge is outside.
    bool p_TouchIn(float left, float top, float right, float bottom, int first = 0,
                   int last = kTouchPoints - 1) const;
    // Whether the pointer is down on the frame of `image` centred on (x, y) at the current size.
    bool p_OnImage(int image, float x, float y, int first = 0, int last = kTouchPoints - 1) const;
    int p_Button(int image, float x, float y, int frame);
    int p_Button2(float x, float y, int frame) { return p_Button(97, x, y, frame); }
    bool p_Button0(int image, float x, float y, int frame);
    int p_Gear(float x, float y);
    int p_MouseIn_Centered(float x, float y, float w, float h);
    int p_Touch(float x, float y, float w, float h);

    // --- drawing layer (draw.cpp) -----------------------------------------------------------------
    int p_CLS2D(float r = kUnset, float g = 0, float b = 0, float a = 1);
    int p_ResetDraw();
    int p_SetSize(float x, float y = kUnset);
    int p_SetCol(float r, float g, float b, float a = kUnset);
    int p_Alpha(float a);
    int p_SetRot(float angle);
    int p_DrawImg(int slot, float x, float y, int frame);
    int p_Rect(float x, float y, float w, float h);
    int p_Oval(float x, float y, float rx, float ry);
    int p_Text(float x, float y, String text, float alignX, float alignY);
    String p_rstr(int value, int width, String pad);

    // --- resources and sound (resources.cpp) ------------------------------------------------------
    int p_ArtScale();
    String p_ArtName(String name);
    int p_Reload();
    int p_Loader();
    int p_LoadImg(int slot, String name, int w, int h, int frames, int flags);
    int p_LoadFont(int slot, String name, int advance, int lineHeight);
    int p_LoadSFX(int n);
    int p_PlaySFX(int n, float rate, float volume = 1, float pan = 0);
    int p_PlayTune(String name, int flags);
    int p_StopTune();
    int p_FullscreenFlip();

    // --- golf play (play.cpp) ----------------------------------------------------------------------
    int p_Game();
    int p_NewBall();
    int p_NewPin();
    int p_Gimme(int points, float x, float y);
    int p_Rand(float a, float b);
    int p_ResetPlayers();

    // --- monsters, particles and stars (creatures.cpp) --------------------------------------------
    int p_AddMonster();
    int p_FreeParticle();
    int p_AddParticle(int kind, float x, float y, float vx, float vy, int value, int colour, int life);
    int p_ThrowParticle(float x, float y, int kind, int colour, float angle = kUnset, float speed = kUnset);
    int p_DoParticles();
    int p_ResetParticles(int n);
    int p_ResetStars(int n);
    int p_DoStars(float dx, float dy);
    int p_Ink(int colour, int brightness);

    // --- title menu (menu.cpp) --------------------------------------------------------------------
    int p_Menu();

    // --- options and credits boxes (boxes.cpp) ----------------------------------------------------
    int p_OptionBox();
    int p_CreditBox();

    // --- saved settings, badges and highscores (progress.cpp) -------------------------------------
    int p_Load();
    int p_Save();
    int p_LoadMenu();
    String p_MyNth();
    String p_Nth(int place);
    String p_BadgeID(int n);
    String p_BadgeName(int n);
    String p_BadgeDetail(int n);
    int p_GC_PostScore(int score, int table);
    int p_GC_Badges();

    // --- pause menu, game over and badge pop-ups (overlays.cpp) -----------------------------------
    int p_PauseMenu();
    int p_GameOver();
    int p_ShowBadges();

private:
    // The steps of the frame (myapp.cpp).
    void p_FunctionKeys();
    void p_ReadPointer();
    void p_ReleaseKeyLatch();
    void p_RunScreen();
    int p_StepBoxes();
    void p_Pause(int& latch);
    void p_SpinnerRing(float shade, int turn, float size);
    void p_SuspendPause();

    // The steps of one frame of play (play.cpp).
    void p_Scenery();
    void p_Golfer();
    void p_PowerMeter();
    void p_Swing();
    void p_TeeCycle();
    void p_ClearTee();
    void p_Monster(float* monster);
    void p_BallOrPeg(float* object);
    void p_HitMonster(float* object, float* monster);
    void p_Splash(float* object);
    void p_Ground();
    void p_Clock();
    void p_Hud();
    void p_PlaceToBeat();

    // Steps of the analogue control (controls.cpp) and of the drawing layer (draw.cpp).
    void p_DragStick();
    int p_AppendCommand(float kind, float x, float y, float w, float h, float frame);
    void p_ScaleToWindow(int deviceWidth, int deviceHeight);
    void p_Replay(int deviceWidth, int deviceHeight);

    // The pause menu's steps and the game-over overlay (overlays.cpp).
    enum class PausePress { kNone, kPointer, kFire };
    PausePress p_PausePress(bool touched, int at);
    void p_PauseButtons(float side, float lift);
    void p_PauseCursor();
    void p_DrawGameOver(int T);
};
